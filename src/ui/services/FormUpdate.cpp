#include "ui/services/FormUpdate.h"

#include <QDialog>

namespace srk {

bool followUpdateOutcome(UpdateOutcome outcome, QDialog& form, Record& record, Record& original,
                         const std::function<void()>& showRecord) {
    switch (outcome) {
    case UpdateOutcome::Saved:
        return true;
    case UpdateOutcome::Refreshed:
        // Saving again starts from the other station's values.
        original = record;
        showRecord();
        return false;
    case UpdateOutcome::LeaveUnsaved:
        form.reject();
        return false;
    case UpdateOutcome::StayInForm:
        return false;
    }
    return false;
}

}  // namespace srk
