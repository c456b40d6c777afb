#pragma once

#include <QString>

namespace srk {

// One condition as the query wizard builds it. Operations are numbered as the wizard's display
// texts: 1 "Is Equal To", 2 "Is NOT Equal To", 3 "Is Greater Than", 4 "Is Less Than",
// 5 "Is Greater Than or Equal To", 6 "Is Less Than or Equal To", 7 "Begins With", 8 "Contains",
// 9 "Is Checked", 10 "Is Not Checked".
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

}  // namespace srk
