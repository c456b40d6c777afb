#include "ui/query/QueryElements.h"

#include "query/QueryLexer.h"
#include "query/WizardReadBack.h"

namespace srk {

namespace {

bool isJoinWord(const QueryToken& t, QueryElement::Join* join) {
    if (t.type != QueryToken::Type::Name)
        return false;
    if (t.text.compare(QLatin1String("AND"), Qt::CaseInsensitive) == 0) {
        *join = QueryElement::Join::And;
        return true;
    }
    if (t.text.compare(QLatin1String("OR"), Qt::CaseInsensitive) == 0) {
        *join = QueryElement::Join::Or;
        return true;
    }
    return false;
}

} // namespace

QString QueryElement::conditionTextOf(const QueryElement& e) {
    return conditionText(e.condition, e.valueKind, e.expression);
}

bool hasTopLevelJoin(const QString& text) {
    QueryLexer lexer;
    QVector<QueryToken> tokens;
    if (!lexer.tokenize(text, tokens))
        return true;
    int depth = 0;
    QueryElement::Join join;
    for (const QueryToken& t : tokens) {
        if (t.type == QueryToken::Type::LeftParen)
            ++depth;
        else if (t.type == QueryToken::Type::RightParen)
            --depth;
        else if (depth == 0 && isJoinWord(t, &join))
            return true;
    }
    return false;
}

QString joinQueryElements(const QVector<QueryElement>& elements) {
    QString out;
    for (qsizetype i = 0; i < elements.size(); ++i) {
        const QueryElement& e = elements[i];
        const QString text = e.text.trimmed();
        if (i > 0)
            out += e.join == QueryElement::Join::And ? QStringLiteral(" AND ") : QStringLiteral(" OR ");
        out += hasTopLevelJoin(text) ? QLatin1Char('(') + text + QLatin1Char(')') : text;
    }
    return out;
}

QVector<QueryElement> splitQueryElements(const QString& text) {
    QueryElement whole;
    whole.text = text.trimmed();
    const QVector<QueryElement> asOne{whole};

    QueryLexer lexer;
    QVector<QueryToken> tokens;
    if (!lexer.tokenize(text, tokens))
        return asOne;
    QVector<QueryElement> parts;
    int depth = 0;
    qsizetype start = 0;
    QueryElement::Join pending = QueryElement::Join::And;
    auto cut = [&](qsizetype end) {
        QueryElement e;
        e.join = pending;
        e.text = text.mid(start, end - start).trimmed();
        parts.append(e);
        return !e.text.isEmpty();
    };
    for (const QueryToken& t : tokens) {
        QueryElement::Join join;
        if (t.type == QueryToken::Type::LeftParen) {
            ++depth;
        } else if (t.type == QueryToken::Type::RightParen) {
            --depth;
        } else if (depth == 0 && isJoinWord(t, &join)) {
            const qsizetype at = t.position - 1;
            if (!cut(at))
                return asOne;
            pending = join;
            start = at + t.text.size();
        }
    }
    if (!cut(text.size()))
        return asOne;
    parts.first().join = QueryElement::Join::And;
    return parts;
}

QVector<QueryElement> readQueryElements(const QString& text, const QueryFieldList& fields) {
    QVector<QueryElement> elements = splitQueryElements(text);
    for (QueryElement& e : elements) {
        const std::optional<WizardReading> reading = readWizardCondition(e.text, fields);
        if (!reading)
            continue;
        e.built = true;
        e.condition = reading->condition;
        e.valueKind = reading->valueKind;
        e.expression = reading->expression;
    }
    return elements;
}

} // namespace srk
