#include "cd/DiscTime.h"

namespace srk {

namespace {
int number(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 0;
}
}  // namespace

int mciReplyNumber(const QString& reply) { return number(reply); }

qint32 ConvertDiscTime(const QString& reply) {
    int minutes = number(reply.mid(0, 2));
    int seconds = number(reply.mid(3, 2));
    if (reply.mid(6, 2) == QLatin1String("99"))
        ++seconds;
    if (seconds >= 60) {
        seconds -= 60;
        ++minutes;
    }
    int hours = 0;
    if (minutes > 59) {
        hours = 1;
        minutes -= 60;
    }
    return (hours * 3600 + minutes * 60 + seconds) * 100 + 1;
}

QString FormatMinutesSeconds(qint32 time) {
    if (time == 0)
        return QStringLiteral("     ");
    const qint64 seconds = (qint64(time) - 1) / 100;
    return QStringLiteral("%1:%2")
        .arg(seconds / 60, 2, 10, QLatin1Char(' '))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace srk
