// The playlist editor on a catalogue, offscreen, with a playlist of 1,000 lines (added to the
// catalogue): opening the form, a song dropped on the lines, the last line moved to the top, the first
// line deleted with the lines after it renumbered, and the chart roll-over (through its button and
// as the job alone).
//
//   QT_QPA_PLATFORM=offscreen ui_playlist_bench --folder DIR [--runs N]
//
// The run adds a playlist and changes its lines: use a copy of a catalogue. Make one first:
//   sonorika-cli --data DIR generate --songs 1000000 --albums 100000

#include "BenchFigure.h"
#include "BenchSupport.h"
#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "jobs/JobRunner.h"
#include "playlists/PlaylistLines.h"
#include "playlists/ThisWeekToLastWeek.h"
#include "store/Store.h"
#include "store/Table.h"
#include "ui/playlists/PlaylistLineList.h"
#include "ui/playlists/UpdatePlaylist.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/PageModel.h"
#include "ui/shell/MainFrame.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTimer>

#include <cstdio>

using namespace srk;
using srk::bench::Figure;
using srk::bench::timed;

namespace {

constexpr int kLines = 1000;

// A new playlist after the highest one, with kLines lines naming songs spread over the catalogue.
bool addPlaylist(ProgramContext& context, Record& playlist) {
    TableAccess& access = *context.access;
    TableUse use(access);
    if (!use.open(playlistMasterTable()) || !use.open(playlistDetailsTable()) || !use.open(songsTable()))
        return false;
    Store& store = *context.store;
    Table playlists(store, playlistMasterTable());
    QVector<Record> last;
    if (playlists.fetch(PLD::KeyPlaylistID, KeyAnchor::end(), false, 1, last))
        return false;
    const qint64 id = last.isEmpty() ? 1 : last.first().number(PLD::PlaylistID) + 1;
    playlist = Record(playlistMasterTable());
    playlist.setNumber(PLD::PlaylistID, id);
    playlist.setText(PLD::PlaylistDescription, QStringLiteral("Bench chart %1").arg(id));
    if (playlists.add(playlist))
        return false;
    const qint64 songs = Table(store, songsTable()).records();
    QRandomGenerator random(7);
    Table lines(store, playlistDetailsTable());
    store.stream();
    for (int seq = 1; seq <= kLines; ++seq) {
        Record line(playlistDetailsTable());
        line.setNumber(PLA::PlaylistID, id);
        line.setNumber(PLA::PlaylistSeq, seq);
        line.setNumber(PLA::ID, 1 + qint64(random.bounded(quint32(std::max<qint64>(songs, 1)))));
        if (lines.add(line))
            return false;
    }
    return store.flush() == NoError;
}

} // namespace

int main(int argc, char** argv) {
    bench::WindowBenchApp app(argc, argv);
    bench::CatalogueOptions options;
    if (!bench::readCatalogueOptions(app.arguments(), "ui_playlist_bench", 10, options))
        return 2;
    const int runs = options.runs;
    bench::BenchProgram program(options.folder);
    if (!program.startSized())
        return 1;
    MainFrame& frame = program.frame();
    ScriptedMessages& messages = program.messages();
    ProgramContext& context = program.context();
    const qint64 songCount = Table(*context.store, songsTable()).records();
    std::printf("catalogue: %lld songs\n", songCount);
    Record playlist;
    if (!addPlaylist(context, playlist)) {
        std::fprintf(stderr, "the playlist could not be added\n");
        return 1;
    }
    std::printf("playlist %lld with %d lines\n", playlist.number(PLD::PlaylistID), kLines);

    Figure open, drop, toTop, deleteRenumber, chartButton, chartJob, appendOnly, total;
    bool failed = false;
    for (int run = 0; run < runs && !failed; ++run) {
        Record current = playlist;
        QElapsedTimer t;
        double shown = -1;
        // Runs inside the form's own loop once it is up and every pending event is handled.
        QTimer::singleShot(0, &frame, [&] {
            QApplication::processEvents();
            auto* form = qobject_cast<UpdatePlaylist*>(ModalWindows::instance().innermost());
            if (!form || form->lines()->model()->rowCount() == 0) {
                failed = true;
                return;
            }
            shown = double(t.nsecsElapsed()) / 1e6;
            PlaylistLineList* lines = form->lines();
            using A = PlaylistLineList::Action;
            drop.add(timed([&] { lines->dropSong(1 + run); }));
            lines->model()->bottom();
            toTop.add(timed([&] { lines->press(A::MoveTop); }));
            if (lines->highlightedLine().number(PLA::PlaylistSeq) != 1)
                failed = true;
            lines->model()->top();
            messages.addAnswer(ButtonOk);
            deleteRenumber.add(timed([&] { lines->press(A::Delete); }));
            messages.addAnswer(ButtonOk);
            chartButton.add(timed([&] { lines->press(A::Chart); }));
            form->reject();
        });
        t.start();
        UpdatePlaylist::run(context, WindowRequest::Change, current, &frame);
        if (shown < 0)
            failed = true;
        else
            open.add(shown);
        ThisWeekToLastWeek job(*context.access, playlist.number(PLD::PlaylistID));
        chartJob.add(timed([&] { runToEnd(job); }));
        // The parts of a drop: the line written, the total read again.
        {
            TableUse use(*context.access);
            use.open(playlistDetailsTable());
            use.open(songsTable());
            Record line;
            appendOnly.add(timed([&] { PlaylistLines::append(*context.access, playlist.number(PLD::PlaylistID), 5, line); }));
            double sum = 0;
            total.add(timed([&] { PlaylistLines::totalTime(*context.store, playlist.number(PLD::PlaylistID), sum); }));
        }
    }
    if (failed) {
        std::fprintf(stderr, "the form did not open with its lines, or a move went wrong\n");
        return 1;
    }
    open.print("UpdatePlaylist open, 1000 lines");
    drop.print("drop a song on the lines");
    toTop.print("move the last line to the top");
    deleteRenumber.print("delete line 1 and renumber the rest");
    chartButton.print("Chart button (question, progress window)");
    chartJob.print("chart roll-over job alone");
    appendOnly.print("  drop part: the line added");
    total.print("  drop part: the total time read");
    return 0;
}
