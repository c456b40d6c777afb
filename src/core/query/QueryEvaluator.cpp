#include "query/QueryEvaluator.h"

#include "query/QueryValue.h"
#include "store/Record.h"
#include "store/View.h"

#include <cmath>
#include <limits>

namespace srk {

namespace {

class Evaluator {
public:
    explicit Evaluator(const FieldResolver& fields) : m_fields(fields) {}

    std::optional<QueryValue> value(const Expr& e) {
        switch (e.kind) {
        case Expr::Kind::Text: return QueryValue::fromText(e.text);
        case Expr::Kind::Integer: return QueryValue::fromInteger(e.integer);
        case Expr::Kind::Real: return QueryValue::fromReal(e.real);
        case Expr::Kind::Field: {
            const std::optional<QVariant> v = m_fields.field ? m_fields.field(e.text) : std::nullopt;
            if (!v)
                return fail(QStringLiteral("Unknown field \"%1\"").arg(e.text));
            return QueryValue::fromVariant(*v);
        }
        case Expr::Kind::Bound: {
            const std::optional<QVariant> v = m_fields.bound ? m_fields.bound(e.text) : std::nullopt;
            if (!v)
                return fail(QStringLiteral("No value is bound to \"%1\"").arg(e.text));
            return QueryValue::fromVariant(*v);
        }
        case Expr::Kind::Or:
        case Expr::Kind::And: {
            const bool isOr = e.kind == Expr::Kind::Or;
            for (const Expr& c : e.children) {
                const std::optional<QueryValue> v = value(c);
                if (!v)
                    return v;
                if (v->isTrue() == isOr)
                    return QueryValue::fromInteger(isOr ? 1 : 0);
            }
            return QueryValue::fromInteger(isOr ? 0 : 1);
        }
        case Expr::Kind::Not: {
            const std::optional<QueryValue> v = value(e.children[0]);
            if (!v)
                return v;
            return QueryValue::fromInteger(v->isTrue() ? 0 : 1);
        }
        case Expr::Kind::Compare: return compare(e);
        case Expr::Kind::Call: return call(e);
        }
        return fail(QStringLiteral("Unknown expression"));
    }

    QString error;

private:
    std::optional<QueryValue> fail(const QString& message) {
        if (error.isEmpty())
            error = message;
        return std::nullopt;
    }

    // The operand under an UPPER or LOWER wrapper, and whether there was one.
    static const Expr& unwrap(const Expr& e, bool& folded) {
        if (e.isCaseFold()) {
            folded = true;
            return e.children[0];
        }
        return e;
    }

    std::optional<QueryValue> compare(const Expr& e) {
        bool folded = e.op == Expr::Op::FoldedEqual;
        const Expr& l = unwrap(e.children[0], folded);
        const Expr& r = unwrap(e.children[1], folded);
        const std::optional<QueryValue> a = value(l);
        if (!a)
            return a;
        const std::optional<QueryValue> b = value(r);
        if (!b)
            return b;
        const int c = compareValues(*a, *b, folded);
        bool result = false;
        switch (e.op) {
        case Expr::Op::Equal:
        case Expr::Op::FoldedEqual: result = c == 0; break;
        case Expr::Op::NotEqual: result = c != 0; break;
        case Expr::Op::Less: result = c < 0; break;
        case Expr::Op::Greater: result = c > 0; break;
        case Expr::Op::LessEqual: result = c <= 0; break;
        case Expr::Op::GreaterEqual: result = c >= 0; break;
        }
        return QueryValue::fromInteger(result ? 1 : 0);
    }

    std::optional<QueryValue> call(const Expr& e) {
        switch (e.function) {
        case Expr::Function::Upper:
        case Expr::Function::Lower: {
            const std::optional<QueryValue> v = value(e.children[0]);
            if (!v)
                return v;
            const QString t = v->toText();
            return QueryValue::fromText(e.function == Expr::Function::Upper ? t.toUpper() : t.toLower());
        }
        case Expr::Function::Sub: {
            const std::optional<QueryValue> v = value(e.children[0]);
            const std::optional<QueryValue> start = v ? value(e.children[1]) : std::nullopt;
            const std::optional<QueryValue> length = start ? value(e.children[2]) : std::nullopt;
            if (!length)
                return std::nullopt;
            return QueryValue::fromText(subText(v->toText(), whole(*start), whole(*length)));
        }
        case Expr::Function::InString: {
            bool folded = false;
            const Expr& n = unwrap(e.children[0], folded);
            const Expr& h = unwrap(e.children[1], folded);
            const std::optional<QueryValue> needle = value(n);
            const std::optional<QueryValue> haystack = needle ? value(h) : std::nullopt;
            if (!haystack)
                return std::nullopt;
            return QueryValue::fromInteger(findText(needle->toText(), haystack->toText(), folded));
        }
        case Expr::Function::Abs: {
            const std::optional<QueryValue> v = value(e.children[0]);
            if (!v)
                return v;
            const std::optional<QueryValue> n = v->asNumber();
            if (!n)
                return QueryValue::fromInteger(0);
            if (n->type == QueryValue::Type::Integer && n->integer != std::numeric_limits<qint64>::min())
                return QueryValue::fromInteger(n->integer < 0 ? -n->integer : n->integer);
            return QueryValue::fromReal(std::fabs(n->type == QueryValue::Type::Integer ? double(n->integer) : n->real));
        }
        }
        return fail(QStringLiteral("Unknown function"));
    }

    // Positions and lengths are whole numbers; texts that are not numbers count as 0.
    static qint64 whole(const QueryValue& v) {
        const std::optional<QueryValue> n = v.asNumber();
        if (!n)
            return 0;
        if (n->type == QueryValue::Type::Integer)
            return n->integer;
        if (!(std::fabs(n->real) < 9.0e18))
            return 0;
        return qint64(n->real);
    }

    const FieldResolver& m_fields;
};

std::function<std::optional<QVariant>(const QString&)> boundLookup(const BoundValues& bound) {
    return [bound](const QString& name) { return bound.value(name); };
}

std::optional<QVariant> fieldOf(const Record& r, const QString& name) {
    if (!r.def())
        return std::nullopt;
    const qsizetype colon = name.indexOf(QLatin1Char(':'));
    if (colon <= 0 || name.left(colon).compare(r.def()->prefix, Qt::CaseInsensitive) != 0)
        return std::nullopt;
    const int field = r.def()->fieldIndex(name);
    if (field < 0)
        return std::nullopt;
    return r.value(field);
}

}  // namespace

FieldResolver recordFields(const Record& record, const BoundValues& bound) {
    return {[record](const QString& name) { return fieldOf(record, name); }, boundLookup(bound)};
}

FieldResolver viewRowFields(const ViewRow& row, const BoundValues& bound) {
    return {[row](const QString& name) {
                std::optional<QVariant> v = fieldOf(row.primary, name);
                for (qsizetype i = 0; !v && i < row.related.size(); ++i)
                    v = fieldOf(row.related[i], name);
                return v;
            },
            boundLookup(bound)};
}

QVariant evaluate(const Expr& expr, const FieldResolver& fields, QString* error) {
    Evaluator evaluator(fields);
    const std::optional<QueryValue> v = evaluator.value(expr);
    if (error)
        *error = evaluator.error;
    return v ? v->toVariant() : QVariant();
}

bool matches(const Expr& expr, const FieldResolver& fields, QString* error) {
    Evaluator evaluator(fields);
    const std::optional<QueryValue> v = evaluator.value(expr);
    if (error)
        *error = evaluator.error;
    return v && v->isTrue();
}

}  // namespace srk
