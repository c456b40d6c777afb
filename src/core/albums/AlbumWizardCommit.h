#pragma once

#include "store/Record.h"

#include <QString>

namespace srk {

class TableAccess;

enum class AlbumWizardKind { SingleArtist, Compilation };

struct AlbumWizardCommit {
    AlbumWizardKind kind = AlbumWizardKind::SingleArtist;
    // The primed header song: its data goes into every song, its id is where numbering starts.
    Record header;
    // Carries the disc's serial number (ALB:CDIdentifier) read into the wizard, if any.
    Record album;
    bool addAlbum = true;  // the album-adding switch
    qint64 instance = 0;   // whose rows are committed
    // An earlier commit of the same wizard already settled the album: its songs go there.
    qint64 settledAlbumId = -1;
};

struct AlbumWizardOutcome {
    qint64 albumId = 0;      // what the songs were linked to (0: none)
    bool albumAdded = false;
    int songsAdded = 0;
    int songsNotAdded = 0;   // their rows stay in the list
    bool readFailed = false; // the rows could not all be read: the ones left stay
};

// Commits a wizard: the album (switch on: added under the next number, " (Copy)" for a name taken,
// a warning and no album when still taken; switch off: the existing album of that name, if any), then
// one song per row of the instance in track order, each from the header with the row's track, title
// ("Track n" when blank), artist (compilation) and time. A song's id is the first free one from the
// header's (or the song count, when higher) on, at most 10000 tries. A row is deleted only when its
// song was stored. All writes are streamed; errors are shown and the commit goes on.
AlbumWizardOutcome commitAlbumWizard(TableAccess& access, const AlbumWizardCommit& commit);

// The tag list naming the unique album keys that an album clashes with: "[ID]", "[CD]", "[Album]",
// "[Artist]" in that order.
QString albumClashTags(TableAccess& access, const Record& album);

// Told after a commit that left rows behind.
QString songsNotAddedText(int count);

}  // namespace srk
