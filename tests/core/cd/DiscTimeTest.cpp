// Disc times, their display and the serial number, on the worked examples.

#include "cd/CdSerialNumber.h"
#include "cd/DiscTime.h"

#include <QHash>

#include <gtest/gtest.h>

using namespace srk;

namespace {

TEST(DiscTime, LengthRepliesBecomeClockTimes) {
    EXPECT_EQ(ConvertDiscTime(QStringLiteral("04:35:12")), 27501);
    EXPECT_EQ(ConvertDiscTime(QStringLiteral("45:12:74")), 271201);
    // "99" frames count one second more, which may carry into the minutes.
    EXPECT_EQ(ConvertDiscTime(QStringLiteral("04:59:99")), 30001);
    EXPECT_EQ(ConvertDiscTime(QStringLiteral("04:58:99")), 29901);
    // Sixty minutes or more make an hour.
    EXPECT_EQ(ConvertDiscTime(QStringLiteral("74:30:10")), 447001);
    EXPECT_EQ(ConvertDiscTime(QStringLiteral("59:59:99")), 360001);
    // A failed command's reply is no time: it reads as zero length.
    EXPECT_EQ(ConvertDiscTime(QStringLiteral("Error:276")), 1);
    EXPECT_EQ(ConvertDiscTime(QString()), 1);
}

TEST(DiscTime, MinutesAndSecondsInFiveCharacters) {
    EXPECT_EQ(FormatMinutesSeconds(0), QStringLiteral("     "));
    EXPECT_EQ(FormatMinutesSeconds(27501), QStringLiteral(" 4:35"));
    EXPECT_EQ(FormatMinutesSeconds(447001), QStringLiteral("74:30"));
    EXPECT_EQ(FormatMinutesSeconds(4501), QStringLiteral(" 0:45"));
    EXPECT_EQ(FormatMinutesSeconds(60001), QStringLiteral("10:00"));
    // Hundredths are dropped, not rounded.
    EXPECT_EQ(FormatMinutesSeconds(17900 + 99), QStringLiteral(" 2:59"));
}

TEST(DiscTime, RepliesReadAsNumbers) {
    EXPECT_EQ(mciReplyNumber(QStringLiteral("1")), 1);
    EXPECT_EQ(mciReplyNumber(QStringLiteral("12")), 12);
    EXPECT_EQ(mciReplyNumber(QStringLiteral("Error:1")), 0);
    EXPECT_EQ(mciReplyNumber(QString()), 0);
}

// A drive stand-in answering from a table, recording what it was asked.
struct TableDrive {
    QHash<QString, QString> replies;
    QStringList asked;
    MciSender sender() {
        return [this](const QString& command, int) {
            asked << command;
            return replies.value(command);
        };
    }
};

TEST(CdSerialNumber, TheTwoWorkedDiscs) {
    TableDrive twelve;
    twelve.replies = {{QStringLiteral("status cdaudio number of tracks"), QStringLiteral("12")},
                      {QStringLiteral("status cdaudio length"), QStringLiteral("45:12:00")},
                      {QStringLiteral("status cdaudio length track 1"), QStringLiteral("04:35:00")},
                      {QStringLiteral("status cdaudio length track 2"), QStringLiteral("05:10:00")},
                      {QStringLiteral("status cdaudio length track 3"), QStringLiteral("04:05:00")}};
    int count = 0;
    EXPECT_EQ(CdSerialNumber(twelve.sender(), &count), QStringLiteral("12271201275013100124501"));
    EXPECT_EQ(count, 12);
    EXPECT_EQ(twelve.asked.first(), QStringLiteral("set cdaudio time format tmsf"));
    EXPECT_FALSE(twelve.asked.contains(QStringLiteral("status cdaudio length track 4")));

    TableDrive five;
    five.replies = {{QStringLiteral("status cdaudio number of tracks"), QStringLiteral("5")},
                    {QStringLiteral("status cdaudio length"), QStringLiteral("74:30:00")},
                    {QStringLiteral("status cdaudio length track 1"), QStringLiteral("25:00:00")},
                    {QStringLiteral("status cdaudio length track 2"), QStringLiteral("20:00:00")},
                    {QStringLiteral("status cdaudio length track 3"), QStringLiteral("16:40:00")}};
    const QString serial = CdSerialNumber(five.sender());
    // " 5" 447001 150001 120001 100001 is 26 characters: the last two are cut off.
    EXPECT_EQ(serial, QStringLiteral(" 54470011500011200011000"));
    EXPECT_EQ(serial.size(), 24);
}

TEST(CdSerialNumber, OneAndTwoTrackDiscsAskOnlyForTheirTracks) {
    TableDrive one;
    one.replies = {{QStringLiteral("status cdaudio number of tracks"), QStringLiteral("1")},
                   {QStringLiteral("status cdaudio length"), QStringLiteral("03:00:00")},
                   {QStringLiteral("status cdaudio length track 1"), QStringLiteral("03:00:00")}};
    EXPECT_EQ(CdSerialNumber(one.sender()), QStringLiteral(" 11800118001"));
    EXPECT_FALSE(one.asked.contains(QStringLiteral("status cdaudio length track 2")));

    TableDrive two = one;
    two.asked.clear();
    two.replies[QStringLiteral("status cdaudio number of tracks")] = QStringLiteral("2");
    two.replies[QStringLiteral("status cdaudio length track 2")] = QStringLiteral("00:09:99");
    // 00:09:99 is ten seconds.
    EXPECT_EQ(CdSerialNumber(two.sender()), QStringLiteral(" 218001180011001"));
    EXPECT_FALSE(two.asked.contains(QStringLiteral("status cdaudio length track 3")));
}

}  // namespace
