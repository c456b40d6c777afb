#pragma once

#include "query/WizardCondition.h"

#include <QString>

#include <optional>

namespace srk {

class QueryFieldList;

// A condition of the query wizard found again in filter text.
struct WizardReading {
    WizardCondition condition;
    WizardValueKind valueKind = WizardValueKind::Constant;
    QString expression; // the value as filter text for Expression, the field's name for OtherField
};

// Reads filter text back into the wizard condition that writes it: the field must be in the list, and
// writing the reading out again must give the same text (up to blanks and the letter case of names),
// so a reading never changes what the filter means. Nothing for text the wizard would not have
// written, such as a hand-typed "SON:Artist = 'x' AND ..." or a field outside the list.
std::optional<WizardReading> readWizardCondition(const QString& text, const QueryFieldList& fields);

// The filter text of a reading (what readWizardCondition reads back).
QString readingText(const WizardReading& reading);

}  // namespace srk
