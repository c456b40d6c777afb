// The standard messages as the user sees them: a message box with the catalogue's caption, text,
// buttons and default button.

#include "access/StandardMessages.h"
#include "ui/DialogMessages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace srk;

namespace {

struct Seen {
    QString title, text;
    QStringList buttons;
    QString defaultButton;
};

// Reads the box that is showing, then presses the button with the given text.
int showAndPress(const Message& message, const QString& press, Seen& seen) {
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.title = box->windowTitle();
        seen.text = box->text();
        for (QAbstractButton* b : box->buttons())
            seen.buttons << b->text().remove(QLatin1Char('&'));
        seen.buttons.sort();
        if (box->defaultButton())
            seen.defaultButton = box->defaultButton()->text().remove(QLatin1Char('&'));
        for (QAbstractButton* b : box->buttons())
            if (b->text().remove(QLatin1Char('&')) == press)
                b->click();
    });
    DialogMessages dialogs;
    return dialogs.ask(message);
}

TEST(DialogMessages, ConfirmDeleteShowsOkAndCancelWithCancelAsDefault) {
    Seen seen;
    const int answer = showAndPress(standardMessage(StdMsg::ConfirmDelete, {}, {}, {}), QStringLiteral("OK"), seen);
    EXPECT_EQ(answer, ButtonOk);
    EXPECT_EQ(seen.title, QStringLiteral("Confirm Delete"));
    EXPECT_EQ(seen.text, QStringLiteral("You've selected to delete the highlighted record.  Press OK to confirm "
                                        "deletion of this record."));
    EXPECT_EQ(seen.buttons, (QStringList{QStringLiteral("Cancel"), QStringLiteral("OK")}));
    EXPECT_EQ(seen.defaultButton, QStringLiteral("Cancel"));
}

TEST(DialogMessages, RecordUpdateErrorOffersYesNoCancelAndReturnsThePressedOne) {
    Seen seen;
    const int answer = showAndPress(standardMessage(StdMsg::RetrySave, {}, {}, {}), QStringLiteral("No"), seen);
    EXPECT_EQ(answer, ButtonNo);
    EXPECT_EQ(seen.title, QStringLiteral("Record Update Error"));
    EXPECT_EQ(seen.buttons, (QStringList{QStringLiteral("Cancel"), QStringLiteral("No"), QStringLiteral("Yes")}));
    EXPECT_EQ(seen.defaultButton, QStringLiteral("Cancel"));
}

TEST(DialogMessages, AutoIncrementErrorOffersRetry) {
    Seen seen;
    const int answer = showAndPress(standardMessage(StdMsg::AutoIncrementError, {}, {}, QStringLiteral("File Is Already Locked (32)")),
                                    QStringLiteral("Retry"), seen);
    EXPECT_EQ(answer, ButtonRetry);
    EXPECT_EQ(seen.text, QStringLiteral("Attempts to automatically number this record have failed.  Error: File Is "
                                        "Already Locked (32)."));
}

}  // namespace
