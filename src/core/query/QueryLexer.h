#pragma once

#include <QString>
#include <QVector>

namespace srk {

struct QueryToken {
    enum class Type { End, Name, Text, Integer, Real, LeftParen, RightParen, Comma, Minus, Operator };
    Type type = Type::End;
    QString text;  // name, text value (unquoted) or operator
    qint64 integer = 0;
    double real = 0;
    int position = 0;  // 1-based
};

// Splits filter text into tokens. Names run over letters, digits, '_' and ':' so that field names
// ("SON:Artist") and bound names ("BRW1::Sort3:Reset:MED:Media") are single tokens.
class QueryLexer {
public:
    // False with error() and errorPosition() set when the text cannot be split.
    bool tokenize(const QString& text, QVector<QueryToken>& out);
    const QString& error() const { return m_error; }
    int errorPosition() const { return m_errorPosition; }

private:
    bool fail(const QString& message, int position);
    QString m_error;
    int m_errorPosition = 0;
};

}  // namespace srk
