#pragma once

#include "store/Record.h"
#include "store/Store.h"

#include <QHash>
#include <QSet>
#include <QVariantList>
#include <QVector>

#include <string>
#include <utility>
#include <vector>

struct sqlite3_stmt;

namespace srk {

// Where a keyed read starts: before the first record, after the last, at a key value (records equal to
// it are included in both directions), or just past a record that was read (its key values and row).
struct KeyAnchor {
    enum Mode { Start, End, AtValue, AfterRecord };
    Mode mode = Start;
    QVariantList values;  // key component values
    qint64 row = 0;

    static KeyAnchor start() { return {Start, {}, 0}; }
    static KeyAnchor end() { return {End, {}, 0}; }
    static KeyAnchor at(const Record& r, int key);
    static KeyAnchor after(const Record& r, int key);
};

// The terms that read a key onwards from an anchor: WHERE terms with their values and the ORDER BY.
// `none` is set when nothing can be read (backwards from the start, forwards from the end).
struct KeySeek {
    QStringList where;
    QVariantList binds;
    QString order;
    bool none = false;
};
// `pinned` leading key components are compared for equality with the anchor's values (a range that
// holds them fixed), so the engine reads only that part of the key; the rest are compared as usual.
KeySeek keySeek(const TableDef& def, int key, const KeyAnchor& anchor, bool forward,
                const QString& alias = QString(), int pinned = 0);

// A condition over the table's own columns in the engine's terms, with its bound values.
struct SqlCondition {
    QString sql;
    QVariantList binds;
    bool isEmpty() const { return sql.trimmed().isEmpty(); }
};

// A handle on one open table: keyed and sequential reads, adds, puts and deletes. Several handles may
// use the same table; each keeps its own position. Records are passed in and out by value.
class Table {
public:
    Table(Store& store, const TableDef& def);

    const TableDef& def() const { return *m_def; }
    Store& store() const { return *m_store; }
    Record newRecord() const { return Record(*m_def); }

    // --- positioning; key -1 is record order ---
    int setStart(int key);
    int setEnd(int key);
    int setAt(int key, const Record& keyValues);
    // Continues from a record that was read before (its position and key values).
    int setAfter(int key, const Record& record);
    int next(Record& out);
    int previous(Record& out);
    // Limits next, previous and fetch to records meeting a condition (empty = no limit).
    void setFilter(const SqlCondition& filter);
    const SqlCondition& filter() const { return m_filter; }

    // --- direct reads ---
    // The first record whose key fields equal those of keyValues (35 when none).
    int get(int key, Record& inOut);
    int getByPosition(const QString& position, Record& out);
    QString position(const Record& r) const;
    int reget(const QString& position, Record& out) { return getByPosition(position, out); }

    // --- changes ---
    int add(Record& r);
    int put(Record& r);
    int remove(const Record& r);
    // The next read marks its record: a put of it fails with 89 when another station changed it since.
    void watch() { m_watchNext = true; }
    // The unique key r would duplicate, -1 when none, DuplicateTestFailed when a key could not be read
    // (lastError says why).
    static constexpr int DuplicateTestFailed = -2;
    int duplicateKey(const Record& r);

    qint64 records();
    // The highest record number in use (0 for an empty table); above records() once records were removed.
    qint64 lastRecordNumber();
    // Size of the table's file in bytes.
    qint64 bytes() const;
    // "QUICKSCAN=on" / "QUICKSCAN=off": bigger read-ahead for long sequential runs. Unknown commands fail.
    int sendCommand(const QString& command);

    // Reads up to count records from an anchor in key order (or backwards), under the table's filter.
    int fetch(int key, const KeyAnchor& anchor, bool forward, int count, QVector<Record>& out);
    // Same, with an extra condition (used by page cursors and views).
    int fetch(int key, const KeyAnchor& anchor, bool forward, int count, const SqlCondition& extra,
              QVector<Record>& out);

    QString schema() const;
    QString columnList(const QString& alias = QString()) const;
    void readRow(sqlite3_stmt* stmt, int firstColumn, Record& out) const;
    static void bindValue(sqlite3_stmt* stmt, int index, const QVariant& value);

private:
    struct CachedStatement {
        sqlite3_stmt* stmt = nullptr;
        quint64 generation = 0;
    };
    sqlite3_stmt* cached(CachedStatement& slot, const QString& sql);
    void bindFields(sqlite3_stmt* stmt, const Record& r);
    int step(bool forward, Record& out);
    void noteRead(Record& r);
    int readStored(qint64 row, Record& out);
    QString fileName() const;

    Store* m_store;
    const TableDef* m_def;
    int m_key = -1;
    KeyAnchor m_anchor;
    SqlCondition m_filter;
    QVector<Record> m_ahead;
    int m_aheadPos = 0;
    bool m_aheadForward = true;
    quint64 m_aheadSerial = 0;
    bool m_quickScan = false;
    bool m_watchNext = false;
    QSet<qint64> m_watched;
    CachedStatement m_insert, m_delete, m_byRow;
    QHash<QByteArray, CachedStatement> m_updates;  // by the set of changed fields
    std::string m_bindBuffer;  // the texts of the record being added
    std::vector<std::pair<size_t, size_t>> m_bindSpans;  // per field: start and length in it
};

}  // namespace srk
