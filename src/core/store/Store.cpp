#include "store/Store.h"

#include "store/FoldCollation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QUrl>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sqlite3.h>

namespace srk {

namespace {

constexpr auto kMainFile = "srkstore.sdb";
constexpr auto kRecords = "records";
// The size of the runs a key is sorted in (see buildKeys); 4 to 8 MB measured best on two cores.
constexpr int kKeySortRunMegabytes = 8;

QString quoted(const QString& name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

QString columnType(const FieldDef& f) {
    if (isTextKind(f.kind))
        return QStringLiteral("TEXT NOT NULL DEFAULT '' COLLATE SRK");
    return QStringLiteral("INTEGER NOT NULL DEFAULT 0");
}

QVector<Store::ConnectionHook>& connectionHooks() {
    static QVector<Store::ConnectionHook> hooks;
    return hooks;
}

QString fileName(const QString& path) { return QFileInfo(path).fileName(); }

// Why a path cannot be opened, in the user's terms, from the system's error number.
QString openFailure(const QString& path, int error) {
    switch (error) {
    case ENAMETOOLONG: return QStringLiteral("The path of %1 is longer than the system allows").arg(path);
    case ELOOP: return QStringLiteral("The path of %1 leads round a loop of symbolic links").arg(path);
    case EACCES:
    case EPERM: return QStringLiteral("No permission to read %1").arg(path);
    case ENOTDIR: return QStringLiteral("A part of the path of %1 is not a folder").arg(path);
    default: return QStringLiteral("%1 cannot be opened: %2").arg(path, QString::fromLocal8Bit(std::strerror(error)));
    }
}

QString fileKind(mode_t mode) {
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("a named pipe");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    return QStringLiteral("not a plain file");
}

quint32 bigEndian32(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return (quint32(u[0]) << 24) | (quint32(u[1]) << 16) | (quint32(u[2]) << 8) | quint32(u[3]);
}

}  // namespace

Store::Store(const QString& folder) : m_folder(folder) {}

void Store::addConnectionHook(ConnectionHook hook) {
    if (hook && !connectionHooks().contains(hook))
        connectionHooks().push_back(hook);
}

void Store::removeConnectionHook(ConnectionHook hook) { connectionHooks().removeAll(hook); }

int Store::busyWait(void* self, int attempt) {
    auto* store = static_cast<Store*>(self);
    if (attempt == 0)
        store->m_busyWaitedMs = 0;
    const int left = store->m_busyTimeoutMs - store->m_busyWaitedMs;
    if (left <= 0)
        return 0;
    // Short waits first: most locks are commits that end within a few milliseconds.
    static constexpr int kDelays[] = {1, 2, 5, 10, 15, 20, 25, 25, 25, 50, 50, 100};
    const int delay = std::min(left, attempt < int(std::size(kDelays)) ? kDelays[attempt] : 100);
    if (store->m_wait)
        store->m_wait(delay);
    else
        QThread::msleep(delay);
    store->m_busyWaitedMs += delay;
    return 1;
}

void Store::setBusyTimeout(int ms) {
    m_busyTimeoutMs = ms;
    sqlite3_busy_handler(m_db, &Store::busyWait, this);
}

Store::~Store() {
    while (!m_frames.isEmpty())
        rollback();
    finalizeStatements();
    if (m_db)
        sqlite3_close(m_db);
}

bool Store::connect() {
    if (m_db)
        return true;
    const QString mainPath = QDir(m_folder).filePath(QString::fromLatin1(kMainFile));
    struct stat folder {};
    if (::stat(QFile::encodeName(m_folder).constData(), &folder) != 0) {
        const int error = errno;
        if (error == ENOENT)
            setError(FileNotFound, m_folder);
        else
            setError(DriverError, m_folder, SQLITE_CANTOPEN, openFailure(m_folder, error));
        return false;
    }
    if (!S_ISDIR(folder.st_mode)) {
        setError(DriverError, m_folder, SQLITE_CANTOPEN, QStringLiteral("%1 is not a folder").arg(m_folder));
        return false;
    }
    if (checkPathLength(mainPath) != NoError)
        return false;
    // One thread uses a store, so the engine's lock around every call (two per column read) is dropped.
    const int flags = SQLITE_OPEN_NOMUTEX | (m_readOnly ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI | SQLITE_OPEN_MEMORY
                                                        : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI);
    const QByteArray mainName = m_readOnly ? QByteArray(":memory:") : mainPath.toUtf8();
    const int rc = sqlite3_open_v2(mainName.constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        setEngineError(rc, mainPath);
        sqlite3_close(m_db);
        m_db = nullptr;
        return false;
    }
    sqlite3_extended_result_codes(m_db, 1);
    setBusyTimeout(2000);
    // Every key compares through the collation: without it, nothing may be read or written.
    bool registered = registerFoldCollation(m_db);
    for (ConnectionHook hook : std::as_const(connectionHooks()))
        registered = registered && hook(m_db);
    if (!registered) {
        setError(DriverError, mainPath, sqlite3_errcode(m_db),
                 QStringLiteral("The engine refused the program's comparison or functions: ") +
                     QString::fromUtf8(sqlite3_errmsg(m_db)));
        sqlite3_close(m_db);
        m_db = nullptr;
        return false;
    }
    // The main file only anchors the journal that ties a commit over several files together. A damaged
    // one is named here, before the first table file is blamed for it.
    if (!m_readOnly && exec(QStringLiteral("PRAGMA main.journal_mode=DELETE"), mainPath) == InvalidDataFile) {
        finalizeStatements();
        sqlite3_close(m_db);
        m_db = nullptr;
        return false;
    }
    return true;
}

QString Store::filePath(const TableDef& def) const {
    return QDir(m_folder).filePath(def.diskName + fileExtension());
}

QString Store::schemaName(const TableDef& def) { return def.diskName.toLower(); }

int Store::setError(int code, const QString& fileName, int driverCode, const QString& driverMessage) {
    m_error.code = code;
    m_error.text = errorCodeText(code);
    m_error.driverCode = driverCode;
    m_error.driverMessage = driverMessage;
    m_error.fileName = fileName;
    return code;
}

int Store::setEngineError(int rc, const QString& fileName) {
    const int primary = rc & 0xFF;
    const QString message = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(rc));
    switch (primary) {
    case SQLITE_OK:
    case SQLITE_DONE:
    case SQLITE_ROW: clearError(); return NoError;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return setError(FileLocked, fileName, rc, message);
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT: return setError(InvalidDataFile, fileName, rc, message);
    case SQLITE_CANTOPEN: return setError(FileNotFound, fileName, rc, message);
    case SQLITE_READONLY:
        // A read-only look at a file whose last update was cut off: the journal must be played back first.
        if (rc == SQLITE_READONLY_ROLLBACK)
            return setError(DriverError, fileName, rc,
                            QStringLiteral("An interrupted update was found in %1; it will be rolled back by the "
                                           "next opening for writing")
                                .arg(srk::fileName(fileName)));
        return setError(DriverError, fileName, rc, message);
    case SQLITE_CONSTRAINT:
        if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY)
            return setError(DuplicateKey, fileName, rc, message);
        return setError(DriverError, fileName, rc, message);
    default: return setError(DriverError, fileName, rc, message);
    }
}

int Store::exec(const QString& sql, const QString& fileName) {
    char* err = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &err);
    sqlite3_free(err);
    if (rc != SQLITE_OK)
        return setEngineError(rc, fileName);
    return NoError;
}

sqlite3_stmt* Store::statement(const QByteArray& sql) {
    auto it = m_statements.find(sql);
    if (it != m_statements.end()) {
        sqlite3_reset(it.value());
        sqlite3_clear_bindings(it.value());
        return it.value();
    }
    // Filters make new statement texts; keep the cache bounded (holders notice by the generation).
    if (m_statements.size() >= 256)
        finalizeStatements();
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v3(m_db, sql.constData(), int(sql.size()), SQLITE_PREPARE_PERSISTENT, &stmt,
                                      nullptr);
    if (rc != SQLITE_OK) {
        setEngineError(rc, QString());
        return nullptr;
    }
    m_statements.insert(sql, stmt);
    return stmt;
}

void Store::finalizeStatements() {
    for (sqlite3_stmt* s : std::as_const(m_statements))
        sqlite3_finalize(s);
    m_statements.clear();
    ++m_statementGeneration;
}

int Store::dropKeys(const TableDef& def) {
    if (m_attachCount.value(schemaName(def)) == 0)
        return setError(FileNotFound, filePath(def));
    // Outside a frame the file would be committed without keys for everyone else to trip over.
    if (m_frames.isEmpty())
        return setError(DriverError, filePath(def), SQLITE_MISUSE,
                        QStringLiteral("The keys of %1 may only be dropped inside a transaction")
                            .arg(fileName(filePath(def))));
    finalizeStatements();
    if (!m_keysDropped.contains(filePath(def)))
        m_keysDropped.insert(filePath(def), int(m_frames.size()));
    for (const KeyDef& k : def.keys)
        if (const int rc = exec(QStringLiteral("DROP INDEX IF EXISTS %1.%2").arg(quoted(schemaName(def)), quoted(k.name)),
                                filePath(def)))
            return rc;
    return NoError;
}

void Store::setCacheMegabytes(int megabytes) {
    m_cacheMegabytes = megabytes;
    for (auto it = m_attachCount.cbegin(); it != m_attachCount.cend(); ++it)
        exec(QStringLiteral("PRAGMA %1.cache_size=-%2").arg(quoted(it.key())).arg(megabytes * 1024), QString());
    // The engine also sizes the runs of its sorts by the main file's cache; buildKeys sets its own.
    if (m_db)
        exec(QStringLiteral("PRAGMA main.cache_size=-%1").arg(megabytes * 1024), QString());
}

// --- layout ---

QString Store::keyOrderColumns(const TableDef& def, int key, bool descending, const QString& alias) {
    const QString qual = alias.isEmpty() ? QString() : alias + QLatin1Char('.');
    const QString direction = descending ? QStringLiteral(" DESC") : QString();
    QStringList parts;
    if (key >= 0)
        for (int c : def.keys[key].components)
            parts << qual + quoted(def.fields[c].name) + direction;
    parts << qual + QStringLiteral("_row") + direction;
    return parts.join(QLatin1Char(','));
}

QString Store::keyPresenceCondition(const TableDef& def, int key, const QString& alias) {
    const KeyDef& k = def.keys[key];
    if (k.keepsEmpty)
        return QString();
    const QString qual = alias.isEmpty() ? QString() : alias + QLatin1Char('.');
    QStringList empties;
    for (int c : k.components) {
        const FieldDef& f = def.fields[c];
        empties << qual + quoted(f.name) + (isTextKind(f.kind) ? QStringLiteral("=''") : QStringLiteral("=0"));
    }
    return QStringLiteral("NOT (") + empties.join(QStringLiteral(" AND ")) + QLatin1Char(')');
}

QStringList Store::layoutSql(const TableDef& def, const QString& schema) {
    QStringList sql;
    QStringList columns{QStringLiteral("_row INTEGER PRIMARY KEY"), QStringLiteral("_chg INTEGER NOT NULL DEFAULT 0")};
    for (const FieldDef& f : def.fields)
        columns << quoted(f.name) + QLatin1Char(' ') + columnType(f);
    sql << QStringLiteral("CREATE TABLE %1.%2(%3)")
               .arg(quoted(schema), QString::fromLatin1(kRecords), columns.join(QStringLiteral(", ")));
    for (int k = 0; k < def.keys.size(); ++k) {
        const KeyDef& key = def.keys[k];
        QStringList cols;
        for (int c : key.components)
            cols << quoted(def.fields[c].name);
        QString stmt = QStringLiteral("CREATE %1INDEX %2.%3 ON %4(%5)")
                           .arg(key.unique ? QStringLiteral("UNIQUE ") : QString(), quoted(schema),
                                quoted(key.name), QString::fromLatin1(kRecords), cols.join(QLatin1Char(',')));
        const QString presence = keyPresenceCondition(def, k);
        if (!presence.isEmpty())
            stmt += QStringLiteral(" WHERE ") + presence;
        sql << stmt;
    }
    return sql;
}

// --- files ---

int Store::checkFileHeader(const QString& path) {
    // Opened without waiting (a named pipe would block every command) and refused unless a plain file.
    const QByteArray local = QFile::encodeName(path);
    const int fd = ::open(local.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT)
            return setError(FileNotFound, path);
        return setError(DriverError, path, SQLITE_CANTOPEN, openFailure(path, error));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const mode_t mode = info.st_mode;
        ::close(fd);
        return setError(DriverError, path, SQLITE_CANTOPEN,
                        QStringLiteral("%1 is %2, not a data file").arg(path, fileKind(mode)));
    }
    QByteArray head(100, '\0');
    qint64 got = 0;
    while (got < head.size()) {
        const ssize_t n = ::read(fd, head.data() + got, size_t(head.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += n;
    }
    ::close(fd);
    if (got < 100 || !head.startsWith(QByteArray("SQLite format 3\0", 16)))
        return setError(InvalidDataFile, path);
    quint32 pageSize = (quint32(quint8(head[16])) << 8) | quint8(head[17]);
    if (pageSize == 1)
        pageSize = 65536;
    const quint32 pages = bigEndian32(head.constData() + 28);
    const bool countValid = bigEndian32(head.constData() + 24) == bigEndian32(head.constData() + 92);
    // A cut-off file is refused before anything reads it; an interrupted commit (journal beside it) is
    // repaired by the engine instead.
    if (countValid && pages > 0 && !QFileInfo::exists(path + QStringLiteral("-journal")) &&
        quint64(info.st_size) < quint64(pageSize) * pages)
        return setError(InvalidDataFile, path);
    return NoError;
}

int Store::checkPathLength(const QString& path) {
    // The engine has a limit of its own, shorter than the system's.
    const sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
    const int limit = vfs ? vfs->mxPathname : 512;
    if (QFile::encodeName(QFileInfo(path).absoluteFilePath()).size() >= limit)
        return setError(DriverError, path, SQLITE_CANTOPEN,
                        QStringLiteral("The path of %1 is longer than the %2 bytes the catalogue's files allow")
                            .arg(path)
                            .arg(limit - 1));
    return NoError;
}

bool Store::fileIsMissing(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) != 0 && errno == ENOENT;
}

int Store::attachFile(const QString& filePath, const QString& schema) {
    if (const int rc = checkPathLength(filePath))
        return rc;
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(m_db, "ATTACH DATABASE ?1 AS ?2", -1, &stmt, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return setEngineError(rc, filePath);
    }
    QByteArray path = filePath.toUtf8();
    if (m_readOnly)
        path = "file:" + QUrl::fromLocalFile(filePath).path(QUrl::FullyEncoded).toUtf8() + "?mode=ro";
    const QByteArray name = schema.toUtf8();
    sqlite3_bind_text(stmt, 1, path.constData(), int(path.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(stmt, 2, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    rc = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        return setEngineError(rc, filePath);
    if (!m_readOnly)
        exec(QStringLiteral("PRAGMA %1.journal_mode=DELETE").arg(quoted(schema)), filePath);
    exec(QStringLiteral("PRAGMA %1.cache_size=-%2").arg(quoted(schema)).arg(m_cacheMegabytes * 1024), filePath);
    return NoError;
}

int Store::attach(const TableDef& def) {
    const QString schema = schemaName(def);
    if (m_attachCount.value(schema) > 0) {
        ++m_attachCount[schema];
        return NoError;
    }
    if (const int rc = attachFile(filePath(def), schema))
        return rc;
    m_attachCount[schema] = 1;
    return NoError;
}

void Store::detach(const TableDef& def) {
    const QString schema = schemaName(def);
    auto it = m_attachCount.find(schema);
    if (it == m_attachCount.end())
        return;
    if (--it.value() > 0)
        return;
    m_attachCount.erase(it);
    finalizeStatements();
    exec(QStringLiteral("DETACH DATABASE %1").arg(quoted(schema)), filePath(def));
}

int Store::checkLayout(const TableDef& def) {
    const QString schema = quoted(schemaName(def));
    const QString path = filePath(def);
    // Reading the file's own catalogue is the first real read: a damaged file shows here.
    sqlite3_stmt* stmt = nullptr;
    QByteArray sql = QStringLiteral("SELECT type, name FROM %1.sqlite_master").arg(schema).toUtf8();
    int rc = sqlite3_prepare_v2(m_db, sql.constData(), -1, &stmt, nullptr);
    if (rc != SQLITE_OK)
        return setEngineError(rc, path);
    QSet<QString> tables, indexes;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const QString type = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        const QString name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)));
        (type == QLatin1String("table") ? tables : indexes).insert(name);
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        return setEngineError(rc, path);
    if (!tables.contains(QString::fromLatin1(kRecords)) || !tables.contains(QStringLiteral("layout")))
        return setError(InvalidDataFile, path);

    sql = QStringLiteral("SELECT label, version FROM %1.layout").arg(schema).toUtf8();
    rc = sqlite3_prepare_v2(m_db, sql.constData(), -1, &stmt, nullptr);
    if (rc != SQLITE_OK)
        return setEngineError(rc, path);
    QString label;
    int version = 0;
    if (sqlite3_step(stmt) == SQLITE_ROW) {
        label = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        version = sqlite3_column_int(stmt, 1);
    }
    sqlite3_finalize(stmt);
    if (label.compare(def.fileLabel(), Qt::CaseInsensitive) != 0)
        return setError(InvalidDataFile, path);
    if (version > def.version)
        return refuseNewerLayout(def, version);
    if (version != def.version)
        return setError(LayoutDiffers, path);

    sql = QStringLiteral("PRAGMA %1.table_info(%2)").arg(schema, QString::fromLatin1(kRecords)).toUtf8();
    rc = sqlite3_prepare_v2(m_db, sql.constData(), -1, &stmt, nullptr);
    if (rc != SQLITE_OK)
        return setEngineError(rc, path);
    QStringList columns;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
        columns << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)));
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        return setEngineError(rc, path);
    QStringList expected{QStringLiteral("_row"), QStringLiteral("_chg")};
    for (const FieldDef& f : def.fields)
        expected << f.name;
    if (columns != expected)
        return setError(LayoutDiffers, path);
    for (const KeyDef& k : def.keys)
        if (!indexes.contains(k.name))
            return setError(KeysMustBeRebuilt, path);
    return NoError;
}

int Store::openFile(const TableDef& def) {
    if (!m_db && !connect())
        return m_error.code;
    if (m_openLabels.contains(def.label))
        return setError(FileAlreadyOpen, filePath(def));
    const QString path = filePath(def);
    const QString schema = schemaName(def);
    if (m_attachCount.value(schema) == 0)
        if (const int rc = checkFileHeader(path))
            return rc;
    if (const int rc = attach(def))
        return rc;
    if (const int rc = checkLayout(def)) {
        const StoreError kept = m_error;
        detach(def);
        m_error = kept;
        return rc;
    }
    m_openLabels.insert(def.label);
    clearError();
    return NoError;
}

void Store::closeFile(const TableDef& def) {
    if (!m_openLabels.remove(def.label))
        return;
    detach(def);
}

bool Store::isOpen(const TableDef& def) const { return m_openLabels.contains(def.label); }

int Store::refuseNewerLayout(const TableDef& def, int version) {
    setError(LayoutDiffers, filePath(def));
    m_error.text = QStringLiteral("%1 has a newer layout (%2) than this program reads (%3)")
                       .arg(fileName(filePath(def)))
                       .arg(version)
                       .arg(def.version);
    return LayoutDiffers;
}

int Store::createInto(const TableDef& def, const QString& path, const QString& schema) {
    if (const int rc = attachFile(path, schema))
        return rc;
    int rc = exec(QStringLiteral("BEGIN"), path);
    QStringList sql = layoutSql(def, schema);
    sql << QStringLiteral("CREATE TABLE %1.layout(label TEXT NOT NULL, prefix TEXT NOT NULL, version INTEGER NOT NULL)")
               .arg(quoted(schema));
    sql << QStringLiteral("INSERT INTO %1.layout VALUES('%2','%3',%4)")
               .arg(quoted(schema), def.fileLabel(), def.filePrefix())
               .arg(def.version);
    sql << QStringLiteral("PRAGMA %1.user_version=%2").arg(quoted(schema)).arg(def.version);
    for (const QString& s : std::as_const(sql)) {
        if (rc)
            break;
        rc = exec(s, path);
    }
    if (!rc)
        rc = exec(QStringLiteral("COMMIT"), path);
    const StoreError kept = m_error;
    if (rc)
        exec(QStringLiteral("ROLLBACK"), path);
    finalizeStatements();
    exec(QStringLiteral("DETACH DATABASE %1").arg(quoted(schema)), path);
    m_error = kept;
    return rc;
}

int Store::createFile(const TableDef& def) {
    if (!m_db && !connect())
        return m_error.code;
    const QString path = filePath(def);
    struct stat there {};
    if (::lstat(QFile::encodeName(path).constData(), &there) == 0) {
        clearError();
        return NoError;  // made by another station meanwhile (or damaged): the open judges it
    }
    // Built under a name of this process, then linked into place whole: the link fails rather than
    // replace a file another station put there first.
    static std::atomic<int> serial{0};
    const QString temporary = QDir(m_folder).filePath(QStringLiteral(".%1%2.%3-%4.new")
                                                          .arg(def.diskName, fileExtension())
                                                          .arg(QCoreApplication::applicationPid())
                                                          .arg(++serial));
    const QString schema = QStringLiteral("new_") + schemaName(def);
    int rc = createInto(def, temporary, schema);
    if (!rc) {
        const QByteArray from = QFile::encodeName(temporary), to = QFile::encodeName(path);
        if (::link(from.constData(), to.constData()) != 0) {
            const int error = errno;
            if (error == EEXIST) {
                clearError();
            } else if ((error == EPERM || error == ENOTSUP || error == EXDEV) && QFile::rename(temporary, path)) {
                // No hard links on this file system: a rename that never replaces a file does the same.
                clearError();
                return NoError;
            } else {
                rc = setError(DriverError, path, SQLITE_CANTOPEN, openFailure(path, error));
            }
        }
    }
    const StoreError kept = m_error;
    QFile::remove(temporary);
    QFile::remove(temporary + QStringLiteral("-journal"));
    m_error = kept;
    return rc;
}

int Store::buildKeys(const TableDef& def) {
    if (!m_db && !connect())
        return m_error.code;
    const bool wasAttached = m_attachCount.value(schemaName(def)) > 0;
    if (!wasAttached)
        if (const int rc = attach(def))
            return rc;
    const QString schema = quoted(schemaName(def));
    const QString path = filePath(def);
    // Inside a frame the rebuild is part of it (a bulk load's), so nobody ever sees the file without keys.
    const bool framed = !m_frames.isEmpty();
    int rc = exec(framed ? QStringLiteral("SAVEPOINT build_keys") : QStringLiteral("BEGIN IMMEDIATE"), path);
    if (!rc) {
        for (const KeyDef& k : def.keys) {
            rc = exec(QStringLiteral("DROP INDEX IF EXISTS %1.%2").arg(schema, quoted(k.name)), path);
            if (rc)
                break;
        }
    }
    if (!rc) {
        // Each key is sorted in runs by a second thread while this one reads the table: on two cores
        // a quarter quicker than one big sort in memory.
        exec(QStringLiteral("PRAGMA threads=1"), QString());
        exec(QStringLiteral("PRAGMA main.cache_size=-%1").arg(kKeySortRunMegabytes * 1024), QString());
        const QStringList sql = layoutSql(def, schemaName(def));
        for (int i = 1; i < sql.size() && !rc; ++i)
            rc = exec(sql[i], path);
        exec(QStringLiteral("PRAGMA threads=0"), QString());
        exec(QStringLiteral("PRAGMA main.cache_size=-%1").arg(m_cacheMegabytes * 1024), QString());
    }
    if (!rc)
        rc = exec(framed ? QStringLiteral("RELEASE build_keys") : QStringLiteral("COMMIT"), path);
    if (!rc)
        m_keysDropped.remove(filePath(def));
    if (rc) {
        const StoreError kept = m_error;
        if (framed) {
            exec(QStringLiteral("ROLLBACK TO build_keys"), path);
            exec(QStringLiteral("RELEASE build_keys"), path);
        } else {
            exec(QStringLiteral("ROLLBACK"), path);
        }
        m_error = kept;
    }
    finalizeStatements();
    if (!wasAttached)
        detach(def);
    return rc;
}

int Store::upgradeFile(const TableDef& def) {
    if (!m_db && !connect())
        return m_error.code;
    const QString path = filePath(def);
    const bool wasAttached = m_attachCount.value(schemaName(def)) > 0;
    if (!wasAttached) {
        if (const int rc = checkFileHeader(path))
            return rc;
        if (const int rc = attach(def))
            return rc;
    }
    const QString schema = schemaName(def);
    const QString q = quoted(schema);
    auto fail = [&](int code) {
        const StoreError kept = m_error;
        exec(QStringLiteral("ROLLBACK"), path);
        finalizeStatements();
        if (!wasAttached)
            detach(def);
        m_error = kept;
        return code;
    };
    int rc = exec(QStringLiteral("BEGIN IMMEDIATE"), path);
    if (rc)
        return fail(rc);

    // Only a file of this same table, written by an older layout, may be converted.
    sqlite3_stmt* stmt = nullptr;
    QByteArray sql = QStringLiteral("SELECT label, version FROM %1.layout").arg(q).toUtf8();
    if (sqlite3_prepare_v2(m_db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK)
        return fail(setError(LayoutDiffers, path));
    QString label;
    int version = 0;
    if (sqlite3_step(stmt) == SQLITE_ROW) {
        label = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        version = sqlite3_column_int(stmt, 1);
    }
    sqlite3_finalize(stmt);
    if (label.compare(def.fileLabel(), Qt::CaseInsensitive) != 0)
        return fail(setError(LayoutDiffers, path));
    if (version > def.version)
        return fail(refuseNewerLayout(def, version));

    // The conversion copies the old columns it knows; it goes ahead only when all of them were read.
    sql = QStringLiteral("PRAGMA %1.table_info(%2)").arg(q, QString::fromLatin1(kRecords)).toUtf8();
    rc = sqlite3_prepare_v2(m_db, sql.constData(), -1, &stmt, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return fail(setEngineError(rc, path));
    }
    QSet<QString> oldColumns;
    QStringList unknown;
    QSet<QString> known{QStringLiteral("_row"), QStringLiteral("_chg")};
    for (const FieldDef& f : def.fields)
        known.insert(f.name.toLower());
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const QString column = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)));
        oldColumns.insert(column.toLower());
        if (!known.contains(column.toLower()))
            unknown << column;
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        return fail(setEngineError(rc, path));
    if (oldColumns.isEmpty())
        return fail(setError(InvalidDataFile, path));
    // Rewriting would lose what those fields hold, so the file stays as it is.
    if (!unknown.isEmpty()) {
        setError(LayoutDiffers, path);
        m_error.text = QStringLiteral("%1 holds fields this program does not know (%2)")
                           .arg(fileName(path), unknown.join(QStringLiteral(", ")));
        return fail(LayoutDiffers);
    }

    QStringList statements;
    statements << QStringLiteral("ALTER TABLE %1.%2 RENAME TO records_old").arg(q, QString::fromLatin1(kRecords));
    for (const KeyDef& k : def.keys)
        statements << QStringLiteral("DROP INDEX IF EXISTS %1.%2").arg(q, quoted(k.name));
    statements << layoutSql(def, schema);
    QStringList into{QStringLiteral("_row")}, from{QStringLiteral("_row")};
    for (const FieldDef& f : def.fields) {
        if (!oldColumns.contains(f.name.toLower()))
            continue;
        into << quoted(f.name);
        if (isTextKind(f.kind))
            from << QStringLiteral("substr(rtrim(coalesce(%1,'')),1,%2)").arg(quoted(f.name)).arg(f.width);
        else
            from << QStringLiteral("coalesce(CAST(%1 AS INTEGER),0)").arg(quoted(f.name));
    }
    statements << QStringLiteral("INSERT INTO %1.%2(%3) SELECT %4 FROM %1.records_old")
                      .arg(q, QString::fromLatin1(kRecords), into.join(QLatin1Char(',')), from.join(QLatin1Char(',')));
    statements << QStringLiteral("DROP TABLE %1.records_old").arg(q);
    statements << QStringLiteral("UPDATE %1.layout SET version=%2, prefix='%3'").arg(q).arg(def.version).arg(def.filePrefix());
    statements << QStringLiteral("PRAGMA %1.user_version=%2").arg(q).arg(def.version);
    finalizeStatements();
    for (const QString& s : std::as_const(statements)) {
        rc = exec(s, path);
        if (rc)
            return fail(rc == DuplicateKey ? setError(LayoutDiffers, path, m_error.driverCode, m_error.driverMessage)
                                           : rc);
    }
    rc = exec(QStringLiteral("COMMIT"), path);
    if (rc)
        return fail(rc);
    if (!wasAttached)
        detach(def);
    clearError();
    return NoError;
}

int Store::recover(const TableDef& def, int seconds) {
    // Locks die with their process here; give a station that is finishing a commit time to end it.
    const QString path = filePath(def);
    for (int i = 0; i < seconds * 10; ++i) {
        if (!QFileInfo::exists(path + QStringLiteral("-journal")))
            return NoError;
        QThread::msleep(100);
    }
    return NoError;
}

int Store::fileVersion(const TableDef& def) {
    if (m_attachCount.value(schemaName(def)) == 0)
        return 0;
    sqlite3_stmt* stmt =
        statement(QStringLiteral("SELECT version FROM %1.layout").arg(quoted(schemaName(def))).toUtf8());
    if (!stmt)
        return 0;
    const int version = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int(stmt, 0) : 0;
    sqlite3_reset(stmt);
    return version;
}

// --- transactions ---

int Store::logout(int timeoutMs) {
    if (!m_db)
        return setError(FileNotFound, m_folder);
    if (!m_frames.isEmpty()) {
        // The frame counts only once its savepoint exists, or a failed one would be released later.
        if (const int rc = exec(QStringLiteral("SAVEPOINT frame%1").arg(m_frames.size() + 1), QString()))
            return rc;
        m_frames.push_back(1);
        return NoError;
    }
    setBusyTimeout(timeoutMs);
    const int rc = exec(QStringLiteral("BEGIN IMMEDIATE"), QString());
    setBusyTimeout(2000);
    if (rc)
        return rc;
    m_frames.push_back(0);
    return NoError;
}

int Store::commit() {
    if (m_frames.isEmpty())
        return NoError;
    const int kind = m_frames.back();
    int rc;
    if (kind == 0 && !m_keysDropped.isEmpty()) {
        // Never commit a table without its keys: other stations would trip over it.
        rc = setError(KeysMustBeRebuilt, m_keysDropped.constBegin().key());
    } else if (kind == 1) {
        rc = exec(QStringLiteral("RELEASE frame%1").arg(m_frames.size()), QString());
    } else {
        rc = exec(QStringLiteral("COMMIT"), QString());
    }
    if (rc) {
        const StoreError kept = m_error;
        rollback();
        m_error = kept;
        return rc;
    }
    const int depth = int(m_frames.size());
    for (auto it = m_keysDropped.begin(); it != m_keysDropped.end(); ++it)
        it.value() = std::min(it.value(), depth - 1);
    m_frames.pop_back();
    return NoError;
}

int Store::rollback() {
    if (m_frames.isEmpty())
        return NoError;
    const int kind = m_frames.back();
    int rc;
    if (kind == 1) {
        rc = exec(QStringLiteral("ROLLBACK TO frame%1").arg(m_frames.size()), QString());
        if (!rc)
            rc = exec(QStringLiteral("RELEASE frame%1").arg(m_frames.size()), QString());
    } else {
        rc = exec(QStringLiteral("ROLLBACK"), QString());
    }
    // Keys dropped inside the frame are back with everything else it held.
    const int depth = int(m_frames.size());
    for (auto it = m_keysDropped.begin(); it != m_keysDropped.end();)
        it = it.value() >= depth ? m_keysDropped.erase(it) : std::next(it);
    m_frames.pop_back();
    noteChange();
    return rc;
}

int Store::stream() {
    if (m_streamDepth++ > 0)
        return NoError;
    m_streamFrame = int(m_frames.size());
    const int rc = logout(2000);
    if (rc)
        m_streamDepth = 0;
    return rc;
}

int Store::flush() {
    if (m_streamDepth == 0)
        return NoError;
    if (--m_streamDepth > 0)
        return NoError;
    return commit();
}

int Store::discard() {
    if (m_streamDepth == 0)
        return NoError;
    m_streamDepth = 0;
    // Only the stream's own frame and what was framed inside it; a frame around the stream stays open.
    int rc = NoError;
    while (m_frames.size() > m_streamFrame)
        if (const int r = rollback(); r && !rc)
            rc = r;
    return rc;
}

}  // namespace srk
