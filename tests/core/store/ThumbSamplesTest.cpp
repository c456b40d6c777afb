#include "store/ThumbSamples.h"
#include "store/FoldCollation.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace srk;

namespace {

TEST(ThumbSamples, NumbersSpreadEvenlyWithExactEnds) {
    const QVector<qint64> s = numberThumbSamples(0, 100);
    ASSERT_EQ(s.size(), 100);
    EXPECT_EQ(s.front(), 0);
    EXPECT_EQ(s.back(), 100);
    for (int i = 1; i < s.size(); ++i)
        EXPECT_LE(s[i - 1], s[i]);
    const QVector<qint64> same = numberThumbSamples(60, 60);
    EXPECT_EQ(same.front(), 60);
    EXPECT_EQ(same.back(), 60);
    EXPECT_EQ(thumbPosition(s, 0), 0);
    EXPECT_EQ(thumbPosition(s, 50), 50);  // sample 50 is 5000 / 99 = 50, sample 49 is 49
    EXPECT_EQ(thumbPosition(s, 1000), 99);
}

TEST(ThumbSamples, TextSamplesRiseFromLowToHighAfterTheCommonBeginning) {
    const QStringList s = textThumbSamples(QStringLiteral("Abba"), QStringLiteral("Zappa"), 40, false);
    ASSERT_EQ(s.size(), 100);
    EXPECT_EQ(s.front(), QStringLiteral("Abba"));
    EXPECT_EQ(s.back(), QStringLiteral("Zapp"));
    // The leading character climbs steadily (later ones may drop: a zero digit writes no character).
    for (int i = 1; i < s.size(); ++i)
        EXPECT_LE(s[i - 1].at(0).toUpper(), s[i].at(0).toUpper()) << i;
    // The middle of the range lies in the middle of the alphabet.
    EXPECT_GE(s[50].at(0).toUpper(), QLatin1Char('K'));
    EXPECT_LE(s[50].at(0).toUpper(), QLatin1Char('P'));

    const QStringList shared = textThumbSamples(QStringLiteral("Smith, Ann"), QStringLiteral("Smith, Zoe"), 40, false);
    for (const QString& sample : shared)
        EXPECT_TRUE(sample.startsWith(QStringLiteral("Smith, "))) << sample.toStdString();
}

TEST(ThumbSamples, ShortHighIsPaddedAndDigitsCountOnlyWhenAsked) {
    // "B" is padded to the width with the alphabet's last letter, so the samples run to past "B…".
    const QStringList s = textThumbSamples(QStringLiteral("A"), QStringLiteral("B"), 20, false);
    EXPECT_EQ(s.back(), QStringLiteral("B") + QString(3, s.back().back()));
    EXPECT_GT(s.back().back().unicode(), u'Z');
    EXPECT_EQ(thumbPosition(s, QStringLiteral("a")), 0);
    const int firstB = int(std::find_if(s.begin(), s.end(), [](const QString& x) { return x.startsWith(u'B'); }) - s.begin());
    EXPECT_GT(firstB, 0);
    EXPECT_LT(firstB, 99);
    EXPECT_GE(thumbPosition(s, QStringLiteral("Bach")), firstB);

    const QStringList withDigits = textThumbSamples(QStringLiteral("10cc"), QStringLiteral("ZZ Top"), 40, true);
    EXPECT_EQ(withDigits.front(), QStringLiteral("10cc"));
    EXPECT_TRUE(withDigits[1].at(0).isDigit());  // digits count as the alphabet's first letters
    for (int i = 1; i < withDigits.size(); ++i)
        EXPECT_LE(withDigits[i - 1].at(0).toUpper(), withDigits[i].at(0).toUpper()) << i;
    EXPECT_GT(thumbPosition(withDigits, QStringLiteral("Madonna")), thumbPosition(withDigits, QStringLiteral("ABBA")));
}

TEST(ThumbSamples, PositionIgnoresLetterCase) {
    const QStringList s = textThumbSamples(QStringLiteral("a"), QStringLiteral("z"), 40, false);
    EXPECT_EQ(thumbPosition(s, QStringLiteral("MADONNA")), thumbPosition(s, QStringLiteral("madonna")));
    EXPECT_EQ(thumbPosition(QStringList{}, QStringLiteral("x")), 0);
}

}  // namespace
