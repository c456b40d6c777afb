#pragma once

#include "store/View.h"

#include <QString>
#include <QVector>

namespace srk {

// One row of a page: the joined records and the position by which the row is re-read.
struct PageRow {
    ViewRow view;
    QString position;

    const Record& primary() const { return view.primary; }
    qint64 rowId() const { return view.primary.rowId(); }
};

// What the last move did to the page, for a list model that reports minimal changes. Applied in this
// order to the old rows: drop removedTop rows at the top and removedBottom at the bottom, then put
// addedTop rows at the top and addedBottom at the bottom. `replaced` means every row may differ.
struct PageChange {
    bool replaced = false;
    int removedTop = 0;
    int removedBottom = 0;
    int addedTop = 0;
    int addedBottom = 0;
    int oldHighlight = -1;
    int newHighlight = -1;

    bool rowsChanged() const { return replaced || removedTop || removedBottom || addedTop || addedBottom; }
    bool highlightChanged() const { return oldHighlight != newHighlight; }
    bool isEmpty() const { return !rowsChanged() && !highlightChanged(); }
};

// A browse's window on a view: it holds one page of rows, never more, and reads every move as one
// keyed query from the edge of the page. Every operation returns 0 or the store's error code; running
// into the start or end of the key is not an error. A failed read leaves the page as it was.
class PageCursor {
public:
    enum class Placement { AtHighlighted, AtStart };

    PageCursor(Store& store, const TableDef& primary, int key);

    // Joins a related table (see View::addRelated). Call before open().
    void addRelated(const TableDef& related, int primaryField, int relatedField);
    // The column of a field for filters: table 0 is the primary, 1.. the related in join order.
    QString column(int table, int field) const;

    // Checks that the view can be read. A filter the engine refuses is dropped (the cursor goes on
    // unfiltered) and its error returned, so the window can say so and carry on.
    int open();
    bool isOpen() const { return m_open; }
    // The code the last open or order change returned is that of a filter the engine could not read,
    // which was dropped.
    bool filterRefused() const { return m_filterRefused; }

    // Order and filter changes rebuild the page at the highlighted record (re-read by its position)
    // or at the start of the order. A refused filter is dropped as in open(); its error is returned
    // after the page was rebuilt unfiltered.
    int setKey(int key, Placement placement = Placement::AtHighlighted);
    int setFilter(const SqlCondition& filter, Placement placement = Placement::AtHighlighted);
    int setOrder(int key, const SqlCondition& filter, Placement placement = Placement::AtHighlighted);
    int key() const { return m_key; }
    const SqlCondition& filter() const { return m_filter; }
    // Values the order's filter holds its leading key components to (a range such as one medium).
    // Every positioning takes them in place of the record's own, and the engine reads only that part
    // of the key. Set before the order or filter change that brings the range in.
    void setPinned(const QVariantList& values) { m_pinned = values; }
    const QVariantList& pinned() const { return m_pinned; }

    // Rows the list shows (at least 1). A loaded page grows or shrinks keeping the highlight in view.
    int setPageSize(int rows);
    int pageSize() const { return m_pageSize; }

    // --- moves ---
    int top();
    int bottom();
    // Positions at the record's key values (and at the record itself when it has a position), reads a
    // page forward and the rest backward. The highlight goes to the record itself, else to the first
    // record at or after the key values, else to the last row.
    int rebuildAt(const Record& target);
    int rebuildAtHighlighted();
    int lineDown();
    int lineUp();
    int pageDown();
    int pageUp();
    // Reads the page again from its first row; the highlight stays on the same record when it is there.
    int reload();
    // After the highlighted record was deleted: drops its row and reloads, highlighting the record that
    // followed it (else the one before).
    int removeHighlighted();
    // Moves the highlight within the page (a click); out-of-page rows are ignored.
    void setHighlight(int row);

    // --- for thumb samples: the first and last record of the order under the filter (33 when none) ---
    int readFirst(ViewRow& out);
    int readLast(ViewRow& out);

    // --- state ---
    const QVector<PageRow>& rows() const { return m_rows; }
    int highlight() const { return m_highlight; }
    const PageRow* highlightedRow() const;
    // The highlighted primary record; an empty record of the primary table when the page is empty.
    Record highlightedRecord() const;
    bool isEmpty() const { return m_rows.isEmpty(); }
    // Known to touch the start / end of the order (set by reads that ran out; a hint only).
    bool atStart() const { return m_atStart; }
    bool atEnd() const { return m_atEnd; }
    const PageChange& lastChange() const { return m_change; }
    // The last error an operation returned (code 0 after a success).
    const StoreError& lastError() const { return m_error; }

    const TableDef& primary() const { return *m_primary; }
    Store& store() const { return *m_store; }

private:
    struct Related {
        const TableDef* def;
        int primaryField;
        int relatedField;
    };
    int openView();
    int changeOrder(int key, const SqlCondition& filter, Placement placement);
    // Reads up to count rows from an anchor; 33 is turned into an empty result.
    int read(const KeyAnchor& anchor, bool forward, int count, QVector<PageRow>& out);
    // Forward from the anchor, then the rest backward from the first row read (or from the end).
    // backwardCount says how many rows came from the backward read (they are at the top).
    int fillAround(const KeyAnchor& anchor, QVector<PageRow>& out, int& backwardCount, bool& atStart,
                   bool& atEnd);
    int fail(int code);
    int succeed();
    void replaceRows(QVector<PageRow> rows, int highlight, bool atStart, bool atEnd);
    static int indexOfRow(const QVector<PageRow>& rows, qint64 rowId);
    static KeyAnchor atRecord(const Record& r, int key);

    Store* m_store;
    const TableDef* m_primary;
    int m_key;
    QVector<Related> m_related;
    SqlCondition m_filter;
    QVariantList m_pinned;
    View m_view;
    bool m_open = false;
    bool m_filterRefused = false;
    bool m_loaded = false;
    int m_pageSize = 1;
    QVector<PageRow> m_rows;
    int m_highlight = -1;
    bool m_atStart = false;
    bool m_atEnd = false;
    PageChange m_change;
    StoreError m_error;
};

} // namespace srk
