#include "songs/AlbumLink.h"

#include "access/AutoNumber.h"
#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "store/Table.h"

namespace srk {

bool autoAddToAlbums(const QString& preference) {
    return !preference.trimmed().isEmpty();
}

AlbumLinkResult linkSongToAlbum(TableAccess& access, const QString& preference, Record& song) {
    if (!autoAddToAlbums(preference))
        return AlbumLinkResult::Off;
    if (song.number(SON::AlbumID) != 0)
        return AlbumLinkResult::AlreadyLinked;
    TableUse use(access);
    if (!use.open(albumTable()))
        return AlbumLinkResult::AddFailed;
    Table albums(access.store(), albumTable());
    Record album(albumTable());
    album.setText(ALB::Album, song.text(SON::Album));
    album.setText(ALB::Artist, song.text(SON::Artist));
    if (albums.get(ALB::KeyAlbum, album) == NoError) {
        song.setNumber(SON::AlbumID, album.number(ALB::AlbumID));
        return AlbumLinkResult::Found;
    }
    qint64 id = 0;
    if (nextAutoNumber(access.store(), albumTable(), album, id))
        return AlbumLinkResult::AddFailed;
    album = Record(albumTable());
    album.setNumber(ALB::AlbumID, id);
    album.setText(ALB::Notes, song.text(SON::Notes));
    album.setText(ALB::FileNumber, song.text(SON::FileNumber));
    album.setText(ALB::Artist, song.text(SON::Artist));
    album.setText(ALB::Album, song.text(SON::Album));
    album.setText(ALB::Media, song.text(SON::Media));
    album.setNumber(ALB::ReleaseDate, song.number(SON::ReleaseDate));
    album.setNumber(ALB::CategoryID, song.number(SON::CategoryID));
    const int rc = albums.add(album);
    song.setNumber(SON::AlbumID, id);
    return rc == NoError ? AlbumLinkResult::Created : AlbumLinkResult::AddFailed;
}

} // namespace srk
