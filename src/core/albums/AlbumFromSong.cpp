#include "albums/AlbumFromSong.h"

#include "catalog/Tables.h"

namespace srk {

bool namesAnAlbum(const Record& song) {
    return !song.text(SON::Artist).isEmpty() || !song.text(SON::Album).isEmpty();
}

Record albumFromSong(const Record& song, qint64 albumId) {
    Record album(albumTable());
    album.setNumber(ALB::AlbumID, albumId);
    album.setText(ALB::Notes, song.text(SON::Notes));
    album.setText(ALB::FileNumber, song.text(SON::FileNumber));
    album.setText(ALB::Artist, song.text(SON::Artist));
    album.setText(ALB::Album, song.text(SON::Album));
    album.setText(ALB::Media, song.text(SON::Media));
    album.setNumber(ALB::ReleaseDate, song.number(SON::ReleaseDate));
    album.setNumber(ALB::CategoryID, song.number(SON::CategoryID));
    return album;
}

}  // namespace srk
