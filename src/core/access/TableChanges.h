#pragma once

#include "store/TableDef.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>

struct sqlite3;

namespace srk {

class Store;

// Tells the windows of this process which tables changed, so that open lists show what is in them.
// Writes made through this process's connection are collected from the engine itself (every write
// path is covered, set statements included) and reported once their transaction has ended, from the
// event loop, never from inside a write. Writes by other processes are found by the files' data
// versions, which checkOtherStations() compares.
class TableChanges : public QObject {
    Q_OBJECT
public:
    explicit TableChanges(QObject* parent = nullptr);
    ~TableChanges() override;

    // Listens on the store's connection (once it is connected; again when it is another one).
    void attach(Store& store);
    void detach();

    // Remembers the file's data version as seen now (when a table is opened).
    void noteOpened(const TableDef& def);
    // Forgets it when the file is closed (an attachment made later counts versions afresh).
    void noteClosed(const TableDef& def);
    // Compares the data version of each file against the one seen before and reports those another
    // connection has committed to. Returns how many tables were reported.
    int checkOtherStations(const QVector<const TableDef*>& open);

    // Reports what is waiting now instead of from the event loop.
    void flush();

Q_SIGNALS:
    // Rows of a table's file were written; label is the table's ("Sonorika"; the song file is reported
    // under "A_Songs" as well).
    void tableChanged(const QString& label);

private:
    static void onRowChange(void* self, int op, const char* schema, const char* table, long long row);
    static int onCommit(void* self);
    static void onRollback(void* self);
    void frameEnded();
    // Emits the change for every table kept in the schema's file; returns how many.
    int report(const QString& schema);
    qint64 dataVersion(const TableDef& def);

    Store* m_store = nullptr;
    sqlite3* m_db = nullptr;
    QSet<QByteArray> m_touched;    // schemas written in the open transaction
    QByteArray m_lastTouched;      // the one written last (most rows repeat it)
    QSet<QByteArray> m_pending;    // ended transactions not reported yet
    bool m_posted = false;
    QHash<QString, qint64> m_versions;  // per schema, the data version last seen
};

}  // namespace srk
