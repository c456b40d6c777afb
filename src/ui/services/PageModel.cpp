#include "ui/services/PageModel.h"

#include "store/Table.h"
#include "text/Picture.h"
#include "text/ReleaseDate.h"

namespace srk {

PageModel::PageModel(PageCursor& cursor, QObject* parent) : QAbstractTableModel(parent), m_cursor(&cursor) {
    m_shown = cursor.rows();
    m_shownHighlight = cursor.highlight();
}

void PageModel::setColumns(const QVector<PageColumn>& columns) {
    beginResetModel();
    m_columns = columns;
    endResetModel();
}

void PageModel::setColumnPicture(int column, const QString& picture) {
    if (column < 0 || column >= m_columns.size())
        return;
    m_columns[column].picture = picture;
    if (!m_shown.isEmpty())
        Q_EMIT dataChanged(index(0, column), index(int(m_shown.size()) - 1, column), {Qt::DisplayRole});
}

void PageModel::setColumnAlignment(int column, Qt::Alignment alignment) {
    if (column < 0 || column >= m_columns.size())
        return;
    m_columns[column].alignment = alignment;
    if (!m_shown.isEmpty())
        Q_EMIT dataChanged(index(0, column), index(int(m_shown.size()) - 1, column), {Qt::TextAlignmentRole});
}

int PageModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_shown.size());
}

int PageModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

const PageRow* PageModel::pageRow(int row) const {
    if (row < 0 || row >= m_shown.size())
        return nullptr;
    return &m_shown[row];
}

QVariant PageModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    const PageRow* row = pageRow(index.row());
    if (!row || index.column() >= m_columns.size())
        return QVariant();
    switch (role) {
    case PositionRole:
        return row->position;
    case HighlightRole:
        return index.row() == m_shownHighlight;
    default:
        return cellData(*row, index.column(), role);
    }
}

QVariant PageModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && section >= 0 && section < m_columns.size()) {
        if (role == Qt::DisplayRole)
            return m_columns[section].header;
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(m_columns[section].alignment);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool PageModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role) {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return false;
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        m_columns[section].header = value.toString();
    else if (role == Qt::TextAlignmentRole)
        m_columns[section].alignment = Qt::Alignment(value.toInt());
    else
        return false;
    Q_EMIT headerDataChanged(orientation, section, section);
    return true;
}

QVariant PageModel::fieldValue(const PageRow& row, const PageColumn& column) const {
    const Record* record = nullptr;
    if (column.table == 0)
        record = &row.view.primary;
    else if (column.table > 0 && column.table <= row.view.related.size())
        record = &row.view.related[column.table - 1];
    if (!record || !record->isValid() || column.field < 0 || column.field >= record->def()->fields.size())
        return QVariant();
    return record->value(column.field);
}

QVariant PageModel::cellData(const PageRow& row, int column, int role) const {
    const PageColumn& c = m_columns[column];
    switch (role) {
    case Qt::DisplayRole: {
        const QVariant value = fieldValue(row, c);
        if (!value.isValid())
            return QString();
        if (c.picture.isEmpty())
            return value.toString();
        return c.releaseDate ? formatReleaseDate(value, c.picture) : format(value, c.picture);
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(c.alignment);
    case ValueRole:
        return fieldValue(row, c);
    default:
        return QVariant();
    }
}

int PageModel::sync(int code) {
    const PageChange& change = m_cursor->lastChange();
    const QVector<PageRow>& now = m_cursor->rows();
    if (change.replaced) {
        beginResetModel();
        m_shown = now;
        m_shownHighlight = m_cursor->highlight();
        endResetModel();
    } else if (change.rowsChanged()) {
        if (change.removedTop > 0) {
            beginRemoveRows(QModelIndex(), 0, change.removedTop - 1);
            m_shown.remove(0, change.removedTop);
            endRemoveRows();
        }
        if (change.removedBottom > 0) {
            const int first = int(m_shown.size()) - change.removedBottom;
            beginRemoveRows(QModelIndex(), first, int(m_shown.size()) - 1);
            m_shown.remove(first, change.removedBottom);
            endRemoveRows();
        }
        if (change.addedTop > 0) {
            beginInsertRows(QModelIndex(), 0, change.addedTop - 1);
            m_shown = now.mid(0, change.addedTop) + m_shown;
            endInsertRows();
        }
        if (change.addedBottom > 0) {
            const int first = int(m_shown.size());
            beginInsertRows(QModelIndex(), first, first + change.addedBottom - 1);
            m_shown += now.mid(now.size() - change.addedBottom);
            endInsertRows();
        }
        if (m_shown.size() != now.size()) {
            // The cursor's report and its rows disagree: show what it holds.
            beginResetModel();
            m_shown = now;
            endResetModel();
        }
    }
    const int old = m_shownHighlight;
    m_shownHighlight = m_cursor->highlight();
    const int last = int(m_columns.size()) - 1;
    if (last >= 0 && !change.replaced) {
        for (int row : {old, m_shownHighlight})
            if (row >= 0 && row < m_shown.size())
                Q_EMIT dataChanged(index(row, 0), index(row, last), {HighlightRole});
    }
    if (old != m_shownHighlight || change.rowsChanged())
        Q_EMIT highlightChanged(m_shownHighlight);
    if (code != NoError)
        Q_EMIT readFailed(code);
    return code;
}

int PageModel::syncOrder(int code) {
    if (code == NoError || !m_cursor->filterRefused() || !m_cursor->isOpen())
        return sync(code);
    sync(NoError);
    Q_EMIT filterRefused(code);
    return code;
}

int PageModel::open() {
    return syncOrder(m_cursor->open());
}
int PageModel::top() {
    return sync(m_cursor->top());
}
int PageModel::bottom() {
    return sync(m_cursor->bottom());
}
int PageModel::lineUp() {
    return sync(m_cursor->lineUp());
}
int PageModel::lineDown() {
    return sync(m_cursor->lineDown());
}
int PageModel::pageUp() {
    return sync(m_cursor->pageUp());
}
int PageModel::pageDown() {
    return sync(m_cursor->pageDown());
}
int PageModel::rebuildAt(const Record& target) {
    return sync(m_cursor->rebuildAt(target));
}
int PageModel::reload() {
    return sync(m_cursor->reload());
}
int PageModel::refresh() {
    const PageRow* row = m_cursor->highlightedRow();
    const qint64 highlighted = row ? row->rowId() : 0;
    const QString position = row ? row->position : QString();
    int rc = m_cursor->reload();
    const PageRow* now = m_cursor->highlightedRow();
    if (rc == NoError && highlighted && (!now || now->rowId() != highlighted)) {
        Table table(m_cursor->store(), m_cursor->primary());
        Record record;
        if (table.getByPosition(position, record) == NoError)
            rc = m_cursor->rebuildAt(record);
    }
    const QVector<PageRow>& rows = m_cursor->rows();
    bool sameRecords = rc == NoError && rows.size() == m_shown.size() && !m_columns.isEmpty();
    for (qsizetype i = 0; sameRecords && i < rows.size(); ++i)
        sameRecords = rows[i].rowId() == m_shown[i].rowId();
    if (!sameRecords)
        return sync(rc);
    m_shown = rows;
    const int old = m_shownHighlight;
    m_shownHighlight = m_cursor->highlight();
    if (!m_shown.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(int(m_shown.size()) - 1, int(m_columns.size()) - 1));
    if (old != m_shownHighlight)
        Q_EMIT highlightChanged(m_shownHighlight);
    return rc;
}

int PageModel::removeHighlighted() {
    return sync(m_cursor->removeHighlighted());
}
int PageModel::setPageSize(int rows) {
    return sync(m_cursor->setPageSize(rows));
}
int PageModel::setKey(int key, PageCursor::Placement placement) {
    return syncOrder(m_cursor->setKey(key, placement));
}

int PageModel::setFilter(const SqlCondition& filter, PageCursor::Placement placement) {
    return syncOrder(m_cursor->setFilter(filter, placement));
}

int PageModel::setOrder(int key, const SqlCondition& filter, PageCursor::Placement placement) {
    return syncOrder(m_cursor->setOrder(key, filter, placement));
}

void PageModel::setHighlight(int row) {
    m_cursor->setHighlight(row);
    sync(NoError);
}

QVariant StoredValuePageModel::cellData(const PageRow& row, int column, int role) const {
    if (role == Qt::DisplayRole) {
        const QVariant value = fieldValue(row, columns().at(column));
        return value.isValid() ? value : QVariant(QString());
    }
    return PageModel::cellData(row, column, role);
}

} // namespace srk
