#pragma once

#include "store/Record.h"

namespace srk {

// A song names an album when it has an artist or an album name. The album keys leave records with
// both empty out, so a nameless album could never be found again: every save would add another.
bool namesAnAlbum(const Record& song);

// The album made for a song that has none: the song's notes, file number, artist, album name, media,
// release date and category under the given album number.
Record albumFromSong(const Record& song, qint64 albumId);

}  // namespace srk
