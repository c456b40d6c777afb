#include "text/ReleaseDate.h"

#include "text/DateTimeText.h"
#include "text/DayNumber.h"

namespace srk {

namespace {

// Up to four plain digits: a year as typed. Longer runs are dates typed without separators.
std::optional<qint64> typedYear(const QString& text) {
    if (text.isEmpty() || text.size() > 4)
        return std::nullopt;
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    return text.toLongLong();
}

} // namespace

QString yearPicture() {
    return QStringLiteral("@n4b");
}

QString formatReleaseDate(const QVariant& value, const Picture& picture) {
    if (picture.kind != PictureKind::Date && picture.kind != PictureKind::Number)
        return format(value, picture);
    bool ok = false;
    const qint64 stored = value.toLongLong(&ok);
    if (!ok)
        return format(value, picture);
    if (isBareYear(stored))
        return format(stored, yearPicture());
    if (picture.kind == PictureKind::Number)
        return format(qint64(releaseYear(stored)), picture);
    return format(stored, picture);
}

QString formatReleaseDate(const QVariant& value, const QString& picture) {
    return formatReleaseDate(value, parsePicture(picture));
}

std::optional<qint64> readReleaseDate(const QString& text, const QString& picture) {
    const QString typed = text.trimmed();
    if (typed.isEmpty())
        return qint64(kNoDate);
    if (const auto year = typedYear(typed); year && (*year == 0 || isBareYear(*year)))
        return year;
    const Picture pic = parsePicture(picture);
    if (pic.kind != PictureKind::Date)
        return std::nullopt;
    const qint32 day = dayNumberFromText(typed, pic.layout);
    if (day == kNoDate)
        return std::nullopt;
    // Days before March 1809 are numbered below 3000 and would read back as years: keep the year.
    return isBareYear(day) ? qint64(dateFromDayNumber(day).year()) : qint64(day);
}

} // namespace srk
