// Every command the program sends to "cdaudio", answered from a generated image whose lengths are known.

#include "core/cd/CdTestSupport.h"
#include "support/TempFolder.h"

#include <QDir>

#include <chrono>
#include <thread>

using namespace srk;

namespace {

class CdAudioCommands : public CdDeviceTest {
protected:
    void SetUp() override {
        // 4:35 and 10 frames, 1:10 and 3 frames, 12 s: 26788 frames, 5:57 and 13 frames in all.
        image = discimages::writeCueBin(folder.path(), QStringLiteral("three"),
                                        {(4 * 60 + 35) * Sec + 10, 70 * Sec + 3, 12 * Sec});
        ASSERT_FALSE(image.isEmpty());
        useImage(image);
    }
    TempFolder folder;
    QString image;
};

TEST_F(CdAudioCommands, OpenStatusAndCloseInTrackTime) {
    EXPECT_EQ(send("open cdaudio shareable"), QStringLiteral("1"));
    EXPECT_EQ(send("set cdaudio time format tmsf"), QString());
    EXPECT_EQ(send("status cdaudio time format"), QStringLiteral("tmsf"));
    EXPECT_EQ(send("status cdaudio ready"), QStringLiteral("1"));
    EXPECT_EQ(send("status cdaudio media present"), QStringLiteral("1"));
    EXPECT_EQ(send("status cdaudio mode"), QStringLiteral("stopped"));
    EXPECT_EQ(send("status cdaudio number of tracks"), QStringLiteral("3"));
    EXPECT_EQ(send("status cdaudio length"), QStringLiteral("05:57:13"));
    EXPECT_EQ(send("status cdaudio length track 1"), QStringLiteral("04:35:10"));
    EXPECT_EQ(send("status cdaudio length track 2"), QStringLiteral("01:10:03"));
    EXPECT_EQ(send("status cdaudio length track 3"), QStringLiteral("00:12:00"));
    EXPECT_EQ(send("status cdaudio position track 2"), QStringLiteral("02:00:00:00"));
    EXPECT_EQ(send("status cdaudio position"), QStringLiteral("01:00:00:00"));
    EXPECT_EQ(send("status cdaudio current track"), QStringLiteral("1"));
    EXPECT_EQ(SendMciCommand(QStringLiteral("anything at all"), 1), QStringLiteral("stopped"));
    EXPECT_EQ(send("close cdaudio"), QString());
    EXPECT_FALSE(mciInterpreter().isOpen());
}

TEST_F(CdAudioCommands, PlayPauseAndStopMoveTheModeAndPosition) {
    ASSERT_EQ(send("open cdaudio shareable"), QStringLiteral("1"));
    send("set cdaudio time format tmsf");
    EXPECT_EQ(send("play cdaudio from 2"), QString());
    EXPECT_EQ(send("status cdaudio mode"), QStringLiteral("playing"));
    EXPECT_EQ(send("status cdaudio current track"), QStringLiteral("2"));
    EXPECT_EQ(send("play cdaudio from 3:00:01:05 to 3:00:05:00"), QString());
    EXPECT_EQ(send("status cdaudio position"), QStringLiteral("03:00:01:05"));
    EXPECT_EQ(send("pause cdaudio"), QString());
    EXPECT_EQ(send("status cdaudio mode"), QStringLiteral("paused"));
    EXPECT_EQ(send("stop cdaudio"), QString());
    EXPECT_EQ(send("status cdaudio mode"), QStringLiteral("stopped"));
    EXPECT_EQ(send("play cdaudio from 4"), QStringLiteral("Error:282"));
    EXPECT_EQ(send("status cdaudio mode"), QStringLiteral("stopped"));
}

TEST_F(CdAudioCommands, MillisecondsAndMinutesSecondsFrames) {
    ASSERT_EQ(send("open cdaudio shareable"), QStringLiteral("1"));
    // A device opens in minutes/seconds/frames, counted from the start of the disc's lead-in.
    EXPECT_EQ(send("status cdaudio time format"), QStringLiteral("msf"));
    EXPECT_EQ(send("status cdaudio position track 1"), QStringLiteral("00:02:00"));
    EXPECT_EQ(send("status cdaudio length track 1"), QStringLiteral("04:35:10"));
    EXPECT_EQ(send("set cdaudio time format ms"), QString());
    EXPECT_EQ(send("status cdaudio time format"), QStringLiteral("milliseconds"));
    EXPECT_EQ(send("status cdaudio length"), QStringLiteral("357173"));
    EXPECT_EQ(send("status cdaudio length track 1"), QStringLiteral("275133"));
    EXPECT_EQ(send("status cdaudio length track 3"), QStringLiteral("12000"));
    EXPECT_EQ(send("status cdaudio position track 1"), QStringLiteral("2000"));
    EXPECT_EQ(send("status cdaudio position track 2"), QStringLiteral("277133"));
    EXPECT_EQ(send("play cdaudio from 280000"), QString());
    EXPECT_EQ(send("status cdaudio current track"), QStringLiteral("2"));
    EXPECT_EQ(send("status cdaudio position"), QStringLiteral("280000"));
}

TEST_F(CdAudioCommands, ErrorsCarryThePlatformsNumbers) {
    EXPECT_EQ(send("status cdaudio mode"), QStringLiteral("Error:263"));  // not opened
    EXPECT_EQ(send("close cdaudio"), QStringLiteral("Error:263"));
    ASSERT_EQ(send("open cdaudio shareable"), QStringLiteral("1"));
    // Already open under that name: 265, which the caller sees as "Error:1".
    EXPECT_EQ(send("open cdaudio shareable"), QStringLiteral("Error:1"));
    EXPECT_EQ(send("eject cdaudio"), QStringLiteral("Error:261"));
    EXPECT_EQ(send(""), QStringLiteral("Error:267"));
    EXPECT_EQ(send("status"), QStringLiteral("Error:292"));
    EXPECT_EQ(send("status cdrom mode"), QStringLiteral("Error:263"));
    EXPECT_EQ(send("status cdaudio colour"), QStringLiteral("Error:259"));
    EXPECT_EQ(send("status cdaudio length track 4"), QStringLiteral("Error:282"));
    EXPECT_EQ(send("status cdaudio length track x"), QStringLiteral("Error:270"));
    EXPECT_EQ(send("status cdaudio length track"), QStringLiteral("Error:273"));
    EXPECT_EQ(send("set cdaudio time format frames"), QStringLiteral("Error:293"));
    // A failed command changes nothing.
    EXPECT_EQ(send("status cdaudio number of tracks"), QStringLiteral("3"));
}

TEST_F(CdAudioCommands, DoorOpenNotReadyAndNoDrive) {
    useImageIn(image, true, false);
    ASSERT_EQ(send("open cdaudio shareable"), QStringLiteral("1"));
    EXPECT_EQ(send("status cdaudio mode"), QStringLiteral("open"));
    EXPECT_EQ(send("status cdaudio ready"), QStringLiteral("1"));
    EXPECT_EQ(send("status cdaudio media present"), QString());
    EXPECT_EQ(send("status cdaudio number of tracks"), QStringLiteral("Error:276"));
    EXPECT_EQ(send("play cdaudio"), QStringLiteral("Error:276"));
    send("close cdaudio");

    useImageIn(image, false, true);
    ASSERT_EQ(send("open cdaudio shareable"), QStringLiteral("1"));
    EXPECT_EQ(send("status cdaudio mode"), QStringLiteral("not ready"));
    EXPECT_EQ(send("status cdaudio ready"), QString());
    EXPECT_EQ(send("status cdaudio length"), QStringLiteral("Error:276"));
    send("close cdaudio");

    useImage(folder.path());
    EXPECT_EQ(send("open cdaudio shareable"), QStringLiteral("Error:306"));
    EXPECT_FALSE(mciInterpreter().isOpen());
}

TEST_F(CdAudioCommands, ADataDiscIsThereButNotReadyForAudio) {
    useImage(discimages::writeCueBin(folder.path(), QStringLiteral("data"), {30 * Sec}, false, true));
    ASSERT_EQ(send("open cdaudio shareable"), QStringLiteral("1"));
    EXPECT_EQ(send("status cdaudio media present"), QStringLiteral("1"));
    EXPECT_EQ(send("status cdaudio ready"), QString());
    EXPECT_EQ(send("status cdaudio number of tracks"), QStringLiteral("1"));
}

// The replies while playing come from what the sink has played: the clock is moved on in steps of a
// tenth of a second once the engine has filled the sink, as a device would drain it.
class CdAudioPlaying : public CdAudioCommands {
protected:
    void playFor(int tenths) {
        for (int i = 0; i < tenths; ++i) {
            AudioSink& sink = mciInterpreter().engine()->sink();
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while (sink.framesWritten() - sink.framesPlayed() < 4410 && !mciInterpreter().engine()->fedToEnd()) {
                ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the engine never fed the sink";
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            clock().advanceMicroseconds(100000);
        }
    }
};

TEST_F(CdAudioPlaying, PositionTrackAndModeFollowWhatIsHeard) {
    ASSERT_EQ(send("open cdaudio shareable"), QStringLiteral("1"));
    send("set cdaudio time format tmsf");
    EXPECT_EQ(send("play cdaudio from 1:04:33:00"), QString());
    playFor(20);
    EXPECT_EQ(send("status cdaudio position"), QStringLiteral("01:04:35:00"));
    EXPECT_EQ(send("status cdaudio current track"), QStringLiteral("1"));
    // Track 1 ends 10 frames after 4:35: a second later the second track is heard.
    playFor(10);
    EXPECT_EQ(send("status cdaudio current track"), QStringLiteral("2"));
    EXPECT_EQ(send("status cdaudio position"), QStringLiteral("02:00:00:65"));
    EXPECT_EQ(send("status cdaudio mode"), QStringLiteral("playing"));

    // Pause, then a plain play goes on from there; twice.
    EXPECT_EQ(send("pause cdaudio"), QString());
    playFor(30);
    EXPECT_EQ(send("status cdaudio position"), QStringLiteral("02:00:00:65"));
    EXPECT_EQ(send("play cdaudio"), QString());
    playFor(10);
    EXPECT_EQ(send("pause cdaudio"), QString());
    playFor(10);
    EXPECT_EQ(send("play cdaudio"), QString());
    playFor(10);
    EXPECT_EQ(send("status cdaudio position"), QStringLiteral("02:00:02:65"));

    send("set cdaudio time format ms");
    // The lead-in, all of track 1 and 2 s 65 frames of track 2: 21000 frames.
    EXPECT_EQ(send("status cdaudio position"), QStringLiteral("280000"));

    // Played to a "to": it stops there by itself.
    send("set cdaudio time format tmsf");
    EXPECT_EQ(send("play cdaudio from 3:00:10:00 to 3:00:11:00"), QString());
    playFor(20);
    EXPECT_EQ(send("status cdaudio mode"), QStringLiteral("stopped"));
    EXPECT_EQ(send("status cdaudio position"), QStringLiteral("03:00:11:00"));
    EXPECT_EQ(send("play cdaudio from 3:00:10:00 to 2:00:00:00"), QStringLiteral("Error:282"));
}

}  // namespace
