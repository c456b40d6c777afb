#include "text/DateTimeText.h"

#include "text/DayNumber.h"

#include <QDate>
#include <QLocale>
#include <QStringList>
#include <QTime>

#include <utility>
#include <vector>

namespace srk {

namespace {

const char* const kMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                     "July",    "August",   "September", "October", "November", "December"};

// ---------------------------------------------------------------- dates

QString twoDigits(int n) {
    if (n < 0 || n > 99)
        return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
    // Reports and exports format a date or time per line: no argument parsing for the usual case.
    const QChar digits[2] = {QChar(u'0' + n / 10), QChar(u'0' + n % 10)};
    return QString(digits, 2);
}

QString monthName(int month) {
    return QString::fromLatin1(kMonthNames[month - 1]);
}

QString monthAbbreviation(int month) {
    return monthName(month).left(3).toUpper();
}

// Qt date format with its "/"-like separators between fields replaced.
QString withSeparator(const QString& fmt, QChar separator) {
    if (separator.isNull())
        return fmt;
    QString out = fmt;
    bool quoted = false;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out.at(i);
        if (c == u'\'') {
            quoted = !quoted;
            continue;
        }
        if (quoted || (c != u'/' && c != u'.' && c != u'-'))
            continue;
        const bool fieldBefore = i > 0 && out.at(i - 1).isLetter();
        const bool fieldAfter = i + 1 < out.size() && out.at(i + 1).isLetter();
        if (fieldBefore && fieldAfter)
            out[i] = separator;
    }
    return out;
}

// Appends n in two digits (more when it needs them).
void appendTwoDigits(QString& out, int n) {
    if (n >= 0 && n <= 99) {
        out.append(QChar(u'0' + n / 10));
        out.append(QChar(u'0' + n % 10));
    } else {
        out.append(twoDigits(n));
    }
}

// The locale's date formats, looked up once per locale (exports format a date on every line).
const QString& localeDateFormat(const QLocale& locale, QLocale::FormatType type) {
    thread_local QLocale cached = QLocale::c();
    thread_local QString shortFormat, longFormat;
    thread_local bool ready = false;
    if (!ready || locale != cached) {
        shortFormat = locale.dateFormat(QLocale::ShortFormat);
        longFormat = locale.dateFormat(QLocale::LongFormat);
        cached = locale;
        ready = true;
    }
    return type == QLocale::ShortFormat ? shortFormat : longFormat;
}

QString formatDateLayout(qint64 dayNumber, int layout, QChar separator) {
    const QDate date = dateFromDayNumber(dayNumber);
    if (!date.isValid())
        return {}; // no date, whether or not "b" was given
    const QChar sep = separator.isNull() ? QChar(u'/') : separator;
    const int y = date.year();
    const int m = date.month();
    const int d = date.day();
    // Built in one piece rather than joined from parts.
    QString out;
    out.reserve(24);
    const auto yy = [&] { appendTwoDigits(out, y % 100); };
    const auto yyyy = [&] { out.append(QString::number(y)); };
    const auto two = [&](int n) { appendTwoDigits(out, n); };
    switch (layout) {
    case 1:
        two(m), out.append(sep), two(d), out.append(sep), yy();
        return out;
    case 2:
        two(m), out.append(sep), two(d), out.append(sep), yyyy();
        return out;
    case 3:
        out.append(monthAbbreviation(m)), out.append(u' '), two(d), out.append(u','), yyyy();
        return out;
    case 4:
        out.append(monthName(m)), out.append(u' '), out.append(QString::number(d)), out.append(u", "), yyyy();
        return out;
    case 5:
        two(d), out.append(sep), two(m), out.append(sep), yy();
        return out;
    case 6:
        two(d), out.append(sep), two(m), out.append(sep), yyyy();
        return out;
    case 7:
        two(d), out.append(u' '), out.append(monthAbbreviation(m)), out.append(u' '), yy();
        return out;
    case 8:
        two(d), out.append(u' '), out.append(monthAbbreviation(m)), out.append(u' '), yyyy();
        return out;
    case 13:
        two(m), out.append(sep), yy();
        return out;
    case 14:
        two(m), out.append(sep), yyyy();
        return out;
    case 15:
        yy(), out.append(sep), two(m);
        return out;
    case 16:
        yyyy(), out.append(sep), two(m);
        return out;
    case 17: {
        const QLocale locale;
        return locale.toString(date, withSeparator(localeDateFormat(locale, QLocale::ShortFormat), separator));
    }
    case 18: {
        const QLocale locale;
        return locale.toString(date, localeDateFormat(locale, QLocale::LongFormat));
    }
    default:
        return {};
    }
}

struct DateLayoutInfo {
    QString order;           // fields in reading order: 'M', 'D', 'Y'
    QStringList ignoreWords; // literal words of a locale format
};

// Field order and literal words of a Qt date format ("dddd, MMMM d, yyyy").
DateLayoutInfo describeQtDateFormat(const QString& fmt) {
    DateLayoutInfo info;
    QString literal;
    bool quoted = false;
    for (qsizetype i = 0; i < fmt.size();) {
        const QChar c = fmt.at(i);
        if (c == u'\'') {
            if (quoted && !literal.isEmpty()) {
                info.ignoreWords += literal.split(u' ', Qt::SkipEmptyParts);
                literal.clear();
            }
            quoted = !quoted;
            ++i;
            continue;
        }
        if (quoted) {
            literal.append(c);
            ++i;
            continue;
        }
        qsizetype run = 1;
        while (i + run < fmt.size() && fmt.at(i + run) == c)
            ++run;
        QChar field;
        if (c == u'd' && run <= 2)
            field = u'D';
        else if (c == u'M')
            field = u'M';
        else if (c == u'y')
            field = u'Y';
        if (!field.isNull() && !info.order.contains(field))
            info.order.append(field);
        i += run;
    }
    return info;
}

DateLayoutInfo dateLayoutInfo(int layout) {
    switch (layout) {
    case 1:
    case 2:
    case 3:
    case 4:
        return {QStringLiteral("MDY"), {}};
    case 5:
    case 6:
    case 7:
    case 8:
        return {QStringLiteral("DMY"), {}};
    case 13:
    case 14:
        return {QStringLiteral("MY"), {}};
    case 15:
    case 16:
        return {QStringLiteral("YM"), {}};
    case 17:
    case 18: {
        // Imports read a date per line: the locale's formats are described once per locale.
        thread_local QLocale described = QLocale::c();
        thread_local DateLayoutInfo shortInfo, longInfo;
        thread_local bool ready = false;
        const QLocale locale;
        if (!ready || locale != described) {
            shortInfo = describeQtDateFormat(locale.dateFormat(QLocale::ShortFormat));
            longInfo = describeQtDateFormat(locale.dateFormat(QLocale::LongFormat));
            described = locale;
            ready = true;
        }
        return layout == 17 ? shortInfo : longInfo;
    }
    default:
        return {};
    }
}

// Month 1-12 for an English or locale month name, or a prefix of at least
// three letters of one ("Sept"); 0 otherwise.
int monthFromWord(const QString& word) {
    // The folded names of each month, made once per locale (imports read a date per line).
    thread_local QLocale named = QLocale::c();
    thread_local std::vector<std::vector<QString>> months;
    const QLocale locale;
    if (months.empty() || locale != named) {
        months.assign(13, {});
        for (int m = 1; m <= 12; ++m) {
            const QString names[] = {monthName(m), locale.monthName(m, QLocale::LongFormat),
                                     locale.monthName(m, QLocale::ShortFormat),
                                     locale.standaloneMonthName(m, QLocale::LongFormat),
                                     locale.standaloneMonthName(m, QLocale::ShortFormat)};
            for (const QString& name : names) {
                QString folded = name.toCaseFolded();
                if (folded.endsWith(u'.'))
                    folded.chop(1);
                if (!folded.isEmpty())
                    months[m].push_back(folded);
            }
        }
        named = locale;
    }
    const QString w = word.toCaseFolded();
    for (int m = 1; m <= 12; ++m)
        for (const QString& folded : months[m])
            if (w == folded || (w.size() >= 3 && folded.startsWith(w)))
                return m;
    return 0;
}

bool isWeekdayWord(const QString& word) {
    const QLocale locale;
    static const char* const englishDays[] = {"monday", "tuesday",  "wednesday", "thursday",
                                              "friday", "saturday", "sunday"};
    const QString w = word.toCaseFolded();
    for (int d = 1; d <= 7; ++d) {
        const QString english = QString::fromLatin1(englishDays[d - 1]);
        const QString names[] = {english, english.left(3),
                                 locale.dayName(d, QLocale::LongFormat).toCaseFolded(),
                                 locale.dayName(d, QLocale::ShortFormat).toCaseFolded()};
        for (const QString& name : names)
            if (!name.isEmpty() && w == name)
                return true;
    }
    return false;
}

struct Token {
    bool digits = false;
    QString text;
};

std::vector<Token> tokenize(const QString& text) {
    std::vector<Token> tokens;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text.at(i);
        const bool digit = c >= u'0' && c <= u'9';
        if (!digit && !c.isLetter()) {
            ++i;
            continue;
        }
        Token t;
        t.digits = digit;
        const qsizetype start = i;
        while (i < text.size()) {
            const QChar d = text.at(i);
            const bool isDigit = d >= u'0' && d <= u'9';
            if (digit ? !isDigit : !(d.isLetter() || d.isMark()))
                break;
            ++i;
        }
        // Taken whole: an import reads a date or a time on every line.
        t.text = text.mid(start, i - start);
        tokens.push_back(std::move(t));
    }
    return tokens;
}

qint32 readDate(const QString& text, int layout) {
    // A blank date (most of an import's) is no date whatever the layout.
    const std::vector<Token> tokens = tokenize(text);
    if (tokens.empty())
        return 0;
    const DateLayoutInfo info = dateLayoutInfo(layout);
    if (info.order.isEmpty())
        return 0;
    int month = 0;
    QStringList numbers;
    for (const Token& t : tokens) {
        if (t.digits) {
            numbers.append(t.text);
            continue;
        }
        const int m = monthFromWord(t.text);
        if (m > 0 && month == 0) {
            month = m;
            continue;
        }
        const bool ignorable =
            isWeekdayWord(t.text) || info.ignoreWords.contains(t.text, Qt::CaseInsensitive);
        if (!ignorable)
            return 0;
    }
    if (numbers.isEmpty())
        return 0;

    QString order = info.order;
    if (month > 0)
        order.remove(u'M');

    // "103159" typed without separators: split by the layout's field widths.
    if (numbers.size() == 1 && order.size() > 1) {
        const QString run = numbers.first();
        const qsizetype fixed = 2 * (order.size() - 1);
        const qsizetype yearWidth = run.size() - fixed;
        if (yearWidth != 2 && yearWidth != 4)
            return 0;
        numbers.clear();
        qsizetype pos = 0;
        for (const QChar field : order) {
            const qsizetype w = field == u'Y' ? yearWidth : 2;
            numbers.append(run.mid(pos, w));
            pos += w;
        }
    }
    if (numbers.size() != order.size())
        return 0;

    int day = 1;
    int year = 0;
    for (qsizetype i = 0; i < order.size(); ++i) {
        const QString& digits = numbers.at(i);
        if (digits.size() > 4)
            return 0;
        const int n = digits.toInt();
        switch (order.at(i).unicode()) {
        case u'D':
            day = n;
            break;
        case u'M':
            month = n;
            break;
        case u'Y':
            year = digits.size() <= 2 ? expandTwoDigitYear(n, QDate::currentDate().year()) : n;
            break;
        default:
            break;
        }
    }
    if (!order.contains(u'Y'))
        return 0;
    return dayNumberFromDate(QDate(year, month, day));
}

// ---------------------------------------------------------------- times

// Stored times carry no zone, so a locale's "t" field would only mislead.
QString withoutTimeZone(const QString& fmt) {
    QString out;
    bool quoted = false;
    for (const QChar c : fmt) {
        if (c == u'\'')
            quoted = !quoted;
        if (quoted || c != u't')
            out.append(c);
    }
    return out.trimmed();
}

QString formatTimeLayout(qint64 value, int layout) {
    if (value < 0)
        return {};
    TimeParts parts = timeParts(value);
    if (!parts.valid)
        parts = TimeParts{true, 0, 0, 0, 0}; // no time without "b" shows as midnight
    const int h24 = parts.hours % 24;
    // The 24-hour layouts, one on every line of an export, are built in one piece.
    if (layout == 1 || layout == 2 || layout == 4 || layout == 5) {
        const bool colons = layout == 1 || layout == 4;
        const bool seconds = layout == 4 || layout == 5;
        QString out;
        out.reserve(8);
        appendTwoDigits(out, parts.hours);
        if (colons)
            out.append(u':');
        appendTwoDigits(out, parts.minutes);
        if (seconds) {
            if (colons)
                out.append(u':');
            appendTwoDigits(out, parts.seconds);
        }
        return out;
    }
    const QString sep = QStringLiteral(":");
    const QString h12 = twoDigits(h24 % 12 == 0 ? 12 : h24 % 12);
    const QString xm = h24 < 12 ? QStringLiteral("AM") : QStringLiteral("PM");
    const QString hh = twoDigits(parts.hours);
    const QString mm = twoDigits(parts.minutes);
    const QString ss = twoDigits(parts.seconds);
    switch (layout) {
    case 1:
        return hh + sep + mm;
    case 2:
        return hh + mm;
    case 3:
        return h12 + sep + mm + xm;
    case 4:
        return hh + sep + mm + sep + ss;
    case 5:
        return hh + mm + ss;
    case 6:
        return h12 + sep + mm + sep + ss + xm;
    case 7:
    case 8: {
        const QLocale locale;
        const QTime time(h24, parts.minutes, parts.seconds, parts.hundredths * 10);
        const QString fmt = locale.timeFormat(layout == 7 ? QLocale::ShortFormat : QLocale::LongFormat);
        return locale.toString(time, withoutTimeZone(fmt));
    }
    default:
        return {};
    }
}

// The characters that may stand between two numbers of a typed time: ":" and "." always, and the
// separators of the locale's own time formats ("14.30" in some).
bool isTimeSeparator(QChar c, const QLocale& locale) {
    if (c == u':' || c == u'.')
        return true;
    if (c.isLetterOrNumber() || c.isSpace() || c == u'\'')
        return false;
    return locale.timeFormat(QLocale::ShortFormat).contains(c) || locale.timeFormat(QLocale::LongFormat).contains(c);
}

// Splits a typed time into its numbers and what follows them (an AM/PM word, or junk). Numbers are
// separated by exactly one separator, blanks allowed around it; anything else between them fails.
bool splitTimeNumbers(const QString& text, QStringList& numbers, QString& tail) {
    const QLocale locale;
    const QString s = text.trimmed();
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < s.size() && s.at(i).isSpace())
            ++i;
    };
    for (;;) {
        const qsizetype from = i;
        while (i < s.size() && s.at(i) >= u'0' && s.at(i) <= u'9')
            ++i;
        if (i == from)
            return false;
        numbers.append(s.mid(from, i - from));
        const qsizetype afterNumber = i;
        skipBlanks();
        if (i < s.size() && isTimeSeparator(s.at(i), locale)) {
            ++i;
            skipBlanks();
            continue;
        }
        i = afterNumber;
        break;
    }
    tail = s.mid(i).trimmed();
    return true;
}

// layout: the picture's time layout; the run-together ones (2 "hhmm", 5 "hhmmss") read a run at least
// as long as their own text with the minutes (and seconds) last and all before them as hours.
qint32 readTime(const QString& text, int layout) {
    const QLocale locale;
    int meridiem = 0; // 1 AM, 2 PM
    QStringList numbers;
    QString tail;
    if (!splitTimeNumbers(text, numbers, tail))
        return 0;
    if (!tail.isEmpty()) {
        const QString w = tail.toCaseFolded();
        if (w == QStringLiteral("a") || w == QStringLiteral("am") || w == locale.amText().toCaseFolded())
            meridiem = 1;
        else if (w == QStringLiteral("p") || w == QStringLiteral("pm") || w == locale.pmText().toCaseFolded())
            meridiem = 2;
        else
            return 0; // time zones and the like are not ours to read
    }
    // "1140" or "114046" typed without separators.
    if (numbers.size() == 1 && numbers.first().size() > 2) {
        const QString run = numbers.first();
        const qsizetype lastWidth = layout == 2 ? 2 : layout == 5 ? 4 : 0;
        if (lastWidth > 0 && run.size() >= lastWidth + 2) {
            numbers = {run.left(run.size() - lastWidth)};
        } else {
            if (run.size() > 6)
                return 0;
            const qsizetype hourWidth = run.size() % 2 == 1 ? 1 : 2;
            numbers = {run.left(hourWidth)};
        }
        for (qsizetype pos = numbers.first().size(); pos < run.size(); pos += 2)
            numbers.append(run.mid(pos, 2));
    }
    if (numbers.size() > 4)
        return 0;
    int parts[4] = {0, 0, 0, 0};
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        QString digits = numbers.at(i);
        if (i == 3) // a fraction of a second: ".5" is fifty hundredths
            digits = (digits + QStringLiteral("00")).left(2);
        if (digits.size() > 4)
            return 0;
        parts[i] = digits.toInt();
    }
    int hours = parts[0];
    if (meridiem != 0) {
        if (hours < 1 || hours > 12)
            return 0;
        if (meridiem == 2 && hours < 12)
            hours += 12;
        else if (meridiem == 1 && hours == 12)
            hours = 0;
    }
    return timeValue(hours, parts[1], parts[2], parts[3]);
}

} // namespace

bool isDateLayout(int layout) {
    return (layout >= 1 && layout <= 8) || (layout >= 13 && layout <= 18);
}

bool isTimeLayout(int layout) {
    return layout >= 1 && layout <= 8;
}

QString dateText(qint64 dayNumber, int layout, QChar separator) {
    return formatDateLayout(dayNumber, layout, separator);
}

qint32 dayNumberFromText(const QString& text, int layout) {
    return readDate(text, layout);
}

QString timeText(qint64 timeValue, int layout) {
    return formatTimeLayout(timeValue, layout);
}

qint32 timeValueFromText(const QString& text, int layout) {
    return readTime(text, layout);
}

} // namespace srk
