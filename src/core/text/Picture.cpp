#include "text/Picture.h"

#include "text/DateTimeText.h"
#include "text/DayNumber.h"

#include <QTextBoundaryFinder>

#include <cmath>
#include <limits>
#include <optional>

namespace srk {

namespace {

constexpr int kMaxWidth = 4096;
constexpr int kMaxDecimals = 20;

// ---------------------------------------------------------------- parsing

// Reads a run of digits at pos; nullopt when there is none or it is absurdly long.
std::optional<int> readCount(const QString& s, qsizetype& pos) {
    const qsizetype start = pos;
    while (pos < s.size() && s.at(pos).isDigit() && s.at(pos).unicode() < 128)
        ++pos;
    if (pos == start)
        return std::nullopt;
    bool ok = false;
    const int n = s.mid(start, pos - start).toInt(&ok);
    if (!ok)
        return std::nullopt;
    return n;
}

bool isB(QChar c) {
    return c == u'b' || c == u'B';
}

bool readBlankFlag(const QString& s, qsizetype& pos, Picture& pic) {
    if (pos < s.size() && isB(s.at(pos))) {
        pic.blankZero = true;
        ++pos;
    }
    return pos == s.size();
}

Picture parseText(const QString& rest) {
    Picture pic;
    qsizetype pos = 0;
    const auto width = readCount(rest, pos);
    if (!width || pos != rest.size() || *width > kMaxWidth)
        return {};
    pic.kind = PictureKind::Text;
    pic.width = *width;
    return pic;
}

Picture parseNumber(const QString& rest) {
    Picture pic;
    qsizetype pos = 0;
    // Sign and fill may come in either order; each at most once.
    for (int i = 0; i < 2 && pos < rest.size(); ++i) {
        if (rest.at(pos) == u'-' && !pic.allowSign) {
            pic.allowSign = true;
            ++pos;
        } else if (rest.at(pos) == u'_' && pic.grouping) {
            pic.grouping = false;
            ++pos;
        }
    }
    const auto width = readCount(rest, pos);
    if (!width || *width < 1 || *width > kMaxWidth)
        return {};
    pic.width = *width;
    if (pos < rest.size() && rest.at(pos) == u'.') {
        ++pos;
        const auto decimals = readCount(rest, pos);
        if (!decimals || *decimals > kMaxDecimals)
            return {};
        pic.decimals = *decimals;
    }
    if (!readBlankFlag(rest, pos, pic))
        return {};
    pic.kind = PictureKind::Number;
    return pic;
}

Picture parseDate(const QString& rest) {
    Picture pic;
    qsizetype pos = 0;
    const auto layout = readCount(rest, pos);
    if (!layout || !isDateLayout(*layout))
        return {};
    pic.layout = *layout;
    if (pos < rest.size() && !isB(rest.at(pos)) && !rest.at(pos).isLetterOrNumber()) {
        pic.separator = rest.at(pos);
        ++pos;
    }
    if (!readBlankFlag(rest, pos, pic))
        return {};
    pic.kind = PictureKind::Date;
    return pic;
}

Picture parseTime(const QString& rest) {
    Picture pic;
    qsizetype pos = 0;
    const auto layout = readCount(rest, pos);
    if (!layout || !isTimeLayout(*layout))
        return {};
    pic.layout = *layout;
    if (!readBlankFlag(rest, pos, pic))
        return {};
    pic.kind = PictureKind::Time;
    return pic;
}

Picture parsePattern(const QString& rest) {
    // The pattern ends at the last "p"; only a "b" may follow it.
    qsizetype end = rest.size() - 1;
    while (end >= 0 && rest.at(end) != u'p' && rest.at(end) != u'P')
        --end;
    if (end < 0)
        return {};
    Picture pic;
    qsizetype pos = end + 1;
    if (!readBlankFlag(rest, pos, pic))
        return {};
    pic.pattern = rest.left(end);
    if (!pic.pattern.contains(u'#') && !pic.pattern.contains(u'<'))
        return {};
    pic.kind = PictureKind::Pattern;
    return pic;
}

// ---------------------------------------------------------------- values

struct Numeric {
    bool isInteger = true;
    qint64 integer = 0;
    double real = 0.0;

    double asDouble() const { return isInteger ? double(integer) : real; }
};

// Plain number text: optional sign, digits with optional "," grouping,
// optional "." and decimals. Surrounding blanks are ignored.
std::optional<Numeric> parseNumberText(const QString& raw) {
    const QString text = raw.trimmed();
    qsizetype pos = 0;
    bool negative = false;
    if (pos < text.size() && (text.at(pos) == u'-' || text.at(pos) == u'+')) {
        negative = text.at(pos) == u'-';
        ++pos;
        while (pos < text.size() && text.at(pos) == u' ')
            ++pos;
    }
    QString intDigits;
    QString fracDigits;
    bool seenPoint = false;
    for (; pos < text.size(); ++pos) {
        const QChar c = text.at(pos);
        if (c >= u'0' && c <= u'9') {
            (seenPoint ? fracDigits : intDigits).append(c);
        } else if (c == u',' && !seenPoint && !intDigits.isEmpty()) {
            continue;
        } else if (c == u'.' && !seenPoint) {
            seenPoint = true;
        } else {
            return std::nullopt;
        }
    }
    if (intDigits.isEmpty() && fracDigits.isEmpty())
        return std::nullopt;

    Numeric n;
    if (!seenPoint || fracDigits.isEmpty()) {
        bool ok = false;
        const qint64 v = intDigits.toLongLong(&ok);
        if (ok) {
            n.integer = negative ? -v : v;
            return n;
        }
    }
    n.isInteger = false;
    bool ok = false;
    const QString clean = (intDigits.isEmpty() ? QStringLiteral("0") : intDigits) + u'.' +
                          (fracDigits.isEmpty() ? QStringLiteral("0") : fracDigits);
    n.real = clean.toDouble(&ok);
    if (!ok || !std::isfinite(n.real))
        return std::nullopt;
    if (negative)
        n.real = -n.real;
    return n;
}

Numeric numericValue(const QVariant& value) {
    Numeric n;
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Long:
        n.integer = value.toLongLong();
        return n;
    case QMetaType::ULongLong:
    case QMetaType::ULong:
        if (value.toULongLong() <= quint64(std::numeric_limits<qint64>::max())) {
            n.integer = qint64(value.toULongLong());
            return n;
        }
        n.isInteger = false;
        n.real = value.toDouble();
        return n;
    case QMetaType::Double:
    case QMetaType::Float:
        n.isInteger = false;
        n.real = value.toDouble();
        return n;
    case QMetaType::QDate:
        n.integer = dayNumberFromDate(value.toDate());
        return n;
    case QMetaType::QTime:
        n.integer = timeValueFromQTime(value.toTime());
        return n;
    default:
        break;
    }
    if (!value.isValid())
        return n;
    return parseNumberText(value.toString()).value_or(Numeric{});
}

// Whole numbers for dates, times and patterns: halves round away from zero.
std::optional<qint64> wholeValue(const Numeric& n) {
    if (n.isInteger)
        return n.integer;
    if (!std::isfinite(n.real))
        return std::nullopt;
    const double r = std::round(n.real);
    if (std::fabs(r) >= 9.2e18)
        return std::nullopt;
    return qint64(r);
}

bool allZeros(const QString& digits) {
    for (const QChar c : digits)
        if (c != u'0')
            return false;
    return true;
}

QString overflow(int width) {
    return QString(width, u'#');
}

QString groupThousands(const QString& digits) {
    QString out;
    out.reserve(digits.size() + digits.size() / 3);
    const qsizetype lead = digits.size() % 3;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (i - lead) % 3 == 0)
            out.append(u',');
        out.append(digits.at(i));
    }
    return out;
}

// Keeps n characters counted as the store counts them (code points), so a surrogate pair is one
// character; a cut that would part a letter from its combining marks keeps the marks with it.
QString cutText(const QString& text, int n) {
    qsizetype cut = 0;
    for (int chars = 0; cut < text.size() && chars < n; ++chars) {
        const bool pair =
            text.at(cut).isHighSurrogate() && cut + 1 < text.size() && text.at(cut + 1).isLowSurrogate();
        cut += pair ? 2 : 1;
    }
    if (cut >= text.size())
        return text;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    finder.setPosition(cut);
    if (cut > 0 && !finder.isAtBoundary()) {
        const qsizetype next = finder.toNextBoundary();
        cut = next < 0 ? text.size() : next;
    }
    return text.left(cut);
}

// ---------------------------------------------------------------- numbers

QString formatNumber(const Numeric& value, const Picture& pic) {
    bool negative = false;
    QString intDigits;
    QString fracDigits;
    if (value.isInteger) {
        negative = value.integer < 0;
        const quint64 magnitude = negative ? quint64(0) - quint64(value.integer) : quint64(value.integer);
        intDigits = QString::number(magnitude);
        fracDigits = QString(pic.decimals, u'0');
    } else {
        double v = value.real;
        if (!std::isfinite(v))
            return overflow(pic.width);
        // Scale first so exact halves round away from zero rather than to even.
        const double scale = std::pow(10.0, pic.decimals);
        if (std::fabs(v) * scale < 9.0e15)
            v = std::round(v * scale) / scale;
        negative = v < 0;
        const QString text = QString::number(std::fabs(v), 'f', pic.decimals);
        const qsizetype point = text.indexOf(u'.');
        intDigits = point < 0 ? text : text.left(point);
        fracDigits = point < 0 ? QString() : text.mid(point + 1);
    }
    const bool zero = allZeros(intDigits) && allZeros(fracDigits);
    if (zero) {
        if (pic.blankZero)
            return {};
        negative = false;
    }
    const QString sign = negative ? QStringLiteral("-") : QString();
    const QString tail = pic.decimals > 0 ? u'.' + fracDigits : QString();
    if (pic.grouping) {
        const QString grouped = sign + groupThousands(intDigits) + tail;
        if (grouped.size() <= pic.width)
            return grouped;
    }
    // Too narrow for the separators: the plain digits still say the truth.
    const QString plain = sign + intDigits + tail;
    return plain.size() <= pic.width ? plain : overflow(pic.width);
}

QVariant deformatNumber(const QString& text, const Picture& pic) {
    const auto parsed = parseNumberText(text);
    if (pic.decimals > 0) {
        if (!parsed)
            return 0.0;
        const double scale = std::pow(10.0, pic.decimals);
        double v = parsed->asDouble();
        if (std::fabs(v) * scale < 9.0e15)
            v = std::round(v * scale) / scale;
        return v;
    }
    if (!parsed)
        return qint64(0);
    return wholeValue(*parsed).value_or(0);
}

// ---------------------------------------------------------------- patterns

int slotCount(const QString& pattern) {
    return int(pattern.count(u'#') + pattern.count(u'<'));
}

bool isSlot(QChar c) {
    return c == u'#' || c == u'<';
}

QString formatPattern(const Numeric& value, const Picture& pic) {
    const auto whole = wholeValue(value);
    const int slots = slotCount(pic.pattern);
    QString out = pic.pattern;
    // A pattern has no room for a sign: negative numbers do not fit.
    if (!whole || *whole < 0 || QString::number(*whole).size() > slots) {
        for (qsizetype i = 0; i < out.size(); ++i)
            if (isSlot(out.at(i)))
                out[i] = u'#';
        return out;
    }
    if (*whole == 0 && pic.blankZero)
        return {};
    const QString digits = QStringLiteral("%1").arg(*whole, slots, 10, QLatin1Char('0'));
    qsizetype next = 0;
    bool leading = true;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out.at(i);
        if (!isSlot(c))
            continue;
        const QChar digit = digits.at(next++);
        leading = leading && digit == u'0';
        out[i] = (c == u'<' && leading) ? u' ' : digit;
    }
    return out;
}

qint64 deformatPattern(const QString& text, const Picture& pic) {
    const QString& pattern = pic.pattern;
    const int slots = slotCount(pattern);
    QString digits;
    // Text laid out exactly like the pattern: read the digit positions.
    bool positional = text.size() == pattern.size();
    for (qsizetype i = 0; positional && i < pattern.size(); ++i) {
        const QChar p = pattern.at(i);
        const QChar c = text.at(i);
        if (isSlot(p)) {
            if (c >= u'0' && c <= u'9')
                digits.append(c);
            else if (c != u' ')
                positional = false;
        } else if (c.toCaseFolded() != p.toCaseFolded()) {
            positional = false;
        }
    }
    if (!positional) {
        // Otherwise any digits, as long as the rest is made of the pattern's literals.
        digits.clear();
        const QString literals = pattern.toCaseFolded();
        for (const QChar c : text) {
            if (c >= u'0' && c <= u'9')
                digits.append(c);
            else if (c != u' ' && !literals.contains(c.toCaseFolded()))
                return 0;
        }
        if (digits.size() > slots)
            return 0;
    }
    return digits.isEmpty() ? 0 : digits.toLongLong();
}

} // namespace

// ---------------------------------------------------------------- public

Picture parsePicture(const QString& picture) {
    QString p = picture.trimmed();
    if (p.startsWith(u'@'))
        p.remove(0, 1);
    if (p.isEmpty())
        return {};
    const QString rest = p.mid(1);
    switch (p.at(0).toUpper().unicode()) {
    case u'S':
        return parseText(rest);
    case u'N':
        return parseNumber(rest);
    case u'D':
        return parseDate(rest);
    case u'T':
        return parseTime(rest);
    case u'P':
        return parsePattern(rest);
    default:
        return {};
    }
}

QString format(const QVariant& value, const QString& picture) {
    return format(value, parsePicture(picture));
}

QString format(const QVariant& value, const Picture& pic) {
    switch (pic.kind) {
    case PictureKind::Invalid:
        return value.toString();
    case PictureKind::Text:
        return cutText(value.toString(), pic.width);
    case PictureKind::Number:
        return formatNumber(numericValue(value), pic);
    case PictureKind::Date: {
        const auto day = wholeValue(numericValue(value));
        return day ? dateText(*day, pic.layout, pic.separator) : QString();
    }
    case PictureKind::Time: {
        const auto time = wholeValue(numericValue(value));
        if (!time || (*time == kNoTime && pic.blankZero))
            return {};
        return timeText(*time, pic.layout);
    }
    case PictureKind::Pattern:
        return formatPattern(numericValue(value), pic);
    }
    return value.toString();
}

QVariant deformat(const QString& text, const QString& picture) {
    return deformat(text, parsePicture(picture));
}

QVariant deformat(const QString& text, const Picture& pic) {
    switch (pic.kind) {
    case PictureKind::Invalid:
        return text;
    case PictureKind::Text:
        return cutText(text, pic.width);
    case PictureKind::Number:
        return deformatNumber(text, pic);
    case PictureKind::Date:
        return qint64(dayNumberFromText(text, pic.layout));
    case PictureKind::Time:
        return qint64(timeValueFromText(text, pic.layout));
    case PictureKind::Pattern:
        return deformatPattern(text, pic);
    }
    return text;
}

QChar pictureType(const QString& picture) {
    if (picture.size() < 2)
        return {};
    return picture.at(1).toUpper();
}

} // namespace srk
