#pragma once

#include <QString>
#include <QVariant>

#include <optional>

namespace srk {

// A value met while evaluating a filter: a whole number, a real number or a text. Texts never keep
// trailing blanks, so that they compare as stored field values do.
struct QueryValue {
    enum class Type { Integer, Real, Text };
    Type type = Type::Integer;
    qint64 integer = 0;
    double real = 0;
    QString text;

    static QueryValue fromInteger(qint64 v);
    static QueryValue fromReal(double v);
    static QueryValue fromText(const QString& v);
    static QueryValue fromVariant(const QVariant& v);
    QVariant toVariant() const;

    bool isNumber() const { return type != Type::Text; }
    // Numbers as the engine writes them ("12", "-3"); texts as they are.
    QString toText() const;
    // Texts that read wholly as a number give it; other texts give nothing.
    std::optional<QueryValue> asNumber() const;
    // Non-zero numbers and non-blank texts.
    bool isTrue() const;
};

// Orders two values: numbers numerically, a number against a numeric text numerically, a number before
// any other text, texts by their characters (code point order). Folded compares both as texts without
// regard to letter case, accented letters included.
int compareValues(const QueryValue& a, const QueryValue& b, bool folded);

// Position (1-based, in characters) of needle in haystack, 0 when absent; an empty needle is found at 1.
qint64 findText(const QString& needle, const QString& haystack, bool folded);

// Characters start.. of text (1-based), at most length of them; a start below 1 or a negative length
// gives an empty text.
QString subText(const QString& text, qint64 start, qint64 length);

QString withoutTrailingBlanks(const QString& text);

}  // namespace srk
