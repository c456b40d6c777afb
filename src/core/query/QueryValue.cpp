#include "query/QueryValue.h"

#include "store/FoldCollation.h"

#include <QChar>
#include <QList>

#include <cmath>

namespace srk {

namespace {

template <typename T>
int order(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

int compareNumbers(const QueryValue& a, const QueryValue& b) {
    if (a.type == QueryValue::Type::Integer && b.type == QueryValue::Type::Integer)
        return order(a.integer, b.integer);
    const double x = a.type == QueryValue::Type::Integer ? double(a.integer) : a.real;
    const double y = b.type == QueryValue::Type::Integer ? double(b.integer) : b.real;
    return order(x, y);
}

QList<uint> folded(const QString& text) {
    QList<uint> out = text.toUcs4();
    for (uint& c : out)
        c = QChar::toCaseFolded(char32_t(c));
    return out;
}

}  // namespace

QString withoutTrailingBlanks(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return end == text.size() ? text : text.left(end);
}

QueryValue QueryValue::fromInteger(qint64 v) {
    QueryValue r;
    r.type = Type::Integer;
    r.integer = v;
    return r;
}

QueryValue QueryValue::fromReal(double v) {
    QueryValue r;
    r.type = Type::Real;
    r.real = std::isfinite(v) ? v : 0.0;
    return r;
}

QueryValue QueryValue::fromText(const QString& v) {
    QueryValue r;
    r.type = Type::Text;
    r.text = withoutTrailingBlanks(v);
    return r;
}

QueryValue QueryValue::fromVariant(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Bool:
        return fromInteger(v.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return fromReal(v.toDouble());
    default:
        return fromText(v.isValid() ? v.toString() : QString());
    }
}

QVariant QueryValue::toVariant() const {
    switch (type) {
    case Type::Integer: return QVariant(qlonglong(integer));
    case Type::Real: return QVariant(real);
    case Type::Text: return QVariant(text);
    }
    return QVariant();
}

QString QueryValue::toText() const {
    switch (type) {
    case Type::Integer: return QString::number(integer);
    case Type::Real: return QString::number(real, 'g', 15);
    case Type::Text: return text;
    }
    return QString();
}

std::optional<QueryValue> QueryValue::asNumber() const {
    if (type != Type::Text)
        return *this;
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    const qint64 i = t.toLongLong(&ok);
    if (ok)
        return fromInteger(i);
    const double d = t.toDouble(&ok);
    if (ok && std::isfinite(d))
        return fromReal(d);
    return std::nullopt;
}

bool QueryValue::isTrue() const {
    switch (type) {
    case Type::Integer: return integer != 0;
    case Type::Real: return real != 0;
    case Type::Text: return !text.isEmpty();
    }
    return false;
}

int compareValues(const QueryValue& a, const QueryValue& b, bool foldCase) {
    if (foldCase)
        return compareFolded(a.toText(), b.toText());
    if (a.isNumber() && b.isNumber())
        return compareNumbers(a, b);
    if (a.isNumber() || b.isNumber()) {
        const QueryValue& text = a.isNumber() ? b : a;
        const std::optional<QueryValue> n = text.asNumber();
        if (n)
            return a.isNumber() ? compareNumbers(a, *n) : compareNumbers(*n, b);
        return a.isNumber() ? -1 : 1;
    }
    // Code point order, as the engine's binary comparison of UTF-8 gives.
    const QList<uint> x = withoutTrailingBlanks(a.text).toUcs4(), y = withoutTrailingBlanks(b.text).toUcs4();
    const qsizetype n = qMin(x.size(), y.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (x[i] != y[i])
            return x[i] < y[i] ? -1 : 1;
    }
    return order(x.size(), y.size());
}

qint64 findText(const QString& needle, const QString& haystack, bool foldCase) {
    const QList<uint> n = foldCase ? folded(needle) : needle.toUcs4();
    const QList<uint> h = foldCase ? folded(haystack) : haystack.toUcs4();
    if (n.isEmpty())
        return 1;
    for (qsizetype i = 0; i + n.size() <= h.size(); ++i) {
        if (std::equal(n.begin(), n.end(), h.begin() + i))
            return i + 1;
    }
    return 0;
}

QString subText(const QString& text, qint64 start, qint64 length) {
    if (start < 1 || length <= 0)
        return QString();
    const QList<uint> chars = text.toUcs4();
    if (start > chars.size())
        return QString();
    const qsizetype from = qsizetype(start - 1);
    const qsizetype count = qsizetype(qMin<qint64>(length, chars.size() - from));
    const QList<uint> part = chars.mid(from, count);
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(part.constData()), part.size());
}

}  // namespace srk
