#include "text/TypedEntry.h"

#include "text/DateTimeText.h"
#include "text/DayNumber.h"
#include "text/Picture.h"

namespace srk {

std::optional<qint64> readTimeEntry(const QString& text) {
    const QString typed = text.trimmed();
    if (typed.isEmpty())
        return qint64(kNoTime);
    const qint32 value = timeValueFromText(typed);
    if (value == kNoTime)
        return std::nullopt;
    return qint64(value);
}

QString dateEntryTitle() {
    return QStringLiteral("Invalid Date");
}

QString dateEntryText(const QString& typed, const QString& picture, bool yearAllowed) {
    const Picture pic = parsePicture(picture);
    const QString example =
        pic.kind == PictureKind::Date ? format(dayNumberFromDate(QDate(1959, 10, 31)), pic) : QString();
    QString text = QStringLiteral("\"%1\" is not a date.").arg(typed.trimmed());
    if (!example.isEmpty() && yearAllowed)
        text += QStringLiteral(" Type a date such as %1 or a year such as 1959").arg(example);
    else if (!example.isEmpty())
        text += QStringLiteral(" Type a date such as %1").arg(example);
    else
        text += QStringLiteral(" Type a year such as 1959");
    return text + QStringLiteral(", or leave the field empty.");
}

QString timeEntryTitle() {
    return QStringLiteral("Invalid Time");
}

QString timeEntryText(const QString& typed, const QString& picture) {
    const QString example = format(timeValue(0, 3, 45), picture);
    return QStringLiteral("\"%1\" is not a time. Type a time such as %2, or leave the field empty.")
        .arg(typed.trimmed(), example.isEmpty() ? QStringLiteral("00:03:45") : example);
}

} // namespace srk
