#pragma once

// Dates and times as text, in the numbered layouts of the "@d" and "@t"
// pictures.
//
// Date layouts, shown for 31 October 1959:
//   1 "10/31/59"   2 "10/31/1959"   3 "OCT 31,1959"   4 "October 31, 1959"
//   5 "31/10/59"   6 "31/10/1959"   7 "31 OCT 59"     8 "31 OCT 1959"
//  13 "10/59"     14 "10/1959"     15 "59/10"        16 "1959/10"
//  17 locale short date            18 locale long date
// Layouts 1-16 are fixed and English whatever the locale; 17 and 18 use the
// default QLocale (set to the system locale at start). A separator replaces
// the "/" of layouts 1, 2, 5, 6 and 13-16, and the "/", "." or "-" between
// two fields of the locale's short date (17); layouts 3, 4, 7, 8 and 18 have
// no "/" and ignore it.
//
// Time layouts: 1 "hh:mm", 2 "hhmm", 3 "hh:mmXM", 4 "hh:mm:ss", 5 "hhmmss",
// 6 "hh:mm:ssXM", 7 locale short time, 8 locale long time (without zone).
// Hours run past 23 in layouts 1, 2, 4 and 5 so that long durations show;
// the others wrap at midnight.

#include <QChar>
#include <QString>
#include <QtGlobal>

namespace srk {

bool isDateLayout(int layout);
bool isTimeLayout(int layout);

// Empty for no date (0), negative day numbers and those past 9999, or an unknown layout.
QString dateText(qint64 dayNumber, int layout, QChar separator = QChar());

// Reads a date typed in roughly the layout's order: any separators, month
// names (English or the locale's, or three-letter prefixes) in place of
// numbers, weekday names ignored, all digits run together ("10311959").
// One- or two-digit years fall in the window of expandTwoDigitYear() around
// the current year; month-and-year layouts give the first of the month.
// kNoDate when the text is not a valid date in the layout.
qint32 dayNumberFromText(const QString& text, int layout);

// A zero time shows as midnight; negative values show as empty text.
QString timeText(qint64 timeValue, int layout);

// Reads hours[:minutes[:seconds[.fraction]]] with an optional AM/PM, or the
// digits run together ("1140", "114046"). One separator (":", "." or the
// locale's) between numbers, blanks around it allowed; anything else is no time.
// Under the run-together layouts 2 and 5 a run as long as their text reads
// the last digits as minutes (and seconds), the rest as hours ("1000000" is
// 100:00:00 under 5); other layouts (and 0, none given) take up to six digits.
// kNoTime when it is not a time.
qint32 timeValueFromText(const QString& text, int layout = 0);

} // namespace srk
