#pragma once

#include "support/DiscImages.h"

#include "cd/AudioSinkFactory.h"
#include "cd/CdDeviceChoice.h"
#include "cd/NullAudioSink.h"
#include "cd/ImageDrive.h"
#include "cd/SendMciCommand.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace cdtest {

constexpr qint32 Sec = 75;

inline void useDefaultDrive() {
    srk::setCdDeviceOption(QString());
    srk::mciInterpreter().setDriveFactory([] { return srk::makeCdDrive(srk::chosenCdDevice()); });
}
inline void useImage(const QString& path) {
    useDefaultDrive();
    srk::setCdDeviceOption(path);
}
// An image drive put into one of a real drive's states.
inline void useImageIn(const QString& path, bool doorOpen, bool notReady) {
    srk::mciInterpreter().setDriveFactory([=] {
        auto drive = std::make_unique<srk::ImageDrive>(path);
        drive->setDoorOpen(doorOpen);
        drive->setNotReady(notReady);
        return drive;
    });
}
inline QString send(const char* command) { return srk::SendMciCommand(QString::fromLatin1(command), 0); }

// Closes whatever a test left open on the process's "cdaudio" device and puts the drive choice back.
// While it lives, the device plays into null sinks on a clock only the test moves, so no reply depends on
// how fast the machine is.
struct DeviceGuard {
    DeviceGuard() {
        srk::setAudioSinkFactory([clock = clock] {
            auto sink = std::make_unique<srk::NullAudioSink>(clock);
            sink->setKeepSamples(true);
            return sink;
        });
    }
    ~DeviceGuard() {
        if (srk::mciInterpreter().isOpen())
            srk::SendMciCommand(QStringLiteral("close cdaudio"), 0);
        useDefaultDrive();
        srk::setAudioSinkFactory(nullptr);
    }
    std::shared_ptr<srk::VirtualClock> clock = std::make_shared<srk::VirtualClock>();

    // Moves the clock on in steps of 20 ms, each once the open device's engine has filled its sink as far
    // as it goes (bounded: false when it never did), as a real device would be kept fed.
    bool advance(qint64 ms) {
        for (qint64 done = 0; done < ms; done += 20) {
            if (!fed())
                return false;
            clock->advanceMicroseconds(std::min<qint64>(20, ms - done) * 1000);
        }
        return fed();
    }
    static bool fed() {
        srk::PlaybackEngine* engine = srk::mciInterpreter().engine();
        if (!engine)
            return true;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        for (;;) {
            const qint64 queued = engine->sink().framesWritten() - engine->sink().framesPlayed();
            if (engine->mode() != srk::PlayState::Playing || engine->fedToEnd() ||
                srk::AudioSink::SampleRate / 4 - queued < srk::PlaybackEngine::ChunkSectors * srk::PlaybackEngine::FramesPerSector)
                return true;
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
};

}  // namespace cdtest

class CdDeviceTest : public ::testing::Test {
protected:
    static constexpr qint32 Sec = cdtest::Sec;
    static void useImage(const QString& path) { cdtest::useImage(path); }
    static void useImageIn(const QString& path, bool doorOpen, bool notReady) {
        cdtest::useImageIn(path, doorOpen, notReady);
    }
    static QString send(const char* command) { return cdtest::send(command); }
    cdtest::DeviceGuard guard;
    srk::VirtualClock& clock() { return *guard.clock; }
};
