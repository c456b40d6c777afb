#pragma once

#include <QString>

namespace srk {

// Error codes of the record store; the access layer and the messages speak these numbers.
enum ErrorCode : int {
    NoError = 0,
    FileNotFound = 2,
    FileLocked = 32,
    RecordNotAvailable = 33,  // end or start of key
    RecordNotFound = 35,
    InvalidDataFile = 36,
    DuplicateKey = 40,
    KeysMustBeRebuilt = 46,
    LayoutDiffers = 47,
    FileAlreadyOpen = 52,
    DriverFault = 88,
    ChangedByAnotherStation = 89,
    DriverError = 90,
};

// The engine's own wording for a code, without the code.
QString errorCodeText(int code);

// What went wrong last: code, text, the engine's own code and message for 90, and the file concerned.
struct StoreError {
    int code = NoError;
    QString text;
    int driverCode = 0;
    QString driverMessage;
    QString fileName;

    bool isError() const { return code != NoError; }
    // "text (code)", or for 90 "driver message (driver code)".
    QString displayText() const;
};

}  // namespace srk
