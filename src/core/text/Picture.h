#pragma once

// Display pictures: the short "@" texts that turn stored values into
// characters and back, for lists, entry fields, reports and CSV files.
//
//   "@s"n            text, cut to n characters (code points, as the store counts;
//                    combining marks stay with their letter)
//   "@n"[-][_]n[.d][b] number in n characters with d decimals; "_" drops the
//                    thousands grouping, "b" shows zero as blank
//   "@d"k[sep][b]    date in layout k (1-8, 13-18); sep replaces "/"
//   "@t"k[b]         time in layout k (1-8)
//   "@p"pattern"p"[b] "#" digit, "<" digit blanked while a leading zero
//
// The type letter is case-insensitive and a missing leading "@" is tolerated
// ("T4", "d17"), since report columns name pictures that way.
//
// Malformed pictures never fail: format() gives the value as plain text and
// deformat() gives the text back unchanged (as a QString).
//
// format() returns the text without padding to the width; lists and reports
// justify it themselves. Choices where the picture says nothing:
// - a number too wide for its field shows as "#" repeated width times; when
//   only the "," grouping makes it too wide, it shows ungrouped ("@n4b" 1985
//   is "1985");
// - a negative number keeps its "-" even without the "-" in the picture, and
//   deformat() reads a leading "-" either way: a shown value never lies;
// - a date with no calendar day (0, negative, past 9999) is blank, "b" or not;
// - a zero time without "b" shows as midnight ("00:00:00");
// - a pattern has no place for a sign: negative numbers fill its digit
//   places with "#", as numbers with too many digits do.
//
// Date and time layouts are described in DateTimeText.h. Layouts 17 and 18
// (dates) and 7 and 8 (times) follow the default QLocale; the program sets
// that to the system locale when it starts.

#include <QChar>
#include <QString>
#include <QVariant>

namespace srk {

enum class PictureKind { Invalid, Text, Number, Date, Time, Pattern };

struct Picture {
    PictureKind kind = PictureKind::Invalid;
    int width = 0;          // Text: characters kept; Number: field width
    int decimals = 0;       // Number
    bool allowSign = false; // Number: "-" given
    bool grouping = true;   // Number: false with the "_" fill
    bool blankZero = false; // all but Text: trailing "b"
    int layout = 0;         // Date and Time
    QChar separator;        // Date: replaces "/" when not null
    QString pattern;        // Pattern: the text between "@p" and the closing "p"

    bool isValid() const { return kind != PictureKind::Invalid; }
};

Picture parsePicture(const QString& picture);

// Numbers may be given as integers, doubles or numeric text ("1,234.5");
// dates as day numbers or QDate; times as time values or QTime.
// Numbers that do not fit the width show as "#" repeated width times.
QString format(const QVariant& value, const QString& picture);
QString format(const QVariant& value, const Picture& picture);

// qint64 for numbers without decimals, dates (day number) and times (time
// value); double for numbers with decimals; QString for text pictures.
// Text that does not fit the picture gives 0.
QVariant deformat(const QString& text, const QString& picture);
QVariant deformat(const QString& text, const Picture& picture);

// The second character, upper-cased (null when there is none). Import and
// export decide on it alone: 'S' text, 'N' number, anything else formatted.
QChar pictureType(const QString& picture);

} // namespace srk
