#include "text/DayNumber.h"

#include <limits>

namespace srk {

namespace {

constexpr int kBareYearLimit = 3000;
constexpr int kMaxTimeHours = 5000; // 5000 h in hundredths stays well inside 32 bits

qint64 julianDayOfDayZero() {
    static const qint64 jd = QDate(1800, 12, 28).toJulianDay();
    return jd;
}

} // namespace

qint32 firstDayNumber() {
    return 1; // 29 December 1800: day 0 is the only day number that is no date
}

qint32 lastDayNumber() {
    static const qint32 day = qint32(QDate(9999, 12, 31).toJulianDay() - julianDayOfDayZero());
    return day;
}

QDate dateFromDayNumber(qint64 dayNumber) {
    if (dayNumber < firstDayNumber() || dayNumber > lastDayNumber())
        return {};
    return QDate::fromJulianDay(julianDayOfDayZero() + dayNumber);
}

qint32 dayNumberFromDate(const QDate& date) {
    if (!date.isValid())
        return kNoDate;
    const qint64 day = date.toJulianDay() - julianDayOfDayZero();
    if (day < firstDayNumber() || day > lastDayNumber())
        return kNoDate;
    return qint32(day);
}

qint32 todayDayNumber() {
    return dayNumberFromDate(QDate::currentDate());
}

bool isBareYear(qint64 releaseDate) {
    return releaseDate > 0 && releaseDate < kBareYearLimit;
}

int releaseYear(qint64 releaseDate) {
    if (isBareYear(releaseDate))
        return int(releaseDate);
    const QDate date = dateFromDayNumber(releaseDate);
    return date.isValid() ? date.year() : 0;
}

int expandTwoDigitYear(int twoDigitYear, int referenceYear) {
    const int yy = ((twoDigitYear % 100) + 100) % 100;
    const int lastYear = referenceYear + 20;
    int year = lastYear - ((lastYear % 100) - yy + 100) % 100;
    return year;
}

TimeParts timeParts(qint64 timeValue) {
    TimeParts parts;
    if (timeValue <= 0)
        return parts;
    qint64 rest = timeValue - 1;
    parts.valid = true;
    parts.hundredths = int(rest % 100);
    rest /= 100;
    parts.seconds = int(rest % 60);
    rest /= 60;
    parts.minutes = int(rest % 60);
    rest /= 60;
    parts.hours = int(qMin<qint64>(rest, std::numeric_limits<int>::max()));
    return parts;
}

qint32 timeValue(int hours, int minutes, int seconds, int hundredths) {
    if (hours < 0 || hours > kMaxTimeHours || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59 ||
        hundredths < 0 || hundredths > 99)
        return kNoTime;
    return qint32(((qint64(hours) * 60 + minutes) * 60 + seconds) * 100 + hundredths + 1);
}

QTime qTimeFromTimeValue(qint64 value) {
    const TimeParts parts = timeParts(value);
    if (!parts.valid)
        return {};
    return QTime(parts.hours % 24, parts.minutes, parts.seconds, parts.hundredths * 10);
}

qint32 timeValueFromQTime(const QTime& time) {
    if (!time.isValid())
        return kNoTime;
    return timeValue(time.hour(), time.minute(), time.second(), time.msec() / 10);
}

qint32 currentTimeValue() {
    return timeValueFromQTime(QTime::currentTime());
}

} // namespace srk
