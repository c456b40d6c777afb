#include "store/ErrorCode.h"

namespace srk {

QString errorCodeText(int code) {
    switch (code) {
    case NoError: return QString();
    case FileNotFound: return QStringLiteral("File Not Found");
    case FileLocked: return QStringLiteral("File Is Already Locked");
    case RecordNotAvailable: return QStringLiteral("Record Not Available");
    case RecordNotFound: return QStringLiteral("Record Not Found");
    case InvalidDataFile: return QStringLiteral("Invalid Data File");
    case DuplicateKey: return QStringLiteral("Creates Duplicate Key");
    case KeysMustBeRebuilt: return QStringLiteral("Key Files Must Be Rebuilt");
    case LayoutDiffers: return QStringLiteral("Record Declaration Differs From File");
    case FileAlreadyOpen: return QStringLiteral("File Already Open");
    case DriverFault: return QStringLiteral("Invalid Key Or Driver Fault");
    case ChangedByAnotherStation: return QStringLiteral("Record Changed By Another Station");
    case DriverError: return QStringLiteral("File System Error");
    default: return QStringLiteral("Unknown Error");
    }
}

QString StoreError::displayText() const {
    if (code == DriverError)
        return QStringLiteral("%1 (%2)").arg(driverMessage).arg(driverCode);
    return QStringLiteral("%1 (%2)").arg(text.isEmpty() ? errorCodeText(code) : text).arg(code);
}

}  // namespace srk
