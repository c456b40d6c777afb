#include "cd/PlayerTimeText.h"

namespace srk {

QString PlayerTimeText(qint64 hundredths) {
    if (hundredths <= 0)
        return QString();
    const qint64 seconds = hundredths / 100;
    QString text = QStringLiteral("%1:%2:%3")
                       .arg(seconds / 3600)
                       .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                       .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    while (text.size() > 4 && (text.front() == QLatin1Char('0') || text.front() == QLatin1Char(':')))
        text.remove(0, 1);
    return text;
}

}  // namespace srk
