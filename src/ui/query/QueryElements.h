#pragma once

#include "query/WizardCondition.h"

#include <QString>
#include <QVector>

namespace srk {

class QueryFieldList;

// One element of the query the wizard is building: a condition joined by AND or OR to the element
// before it. Elements built on the wizard's pages keep their condition so that they can be changed
// page by page; so do elements read back from filter text the wizard wrote. Anything else is just
// filter text.
struct QueryElement {
    enum class Join { And, Or };
    using ValueKind = WizardValueKind;

    Join join = Join::And; // ignored for the first element
    bool built = false;    // condition, valueKind and expression are set
    WizardCondition condition;
    ValueKind valueKind = ValueKind::Constant;
    QString expression; // the value as filter text for Expression and OtherField
    QString text;       // the element's filter text

    // Filter text of a built element.
    static QString conditionTextOf(const QueryElement& element);
};

// Whether filter text holds an AND or OR outside parentheses (and so needs them when joined).
bool hasTopLevelJoin(const QString& text);

// The filter of a list of elements: "a AND b OR c", an element that holds a join of its own being put
// in parentheses so that joining never changes what it means.
QString joinQueryElements(const QVector<QueryElement>& elements);

// Filter text cut at its AND and OR outside parentheses, one element per part; joining them gives the
// same filter. Text that cannot be cut (unclosed quote, a join with nothing on one side) is one element.
QVector<QueryElement> splitQueryElements(const QString& text);

// The same, with each part the wizard could have built read back into its condition.
QVector<QueryElement> readQueryElements(const QString& text, const QueryFieldList& fields);

} // namespace srk
