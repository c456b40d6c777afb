#pragma once

#include "query/WizardCondition.h"
#include "query/WizardTexts.h"

#include <QLatin1StringView>

#include <span>

namespace srk {

// How an operation's condition is written as filter text.
enum class WizardForm {
    Compare,    // field symbol value: UPPER(SON:Artist) = UPPER('Björk')
    BeginsWith, // the field's first characters equal the value
    Contains,   // INSTRING(value, field) <> 0
    Checked,    // the field is non-zero (numbers) or non-blank (texts)
    NotChecked, // the field is zero or blank
};

// One operation of the query wizard: what the user reads, how the filter is written and so read back.
struct WizardOperator {
    WizardCondition::Operation operation;
    WizardText display;        // "Is Equal To"
    WizardForm form;
    QLatin1StringView symbol;  // the comparison's operator in the filter, empty for the other forms
    bool needsValue;           // false for "Is Checked" and "Is Not Checked"
    bool textOnly;             // offered for text fields only
};

// Every operation, in the order the wizard offers them.
std::span<const WizardOperator> wizardOperators();

// The entry of an operation (the first one for a number out of range).
const WizardOperator& wizardOperator(WizardCondition::Operation operation);

// The comparison written with a symbol ("=", "<>", ...); nothing for another symbol.
const WizardOperator* wizardComparison(QLatin1StringView symbol);

}  // namespace srk
