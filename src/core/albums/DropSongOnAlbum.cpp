#include "albums/DropSongOnAlbum.h"

#include "access/MessageService.h"
#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "store/ErrorCode.h"
#include "store/Table.h"

namespace srk {

qint64 DropSongOnAlbum::newSongId(TableAccess& access, qint64 droppedId, int& rc) {
    rc = NoError;
    Table songs(access.store(), songsTable());
    qint64 candidate = songs.records() + 1;
    for (int tries = 1;; ++tries) {
        Record probe(songsTable());
        probe.setNumber(SON::ID, candidate);
        const int found = songs.get(SON::KeyID, probe);
        if (found == RecordNotFound)
            return candidate;
        if (found != NoError) {
            rc = found;
            return droppedId;
        }
        if (tries > kMaxTries)
            return droppedId;
        candidate += tries > kSmallSteps ? 3 : 1;
    }
}

DropSongOnAlbum::Result DropSongOnAlbum::run(TableAccess& access, qint64 songId, qint64 albumId) {
    Result result;
    TableUse use(access);
    if (!use.open(songsTable()))
        return result;
    Store& store = access.store();
    Table songs(store, songsTable());
    Record song(songsTable());
    song.setNumber(SON::ID, songId);
    if (songs.get(SON::KeyID, song) != NoError)
        return result;
    song.setNumber(SON::AlbumID, albumId);

    int rc = NoError;
    const qint64 id = newSongId(access, songId, rc);
    if (rc == NoError) {
        if (id != songId) {
            song.setNumber(SON::ID, id);
            song.setRowId(0);
            song.setChangeCount(0);
            rc = songs.add(song);
            result.outcome = Outcome::Copied;
        } else {
            rc = songs.put(song);
            result.outcome = Outcome::Moved;
        }
    }
    if (rc != NoError) {
        result.outcome = Outcome::Failed;
        result.errorText = store.lastError().displayText();
        access.ask({QStringLiteral("Error"), QStringLiteral("Error updating song database - ") + result.errorText,
                    ButtonOk, ButtonOk});
        return result;
    }
    result.song = song;
    return result;
}

}  // namespace srk
