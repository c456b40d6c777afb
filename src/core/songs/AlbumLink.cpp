#include "songs/AlbumLink.h"

#include "access/AutoNumber.h"
#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "albums/AlbumFromSong.h"
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
    if (!namesAnAlbum(song))
        return AlbumLinkResult::Nameless;
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
    album = albumFromSong(song, id);
    // A song is linked only to an album that exists.
    if (albums.add(album) != NoError)
        return AlbumLinkResult::AddFailed;
    song.setNumber(SON::AlbumID, id);
    return AlbumLinkResult::Created;
}

} // namespace srk
