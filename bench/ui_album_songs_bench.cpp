// The album's song list on a catalogue, offscreen: opening it on a 30-song album to its first page,
// reading it again, a song dropped on it (the search for a new song id counts the song file), and
// linking the songs of the album's medium and file number.
//
//   QT_QPA_PLATFORM=offscreen ui_album_songs_bench --folder DIR [--runs N] [--album ID]
//
// It writes to the catalogue (dropped songs are added to the album). Make one first:
//   sonorika-cli --data DIR generate --songs 1000000 --albums 100000

#include "BenchFigure.h"
#include "access/ScriptedMessages.h"
#include "access/TableAccess.h"
#include "albums/AssignByFileNumber.h"
#include "albums/DropSongOnAlbum.h"
#include "catalog/Tables.h"
#include "query/QueryFunctions.h"
#include "store/Store.h"
#include "store/Table.h"
#include "ui/albums/AlbumSongList.h"
#include "ui/services/PageModel.h"
#include "ui/shell/Program.h"
#include "ui/ProgramContext.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

using namespace srk;
using srk::bench::Figure;
using srk::bench::timed;

namespace {

qint64 songsOf(Store& store, qint64 albumId) {
    Table songs(store, songsTable());
    Record first(songsTable());
    first.setNumber(SON::AlbumID, albumId);
    KeyAnchor anchor = KeyAnchor::at(first, SON::KeyAlbumID);
    anchor.row = 0;
    QVector<Record> rows;
    songs.fetch(SON::KeyAlbumID, anchor, true, 1000, SqlCondition{QStringLiteral("AlbumID = ?"), {albumId}}, rows);
    return rows.size();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Store::addConnectionHook(&registerQueryFunctions);
    QString folder;
    int runs = 10;
    qint64 albumId = 50000;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--folder"))
            folder = args[i + 1];
        else if (args[i] == QLatin1String("--runs"))
            runs = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--album"))
            albumId = args[i + 1].toLongLong();
    }
    if (folder.isEmpty()) {
        std::fprintf(stderr, "usage: ui_album_songs_bench --folder DIR [--runs N] [--album ID]\n");
        return 2;
    }
    QTemporaryDir config;
    ScriptedMessages messages;
    Program program({folder, config.path(), &messages, false, false});
    if (!program.start()) {
        std::fprintf(stderr, "start failed: %s\n", qPrintable(program.stopText()));
        return 1;
    }
    ProgramContext& context = program.context();
    Store& store = *context.store;
    TableAccess& access = *context.access;
    if (!access.openTable(songsTable()).ok() || !access.openTable(albumTable()).ok()) {
        std::fprintf(stderr, "the catalogue cannot be opened\n");
        return 1;
    }
    Record album(albumTable());
    album.setNumber(ALB::AlbumID, albumId);
    if (Table(store, albumTable()).get(ALB::KeyAlbumID, album) != NoError) {
        std::fprintf(stderr, "no album %lld\n", albumId);
        return 1;
    }
    const qint64 catalogue = Table(store, songsTable()).records();
    std::printf("catalogue: %lld songs; album %lld has %lld songs\n", catalogue, albumId, songsOf(store, albumId));

    // Songs dropped on the album until it has 30: each a copy under a new id.
    Figure drop;
    qint64 source = 1;
    while (songsOf(store, albumId) < 30) {
        const DropSongOnAlbum::Result r = [&] {
            DropSongOnAlbum::Result out;
            drop.add(timed([&] { out = DropSongOnAlbum::run(access, source++, albumId); }));
            return out;
        }();
        if (r.outcome == DropSongOnAlbum::Outcome::Failed) {
            std::fprintf(stderr, "a drop failed: %s\n", qPrintable(r.errorText));
            return 1;
        }
    }
    if (drop.runs)
        drop.print("drop a song on the album (copy, new id)");
    std::printf("album %lld now has %lld songs\n", albumId, songsOf(store, albumId));

    QWidget host;
    host.resize(900, 500);
    host.show();
    Figure open, rebuild;
    for (int run = 0; run < runs; ++run) {
        std::unique_ptr<AlbumSongList> list;
        open.add(timed([&] {
            list = std::make_unique<AlbumSongList>(context, [album] { return album; }, &host);
            list->resize(880, 480);
            list->show();
            QApplication::processEvents();
        }));
        if (list->model()->rowCount() == 0) {
            std::fprintf(stderr, "the list is empty\n");
            return 1;
        }
        rebuild.add(timed([&] { list->rebuild(); }));
        list->release();
    }
    open.print("open the album song list to its first page");
    rebuild.print("read the list again (rebuild)");

    Figure assign;
    for (int run = 0; run < runs; ++run) {
        messages.clear();
        assign.add(timed([&] { AssignByFileNumber::run(access, album); }));
    }
    std::printf("assign by medium and file number: \"%s\"\n", qPrintable(messages.last().text));
    assign.print("assign by medium and file number");
    return 0;
}
