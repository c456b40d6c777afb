#include "songs/AlbumDefaults.h"

#include "catalog/Tables.h"

namespace srk {

namespace {

bool blank(const Record& r, int field) {
    return r.text(field).trimmed().isEmpty();
}

} // namespace

void applyAlbumDefaults(Record& song, const Record& album) {
    if (blank(song, SON::Notes))
        song.setText(SON::Notes, album.text(ALB::Notes));
    if (blank(song, SON::FileNumber))
        song.setText(SON::FileNumber, album.text(ALB::FileNumber));
    if (blank(song, SON::Artist))
        song.setText(SON::Artist, album.text(ALB::Artist));
    if (song.number(SON::ReleaseDate) == 0)
        song.setNumber(SON::ReleaseDate, album.number(ALB::ReleaseDate));
    if (song.number(SON::CategoryID) == 0)
        song.setNumber(SON::CategoryID, album.number(ALB::CategoryID));
    song.setText(SON::Album, album.text(ALB::Album));
    song.setText(SON::Media, album.text(ALB::Media));
    song.setNumber(SON::AlbumID, album.number(ALB::AlbumID));
}

Record newSongOfAlbum(const Record& album) {
    Record song(songsTable());
    song.setText(SON::FileNumber, album.text(ALB::FileNumber));
    song.setText(SON::Album, album.text(ALB::Album));
    song.setText(SON::Artist, album.text(ALB::Artist));
    song.setNumber(SON::ReleaseDate, album.number(ALB::ReleaseDate));
    song.setNumber(SON::AlbumID, album.number(ALB::AlbumID));
    song.setText(SON::Media, QStringLiteral("CD"));
    return song;
}

} // namespace srk
