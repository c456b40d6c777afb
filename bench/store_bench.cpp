// Record store figures on a generated catalogue: generation speed, page reads on every song key,
// record counts, and our bulk insert against raw engine inserts of the same rows.
//
//   store_bench [--songs N] [--albums M] [--folder DIR]
//
// Without --folder a temporary folder is used and removed afterwards.

#include "catalog/Tables.h"
#include "maintenance/SyntheticCatalog.h"
#include "query/QueryFunctions.h"
#include "store/FoldCollation.h"
#include "store/Store.h"
#include "store/Table.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <random>

using namespace srk;

namespace {

double ms(qint64 ns) { return double(ns) / 1e6; }

bool createCatalog(Store& store) {
    for (const TableDef* def : catalogTables()) {
        if (!QFileInfo::exists(store.filePath(*def)) && store.createFile(*def) != NoError)
            return false;
        if (store.openFile(*def) != NoError)
            return false;
    }
    Table media(store, mediaTable());
    if (media.records() == 0)
        for (const QString& name : defaultMedia()) {
            Record m = media.newRecord();
            m.setText(MED::Media, name);
            media.add(m);
        }
    return true;
}

double insertOurs(const QString& folder, const QVector<Record>& rows) {
    Store store(folder);
    store.connect();
    store.createFile(songsTable());
    store.openFile(songsTable());
    store.setCacheMegabytes(512);
    Table songs(store, songsTable());
    QElapsedTimer t;
    t.start();
    store.stream();
    for (Record r : rows)
        songs.add(r);
    store.flush();
    return ms(t.nsecsElapsed());
}

double insertRaw(const QString& folder, const QVector<Record>& rows) {
    sqlite3* db = nullptr;
    sqlite3_open(QDir(folder).filePath(QStringLiteral("raw.sdb")).toUtf8().constData(), &db);
    registerFoldCollation(db);
    sqlite3_exec(db, "PRAGMA journal_mode=DELETE; PRAGMA cache_size=-524288", nullptr, nullptr, nullptr);
    for (const QString& sql : Store::layoutSql(songsTable(), QStringLiteral("main")))
        sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    const TableDef& def = songsTable();
    QStringList cols, marks;
    for (const FieldDef& f : def.fields) {
        cols << QLatin1Char('"') + f.name + QLatin1Char('"');
        marks << QStringLiteral("?");
    }
    const QByteArray sql =
        QStringLiteral("INSERT INTO records(%1) VALUES(%2)").arg(cols.join(QLatin1Char(',')), marks.join(QLatin1Char(','))).toUtf8();
    QElapsedTimer t;
    t.start();
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (const Record& r : rows) {
        for (int i = 0; i < def.fields.size(); ++i) {
            if (isTextKind(def.fields[i].kind)) {
                const QByteArray text = r.text(i).toUtf8();
                sqlite3_bind_text(stmt, i + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            } else {
                sqlite3_bind_int64(stmt, i + 1, r.number(i));
            }
        }
        sqlite3_step(stmt);
        sqlite3_reset(stmt);
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_finalize(stmt);
    const double elapsed = ms(t.nsecsElapsed());
    sqlite3_close(db);
    return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    Store::addConnectionHook(&registerQueryFunctions);
    qint64 songs = 1000000, albums = 100000;
    QString folderArg;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--songs"))
            songs = args[i + 1].toLongLong();
        else if (args[i] == QLatin1String("--albums"))
            albums = args[i + 1].toLongLong();
        else if (args[i] == QLatin1String("--folder"))
            folderArg = args[i + 1];
    }
    QTemporaryDir temp(QDir::tempPath() + QStringLiteral("/sonorika-bench-XXXXXX"));
    const QString folder = folderArg.isEmpty() ? temp.path() : folderArg;
    QDir().mkpath(folder);

    Store store(folder);
    if (!store.connect() || !createCatalog(store)) {
        std::fprintf(stderr, "cannot create the catalogue in %s: %s\n", qPrintable(folder),
                     qPrintable(store.lastError().displayText()));
        return 1;
    }
    Table songTable(store, songsTable());
    if (songTable.records() == 0) {
        SyntheticCatalog job(store, {songs, albums, 1997});
        QElapsedTimer t;
        t.start();
        while (job.step()) {
        }
        if (!job.errorText().isEmpty()) {
            std::fprintf(stderr, "generation failed: %s\n", qPrintable(job.errorText()));
            return 1;
        }
        const double s = double(t.nsecsElapsed()) / 1e9;
        std::printf("generate: %lld songs, %lld albums in %.2f s = %.0f songs/s\n", job.songsWritten(),
                    job.albumsWritten(), s, double(job.songsWritten()) / s);
    }

    QElapsedTimer t;
    t.start();
    qint64 count = 0;
    for (int i = 0; i < 5; ++i)
        count = songTable.records();
    std::printf("records: %lld songs, %.2f ms per count\n", count, ms(t.nsecsElapsed()) / 5);

    // A page of 30 forward and backward from a random record's key value, on every song key.
    std::mt19937_64 random(42);
    Record last = songTable.newRecord();
    songTable.setEnd(-1);
    songTable.previous(last);
    const qint64 maxRow = last.rowId();
    const int trials = 50;
    for (int key = 0; key < songsTable().keys.size(); ++key) {
        // The first read of a key prepares its statements; a browse pays that once when it opens.
        QElapsedTimer first;
        first.start();
        {
            QVector<Record> page;
            Record probe = songTable.newRecord();
            songTable.getByPosition(QString::number(1 + qint64(random() % quint64(maxRow))), probe);
            songTable.fetch(key, KeyAnchor::at(probe, key), true, 30, page);
            songTable.fetch(key, KeyAnchor::at(probe, key), false, 30, page);
        }
        const double firstMs = ms(first.nsecsElapsed());
        double worstF = 0, worstB = 0, sumF = 0, sumB = 0;
        for (int i = 0; i < trials; ++i) {
            Record probe = songTable.newRecord();
            if (songTable.getByPosition(QString::number(1 + qint64(random() % quint64(maxRow))), probe) != NoError)
                continue;
            QVector<Record> page;
            QElapsedTimer pt;
            pt.start();
            songTable.fetch(key, KeyAnchor::at(probe, key), true, 30, page);
            const double f = ms(pt.nsecsElapsed());
            page.clear();
            pt.restart();
            songTable.fetch(key, KeyAnchor::at(probe, key), false, 30, page);
            const double b = ms(pt.nsecsElapsed());
            worstF = std::max(worstF, f);
            worstB = std::max(worstB, b);
            sumF += f;
            sumB += b;
        }
        std::printf("page of 30 on %-28s forward mean %.3f ms max %.3f ms, backward mean %.3f ms max %.3f ms"
                    " (first use of the key, both ways: %.2f ms)\n",
                    qPrintable(songsTable().qualifiedKeyName(key)), sumF / trials, worstF, sumB / trials, worstB,
                    firstMs);
    }

    // Bulk insert: our layer against raw engine inserts of the same rows and indexes.
    const int bulk = int(std::min<qint64>(count, 200000));
    QVector<Record> rows;
    songTable.fetch(-1, KeyAnchor::start(), true, bulk, rows);
    QTemporaryDir oursDir, rawDir;
    double ours = 1e18, raw = 1e18;
    for (int round = 0; round < 2; ++round) {
        QDir(rawDir.path()).removeRecursively();
        QDir().mkpath(rawDir.path());
        raw = std::min(raw, insertRaw(rawDir.path(), rows));
        QDir(oursDir.path()).removeRecursively();
        QDir().mkpath(oursDir.path());
        ours = std::min(ours, insertOurs(oursDir.path(), rows));
    }
    std::printf("bulk insert of %d songs: ours %.0f ms, raw engine %.0f ms, ratio %.2f\n", int(rows.size()), ours, raw,
                ours / raw);
    return 0;
}
