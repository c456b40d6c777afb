#pragma once

#include "support/DiscImages.h"

#include "cd/CdDeviceChoice.h"
#include "cd/ImageDrive.h"
#include "cd/SendMciCommand.h"

#include <gtest/gtest.h>

// The process's "cdaudio" device pointed at test images; whatever a test leaves open is closed and the
// drive choice put back afterwards.
class CdDeviceTest : public ::testing::Test {
protected:
    static constexpr qint32 Sec = 75;

    void TearDown() override {
        if (srk::mciInterpreter().isOpen())
            srk::SendMciCommand(QStringLiteral("close cdaudio"), 0);
        useDefaultDrive();
    }

    static void useImage(const QString& path) {
        useDefaultDrive();
        srk::setCdDeviceOption(path);
    }
    static void useDefaultDrive() {
        srk::setCdDeviceOption(QString());
        srk::mciInterpreter().setDriveFactory([] { return srk::makeCdDrive(srk::chosenCdDevice()); });
    }
    // An image drive put into one of a real drive's states.
    static void useImageIn(const QString& path, bool doorOpen, bool notReady) {
        srk::mciInterpreter().setDriveFactory([=] {
            auto drive = std::make_unique<srk::ImageDrive>(path);
            drive->setDoorOpen(doorOpen);
            drive->setNotReady(notReady);
            return drive;
        });
    }
    static QString send(const char* command) { return srk::SendMciCommand(QString::fromLatin1(command), 0); }
};
