#include "query/WizardTexts.h"

#include <QHash>

namespace srk {

namespace {

struct Text {
    int number;
    const char* text;
};

// Fonts come as name, size and (for the list and description dialogs) weight.
constexpr Text kTexts[] = {
    {1, "Is Equal To"},
    {2, "Is NOT Equal To"},
    {3, "Is Greater Than"},
    {4, "Is Less Than"},
    {5, "Is Greater Than or Equal To"},
    {6, "Is Less Than or Equal To"},
    {7, "Begins With"},
    {8, "Contains"},
    {9, "Is Checked"},
    {10, "Is Not Checked"},

    {31, "ErrorLoadingQuery"},
    {32, "An error has prevented the Query Wizard from loading your query at this time."},
    {33, "Invalid Query"},
    {34, "The query you have designed is invalid.|Please review your query and correct the problem."},
    {35, "Overwrite Query"},
    {36, "Do you want to overwrite the query you are editing?"},
    {37, "Query No Longer Valid"},
    {38,
     "This query refers to fields or expressions that have been changed or deleted since it was made.|"
     "Please go through each of its conditions and correct them, then save the query again before you use it "
     "to select any records."},
    {39, "Restricted Query"},
    {40, "Sorry, this is a restricted query and may not be modified."},
    {41, "Save Query"},
    {42, "Would you like to save this query?"},

    {71, "MS Sans Serif"},
    {72, "10"},
    {73, "MS Sans Serif"},
    {74, "10"},
    {75, "MS Sans Serif"},
    {76, "8"},
    {77, "MS Sans Serif"},
    {78, "8"},
    {79, "MS Sans Serif"},
    {80, "12"},

    {100, ""},
    {101, "Add a New AND Query Element"},
    {102, "New AND Condition"},
    {103, "AND"},
    {104, "Go Back to the Previous Page"},
    {105, "Goto Previous Page"},
    {106, "< &Back"},
    {107, "Cancel Changes and Exit Wizard"},
    {108, "Cancel Changes"},
    {109, "Cancel"},
    {110, "Change Query Element"},
    {111, "Change Element"},
    {112, "&Change"},
    {113, "Delete Query Element"},
    {114, "Delete Element"},
    {115, "&Delete"},
    {116, "Finish the Wizard and Run Query"},
    {117, "Run the Query"},
    {118, "&Finish"},
    {119, "Manually Enter Query Criteria"},
    {120, "Manual Query Entry"},
    {121, "&Manual"},
    {122, "Go Forward to the Next Page"},
    {123, "Goto Next Page"},
    {124, "&Next >"},
    {125, "Add a New OR Query Element"},
    {126, "New OR Condition"},
    {127, "OR"},

    {151, "Constant &Value"},
    {152, "E&xpression"},
    {153, "&Another Field"},
    {154, "Current Query"},
    {155, "Add conditions by pressing the AND or OR buttons."},
    {156, "Press Change or Delete to modify a condition."},
    {157, "Enter a value to complete your expression."},
    {158, "Field Selection"},
    {159, "Fields to Evaluate"},
    {160, "Manual Override"},
    {161, "Compare Using Absolute Values"},
    {162, "Compare Using Case Sensitive Matching"},
    {163, "(New Query)"},
    {164, "Operation Selection"},
    {165, "Query Operations"},
    {166, "Select a field from the list below."},
    {167, "Select an Option Below"},
    {168, "Select a query operation to perform on the selected field."},
    {169, "Value Entry"},
    {170, "'"},
    {171, "Query Wizard"},

    {200, "Query Description"},
    {201, "Saved Queries"},
    {202, "Edit the Selected Query"},
    {203, "Edit Query"},
    {204, "&Change"},
    {205, "Cancel Request to Select a Saved Query"},
    {206, "Cancel Query Request"},
    {207, "Close"},
    {208, "Remove the Selected Query"},
    {209, "Remove Query"},
    {210, "&Delete"},
    {211, "Add a New Query"},
    {212, "Add Query"},
    {213, "&Insert"},
    {214, "Run the Selected Query"},
    {215, "Run Query"},
    {216, "&Select"},
    {217, "MS Sans Serif"},
    {218, "8"},
    {219, "400"},
    {220, "Query No Longer Valid"},
    {221,
     "The selected query refers to fields or expressions that no longer exist, so it cannot be run as it is.|"
     "Press Change to edit the query and fix each condition; it can be used again once it has been fixed."},

    {230, "Enter a new description for this query or press OK to accept the existing description."},
    {231, "Enter a description for the new query."},
    {232, "Changing an Existing Query"},
    {233, "Deleting a Saved Query"},
    {234, "Adding a New Query"},
    {235, "Query Description:"},
    {236, "Cancel Save and Go Back to Editing Query"},
    {237, "Cancel Save"},
    {238, "Cancel"},
    {239, "Accept Description and Save Query"},
    {240, "Save Query"},
    {241, "OK"},
    {242, "MS Sans Serif"},
    {243, "8"},
    {244, "400"},

    {300, "Converting Saved Query Data -- Please Wait..."},
    {301, "Converting Data File Structure  -- Please Wait..."},
    {302, "All Records"},
    {303, "Custom Query..."},
};

const QHash<int, QString>& texts() {
    static const QHash<int, QString> table = [] {
        QHash<int, QString> t;
        for (const Text& e : kTexts)
            t.insert(e.number, QString::fromUtf8(e.text));
        return t;
    }();
    return table;
}

} // namespace

QString wizardText(int number) {
    return texts().value(number);
}

QString wizardMessageText(int number) {
    QString text = wizardText(number);
    text.replace(QLatin1Char('|'), QLatin1Char('\n'));
    return text;
}

} // namespace srk
