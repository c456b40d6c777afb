#include "cd/SendMciCommand.h"

#include "cd/CdDeviceChoice.h"
#include "cd/MciErrors.h"

namespace srk {

namespace {
// The command and reply buffers of the media-control interface hold 99 and 127 characters.
constexpr int CommandLength = 99;
constexpr int ReplyLength = 127;
}  // namespace

MciInterpreter& mciInterpreter() {
    static MciInterpreter interpreter([] { return makeCdDrive(chosenCdDevice()); });
    return interpreter;
}

QString SendMciCommand(const QString& text, int askMode) {
    const QString command = askMode ? QStringLiteral("status cdaudio mode") : text.left(CommandLength);
    QString reply;
    const int error = mciInterpreter().execute(command, reply);
    if (error == MciError::DeviceOpen)
        return QStringLiteral("Error:1");
    if (error != MciError::None)
        return QStringLiteral("Error:") + QString::number(error);
    reply.truncate(ReplyLength);
    if (reply == QLatin1String("true"))
        return QStringLiteral("1");
    if (reply == QLatin1String("false"))
        return QString();
    return reply;
}

}  // namespace srk
