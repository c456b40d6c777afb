// The sound-output sink where the output is missing or has failed: it must behave as a sink still (take
// what fits, count what is heard, pause, drop) and never keep the playback thread waiting for a device.

#include "cd/AudioSinkFactory.h"
#include "cd/PlaybackEngine.h"
#include "ui/cd/QtAudioSink.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <vector>

using namespace srk;

namespace {
std::vector<qint16> frames(qint64 count, qint16 value) { return std::vector<qint16>(size_t(count * 2), value); }
}  // namespace

TEST(QtAudioSinkTest, AFailedOutputTakesOnlyWhatFitsAndPausesAndDropsLikeAnySink) {
    QtAudioSink sink(1000);
    sink.failNow();
    EXPECT_TRUE(sink.failed());
    sink.suspend();
    const auto some = frames(1500, 7);
    EXPECT_EQ(sink.write(some.data(), 1500), 1000) << "no more than its capacity is queued";
    EXPECT_EQ(sink.framesWritten(), 1000);
    EXPECT_EQ(sink.write(some.data(), 10), 0);
    // Paused, nothing is heard, however long it waits.
    EXPECT_EQ(sink.framesPlayed(), 0);
    sink.reset();
    EXPECT_EQ(sink.framesWritten(), 0);
    EXPECT_EQ(sink.framesPlayed(), 0);
    EXPECT_EQ(sink.write(some.data(), 400), 400);
}

TEST(QtAudioSinkTest, WaitingForRoomEndsWhenWokenEvenWithoutAnOutput) {
    QtAudioSink sink(1000);
    sink.failNow();
    sink.suspend();
    const auto some = frames(1000, 1);
    ASSERT_EQ(sink.write(some.data(), 1000), 1000);
    auto waiting = std::async(std::launch::async, [&sink] { sink.waitForRoom(500); });
    EXPECT_EQ(waiting.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout)
        << "a full, paused sink has no room";
    sink.wake();
    EXPECT_EQ(waiting.wait_for(std::chrono::seconds(10)), std::future_status::ready);
}

TEST(QtAudioSinkTest, TheProgramKeepsTheNullSinkWhenAFactoryWasChosenAlready) {
    bool made = false;
    setAudioSinkFactory([&made]() -> std::unique_ptr<AudioSink> {
        made = true;
        return nullptr;
    });
    EXPECT_FALSE(QtAudioSink::install());
    EXPECT_NE(makeAudioSink(), nullptr) << "a factory giving nothing falls back to the null sink";
    EXPECT_TRUE(made);
    setAudioSinkFactory(nullptr);
}
