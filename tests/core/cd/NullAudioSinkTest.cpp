// The null sink on a virtual clock: it plays at the sample rate, holds no more than its capacity, stops
// the clock's effect while suspended, and after running dry counts new samples from when they came.

#include "cd/NullAudioSink.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace srk;

namespace {

std::vector<qint16> frames(qint64 count, qint16 first = 0) {
    std::vector<qint16> samples(std::size_t(count) * 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = qint16(first + qint16(i));
    return samples;
}

TEST(NullAudioSink, PlaysAtTheSampleRateUpToItsCapacity) {
    auto clock = std::make_shared<VirtualClock>();
    NullAudioSink sink(clock, 1000);
    sink.setKeepSamples(true);
    const auto samples = frames(1500);
    EXPECT_EQ(sink.write(samples.data(), 1500), 1000);
    EXPECT_EQ(sink.framesPlayed(), 0);
    clock->advanceMicroseconds(10000);  // 441 frames
    EXPECT_EQ(sink.framesPlayed(), 441);
    EXPECT_EQ(sink.write(samples.data() + 2000, 500), 441);
    EXPECT_EQ(sink.keptSamples().size(), 1441 * 4);
    EXPECT_TRUE(sink.keptSamples() == QByteArray(reinterpret_cast<const char*>(samples.data()), 1441 * 4));
    clock->advanceMicroseconds(1000000);
    // Never more than it was given.
    EXPECT_EQ(sink.framesPlayed(), 1441);
}

TEST(NullAudioSink, SuspendedItHoldsAndAfterRunningDryItStartsAgainFromNow) {
    auto clock = std::make_shared<VirtualClock>();
    NullAudioSink sink(clock, 44100);
    const auto samples = frames(44100);
    sink.write(samples.data(), 4410);
    clock->advanceMicroseconds(50000);
    sink.suspend();
    clock->advanceMicroseconds(500000);
    EXPECT_EQ(sink.framesPlayed(), 2205);
    sink.resume();
    clock->advanceMicroseconds(500000);
    EXPECT_EQ(sink.framesPlayed(), 4410);
    // Dry for half a second; the next samples are not taken as heard already.
    sink.write(samples.data(), 441);
    EXPECT_EQ(sink.framesPlayed(), 4410);
    clock->advanceMicroseconds(5000);
    EXPECT_EQ(sink.framesPlayed(), 4410 + 220);
    sink.reset();
    EXPECT_EQ(sink.framesPlayed(), 0);
    EXPECT_EQ(sink.framesWritten(), 0);
}

TEST(NullAudioSink, AWaiterForRoomGoesOnWhenTheClockMakesRoomOrWhenWoken) {
    auto clock = std::make_shared<VirtualClock>();
    NullAudioSink sink(clock, 1000);
    const auto samples = frames(1000);
    sink.write(samples.data(), 1000);
    std::thread waiter([&] { sink.waitForRoom(441); });
    clock->advanceMicroseconds(10000);
    waiter.join();
    EXPECT_EQ(sink.framesPlayed(), 441);
    sink.suspend();
    std::thread woken([&] { sink.waitForRoom(1000); });
    sink.wake();
    woken.join();
    // The hash sees every byte: the same samples again change it.
    const quint64 before = sink.hash();
    sink.resume();
    sink.write(samples.data(), 10);
    EXPECT_NE(sink.hash(), before);
}

}  // namespace
