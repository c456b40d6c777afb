#include "text/DayNumber.h"

#include <gtest/gtest.h>

using namespace srk;

TEST(DateDayNumber, KnownDatesMapBothWays) {
    EXPECT_EQ(dayNumberFromDate(QDate(1997, 3, 21)), 71671);
    EXPECT_EQ(dayNumberFromDate(QDate(1998, 2, 3)), 71990);
    EXPECT_EQ(dateFromDayNumber(71671), QDate(1997, 3, 21));
    EXPECT_EQ(dateFromDayNumber(71990), QDate(1998, 2, 3));
    // Day 0 is 28 December 1800 and no date; the next day is already one.
    EXPECT_EQ(firstDayNumber(), 1);
    EXPECT_EQ(dateFromDayNumber(1), QDate(1800, 12, 29));
    EXPECT_EQ(dateFromDayNumber(3), QDate(1800, 12, 31));
    EXPECT_EQ(dateFromDayNumber(4), QDate(1801, 1, 1));
    EXPECT_EQ(dayNumberFromDate(QDate(1800, 12, 29)), 1);
    EXPECT_EQ(dayNumberFromDate(QDate(1800, 12, 31)), 3);
}

TEST(DateDayNumber, ConsecutiveNumbersAreConsecutiveDates) {
    // Crosses 1900 (not a leap year) and 2000 (a leap year) among others.
    QDate expected = dateFromDayNumber(firstDayNumber());
    for (qint32 day = firstDayNumber(); day <= lastDayNumber(); day += 1) {
        const QDate date = dateFromDayNumber(day);
        ASSERT_EQ(date, expected) << day;
        ASSERT_EQ(dayNumberFromDate(date), day);
        expected = expected.addDays(1);
        if (day > 80000) // the rest is covered by the stride below
            break;
    }
    for (qint32 day = 80000; day <= lastDayNumber(); day += 997)
        ASSERT_EQ(dayNumberFromDate(dateFromDayNumber(day)), day) << day;
    EXPECT_EQ(dateFromDayNumber(lastDayNumber()), QDate(9999, 12, 31));
}

TEST(DateDayNumber, NoDateOutsideTheCalendar) {
    EXPECT_FALSE(dateFromDayNumber(0).isValid());
    EXPECT_FALSE(dateFromDayNumber(-1).isValid());
    EXPECT_FALSE(dateFromDayNumber(-71671).isValid());
    EXPECT_FALSE(dateFromDayNumber(qint64(lastDayNumber()) + 1).isValid());
    EXPECT_FALSE(dateFromDayNumber(std::numeric_limits<qint64>::max()).isValid());
    EXPECT_EQ(dayNumberFromDate(QDate()), kNoDate);
    EXPECT_EQ(dayNumberFromDate(QDate(1800, 12, 28)), kNoDate);
    EXPECT_EQ(dayNumberFromDate(QDate(1800, 12, 27)), kNoDate);
    EXPECT_EQ(dayNumberFromDate(QDate(10000, 1, 1)), kNoDate);
}

TEST(DateDayNumber, TodayIsTheCurrentDate) {
    const qint32 today = todayDayNumber();
    EXPECT_GT(today, 80000);
    const QDate back = dateFromDayNumber(today);
    // Allow for the clock passing midnight between the two calls.
    EXPECT_LE(back.daysTo(QDate::currentDate()), 1);
    EXPECT_GE(back.daysTo(QDate::currentDate()), 0);
}

TEST(DateDayNumber, BareYearsAreReleaseDatesBelow3000) {
    EXPECT_TRUE(isBareYear(1985));
    EXPECT_TRUE(isBareYear(1));
    EXPECT_TRUE(isBareYear(2999));
    EXPECT_FALSE(isBareYear(3000));
    EXPECT_FALSE(isBareYear(0));
    EXPECT_FALSE(isBareYear(-1985));
    EXPECT_FALSE(isBareYear(71671));

    EXPECT_EQ(releaseYear(1985), 1985);
    EXPECT_EQ(releaseYear(71671), 1997);
    EXPECT_EQ(releaseYear(0), 0);
    EXPECT_EQ(releaseYear(-4), 0);
}

TEST(DateDayNumber, TwoDigitYearsLandInTheWindowAroundTheReferenceYear) {
    EXPECT_EQ(expandTwoDigitYear(59, 2025), 1959);
    EXPECT_EQ(expandTwoDigitYear(45, 2025), 2045);
    EXPECT_EQ(expandTwoDigitYear(46, 2025), 1946);
    EXPECT_EQ(expandTwoDigitYear(0, 2025), 2000);
    EXPECT_EQ(expandTwoDigitYear(25, 2025), 2025);
    EXPECT_EQ(expandTwoDigitYear(99, 1990), 1999);
    EXPECT_EQ(expandTwoDigitYear(10, 1990), 2010);
    EXPECT_EQ(expandTwoDigitYear(11, 1990), 1911);
    for (int yy = 0; yy < 100; ++yy) {
        const int year = expandTwoDigitYear(yy, 2031);
        EXPECT_EQ(year % 100, yy);
        EXPECT_GT(year, 2031 - 80);
        EXPECT_LE(year, 2031 + 20);
    }
}

TEST(TimeValue, KnownTimesMapBothWays) {
    EXPECT_EQ(timeValue(11, 40, 46, 50), 4204651);
    EXPECT_EQ(timeValue(0, 0, 0, 0), 1);
    const TimeParts parts = timeParts(4204651);
    EXPECT_TRUE(parts.valid);
    EXPECT_EQ(parts.hours, 11);
    EXPECT_EQ(parts.minutes, 40);
    EXPECT_EQ(parts.seconds, 46);
    EXPECT_EQ(parts.hundredths, 50);
    const TimeParts midnight = timeParts(1);
    EXPECT_TRUE(midnight.valid);
    EXPECT_EQ(midnight.hours + midnight.minutes + midnight.seconds + midnight.hundredths, 0);
}

TEST(TimeValue, ZeroAndNegativeAreNoTime) {
    EXPECT_FALSE(timeParts(kNoTime).valid);
    EXPECT_FALSE(timeParts(-100).valid);
    EXPECT_FALSE(qTimeFromTimeValue(0).isValid());
    EXPECT_EQ(timeValueFromQTime(QTime()), kNoTime);
}

TEST(TimeValue, OutOfRangePartsGiveNoTime) {
    EXPECT_EQ(timeValue(0, 60, 0), kNoTime);
    EXPECT_EQ(timeValue(0, 0, 60), kNoTime);
    EXPECT_EQ(timeValue(0, 0, 0, 100), kNoTime);
    EXPECT_EQ(timeValue(-1, 0, 0), kNoTime);
    EXPECT_EQ(timeValue(0, -1, 0), kNoTime);
    EXPECT_EQ(timeValue(5001, 0, 0), kNoTime);
    // Durations may run past a day.
    EXPECT_EQ(timeValue(25, 0, 0), 25 * 360000 + 1);
}

TEST(TimeValue, PartsRoundTrip) {
    for (qint32 value = 1; value < 24 * 360000; value += 7919) {
        const TimeParts p = timeParts(value);
        ASSERT_TRUE(p.valid);
        ASSERT_EQ(timeValue(p.hours, p.minutes, p.seconds, p.hundredths), value);
    }
}

TEST(TimeValue, QTimeConversionsWrapAtMidnight) {
    EXPECT_EQ(qTimeFromTimeValue(4204651), QTime(11, 40, 46, 500));
    EXPECT_EQ(timeValueFromQTime(QTime(11, 40, 46, 509)), 4204651);
    EXPECT_EQ(qTimeFromTimeValue(timeValue(25, 1, 2)), QTime(1, 1, 2));
    const qint32 now = currentTimeValue();
    EXPECT_GE(now, 1);
    EXPECT_LE(now, 24 * 360000);
}
