#include "text/PreferredDatePicture.h"

#include "text/ListFormat.h"
#include "text/Picture.h"

namespace srk {

namespace {

QString clippedPreference(const QString& preference) {
    QString clipped = preference.trimmed();
    if (clipped.startsWith(u'@')) // tolerate a preference stored with its "@"
        clipped = clipped.mid(1).trimmed();
    return clipped;
}

} // namespace

bool isDatePreference(const QString& preference) {
    const QString clipped = clippedPreference(preference);
    return !clipped.isEmpty() && parsePicture(u'@' + clipped).kind == PictureKind::Date;
}

QString applyPreferredDatePicture(const QString& formatText, const QString& preference,
                                  const QList<int>& releaseDateColumns) {
    const QString clipped = clippedPreference(preference);
    if (clipped.isEmpty() || isDatePreference(clipped))
        return applyPreferredDatePicture(formatText, clipped);
    ListFormat format = ListFormat::parse(formatText);
    if (!format.isValid())
        return applyPreferredDatePicture(formatText, clipped);
    for (const int column : releaseDateColumns) {
        if (column < 0 || column >= format.columnCount())
            continue;
        const QString picture = format.columns().at(column).picture.value_or(QString());
        if (picture.startsWith(QLatin1String("@D"), Qt::CaseInsensitive))
            format.setPicture(column, applyPreferredDatePicture(picture, clipped));
    }
    return format.toString();
}

QString applyPreferredDatePicture(const QString& formatText, const QString& preference) {
    const QString clipped = clippedPreference(preference);
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
