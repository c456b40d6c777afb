#include "query/WizardCondition.h"

#include "query/QueryValue.h"

namespace srk {

namespace {

// A number as typed when it reads as one, otherwise a quoted text (which compares as a number anyway
// when it is numeric).
QString numberOrText(const QString& value) {
    const std::optional<QueryValue> n = QueryValue::fromText(value).asNumber();
    return n ? n->toText() : quotedText(value);
}

}  // namespace

QString quotedText(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + out + QLatin1Char('\'');
}

QString conditionText(const WizardCondition& c) {
    const bool fold = !c.numeric && !c.caseSensitive;
    auto wrap = [](const QString& function, const QString& inner) { return function + QLatin1Char('(') + inner + QLatin1Char(')'); };
    QString field = c.field;
    QString value = c.numeric ? numberOrText(c.value) : quotedText(c.value);
    if (c.numeric && c.absolute) {
        field = wrap(QStringLiteral("ABS"), field);
        value = wrap(QStringLiteral("ABS"), value);
    }
    switch (c.operation) {
    case WizardCondition::BeginsWith: {
        const qsizetype length = withoutTrailingBlanks(c.value).toUcs4().size();
        const QString head = QStringLiteral("SUB(%1, 1, %2)").arg(field).arg(length);
        const QString text = quotedText(c.value);
        return fold ? QStringLiteral("UPPER(%1) = UPPER(%2)").arg(head, text) : QStringLiteral("%1 = %2").arg(head, text);
    }
    case WizardCondition::Contains: {
        const QString text = quotedText(c.value);
        return fold ? QStringLiteral("INSTRING(UPPER(%1), UPPER(%2)) <> 0").arg(text, field)
                    : QStringLiteral("INSTRING(%1, %2) <> 0").arg(text, field);
    }
    case WizardCondition::IsChecked:
        return c.numeric ? QStringLiteral("%1 <> 0").arg(field) : QStringLiteral("%1 <> ''").arg(field);
    case WizardCondition::IsNotChecked:
        return c.numeric ? QStringLiteral("%1 = 0").arg(field) : QStringLiteral("%1 = ''").arg(field);
    default: break;
    }
    static const char* const ops[] = {"=", "<>", ">", "<", ">=", "<="};
    const int index = int(c.operation) - 1;
    const QString op = QLatin1String(ops[index >= 0 && index < 6 ? index : 0]);
    if (fold)
        return QStringLiteral("UPPER(%1) %2 UPPER(%3)").arg(field, op, value);
    return QStringLiteral("%1 %2 %3").arg(field, op, value);
}

QString conditionText(const WizardCondition& c, const QString& valueExpression) {
    const bool fold = !c.numeric && !c.caseSensitive;
    auto wrap = [](const QString& function, const QString& inner) { return function + QLatin1Char('(') + inner + QLatin1Char(')'); };
    QString field = c.field;
    QString value = valueExpression.trimmed();
    switch (c.operation) {
    case WizardCondition::IsChecked:
    case WizardCondition::IsNotChecked: return conditionText(c);
    case WizardCondition::BeginsWith:
    case WizardCondition::Contains: {
        if (fold) {
            field = wrap(QStringLiteral("UPPER"), field);
            value = wrap(QStringLiteral("UPPER"), value);
        }
        const QString found = QStringLiteral("INSTRING(%1, %2)").arg(value, field);
        return found + (c.operation == WizardCondition::BeginsWith ? QStringLiteral(" = 1") : QStringLiteral(" <> 0"));
    }
    default: break;
    }
    if (c.numeric && c.absolute) {
        field = wrap(QStringLiteral("ABS"), field);
        value = wrap(QStringLiteral("ABS"), value);
    } else if (fold) {
        field = wrap(QStringLiteral("UPPER"), field);
        value = wrap(QStringLiteral("UPPER"), value);
    }
    static const char* const ops[] = {"=", "<>", ">", "<", ">=", "<="};
    const int index = int(c.operation) - 1;
    const QString op = QLatin1String(ops[index >= 0 && index < 6 ? index : 0]);
    return QStringLiteral("%1 %2 %3").arg(field, op, value);
}

}  // namespace srk
