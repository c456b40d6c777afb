#include "text/ListFormat.h"

#include <algorithm>

namespace srk {

namespace {

constexpr int kMaxNumber = 99999;

bool isJustification(QChar c) {
    return c == u'L' || c == u'R' || c == u'C' || c == u'D';
}

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

struct Reader {
    explicit Reader(const QString& t) : text(t) {}

    const QString& text;
    qsizetype pos = 0;
    QString error;
    qsizetype errorAt = -1;
    int column = 0; // 1-based, for messages

    bool atEnd() const { return pos >= text.size(); }
    QChar peek() const { return atEnd() ? QChar() : text.at(pos); }

    bool fail(const QString& what, qsizetype at) {
        if (error.isEmpty()) {
            error = QStringLiteral("Column %1: %2 at character %3.").arg(column).arg(what).arg(at + 1);
            errorAt = at;
        }
        return false;
    }

    // A run of digits, optionally signed; nullopt (with the error set) when there is none.
    std::optional<int> number(bool allowSign) {
        const qsizetype start = pos;
        if (allowSign && peek() == u'-')
            ++pos;
        const qsizetype digits = pos;
        while (!atEnd() && isAsciiDigit(peek()))
            ++pos;
        if (pos == digits) {
            fail(QStringLiteral("a number is missing"), start);
            return std::nullopt;
        }
        bool ok = false;
        const int n = text.mid(start, pos - start).toInt(&ok);
        if (!ok || n > kMaxNumber || n < -kMaxNumber) {
            fail(QStringLiteral("the number is too large"), start);
            return std::nullopt;
        }
        return n;
    }

    // "(n)" when the next character opens it; nullopt when there is none or it is malformed (see error).
    std::optional<int> parenthesised(bool allowSign) {
        if (peek() != u'(')
            return std::nullopt;
        ++pos;
        const auto n = number(allowSign);
        if (!n)
            return std::nullopt;
        if (peek() != u')') {
            fail(QStringLiteral("\")\" is missing"), pos);
            return std::nullopt;
        }
        ++pos;
        return n;
    }

    // Text up to the closing delimiter, which is consumed; nullopt when it never comes.
    std::optional<QString> until(QChar close, const QString& what, qsizetype openedAt) {
        const qsizetype end = text.indexOf(close, pos);
        if (end < 0) {
            fail(what, openedAt);
            return std::nullopt;
        }
        QString inner = text.mid(pos, end - pos);
        pos = end + 1;
        return inner;
    }
};

bool partGiven(const ListFormatColumn& c, ListColumnPart part) {
    switch (part) {
    case ListColumnPart::RightBorder:
        return c.rightBorder;
    case ListColumnPart::Resizable:
        return c.resizable;
    case ListColumnPart::Underline:
        return c.underline;
    case ListColumnPart::Fixed:
        return c.fixed;
    case ListColumnPart::Colours:
        return c.colours;
    case ListColumnPart::Icon:
        return c.icon;
    case ListColumnPart::FieldNumber:
        return c.explicitField.has_value();
    case ListColumnPart::Scroll:
        return c.scrollWidth.has_value();
    case ListColumnPart::Tree:
        return c.tree.has_value();
    case ListColumnPart::Header:
        return c.header.has_value();
    case ListColumnPart::Picture:
        return c.picture.has_value();
    case ListColumnPart::Open:
        return c.open;
    case ListColumnPart::NewLine:
        return c.newLine;
    }
    return false;
}

QString indentText(const std::optional<int>& indent) {
    return indent ? u'(' + QString::number(*indent) + u')' : QString();
}

QString partText(const ListFormatColumn& c, ListColumnPart part) {
    switch (part) {
    case ListColumnPart::RightBorder:
        return QStringLiteral("|");
    case ListColumnPart::Resizable:
        return QStringLiteral("M");
    case ListColumnPart::Underline:
        return QStringLiteral("_");
    case ListColumnPart::Fixed:
        return QStringLiteral("F");
    case ListColumnPart::Colours:
        return QStringLiteral("*");
    case ListColumnPart::Icon:
        return QStringLiteral("I");
    case ListColumnPart::FieldNumber:
        return u'#' + QString::number(*c.explicitField) + u'#';
    case ListColumnPart::Scroll:
        return QStringLiteral("S(") + QString::number(*c.scrollWidth) + u')';
    case ListColumnPart::Tree:
        return u'T' + *c.tree + u']';
    case ListColumnPart::Header: {
        QString out = u'~' + *c.header + u'~';
        if (!c.headerJustification.isNull())
            out += c.headerJustification + indentText(c.headerIndent);
        return out;
    }
    case ListColumnPart::Picture:
        return *c.picture + u'@';
    case ListColumnPart::Open:
        return QStringLiteral("?");
    case ListColumnPart::NewLine:
        return QStringLiteral("/");
    }
    return {};
}

constexpr ListColumnPart kAllParts[] = {
    ListColumnPart::RightBorder, ListColumnPart::Resizable, ListColumnPart::Underline,
    ListColumnPart::Fixed,       ListColumnPart::Colours,   ListColumnPart::Icon,
    ListColumnPart::FieldNumber, ListColumnPart::Scroll,    ListColumnPart::Tree,
    ListColumnPart::Header,      ListColumnPart::Picture,   ListColumnPart::Open,
    ListColumnPart::NewLine,
};

// The flag characters and the parts they stand for.
std::optional<ListColumnPart> flagPart(QChar c) {
    switch (c.unicode()) {
    case u'|':
        return ListColumnPart::RightBorder;
    case u'M':
        return ListColumnPart::Resizable;
    case u'_':
        return ListColumnPart::Underline;
    case u'F':
        return ListColumnPart::Fixed;
    case u'*':
        return ListColumnPart::Colours;
    case u'I':
        return ListColumnPart::Icon;
    case u'?':
        return ListColumnPart::Open;
    case u'/':
        return ListColumnPart::NewLine;
    default:
        return std::nullopt;
    }
}

void setFlag(ListFormatColumn& c, ListColumnPart part) {
    switch (part) {
    case ListColumnPart::RightBorder:
        c.rightBorder = true;
        break;
    case ListColumnPart::Resizable:
        c.resizable = true;
        break;
    case ListColumnPart::Underline:
        c.underline = true;
        break;
    case ListColumnPart::Fixed:
        c.fixed = true;
        break;
    case ListColumnPart::Colours:
        c.colours = true;
        break;
    case ListColumnPart::Icon:
        c.icon = true;
        break;
    case ListColumnPart::Open:
        c.open = true;
        break;
    case ListColumnPart::NewLine:
        c.newLine = true;
        break;
    default:
        break;
    }
}

bool readColumn(Reader& r, ListFormatColumn& c) {
    if (isAsciiDigit(r.peek())) {
        const auto width = r.number(false);
        if (!width)
            return false;
        c.width = width;
    }
    if (!isJustification(r.peek()))
        return r.fail(QStringLiteral("a justification letter (L, R, C or D) is expected"), r.pos);
    c.justification = r.peek();
    ++r.pos;
    if (r.peek() == u'(') {
        c.indent = r.parenthesised(true);
        if (!c.indent)
            return false;
    }

    // The parts, up to the next column's width or justification letter.
    while (!r.atEnd() && !isAsciiDigit(r.peek()) && !isJustification(r.peek())) {
        const qsizetype at = r.pos;
        const QChar ch = r.peek();
        std::optional<ListColumnPart> part = flagPart(ch);
        ++r.pos;
        if (!part) {
            switch (ch.unicode()) {
            case u'#': {
                const auto n = r.number(false);
                if (!n)
                    return false;
                if (r.peek() != u'#')
                    return r.fail(QStringLiteral("the closing \"#\" is missing"), at);
                ++r.pos;
                if (*n < 1)
                    return r.fail(QStringLiteral("field numbers start at 1"), at);
                if (c.explicitField)
                    return r.fail(QStringLiteral("a second field number"), at);
                c.explicitField = n;
                part = ListColumnPart::FieldNumber;
                break;
            }
            case u'S': {
                if (r.peek() != u'(')
                    return r.fail(QStringLiteral("\"S\" needs a width in parentheses"), at);
                const auto n = r.parenthesised(false);
                if (!n)
                    return false;
                if (c.scrollWidth)
                    return r.fail(QStringLiteral("a second scroll width"), at);
                c.scrollWidth = n;
                part = ListColumnPart::Scroll;
                break;
            }
            case u'T': {
                const auto tree = r.until(u']', QStringLiteral("\"T\" without its closing \"]\""), at);
                if (!tree)
                    return false;
                if (c.tree)
                    return r.fail(QStringLiteral("a second tree part"), at);
                c.tree = tree;
                part = ListColumnPart::Tree;
                break;
            }
            case u'~': {
                const auto header = r.until(u'~', QStringLiteral("the header's closing \"~\" is missing"), at);
                if (!header)
                    return false;
                if (c.header)
                    return r.fail(QStringLiteral("a second header"), at);
                c.header = header;
                // A justification letter right after the header is the header's own.
                if (isJustification(r.peek())) {
                    c.headerJustification = r.peek();
                    ++r.pos;
                    if (r.peek() == u'(') {
                        c.headerIndent = r.parenthesised(true);
                        if (!c.headerIndent)
                            return false;
                    }
                }
                part = ListColumnPart::Header;
                break;
            }
            case u'@': {
                const auto picture =
                    r.until(u'@', QStringLiteral("the picture's closing \"@\" is missing"), at);
                if (!picture)
                    return false;
                if (c.picture)
                    return r.fail(QStringLiteral("a second picture"), at);
                c.picture = u'@' + *picture;
                part = ListColumnPart::Picture;
                break;
            }
            default:
                return r.fail(QStringLiteral("unexpected character \"%1\"").arg(ch), at);
            }
        } else {
            if (partGiven(c, *part))
                return r.fail(QStringLiteral("\"%1\" is given twice").arg(ch), at);
            setFlag(c, *part);
        }
        c.order.append(*part);
    }
    return true;
}

} // namespace

QString listColumnText(const ListFormatColumn& c) {
    // Parts in the order read, then parts set since, each before the first read part that a designed
    // format would put after it.
    QList<ListColumnPart> parts;
    for (ListColumnPart p : c.order)
        if (partGiven(c, p) && !parts.contains(p))
            parts.append(p);
    for (ListColumnPart p : kAllParts) {
        if (!partGiven(c, p) || parts.contains(p))
            continue;
        const auto later = std::find_if(parts.begin(), parts.end(), [p](ListColumnPart q) { return q > p; });
        parts.insert(later, p);
    }

    QString out;
    if (c.width)
        out += QString::number(*c.width);
    out += c.justification + indentText(c.indent);
    for (ListColumnPart p : parts)
        out += partText(c, p);
    return out;
}

ListFormat ListFormat::parse(const QString& text) {
    ListFormat f;
    Reader r(text);
    while (!r.atEnd()) {
        ++r.column;
        ListFormatColumn c;
        if (!readColumn(r, c)) {
            f.m_error = r.error;
            f.m_errorPosition = r.errorAt;
            f.m_columns.clear();
            return f;
        }
        f.m_columns.append(c);
    }
    if (f.m_columns.isEmpty()) {
        f.m_error = QStringLiteral("The format has no columns.");
        f.m_errorPosition = 0;
        return f;
    }
    f.numberFields();
    return f;
}

void ListFormat::numberFields() {
    int last = 0;
    for (ListFormatColumn& c : m_columns) {
        c.field = c.explicitField ? *c.explicitField : last + 1;
        last = c.field;
        c.colourField = c.colours ? last + 1 : 0;
        if (c.colours)
            last += 4;
        c.iconField = c.icon ? last + 1 : 0;
        if (c.icon)
            last += 1;
    }
}

QString ListFormat::toString() const {
    QString out;
    for (const ListFormatColumn& c : m_columns)
        out += listColumnText(c);
    return out;
}

bool ListFormat::setWidth(qsizetype column, int width) {
    if (column < 0 || column >= m_columns.size() || width < 0 || width > kMaxNumber)
        return false;
    m_columns[column].width = width;
    return true;
}

bool ListFormat::setPicture(qsizetype column, const QString& picture) {
    if (column < 0 || column >= m_columns.size())
        return false;
    QString p = picture.trimmed();
    if (p.startsWith(u'@'))
        p.remove(0, 1);
    if (p.contains(u'@'))
        return false;
    if (p.isEmpty())
        m_columns[column].picture.reset();
    else
        m_columns[column].picture = u'@' + p;
    return true;
}

bool ListFormat::setHeader(qsizetype column, const QString& header) {
    if (column < 0 || column >= m_columns.size() || header.contains(u'~'))
        return false;
    m_columns[column].header = header;
    return true;
}

bool ListFormat::setColumns(const QList<ListFormatColumn>& columns) {
    ListFormat candidate;
    candidate.m_columns = columns;
    const QString text = candidate.toString();
    const ListFormat reread = parse(text);
    if (!reread.isValid() || reread.columnCount() != columns.size() || reread.toString() != text)
        return false;
    m_columns = reread.m_columns;
    m_error.clear();
    m_errorPosition = -1;
    return true;
}

} // namespace srk
