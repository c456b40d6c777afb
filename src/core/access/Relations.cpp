#include "access/Relations.h"

#include "catalog/Tables.h"

namespace srk {

QVector<Relation> relationsOf(const TableDef& def) {
    const QString& label = def.label;
    if (label == QLatin1String("PlaylistMaster"))
        return {{&def, PLD::PlaylistID, &playlistDetailsTable(), PLA::KeyPlaylistID, PLA::PlaylistID,
                 Relation::Cascade, Relation::None}};
    if (label == QLatin1String("Sonorika") || label == QLatin1String("A_Songs"))
        return {{&def, SON::ID, &playlistDetailsTable(), PLA::KeyID, PLA::ID, Relation::Restrict,
                 Relation::None}};
    if (label == QLatin1String("Media"))
        return {{&def, MED::Media, &songsTable(), SON::SongsByMedia, SON::Media, Relation::Restrict,
                 Relation::Cascade}};
    if (label == QLatin1String("Categories"))
        return {
            {&def, CAT::CategoryID, &albumTable(), ALB::KeyCategory, ALB::CategoryID, Relation::Restrict,
             Relation::Restrict},
            {&def, CAT::CategoryID, &songsTable(), SON::SongsByCategory, SON::CategoryID, Relation::Restrict,
             Relation::Cascade},
        };
    if (label == QLatin1String("Album"))
        return {
            // Songs filed under the album's number go first, but only those of no album or of this one: a
            // file number may be shared by several albums. Each passes the playlist restriction first.
            {&def, ALB::FileNumber, &aSongsTable(), SON::KeyFileNumber, SON::FileNumber, Relation::Cascade,
             Relation::Cascade, SON::AlbumID, ALB::AlbumID},
            {&def, ALB::AlbumID, &songsTable(), SON::KeyAlbumID, SON::AlbumID, Relation::Cascade,
             Relation::Cascade},
        };
    return {};
}

QVector<const TableDef*> tablesReachedFrom(const TableDef& def) {
    QVector<const TableDef*> out{&def};
    for (qsizetype i = 0; i < out.size(); ++i) {
        for (const Relation& r : relationsOf(*out[i]))
            if (!out.contains(r.child))
                out.append(r.child);
    }
    return out;
}

} // namespace srk
