#include "access/Priming.h"

#include "access/AutoNumber.h"
#include "access/PrimedOwners.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "store/Table.h"

namespace srk {

namespace {

constexpr int kAttemptsPerRound = 3;

// The record and its owner entry go in together, so a kill in between leaves neither.
int addOwned(Store& store, Table& table, Record& candidate) {
    if (const int rc = store.logout())
        return rc;
    int rc = table.add(candidate);
    if (!rc)
        rc = registerPrimed(store, table.def(), candidate);
    if (rc) {
        const StoreError kept = store.lastError();
        store.rollback();
        store.setError(kept.code, kept.fileName, kept.driverCode, kept.driverMessage);
        return rc;
    }
    return store.commit();
}

} // namespace

PrimeStatus prime(TableAccess& access, const TableDef& def, Record& record) {
    TableUse use(access);
    if (!use.open(def))
        return PrimeStatus::Failed;
    if (!record.isValid())
        record = Record(def);
    const Record defaults = record;
    const int field = autoNumberField(def);
    const bool songOfAlbum = field == SON::ID && defaults.number(SON::AlbumID) != 0;
    Table table(access.store(), def);
    int failedAdds = 0;
    for (;;) {
        Record candidate = defaults;
        candidate.setRowId(0);
        if (field >= 0) {
            qint64 number = 0;
            int rc = nextAutoNumber(access.store(), def, defaults, number);
            if (!rc && songOfAlbum) {
                qint64 track = 0;
                rc = nextFormTrack(access.store(), defaults.number(SON::AlbumID), track);
                candidate.setNumber(SON::TrackNumber, track);
            }
            if (rc) {
                access.showStandardMessage(StdMsg::RetrievalError, def.label);
                return PrimeStatus::Failed;
            }
            candidate.setNumber(field, number);
        }
        if (addOwned(access.store(), table, candidate) == NoError) {
            record = candidate;
            return PrimeStatus::Primed;
        }
        if (++failedAdds < kAttemptsPerRound)
            continue;
        if (access.showStandardMessage(StdMsg::AutoIncrementError) != ButtonRetry)
            return PrimeStatus::Cancelled;
        failedAdds = 0;
    }
}

int cancelPrimed(TableAccess& access, const TableDef& def, const Record& primed) {
    if (primed.rowId() <= 0)
        return NoError;
    TableUse use(access);
    if (!use.open(def))
        return access.store().lastError().code ? access.store().lastError().code : FileNotFound;
    Table table(access.store(), def);
    const int rc = table.remove(primed);
    // Someone may have removed it already; then there is nothing left behind.
    if (rc && rc != RecordNotFound) {
        access.showStandardMessage(StdMsg::DeleteError, def.label);
        return rc;
    }
    forgetPrimed(access.store(), def, primed);
    return NoError;
}

int completePrimed(TableAccess& access, const TableDef& def, Record& edited) {
    TableUse use(access);
    if (!use.open(def))
        return 1;
    Table table(access.store(), def);
    const int rc = table.put(edited);
    if (rc == NoError) {
        forgetPrimed(access.store(), def, edited);
        return 0;
    }
    // A key that could not be tested reports the read error instead.
    const int key = rc == DuplicateKey ? table.duplicateKey(edited) : Table::DuplicateTestFailed;
    if (key != Table::DuplicateTestFailed) {
        access.showStandardMessage(StdMsg::DuplicateKey, key >= 0 ? def.qualifiedKeyName(key) : QString());
    } else {
        access.showStandardMessage(StdMsg::InsertError);
    }
    return 1;
}

} // namespace srk
