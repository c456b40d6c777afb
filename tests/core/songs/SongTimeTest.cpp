#include "songs/SongTime.h"
#include "text/DateTimeText.h"
#include "text/DayNumber.h"

#include <gtest/gtest.h>

using namespace srk;

namespace {

TimeParts typed(const char* text) {
    return timeParts(correctedSongTime(timeValueFromText(QString::fromLatin1(text))));
}

TEST(SongTime, HoursAndMinutesAboveTwoHoursBecomeMinutesAndSeconds) {
    const TimeParts t = typed("3:45");
    ASSERT_TRUE(t.valid);
    EXPECT_EQ(t.hours, 0);
    EXPECT_EQ(t.minutes, 3);
    EXPECT_EQ(t.seconds, 45);
    EXPECT_EQ(t.hundredths, 0);

    const TimeParts long_ = typed("59:59");
    EXPECT_EQ(long_.minutes, 59);
    EXPECT_EQ(long_.seconds, 59);
    EXPECT_EQ(timeText(correctedSongTime(timeValueFromText(QStringLiteral("12:07"))), 4),
              QStringLiteral("00:12:07"));
}

TEST(SongTime, TwoHoursAndLessStayAsTyped) {
    const TimeParts t = typed("1:59");
    EXPECT_EQ(t.hours, 1);
    EXPECT_EQ(t.minutes, 59);
    const TimeParts two = typed("2:00");
    EXPECT_EQ(two.hours, 2);
    EXPECT_EQ(two.minutes, 0);
    // Just past two hours is divided.
    const TimeParts past = typed("2:00:01");
    EXPECT_EQ(past.hours, 0);
    EXPECT_EQ(past.minutes, 2);
    EXPECT_EQ(past.seconds, 0);
    EXPECT_EQ(correctedSongTime(kNoTime), kNoTime);
    EXPECT_EQ(correctedSongTime(timeValue(0, 4, 10)), timeValue(0, 4, 10));
}

} // namespace
