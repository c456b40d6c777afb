#pragma once

#include "access/TableAccess.h"
#include "store/Record.h"

namespace srk {

// The delete and update routines of the tables. Each runs in one transaction frame and carries out the
// relations of its table; when any step fails nothing is changed in any table.

// What a routine did. Failed: the reason was shown.
enum class RoutineResult {
    Done = 0,
    Failed = 1,
    ChangedElsewhere = 2, // another station changed the record since it was read
};

// Deletes the record (read before; found again by its position) after its children were dealt with.
RoutineResult deleteRecord(TableAccess& access, const TableDef& def, const Record& record);

// Writes the changed record over the one read before and carries changed linking values over to the
// children. original is the record as read when the form opened. After Failed a restricted linking field
// is back at its old value in record; after ChangedElsewhere record holds the other station's values.
RoutineResult updateRecord(TableAccess& access, const TableDef& def, Record& record, const Record& original,
                 bool showChanges);

// --- what the forms and browses do around the routines ---

// Message 32: true when the user confirms the delete.
bool confirmDelete(TableAccess& access);

// Runs the delete routine; after a failure asks whether to try again (message 18).
RoutineResult deleteWithRetry(TableAccess& access, const TableDef& def, const Record& record);

enum class UpdateOutcome {
    Saved,        // written (or nothing was changed)
    Refreshed,    // another station changed the record: record shows its values, the form stays open
    LeaveUnsaved, // the user gave up: leave the form without saving
    StayInForm,   // the user cancelled the retry question: stay in the form
};

// Runs the update routine when record differs from original; after a failure asks whether to save
// again (message 16).
UpdateOutcome updateWithRetry(TableAccess& access, const TableDef& def, Record& record,
                              const Record& original, bool showChanges);

} // namespace srk
