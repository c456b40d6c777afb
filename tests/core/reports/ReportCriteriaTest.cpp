#include "reports/ReportCriteria.h"
#include "reports/ReportMember.h"

#include "text/DayNumber.h"
#include "text/Picture.h"

#include <gtest/gtest.h>

using namespace srk;

TEST(ReportSelection, TextPrefixIgnoresCaseAndCoversTheSelectionsLength) {
    EXPECT_TRUE(selectionMatches(QStringLiteral("Beatles"), QStringLiteral("b")));
    EXPECT_TRUE(selectionMatches(QStringLiteral("bob"), QStringLiteral("B")));
    EXPECT_FALSE(selectionMatches(QStringLiteral("Abba"), QStringLiteral("b")));
    EXPECT_TRUE(selectionMatches(QStringLiteral("Beatles"), QStringLiteral("bea  ")));  // clipped
    EXPECT_FALSE(selectionMatches(QStringLiteral("Beatles"), QStringLiteral(" bea")));  // a leading blank counts
    EXPECT_FALSE(selectionMatches(QStringLiteral("Be"), QStringLiteral("bea")));
    EXPECT_TRUE(selectionMatches(QStringLiteral("Abba"), QString()));
    EXPECT_TRUE(selectionMatches(QStringLiteral("Abba"), QStringLiteral("   ")));
}

TEST(ReportSelection, NumbersAreComparedAsDecimalText) {
    QList<qint64> chosen;
    for (qint64 chart = 0; chart <= 255; ++chart)
        if (selectionMatches(QVariant(chart), QStringLiteral("1")))
            chosen << chart;
    QList<qint64> expected{1};
    for (qint64 c = 10; c <= 19; ++c)
        expected << c;
    for (qint64 c = 100; c <= 199; ++c)
        expected << c;
    EXPECT_EQ(chosen, expected);
}

TEST(ReportSelection, OnlyASelectedRunTestsThePrefix) {
    ReportCriteria c;
    c.ReportSelection = QStringLiteral("b");
    EXPECT_TRUE(criteriaAccept(c, QStringLiteral("Abba")));  // blank SelectedOrAll reads as all
    c.SelectedOrAll = QStringLiteral("All");
    EXPECT_TRUE(criteriaAccept(c, QStringLiteral("Abba")));
    c.SelectedOrAll = QStringLiteral("Selected");
    EXPECT_FALSE(criteriaAccept(c, QStringLiteral("Abba")));
    EXPECT_TRUE(criteriaAccept(c, QStringLiteral("bob")));
    EXPECT_FALSE(c.brief());
    c.ReportStyle = QStringLiteral("Brief");
    EXPECT_TRUE(c.brief());
}

TEST(ReportSelection, TheProgramKeepsOneSetOfCriteria) {
    reportCriteria().ReportSelection = QStringLiteral("xyz");
    EXPECT_EQ(reportCriteria().ReportSelection, QStringLiteral("xyz"));
    reportCriteria() = ReportCriteria();
    EXPECT_TRUE(reportCriteria().ReportSelection.isEmpty());
}

TEST(ReportTimeText, MinutesRunPastTheHourInPaperSaversOnly) {
    const qint64 t = timeValue(1, 2, 3);
    EXPECT_EQ(reportTimeText(t), QStringLiteral("62:03   "));
    EXPECT_EQ(format(t, QStringLiteral("@t4b")), QStringLiteral("01:02:03"));
    EXPECT_EQ(reportTimeText(0).trimmed(), QString());
    EXPECT_EQ(reportTimeText(0).size(), 8);
    EXPECT_EQ(format(qint64(0), QStringLiteral("@t4b")).trimmed(), QString());
}
