#include "cd/CdDeviceChoice.h"

#include "cd/DeviceDrive.h"
#include "cd/ImageDrive.h"

namespace srk {

namespace {
QString& option() {
    static QString value;
    return value;
}
QString& preference() {
    static QString value;
    return value;
}
const QLatin1StringView optionName("--cd-device");
}  // namespace

void setCdDeviceOption(const QString& path) { option() = path.trimmed(); }

void setCdDevicePreference(const QString& path) { preference() = path.trimmed(); }

QString chosenCdDevice() { return !option().isEmpty() ? option() : preference(); }

bool takeCdDeviceArgument(QStringList& arguments, QString& errorText) {
    for (int i = 0; i < arguments.size();) {
        QString value;
        if (arguments[i] == optionName) {
            if (i + 1 >= arguments.size() || arguments[i + 1].trimmed().isEmpty()) {
                errorText = QStringLiteral("--cd-device needs a device or disc image path");
                return false;
            }
            value = arguments[i + 1];
            arguments.remove(i, 2);
        } else if (arguments[i].startsWith(optionName + QLatin1Char('='))) {
            value = arguments[i].mid(optionName.size() + 1);
            arguments.remove(i);
            // A blank path from an unset variable must not quietly mean the default drive.
            if (value.trimmed().isEmpty()) {
                errorText = QStringLiteral("--cd-device needs a device or disc image path");
                return false;
            }
        } else {
            ++i;
            continue;
        }
        setCdDeviceOption(value);
    }
    return true;
}

std::unique_ptr<CdDrive> makeCdDrive(const QString& path) {
    if (isDiscImagePath(path))
        return std::make_unique<ImageDrive>(path);
    return std::make_unique<DeviceDrive>(path);
}

}  // namespace srk
