// Cascade figures on a catalogue: a medium renamed through the media update routine carries the new name
// to every song holding it (one set statement per relation step, in slices for the progress window),
// then renamed back, so the catalogue ends as it began. Also a case-only rename, and the delete
// restriction that refuses to remove a medium in use. The worst slice is how long the frame would wait.
// Then an album of 30 songs is added and deleted through the album's delete routine, once refused by a
// playlist line on a song reached only through its file number, once done; songs of another album
// sharing that file number stay and are cleared away afterwards.
//
//   cascade_bench --folder DIR [--medium CD] [--rounds R] [--albums-only]
//
// Make a catalogue first: sonorika-cli --data DIR generate --songs 1000000 --albums 100000

#include "BenchFigure.h"
#include "access/RecordRoutines.h"
#include "access/ScriptedMessages.h"
#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "store/Store.h"
#include "store/Table.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

#include <sqlite3.h>

using namespace srk;
using srk::bench::Figure;

namespace {

// Drives the job as the progress window does, one slice per call, and times each slice.
class TimingRunner : public JobRunner {
public:
    bool run(Job& job, const QString&, const QString&) override {
        ++windows;
        for (;;) {
            QElapsedTimer t;
            t.start();
            const bool more = job.step();
            slice.add(double(t.nsecsElapsed()) / 1e6);
            if (!more)
                break;
        }
        return !job.cancelled();
    }
    Figure slice;
    int windows = 0;
};

qint64 songsHolding(Store& store, const QString& medium) {
    // Counted by the engine through the key, not read.
    sqlite3_stmt* stmt = store.statement("SELECT count(*) FROM \"srkdata\".records WHERE \"Media\" = ?");
    Table::bindValue(stmt, 1, medium);
    const qint64 n = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : -1;
    sqlite3_reset(stmt);
    return n;
}

bool rename(TableAccess& access, Record& medium, const QString& to, Figure& figure) {
    const Record original = medium;
    medium.setText(MED::Media, to);
    QElapsedTimer t;
    t.start();
    const RoutineResult rc = updateRecord(access, mediaTable(), medium, original, true);
    figure.add(double(t.nsecsElapsed()) / 1e6);
    return rc == RoutineResult::Done;
}

// An album with 30 songs to delete: 20 linked and filed under its number, 5 linked and filed elsewhere,
// 5 unlinked under its number; and 3 songs of another album under the same number, which must stay.
bool addBenchAlbum(Store& store, int round, Record& album) {
    const QString fileNumber = QStringLiteral("BENCH-DEL-%1").arg(round);
    album = Record(albumTable());
    album.setNumber(ALB::AlbumID, 2000000000 + round);
    album.setText(ALB::Album, QStringLiteral("Bench Delete %1").arg(round));
    album.setText(ALB::Artist, QStringLiteral("Bench"));
    album.setText(ALB::FileNumber, fileNumber);
    album.setText(ALB::Media, QStringLiteral("CD"));
    if (store.stream() != NoError)
        return false;
    bool ok = Table(store, albumTable()).add(album) == NoError;
    Table songs(store, songsTable());
    for (int i = 0; i < 33 && ok; ++i) {
        Record r(songsTable());
        r.setNumber(SON::ID, 2000000000 - round * 100 - i);
        r.setText(SON::Title, QStringLiteral("Bench Song %1").arg(i));
        r.setText(SON::Media, QStringLiteral("CD"));
        r.setText(SON::FileNumber, i >= 20 && i < 25 ? fileNumber + QStringLiteral("-B") : fileNumber);
        r.setNumber(SON::AlbumID, i < 25 ? album.number(ALB::AlbumID) : i < 30 ? 0 : 1999999999);
        r.setNumber(SON::TrackNumber, i + 1);
        ok = songs.add(r) == NoError;
    }
    return store.flush() == NoError && ok;
}

qint64 songsFiledUnder(Store& store, const QString& fileNumber) {
    sqlite3_stmt* stmt = store.statement("SELECT count(*) FROM \"srkdata\".records WHERE \"FileNumber\" = ?");
    Table::bindValue(stmt, 1, fileNumber);
    const qint64 n = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : -1;
    sqlite3_reset(stmt);
    return n;
}

// Times the album deletes; returns the checks that failed.
int benchAlbumDelete(Store& store, TableAccess& access, int rounds) {
    Figure refusedF, deleteF;
    int failures = 0;
    const qint64 before = Table(store, songsTable()).records();
    for (int round = 0; round < rounds; ++round) {
        Record album;
        if (!addBenchAlbum(store, round, album)) {
            std::fprintf(stderr, "cannot add the bench album: %s\n", qPrintable(store.lastError().displayText()));
            return failures + 1;
        }
        const QString fileNumber = album.text(ALB::FileNumber);
        Record line(playlistDetailsTable());
        line.setNumber(PLA::PlaylistID, 2000000000);
        line.setNumber(PLA::PlaylistSeq, round + 1);
        line.setNumber(PLA::ID, 2000000000 - round * 100 - 27);  // unlinked, reached by file number only
        Table lines(store, playlistDetailsTable());
        failures += lines.add(line) != NoError;
        QElapsedTimer t;
        t.start();
        failures += deleteRecord(access, albumTable(), album) != RoutineResult::Failed;
        refusedF.add(double(t.nsecsElapsed()) / 1e6);
        failures += songsFiledUnder(store, fileNumber) != 28;
        failures += lines.remove(line) != NoError;

        t.start();
        failures += deleteRecord(access, albumTable(), album) != RoutineResult::Done;
        deleteF.add(double(t.nsecsElapsed()) / 1e6);
        failures += songsFiledUnder(store, fileNumber) != 3;
        failures += songsFiledUnder(store, fileNumber + QStringLiteral("-B")) != 0;
        // The other album's songs stayed; clear them so the catalogue ends as it began.
        sqlite3_stmt* clear = store.statement("DELETE FROM \"srkdata\".records WHERE \"FileNumber\" = ?");
        Table::bindValue(clear, 1, fileNumber);
        failures += sqlite3_step(clear) != SQLITE_DONE;
        sqlite3_reset(clear);
    }
    failures += Table(store, songsTable()).records() != before;
    refusedF.print("album delete refused (30 songs, playlist)");
    deleteF.print("album delete (30 songs)");
    return failures;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString folder;
    QString name = QStringLiteral("CD");
    int rounds = 3;
    bool albumsOnly = false;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i)
        if (args[i] == QLatin1String("--albums-only"))
            albumsOnly = true;
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--folder"))
            folder = args[i + 1];
        else if (args[i] == QLatin1String("--medium"))
            name = args[i + 1];
        else if (args[i] == QLatin1String("--rounds"))
            rounds = qMax(1, args[i + 1].toInt());
    }
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        std::fprintf(stderr, "usage: cascade_bench --folder DIR [--medium CD] [--rounds R] [--albums-only]\n");
        return 2;
    }
    Store store(folder);
    ScriptedMessages messages;
    TableAccess access(store, messages);
    TimingRunner runner;
    access.setJobRunner(&runner);
    for (const TableDef* def : catalogTables())
        if (!access.openTable(*def).ok()) {
            std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(def->label),
                         qPrintable(store.lastError().displayText()));
            return 1;
        }
    if (albumsOnly) {
        std::printf("%lld songs\n", Table(store, songsTable()).records());
        const int failures = benchAlbumDelete(store, access, rounds);
        if (failures)
            std::printf("%d checks failed; last message: %s\n", failures,
                        messages.count() ? qPrintable(messages.last().text) : "none");
        return failures ? 1 : 0;
    }
    Table media(store, mediaTable());
    Record medium(mediaTable());
    medium.setText(MED::Media, name);
    if (media.get(MED::KeyMedia, medium) != NoError) {
        std::fprintf(stderr, "no medium \"%s\" in the catalogue\n", qPrintable(name));
        return 1;
    }
    const qint64 holding = songsHolding(store, name);
    std::printf("%lld songs, %lld of them on \"%s\"\n", Table(store, songsTable()).records(), holding,
                qPrintable(name));

    Figure renameF, backF, caseF, refuseF;
    int failures = 0;
    const QString renamed = QStringLiteral("Compact Disc Audio");
    for (int round = 0; round < rounds; ++round) {
        failures += !rename(access, medium, renamed, renameF);
        failures += songsHolding(store, renamed) != holding;
        failures += !rename(access, medium, name, backF);
        // Letter case only: the songs still match the key while they are renamed.
        failures += !rename(access, medium, name.toLower(), caseF);
        failures += !rename(access, medium, name, caseF);
        failures += songsHolding(store, name) != holding;

        QElapsedTimer t;
        t.start();
        failures += deleteRecord(access, mediaTable(), medium) != RoutineResult::Failed;
        refuseF.add(double(t.nsecsElapsed()) / 1e6);
    }
    renameF.print("rename (songs follow)");
    backF.print("rename back");
    caseF.print("rename in other letter case");
    refuseF.print("delete refused (restriction)");
    failures += benchAlbumDelete(store, access, rounds);
    runner.slice.print("one slice (the frame's longest wait)");
    std::printf("progress windows: %d\n", runner.windows);
    if (failures)
        std::printf("%d checks failed; last message: %s\n", failures,
                    messages.count() ? qPrintable(messages.last().text) : "none");
    return failures ? 1 : 0;
}
