#include "query/WizardCondition.h"

#include "query/QueryValue.h"
#include "query/WizardOperators.h"

namespace srk {

namespace {

// A number as typed when it reads as one, otherwise a quoted text (which compares as a number anyway
// when it is numeric).
QString numberOrText(const QString& value) {
    const std::optional<QueryValue> n = QueryValue::fromText(value).asNumber();
    return n ? n->toText() : quotedText(value);
}

QString wrap(const QString& function, const QString& inner) {
    return function + QLatin1Char('(') + inner + QLatin1Char(')');
}

// "Is Checked": non-zero numbers, non-blank texts.
QString checkedText(const QString& field, bool numeric, WizardForm form) {
    const QString blank = numeric ? QStringLiteral("0") : QStringLiteral("''");
    const QString symbol = form == WizardForm::Checked ? QStringLiteral("<>") : QStringLiteral("=");
    return field + QLatin1Char(' ') + symbol + QLatin1Char(' ') + blank;
}

} // namespace

QString quotedText(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + out + QLatin1Char('\'');
}

QString conditionText(const WizardCondition& c) {
    const WizardOperator& op = wizardOperator(c.operation);
    const bool fold = !c.numeric && !c.caseSensitive;
    QString field = c.field;
    QString value = c.numeric ? numberOrText(c.value) : quotedText(c.value);
    if (c.numeric && c.absolute) {
        field = wrap(QStringLiteral("ABS"), field);
        value = wrap(QStringLiteral("ABS"), value);
    }
    switch (op.form) {
    case WizardForm::BeginsWith: {
        const qsizetype length = withoutTrailingBlanks(c.value).toUcs4().size();
        const QString head = QStringLiteral("SUB(%1, 1, %2)").arg(field).arg(length);
        const QString text = quotedText(c.value);
        return fold ? QStringLiteral("UPPER(%1) = UPPER(%2)").arg(head, text) : QStringLiteral("%1 = %2").arg(head, text);
    }
    case WizardForm::Contains: {
        const QString text = quotedText(c.value);
        return fold ? QStringLiteral("INSTRING(UPPER(%1), UPPER(%2)) <> 0").arg(text, field)
                    : QStringLiteral("INSTRING(%1, %2) <> 0").arg(text, field);
    }
    case WizardForm::Checked:
    case WizardForm::NotChecked:
        return checkedText(field, c.numeric, op.form);
    case WizardForm::Compare:
        break;
    }
    if (fold)
        return QStringLiteral("UPPER(%1) %2 UPPER(%3)").arg(field, op.symbol, value);
    return QStringLiteral("%1 %2 %3").arg(field, op.symbol, value);
}

QString conditionText(const WizardCondition& c, const QString& valueExpression) {
    const WizardOperator& op = wizardOperator(c.operation);
    const bool fold = !c.numeric && !c.caseSensitive;
    QString field = c.field;
    QString value = valueExpression.trimmed();
    switch (op.form) {
    case WizardForm::Checked:
    case WizardForm::NotChecked:
        return conditionText(c);
    case WizardForm::BeginsWith:
    case WizardForm::Contains: {
        if (fold) {
            field = wrap(QStringLiteral("UPPER"), field);
            value = wrap(QStringLiteral("UPPER"), value);
        }
        const QString found = QStringLiteral("INSTRING(%1, %2)").arg(value, field);
        return found + (op.form == WizardForm::BeginsWith ? QStringLiteral(" = 1") : QStringLiteral(" <> 0"));
    }
    case WizardForm::Compare:
        break;
    }
    if (c.numeric && c.absolute) {
        field = wrap(QStringLiteral("ABS"), field);
        value = wrap(QStringLiteral("ABS"), value);
    } else if (fold) {
        field = wrap(QStringLiteral("UPPER"), field);
        value = wrap(QStringLiteral("UPPER"), value);
    }
    return QStringLiteral("%1 %2 %3").arg(field, op.symbol, value);
}

QString conditionText(const WizardCondition& c, WizardValueKind kind, const QString& expression) {
    return kind == WizardValueKind::Constant ? conditionText(c) : conditionText(c, expression);
}

}  // namespace srk
