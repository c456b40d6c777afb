#pragma once

#include "access/MessageService.h"

namespace srk {

// The catalogue's message numbers, kept as the values stored answers and scripts know them by.
enum class StdMsg {
    InvalidFile = 1,
    InvalidKey = 2,
    KeyRebuildError = 3,
    FileCreationError = 4,
    CreatedFileOpenError = 5,
    RangeError = 10,
    FieldContentsError = 11,
    RestrictedUpdate = 12,
    RestrictedDelete = 13,
    InsertError = 14,
    UpdateError = 15,
    RetrySave = 16,
    DeleteError = 17,
    RetryDelete = 18,
    ChangeNotAllowed = 20,
    DeleteNotAllowed = 21,
    ConfirmCancel = 23,
    DuplicateKey = 24,
    AutoIncrementError = 25,
    FileAccessError = 30,
    ProcessError = 31,
    ConfirmDelete = 32,
    FramingError = 34,
    RetrievalError = 35,
    ViewOpenError = 36,
    RecordNotUpdated = 38,
};

// The numbered standard messages through which record errors and the usual questions are shown.
// text1 is mostly a table label, key or field name, text2 a second text where a message needs one,
// errorText the composed error ("text (code)"). errorCode decides between the two texts of message 15
// (89 gives the changed-by-another-station text); errorFile is the file named by message 36.
// An unknown number gives a message with an empty title.
Message standardMessage(StdMsg number, const QString& text1, const QString& text2, const QString& errorText,
                        int errorCode = 0, const QString& errorFile = QString());

// The text the program stops with after a message that ends it: 1, 3, 4, 5 after OK, 2 when answered
// No, 30 ("Disk Error"). Empty for messages that do not end the program.
QString standardMessageStopText(StdMsg number);

} // namespace srk
