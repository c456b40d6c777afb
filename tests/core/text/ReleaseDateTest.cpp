// Release dates hold day numbers or, below 3000, bare years: shown and read back through any
// picture, a year stays a year.

#include "text/ReleaseDate.h"
#include "text/DayNumber.h"
#include "text/PreferredDatePicture.h"
#include "text/TypedEntry.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace srk;

namespace {

class ReleaseDateTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = QLocale();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void TearDown() override { QLocale::setDefault(saved_); }

private:
    QLocale saved_;
};

qint64 day(int y, int m, int d) {
    return dayNumberFromDate(QDate(y, m, d));
}

const char* const kDatePictures[] = {"@d17b", "@d2", "@d3b", "@d8", "@d17-", "@D15-", "@d18", "@d6."};

} // namespace

TEST_F(ReleaseDateTest, BareYearsShowAsYearsWhateverThePicture) {
    for (const char* p : kDatePictures) {
        const QString picture = QString::fromLatin1(p);
        EXPECT_EQ(formatReleaseDate(qint64(1988), picture), QStringLiteral("1988")) << p;
        EXPECT_EQ(formatReleaseDate(1, picture), QStringLiteral("1")) << p;
        EXPECT_EQ(formatReleaseDate(2999, picture), QStringLiteral("2999")) << p;
        // The same value as a plain date would be a day of 1806.
        EXPECT_NE(format(qint64(1988), picture), QStringLiteral("1988")) << p;
    }
    // Day numbers are dates as before; no date is blank.
    EXPECT_EQ(formatReleaseDate(day(1997, 3, 21), QStringLiteral("@d2")), QStringLiteral("03/21/1997"));
    EXPECT_EQ(formatReleaseDate(3000, QStringLiteral("@d2")), format(3000, QStringLiteral("@d2")));
    EXPECT_EQ(formatReleaseDate(0, QStringLiteral("@d17b")), QString());
    EXPECT_EQ(formatReleaseDate(0, QStringLiteral("@d2")), QString());
}

TEST_F(ReleaseDateTest, TheYearOnlyPictureShowsADatesYear) {
    const QString year = yearPicture();
    EXPECT_EQ(year, QStringLiteral("@n4b"));
    EXPECT_EQ(formatReleaseDate(qint64(1985), year), QStringLiteral("1985"));
    EXPECT_EQ(formatReleaseDate(day(1997, 3, 21), year), QStringLiteral("1997"));
    EXPECT_EQ(formatReleaseDate(day(2024, 12, 31), year), QStringLiteral("2024"));
    EXPECT_EQ(formatReleaseDate(0, year), QString());
    // Text pictures (an export field) see the stored number as it is.
    EXPECT_EQ(formatReleaseDate(day(1997, 3, 21), QStringLiteral("@s10")), QStringLiteral("71671"));
}

TEST_F(ReleaseDateTest, TypedYearsReadBackAsYearsWhateverThePicture) {
    for (const char* p : kDatePictures) {
        const QString picture = QString::fromLatin1(p);
        EXPECT_EQ(readReleaseDate(QStringLiteral("1988"), picture), 1988) << p;
        EXPECT_EQ(readReleaseDate(QStringLiteral(" 1965 "), picture), 1965) << p;
        EXPECT_EQ(readReleaseDate(QString(), picture), 0) << p;
        EXPECT_EQ(readReleaseDate(QStringLiteral("   "), picture), 0) << p;
        // What the field shows reads back as the stored value.
        for (const qint64 stored : {qint64(1988), qint64(2), day(1997, 3, 21), day(2001, 9, 11)}) {
            const QString shown = formatReleaseDate(stored, picture);
            if (QString::fromLatin1(p).contains(u'-') || QString::fromLatin1(p).contains(u'.') ||
                QString::fromLatin1(p).contains(QLatin1String("15")))
                continue; // two-digit years and month-only layouts do not carry the day
            EXPECT_EQ(readReleaseDate(shown, picture), stored) << p << " " << shown.toStdString();
        }
    }
    EXPECT_EQ(readReleaseDate(QStringLiteral("03/21/1997"), QStringLiteral("@d2")), day(1997, 3, 21));
    EXPECT_EQ(readReleaseDate(QStringLiteral("21 Mar 1997"), QStringLiteral("@d8")), day(1997, 3, 21));
    // Eight digits run together are a date, not a year.
    EXPECT_EQ(readReleaseDate(QStringLiteral("03211997"), QStringLiteral("@d2")), day(1997, 3, 21));
}

TEST_F(ReleaseDateTest, UnderTheYearPictureOnlyYearsRead) {
    const QString year = yearPicture();
    EXPECT_EQ(readReleaseDate(QStringLiteral("1988"), year), 1988);
    EXPECT_EQ(readReleaseDate(QString(), year), 0);
    EXPECT_EQ(readReleaseDate(QStringLiteral("0"), year), 0);
    EXPECT_FALSE(readReleaseDate(QStringLiteral("3000"), year));
    EXPECT_FALSE(readReleaseDate(QStringLiteral("71671"), year));
    EXPECT_FALSE(readReleaseDate(QStringLiteral("abc"), year));
    EXPECT_FALSE(readReleaseDate(QStringLiteral("3/21/1997"), year));
}

TEST_F(ReleaseDateTest, ImpossibleDatesAndGarbageAreRefused) {
    for (const char* text : {"31 Feb 2020", "02/30/2021", "13/01/1999", "abc", "1988x", "3500", "-5"})
        EXPECT_FALSE(readReleaseDate(QString::fromLatin1(text), QStringLiteral("@d17b"))) << text;
    EXPECT_EQ(readReleaseDate(QStringLiteral("29 Feb 2020"), QStringLiteral("@d8")), day(2020, 2, 29));
    // Days before March 1809 are numbered below 3000, where years live: they keep their year.
    EXPECT_EQ(readReleaseDate(QStringLiteral("12/29/1800"), QStringLiteral("@d2")), 1800);
    EXPECT_EQ(readReleaseDate(QStringLiteral("07/04/1808"), QStringLiteral("@d2")), 1808);
    EXPECT_EQ(readReleaseDate(QStringLiteral("07/04/1810"), QStringLiteral("@d2")), day(1810, 7, 4));
}

TEST_F(ReleaseDateTest, TypedTimesAreTimesOrRefused) {
    EXPECT_EQ(readTimeEntry(QString()), 0);
    EXPECT_EQ(readTimeEntry(QStringLiteral("  ")), 0);
    EXPECT_EQ(readTimeEntry(QStringLiteral("0:03:45")), timeValue(0, 3, 45));
    EXPECT_EQ(readTimeEntry(QStringLiteral("00:00:00")), timeValue(0, 0, 0));
    for (const char* text : {"abc", "3:75", "25:00:99", "1:2:3:4:5", "12pmx"})
        EXPECT_FALSE(readTimeEntry(QString::fromLatin1(text))) << text;
}

TEST_F(ReleaseDateTest, RefusalsSayWhatWasTypedAndShowAnExample) {
    const QString date = dateEntryText(QStringLiteral(" 31 Feb 2020 "), QStringLiteral("@d2"), true);
    EXPECT_TRUE(date.startsWith(QStringLiteral("\"31 Feb 2020\" is not a date."))) << date.toStdString();
    EXPECT_TRUE(date.contains(QStringLiteral("10/31/1959"))) << date.toStdString();
    EXPECT_TRUE(date.contains(QStringLiteral("a year"))) << date.toStdString();
    EXPECT_TRUE(date.contains(QStringLiteral("leave the field empty"))) << date.toStdString();
    EXPECT_FALSE(
        dateEntryText(QStringLiteral("x"), QStringLiteral("@d8"), false).contains(QStringLiteral("year")));
    EXPECT_TRUE(dateEntryText(QStringLiteral("x"), QStringLiteral("@d8"), false)
                    .contains(QStringLiteral("31 OCT 1959")));
    const QString time = timeEntryText(QStringLiteral("abc"), QStringLiteral("@t4b"));
    EXPECT_EQ(time, QStringLiteral(
                        "\"abc\" is not a time. Type a time such as 00:03:45, or leave the field empty."));
    EXPECT_EQ(dateEntryTitle(), QStringLiteral("Invalid Date"));
    EXPECT_EQ(timeEntryTitle(), QStringLiteral("Invalid Time"));
}

TEST(ReleaseDatePreference, YearOnlyGoesToReleaseDateColumnsOnly) {
    const QString browse = QStringLiteral("42R(2)|M~Time~@t4b@52R(2)|M~Released~@d17b@24R(2)|M~BPM~@n_4b@"
                                          "52R(2)|M~Last Played~@d17-@");
    EXPECT_EQ(applyPreferredDatePicture(browse, QStringLiteral("n4b"), {1}),
              QStringLiteral("42R(2)|M~Time~@t4b@52R(2)|M~Released~@n4b@24R(2)|M~BPM~@n_4b@"
                             "52R(2)|M~Last Played~@d17-@"));
    // A date preference still goes to every date column.
    EXPECT_EQ(applyPreferredDatePicture(browse, QStringLiteral("d2"), {1}),
              applyPreferredDatePicture(browse, QStringLiteral("d2")));
    EXPECT_EQ(applyPreferredDatePicture(browse, QStringLiteral("d2"), {1}),
              QStringLiteral("42R(2)|M~Time~@t4b@52R(2)|M~Released~@d2@24R(2)|M~BPM~@n_4b@"
                             "52R(2)|M~Last Played~@d2@"));
    EXPECT_EQ(applyPreferredDatePicture(browse, QString(), {1}), browse);
    // Columns out of range or without a date picture are left as they are.
    EXPECT_EQ(applyPreferredDatePicture(browse, QStringLiteral("n4b"), {0, 2, 9, -1}), browse);
    EXPECT_TRUE(isDatePreference(QStringLiteral("d17")));
    EXPECT_TRUE(isDatePreference(QStringLiteral("@d2")));
    EXPECT_FALSE(isDatePreference(QStringLiteral("n4b")));
    EXPECT_FALSE(isDatePreference(QString()));
}
