#include "store/PageCursor.h"

#include <algorithm>

// A page is always read as one LIMIT query from the edge of the page, so there is no run of single
// reads for the quick-scan hint to speed up; the cursor does not send it.

namespace srk {

PageCursor::PageCursor(Store& store, const TableDef& primary, int key)
    : m_store(&store), m_primary(&primary), m_key(key), m_view(store, primary, key) {}

void PageCursor::addRelated(const TableDef& related, int primaryField, int relatedField) {
    m_related.push_back({&related, primaryField, relatedField});
    m_view.addRelated(related, primaryField, relatedField);
}

QString PageCursor::column(int table, int field) const {
    return m_view.column(table, field);
}

int PageCursor::openView() {
    m_view = View(*m_store, *m_primary, m_key);
    for (const Related& r : std::as_const(m_related))
        m_view.addRelated(*r.def, r.primaryField, r.relatedField);
    m_view.setFilter(m_filter);
    m_view.setPinned(int(m_pinned.size()));
    m_filterRefused = false;
    int rc = m_view.open();
    if (rc == NoError) {
        m_open = true;
        return NoError;
    }
    m_open = false;
    if (m_filter.isEmpty())
        return rc;
    // The filter is at fault when the view opens without it: keep going unfiltered.
    const StoreError filterError = m_store->lastError();
    m_filter = SqlCondition();
    m_view.setFilter(m_filter);
    // Without its filter the range no longer holds anything fixed.
    m_pinned.clear();
    m_view.setPinned(0);
    rc = m_view.open();
    if (rc != NoError)
        return rc;
    m_open = true;
    m_filterRefused = true;
    m_store->setError(filterError.code, filterError.fileName, filterError.driverCode,
                      filterError.driverMessage);
    return filterError.code;
}

int PageCursor::open() {
    const int rc = openView();
    m_change = PageChange();
    m_change.oldHighlight = m_change.newHighlight = m_highlight;
    if (rc == NoError)
        return succeed();
    m_error = m_store->lastError();
    return rc;
}

int PageCursor::setKey(int key, Placement placement) {
    return changeOrder(key, m_filter, placement);
}

int PageCursor::setFilter(const SqlCondition& filter, Placement placement) {
    return changeOrder(m_key, filter, placement);
}

int PageCursor::setOrder(int key, const SqlCondition& filter, Placement placement) {
    return changeOrder(key, filter, placement);
}

int PageCursor::changeOrder(int key, const SqlCondition& filter, Placement placement) {
    if (key < -1 || key >= m_primary->keys.size())
        return fail(m_store->setError(RecordNotFound, m_store->filePath(*m_primary)));
    // The highlighted record may have changed since the page was read: position at what it is now.
    Record target;
    if (const PageRow* row = highlightedRow()) {
        target = row->primary();
        Table table(*m_store, *m_primary);
        Record fresh = table.newRecord();
        if (table.getByPosition(row->position, fresh) == NoError)
            target = fresh;
    }
    m_key = key;
    m_filter = filter;
    const int viewRc = openView();
    const StoreError viewError = m_store->lastError();
    if (!m_open) {
        m_change = PageChange();
        m_error = viewError;
        return viewRc;
    }
    const int rc = placement == Placement::AtStart || !target.isValid() ? top() : rebuildAt(target);
    if (rc != NoError) {
        // The read failure is what the window must report now.
        m_filterRefused = false;
        return rc;
    }
    if (viewRc == NoError)
        return rc;
    m_error = viewError;
    return viewRc;
}

KeyAnchor PageCursor::atRecord(const Record& r, int key) {
    if (r.rowId() <= 0)
        return KeyAnchor::at(r, key);
    // Just past the row before it: the record itself is the first one read forward.
    KeyAnchor anchor = KeyAnchor::after(r, key);
    anchor.row = r.rowId() - 1;
    return anchor;
}

int PageCursor::read(const KeyAnchor& anchor, bool forward, int count, QVector<PageRow>& out) {
    out.clear();
    if (count <= 0)
        return NoError;
    QVector<ViewRow> rows;
    int rc;
    if (!m_pinned.isEmpty() && (anchor.mode == KeyAnchor::AtValue || anchor.mode == KeyAnchor::AfterRecord)) {
        KeyAnchor inRange = anchor;
        for (int i = 0; i < m_pinned.size() && i < inRange.values.size(); ++i)
            inRange.values[i] = m_pinned[i];
        rc = m_view.fetch(inRange, forward, count, rows);
    } else {
        rc = m_view.fetch(anchor, forward, count, rows);
    }
    if (rc == RecordNotAvailable)
        return NoError;
    if (rc != NoError)
        return rc;
    out.reserve(rows.size());
    Table table(*m_store, *m_primary);
    for (ViewRow& v : rows) {
        PageRow row;
        row.position = table.position(v.primary);
        row.view = std::move(v);
        out.push_back(std::move(row));
    }
    if (!forward)
        std::reverse(out.begin(), out.end());
    return NoError;
}

int PageCursor::fillAround(const KeyAnchor& anchor, QVector<PageRow>& out, int& backwardCount, bool& atStart,
                           bool& atEnd) {
    backwardCount = 0;
    if (const int rc = read(anchor, true, m_pageSize, out))
        return rc;
    atEnd = out.size() < m_pageSize;
    atStart = false;
    if (!atEnd)
        return NoError;
    const int missing = m_pageSize - int(out.size());
    QVector<PageRow> before;
    const KeyAnchor from = out.isEmpty() ? KeyAnchor::end() : KeyAnchor::after(out.front().primary(), m_key);
    if (const int rc = read(from, false, missing, before))
        return rc;
    atStart = before.size() < missing;
    backwardCount = int(before.size());
    before += out;
    out = std::move(before);
    return NoError;
}

int PageCursor::fail(int code) {
    m_change = PageChange();
    m_change.oldHighlight = m_change.newHighlight = m_highlight;
    m_error = m_store->lastError();
    if (m_error.code != code)
        m_error.code = code;
    return code;
}

int PageCursor::succeed() {
    m_error = StoreError();
    return NoError;
}

int PageCursor::indexOfRow(const QVector<PageRow>& rows, qint64 rowId) {
    if (rowId <= 0)
        return -1;
    for (int i = 0; i < rows.size(); ++i)
        if (rows[i].rowId() == rowId)
            return i;
    return -1;
}

void PageCursor::replaceRows(QVector<PageRow> rows, int highlight, bool atStart, bool atEnd) {
    m_change = PageChange();
    m_change.replaced = true;
    m_change.oldHighlight = m_highlight;
    m_rows = std::move(rows);
    m_highlight = m_rows.isEmpty() ? -1 : std::clamp(highlight, 0, int(m_rows.size()) - 1);
    m_change.newHighlight = m_highlight;
    m_atStart = atStart;
    m_atEnd = atEnd;
    m_loaded = true;
}

int PageCursor::setPageSize(int rows) {
    rows = std::max(1, rows);
    m_change = PageChange();
    m_change.oldHighlight = m_change.newHighlight = m_highlight;
    if (rows == m_pageSize)
        return succeed();
    const int oldSize = m_pageSize;
    m_pageSize = rows;
    if (!m_loaded)
        return succeed();
    if (m_rows.isEmpty()) {
        const int rc = top();
        if (rc != NoError)
            m_pageSize = oldSize;
        return rc;
    }
    const int size = int(m_rows.size());
    if (size > rows) {
        // Drop rows below the highlight first, then above it, so the highlight stays in view.
        const int excess = size - rows;
        const int bottom = std::min(excess, size - 1 - m_highlight);
        const int top = excess - bottom;
        m_rows.remove(size - bottom, bottom);
        m_rows.remove(0, top);
        m_change.removedTop = top;
        m_change.removedBottom = bottom;
        m_highlight -= top;
        m_change.newHighlight = m_highlight;
        if (bottom)
            m_atEnd = false;
        if (top)
            m_atStart = false;
        return succeed();
    }
    QVector<PageRow> after, before;
    if (const int rc = read(KeyAnchor::after(m_rows.back().primary(), m_key), true, rows - size, after)) {
        m_pageSize = oldSize;
        return fail(rc);
    }
    const int stillMissing = rows - size - int(after.size());
    if (stillMissing > 0) {
        if (const int rc =
                read(KeyAnchor::after(m_rows.front().primary(), m_key), false, stillMissing, before)) {
            m_pageSize = oldSize;
            return fail(rc);
        }
        m_atStart = before.size() < stillMissing;
    }
    m_atEnd = stillMissing > 0;
    m_change.addedBottom = int(after.size());
    m_change.addedTop = int(before.size());
    m_highlight += int(before.size());
    m_change.newHighlight = m_highlight;
    before += m_rows;
    before += after;
    m_rows = std::move(before);
    return succeed();
}

int PageCursor::top() {
    QVector<PageRow> rows;
    if (const int rc = read(KeyAnchor::start(), true, m_pageSize, rows))
        return fail(rc);
    const bool atEnd = rows.size() < m_pageSize;
    replaceRows(std::move(rows), 0, true, atEnd);
    return succeed();
}

int PageCursor::bottom() {
    QVector<PageRow> rows;
    if (const int rc = read(KeyAnchor::end(), false, m_pageSize, rows))
        return fail(rc);
    const bool atStart = rows.size() < m_pageSize;
    const int last = int(rows.size()) - 1;
    replaceRows(std::move(rows), last, atStart, true);
    return succeed();
}

int PageCursor::rebuildAt(const Record& target) {
    if (!target.isValid() || target.def() != m_primary) {
        m_store->setError(RecordNotFound, m_store->filePath(*m_primary));
        return fail(RecordNotFound);
    }
    QVector<PageRow> rows;
    int backward = 0;
    bool atStart = false, atEnd = false;
    if (const int rc = fillAround(atRecord(target, m_key), rows, backward, atStart, atEnd))
        return fail(rc);
    int highlight = indexOfRow(rows, target.rowId());
    if (highlight < 0)
        highlight = backward < rows.size() ? backward : int(rows.size()) - 1;
    replaceRows(std::move(rows), highlight, atStart, atEnd);
    return succeed();
}

int PageCursor::rebuildAtHighlighted() {
    const PageRow* row = highlightedRow();
    if (!row)
        return top();
    return rebuildAt(row->primary());
}

void PageCursor::setHighlight(int row) {
    m_change = PageChange();
    m_change.oldHighlight = m_highlight;
    if (row >= 0 && row < m_rows.size())
        m_highlight = row;
    m_change.newHighlight = m_highlight;
}

int PageCursor::lineDown() {
    m_change = PageChange();
    m_change.oldHighlight = m_highlight;
    if (m_rows.isEmpty() || m_highlight < int(m_rows.size()) - 1) {
        if (!m_rows.isEmpty())
            ++m_highlight;
        m_change.newHighlight = m_highlight;
        return succeed();
    }
    QVector<PageRow> more;
    if (const int rc = read(KeyAnchor::after(m_rows.back().primary(), m_key), true, 1, more))
        return fail(rc);
    m_change.newHighlight = m_highlight;
    if (more.isEmpty()) {
        m_atEnd = true;
        return succeed();
    }
    if (m_rows.size() >= m_pageSize) {
        m_rows.removeFirst();
        m_change.removedTop = 1;
        m_atStart = false;
    }
    m_rows += more;
    m_change.addedBottom = 1;
    m_highlight = int(m_rows.size()) - 1;
    m_change.newHighlight = m_highlight;
    return succeed();
}

int PageCursor::lineUp() {
    m_change = PageChange();
    m_change.oldHighlight = m_highlight;
    if (m_rows.isEmpty() || m_highlight > 0) {
        if (!m_rows.isEmpty())
            --m_highlight;
        m_change.newHighlight = m_highlight;
        return succeed();
    }
    QVector<PageRow> more;
    if (const int rc = read(KeyAnchor::after(m_rows.front().primary(), m_key), false, 1, more))
        return fail(rc);
    m_change.newHighlight = m_highlight;
    if (more.isEmpty()) {
        m_atStart = true;
        return succeed();
    }
    if (m_rows.size() >= m_pageSize) {
        m_rows.removeLast();
        m_change.removedBottom = 1;
        m_atEnd = false;
    }
    more += m_rows;
    m_rows = std::move(more);
    m_change.addedTop = 1;
    m_highlight = 0;
    return succeed();
}

int PageCursor::pageDown() {
    m_change = PageChange();
    m_change.oldHighlight = m_change.newHighlight = m_highlight;
    if (m_rows.isEmpty())
        return succeed();
    QVector<PageRow> more;
    if (const int rc = read(KeyAnchor::after(m_rows.back().primary(), m_key), true, m_pageSize, more))
        return fail(rc);
    const int got = int(more.size());
    const int drop = std::max(0, int(m_rows.size()) + got - m_pageSize);
    m_rows.remove(0, drop);
    m_rows += more;
    m_change.removedTop = drop;
    m_change.addedBottom = got;
    if (drop)
        m_atStart = false;
    m_atEnd = got < m_pageSize;
    // The highlight keeps its row; what the read could not scroll it moves itself.
    m_highlight = std::min(m_highlight + (m_pageSize - got), int(m_rows.size()) - 1);
    m_change.newHighlight = m_highlight;
    return succeed();
}

int PageCursor::pageUp() {
    m_change = PageChange();
    m_change.oldHighlight = m_change.newHighlight = m_highlight;
    if (m_rows.isEmpty())
        return succeed();
    QVector<PageRow> more;
    if (const int rc = read(KeyAnchor::after(m_rows.front().primary(), m_key), false, m_pageSize, more))
        return fail(rc);
    const int got = int(more.size());
    const int drop = std::max(0, int(m_rows.size()) + got - m_pageSize);
    m_rows.remove(m_rows.size() - drop, drop);
    more += m_rows;
    m_rows = std::move(more);
    m_change.removedBottom = drop;
    m_change.addedTop = got;
    if (drop)
        m_atEnd = false;
    m_atStart = got < m_pageSize;
    m_highlight = std::max(m_highlight - (m_pageSize - got), 0);
    m_change.newHighlight = m_highlight;
    return succeed();
}

int PageCursor::reload() {
    if (m_rows.isEmpty())
        return top();
    const qint64 highlighted = m_rows[m_highlight].rowId();
    QVector<PageRow> rows;
    int backward = 0;
    bool atStart = false, atEnd = false;
    if (const int rc = fillAround(atRecord(m_rows.front().primary(), m_key), rows, backward, atStart, atEnd))
        return fail(rc);
    int highlight = indexOfRow(rows, highlighted);
    if (highlight < 0)
        highlight = m_highlight;
    replaceRows(std::move(rows), highlight, atStart, atEnd);
    return succeed();
}

int PageCursor::removeHighlighted() {
    if (m_rows.isEmpty()) {
        m_change = PageChange();
        return succeed();
    }
    const qint64 next = m_highlight + 1 < m_rows.size() ? m_rows[m_highlight + 1].rowId() : 0;
    const qint64 previous = m_highlight > 0 ? m_rows[m_highlight - 1].rowId() : 0;
    // Positioned at the old first row: when that was the deleted record, the read starts past it.
    QVector<PageRow> rows;
    int backward = 0;
    bool atStart = false, atEnd = false;
    if (const int rc = fillAround(atRecord(m_rows.front().primary(), m_key), rows, backward, atStart, atEnd))
        return fail(rc);
    int highlight = indexOfRow(rows, next);
    if (highlight < 0)
        highlight = indexOfRow(rows, previous);
    if (highlight < 0)
        highlight = m_highlight;
    replaceRows(std::move(rows), highlight, atStart, atEnd);
    return succeed();
}

int PageCursor::readFirst(ViewRow& out) {
    QVector<PageRow> rows;
    if (const int rc = read(KeyAnchor::start(), true, 1, rows))
        return rc;
    if (rows.isEmpty())
        return m_store->setError(RecordNotAvailable, m_store->filePath(*m_primary));
    out = rows.front().view;
    return NoError;
}

int PageCursor::readLast(ViewRow& out) {
    QVector<PageRow> rows;
    if (const int rc = read(KeyAnchor::end(), false, 1, rows))
        return rc;
    if (rows.isEmpty())
        return m_store->setError(RecordNotAvailable, m_store->filePath(*m_primary));
    out = rows.front().view;
    return NoError;
}

const PageRow* PageCursor::highlightedRow() const {
    if (m_highlight < 0 || m_highlight >= m_rows.size())
        return nullptr;
    return &m_rows[m_highlight];
}

Record PageCursor::highlightedRecord() const {
    if (const PageRow* row = highlightedRow())
        return row->primary();
    return Record(*m_primary);
}

} // namespace srk
