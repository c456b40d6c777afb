#pragma once

#include "query/Expr.h"

#include <QString>

#include <functional>
#include <optional>

namespace srk {

// Filter grammar (keywords and function names in any case):
//   query      := or
//   or         := and { OR and }
//   and        := not { AND not }
//   not        := NOT not | comparison
//   comparison := value [ ( = | <> | < | > | <= | >= | ~= ) value ]
//   value      := number | - number | text | field | bound | function ( args ) | ( query )
//   text       := '...' or "..." with the quote doubled inside ('O''Brien')
//   field      := PREFIX:Field            (SON:Artist, CAT:Category, A_S:Title)
//   bound      := any name holding "::"   (BRW1::Sort3:Reset:MED:Media)
//   function   := UPPER(x) | LOWER(x) | SUB(x, start, length) | INSTRING(needle, haystack) | ABS(x)
// A value standing alone as a condition is true when it is non-zero (numbers) or not blank (texts).
struct ParsedQuery {
    std::optional<Expr> expr;
    QString error;     // "Unbalanced parenthesis at position 12"
    int position = 0;  // 1-based position of the error
    bool ok() const { return expr.has_value(); }
};

// Tells whether a qualified field name exists.
using FieldCheck = std::function<bool(const QString& field)>;

// Longest filter text accepted.
constexpr int MaxQueryLength = 1024;

// Knows the fields of every catalogue table (by prefix).
bool isCatalogueField(const QString& field);

// Parses filter text. Never throws; errors come back in the result.
ParsedQuery parseQuery(const QString& text, const FieldCheck& knownField = isCatalogueField);

}  // namespace srk
