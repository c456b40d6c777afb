#pragma once

#include "store/Record.h"

#include <QString>

namespace srk {

class TableAccess;

// A song dragged onto an album's song list. The album gets a song of its own: a copy of the dropped
// song under a new id (the dragged song keeps its album), unless no free id turns up, in which case
// the dropped song itself moves to the album.
class DropSongOnAlbum {
public:
    enum class Outcome { NotFound, Copied, Moved, Failed };

    struct Result {
        Outcome outcome = Outcome::NotFound;
        Record song;  // the song as it now belongs to the album
        QString errorText;
    };

    // Candidates tried before giving up and keeping the dropped id; after the first 50 the search
    // takes bigger steps.
    static constexpr int kMaxTries = 100;
    static constexpr int kSmallSteps = 50;

    // Shows "Error updating song database - " on a failure; a song that is not there does nothing.
    static Result run(TableAccess& access, qint64 songId, qint64 albumId);

    // The id a copy would get: from records + 1 upwards past taken ones; `droppedId` when none turned up
    // (or a read failed, then `rc` is its error).
    static qint64 newSongId(TableAccess& access, qint64 droppedId, int& rc);
};

}  // namespace srk
