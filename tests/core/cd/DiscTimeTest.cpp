#include "cd/DiscTime.h"

#include <gtest/gtest.h>

using namespace srk;

namespace {

qint64 clock(int h, int m, int s) {
    return (qint64(h) * 3600 + m * 60 + s) * 100 + 1;
}

TEST(FormatMinutesSeconds, FoldsHoursIntoMinutesAndBlanksNone) {
    EXPECT_EQ(FormatMinutesSeconds(0), QStringLiteral("     "));
    EXPECT_EQ(FormatMinutesSeconds(clock(0, 4, 35)), QStringLiteral(" 4:35"));
    EXPECT_EQ(FormatMinutesSeconds(clock(1, 14, 30)), QStringLiteral("74:30"));
    EXPECT_EQ(FormatMinutesSeconds(clock(0, 0, 7)), QStringLiteral(" 0:07"));
    // Hundredths are dropped, not rounded.
    EXPECT_EQ(FormatMinutesSeconds(clock(0, 2, 59) + 99), QStringLiteral(" 2:59"));
}

}  // namespace
