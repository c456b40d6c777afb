#pragma once

#include "access/RecordRoutines.h"
#include "store/Record.h"

#include <functional>

class QDialog;

namespace srk {

// What a form does with the outcome of its update routine. Returns true when the record was saved and
// the form may close. Refreshed: record holds another station's values, which become the original and
// are shown (showRecord) while the form stays open; LeaveUnsaved: the form is rejected; StayInForm:
// nothing.
bool followUpdateOutcome(UpdateOutcome outcome, QDialog& form, Record& record, Record& original,
                         const std::function<void()>& showRecord);

}  // namespace srk
