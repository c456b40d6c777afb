#include "query/SqlTranslator.h"

#include "query/QueryEvaluator.h"
#include "query/QueryValue.h"
#include "store/View.h"

namespace srk {

namespace {

struct Sql {
    QString sql;
    QVariantList binds;
    bool text = false;
    bool plainColumn = false;          // a column as it is, so that a key may serve it
    std::optional<QueryValue> value;  // set for constants
};

Sql constant(const QueryValue& v) {
    Sql s;
    s.sql = QStringLiteral("?");
    s.binds << v.toVariant();
    s.text = !v.isNumber();
    s.value = v;
    return s;
}

Sql boolean(bool v) {
    Sql s;
    s.sql = v ? QStringLiteral("1") : QStringLiteral("0");
    s.value = QueryValue::fromInteger(v ? 1 : 0);
    return s;
}

QString opText(Expr::Op op) {
    switch (op) {
    case Expr::Op::Equal:
    case Expr::Op::FoldedEqual: return QStringLiteral("=");
    case Expr::Op::NotEqual: return QStringLiteral("<>");
    case Expr::Op::Less: return QStringLiteral("<");
    case Expr::Op::Greater: return QStringLiteral(">");
    case Expr::Op::LessEqual: return QStringLiteral("<=");
    case Expr::Op::GreaterEqual: return QStringLiteral(">=");
    }
    return QString();
}

bool holds(Expr::Op op, int c) {
    switch (op) {
    case Expr::Op::Equal:
    case Expr::Op::FoldedEqual: return c == 0;
    case Expr::Op::NotEqual: return c != 0;
    case Expr::Op::Less: return c < 0;
    case Expr::Op::Greater: return c > 0;
    case Expr::Op::LessEqual: return c <= 0;
    case Expr::Op::GreaterEqual: return c >= 0;
    }
    return false;
}

bool hasFields(const Expr& e) {
    if (e.kind == Expr::Kind::Field)
        return true;
    for (const Expr& c : e.children) {
        if (hasFields(c))
            return true;
    }
    return false;
}

class Translator {
public:
    explicit Translator(const ColumnResolver& columns) : m_columns(columns) {}

    // A condition: SQL that is 1 or 0.
    std::optional<Sql> condition(const Expr& e) {
        std::optional<Sql> v = value(e);
        if (v && v->value)
            return boolean(v->value->isTrue());
        if (!v || e.isCondition())
            return v;
        Sql s;
        s.sql = v->text ? QStringLiteral("(%1 <> '')").arg(v->sql) : QStringLiteral("(%1 <> 0)").arg(v->sql);
        s.binds = v->binds;
        return s;
    }

private:
    std::optional<Sql> value(const Expr& e) {
        if (!hasFields(e)) {
            // No field involved: work it out now and bind the outcome.
            FieldResolver none{{}, m_columns.bound};
            QString error;
            const QVariant v = evaluate(e, none, &error);
            if (!v.isValid())
                return std::nullopt;
            const QueryValue q = QueryValue::fromVariant(v);
            return e.isCondition() ? boolean(q.isTrue()) : constant(q);
        }
        switch (e.kind) {
        case Expr::Kind::Field: return field(e.text);
        case Expr::Kind::Or:
        case Expr::Kind::And: {
            Sql s;
            QStringList parts;
            for (const Expr& c : e.children) {
                const std::optional<Sql> part = condition(c);
                if (!part)
                    return std::nullopt;
                parts << part->sql;
                s.binds << part->binds;
            }
            s.sql = QLatin1Char('(') + parts.join(e.kind == Expr::Kind::Or ? QStringLiteral(" OR ") : QStringLiteral(" AND "))
                    + QLatin1Char(')');
            return s;
        }
        case Expr::Kind::Not: {
            std::optional<Sql> inner = condition(e.children[0]);
            if (!inner)
                return inner;
            inner->sql = QStringLiteral("(NOT %1)").arg(inner->sql);
            inner->value.reset();
            return inner;
        }
        case Expr::Kind::Compare: return compare(e);
        case Expr::Kind::Call: return call(e);
        default: return std::nullopt;
        }
    }

    std::optional<Sql> field(const QString& name) {
        const std::optional<SqlColumn> c = m_columns.column ? m_columns.column(name) : std::nullopt;
        if (!c || c->sql.isEmpty())
            return std::nullopt;
        Sql s;
        s.text = c->text;
        if (c->nullable) {
            s.sql = QStringLiteral("ifnull(%1,%2)").arg(c->sql, c->text ? QStringLiteral("''") : QStringLiteral("0"));
        } else {
            s.sql = c->sql;
            s.plainColumn = true;
        }
        return s;
    }

    // The operand as text, as the evaluator's toText gives it.
    static Sql asText(Sql s) {
        if (s.text)
            return s;
        if (s.value)
            return constant(QueryValue::fromText(s.value->toText()));
        s.sql = QStringLiteral("CAST(%1 AS TEXT)").arg(s.sql);
        s.text = true;
        s.plainColumn = false;
        return s;
    }

    std::optional<Sql> compare(const Expr& e) {
        bool folded = e.op == Expr::Op::FoldedEqual;
        const Expr* l = &e.children[0];
        const Expr* r = &e.children[1];
        if (l->isCaseFold()) {
            folded = true;
            l = &l->children[0];
        }
        if (r->isCaseFold()) {
            folded = true;
            r = &r->children[0];
        }
        std::optional<Sql> a = value(*l);
        std::optional<Sql> b = a ? value(*r) : std::nullopt;
        if (!b)
            return std::nullopt;
        const QString op = opText(e.op);
        Sql s;
        if (folded) {
            const Sql x = asText(*a), y = asText(*b);
            s.sql = QStringLiteral("(%1 %2 %3 COLLATE SRK)").arg(x.sql, op, y.sql);
            s.binds << x.binds << y.binds;
            return s;
        }
        if (a->text != b->text) {
            // A number against a text: the text must be a known value; numeric texts compare as numbers.
            Sql& text = a->text ? *a : *b;
            if (!text.value)
                return std::nullopt;
            const std::optional<QueryValue> n = text.value->asNumber();
            if (!n)
                return boolean(holds(e.op, a->text ? 1 : -1));
            text = constant(*n);
        }
        if (!a->text) {
            s.sql = QStringLiteral("(%1 %2 %3)").arg(a->sql, op, b->sql);
            s.binds << a->binds << b->binds;
            return s;
        }
        s.sql = QStringLiteral("(%1 %2 %3 COLLATE BINARY)").arg(a->sql, op, b->sql);
        s.binds << a->binds << b->binds;
        if ((e.op == Expr::Op::Equal) && (a->plainColumn || b->plainColumn)) {
            // Equal texts are equal without regard to case too; saying so lets the key find them.
            s.sql = QStringLiteral("(%1 = %2 COLLATE SRK AND %3)").arg(a->sql, b->sql, s.sql);
            QVariantList binds = a->binds;
            binds << b->binds << s.binds;
            s.binds = binds;
        }
        return s;
    }

    std::optional<Sql> call(const Expr& e) {
        switch (e.function) {
        case Expr::Function::Sub: {
            std::optional<Sql> v = value(e.children[0]);
            std::optional<Sql> start = v ? value(e.children[1]) : std::nullopt;
            std::optional<Sql> length = start ? value(e.children[2]) : std::nullopt;
            // The engine counts from the end for negative starts; only plain positions translate.
            if (!length || !start->value || !length->value || start->value->type != QueryValue::Type::Integer
                || length->value->type != QueryValue::Type::Integer || start->value->integer < 1
                || length->value->integer < 0)
                return std::nullopt;
            const Sql x = asText(*v);
            Sql s;
            s.sql = QStringLiteral("rtrim(substr(%1,%2,%3))")
                        .arg(x.sql)
                        .arg(start->value->integer)
                        .arg(length->value->integer);
            s.binds = x.binds;
            s.text = true;
            return s;
        }
        case Expr::Function::InString: {
            bool folded = false;
            const Expr* n = &e.children[0];
            const Expr* h = &e.children[1];
            if (n->isCaseFold()) {
                folded = true;
                n = &n->children[0];
            }
            if (h->isCaseFold()) {
                folded = true;
                h = &h->children[0];
            }
            if (folded && !m_columns.queryFunctions)
                return std::nullopt;
            std::optional<Sql> needle = value(*n);
            std::optional<Sql> haystack = needle ? value(*h) : std::nullopt;
            if (!haystack)
                return std::nullopt;
            const Sql x = asText(*needle), y = asText(*haystack);
            Sql s;
            if (folded) {
                s.sql = QStringLiteral("srk_instr(%1,%2)").arg(x.sql, y.sql);
                s.binds << x.binds << y.binds;
            } else {
                s.sql = QStringLiteral("instr(%1,%2)").arg(y.sql, x.sql);
                s.binds << y.binds << x.binds;
            }
            return s;
        }
        case Expr::Function::Abs: {
            std::optional<Sql> v = value(e.children[0]);
            if (!v || v->text)
                return std::nullopt;
            v->sql = QStringLiteral("abs(%1)").arg(v->sql);
            v->plainColumn = false;
            return v;
        }
        case Expr::Function::Upper:
        case Expr::Function::Lower:
            // The engine's own upper() knows ASCII letters only.
            return std::nullopt;
        }
        return std::nullopt;
    }

    const ColumnResolver& m_columns;
};

std::optional<SqlColumn> columnOf(const TableDef& def, const QString& field, const QString& sql, bool nullable) {
    const int index = def.fieldIndex(field);
    if (index < 0 || index >= def.plainFieldCount())
        return std::nullopt;
    return SqlColumn{sql.isEmpty() ? QLatin1Char('"') + def.fields[index].name + QLatin1Char('"') : sql,
                     isTextKind(def.fields[index].kind), nullable};
}

bool prefixOf(const TableDef& def, const QString& field) {
    const qsizetype colon = field.indexOf(QLatin1Char(':'));
    return colon > 0 && field.left(colon).compare(def.prefix, Qt::CaseInsensitive) == 0;
}

}  // namespace

ColumnResolver tableColumns(const TableDef& def, const BoundValues& bound, bool queryFunctions) {
    return {[&def](const QString& field) -> std::optional<SqlColumn> {
                if (!prefixOf(def, field))
                    return std::nullopt;
                return columnOf(def, field, QString(), false);
            },
            [bound](const QString& name) { return bound.value(name); }, queryFunctions};
}

ColumnResolver viewColumns(const View& view, const QVector<const TableDef*>& tables, const BoundValues& bound,
                           bool queryFunctions) {
    return viewColumns([&view](int table, int field) { return view.column(table, field); }, tables, bound,
                       queryFunctions);
}

ColumnResolver viewColumns(ColumnNamer names, const QVector<const TableDef*>& tables, const BoundValues& bound,
                           bool queryFunctions) {
    return {[names = std::move(names), tables](const QString& field) -> std::optional<SqlColumn> {
                for (int t = 0; t < tables.size(); ++t) {
                    if (!tables[t] || !prefixOf(*tables[t], field))
                        continue;
                    const int index = tables[t]->fieldIndex(field);
                    if (index < 0)
                        return std::nullopt;
                    return columnOf(*tables[t], field, names(t, index), t > 0);
                }
                return std::nullopt;
            },
            [bound](const QString& name) { return bound.value(name); }, queryFunctions};
}

std::optional<SqlCondition> toSql(const Expr& expr, const ColumnResolver& columns) {
    Translator translator(columns);
    const std::optional<Sql> s = translator.condition(expr);
    if (!s)
        return std::nullopt;
    return SqlCondition{s->sql, s->binds};
}

}  // namespace srk
