#include "query/WizardOperators.h"

#include <array>

namespace srk {

namespace {

using Op = WizardCondition::Operation;
using namespace Qt::Literals::StringLiterals;

constexpr std::array<WizardOperator, 10> kOperators{{
    {Op::Equal, WizardText::IsEqualTo, WizardForm::Compare, "="_L1, true, false},
    {Op::NotEqual, WizardText::IsNotEqualTo, WizardForm::Compare, "<>"_L1, true, false},
    {Op::Greater, WizardText::IsGreaterThan, WizardForm::Compare, ">"_L1, true, false},
    {Op::Less, WizardText::IsLessThan, WizardForm::Compare, "<"_L1, true, false},
    {Op::GreaterOrEqual, WizardText::IsGreaterThanOrEqualTo, WizardForm::Compare, ">="_L1, true, false},
    {Op::LessOrEqual, WizardText::IsLessThanOrEqualTo, WizardForm::Compare, "<="_L1, true, false},
    {Op::BeginsWith, WizardText::BeginsWith, WizardForm::BeginsWith, {}, true, true},
    {Op::Contains, WizardText::Contains, WizardForm::Contains, {}, true, true},
    {Op::IsChecked, WizardText::IsChecked, WizardForm::Checked, {}, false, false},
    {Op::IsNotChecked, WizardText::IsNotChecked, WizardForm::NotChecked, {}, false, false},
}};

}  // namespace

std::span<const WizardOperator> wizardOperators() {
    return kOperators;
}

const WizardOperator& wizardOperator(WizardCondition::Operation operation) {
    for (const WizardOperator& o : kOperators)
        if (o.operation == operation)
            return o;
    return kOperators.front();
}

const WizardOperator* wizardComparison(QLatin1StringView symbol) {
    for (const WizardOperator& o : kOperators)
        if (o.form == WizardForm::Compare && o.symbol == symbol)
            return &o;
    return nullptr;
}

}  // namespace srk
