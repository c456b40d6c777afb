#include "maintenance/CatalogCheck.h"

#include "catalog/Tables.h"
#include "store/Store.h"
#include "store/Table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <sqlite3.h>

namespace srk {

namespace {

// The store's anchor file, beside the table files.
constexpr auto kAnchorFile = "srkstore.sdb";
constexpr auto kAnchorSchema = "anchor_check";

QString engineText(sqlite3* db) { return QString::fromUtf8(sqlite3_errmsg(db)); }

// Runs the engine's integrity check on an attached schema; every line that is not "ok" is a problem.
void integrityCheck(sqlite3* db, const QString& schema, QStringList& problems) {
    const QByteArray sql = QStringLiteral("PRAGMA \"%1\".integrity_check(50)").arg(schema).toUtf8();
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr) == SQLITE_OK) {
        int step;
        while ((step = sqlite3_step(stmt)) == SQLITE_ROW) {
            const QString line = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
            if (line != QLatin1String("ok"))
                problems << line;
        }
        if (step != SQLITE_DONE)
            problems << engineText(db);
    } else {
        problems << engineText(db);
    }
    sqlite3_finalize(stmt);
}

TableCheck checkAnchor(Store& store) {
    TableCheck check;
    check.label = QStringLiteral("Store");
    check.fileName = QDir(store.folder()).filePath(QString::fromLatin1(kAnchorFile));
    if (!QFileInfo::exists(check.fileName))
        return check;  // made by the first opening for writing
    if (!QFileInfo(check.fileName).isFile()) {
        check.problems << QStringLiteral("is not a regular file");
        return check;
    }
    {
        QFile file(check.fileName);
        if (!file.open(QIODevice::ReadOnly)) {
            check.problems << QStringLiteral("cannot be read: ") + file.errorString();
            return check;
        }
        const QByteArray head = file.read(16);
        // A brand-new anchor may still be empty; anything else must be an engine file.
        if (!head.isEmpty() && head != QByteArray("SQLite format 3\0", 16)) {
            check.problems << QStringLiteral("is damaged: not a data file of this program (Invalid Data File (36))");
            return check;
        }
    }
    sqlite3* db = store.handle();
    const QByteArray uri =
        "file:" + QUrl::fromLocalFile(check.fileName).path(QUrl::FullyEncoded).toUtf8() + "?mode=ro";
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "ATTACH DATABASE ?1 AS ?2", -1, &stmt, nullptr);
    sqlite3_bind_text(stmt, 1, uri.constData(), int(uri.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(stmt, 2, kAnchorSchema, -1, SQLITE_STATIC);
    const int rc = stmt ? sqlite3_step(stmt) : SQLITE_ERROR;
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) {
        check.problems << QStringLiteral("is damaged: ") + engineText(db);
        return check;
    }
    QStringList problems;
    integrityCheck(db, QString::fromLatin1(kAnchorSchema), problems);
    for (const QString& p : std::as_const(problems))
        check.problems << QStringLiteral("is damaged: ") + p;
    sqlite3_exec(db, "DETACH DATABASE anchor_check", nullptr, nullptr, nullptr);
    return check;
}

QString column(const TableDef& def, int field, const QString& alias) {
    return QStringLiteral("%1.\"%2\"").arg(alias, def.fields[field].name);
}

// A count over the attached files; -1 with the engine's text when it cannot be taken.
qint64 count(sqlite3* db, const QString& sql, QString& error) {
    sqlite3_stmt* stmt = nullptr;
    qint64 n = -1;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
        n = sqlite3_column_int64(stmt, 0);
    else
        error = engineText(db);
    sqlite3_finalize(stmt);
    return n;
}

// Counts the records of child whose linking field names no record of parent. Zero links are none.
void checkLink(Store& store, const TableDef& child, int childField, const TableDef& parent, int parentField,
               const QString& what, const QString& whatMissing, TableCheck& check) {
    const QString sql =
        QStringLiteral("SELECT count(*) FROM \"%1\".records c WHERE %2 <> 0 AND NOT EXISTS "
                       "(SELECT 1 FROM \"%3\".records p WHERE %4 = %2)")
            .arg(Store::schemaName(child), column(child, childField, QStringLiteral("c")), Store::schemaName(parent),
                 column(parent, parentField, QStringLiteral("p")));
    QString error;
    const qint64 n = count(store.handle(), sql, error);
    if (n < 0)
        check.problems << QStringLiteral("links to %1 cannot be read: %2").arg(store.filePath(parent), error);
    else if (n > 0)
        check.problems << QStringLiteral("%1 %2 point at %3 missing from %4")
                              .arg(n)
                              .arg(what, whatMissing, store.filePath(parent));
}

}  // namespace

QVector<TableCheck> checkCatalog(const QString& dataFolder) {
    QVector<TableCheck> result;
    Store store(dataFolder);
    store.setReadOnly(true);
    const bool connected = store.connect();
    if (connected)
        result << checkAnchor(store);
    QVector<const TableDef*> sound;
    for (const TableDef* def : catalogTables()) {
        TableCheck check;
        check.label = def->label;
        check.fileName = store.filePath(*def);
        if (!connected) {
            check.problems << store.lastError().displayText();
            result << check;
            continue;
        }
        if (Store::fileIsMissing(check.fileName)) {
            check.problems << QStringLiteral("file missing (it is created when the program opens the table)");
            result << check;
            continue;
        }
        const int rc = store.openFile(*def);
        if (rc != NoError) {
            check.problems << QStringLiteral("cannot be opened: ") + store.lastError().displayText();
            result << check;
            continue;
        }
        Table table(store, *def);
        check.records = table.records();
        check.version = store.fileVersion(*def);
        integrityCheck(store.handle(), Store::schemaName(*def), check.problems);
        if (check.problems.isEmpty())
            sound << def;
        result << check;
    }

    // Links are counted only between files that are sound themselves.
    auto entry = [&](const TableDef& def) -> TableCheck* {
        if (!sound.contains(&def))
            return nullptr;
        for (TableCheck& c : result)
            if (c.label == def.label)
                return &c;
        return nullptr;
    };
    if (TableCheck* songs = entry(songsTable()); songs && entry(albumTable()))
        checkLink(store, songsTable(), SON::AlbumID, albumTable(), ALB::AlbumID, QStringLiteral("song(s)"),
                  QStringLiteral("albums"), *songs);
    if (TableCheck* lines = entry(playlistDetailsTable())) {
        if (entry(songsTable()))
            checkLink(store, playlistDetailsTable(), PLA::ID, songsTable(), SON::ID, QStringLiteral("playlist line(s)"),
                      QStringLiteral("songs"), *lines);
        if (entry(playlistMasterTable()))
            checkLink(store, playlistDetailsTable(), PLA::PlaylistID, playlistMasterTable(), PLD::PlaylistID,
                      QStringLiteral("playlist line(s)"), QStringLiteral("playlists"), *lines);
    }
    for (const TableDef* def : catalogTables())
        store.closeFile(*def);
    return result;
}

}  // namespace srk
