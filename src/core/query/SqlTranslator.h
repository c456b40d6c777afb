#pragma once

#include "query/BoundValues.h"
#include "query/Expr.h"
#include "store/Table.h"

#include <QString>
#include <QVector>

#include <functional>
#include <optional>

namespace srk {

class View;

// How a field reads in SQL. Nullable columns come from a left join and may be NULL (read as blank / 0).
struct SqlColumn {
    QString sql;
    bool text = false;
    bool nullable = false;
};

struct ColumnResolver {
    std::function<std::optional<SqlColumn>(const QString& field)> column;
    std::function<std::optional<QVariant>(const QString& name)> bound;
    // The connection has the functions of registerQueryFunctions (folded containment).
    bool queryFunctions = false;
};

// Columns of one table as its own filter names them ("Artist"); memos are not columns.
ColumnResolver tableColumns(const TableDef& def, const BoundValues& bound, bool queryFunctions = false);
// Columns of a view: tables[0] is the primary, then the related tables in join order.
ColumnResolver viewColumns(const View& view, const QVector<const TableDef*>& tables, const BoundValues& bound,
                           bool queryFunctions = false);
// The same for a view known only by how it names its columns (table index, field index), such as a
// page cursor's.
using ColumnNamer = std::function<QString(int table, int field)>;
ColumnResolver viewColumns(ColumnNamer names, const QVector<const TableDef*>& tables, const BoundValues& bound,
                           bool queryFunctions = false);

// The filter as an engine condition giving the same records as the evaluator, values bound as
// parameters (bound names with their current values). Comparisons that ignore case use the "SRK"
// collation, so that keys can serve them. Nothing when the filter cannot be said in SQL: the caller
// then evaluates it record by record.
std::optional<SqlCondition> toSql(const Expr& expr, const ColumnResolver& columns);

}  // namespace srk
