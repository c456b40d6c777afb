#include "access/AutoNumber.h"

#include "catalog/Tables.h"
#include "store/Table.h"

#include <algorithm>

namespace srk {

namespace {

bool isTable(const TableDef& def, const char* label) {
    return def.label == QLatin1String(label);
}

// Last record of the primary key + 1.
int nextAfterLast(Store& store, const TableDef& def, int field, qint64& number) {
    Table table(store, def);
    table.setEnd(def.primaryKey());
    Record last;
    const int rc = table.previous(last);
    if (rc == RecordNotAvailable) {
        number = 1;
        return NoError;
    }
    if (rc)
        return rc;
    number = std::min(last.number(field) + 1, Record::maxOf(def.fields[field].kind));
    return NoError;
}

// The numbered field is the last component of key; the ones before it name the parent. The number field
// is set to its highest value and the record just before that position is read.
int nextWithinParent(Store& store, const TableDef& def, int key, const Record& context, qint64& number) {
    const QVector<int>& components = def.keys[key].components;
    const int field = components.last();
    const qint64 highest = Record::maxOf(def.fields[field].kind);
    Record probe(def);
    for (int i = 0; i + 1 < components.size(); ++i)
        probe.setValue(components[i], context.value(components[i]));
    probe.setNumber(field, highest);

    Table table(store, def);
    table.setAt(key, probe);
    Record before;
    const int rc = table.previous(before);
    if (rc == RecordNotAvailable) {
        number = 1;
        return NoError;
    }
    if (rc)
        return rc;
    for (int i = 0; i + 1 < components.size(); ++i) {
        const int c = components[i];
        // Same parent as the key sees it: text without regard to case.
        const bool same = isTextKind(def.fields[c].kind)
                              ? before.text(c).compare(probe.text(c), Qt::CaseInsensitive) == 0
                              : before.number(c) == probe.number(c);
        if (!same) {
            number = 1;
            return NoError;
        }
    }
    number = std::min(before.number(field) + 1, highest);
    return NoError;
}

} // namespace

int autoNumberField(const TableDef& def) {
    if (isTable(def, "Categories"))
        return CAT::CategoryID;
    if (isTable(def, "Album"))
        return ALB::AlbumID;
    if (isTable(def, "Sonorika") || isTable(def, "A_Songs"))
        return SON::ID;
    if (isTable(def, "Labels"))
        return LAB::LabelID;
    if (isTable(def, "Fonts"))
        return FON::FontID;
    if (isTable(def, "PlaylistMaster"))
        return PLD::PlaylistID;
    if (isTable(def, "PlaylistDetails"))
        return PLA::PlaylistSeq;
    if (isTable(def, "AddWizard"))
        return AW::Track;
    return -1;
}

int nextAutoNumber(Store& store, const TableDef& def, const Record& context, qint64& number) {
    number = 0;
    const int field = autoNumberField(def);
    if (field < 0)
        return NoError;
    if (isTable(def, "PlaylistDetails"))
        return nextWithinParent(store, def, PLA::KeyPlaylistID, context, number);
    if (isTable(def, "AddWizard"))
        return nextWithinParent(store, def, AW::KeyInstance, context, number);
    return nextAfterLast(store, def, field, number);
}

int nextTrackNumber(Store& store, qint64 albumId, qint64& track) {
    Record context(songsTable());
    context.setNumber(SON::AlbumID, albumId);
    return nextWithinParent(store, songsTable(), SON::KeyAlbumID, context, track);
}

int nextFormTrack(Store& store, qint64 albumId, qint64& track) {
    const int rc = nextTrackNumber(store, albumId, track);
    if (rc == NoError && track > kHighestFormTrack)
        track = 0;
    return rc;
}

} // namespace srk
