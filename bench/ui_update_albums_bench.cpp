// The album form on a catalogue, offscreen: the time from the call to the form shown and idle, for an
// album with 30 songs (added to the catalogue when none has that many), then closed with Cancel.
//
//   QT_QPA_PLATFORM=offscreen ui_update_albums_bench --folder DIR [--runs N]
//
// The run may add songs: use a copy of a catalogue. Make one first:
//   sonorika-cli --data DIR generate --songs 1000000 --albums 100000

#include "BenchFigure.h"
#include "BenchSupport.h"
#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "store/Store.h"
#include "store/Table.h"
#include "ui/albums/AlbumForm.h"
#include "ui/albums/AlbumSongList.h"
#include "ui/albums/UpdateAlbums.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/PageModel.h"
#include "ui/shell/MainFrame.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>
#include <cstdio>

using namespace srk;
using srk::bench::Figure;

namespace {

constexpr int kSongs = 30;

// The album with the highest id, given kSongs songs of its own when it has fewer.
bool albumWithSongs(ProgramContext& context, Record& album) {
    TableAccess& access = *context.access;
    TableUse use(access);
    if (!use.open(albumTable()) || !use.open(songsTable()))
        return false;
    Table albums(*context.store, albumTable());
    QVector<Record> last;
    if (albums.fetch(ALB::KeyAlbumID, KeyAnchor::end(), false, 1, last) || last.isEmpty())
        return false;
    album = last.first();
    const qint64 id = album.number(ALB::AlbumID);
    Table songs(*context.store, songsTable());
    QVector<Record> lastSong;
    if (songs.fetch(SON::KeyID, KeyAnchor::end(), false, 1, lastSong))
        return false;
    qint64 next = lastSong.isEmpty() ? 1 : lastSong.first().number(SON::ID) + 1;
    QVector<Record> own;
    Record from(songsTable());
    from.setNumber(SON::AlbumID, id);
    songs.fetch(SON::KeyAlbumID, KeyAnchor::at(from, SON::KeyAlbumID), true, kSongs + 1, own);
    int have = int(std::count_if(own.begin(), own.end(), [id](const Record& s) { return s.number(SON::AlbumID) == id; }));
    for (int track = have + 1; track <= kSongs; ++track) {
        Record s(songsTable());
        s.setNumber(SON::ID, next++);
        s.setNumber(SON::AlbumID, id);
        s.setNumber(SON::TrackNumber, track);
        s.setText(SON::Artist, album.text(ALB::Artist));
        s.setText(SON::Album, album.text(ALB::Album));
        s.setText(SON::Title, QStringLiteral("Bench track %1").arg(track));
        s.setText(SON::Media, album.text(ALB::Media));
        if (songs.add(s))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    bench::WindowBenchApp app(argc, argv);
    bench::CatalogueOptions options;
    if (!bench::readCatalogueOptions(app.arguments(), "ui_update_albums_bench", 20, options))
        return 2;
    const int runs = options.runs;
    bench::BenchProgram program(options.folder, {ButtonNo});
    if (!program.startSized())
        return 1;
    MainFrame& frame = program.frame();
    ProgramContext& context = program.context();
    std::printf("catalogue: %lld songs, %lld albums\n", Table(*context.store, songsTable()).records(),
                Table(*context.store, albumTable()).records());
    Record album;
    if (!albumWithSongs(context, album)) {
        std::fprintf(stderr, "no album could be given %d songs\n", kSongs);
        return 1;
    }
    std::printf("album %lld with %d songs\n", album.number(ALB::AlbumID), kSongs);

    // From the call to the form up and idle; with songsTab, until its song list is shown as well.
    int shownRows = 0;
    auto measure = [&](bool songsTab, Figure& figure) {
        for (int run = 0; run < runs; ++run) {
            Record current = album;
            QElapsedTimer t;
            double shown = -1;
            int rows = -1;
            // Runs inside the form's own loop once it is up and every pending event is handled.
            QTimer::singleShot(0, &frame, [&] {
                QApplication::processEvents();
                auto* form = qobject_cast<AlbumForm*>(ModalWindows::instance().innermost());
                if (!form)
                    return;
                if (songsTab) {
                    form->tabs()->setCurrentIndex(1);
                    QApplication::processEvents();
                }
                shown = double(t.nsecsElapsed()) / 1e6;
                rows = form->songList()->model()->rowCount();
                form->reject();
            });
            t.start();
            UpdateAlbums::run(context, WindowRequest::Change, current, &frame);
            if (shown < 0 || (songsTab && rows <= 0)) {
                std::fprintf(stderr, "the form did not open with the album's songs\n");
                return false;
            }
            shownRows = rows;
            figure.add(shown);
        }
        return true;
    };
    Figure open, openSongs;
    if (!measure(false, open) || !measure(true, openSongs))
        return 1;
    open.print("UpdateAlbums open, 30-song album");
    openSongs.print("UpdateAlbums open to its Songs tab");
    std::printf("song rows on the first page: %d\n", shownRows);
    return 0;
}
