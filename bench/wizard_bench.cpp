// Add-album wizard figures on a catalogue: the commit of a 99-track wizard (album, 99 songs, rows
// taken away) and the move of the last of 99 rows to the top. The songs and albums added are removed
// again after each round (not timed), so the catalogue ends as it began.
//
//   wizard_bench --folder DIR [--rounds R]
//
// Make a catalogue first: sonorika-cli --data DIR generate --songs 1000000 --albums 100000

#include "BenchFigure.h"
#include "access/ScriptedMessages.h"
#include "access/SequenceMove.h"
#include "access/TableAccess.h"
#include "albums/AddWizardRows.h"
#include "albums/AlbumWizardCommit.h"
#include "catalog/Tables.h"
#include "songs/NewSong.h"
#include "store/Store.h"
#include "store/Table.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

using namespace srk;
using srk::bench::Figure;

namespace {

constexpr qint64 kInstance = 987654;
constexpr int kTracks = 99;

void addRows(Store& store) {
    Table rows(store, addWizardTable());
    store.stream();
    for (int t = 1; t <= kTracks; ++t) {
        Record r(addWizardTable());
        r.setNumber(AW::Instance, kInstance);
        r.setNumber(AW::Track, t);
        r.setText(AW::Title, QStringLiteral("Bench track %1").arg(t));
        r.setNumber(AW::Time, (180 + t) * 100 + 1);
        rows.add(r);
    }
    store.flush();
}

void removeRows(Store& store) {
    QVector<Record> rows;
    readAddWizardRows(store, kInstance, rows);
    Table table(store, addWizardTable());
    store.stream();
    for (const Record& r : rows)
        table.remove(r);
    store.flush();
}

// Takes away the songs numbered from `first` on and the album.
void removeAdded(Store& store, qint64 first, qint64 albumId) {
    Table songs(store, songsTable());
    Record probe(songsTable());
    probe.setNumber(SON::ID, first);
    QVector<Record> added;
    songs.fetch(SON::KeyID, KeyAnchor::at(probe, SON::KeyID), true, 1000, added);
    store.stream();
    for (const Record& s : added)
        songs.remove(s);
    Table albums(store, albumTable());
    Record album(albumTable());
    album.setNumber(ALB::AlbumID, albumId);
    if (albumId && albums.get(ALB::KeyAlbumID, album) == NoError)
        albums.remove(album);
    store.flush();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString folder;
    int rounds = 5;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QStringLiteral("--folder"))
            folder = args[++i];
        else if (args[i] == QStringLiteral("--rounds"))
            rounds = args[++i].toInt();
    }
    if (folder.isEmpty()) {
        std::fprintf(stderr, "usage: wizard_bench --folder DIR [--rounds R]\n");
        return 2;
    }
    Store store(folder);
    ScriptedMessages messages;
    TableAccess access(store, messages);
    for (const TableDef* def : {&songsTable(), &albumTable(), &addWizardTable(), &categoriesTable(), &mediaTable()})
        if (!access.openTable(*def).ok()) {
            std::fprintf(stderr, "cannot open %s\n", qPrintable(def->label));
            return 1;
        }
    std::printf("songs in catalogue: %lld\n", Table(store, songsTable()).records());

    Figure commitFigure, moveFigure;
    for (int round = 0; round < rounds; ++round) {
        addRows(store);
        QVector<Record> rows;
        readAddWizardRows(store, kInstance, rows);
        Record last = rows.last();
        QElapsedTimer t;
        t.start();
        moveInSequence(access, addWizardSequence(), last, SequenceMove::ToTop);
        moveFigure.add(double(t.nsecsElapsed()) / 1e6);

        Record header(songsTable());
        header.setText(SON::Artist, QStringLiteral("Bench Artist"));
        header.setText(SON::Album, QStringLiteral("Bench Album %1").arg(round));
        if (primeSong(access, header) != PrimeStatus::Primed) {
            std::fprintf(stderr, "priming failed\n");
            return 1;
        }
        AlbumWizardCommit c;
        c.header = header;
        c.album = Record(albumTable());
        c.instance = kInstance;
        t.restart();
        const AlbumWizardOutcome out = commitAlbumWizard(access, c);
        commitFigure.add(double(t.nsecsElapsed()) / 1e6);
        if (out.songsAdded != kTracks || messages.count() != 0) {
            std::fprintf(stderr, "commit added %d of %d songs, %d messages\n", out.songsAdded, kTracks,
                         messages.count());
            return 1;
        }
        cancelPrimed(access, songsTable(), header);
        removeAdded(store, header.number(SON::ID) + 1, out.albumId);
        removeRows(store);
    }
    moveFigure.print("sequence move to the top, 99 rows");
    commitFigure.print("wizard commit, 99 tracks");
    return 0;
}
