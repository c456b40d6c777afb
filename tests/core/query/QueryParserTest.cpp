#include "query/QueryParser.h"
#include "query/WizardCondition.h"

#include <gtest/gtest.h>

using namespace srk;

namespace {

QString errorOf(const QString& text) {
    const ParsedQuery q = parseQuery(text);
    EXPECT_FALSE(q.ok()) << text.toStdString();
    return q.error;
}

Expr parsed(const QString& text) {
    const ParsedQuery q = parseQuery(text);
    EXPECT_TRUE(q.ok()) << text.toStdString() << ": " << q.error.toStdString();
    return q.ok() ? *q.expr : Expr();
}

}  // namespace

TEST(QueryParser, RangeFiltersOfTheSongBrowse) {
    const Expr m = parsed(QStringLiteral("UPPER(SON:Media) = UPPER(BRW1::Sort3:Reset:MED:Media)"));
    ASSERT_EQ(m.kind, Expr::Kind::Compare);
    EXPECT_EQ(m.op, Expr::Op::Equal);
    ASSERT_EQ(m.children.size(), 2u);
    EXPECT_TRUE(m.children[0].isCaseFold());
    EXPECT_EQ(m.children[0].children[0].kind, Expr::Kind::Field);
    EXPECT_EQ(m.children[0].children[0].text, QStringLiteral("SON:Media"));
    EXPECT_EQ(m.children[1].children[0].kind, Expr::Kind::Bound);
    EXPECT_EQ(m.children[1].children[0].text, QStringLiteral("BRW1::Sort3:Reset:MED:Media"));

    // The joined form: range in parentheses, AND, the query in parentheses.
    const Expr j = parsed(QStringLiteral(
        "(SON:CategoryID = BRW1::Sort4:Reset:CAT:CategoryID) AND (UPPER(SON:Artist) = UPPER('abba') OR SON:ChartNumber > 3)"));
    ASSERT_EQ(j.kind, Expr::Kind::And);
    ASSERT_EQ(j.children.size(), 2u);
    EXPECT_EQ(j.children[0].children[1].kind, Expr::Kind::Bound);
    EXPECT_EQ(j.children[1].kind, Expr::Kind::Or);
}

TEST(QueryParser, PrecedenceKeywordsAndLiterals) {
    // AND binds tighter than OR; NOT tighter than AND; keywords in any case.
    const Expr e = parsed((QStringLiteral("SON:Side = 'A' or not SON:Side = 'B' And SON:TrackNumber >= 2")));
    ASSERT_EQ(e.kind, Expr::Kind::Or);
    ASSERT_EQ(e.children[1].kind, Expr::Kind::And);
    EXPECT_EQ(e.children[1].children[0].kind, Expr::Kind::Not);
    EXPECT_EQ(e.children[1].children[1].op, Expr::Op::GreaterEqual);

    const Expr quotes = parsed((QStringLiteral("SON:Artist = 'O''Brien' OR SON:Title = \"Say \"\"Hi\"\"\"")));
    EXPECT_EQ(quotes.children[0].children[1].text, QStringLiteral("O'Brien"));
    EXPECT_EQ(quotes.children[1].children[1].text, QStringLiteral("Say \"Hi\""));

    const Expr numbers = parsed((QStringLiteral("SON:Time <> -12 AND SON:BeatsPerMinute < 120.5 AND a_s:title ~= 'x'")));
    ASSERT_EQ(numbers.children.size(), 3u);
    EXPECT_EQ(numbers.children[0].children[1].kind, Expr::Kind::Integer);
    EXPECT_EQ(numbers.children[0].children[1].integer, -12);
    EXPECT_EQ(numbers.children[0].op, Expr::Op::NotEqual);
    EXPECT_EQ(numbers.children[1].children[1].kind, Expr::Kind::Real);
    EXPECT_DOUBLE_EQ(numbers.children[1].children[1].real, 120.5);
    EXPECT_EQ(numbers.children[2].op, Expr::Op::FoldedEqual);

    const Expr calls = parsed((QStringLiteral("SUB(SON:Artist, 1, 3) = 'ABB' AND INSTRING('b', lower(CAT:Category)) <> 0")));
    EXPECT_EQ(calls.children[0].children[0].function, Expr::Function::Sub);
    EXPECT_EQ(calls.children[0].children[0].children.size(), 3u);
    EXPECT_EQ(calls.children[1].children[0].function, Expr::Function::InString);
    EXPECT_EQ(calls.children[1].children[0].children[1].function, Expr::Function::Lower);
}

TEST(QueryParser, EveryWizardOperationParses) {
    const QString values[] = {QStringLiteral("Björk"), QStringLiteral("O'Brien"), QStringLiteral("12"),
                              QStringLiteral("-7.5"), QString(), QStringLiteral("\"quoted\"")};
    for (int op = WizardCondition::Equal; op <= WizardCondition::IsNotChecked; ++op) {
        for (const bool numeric : {false, true}) {
            for (const bool caseSensitive : {false, true}) {
                for (const bool absolute : {false, true}) {
                    for (const QString& value : values) {
                        WizardCondition c;
                        c.field = numeric ? QStringLiteral("SON:ChartNumber") : QStringLiteral("SON:Artist");
                        c.numeric = numeric;
                        c.operation = WizardCondition::Operation(op);
                        c.value = value;
                        c.caseSensitive = caseSensitive;
                        c.absolute = absolute;
                        const QString text = conditionText(c);
                        const ParsedQuery q = parseQuery(text);
                        EXPECT_TRUE(q.ok()) << text.toStdString() << ": " << q.error.toStdString();
                    }
                }
            }
        }
    }
}

TEST(QueryParser, MalformedInputGivesErrorsWithPositions) {
    EXPECT_EQ(errorOf(QStringLiteral("(SON:Artist = 'a'")), QStringLiteral("Unbalanced parenthesis at position 1"));
    EXPECT_EQ(errorOf(QStringLiteral("SON:Artist = 'a')")), QStringLiteral("Unbalanced parenthesis at position 17"));
    EXPECT_EQ(errorOf(QStringLiteral("SON:Artist = 'a")), QStringLiteral("Text not closed by a quote at position 14"));
    EXPECT_EQ(errorOf(QStringLiteral("SON:Artist = \"a''")), QStringLiteral("Text not closed by a quote at position 14"));
    EXPECT_EQ(errorOf(QStringLiteral("SON:Nothing = 1")), QStringLiteral("Unknown field \"SON:Nothing\" at position 1"));
    EXPECT_EQ(errorOf(QStringLiteral("XYZ:Artist = 1")), QStringLiteral("Unknown field \"XYZ:Artist\" at position 1"));
    EXPECT_EQ(errorOf(QString()), QStringLiteral("The query is empty"));
    EXPECT_EQ(errorOf(QStringLiteral("   ")), QStringLiteral("The query is empty"));
    EXPECT_EQ(errorOf(QStringLiteral("SON:Artist = ")), QStringLiteral("Query ends where a value is expected at position 14"));
    EXPECT_EQ(errorOf(QStringLiteral("SON:Artist = 1 AND")), QStringLiteral("Query ends where a value is expected at position 19"));
    EXPECT_EQ(errorOf(QStringLiteral("FOO(SON:Artist) = 1")), QStringLiteral("Unknown function \"FOO\" at position 1"));
    EXPECT_EQ(errorOf(QStringLiteral("SUB(SON:Artist, 1) = 'a'")), QStringLiteral("SUB takes 3 arguments at position 18"));
    EXPECT_EQ(errorOf(QStringLiteral("UPPER(SON:Artist, 1) = 'a'")), QStringLiteral("UPPER takes 1 argument at position 17"));
    EXPECT_EQ(errorOf(QStringLiteral("SON:Artist = 1 = 2")), QStringLiteral("Comparisons cannot be chained; use AND at position 16"));
    EXPECT_EQ(errorOf(QStringLiteral("SON:Artist # 1")), QStringLiteral("Unexpected character '#' at position 12"));
    EXPECT_EQ(errorOf(QStringLiteral("Artist = 1")), QStringLiteral("Unknown name \"Artist\" at position 1"));
    EXPECT_EQ(errorOf(QStringLiteral("SON: = 1")), QStringLiteral("Incomplete name \"SON:\" at position 1"));
    EXPECT_EQ(errorOf(QStringLiteral("SON:ID = 99999999999999999999")), QStringLiteral("Number too large at position 10"));
    EXPECT_EQ(errorOf(QStringLiteral("SON:ID = - 'a'")), QStringLiteral("A number must follow \"-\" at position 12"));

    const QString longText = QStringLiteral("SON:Artist = '") + QString(1985, QLatin1Char('x')) + QLatin1Char('\'');
    ASSERT_EQ(longText.size(), 2000);
    EXPECT_EQ(errorOf(longText), QStringLiteral("The query is longer than 1024 characters"));
    const QString limit = QStringLiteral("SON:Artist = '") + QString(1024 - 15, QLatin1Char('x')) + QLatin1Char('\'');
    ASSERT_EQ(limit.size(), 1024);
    EXPECT_TRUE(parseQuery(limit).ok());

    EXPECT_FALSE(errorOf(QString(200, QLatin1Char('(')) + QStringLiteral("1") + QString(200, QLatin1Char(')'))).isEmpty());
    QString notChain;
    for (int i = 0; i < 100; ++i)
        notChain += QStringLiteral("NOT ");
    EXPECT_TRUE(errorOf(notChain + QStringLiteral("SON:ID")).startsWith(QStringLiteral("Query nested too deeply")));
}

TEST(QueryParser, BinaryGarbageNeverParsesAsAFilter) {
    const char bytes[] = "\x01\x02SON:Artist\xff\xfe = '\x00\x7f";
    const QString garbage = QString::fromLatin1(bytes, sizeof bytes - 1);
    const ParsedQuery q = parseQuery(garbage);
    EXPECT_FALSE(q.ok());
    EXPECT_GT(q.position, 0);
    EXPECT_TRUE(q.error.contains(QStringLiteral("at position")));
}
