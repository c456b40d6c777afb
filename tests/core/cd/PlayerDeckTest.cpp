// The player's decisions over the real "cdaudio" device on generated images, on a clock only the test
// moves: every button is judged by where the device then plays (its own position replies) or by the
// samples the sink took, never by the commands the player chose to send.

#include "core/cd/CdTestSupport.h"
#include "support/TempFolder.h"

#include "cd/PlayerDeck.h"
#include "cd/PlayerTimeText.h"

using namespace srk;

namespace {

class PlayerDeckTest : public CdDeviceTest {
protected:
    void SetUp() override {
        image = discimages::writeCueBin(folder.path(), QStringLiteral("twelve"), QVector<qint32>(12, 20 * Sec));
        ASSERT_FALSE(image.isEmpty());
        useImage(image);
        ASSERT_EQ(send("open cdaudio shareable"), QStringLiteral("1"));
        send("set cdaudio time format tmsf");
        deck.poll();
    }
    void advance(qint64 ms) { ASSERT_TRUE(guard.advance(ms)); }
    // Where the device plays now: track and whole seconds into it.
    std::pair<int, int> heardAt() {
        const QString at = send("status cdaudio position");  // tt:mm:ss:ff in tmsf
        return {at.left(2).toInt(), at.mid(3, 2).toInt() * 60 + at.mid(6, 2).toInt()};
    }
    void playTrack(int track, qint64 ms) {
        deck.setCurrentTrack(track);
        deck.play();
        advance(ms);
        deck.poll();
    }

    TempFolder folder;
    QString image;
    PlayerDeck deck{[](const QString& command, int ask) { return SendMciCommand(command, ask); }};
};

}  // namespace

TEST(PlayerTimeTextTest, LeadingZerosAndColonsGoWhileMoreThanFourCharactersRemain) {
    EXPECT_EQ(PlayerTimeText(27500), QStringLiteral("4:35"));
    EXPECT_EQ(PlayerTimeText(500), QStringLiteral("0:05"));
    EXPECT_EQ(PlayerTimeText(447000), QStringLiteral("1:14:30"));
    EXPECT_EQ(PlayerTimeText(62 * 6000), QStringLiteral("1:02:00"));
    EXPECT_EQ(PlayerTimeText(45 * 6000 + 1200), QStringLiteral("45:12"));
    EXPECT_EQ(PlayerTimeText(99), QStringLiteral("0:00"));
    EXPECT_EQ(PlayerTimeText(0), QString());
    EXPECT_EQ(PlayerTimeText(-5), QString());
}

TEST_F(PlayerDeckTest, TheFirstPollOfADiscInitialisesAndATrackChangeWhilePlayingSynchronises) {
    EXPECT_EQ(deck.activity(), QStringLiteral("Init"));
    EXPECT_TRUE(deck.takeIdentify());
    EXPECT_FALSE(deck.takeIdentify());
    EXPECT_EQ(deck.trackCount(), 12);
    EXPECT_EQ(deck.currentTrack(), 1);
    EXPECT_EQ(deck.times().cdLength, 240 * 100);
    EXPECT_EQ(deck.times().trackLength, 20 * 100);
    deck.poll();
    EXPECT_EQ(deck.activity(), QString());

    playTrack(3, 19500);
    EXPECT_EQ(deck.activity(), QStringLiteral("Sync"));
    EXPECT_EQ(deck.mode(), QStringLiteral("playing"));
    EXPECT_EQ(deck.currentTrack(), 3);
    EXPECT_EQ(deck.times().trackPosition / 100, 19);
    EXPECT_EQ(deck.percent(), 97);
    advance(1000);
    EXPECT_TRUE(deck.poll());
    EXPECT_EQ(deck.currentTrack(), 4);
    EXPECT_EQ(deck.times().trackStart, deck.times().cdPosition - deck.times().trackPosition + 1);
    EXPECT_EQ(deck.times().trackPosition / 100, 0);
    EXPECT_FALSE(deck.poll()) << "the same track is no change";
}

TEST_F(PlayerDeckTest, ADoorOpenedAndClosedOnAnotherDiscInitialisesAgain) {
    deck.takeIdentify();
    auto* drive = dynamic_cast<ImageDrive*>(mciInterpreter().drive());
    ASSERT_NE(drive, nullptr);
    const QString other = discimages::writeCueBin(folder.path(), QStringLiteral("three"), {30 * Sec, 40 * Sec, 50 * Sec});
    drive->setDoorOpen(true);
    deck.poll();
    EXPECT_EQ(deck.mode(), QStringLiteral("open"));
    EXPECT_FALSE(deck.takeIdentify());
    drive->insertImage(other);
    drive->setDoorOpen(false);
    deck.poll();
    EXPECT_EQ(deck.activity(), QStringLiteral("Init"));
    EXPECT_TRUE(deck.takeIdentify());
    EXPECT_EQ(deck.trackCount(), 3);
    int tracks = 0;
    EXPECT_EQ(deck.readSerialNumber(tracks), QStringLiteral(" 3") + QStringLiteral("12001") +
                                                 QStringLiteral("3001") + QStringLiteral("4001") + QStringLiteral("5001"));
    EXPECT_EQ(tracks, 3);
}

TEST_F(PlayerDeckTest, PreviousGoesBackATrackOnlyWithinThreeSecondsAndNeverBelowOne) {
    playTrack(5, 2000);
    deck.previous();
    advance(100);
    EXPECT_EQ(heardAt(), std::make_pair(4, 0));

    playTrack(5, 10000);
    deck.previous();
    advance(100);
    EXPECT_EQ(heardAt(), std::make_pair(5, 0));

    playTrack(1, 1000);
    deck.previous();
    advance(100);
    EXPECT_EQ(heardAt(), std::make_pair(1, 0));
    EXPECT_EQ(deck.currentTrack(), 1);
}

TEST_F(PlayerDeckTest, PlayHoldsTheTrackToTheDiscAndNextStopsAtTheLastTrack) {
    deck.setCurrentTrack(14);
    deck.play();
    advance(100);
    EXPECT_EQ(heardAt().first, 12);
    EXPECT_EQ(deck.currentTrack(), 12);

    playTrack(11, 1000);
    deck.next();
    advance(1000);
    EXPECT_EQ(heardAt(), std::make_pair(12, 1));
    deck.poll();
    deck.next();
    advance(1000);
    // Still the last track, going on where it was.
    EXPECT_EQ(heardAt(), std::make_pair(12, 2));
    EXPECT_EQ(deck.currentTrack(), 12);
}

TEST_F(PlayerDeckTest, BackAndForwardMoveTenSecondsWithinTheDisc) {
    playTrack(2, 12000);
    deck.back();
    advance(100);
    EXPECT_EQ(heardAt(), std::make_pair(2, 2));
    deck.forward();
    advance(100);
    EXPECT_EQ(heardAt(), std::make_pair(2, 12));

    // Near the start of the disc Back goes to its start, not before it.
    playTrack(1, 4000);
    deck.back();
    advance(100);
    EXPECT_EQ(heardAt(), std::make_pair(1, 0));
    EXPECT_EQ(send("status cdaudio mode"), QStringLiteral("playing"));

    // Near its end Forward goes to the end: nothing more is played.
    playTrack(12, 15000);
    deck.forward();
    advance(500);
    EXPECT_EQ(send("status cdaudio mode"), QStringLiteral("stopped"));
    send("set cdaudio time format ms");
    const qint64 end = send("status cdaudio start position").toLongLong() + send("status cdaudio length").toLongLong();
    EXPECT_LE(std::abs(send("status cdaudio position").toLongLong() - end), 1000 / 75 + 1);
    send("set cdaudio time format tmsf");
}

TEST_F(PlayerDeckTest, PausingTwiceGoesOnWhereItStopped) {
    playTrack(3, 4000);
    deck.togglePause();
    EXPECT_TRUE(deck.paused());
    EXPECT_EQ(send("status cdaudio mode"), QStringLiteral("paused"));
    const auto stoppedAt = heardAt();
    advance(3000);
    EXPECT_EQ(heardAt(), stoppedAt);
    deck.togglePause();
    EXPECT_FALSE(deck.paused());
    advance(2000);
    EXPECT_EQ(heardAt(), std::make_pair(stoppedAt.first, stoppedAt.second + 2));
}
