#include "query/WizardTexts.h"

#include <QHash>

namespace srk {

namespace {

struct Text {
    WizardText name;
    const char* text;
};

// Fonts come as name, size and (for the list and description dialogs) weight.
constexpr Text kTexts[] = {
    {WizardText::IsEqualTo, "Is Equal To"},
    {WizardText::IsNotEqualTo, "Is NOT Equal To"},
    {WizardText::IsGreaterThan, "Is Greater Than"},
    {WizardText::IsLessThan, "Is Less Than"},
    {WizardText::IsGreaterThanOrEqualTo, "Is Greater Than or Equal To"},
    {WizardText::IsLessThanOrEqualTo, "Is Less Than or Equal To"},
    {WizardText::BeginsWith, "Begins With"},
    {WizardText::Contains, "Contains"},
    {WizardText::IsChecked, "Is Checked"},
    {WizardText::IsNotChecked, "Is Not Checked"},

    {WizardText::LoadErrorCaption, "ErrorLoadingQuery"},
    {WizardText::LoadErrorText, "An error has prevented the Query Wizard from loading your query at this time."},
    {WizardText::InvalidQueryCaption, "Invalid Query"},
    {WizardText::InvalidQueryText, "The query you have designed is invalid.|Please review your query and correct the problem."},
    {WizardText::OverwriteCaption, "Overwrite Query"},
    {WizardText::OverwriteText, "Do you want to overwrite the query you are editing?"},
    {WizardText::NoLongerValidCaption, "Query No Longer Valid"},
    {WizardText::NoLongerValidText,
     "This query refers to fields or expressions that have been changed or deleted since it was made.|"
     "Please go through each of its conditions and correct them, then save the query again before you use it "
     "to select any records."},
    {WizardText::RestrictedCaption, "Restricted Query"},
    {WizardText::RestrictedText, "Sorry, this is a restricted query and may not be modified."},
    {WizardText::SaveQueryCaption, "Save Query"},
    {WizardText::SaveQueryText, "Would you like to save this query?"},

    {WizardText::Font1Name, "MS Sans Serif"},
    {WizardText::Font1Size, "10"},
    {WizardText::Font2Name, "MS Sans Serif"},
    {WizardText::Font2Size, "10"},
    {WizardText::Font3Name, "MS Sans Serif"},
    {WizardText::Font3Size, "8"},
    {WizardText::Font4Name, "MS Sans Serif"},
    {WizardText::Font4Size, "8"},
    {WizardText::Font5Name, "MS Sans Serif"},
    {WizardText::Font5Size, "12"},

    {WizardText::Unused100, ""},
    {WizardText::AndTip, "Add a New AND Query Element"},
    {WizardText::AndShortTip, "New AND Condition"},
    {WizardText::AndButton, "AND"},
    {WizardText::BackTip, "Go Back to the Previous Page"},
    {WizardText::BackShortTip, "Goto Previous Page"},
    {WizardText::BackButton, "< &Back"},
    {WizardText::CancelTip, "Cancel Changes and Exit Wizard"},
    {WizardText::CancelShortTip, "Cancel Changes"},
    {WizardText::CancelButton, "Cancel"},
    {WizardText::ChangeTip, "Change Query Element"},
    {WizardText::ChangeShortTip, "Change Element"},
    {WizardText::ChangeButton, "&Change"},
    {WizardText::DeleteTip, "Delete Query Element"},
    {WizardText::DeleteShortTip, "Delete Element"},
    {WizardText::DeleteButton, "&Delete"},
    {WizardText::FinishTip, "Finish the Wizard and Run Query"},
    {WizardText::FinishShortTip, "Run the Query"},
    {WizardText::FinishButton, "&Finish"},
    {WizardText::ManualTip, "Manually Enter Query Criteria"},
    {WizardText::ManualShortTip, "Manual Query Entry"},
    {WizardText::ManualButton, "&Manual"},
    {WizardText::NextTip, "Go Forward to the Next Page"},
    {WizardText::NextShortTip, "Goto Next Page"},
    {WizardText::NextButton, "&Next >"},
    {WizardText::OrTip, "Add a New OR Query Element"},
    {WizardText::OrShortTip, "New OR Condition"},
    {WizardText::OrButton, "OR"},

    {WizardText::ConstantValue, "Constant &Value"},
    {WizardText::Expression, "E&xpression"},
    {WizardText::AnotherField, "&Another Field"},
    {WizardText::CurrentQuery, "Current Query"},
    {WizardText::AddConditionsHint, "Add conditions by pressing the AND or OR buttons."},
    {WizardText::ChangeOrDeleteHint, "Press Change or Delete to modify a condition."},
    {WizardText::EnterValueHint, "Enter a value to complete your expression."},
    {WizardText::FieldSelection, "Field Selection"},
    {WizardText::FieldsToEvaluate, "Fields to Evaluate"},
    {WizardText::ManualOverride, "Manual Override"},
    {WizardText::AbsoluteValues, "Compare Using Absolute Values"},
    {WizardText::CaseSensitive, "Compare Using Case Sensitive Matching"},
    {WizardText::NewQuery, "(New Query)"},
    {WizardText::OperationSelection, "Operation Selection"},
    {WizardText::QueryOperations, "Query Operations"},
    {WizardText::SelectFieldHint, "Select a field from the list below."},
    {WizardText::SelectOption, "Select an Option Below"},
    {WizardText::SelectOperationHint, "Select a query operation to perform on the selected field."},
    {WizardText::ValueEntry, "Value Entry"},
    {WizardText::Quote, "'"},
    {WizardText::QueryWizardTitle, "Query Wizard"},

    {WizardText::QueryDescription, "Query Description"},
    {WizardText::SavedQueries, "Saved Queries"},
    {WizardText::EditSavedTip, "Edit the Selected Query"},
    {WizardText::EditSavedShortTip, "Edit Query"},
    {WizardText::EditSavedButton, "&Change"},
    {WizardText::CloseSavedTip, "Cancel Request to Select a Saved Query"},
    {WizardText::CloseSavedShortTip, "Cancel Query Request"},
    {WizardText::CloseSavedButton, "Close"},
    {WizardText::RemoveSavedTip, "Remove the Selected Query"},
    {WizardText::RemoveSavedShortTip, "Remove Query"},
    {WizardText::RemoveSavedButton, "&Delete"},
    {WizardText::AddSavedTip, "Add a New Query"},
    {WizardText::AddSavedShortTip, "Add Query"},
    {WizardText::AddSavedButton, "&Insert"},
    {WizardText::RunSavedTip, "Run the Selected Query"},
    {WizardText::RunSavedShortTip, "Run Query"},
    {WizardText::RunSavedButton, "&Select"},
    {WizardText::SavedListFontName, "MS Sans Serif"},
    {WizardText::SavedListFontSize, "8"},
    {WizardText::SavedListFontWeight, "400"},
    {WizardText::SavedNoLongerValidCaption, "Query No Longer Valid"},
    {WizardText::SavedNoLongerValidText,
     "The selected query refers to fields or expressions that no longer exist, so it cannot be run as it is.|"
     "Press Change to edit the query and fix each condition; it can be used again once it has been fixed."},

    {WizardText::ChangeDescriptionPrompt, "Enter a new description for this query or press OK to accept the existing description."},
    {WizardText::AddDescriptionPrompt, "Enter a description for the new query."},
    {WizardText::ChangingQueryCaption, "Changing an Existing Query"},
    {WizardText::DeletingQueryCaption, "Deleting a Saved Query"},
    {WizardText::AddingQueryCaption, "Adding a New Query"},
    {WizardText::DescriptionLabel, "Query Description:"},
    {WizardText::CancelSaveTip, "Cancel Save and Go Back to Editing Query"},
    {WizardText::CancelSaveShortTip, "Cancel Save"},
    {WizardText::CancelSaveButton, "Cancel"},
    {WizardText::AcceptSaveTip, "Accept Description and Save Query"},
    {WizardText::AcceptSaveShortTip, "Save Query"},
    {WizardText::AcceptSaveButton, "OK"},
    {WizardText::DescriptionFontName, "MS Sans Serif"},
    {WizardText::DescriptionFontSize, "8"},
    {WizardText::DescriptionFontWeight, "400"},

    {WizardText::ConvertingQueries, "Converting Saved Query Data -- Please Wait..."},
    {WizardText::ConvertingFile, "Converting Data File Structure  -- Please Wait..."},
    {WizardText::AllRecords, "All Records"},
    {WizardText::CustomQuery, "Custom Query..."},
};

const QHash<int, QString>& texts() {
    static const QHash<int, QString> table = [] {
        QHash<int, QString> t;
        for (const Text& e : kTexts)
            t.insert(int(e.name), QString::fromUtf8(e.text));
        return t;
    }();
    return table;
}

} // namespace

QString wizardText(WizardText text) {
    return texts().value(int(text));
}

QString wizardMessageText(WizardText text) {
    QString out = wizardText(text);
    out.replace(QLatin1Char('|'), QLatin1Char('\n'));
    return out;
}

WizardText wizardShortTip(WizardText tip) {
    return WizardText(int(tip) + 1);
}

WizardText wizardButtonText(WizardText tip) {
    return WizardText(int(tip) + 2);
}

} // namespace srk
