#pragma once

#include <QString>

namespace srk {

// The query wizard's display texts, by name. The numbers are the wizard's own: 1-10 the operations,
// 31-42 its messages as caption and text pairs, 71-80 font names and sizes, 100-127 page buttons,
// 151-171 page texts, 200-221 the saved-query list, 230-244 the description dialog, 300-303 progress
// notices and the fixed entries of the saved-query list. A button's tip, short tip and text are three
// texts in a row, so the tip names the button (see wizardButtonText).
enum class WizardText {
    IsEqualTo = 1,
    IsNotEqualTo,
    IsGreaterThan,
    IsLessThan,
    IsGreaterThanOrEqualTo,
    IsLessThanOrEqualTo,
    BeginsWith,
    Contains,
    IsChecked,
    IsNotChecked,

    LoadErrorCaption = 31,
    LoadErrorText,
    InvalidQueryCaption,
    InvalidQueryText,
    OverwriteCaption,
    OverwriteText,
    NoLongerValidCaption,
    NoLongerValidText,
    RestrictedCaption,
    RestrictedText,
    SaveQueryCaption,
    SaveQueryText,

    Font1Name = 71,
    Font1Size,
    Font2Name,
    Font2Size,
    Font3Name,
    Font3Size,
    Font4Name,
    Font4Size,
    Font5Name,
    Font5Size,

    Unused100 = 100,
    AndTip,
    AndShortTip,
    AndButton,
    BackTip,
    BackShortTip,
    BackButton,
    CancelTip,
    CancelShortTip,
    CancelButton,
    ChangeTip,
    ChangeShortTip,
    ChangeButton,
    DeleteTip,
    DeleteShortTip,
    DeleteButton,
    FinishTip,
    FinishShortTip,
    FinishButton,
    ManualTip,
    ManualShortTip,
    ManualButton,
    NextTip,
    NextShortTip,
    NextButton,
    OrTip,
    OrShortTip,
    OrButton,

    ConstantValue = 151,
    Expression,
    AnotherField,
    CurrentQuery,
    AddConditionsHint,
    ChangeOrDeleteHint,
    EnterValueHint,
    FieldSelection,
    FieldsToEvaluate,
    ManualOverride,
    AbsoluteValues,
    CaseSensitive,
    NewQuery,
    OperationSelection,
    QueryOperations,
    SelectFieldHint,
    SelectOption,
    SelectOperationHint,
    ValueEntry,
    Quote,
    QueryWizardTitle,

    QueryDescription = 200,
    SavedQueries,
    EditSavedTip,
    EditSavedShortTip,
    EditSavedButton,
    CloseSavedTip,
    CloseSavedShortTip,
    CloseSavedButton,
    RemoveSavedTip,
    RemoveSavedShortTip,
    RemoveSavedButton,
    AddSavedTip,
    AddSavedShortTip,
    AddSavedButton,
    RunSavedTip,
    RunSavedShortTip,
    RunSavedButton,
    SavedListFontName,
    SavedListFontSize,
    SavedListFontWeight,
    SavedNoLongerValidCaption,
    SavedNoLongerValidText,

    ChangeDescriptionPrompt = 230,
    AddDescriptionPrompt,
    ChangingQueryCaption,
    DeletingQueryCaption,
    AddingQueryCaption,
    DescriptionLabel,
    CancelSaveTip,
    CancelSaveShortTip,
    CancelSaveButton,
    AcceptSaveTip,
    AcceptSaveShortTip,
    AcceptSaveButton,
    DescriptionFontName,
    DescriptionFontSize,
    DescriptionFontWeight,

    ConvertingQueries = 300,
    ConvertingFile,
    AllRecords,
    CustomQuery,
};

// Empty for a name without a text.
QString wizardText(WizardText text);

// A message text with each "|" turned into a line break.
QString wizardMessageText(WizardText text);

// The short tip and the button text that follow a button's tip.
WizardText wizardShortTip(WizardText tip);
WizardText wizardButtonText(WizardText tip);

} // namespace srk
