#pragma once

#include "store/Table.h"

#include <QVector>

namespace srk {

// One row of a view: the primary record and one record per related table (cleared when no related
// record matched).
struct ViewRow {
    Record primary;
    QVector<Record> related;
};

// A joined, filtered walk over a primary table in one of its keys, with related tables joined by equal
// fields (a related table without a match still gives the row). The filter is a condition in the
// engine's terms over the view's columns; column() names them.
class View {
public:
    View(Store& store, const TableDef& primary, int key);

    // Joins a related table where primary.primaryField = related.relatedField; relatedField should be
    // unique in the related table (a number or a unique key), or a primary record shows once per match.
    void addRelated(const TableDef& related, int primaryField, int relatedField);
    void setFilter(const SqlCondition& filter) { m_filter = filter; }
    // Leading key components the filter holds fixed; reads from an anchor compare them for equality.
    void setPinned(int components) { m_pinned = components; }
    // The column of a field for use in a filter: table 0 is the primary, 1.. the related in join order.
    QString column(int table, int field) const;

    // Checks that the view can be read (every file open, the filter valid). 0 or the error code.
    int open();
    void close() { m_open = false; }

    int setStart();
    int setEnd();
    int setAt(const Record& keyValues);
    int next(ViewRow& out);
    int previous(ViewRow& out);
    // Up to count rows from an anchor on the primary key, forwards or backwards.
    int fetch(const KeyAnchor& anchor, bool forward, int count, QVector<ViewRow>& out);

    const TableDef& primary() const { return *m_primary; }
    int key() const { return m_key; }

private:
    struct Related {
        const TableDef* def;
        int primaryField;
        int relatedField;
    };
    QString selectSql(const KeySeek& seek, int count) const;
    int step(bool forward, ViewRow& out);

    Store* m_store;
    const TableDef* m_primary;
    int m_key;
    QVector<Related> m_related;
    SqlCondition m_filter;
    int m_pinned = 0;
    KeyAnchor m_anchor;
    bool m_open = false;
};

}  // namespace srk
