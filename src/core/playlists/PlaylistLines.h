#pragma once

#include "access/SequenceMove.h"
#include "store/Record.h"

namespace srk {

class Store;
class TableAccess;

// The lines of one playlist: numbered 1, 2, 3, ... by PLA:PlaylistSeq within PLA:PlaylistID. Every
// operation reads only the lines of that playlist through PLA:KeyPlaylistID.
class PlaylistLines {
public:
    // Adds before asking the user again after this many failed adds.
    static constexpr int kAttempts = 3;

    // The lines as the shared sequence moves see them.
    static const SequenceTable& sequenceTable();

    // The highest sequence of the playlist (0 when it has no lines). 0 or the read error.
    static int lastSequence(Store& store, qint64 playlistId, qint64& sequence);

    // A song dropped on the playlist: a new line after the last one. A failing add is tried again;
    // after three failures message 25 offers Retry, and Cancel gives up. true when added (line holds it).
    static bool append(TableAccess& access, qint64 playlistId, qint64 songId, Record& line);

    // Moves a line (just added at the end) up until it follows the line numbered `after`, each line it
    // passes moving down one place. Nothing moves when it already is there.
    static bool placeAfter(TableAccess& access, Record& line, qint64 after);

    // One of the four moves; line follows to its new number.
    static bool move(TableAccess& access, Record& line, SequenceMove how);

    // After the line numbered `deleted` went: the lines above it take deleted, deleted + 1, ... in
    // order, so no gap is left. Written in one stream; a failing write shows the swap error with step
    // "Put Upd Seq" and the run goes on. false when anything failed.
    static bool closeGap(TableAccess& access, qint64 playlistId, qint64 deleted);

    // How many lines the playlist has. 0 or the read error.
    static int lineCount(Store& store, qint64 playlistId, qint64& count);

    // Sum of the songs' times over the lines (lines whose song is gone add nothing). 0 or the error.
    static int totalTime(Store& store, qint64 playlistId, double& total);
};

}  // namespace srk
