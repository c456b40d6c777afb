#include "cd/CdSerialNumber.h"

#include "cd/DiscTime.h"

#include <QStringList>

namespace srk {

namespace {
constexpr int SerialWidth = 24;

QString withoutTrailingBlanks(QString text) {
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}
}  // namespace

QString CdSerialNumber(const MciSender& send, int* trackCount) {
    send(QStringLiteral("set cdaudio time format tmsf"), 0);
    const int tracks = mciReplyNumber(send(QStringLiteral("status cdaudio number of tracks"), 0));
    if (trackCount)
        *trackCount = tracks;
    QString serial = QStringLiteral("%1").arg(tracks, 2, 10, QLatin1Char(' '));
    QStringList lengths = {QStringLiteral("status cdaudio length"), QStringLiteral("status cdaudio length track 1")};
    for (int n = 2; n <= 3 && n <= tracks; ++n)
        lengths << QStringLiteral("status cdaudio length track %1").arg(n);
    for (const QString& command : std::as_const(lengths))
        serial = withoutTrailingBlanks(serial) + QString::number(ConvertDiscTime(send(command, 0)));
    return serial.left(SerialWidth);
}

}  // namespace srk
