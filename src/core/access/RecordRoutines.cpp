#include "access/RecordRoutines.h"

#include "access/CascadeJob.h"
#include "access/Relations.h"
#include "access/TableUse.h"
#include "store/Table.h"

namespace srk {

namespace {

// Runs the child steps inside the routine's frame. A step over many rows hands the rest of the job to the
// progress window. False when a step failed (its message is in the job) or the user cancelled.
bool runSteps(TableAccess& access, CascadeJob& job) {
    while (job.step()) {
        if (job.wantsWindow()) {
            access.runJob(job, QString(), job.textLine());
            break;
        }
    }
    return job.succeeded();
}

// Shows why the steps failed, after the rollback so that no lock is held while the user reads it.
// A cancel by the user shows nothing.
void showFailure(TableAccess& access, const CascadeJob& job) {
    if (job.failed())
        access.showStandardMessage(job.message(), job.messageText());
}

bool openAll(TableUse& use, const TableDef& def) {
    for (const TableDef* t : tablesReachedFrom(def))
        if (!use.open(*t))
            return false;
    return true;
}

} // namespace

int deleteRecord(TableAccess& access, const TableDef& def, const Record& record) {
    TableUse use(access);
    if (!openAll(use, def))
        return 1;
    Store& store = access.store();
    if (store.logout(2000)) {
        access.showStandardMessage(34, QStringLiteral("Delete"), def.label);
        return 1;
    }
    Table table(store, def);
    Record current;
    if (table.getByPosition(table.position(record), current)) {
        access.saveError();
        store.rollback();
        access.showStandardMessage(35, def.label);
        return 1;
    }
    CascadeJob steps = CascadeJob::forDelete(access, def, current);
    if (!runSteps(access, steps)) {
        store.rollback();
        showFailure(access, steps);
        return 1;
    }
    if (table.remove(current)) {
        access.saveError();
        store.rollback();
        access.showStandardMessage(17, def.label);
        return 1;
    }
    if (store.commit()) {
        // The store has rolled the frame back already.
        access.showStandardMessage(17, def.label);
        return 1;
    }
    return 0;
}

int updateRecord(TableAccess& access, const TableDef& def, Record& record, const Record& original,
                 bool showChanges) {
    TableUse use(access);
    if (!openAll(use, def))
        return 1;
    Store& store = access.store();
    if (store.logout(2000)) {
        access.showStandardMessage(34, QStringLiteral("Update"), def.label);
        return 1;
    }
    Table table(store, def);
    const QString position = table.position(record);
    const qint64 readCount = record.changeCount();
    {
        // Check the put against the change counter the record carries from when it was read.
        Record current;
        table.watch();
        table.getByPosition(position, current);
    }
    const int rc = table.put(record);
    if (rc == ChangedByAnotherStation) {
        access.saveError();
        store.rollback();
        if (showChanges)
            access.showStandardMessage(38);
        else
            access.showStandardMessage(15, QStringLiteral("Record Changed by Another Station"));
        table.watch();
        table.getByPosition(position, record);
        return 2;
    }
    if (rc) {
        access.saveError();
        store.rollback();
        access.showStandardMessage(15, def.label);
        return 1;
    }
    CascadeJob steps = CascadeJob::forUpdate(access, def, record, original);
    if (!runSteps(access, steps)) {
        record.setChangeCount(readCount);
        store.rollback();
        showFailure(access, steps);
        return 1;
    }
    if (store.commit()) {
        record.setChangeCount(readCount);
        access.showStandardMessage(15, def.label);
        return 1;
    }
    return 0;
}

bool confirmDelete(TableAccess& access) {
    return access.showStandardMessage(32) == ButtonOk;
}

int deleteWithRetry(TableAccess& access, const TableDef& def, const Record& record) {
    for (;;) {
        if (deleteRecord(access, def, record) == 0)
            return 0;
        if (!access.stopRequested().isEmpty() || access.showStandardMessage(18) != ButtonYes)
            return 1;
    }
}

UpdateOutcome updateWithRetry(TableAccess& access, const TableDef& def, Record& record,
                              const Record& original, bool showChanges) {
    if (record.sameValues(original))
        return UpdateOutcome::Saved;
    for (;;) {
        const int rc = updateRecord(access, def, record, original, showChanges);
        if (rc == 0)
            return UpdateOutcome::Saved;
        if (rc == 2)
            return UpdateOutcome::Refreshed;
        if (!access.stopRequested().isEmpty())
            return UpdateOutcome::LeaveUnsaved;
        const int answer = access.showStandardMessage(16);
        if (answer == ButtonYes)
            continue;
        return answer == ButtonNo ? UpdateOutcome::LeaveUnsaved : UpdateOutcome::StayInForm;
    }
}

} // namespace srk
