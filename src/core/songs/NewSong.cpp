#include "songs/NewSong.h"

#include "access/AutoNumber.h"
#include "access/PrimedOwners.h"
#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "store/Table.h"

namespace srk {

PrimeStatus primeSong(TableAccess& access, Record& song) {
    if (!song.isValid())
        song = Record(songsTable());
    song.setText(SON::Media, QStringLiteral("CD"));
    {
        // prime() numbers the track only within a real album; songs of album 0 are numbered here.
        TableUse use(access);
        if (!use.open(songsTable()))
            return PrimeStatus::Failed;
        qint64 track = 0;
        if (nextFormTrack(access.store(), song.number(SON::AlbumID), track)) {
            access.showStandardMessage(StdMsg::RetrievalError, songsTable().label);
            return PrimeStatus::Failed;
        }
        song.setNumber(SON::TrackNumber, track);
    }
    return prime(access, songsTable(), song);
}

bool saveNewSong(TableAccess& access, Record& song) {
    TableUse use(access);
    if (!use.open(songsTable()))
        return false;
    const int rc = Table(access.store(), songsTable()).put(song);
    if (rc == NoError) {
        forgetPrimed(access.store(), songsTable(), song);
        return true;
    }
    if (rc == DuplicateKey)
        access.showStandardMessage(StdMsg::DuplicateKey, QStringLiteral("Unique Song ID"));
    else
        access.showStandardMessage(StdMsg::InsertError);
    return false;
}

} // namespace srk
