#include "query/QueryLexer.h"

#include <cmath>

namespace srk {

namespace {

bool isNameStart(QChar c) { return (c.unicode() < 0x80 && c.isLetter()) || c == QLatin1Char('_'); }
bool isNamePart(QChar c) {
    return c.unicode() < 0x80 && (c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char(':'));
}
bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

}  // namespace

bool QueryLexer::fail(const QString& message, int position) {
    m_error = message;
    m_errorPosition = position;
    return false;
}

bool QueryLexer::tokenize(const QString& text, QVector<QueryToken>& out) {
    out.clear();
    m_error.clear();
    m_errorPosition = 0;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text.at(i);
        const int pos = int(i) + 1;
        if (c.isSpace()) {
            ++i;
            continue;
        }
        QueryToken t;
        t.position = pos;
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // A quote inside a text is written twice.
            QString value;
            ++i;
            bool closed = false;
            while (i < n) {
                if (text.at(i) == c) {
                    if (i + 1 < n && text.at(i + 1) == c) {
                        value += c;
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                value += text.at(i++);
            }
            if (!closed)
                return fail(QStringLiteral("Text not closed by a quote"), pos);
            t.type = QueryToken::Type::Text;
            t.text = value;
        } else if (isDigit(c) || (c == QLatin1Char('.') && i + 1 < n && isDigit(text.at(i + 1)))) {
            qsizetype j = i;
            while (j < n && isDigit(text.at(j)))
                ++j;
            bool real = false;
            if (j < n && text.at(j) == QLatin1Char('.')) {
                real = true;
                ++j;
                while (j < n && isDigit(text.at(j)))
                    ++j;
            }
            if (j < n && isNamePart(text.at(j)))
                return fail(QStringLiteral("Malformed number"), pos);
            const QString digits = text.mid(i, j - i);
            bool ok = false;
            if (real) {
                t.type = QueryToken::Type::Real;
                t.real = digits.toDouble(&ok);
                ok = ok && std::isfinite(t.real);
            } else {
                t.type = QueryToken::Type::Integer;
                t.integer = digits.toLongLong(&ok);
            }
            if (!ok)
                return fail(QStringLiteral("Number too large"), pos);
            i = j;
        } else if (isNameStart(c)) {
            qsizetype j = i;
            while (j < n && isNamePart(text.at(j)))
                ++j;
            t.type = QueryToken::Type::Name;
            t.text = text.mid(i, j - i);
            if (t.text.endsWith(QLatin1Char(':')))
                return fail(QStringLiteral("Incomplete name \"%1\"").arg(t.text), pos);
            i = j;
        } else if (c == QLatin1Char('(')) {
            t.type = QueryToken::Type::LeftParen;
            ++i;
        } else if (c == QLatin1Char(')')) {
            t.type = QueryToken::Type::RightParen;
            ++i;
        } else if (c == QLatin1Char(',')) {
            t.type = QueryToken::Type::Comma;
            ++i;
        } else if (c == QLatin1Char('-')) {
            t.type = QueryToken::Type::Minus;
            ++i;
        } else if (c == QLatin1Char('=') || c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('~')) {
            const QChar d = i + 1 < n ? text.at(i + 1) : QChar();
            QString op(c);
            if (c == QLatin1Char('<') && (d == QLatin1Char('>') || d == QLatin1Char('=')))
                op += d;
            else if (c == QLatin1Char('>') && d == QLatin1Char('='))
                op += d;
            else if (c == QLatin1Char('~')) {
                if (d != QLatin1Char('='))
                    return fail(QStringLiteral("\"~\" must be followed by \"=\""), pos);
                op += d;
            }
            t.type = QueryToken::Type::Operator;
            t.text = op;
            i += op.size();
        } else {
            return fail(QStringLiteral("Unexpected character '%1'").arg(c.isPrint() ? QString(c) : QStringLiteral("?")),
                        pos);
        }
        out.push_back(t);
    }
    QueryToken end;
    end.position = int(n) + 1;
    out.push_back(end);
    return true;
}

}  // namespace srk
