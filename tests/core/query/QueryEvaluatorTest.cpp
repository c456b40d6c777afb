#include "catalog/Tables.h"
#include "query/QueryEvaluator.h"
#include "query/QueryParser.h"
#include "query/WizardCondition.h"
#include "store/View.h"

#include <gtest/gtest.h>

using namespace srk;

namespace {

class QueryEvaluatorTest : public ::testing::Test {
protected:
    QueryEvaluatorTest() : song(songsTable()) {
        song.setText(SON::Artist, QStringLiteral("björk"));
        song.setText(SON::Title, QStringLiteral("Jóga"));
        song.setText(SON::Media, QStringLiteral("CD"));
        song.setText(SON::FileNumber, QStringLiteral("0042"));
        song.setNumber(SON::ChartNumber, 7);
        song.setNumber(SON::Time, -250);
        song.setNumber(SON::CategoryID, 3);
        bound.set(QStringLiteral("BRW1::Sort3:Reset:MED:Media"), QStringLiteral("cd   "));
        bound.set(QStringLiteral("BRW1::Sort4:Reset:CAT:CategoryID"), 3);
    }

    bool passes(const QString& text) {
        const ParsedQuery q = parseQuery(text);
        EXPECT_TRUE(q.ok()) << text.toStdString() << ": " << q.error.toStdString();
        if (!q.ok())
            return false;
        QString error;
        const bool result = matches(*q.expr, recordFields(song, bound), &error);
        EXPECT_TRUE(error.isEmpty()) << text.toStdString() << ": " << error.toStdString();
        return result;
    }

    bool wizard(const QString& field, bool numeric, WizardCondition::Operation op, const QString& value,
                bool caseSensitive = false, bool absolute = false) {
        return passes(conditionText({field, numeric, op, value, caseSensitive, absolute}));
    }

    Record song;
    BoundValues bound;
};

}  // namespace

TEST_F(QueryEvaluatorTest, AccentedLettersCompareWithoutRegardToCase) {
    EXPECT_TRUE(passes(QStringLiteral("UPPER(SON:Artist) = UPPER('BJÖRK')")));
    EXPECT_TRUE(passes(QStringLiteral("SON:Artist ~= 'BJÖRK'")));
    EXPECT_TRUE(passes(QStringLiteral("LOWER(SON:Title) = 'JÓGA'")));
    EXPECT_FALSE(passes(QStringLiteral("SON:Artist = 'BJÖRK'")));
    EXPECT_FALSE(passes(QStringLiteral("UPPER(SON:Artist) = UPPER('BJORK')")));
    EXPECT_TRUE(passes(QStringLiteral("SON:Artist = 'björk'")));
    // Case-sensitive order is by character code: lower-case letters after upper-case ones.
    EXPECT_TRUE(passes(QStringLiteral("SON:Artist > 'Z'")));
    EXPECT_FALSE(passes(QStringLiteral("UPPER(SON:Artist) > UPPER('Z')")));
    EXPECT_EQ(evaluate(parseQuery(QStringLiteral("UPPER('björk')")).expr.value(), recordFields(song, bound)).toString(),
              QStringLiteral("BJÖRK"));
}

TEST_F(QueryEvaluatorTest, TrailingBlanksAndNumbers) {
    EXPECT_TRUE(passes(QStringLiteral("SON:Media = 'CD    '")));
    EXPECT_TRUE(passes(QStringLiteral("'CD  ' = 'CD'")));
    EXPECT_FALSE(passes(QStringLiteral("SON:Media = ' CD'")));
    // Numbers against numeric texts compare as numbers; other texts sort after every number.
    EXPECT_TRUE(passes(QStringLiteral("SON:ChartNumber = '7'")));
    EXPECT_TRUE(passes(QStringLiteral("SON:ChartNumber < '10'")));
    EXPECT_TRUE(passes(QStringLiteral("SON:FileNumber = 42")));
    EXPECT_FALSE(passes(QStringLiteral("SON:FileNumber = '42'")));
    EXPECT_TRUE(passes(QStringLiteral("SON:ChartNumber < 'seven'")));
    EXPECT_TRUE(passes(QStringLiteral("SON:ChartNumber = 7.0 AND SON:ChartNumber > 6.5")));
    EXPECT_TRUE(passes(QStringLiteral("ABS(SON:Time) = 250 AND SON:Time < 0")));
    EXPECT_TRUE(passes(QStringLiteral("SON:ChartNumber AND NOT SON:BeatsPerMinute")));
    EXPECT_FALSE(passes(QStringLiteral("SON:Style")));
    EXPECT_EQ(evaluate(parseQuery(QStringLiteral("ABS(-9223372036854775807)")).expr.value(), recordFields(song, bound)),
              QVariant(qlonglong(9223372036854775807LL)));
}

TEST_F(QueryEvaluatorTest, BoundRangeValuesAndErrors) {
    EXPECT_TRUE(passes(QStringLiteral("UPPER(SON:Media) = UPPER(BRW1::Sort3:Reset:MED:Media)")));
    EXPECT_TRUE(passes(QStringLiteral("SON:CategoryID = BRW1::Sort4:Reset:CAT:CategoryID")));
    EXPECT_TRUE(passes(QStringLiteral("(SON:CategoryID = brw1::sort4:reset:cat:categoryid) AND (SON:ChartNumber >= 7)")));
    bound.set(QStringLiteral("BRW1::Sort3:Reset:MED:Media"), QString());
    EXPECT_FALSE(passes(QStringLiteral("UPPER(SON:Media) = UPPER(BRW1::Sort3:Reset:MED:Media)")));

    QString error;
    const Expr unbound = parseQuery(QStringLiteral("SON:Media = BRW9::Nothing")).expr.value();
    EXPECT_FALSE(matches(unbound, recordFields(song, bound), &error));
    EXPECT_EQ(error, QStringLiteral("No value is bound to \"BRW9::Nothing\""));
    EXPECT_FALSE(evaluate(unbound, recordFields(song, bound)).isValid());

    // A field of a table the record does not belong to cannot be read from it.
    const Expr category = parseQuery(QStringLiteral("CAT:Category = 'Rock'")).expr.value();
    EXPECT_FALSE(matches(category, recordFields(song, bound), &error));
    EXPECT_EQ(error, QStringLiteral("Unknown field \"CAT:Category\""));
}

TEST_F(QueryEvaluatorTest, WizardOperations) {
    using W = WizardCondition;
    const QString artist = QStringLiteral("SON:Artist");
    EXPECT_TRUE(wizard(artist, false, W::Equal, QStringLiteral("BJÖRK")));
    EXPECT_FALSE(wizard(artist, false, W::Equal, QStringLiteral("BJÖRK"), true));
    EXPECT_TRUE(wizard(artist, false, W::NotEqual, QStringLiteral("Abba")));
    EXPECT_TRUE(wizard(artist, false, W::Greater, QStringLiteral("ABBA")));
    EXPECT_TRUE(wizard(artist, false, W::Less, QStringLiteral("C")));
    EXPECT_TRUE(wizard(artist, false, W::GreaterOrEqual, QStringLiteral("Björk")));
    EXPECT_TRUE(wizard(artist, false, W::LessOrEqual, QStringLiteral("BJÖRK")));
    EXPECT_TRUE(wizard(artist, false, W::BeginsWith, QStringLiteral("BJÖ")));
    EXPECT_FALSE(wizard(artist, false, W::BeginsWith, QStringLiteral("BJÖ"), true));
    EXPECT_FALSE(wizard(artist, false, W::BeginsWith, QStringLiteral("jör")));
    EXPECT_TRUE(wizard(artist, false, W::Contains, QStringLiteral("JÖR")));
    EXPECT_TRUE(wizard(artist, false, W::Contains, QStringLiteral("jör"), true));
    EXPECT_FALSE(wizard(artist, false, W::Contains, QStringLiteral("JÖR"), true));
    EXPECT_TRUE(wizard(artist, false, W::IsChecked, QString()));
    EXPECT_TRUE(wizard(QStringLiteral("SON:Style"), false, W::IsNotChecked, QString()));

    const QString chart = QStringLiteral("SON:ChartNumber"), time = QStringLiteral("SON:Time");
    EXPECT_TRUE(wizard(chart, true, W::Equal, QStringLiteral("7")));
    EXPECT_TRUE(wizard(chart, true, W::Greater, QStringLiteral("6.5")));
    EXPECT_FALSE(wizard(chart, true, W::Less, QStringLiteral("7")));
    EXPECT_TRUE(wizard(chart, true, W::IsChecked, QString()));
    EXPECT_FALSE(wizard(chart, true, W::IsNotChecked, QString()));
    EXPECT_FALSE(wizard(time, true, W::Equal, QStringLiteral("250")));
    EXPECT_TRUE(wizard(time, true, W::Equal, QStringLiteral("250"), false, true));
    EXPECT_TRUE(wizard(time, true, W::Equal, QStringLiteral("-250"), false, true));
    EXPECT_TRUE(wizard(QStringLiteral("SON:FileNumber"), false, W::BeginsWith, QStringLiteral("00")));

    song.setText(SON::Artist, QStringLiteral("O'Brien"));
    EXPECT_TRUE(wizard(artist, false, W::Equal, QStringLiteral("o'brien")));
    EXPECT_TRUE(wizard(artist, false, W::Contains, QStringLiteral("'")));
}

TEST_F(QueryEvaluatorTest, ViewRowsGiveRelatedFields) {
    ViewRow row;
    row.primary = song;
    Record category(categoriesTable());
    category.setText(CAT::Category, QStringLiteral("Électronique"));
    row.related.push_back(category);
    const Expr e = parseQuery(QStringLiteral("UPPER(CAT:Category) = 'électronique' AND SON:ChartNumber = 7")).expr.value();
    QString error;
    EXPECT_TRUE(matches(e, viewRowFields(row, bound), &error)) << error.toStdString();
    // A song without a category reads a blank one.
    row.related[0].clear();
    EXPECT_FALSE(matches(e, viewRowFields(row, bound), &error));
    EXPECT_TRUE(error.isEmpty());
    EXPECT_TRUE(matches(parseQuery(QStringLiteral("CAT:Category = ''")).expr.value(), viewRowFields(row, bound)));
}
