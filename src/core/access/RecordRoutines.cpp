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

RoutineResult deleteRecord(TableAccess& access, const TableDef& def, const Record& record) {
    TableUse use(access);
    if (!openAll(use, def))
        return RoutineResult::Failed;
    Store& store = access.store();
    if (store.logout(2000)) {
        access.showStandardMessage(StdMsg::FramingError, QStringLiteral("Delete"), def.label);
        return RoutineResult::Failed;
    }
    Table table(store, def);
    Record current;
    if (table.getByPosition(table.position(record), current)) {
        access.saveError();
        store.rollback();
        access.showStandardMessage(StdMsg::RetrievalError, def.label);
        return RoutineResult::Failed;
    }
    CascadeJob steps = CascadeJob::forDelete(access, def, current);
    if (!runSteps(access, steps)) {
        store.rollback();
        showFailure(access, steps);
        return RoutineResult::Failed;
    }
    if (table.remove(current)) {
        access.saveError();
        store.rollback();
        access.showStandardMessage(StdMsg::DeleteError, def.label);
        return RoutineResult::Failed;
    }
    if (store.commit()) {
        // The store has rolled the frame back already.
        access.showStandardMessage(StdMsg::DeleteError, def.label);
        return RoutineResult::Failed;
    }
    return RoutineResult::Done;
}

RoutineResult updateRecord(TableAccess& access, const TableDef& def, Record& record, const Record& original,
                 bool showChanges) {
    TableUse use(access);
    if (!openAll(use, def))
        return RoutineResult::Failed;
    Store& store = access.store();
    if (store.logout(2000)) {
        access.showStandardMessage(StdMsg::FramingError, QStringLiteral("Update"), def.label);
        return RoutineResult::Failed;
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
            access.showStandardMessage(StdMsg::RecordNotUpdated);
        else
            access.showStandardMessage(StdMsg::UpdateError, QStringLiteral("Record Changed by Another Station"));
        table.watch();
        table.getByPosition(position, record);
        return RoutineResult::ChangedElsewhere;
    }
    if (rc) {
        access.saveError();
        store.rollback();
        access.showStandardMessage(StdMsg::UpdateError, def.label);
        return RoutineResult::Failed;
    }
    CascadeJob steps = CascadeJob::forUpdate(access, def, record, original);
    if (!runSteps(access, steps)) {
        record.setChangeCount(readCount);
        store.rollback();
        showFailure(access, steps);
        return RoutineResult::Failed;
    }
    if (store.commit()) {
        record.setChangeCount(readCount);
        access.showStandardMessage(StdMsg::UpdateError, def.label);
        return RoutineResult::Failed;
    }
    return RoutineResult::Done;
}

bool confirmDelete(TableAccess& access) {
    return access.showStandardMessage(StdMsg::ConfirmDelete) == ButtonOk;
}

RoutineResult deleteWithRetry(TableAccess& access, const TableDef& def, const Record& record) {
    for (;;) {
        if (deleteRecord(access, def, record) == RoutineResult::Done)
            return RoutineResult::Done;
        if (!access.stopRequested().isEmpty() || access.showStandardMessage(StdMsg::RetryDelete) != ButtonYes)
            return RoutineResult::Failed;
    }
}

UpdateOutcome updateWithRetry(TableAccess& access, const TableDef& def, Record& record,
                              const Record& original, bool showChanges) {
    if (record.sameValues(original))
        return UpdateOutcome::Saved;
    for (;;) {
        const RoutineResult rc = updateRecord(access, def, record, original, showChanges);
        if (rc == RoutineResult::Done)
            return UpdateOutcome::Saved;
        if (rc == RoutineResult::ChangedElsewhere)
            return UpdateOutcome::Refreshed;
        if (!access.stopRequested().isEmpty())
            return UpdateOutcome::LeaveUnsaved;
        const int answer = access.showStandardMessage(StdMsg::RetrySave);
        if (answer == ButtonYes)
            continue;
        return answer == ButtonNo ? UpdateOutcome::LeaveUnsaved : UpdateOutcome::StayInForm;
    }
}

} // namespace srk
