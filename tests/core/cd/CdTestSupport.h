#pragma once

#include "support/DiscImages.h"

#include "cd/AudioSinkFactory.h"
#include "cd/CdDeviceChoice.h"
#include "cd/NullAudioSink.h"
#include "cd/ImageDrive.h"
#include "cd/SendMciCommand.h"

#include <gtest/gtest.h>

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
