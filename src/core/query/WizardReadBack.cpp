#include "query/WizardReadBack.h"

#include "query/QueryFieldList.h"
#include "query/QueryLexer.h"
#include "query/QueryParser.h"
#include "query/QueryValue.h"
#include "query/WizardOperators.h"
#include "text/Picture.h"

namespace srk {

namespace {

using Kind = Expr::Kind;
using Function = Expr::Function;

bool isCall(const Expr& e, Function f) {
    return e.kind == Kind::Call && e.function == f;
}

// x itself, or the argument of f(x) when `wrapped`; nothing when the shape does not match.
const Expr* unwrap(const Expr& e, Function f, bool wrapped) {
    if (!wrapped)
        return &e;
    return isCall(e, f) && e.children.size() == 1 ? &e.children.front() : nullptr;
}

bool isInteger(const Expr& e, qint64 value) {
    return e.kind == Kind::Integer && e.integer == value;
}

QLatin1StringView symbolOf(Expr::Op op) {
    switch (op) {
    case Expr::Op::Equal: return QLatin1StringView("=");
    case Expr::Op::NotEqual: return QLatin1StringView("<>");
    case Expr::Op::Less: return QLatin1StringView("<");
    case Expr::Op::Greater: return QLatin1StringView(">");
    case Expr::Op::LessEqual: return QLatin1StringView("<=");
    case Expr::Op::GreaterEqual: return QLatin1StringView(">=");
    case Expr::Op::FoldedEqual: return QLatin1StringView("~=");
    }
    return {};
}

// Reads one shape of condition out of a parsed filter, keeping the source text for values.
class Reader {
public:
    Reader(const QString& text, const QueryFieldList& fields) : m_text(text), m_fields(fields) {}

    bool tokenize() { return QueryLexer().tokenize(m_text, m_tokens); }

    // All readings the parsed condition could be, the likeliest first.
    QVector<WizardReading> candidates(const Expr& e) {
        QVector<WizardReading> out;
        if (e.kind != Kind::Compare || e.children.size() != 2)
            return out;
        const Expr& left = e.children[0];
        const Expr& right = e.children[1];
        containsOrBegins(e, left, right, out);
        beginsWithConstant(e, left, right, out);
        compare(e, left, right, out);
        return out;
    }

private:
    // The list's entry for a field node, -1 when it is not one.
    int fieldIndex(const Expr* e) const {
        return e && e->kind == Kind::Field ? m_fields.indexOf(e->text) : -1;
    }

    WizardReading start(int field, WizardCondition::Operation op, bool fold) const {
        WizardReading r;
        const QueryField& f = m_fields.at(field);
        r.condition.field = f.field;
        r.condition.numeric = f.numeric;
        r.condition.operation = op;
        r.condition.caseSensitive = !f.numeric && !fold;
        return r;
    }

    // The source text of a value node: from its first token to the comma or closing parenthesis that
    // ends it (or the end of the text).
    QString sourceOf(const Expr& e) const {
        qsizetype i = 0;
        while (i < m_tokens.size() && m_tokens[i].position < e.position)
            ++i;
        int depth = 0;
        qsizetype end = i;
        for (; end < m_tokens.size(); ++end) {
            const QueryToken& t = m_tokens[end];
            if (t.type == QueryToken::Type::End)
                break;
            if (t.type == QueryToken::Type::LeftParen)
                ++depth;
            else if (t.type == QueryToken::Type::RightParen && --depth < 0)
                break;
            else if (t.type == QueryToken::Type::Comma && depth == 0)
                break;
        }
        const int from = e.position - 1;
        const int to = end < m_tokens.size() && m_tokens[end].type != QueryToken::Type::End
                           ? m_tokens[end].position - 1
                           : int(m_text.size());
        return m_text.mid(from, to - from).trimmed();
    }

    // A number is a constant of the field only when its picture shows it as it is: 2.5 in a field of
    // whole numbers, or a time with hundredths in a field showing seconds, stays an expression so the
    // condition never reads as something it does not test.
    bool shownExactly(const QString& field, const QVariant& number) const {
        const int index = m_fields.indexOf(field);
        if (index < 0)
            return false;
        const Picture picture = parsePicture(m_fields.at(index).picture);
        if (!picture.isValid() || picture.kind == PictureKind::Text)
            return true;
        return deformat(format(number, picture), picture).toDouble() == number.toDouble();
    }

    // The value as the wizard would hold it: a constant when the literal suits the field, another
    // field of the list, or an expression.
    void addValue(WizardReading r, const Expr& value, bool constantAllowed, QVector<WizardReading>& out) const {
        if (constantAllowed) {
            if (!r.condition.numeric && value.kind == Kind::Text) {
                WizardReading c = r;
                c.condition.value = value.text;
                out.append(c);
            } else if (r.condition.numeric && value.kind == Kind::Integer &&
                       shownExactly(r.condition.field, QVariant(value.integer))) {
                WizardReading c = r;
                c.condition.value = QueryValue::fromInteger(value.integer).toText();
                out.append(c);
            } else if (r.condition.numeric && value.kind == Kind::Real &&
                       shownExactly(r.condition.field, QVariant(value.real))) {
                WizardReading c = r;
                c.condition.value = QueryValue::fromReal(value.real).toText();
                out.append(c);
            }
        }
        const int other = fieldIndex(&value);
        if (other >= 0) {
            WizardReading f = r;
            f.valueKind = WizardValueKind::OtherField;
            f.expression = m_fields.at(other).field;
            out.append(f);
        }
        r.valueKind = WizardValueKind::Expression;
        r.expression = sourceOf(value);
        out.append(r);
    }

    // INSTRING(value, field) <> 0 is "Contains"; = 1 is "Begins With" on an expression.
    void containsOrBegins(const Expr& e, const Expr& left, const Expr& right, QVector<WizardReading>& out) const {
        if (!isCall(left, Function::InString) || left.children.size() != 2)
            return;
        WizardCondition::Operation op;
        if (e.op == Expr::Op::NotEqual && isInteger(right, 0))
            op = WizardCondition::Contains;
        else if (e.op == Expr::Op::Equal && isInteger(right, 1))
            op = WizardCondition::BeginsWith;
        else
            return;
        for (bool fold : {true, false}) {
            const Expr* value = unwrap(left.children[0], Function::Upper, fold);
            const int field = fieldIndex(unwrap(left.children[1], Function::Upper, fold));
            if (!value || field < 0 || m_fields.at(field).numeric)
                continue;
            addValue(start(field, op, fold), *value, op == WizardCondition::Contains, out);
        }
    }

    // SUB(field, 1, n) = 'text', folded or not, is "Begins With" a constant.
    void beginsWithConstant(const Expr& e, const Expr& left, const Expr& right, QVector<WizardReading>& out) const {
        if (e.op != Expr::Op::Equal)
            return;
        for (bool fold : {true, false}) {
            const Expr* head = unwrap(left, Function::Upper, fold);
            const Expr* value = unwrap(right, Function::Upper, fold);
            if (!head || !value || !isCall(*head, Function::Sub) || head->children.size() != 3 ||
                value->kind != Kind::Text)
                continue;
            const int field = fieldIndex(&head->children[0]);
            if (field < 0 || m_fields.at(field).numeric)
                continue;
            WizardReading r = start(field, WizardCondition::BeginsWith, fold);
            r.condition.value = value->text;
            out.append(r);
        }
    }

    // field op value, with UPPER on both sides (texts without regard to case) or ABS (absolute values);
    // and the "Is Checked" forms.
    void compare(const Expr& e, const Expr& left, const Expr& right, QVector<WizardReading>& out) const {
        const WizardOperator* op = wizardComparison(symbolOf(e.op));
        if (!op)
            return;
        struct Wrap {
            Function function;
            bool wrapped;
        };
        for (const Wrap w : {Wrap{Function::Upper, true}, Wrap{Function::Abs, true}, Wrap{Function::Upper, false}}) {
            const int field = fieldIndex(unwrap(left, w.function, w.wrapped));
            if (field < 0)
                continue;
            const bool numeric = m_fields.at(field).numeric;
            const bool fold = w.wrapped && w.function == Function::Upper;
            const bool absolute = w.wrapped && w.function == Function::Abs;
            if ((fold && numeric) || (absolute && !numeric))
                continue;
            // "Is Checked" on a text field is the likelier reading of a test against blank; on a number
            // field the comparison with 0 is.
            const bool blankTest = (e.op == Expr::Op::Equal || e.op == Expr::Op::NotEqual) &&
                                   (numeric ? isInteger(right, 0) : right.kind == Kind::Text && right.text.isEmpty());
            const auto checked = [&] {
                WizardReading r = start(field, e.op == Expr::Op::NotEqual ? WizardCondition::IsChecked
                                                                           : WizardCondition::IsNotChecked,
                                        false);
                r.condition.caseSensitive = false;
                r.condition.absolute = absolute;
                out.append(r);
            };
            if (blankTest && !fold && !numeric)
                checked();
            if (const Expr* value = unwrap(right, w.function, w.wrapped)) {
                WizardReading r = start(field, op->operation, fold);
                r.condition.absolute = absolute;
                addValue(r, *value, true, out);
            }
            if (absolute && isInteger(right, 0) && (e.op == Expr::Op::Equal || e.op == Expr::Op::NotEqual))
                checked();
            if (blankTest && !fold && numeric)
                checked();
        }
    }

    const QString& m_text;
    const QueryFieldList& m_fields;
    QVector<QueryToken> m_tokens;
};

bool sameToken(const QueryToken& a, const QueryToken& b) {
    if (a.type != b.type)
        return false;
    switch (a.type) {
    case QueryToken::Type::Name: return a.text.compare(b.text, Qt::CaseInsensitive) == 0;
    case QueryToken::Type::Text:
    case QueryToken::Type::Operator: return a.text == b.text;
    case QueryToken::Type::Integer: return a.integer == b.integer;
    case QueryToken::Type::Real: return a.real == b.real;
    default: return true;
    }
}

bool sameTokens(const QVector<QueryToken>& a, const QString& text) {
    QVector<QueryToken> b;
    if (!QueryLexer().tokenize(text, b) || a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (!sameToken(a[i], b[i]))
            return false;
    return true;
}

}  // namespace

QString readingText(const WizardReading& r) {
    return conditionText(r.condition, r.valueKind, r.expression);
}

std::optional<WizardReading> readWizardCondition(const QString& text, const QueryFieldList& fields) {
    const ParsedQuery parsed = parseQuery(text);
    if (!parsed.ok())
        return std::nullopt;
    QVector<QueryToken> tokens;
    if (!QueryLexer().tokenize(text, tokens))
        return std::nullopt;
    Reader reader(text, fields);
    if (!reader.tokenize())
        return std::nullopt;
    for (const WizardReading& r : reader.candidates(*parsed.expr))
        if (sameTokens(tokens, readingText(r)))
            return r;
    return std::nullopt;
}

}  // namespace srk
