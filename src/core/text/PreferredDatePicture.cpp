#include "text/PreferredDatePicture.h"

namespace srk {

QString applyPreferredDatePicture(const QString& formatText, const QString& preference) {
    QString clipped = preference.trimmed();
    if (clipped.startsWith(u'@')) // tolerate a preference stored with its "@"
        clipped = clipped.mid(1).trimmed();
    if (clipped.isEmpty())
        return formatText;
    QString out = formatText;
    qsizetype from = 0;
    while (true) {
        const qsizetype at = out.indexOf(QLatin1String("@D"), from, Qt::CaseInsensitive);
        if (at < 0)
            break;
        qsizetype close = out.indexOf(u'@', at + 1);
        if (close < 0)
            close = out.size();
        out.replace(at + 1, close - at - 1, clipped);
        // Resume after the closing "@": it ends this picture, it does not open one.
        from = at + 1 + clipped.size() + 1;
    }
    return out;
}

} // namespace srk
