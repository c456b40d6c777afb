#pragma once

#include "store/Record.h"

#include <QString>

namespace srk {

class TableAccess;

enum class AlbumLinkResult {
    Off,           // the preference is blank: nothing done
    AlreadyLinked, // the song carries an album number already
    Found,         // linked to the album of the same title and artist
    Nameless,      // neither artist nor album name: the song stays unlinked
    Created,       // a new album was made from the song and linked
    AddFailed,     // the new album could not be added: the song stays unlinked
};

// "AutoAddToAlbums": any non-blank text is on.
bool autoAddToAlbums(const QString& preference);

// Links a song that has no album number to the album with its title and artist (ALB:KeyAlbum), making
// that album from the song when there is none. A song with neither artist nor album name stays unlinked.
// A failed add is not reported and leaves the song unlinked.
AlbumLinkResult linkSongToAlbum(TableAccess& access, const QString& preference, Record& song);

} // namespace srk
