#include "query/QueryParser.h"

#include "catalog/Tables.h"
#include "query/QueryLexer.h"

namespace srk {

namespace {

// Deep nesting would only come from generated garbage; the limit keeps the recursion bounded.
constexpr int MaxDepth = 64;

struct ParseError {
    QString message;
    int position;
};

class Parser {
public:
    Parser(const QVector<QueryToken>& tokens, const FieldCheck& knownField)
        : m_tokens(tokens), m_knownField(knownField) {}

    std::optional<Expr> parse() {
        std::optional<Expr> e = parseOr();
        if (!e)
            return e;
        if (peek().type != QueryToken::Type::End) {
            if (peek().type == QueryToken::Type::RightParen)
                return fail(QStringLiteral("Unbalanced parenthesis"), peek().position);
            return fail(QStringLiteral("Unexpected %1").arg(describe(peek())), peek().position);
        }
        return e;
    }

    QString error;
    int errorPosition = 0;

private:
    const QueryToken& peek() const { return m_tokens[m_pos]; }
    const QueryToken& take() {
        const QueryToken& t = m_tokens[m_pos];
        if (m_pos + 1 < m_tokens.size())
            ++m_pos;
        return t;
    }
    bool isKeyword(const QueryToken& t, const char* word) const {
        return t.type == QueryToken::Type::Name && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    std::optional<Expr> fail(const QString& message, int position) {
        if (error.isEmpty()) {
            error = message;
            errorPosition = position;
        }
        return std::nullopt;
    }
    static QString describe(const QueryToken& t) {
        switch (t.type) {
        case QueryToken::Type::End: return QStringLiteral("end of the query");
        case QueryToken::Type::Name: return QStringLiteral("\"%1\"").arg(t.text);
        case QueryToken::Type::Text: return QStringLiteral("text");
        case QueryToken::Type::Integer:
        case QueryToken::Type::Real: return QStringLiteral("number");
        case QueryToken::Type::LeftParen: return QStringLiteral("\"(\"");
        case QueryToken::Type::RightParen: return QStringLiteral("\")\"");
        case QueryToken::Type::Comma: return QStringLiteral("\",\"");
        case QueryToken::Type::Minus: return QStringLiteral("\"-\"");
        case QueryToken::Type::Operator: return QStringLiteral("\"%1\"").arg(t.text);
        }
        return QString();
    }

    std::optional<Expr> parseList(Expr::Kind kind, const char* word) {
        const int position = peek().position;
        std::optional<Expr> first = kind == Expr::Kind::Or ? parseList(Expr::Kind::And, "AND") : parseNot();
        if (!first || !isKeyword(peek(), word))
            return first;
        Expr list;
        list.kind = kind;
        list.position = position;
        list.children.push_back(std::move(*first));
        while (isKeyword(peek(), word)) {
            take();
            std::optional<Expr> next = kind == Expr::Kind::Or ? parseList(Expr::Kind::And, "AND") : parseNot();
            if (!next)
                return next;
            list.children.push_back(std::move(*next));
        }
        return list;
    }
    std::optional<Expr> parseOr() { return parseList(Expr::Kind::Or, "OR"); }

    std::optional<Expr> parseNot() {
        if (!isKeyword(peek(), "NOT"))
            return parseComparison();
        const int position = take().position;
        if (++m_depth > MaxDepth)
            return fail(QStringLiteral("Query nested too deeply"), position);
        std::optional<Expr> inner = parseNot();
        --m_depth;
        if (!inner)
            return inner;
        Expr e;
        e.kind = Expr::Kind::Not;
        e.position = position;
        e.children.push_back(std::move(*inner));
        return e;
    }

    std::optional<Expr> parseComparison() {
        std::optional<Expr> left = parseValue();
        if (!left || peek().type != QueryToken::Type::Operator)
            return left;
        const QueryToken& opToken = take();
        Expr e;
        e.kind = Expr::Kind::Compare;
        e.position = opToken.position;
        const QString& op = opToken.text;
        if (op == QLatin1String("="))
            e.op = Expr::Op::Equal;
        else if (op == QLatin1String("<>"))
            e.op = Expr::Op::NotEqual;
        else if (op == QLatin1String("<"))
            e.op = Expr::Op::Less;
        else if (op == QLatin1String(">"))
            e.op = Expr::Op::Greater;
        else if (op == QLatin1String("<="))
            e.op = Expr::Op::LessEqual;
        else if (op == QLatin1String(">="))
            e.op = Expr::Op::GreaterEqual;
        else
            e.op = Expr::Op::FoldedEqual;
        std::optional<Expr> right = parseValue();
        if (!right)
            return right;
        if (peek().type == QueryToken::Type::Operator)
            return fail(QStringLiteral("Comparisons cannot be chained; use AND"), peek().position);
        e.children.push_back(std::move(*left));
        e.children.push_back(std::move(*right));
        return e;
    }

    std::optional<Expr> parseValue() {
        const QueryToken& t = peek();
        Expr e;
        e.position = t.position;
        switch (t.type) {
        case QueryToken::Type::Integer:
            e.kind = Expr::Kind::Integer;
            e.integer = take().integer;
            return e;
        case QueryToken::Type::Real:
            e.kind = Expr::Kind::Real;
            e.real = take().real;
            return e;
        case QueryToken::Type::Minus: {
            take();
            const QueryToken& n = peek();
            if (n.type == QueryToken::Type::Integer) {
                e.kind = Expr::Kind::Integer;
                e.integer = -take().integer;
            } else if (n.type == QueryToken::Type::Real) {
                e.kind = Expr::Kind::Real;
                e.real = -take().real;
            } else {
                return fail(QStringLiteral("A number must follow \"-\""), n.position);
            }
            return e;
        }
        case QueryToken::Type::Text:
            e.kind = Expr::Kind::Text;
            e.text = take().text;
            return e;
        case QueryToken::Type::LeftParen: {
            take();
            if (++m_depth > MaxDepth)
                return fail(QStringLiteral("Query nested too deeply"), t.position);
            std::optional<Expr> inner = parseOr();
            --m_depth;
            if (!inner)
                return inner;
            if (peek().type != QueryToken::Type::RightParen)
                return fail(QStringLiteral("Unbalanced parenthesis"), e.position);
            take();
            return inner;
        }
        case QueryToken::Type::Name:
            return parseName();
        case QueryToken::Type::End:
            return fail(QStringLiteral("Query ends where a value is expected"), t.position);
        default:
            return fail(QStringLiteral("Unexpected %1").arg(describe(t)), t.position);
        }
    }

    std::optional<Expr> parseName() {
        const QueryToken& t = take();
        Expr e;
        e.position = t.position;
        e.text = t.text;
        if (t.text.contains(QLatin1String("::"))) {
            e.kind = Expr::Kind::Bound;
            return e;
        }
        if (t.text.contains(QLatin1Char(':'))) {
            if (!m_knownField || !m_knownField(t.text))
                return fail(QStringLiteral("Unknown field \"%1\"").arg(t.text), t.position);
            e.kind = Expr::Kind::Field;
            return e;
        }
        if (peek().type != QueryToken::Type::LeftParen) {
            if (isKeyword(t, "AND") || isKeyword(t, "OR") || isKeyword(t, "NOT"))
                return fail(QStringLiteral("Unexpected \"%1\"").arg(t.text), t.position);
            return fail(QStringLiteral("Unknown name \"%1\"").arg(t.text), t.position);
        }
        static const struct {
            const char* name;
            Expr::Function function;
            int arguments;
        } functions[] = {
            {"UPPER", Expr::Function::Upper, 1},   {"LOWER", Expr::Function::Lower, 1},
            {"SUB", Expr::Function::Sub, 3},       {"INSTRING", Expr::Function::InString, 2},
            {"ABS", Expr::Function::Abs, 1},
        };
        int arguments = -1;
        for (const auto& f : functions) {
            if (isKeyword(t, f.name)) {
                e.function = f.function;
                arguments = f.arguments;
            }
        }
        if (arguments < 0)
            return fail(QStringLiteral("Unknown function \"%1\"").arg(t.text), t.position);
        e.kind = Expr::Kind::Call;
        const int open = take().position;
        if (++m_depth > MaxDepth)
            return fail(QStringLiteral("Query nested too deeply"), open);
        for (int i = 0; i < arguments; ++i) {
            if (i > 0) {
                if (peek().type != QueryToken::Type::Comma)
                    return fail(QStringLiteral("%1 takes %2 arguments").arg(t.text.toUpper()).arg(arguments),
                                peek().position);
                take();
            }
            std::optional<Expr> argument = parseOr();
            if (!argument)
                return argument;
            e.children.push_back(std::move(*argument));
        }
        --m_depth;
        if (peek().type == QueryToken::Type::Comma)
            return fail(QStringLiteral("%1 takes %2 argument%3")
                            .arg(t.text.toUpper())
                            .arg(arguments)
                            .arg(arguments == 1 ? QString() : QStringLiteral("s")),
                        peek().position);
        if (peek().type != QueryToken::Type::RightParen)
            return fail(QStringLiteral("Unbalanced parenthesis"), open);
        take();
        return e;
    }

    const QVector<QueryToken>& m_tokens;
    const FieldCheck& m_knownField;
    qsizetype m_pos = 0;
    int m_depth = 0;
};

}  // namespace

bool isCatalogueField(const QString& field) {
    const qsizetype colon = field.indexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    const TableDef* def = tableByLabel(field.left(colon));
    return def && def->prefix.compare(field.left(colon), Qt::CaseInsensitive) == 0 && def->fieldIndex(field) >= 0;
}

ParsedQuery parseQuery(const QString& text, const FieldCheck& knownField) {
    ParsedQuery result;
    if (text.size() > MaxQueryLength) {
        result.error = QStringLiteral("The query is longer than %1 characters").arg(MaxQueryLength);
        result.position = MaxQueryLength + 1;
        return result;
    }
    if (text.trimmed().isEmpty()) {
        result.error = QStringLiteral("The query is empty");
        result.position = 1;
        return result;
    }
    QueryLexer lexer;
    QVector<QueryToken> tokens;
    if (!lexer.tokenize(text, tokens)) {
        result.error = lexer.error() + QStringLiteral(" at position %1").arg(lexer.errorPosition());
        result.position = lexer.errorPosition();
        return result;
    }
    Parser parser(tokens, knownField);
    result.expr = parser.parse();
    if (!result.expr) {
        result.error = parser.error + QStringLiteral(" at position %1").arg(parser.errorPosition);
        result.position = parser.errorPosition;
    }
    return result;
}

}  // namespace srk
