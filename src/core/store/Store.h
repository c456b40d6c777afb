#pragma once

#include "store/ErrorCode.h"
#include "store/TableDef.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>

#include <functional>

struct sqlite3;
struct sqlite3_stmt;

namespace srk {

// The record store: one connection to the data folder, each table in its own file attached to it,
// so that one transaction frame spans several tables. Files use a rollback journal (not WAL) so that a
// commit over several files stays atomic even when the process dies in the middle of it.
class Store {
public:
    explicit Store(const QString& folder);
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    // Higher layers (the query functions) register their engine functions through hooks run on every
    // new connection, so the store does not depend on them. A hook that fails makes the connection fail.
    using ConnectionHook = bool (*)(sqlite3*);
    static void addConnectionHook(ConnectionHook hook);
    static void removeConnectionHook(ConnectionHook hook);

    // Opens the connection. False (and lastError) when the folder is unusable.
    bool connect();
    // How the store passes the time while another station holds a lock (milliseconds); tests give a
    // clock of their own. The default sleeps.
    void setWaitFunction(std::function<void(int)> wait) { m_wait = std::move(wait); }
    // A read-only store changes nothing on disk, not even an interrupted commit's journal (for checks).
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool isReadOnly() const { return m_readOnly; }
    bool isConnected() const { return m_db != nullptr; }
    const QString& folder() const { return m_folder; }

    static QString fileExtension() { return QStringLiteral(".sdb"); }
    // True only when nothing at all is at the path (a broken link or an unreadable path is something).
    static bool fileIsMissing(const QString& path);
    QString filePath(const TableDef& def) const;

    // --- files. Each returns 0 or an error code (also kept in lastError). ---
    // Opens the table's file: 2 missing, 32 locked, 36 not a valid data file, 46 keys must be rebuilt,
    // 47 layout differs, 52 this table is already open (counts as success), 90 engine error.
    int openFile(const TableDef& def);
    // Creates an empty file of the current layout. The file is written under a name of its own and then
    // put in place whole, so another process never sees it half made; when another process put its file
    // there first, that one stays and this is no error. A file already there is never touched.
    int createFile(const TableDef& def);
    // Rebuilds every key of the file; inside an open frame, as part of it.
    int buildKeys(const TableDef& def);
    // Converts a file of an older layout (same table, fewer or other fields) to the current one. A file
    // holding fields this program does not know, or of a newer layout, is refused and left as it is.
    int upgradeFile(const TableDef& def);
    // Clears a lock left by a station that died. The engine already does this on open, so it only waits.
    int recover(const TableDef& def, int seconds);
    void closeFile(const TableDef& def);
    bool isOpen(const TableDef& def) const;
    // Layout version recorded in an open file; 0 when unknown.
    int fileVersion(const TableDef& def);

    // --- transaction frames and stream mode ---
    // Frames a transaction over the open files, waiting up to timeoutMs for other stations' locks.
    int logout(int timeoutMs = 2000);
    int commit();
    int rollback();
    bool inTransaction() const { return !m_frames.isEmpty(); }
    // Bulk mode: adds and puts collect in one transaction until flush.
    int stream();
    int flush();
    // Leaves stream mode throwing away what it collected since the last flush (a failed run).
    int discard();

    // --- errors ---
    const StoreError& lastError() const { return m_error; }
    void clearError() { m_error = StoreError(); }
    int setError(int code, const QString& fileName, int driverCode = 0, const QString& driverMessage = QString());
    // Maps an engine result to our codes and records it. Returns the code.
    int setEngineError(int rc, const QString& fileName);

    // --- for table handles ---
    sqlite3* handle() const { return m_db; }
    // A prepared statement, cached for the life of the attachment; reset and unbound.
    sqlite3_stmt* statement(const QByteArray& sql);
    static QString schemaName(const TableDef& def);
    // Bumped whenever cached statements were dropped, so handles holding one prepare it again.
    quint64 statementGeneration() const { return m_statementGeneration; }
    // Bulk load into an empty table: its keys are dropped and built once at the end, which is far
    // quicker than keeping them up to date record by record. Only inside a transaction frame, which must
    // also rebuild the keys before it commits: other stations keep seeing the old keys meanwhile, and an
    // interrupted load is rolled back with its keys.
    int dropKeys(const TableDef& def);
    // Bumped by every write, so cursors know their read-ahead is stale.
    quint64 changeSerial() const { return m_changeSerial; }
    void noteChange() { ++m_changeSerial; }
    // Raises or lowers the page cache of the open files (bulk runs want more).
    void setCacheMegabytes(int megabytes);

    // The SQL of a table file's layout: CREATE TABLE and CREATE INDEX statements for a schema.
    static QStringList layoutSql(const TableDef& def, const QString& schema);
    static QString keyOrderColumns(const TableDef& def, int key, bool descending, const QString& alias = QString());
    // The condition that leaves records with all key fields empty out of a key; empty for keys keeping all.
    static QString keyPresenceCondition(const TableDef& def, int key, const QString& alias = QString());

private:
    int exec(const QString& sql, const QString& fileName);
    int attach(const TableDef& def);
    int attachFile(const QString& path, const QString& schema);
    int checkPathLength(const QString& path);
    int createInto(const TableDef& def, const QString& path, const QString& schema);
    static int busyWait(void* store, int attempt);
    void setBusyTimeout(int ms);
    int refuseNewerLayout(const TableDef& def, int version);
    void detach(const TableDef& def);
    void finalizeStatements();
    int checkLayout(const TableDef& def);
    int checkFileHeader(const QString& path);

    QString m_folder;
    sqlite3* m_db = nullptr;
    StoreError m_error;
    QHash<QByteArray, sqlite3_stmt*> m_statements;
    QHash<QString, int> m_attachCount;  // schema -> open labels using it
    QSet<QString> m_openLabels;
    QVector<int> m_frames;  // kinds of open frames: 0 transaction, 1 savepoint
    QHash<QString, int> m_keysDropped;  // file -> depth of the frame that dropped its keys
    int m_streamDepth = 0;
    int m_streamFrame = 0;  // frames open when the stream began
    quint64 m_changeSerial = 0;
    quint64 m_statementGeneration = 1;
    int m_cacheMegabytes = 64;
    bool m_readOnly = false;
    std::function<void(int)> m_wait;
    int m_busyTimeoutMs = 2000;
    int m_busyWaitedMs = 0;
};

}  // namespace srk
