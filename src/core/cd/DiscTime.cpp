#include "cd/DiscTime.h"

namespace srk {

QString FormatMinutesSeconds(qint64 time) {
    if (time <= 0)
        return QString(5, QLatin1Char(' '));
    const qint64 seconds = (time - 1) / 100;
    return QStringLiteral("%1:%2")
        .arg(seconds / 60, 2, 10, QLatin1Char(' '))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace srk
