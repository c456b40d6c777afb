#include "access/StandardMessages.h"
#include "access/ScriptedMessages.h"
#include "access/TableAccess.h"
#include "store/Store.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace srk;

namespace {

const QString kErr = QStringLiteral("Creates Duplicate Key (40)");

TEST(MessageCatalogue, FileMessagesEndingTheProgramReadAsWritten) {
    Message m = standardMessage(StdMsg::InvalidFile, QStringLiteral("Album"), QString(), kErr);
    EXPECT_EQ(m.title, QStringLiteral("Invalid File"));
    EXPECT_EQ(m.text,
              QStringLiteral("Error: (Creates Duplicate Key (40)) accessing Album.  Press OK to end this "
                             "application."));
    EXPECT_EQ(m.buttons, int(ButtonOk));

    m = standardMessage(StdMsg::InvalidKey, QStringLiteral("Sonorika"), QString(), kErr);
    EXPECT_EQ(m.title, QStringLiteral("Invalid Key"));
    EXPECT_EQ(m.text, QStringLiteral("Sonorika key file is invalid.  Do you want to rebuild the key?"));
    EXPECT_EQ(m.buttons, ButtonYes | ButtonNo);
    EXPECT_EQ(m.defaultButton, int(ButtonYes));

    m = standardMessage(StdMsg::CreatedFileOpenError, QStringLiteral("Media"), QString(), kErr);
    EXPECT_EQ(m.title, QStringLiteral("File Creation Error"));
    EXPECT_EQ(m.text,
              QStringLiteral("Error: (Creates Duplicate Key (40)) opening created file:Media.  Press OK to "
                             "end this application."));

    m = standardMessage(StdMsg::FileAccessError, QStringLiteral("srkalbum"), QString(), QStringLiteral("Invalid Data File (36)"));
    EXPECT_EQ(m.title, QStringLiteral("File Access Error"));
    EXPECT_EQ(m.text, QStringLiteral("File (srkalbum) could not be opened.  Error: Invalid Data File (36)."));

    EXPECT_EQ(standardMessageStopText(StdMsg::InvalidFile), QStringLiteral("Invalid File!"));
    EXPECT_EQ(standardMessageStopText(StdMsg::InvalidKey), QStringLiteral("Invalid Key!"));
    EXPECT_EQ(standardMessageStopText(StdMsg::KeyRebuildError), QStringLiteral("Error Rebuilding Key!"));
    EXPECT_EQ(standardMessageStopText(StdMsg::FileCreationError), QStringLiteral("File Creation Error!"));
    EXPECT_EQ(standardMessageStopText(StdMsg::CreatedFileOpenError), QStringLiteral("File Creation Error!"));
    EXPECT_EQ(standardMessageStopText(StdMsg::FileAccessError), QStringLiteral("Disk Error"));
    EXPECT_TRUE(standardMessageStopText(StdMsg::RestrictedDelete).isEmpty());
    EXPECT_TRUE(standardMessageStopText(StdMsg::RetrySave).isEmpty());
}

TEST(MessageCatalogue, RecordMessagesKeepTheirDoubleBlanksAndButtons) {
    Message m = standardMessage(StdMsg::RestrictedDelete, QStringLiteral("PlaylistDetails"), QString(), QString());
    EXPECT_EQ(m.title, QStringLiteral("Referential Integrity Delete Error"));
    EXPECT_EQ(m.text,
              QStringLiteral("This record is referenced from the file PlaylistDetails.  This record cannot "
                             "be deleted while these references exist."));

    m = standardMessage(StdMsg::RestrictedUpdate, QStringLiteral("Album"), QString(), QString());
    EXPECT_EQ(m.text,
              QStringLiteral("This record is referenced from the file Album.  Linking field(s) have been "
                             "restricted from change and have been reset to original values."));

    m = standardMessage(StdMsg::RetrySave, QString(), QString(), QString());
    EXPECT_EQ(m.title, QStringLiteral("Record Update Error"));
    EXPECT_EQ(m.text,
              QStringLiteral("An error was experienced changing this record.  Do you want to try to save "
                             "again?"));
    EXPECT_EQ(m.buttons, ButtonYes | ButtonNo | ButtonCancel);
    EXPECT_EQ(m.defaultButton, int(ButtonCancel));

    m = standardMessage(StdMsg::RetryDelete, QString(), QString(), QString());
    EXPECT_EQ(m.title, QStringLiteral("Record Update Error"));
    EXPECT_EQ(m.text,
              QStringLiteral("An error was experienced deleting this record.  Do you want to try to save "
                             "again?"));

    m = standardMessage(StdMsg::ConfirmCancel, QString(), QString(), QString());
    EXPECT_EQ(m.buttons, ButtonYes | ButtonNo);
    EXPECT_EQ(m.defaultButton, int(ButtonNo));

    m = standardMessage(StdMsg::DuplicateKey, QStringLiteral("CAT:KeyCategory"), QString(), kErr);
    EXPECT_EQ(m.text,
              QStringLiteral("Adding this record creates a duplicate entry for the key:CAT:KeyCategory"));

    m = standardMessage(StdMsg::AutoIncrementError, QString(), QString(), kErr);
    EXPECT_EQ(m.title, QStringLiteral("Auto Increment Error"));
    EXPECT_EQ(m.text,
              QStringLiteral("Attempts to automatically number this record have failed.  Error: Creates "
                             "Duplicate Key (40)."));
    EXPECT_EQ(m.buttons, ButtonRetry | ButtonCancel);
    EXPECT_EQ(m.defaultButton, int(ButtonCancel));

    m = standardMessage(StdMsg::ConfirmDelete, QString(), QString(), QString());
    EXPECT_EQ(m.title, QStringLiteral("Confirm Delete"));
    EXPECT_EQ(m.text, QStringLiteral("You've selected to delete the highlighted record.  Press OK to confirm "
                                     "deletion of this record."));
    EXPECT_EQ(m.buttons, ButtonOk | ButtonCancel);
    EXPECT_EQ(m.defaultButton, int(ButtonCancel));

    m = standardMessage(StdMsg::RecordNotUpdated, QString(), QString(), QString());
    EXPECT_EQ(m.text, QStringLiteral("This record was changed by another station. Those changes will now be "
                                     "displayed. Use the Ditto Button or Ctrl+' to recall your changes."));
}

TEST(MessageCatalogue, TextsThatDependOnTheirArguments) {
    // 15: the changed-by-another-station text replaces the whole message when the error is 89.
    Message m = standardMessage(StdMsg::UpdateError, QStringLiteral("Album"), QString(), kErr, 40);
    EXPECT_EQ(m.title, QStringLiteral("Update Operation Error"));
    EXPECT_EQ(m.text, QStringLiteral(
                          "An error (Creates Duplicate Key (40)) was experienced when attempting to update "
                          "a record from the file.  Probable Cause: Album."));
    m = standardMessage(StdMsg::UpdateError, QStringLiteral("Record Changed by Another Station"), QString(),
                        QStringLiteral("Record Changed By Another Station (89)"), 89);
    EXPECT_EQ(m.text, QStringLiteral("This record was changed by another station."));

    m = standardMessage(StdMsg::ProcessError, QStringLiteral("Put"), QStringLiteral("Album"), kErr);
    EXPECT_EQ(m.title, QStringLiteral("Process PUT Error"));
    EXPECT_EQ(m.text,
              QStringLiteral("An error was experienced when making changes to the Album file.  Error: "
                             "Creates Duplicate Key (40)"));
    m = standardMessage(StdMsg::ProcessError, QStringLiteral("Delete"), QStringLiteral("Album"), kErr);
    EXPECT_EQ(m.title, QStringLiteral("Process DELETE Error"));
    EXPECT_EQ(m.text,
              QStringLiteral("An error was experienced when deleting a record from the Album file.  Error: "
                             "Creates Duplicate Key (40)"));

    m = standardMessage(StdMsg::FramingError, QStringLiteral("Delete"), QStringLiteral("Album"),
                        QStringLiteral("File Is Already Locked (32)"));
    EXPECT_EQ(m.title, QStringLiteral("Transaction Framing Error"));
    EXPECT_EQ(m.text, QStringLiteral("Error: (File Is Already Locked (32)) attempting to frame the delete "
                                     "transaction on Album.  Delete transaction cancelled."));

    m = standardMessage(StdMsg::ViewOpenError, QString(), QString(), kErr, 40, QStringLiteral("srkdata.sdb"));
    EXPECT_EQ(m.title, QStringLiteral("View Open Error"));
    EXPECT_EQ(m.text,
              QStringLiteral("Error: (Creates Duplicate Key (40)) attempting to open the current VIEW.\n"
                             "Filter and Range Limits ignored.\n\nRelated File: srkdata.sdb"));

    m = standardMessage(StdMsg::RangeError, QStringLiteral("SON:TrackNumber"), QStringLiteral("0 and 255"), QString());
    EXPECT_EQ(m.text, QStringLiteral("The value of SON:TrackNumber must be between 0 and 255."));
    m = standardMessage(StdMsg::FieldContentsError, QStringLiteral("SON:Media"), QStringLiteral("Media"), QString());
    EXPECT_EQ(m.text, QStringLiteral("The value for SON:Media must be found in the Media file."));

    EXPECT_TRUE(standardMessage(StdMsg(99), QString(), QString(), QString()).title.isEmpty());
}

TEST(MessageCatalogue, EveryNumberHasATitleAndAButtonItOffers) {
    for (int n : {1,  2,  3,  4,  5,  10, 11, 12, 13, 14, 15, 16, 17,
                  18, 20, 21, 23, 24, 25, 30, 31, 32, 34, 35, 36, 38}) {
        const Message m =
            standardMessage(StdMsg(n), QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("E (1)"));
        EXPECT_FALSE(m.title.isEmpty()) << n;
        EXPECT_FALSE(m.text.isEmpty()) << n;
        EXPECT_NE(m.buttons & m.defaultButton, 0) << n;
    }
}

// The saved error wins over the store's current one once, then the current one is used again.
TEST(MessageCatalogue, SavedErrorIsUsedOnceThenTheCurrentError) {
    TempFolder folder;
    Store store(folder.path());
    ASSERT_TRUE(store.connect());
    ScriptedMessages messages;
    TableAccess access(store, messages);

    store.setError(DuplicateKey, QStringLiteral("f"));
    access.saveError();
    store.setError(RecordNotFound, QStringLiteral("f"));
    access.showStandardMessage(StdMsg::InsertError);
    access.showStandardMessage(StdMsg::InsertError);
    store.setError(DriverError, QStringLiteral("f"), 19, QStringLiteral("constraint failed"));
    access.showStandardMessage(StdMsg::InsertError);
    ASSERT_EQ(messages.count(), 3);
    EXPECT_EQ(
        messages.shown()[0].text,
        QStringLiteral(
            "An error was experienced during the update of record.  Error: Creates Duplicate Key (40)."));
    EXPECT_EQ(messages.shown()[1].text,
              QStringLiteral(
                  "An error was experienced during the update of record.  Error: Record Not Found (35)."));
    EXPECT_EQ(messages.shown()[2].text,
              QStringLiteral(
                  "An error was experienced during the update of record.  Error: constraint failed (19)."));
    EXPECT_FALSE(access.hasSavedError());
}

TEST(MessageCatalogue, ScriptedAnswersRunOutIntoTheDefaultButton) {
    ScriptedMessages messages{ButtonNo};
    const Message question = standardMessage(StdMsg::InvalidKey, QStringLiteral("Album"), QString(), QString());
    EXPECT_EQ(messages.ask(question), int(ButtonNo));
    EXPECT_EQ(messages.ask(question), int(ButtonYes));
    EXPECT_EQ(messages.titles(), (QStringList{QStringLiteral("Invalid Key"), QStringLiteral("Invalid Key")}));
}

} // namespace
