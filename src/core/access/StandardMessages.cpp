#include "access/StandardMessages.h"

#include "store/ErrorCode.h"

namespace srk {

namespace {

Message ok(const QString& title, const QString& text) {
    return {title, text, ButtonOk, ButtonOk};
}

} // namespace

Message standardMessage(StdMsg number, const QString& text1, const QString& text2, const QString& err,
                        int errorCode, const QString& errorFile) {
    const QString endApp = QStringLiteral(".  Press OK to end this application.");
    switch (number) {
    case StdMsg::InvalidFile:
        return ok(QStringLiteral("Invalid File"),
                  QStringLiteral("Error: (") + err + QStringLiteral(") accessing ") + text1 + endApp);
    case StdMsg::InvalidKey:
        return {QStringLiteral("Invalid Key"),
                text1 + QStringLiteral(" key file is invalid.  Do you want to rebuild the key?"),
                ButtonYes | ButtonNo, ButtonYes};
    case StdMsg::KeyRebuildError:
        return ok(QStringLiteral("Key Rebuild Error"),
                  QStringLiteral("Error: (") + err + QStringLiteral(") repairing key for ") + text1 + endApp);
    case StdMsg::FileCreationError:
        return ok(QStringLiteral("File Creation Error"),
                  QStringLiteral("Error: (") + err + QStringLiteral(") creating ") + text1 + endApp);
    case StdMsg::CreatedFileOpenError:
        return ok(QStringLiteral("File Creation Error"), QStringLiteral("Error: (") + err +
                                                             QStringLiteral(") opening created file:") +
                                                             text1 + endApp);
    case StdMsg::RangeError:
        return ok(QStringLiteral("Range Error"), QStringLiteral("The value of ") + text1 +
                                                     QStringLiteral(" must be between ") + text2 +
                                                     QStringLiteral("."));
    case StdMsg::FieldContentsError:
        return ok(QStringLiteral("Field Contents Error"), QStringLiteral("The value for ") + text1 +
                                                              QStringLiteral(" must be found in the ") +
                                                              text2 + QStringLiteral(" file."));
    case StdMsg::RestrictedUpdate:
        return ok(
            QStringLiteral("Referential Integrity Update Error"),
            QStringLiteral("This record is referenced from the file ") + text1 +
                QStringLiteral(".  Linking field(s) have been restricted from change and have been reset to "
                               "original values."));
    case StdMsg::RestrictedDelete:
        return ok(QStringLiteral("Referential Integrity Delete Error"),
                  QStringLiteral("This record is referenced from the file ") + text1 +
                      QStringLiteral(".  This record cannot be deleted while these references exist."));
    case StdMsg::InsertError:
        return ok(QStringLiteral("Record Insert Error"),
                  QStringLiteral("An error was experienced during the update of record.  Error: ") + err +
                      QStringLiteral("."));
    case StdMsg::UpdateError:
        if (errorCode == ChangedByAnotherStation)
            return ok(QStringLiteral("Update Operation Error"),
                      QStringLiteral("This record was changed by another station."));
        return ok(QStringLiteral("Update Operation Error"),
                  QStringLiteral("An error (") + err +
                      QStringLiteral(
                          ") was experienced when attempting to update a record from the file.  Probable "
                          "Cause: ") +
                      text1 + QStringLiteral("."));
    case StdMsg::RetrySave:
        return {QStringLiteral("Record Update Error"),
                QStringLiteral(
                    "An error was experienced changing this record.  Do you want to try to save again?"),
                ButtonYes | ButtonNo | ButtonCancel, ButtonCancel};
    case StdMsg::DeleteError:
        return ok(QStringLiteral("Delete Operation Error"),
                  QStringLiteral("An error (") + err +
                      QStringLiteral(") was experienced when attempting to delete a record from the file ") +
                      text1 + QStringLiteral("."));
    case StdMsg::RetryDelete:
        return {QStringLiteral("Record Update Error"),
                QStringLiteral(
                    "An error was experienced deleting this record.  Do you want to try to save again?"),
                ButtonYes | ButtonNo | ButtonCancel, ButtonCancel};
    case StdMsg::ChangeNotAllowed:
        return ok(QStringLiteral("Invalid Request"),
                  QStringLiteral(
                      "This procedure was called to change a record, however changes are not allowed for "
                      "this procedure.  Press OK to return to the calling procedure"));
    case StdMsg::DeleteNotAllowed:
        return ok(
            QStringLiteral("Invalid Request"),
            QStringLiteral("This procedure was called to delete a record, however deletions are not allowed "
                           "for this procedure.  Press OK to return to the calling procedure"));
    case StdMsg::ConfirmCancel:
        return {QStringLiteral("Update Cancelled"), QStringLiteral("Are you sure you want to cancel?"),
                ButtonYes | ButtonNo, ButtonNo};
    case StdMsg::DuplicateKey:
        return ok(QStringLiteral("Duplicate Key Error"),
                  QStringLiteral("Adding this record creates a duplicate entry for the key:") + text1);
    case StdMsg::AutoIncrementError:
        return {QStringLiteral("Auto Increment Error"),
                QStringLiteral("Attempts to automatically number this record have failed.  Error: ") + err +
                    QStringLiteral("."),
                ButtonRetry | ButtonCancel, ButtonCancel};
    case StdMsg::FileAccessError:
        return ok(QStringLiteral("File Access Error"), QStringLiteral("File (") + text1 +
                                                           QStringLiteral(") could not be opened.  Error: ") +
                                                           err + QStringLiteral("."));
    case StdMsg::ProcessError:
        if (text1 == QLatin1String("Put"))
            return ok(QStringLiteral("Process PUT Error"),
                      QStringLiteral("An error was experienced when making changes to the ") + text2 +
                          QStringLiteral(" file.  Error: ") + err);
        return ok(QStringLiteral("Process DELETE Error"),
                  QStringLiteral("An error was experienced when deleting a record from the ") + text2 +
                      QStringLiteral(" file.  Error: ") + err);
    case StdMsg::ConfirmDelete:
        return {QStringLiteral("Confirm Delete"),
                QStringLiteral(
                    "You've selected to delete the highlighted record.  Press OK to confirm deletion of "
                    "this record."),
                ButtonOk | ButtonCancel, ButtonCancel};
    case StdMsg::FramingError:
        return ok(QStringLiteral("Transaction Framing Error"),
                  QStringLiteral("Error: (") + err + QStringLiteral(") attempting to frame the ") +
                      text1.toLower() + QStringLiteral(" transaction on ") + text2 + QStringLiteral(".  ") +
                      text1 + QStringLiteral(" transaction cancelled."));
    case StdMsg::RetrievalError:
        return ok(QStringLiteral("Record Retrieval Error"),
                  QStringLiteral("Error: (") + err +
                      QStringLiteral(") attempting to access a record from the ") + text1 +
                      QStringLiteral(" file.  Returning to previous window."));
    case StdMsg::ViewOpenError:
        return ok(
            QStringLiteral("View Open Error"),
            QStringLiteral("Error: (") + err +
                QStringLiteral(") attempting to open the current VIEW.\nFilter and Range Limits ignored.\n\n"
                               "Related File: ") +
                errorFile);
    case StdMsg::RecordNotUpdated:
        return ok(
            QStringLiteral("Record Was Not Updated"),
            QStringLiteral("This record was changed by another station. Those changes will now be displayed. "
                           "Use the Ditto Button or Ctrl+' to recall your changes."));
    default:
        return {QString(), QString(), ButtonOk, ButtonOk};
    }
}

QString standardMessageStopText(StdMsg number) {
    switch (number) {
    case StdMsg::InvalidFile:
        return QStringLiteral("Invalid File!");
    case StdMsg::InvalidKey:
        return QStringLiteral("Invalid Key!");
    case StdMsg::KeyRebuildError:
        return QStringLiteral("Error Rebuilding Key!");
    case StdMsg::FileCreationError:
    case StdMsg::CreatedFileOpenError:
        return QStringLiteral("File Creation Error!");
    case StdMsg::FileAccessError:
        return QStringLiteral("Disk Error");
    default:
        return QString();
    }
}

} // namespace srk
