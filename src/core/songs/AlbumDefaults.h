#pragma once

#include "store/Record.h"

namespace srk {

// "Default with Album Information": the song takes the album's notes, file number, artist, release date
// and category where it has none of its own, and always the album's title, media and number.
void applyAlbumDefaults(Record& song, const Record& album);

// A new song of an album starts with its file number, title, artist, release date and number.
Record newSongOfAlbum(const Record& album);

} // namespace srk
