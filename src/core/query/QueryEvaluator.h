#pragma once

#include "query/BoundValues.h"
#include "query/Expr.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <optional>

namespace srk {

class Record;
struct ViewRow;

// Where an evaluated filter gets its values: fields by qualified name ("SON:Artist") and bound names.
// Either gives nothing for a name it does not know.
struct FieldResolver {
    std::function<std::optional<QVariant>(const QString& field)> field;
    std::function<std::optional<QVariant>(const QString& name)> bound;
};

// Fields of one record (its own prefix only) and the given bound values.
FieldResolver recordFields(const Record& record, const BoundValues& bound);
// Fields of a view row: the primary record and each related record, by their prefixes.
FieldResolver viewRowFields(const ViewRow& row, const BoundValues& bound);

// The value of an expression: a number (qlonglong or double; conditions give 1 or 0) or a text.
// Comparisons ignore trailing blanks; a side wrapped in UPPER or LOWER makes the comparison ignore
// letter case, accented letters included. An invalid QVariant, with error set, when a name is unknown.
QVariant evaluate(const Expr& expr, const FieldResolver& fields, QString* error = nullptr);

// Whether a record passes a filter; false with error set when it cannot be evaluated.
bool matches(const Expr& expr, const FieldResolver& fields, QString* error = nullptr);

}  // namespace srk
