#include "access/PrimedOwners.h"

#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "store/Store.h"
#include "store/Table.h"

#include <QCoreApplication>
#include <QFile>
#include <QSysInfo>
#include <QVector>

#include <sqlite3.h>

namespace srk {

namespace {

constexpr auto kCreateOwners =
    "CREATE TABLE IF NOT EXISTS main.primed(file TEXT NOT NULL, row INTEGER NOT NULL, chg INTEGER NOT NULL, "
    "host TEXT NOT NULL, boot TEXT NOT NULL, pid INTEGER NOT NULL, started INTEGER NOT NULL, "
    "PRIMARY KEY(file, row))";

QString bootId() {
    QFile file(QStringLiteral("/proc/sys/kernel/random/boot_id"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(file.readAll()).trimmed();
}

// The start time of a process in clock ticks since boot (field 22 of /proc/PID/stat); -1 when the
// process does not exist or is a zombie (it can hold no form any more).
qint64 startTicks(qint64 pid) {
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray stat = file.readAll();
    // The command name may hold blanks and parentheses; the fields after it are plain.
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0)
        return -1;
    const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
    if (fields.size() < 20 || fields[0] == "Z" || fields[0] == "X")
        return -1;
    return fields[19].toLongLong();
}

bool ownersTableExists(sqlite3* db) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT 1 FROM main.sqlite_master WHERE type='table' AND name='primed'", -1, &stmt,
                           nullptr) != SQLITE_OK)
        return false;
    const bool exists = sqlite3_step(stmt) == SQLITE_ROW;
    sqlite3_finalize(stmt);
    return exists;
}

struct PrimedEntry {
    QString file;
    qint64 row = 0;
    qint64 chg = 0;
    ProcessIdentity owner;
};

QString text(sqlite3_stmt* stmt, int column) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)));
}

const TableDef* tableOfFile(const QString& diskName) {
    for (const TableDef* def : catalogTables())
        if (def->diskName == diskName)
            return def;
    return nullptr;
}

int deleteEntry(Store& store, const QString& file, qint64 row) {
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(store.handle(), "DELETE FROM main.primed WHERE file=?1 AND row=?2", -1, &stmt, nullptr);
    if (rc == SQLITE_OK) {
        const QByteArray name = file.toUtf8();
        sqlite3_bind_text(stmt, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(stmt, 2, row);
        rc = sqlite3_step(stmt);
    }
    sqlite3_finalize(stmt);
    return rc == SQLITE_DONE ? NoError : store.setEngineError(rc, store.folder());
}

}  // namespace

ProcessIdentity currentProcess() {
    // Read afresh each time: a forked child is another process than the one that asked before.
    ProcessIdentity p;
    p.host = QSysInfo::machineHostName();
    p.boot = bootId();
    p.pid = QCoreApplication::applicationPid();
    p.started = startTicks(p.pid);
    return p;
}

bool isRunning(const ProcessIdentity& process) {
    const ProcessIdentity self = currentProcess();
    if (process.host != self.host)
        return true;
    if (process.boot != self.boot)
        return false;
    const qint64 started = startTicks(process.pid);
    return started >= 0 && started == process.started;
}

int registerPrimed(Store& store, const TableDef& def, const Record& primed) {
    sqlite3* db = store.handle();
    if (!db)
        return store.setError(FileNotFound, store.folder());
    int rc = sqlite3_exec(db, kCreateOwners, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return store.setEngineError(rc, store.folder());
    sqlite3_stmt* stmt = nullptr;
    rc = sqlite3_prepare_v2(db, "INSERT OR REPLACE INTO main.primed VALUES(?1,?2,?3,?4,?5,?6,?7)", -1, &stmt, nullptr);
    if (rc == SQLITE_OK) {
        const ProcessIdentity self = currentProcess();
        const QByteArray file = def.diskName.toUtf8(), host = self.host.toUtf8(), boot = self.boot.toUtf8();
        sqlite3_bind_text(stmt, 1, file.constData(), int(file.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(stmt, 2, primed.rowId());
        sqlite3_bind_int64(stmt, 3, primed.changeCount());
        sqlite3_bind_text(stmt, 4, host.constData(), int(host.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(stmt, 5, boot.constData(), int(boot.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(stmt, 6, self.pid);
        sqlite3_bind_int64(stmt, 7, self.started);
        rc = sqlite3_step(stmt);
    }
    sqlite3_finalize(stmt);
    return rc == SQLITE_DONE ? NoError : store.setEngineError(rc, store.folder());
}

void forgetPrimed(Store& store, const TableDef& def, const Record& primed) {
    if (!store.handle() || primed.rowId() <= 0 || !ownersTableExists(store.handle()))
        return;
    // A leftover entry is harmless: the record's change counter no longer matches it.
    const StoreError kept = store.lastError();
    deleteEntry(store, def.diskName, primed.rowId());
    if (kept.isError())
        store.setError(kept.code, kept.fileName, kept.driverCode, kept.driverMessage);
    else
        store.clearError();
}

int primedCount(Store& store) {
    if (!store.handle() || !ownersTableExists(store.handle()))
        return 0;
    sqlite3_stmt* stmt = nullptr;
    int count = 0;
    if (sqlite3_prepare_v2(store.handle(), "SELECT count(*) FROM main.primed", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        count = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    return count;
}

int removeOrphanedPrimes(TableAccess& access) {
    Store& store = access.store();
    if (!store.handle() || store.isReadOnly() || !ownersTableExists(store.handle()))
        return 0;
    QVector<PrimedEntry> orphans;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(store.handle(), "SELECT file,row,chg,host,boot,pid,started FROM main.primed", -1, &stmt,
                           nullptr) == SQLITE_OK) {
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            PrimedEntry e;
            e.file = text(stmt, 0);
            e.row = sqlite3_column_int64(stmt, 1);
            e.chg = sqlite3_column_int64(stmt, 2);
            e.owner = {text(stmt, 3), text(stmt, 4), sqlite3_column_int64(stmt, 5), sqlite3_column_int64(stmt, 6)};
            if (!isRunning(e.owner))
                orphans << e;
        }
    }
    sqlite3_finalize(stmt);

    int removed = 0;
    for (const PrimedEntry& e : std::as_const(orphans)) {
        const TableDef* def = tableOfFile(e.file);
        TableUse use(access);
        if (def && !use.open(*def))
            continue;
        if (store.logout() != NoError)
            continue;
        int rc = NoError;
        bool gone = false;
        if (def) {
            Table table(store, *def);
            Record stored(*def);
            // Only a record still as it was primed: a completed one was rewritten and counts on.
            if (table.getByPosition(QString::number(e.row), stored) == NoError && stored.changeCount() == e.chg) {
                rc = table.remove(stored);
                gone = rc == NoError;
            }
        }
        if (!rc)
            rc = deleteEntry(store, e.file, e.row);
        if (rc) {
            store.rollback();
            continue;
        }
        // A failed commit rolls back by itself.
        if (store.commit() != NoError)
            continue;
        removed += gone ? 1 : 0;
    }
    store.clearError();
    return removed;
}

}  // namespace srk
