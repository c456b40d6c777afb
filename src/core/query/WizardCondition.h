#pragma once

#include <QString>

namespace srk {

// One condition as the query wizard builds it. Operations are numbered as the wizard's display
// texts; WizardOperators.h holds what each one shows and how it is written.
struct WizardCondition {
    enum Operation {
        Equal = 1, NotEqual, Greater, Less, GreaterOrEqual, LessOrEqual, BeginsWith, Contains, IsChecked, IsNotChecked
    };
    QString field;         // "SON:Artist"
    bool numeric = false;  // the field list's kind 2
    Operation operation = Equal;
    QString value;
    bool caseSensitive = false;  // "Compare Using Case Sensitive Matching"
    bool absolute = false;       // "Compare Using Absolute Values" (numbers only)
};

// Where a condition's value comes from: typed as a constant, an expression in the filter language, or
// another field of the list.
enum class WizardValueKind { Constant, Expression, OtherField };

// A text literal of the filter language: single quotes, inner quotes doubled.
QString quotedText(const QString& text);

// The filter text of a condition. Text fields compare without regard to case unless asked:
// UPPER(SON:Artist) = UPPER('Björk'); "Begins With" compares the field's first characters;
// "Contains" is INSTRING(...) <> 0; "Is Checked" is non-zero (non-blank for text fields).
// Absolute values compare ABS(field) with ABS(value).
QString conditionText(const WizardCondition& condition);

// The same with the value given as filter text ("SON:Title", "BRW1::Sort3:Reset:MED:Media", "10 * 2")
// instead of condition.value. "Begins With" then tests that the value is found at the first character.
QString conditionText(const WizardCondition& condition, const QString& valueExpression);

// Either of the two: condition.value for a constant, otherwise the expression (a field name for
// OtherField).
QString conditionText(const WizardCondition& condition, WizardValueKind kind, const QString& expression);

}  // namespace srk
