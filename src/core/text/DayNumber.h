#pragma once

// Stored forms of dates and times.
//
// A date is a day number: day 0 is 28 December 1800, zero means "no date".
// The calendar we show runs from 29 December 1800 (day 1) to 31 December 9999;
// day numbers outside that range (negative ones too) have no date.
//
// A time is hundredths of a second since midnight plus one: 1 is midnight,
// zero means "no time". Song durations use the same form, so the hours of a
// time value may run past 23.

#include <QDate>
#include <QTime>
#include <QtGlobal>

namespace srk {

inline constexpr qint32 kNoDate = 0;
inline constexpr qint32 kNoTime = 0;

// Day numbers of the first and last showable dates (29 December 1800, 31 December 9999).
qint32 firstDayNumber();
qint32 lastDayNumber();

// Invalid QDate for zero or any day number outside the showable range.
QDate dateFromDayNumber(qint64 dayNumber);

// kNoDate for an invalid date or one outside the showable range.
qint32 dayNumberFromDate(const QDate& date);

qint32 todayDayNumber();

// Release dates below 3000 hold a year only, not a day number; zero is no date.
bool isBareYear(qint64 releaseDate);

// The year a release date stands for: a bare year as it is, a day number's
// calendar year, 0 when there is neither.
int releaseYear(qint64 releaseDate);

// Years typed with one or two digits land in the hundred years that end
// twenty years after referenceYear.
int expandTwoDigitYear(int twoDigitYear, int referenceYear);

struct TimeParts {
    bool valid = false; // false for kNoTime and for negative values
    int hours = 0;      // may exceed 23 for durations
    int minutes = 0;
    int seconds = 0;
    int hundredths = 0;
};

TimeParts timeParts(qint64 timeValue);

// kNoTime when a part is out of range (minutes/seconds 0..59, hundredths 0..99,
// hours 0..5000) — the result must fit the 32-bit stored form.
qint32 timeValue(int hours, int minutes, int seconds, int hundredths = 0);

// Wall-clock conversions: hours wrap at 24 going to QTime.
QTime qTimeFromTimeValue(qint64 timeValue);
qint32 timeValueFromQTime(const QTime& time);

qint32 currentTimeValue();

} // namespace srk
