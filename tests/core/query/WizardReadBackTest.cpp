#include "query/QueryValue.h"
#include "query/WizardOperators.h"
#include "query/WizardReadBack.h"
#include "songs/SongQueryFields.h"
#include "text/Picture.h"

#include <gtest/gtest.h>

using namespace srk;

namespace {

const QueryFieldList& fields() {
    static const QueryFieldList list = songQueryFields();
    return list;
}

std::string describe(const WizardReading& r) {
    return QStringLiteral("%1 op %2 value [%3] kind %4 expr [%5] case %6 abs %7")
        .arg(r.condition.field)
        .arg(int(r.condition.operation))
        .arg(r.condition.value)
        .arg(int(r.valueKind))
        .arg(r.expression)
        .arg(r.condition.caseSensitive)
        .arg(r.condition.absolute)
        .toStdString();
}

void expectSame(const WizardReading& built, const std::optional<WizardReading>& read, const QString& text) {
    ASSERT_TRUE(read.has_value()) << text.toStdString() << " from " << describe(built);
    EXPECT_EQ(read->condition.field, built.condition.field) << text.toStdString();
    EXPECT_EQ(read->condition.numeric, built.condition.numeric) << text.toStdString();
    EXPECT_EQ(read->condition.operation, built.condition.operation) << text.toStdString();
    EXPECT_EQ(read->condition.caseSensitive, built.condition.caseSensitive) << text.toStdString();
    EXPECT_EQ(read->condition.absolute, built.condition.absolute) << text.toStdString();
    EXPECT_EQ(read->valueKind, built.valueKind) << text.toStdString();
    if (built.valueKind == WizardValueKind::Constant && wizardOperator(built.condition.operation).needsValue) {
        EXPECT_EQ(read->condition.value, built.condition.value) << text.toStdString();
    }
    if (built.valueKind != WizardValueKind::Constant) {
        EXPECT_EQ(read->expression, built.expression) << text.toStdString();
    }
    // Whatever was read writes the very same filter.
    EXPECT_EQ(readingText(*read), text);
}

}  // namespace

TEST(WizardReadBack, EveryConditionTheWizardWritesReadsBackAsBuilt) {
    const QStringList texts{QStringLiteral("zz"), QStringLiteral("O'Brien"), QStringLiteral("Björk  "),
                            QStringLiteral("AND OR (x)")};
    // A number is typed through the field's picture and stored as it reads back, as the wizard does.
    const auto numbersOf = [](const QueryField& f) {
        QStringList out;
        for (const QVariant& typed : {QVariant(12), QVariant(-3), QVariant(2.5), QVariant(71671), QVariant(21001)}) {
            const QString shown = format(typed, f.picture).trimmed();
            if (shown.isEmpty() || shown.contains(QLatin1Char('#')))
                continue;
            const QVariant stored = deformat(shown, f.picture);
            const QString text = stored.typeId() == QMetaType::Double ? QueryValue::fromReal(stored.toDouble()).toText()
                                                                      : QueryValue::fromInteger(stored.toLongLong()).toText();
            if (!out.contains(text))
                out << text;
        }
        return out;
    };
    const QStringList expressions{QStringLiteral("BRW1::Sort3:Reset:MED:Media"),
                                  QStringLiteral("SUB(SON:Title, 1, 3)"), QStringLiteral("UPPER(SON:Album)")};
    int checked = 0;
    for (const QueryField& f : fields().fields()) {
        for (const WizardOperator& op : wizardOperators()) {
            if (f.numeric && op.textOnly)
                continue;
            // Blank tests have readings of their own (below).
            if (!op.needsValue && f.numeric)
                continue;
            for (bool flag : {false, true}) {
                WizardReading built;
                built.condition.field = f.field;
                built.condition.numeric = f.numeric;
                built.condition.operation = op.operation;
                built.condition.caseSensitive = !f.numeric && flag && op.needsValue;
                built.condition.absolute = f.numeric && flag;
                if (!op.needsValue) {
                    expectSame(built, readWizardCondition(readingText(built), fields()), readingText(built));
                    ++checked;
                    continue;
                }
                for (const QString& value : f.numeric ? numbersOf(f) : texts) {
                    WizardReading c = built;
                    c.condition.value = value;
                    expectSame(c, readWizardCondition(readingText(c), fields()), readingText(c));
                    ++checked;
                }
                for (const QString& expression : expressions) {
                    WizardReading c = built;
                    c.valueKind = WizardValueKind::Expression;
                    c.expression = expression;
                    expectSame(c, readWizardCondition(readingText(c), fields()), readingText(c));
                    ++checked;
                }
                WizardReading other = built;
                other.valueKind = WizardValueKind::OtherField;
                other.expression = QStringLiteral("SON:Title");
                expectSame(other, readWizardCondition(readingText(other), fields()), readingText(other));
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 1000);
}

TEST(WizardReadBack, AContainsFilterAndBlankTestsReadAsTheirLikeliestCondition) {
    const std::optional<WizardReading> zz =
        readWizardCondition(QStringLiteral("INSTRING(UPPER('zz'), UPPER(SON:Artist)) <> 0"), fields());
    ASSERT_TRUE(zz);
    EXPECT_EQ(zz->condition.field, QStringLiteral("SON:Artist"));
    EXPECT_EQ(zz->condition.operation, WizardCondition::Contains);
    EXPECT_EQ(zz->condition.value, QStringLiteral("zz"));
    EXPECT_FALSE(zz->condition.caseSensitive);
    EXPECT_EQ(zz->valueKind, WizardValueKind::Constant);

    // Blank and zero tests: "Is Checked" for a text, the comparison with 0 for a number.
    const auto operation = [](const char* text) {
        const std::optional<WizardReading> r = readWizardCondition(QString::fromUtf8(text), fields());
        return r ? int(r->condition.operation) : -1;
    };
    EXPECT_EQ(operation("SON:Artist <> ''"), WizardCondition::IsChecked);
    EXPECT_EQ(operation("SON:Artist = ''"), WizardCondition::IsNotChecked);
    EXPECT_EQ(operation("UPPER(SON:Artist) = UPPER('')"), WizardCondition::Equal);
    EXPECT_EQ(operation("SON:ChartNumber = 0"), WizardCondition::Equal);
    EXPECT_EQ(operation("SON:ChartNumber <> 0"), WizardCondition::NotEqual);
    EXPECT_EQ(operation("ABS(SON:ChartNumber) <> 0"), WizardCondition::IsChecked);
    // Names in any letter case, blanks anywhere.
    EXPECT_EQ(operation("upper( son:artist )=upper('a')"), WizardCondition::Equal);
    // A literal typed as an expression is the constant it stands for.
    const std::optional<WizardReading> chart = readWizardCondition(QStringLiteral("SON:ChartNumber >= 10"), fields());
    ASSERT_TRUE(chart);
    EXPECT_EQ(chart->valueKind, WizardValueKind::Constant);
    EXPECT_EQ(chart->condition.value, QStringLiteral("10"));
    EXPECT_TRUE(chart->condition.numeric);

    // A number the field's picture would not show as it is stays an expression, so the condition
    // never reads as a test it is not.
    const auto kind = [](const char* text) {
        const std::optional<WizardReading> r = readWizardCondition(QString::fromUtf8(text), fields());
        return r ? int(r->valueKind) : -1;
    };
    EXPECT_EQ(kind("SON:ChartNumber > 2.5"), int(WizardValueKind::Expression));
    EXPECT_EQ(kind("SON:Time < 21050"), int(WizardValueKind::Expression)); // hundredths under "@t4"
    EXPECT_EQ(kind("SON:Time <= 21001"), int(WizardValueKind::Constant));  // 00:03:30
    EXPECT_EQ(kind("SON:ReleaseDate >= 71671"), int(WizardValueKind::Constant));
}

TEST(WizardReadBack, TextTheWizardWouldNotWriteIsNotRead) {
    for (const char* text : {
             "SON:Artist = 'x' AND SON:Title = 'y'",         // two conditions
             "(UPPER(SON:Artist) = UPPER('x'))",            // parentheses of its own
             "NOT UPPER(SON:Artist) = UPPER('x')",          // negated
             "5 < SON:ChartNumber",                         // field on the right
             "UPPER(SON:Artist) = 'x'",                     // folded on one side only
             "UPPER(SON:ChartNumber) = UPPER(3)",           // a number folded
             "ABS(SON:Artist) = ABS('x')",                  // a text made absolute
             "SON:AlbumID = 3",                             // not in the list
             "UPPER(SUB(SON:Artist, 1, 5)) = UPPER('Ab')",  // a length that does not fit the value
             "SUB(SON:Artist, 2, 2) = 'Ab'",                // not the first characters
             "INSTRING(UPPER('x'), UPPER(SON:Artist)) <> 1", // neither contains nor begins with
             "INSTRING(UPPER('x'), UPPER(SON:ChartNumber)) <> 0", // "Contains" on a number
             "SON:Artist ~= 'x'",                           // an operator the wizard does not write
             "UPPER(SON:Artist) = UPPER(",                  // does not read at all
             "SON:Artist",                                  // a value alone
         }) {
        EXPECT_FALSE(readWizardCondition(QString::fromUtf8(text), fields()).has_value()) << text;
    }
}

TEST(WizardOperators, OneEntryPerOperationInTheWizardsOrder) {
    const auto ops = wizardOperators();
    ASSERT_EQ(ops.size(), 10u);
    for (size_t i = 0; i < ops.size(); ++i) {
        EXPECT_EQ(int(ops[i].operation), int(i) + 1);
        EXPECT_EQ(int(ops[i].display), int(ops[i].operation)); // the wizard numbers both alike
        EXPECT_EQ(&wizardOperator(ops[i].operation), &ops[i]);
        EXPECT_EQ(!ops[i].symbol.isEmpty(), ops[i].form == WizardForm::Compare);
        if (ops[i].form == WizardForm::Compare) {
            EXPECT_EQ(wizardComparison(ops[i].symbol), &ops[i]);
        }
    }
    EXPECT_EQ(wizardText(wizardOperator(WizardCondition::GreaterOrEqual).display),
              QStringLiteral("Is Greater Than or Equal To"));
    EXPECT_EQ(wizardComparison(QLatin1StringView("~=")), nullptr);
}
