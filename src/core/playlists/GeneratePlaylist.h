#pragma once

#include "playlists/PlaylistRandom.h"
#include "playlists/PlaylistWeighting.h"

#include <QString>

namespace srk {

class TableAccess;

// What the user asked the generator for.
struct PlaylistRequest {
    int size = 0;           // lines wanted, 0-99
    qint64 startDate = 0;   // lowest release date kept; 0 for no lower bound
    qint64 endDate = 0;     // highest release date kept; 0 for no upper bound
    QString category;       // category name; blank for all
    PlaylistWeighting weighting = PlaylistWeighting::None;
};

// What a run did.
struct PlaylistOutcome {
    enum Status {
        Generated,        // the playlist was made (its header and lines may have met add errors, shown)
        NoSongs,          // the song table is empty: shown, nothing added
        UnknownCategory,  // the named category does not exist: nothing added (the caller says so)
        NotWritten,       // the files could not be written at all: shown, nothing added
    };
    Status status = NotWritten;
    qint64 playlistId = 0;
    QString description;
    bool headerAdded = false;
    int linesAdded = 0;   // lines written
    int draws = 0;        // record numbers drawn
    int holes = 0;        // draws that found no song
};

// The most draws one run makes, however few songs pass.
constexpr int kMostPlaylistDraws = 1001;

// Adds a new playlist "Play List #n" under the next free number and description, then draws songs by
// record number until it holds the size asked for or the draws run out. Songs are read by their record
// number, one keyed read per draw. A draw that finds no song (a deleted song's hole) is used up and adds
// nothing. today is the day number the release weightings and the playlist's edit date go by.
PlaylistOutcome GeneratePlaylist(TableAccess& access, const PlaylistRequest& request, PlaylistRandom& random,
                                 qint32 today);

// The description of the playlist numbered number.
QString generatedPlaylistDescription(qint64 number);

}  // namespace srk
