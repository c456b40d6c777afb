// The two libcdio drives on generated images: what each kind of good and broken input comes to.

#include "support/DiscImages.h"
#include "support/TempFolder.h"

#include "cd/CdDeviceChoice.h"
#include "cd/DeviceDrive.h"
#include "cd/ImageDrive.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace srk;

namespace {

constexpr qint32 Sec = 75;

TEST(DiscDrive, CueBinAndTocImagesGiveTheTracksTheyWereWrittenWith) {
    TempFolder folder;
    const QVector<qint32> frames = {4 * 60 * Sec + 35 * Sec + 10, 70 * Sec + 3, 12 * Sec};
    for (const QString& path : {discimages::writeCueBin(folder.path(), QStringLiteral("cue"), frames),
                                discimages::writeTocBin(folder.path(), QStringLiteral("toc"), frames)}) {
        SCOPED_TRACE(path.toStdString());
        ImageDrive drive(path);
        ASSERT_EQ(drive.open(), DriveState::AudioDisc);
        ASSERT_EQ(drive.trackCount(), 3);
        qint32 start = 0;
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(drive.tracks()[i].number, i + 1);
            EXPECT_EQ(drive.tracks()[i].start, start);
            EXPECT_EQ(drive.tracks()[i].frames, frames[i]);
            EXPECT_TRUE(drive.tracks()[i].audio);
            start += frames[i];
        }
        EXPECT_EQ(drive.discFrames(), start);
        drive.close();
        EXPECT_EQ(drive.state(), DriveState::Unavailable);
    }
}

TEST(DiscDrive, DoorOpenAndNotReadyAreStatesOfTheirOwn) {
    TempFolder folder;
    ImageDrive drive(discimages::writeCueBin(folder.path(), QStringLiteral("d"), {10 * Sec}, true));
    drive.setDoorOpen(true);
    EXPECT_EQ(drive.open(), DriveState::TrayOpen);
    drive.setDoorOpen(false);
    drive.setNotReady(true);
    EXPECT_EQ(drive.state(), DriveState::NotReady);
    drive.setNotReady(false);
    EXPECT_EQ(drive.state(), DriveState::AudioDisc);
}

TEST(DiscDrive, BrokenImagesAndUnusableDevicesNeverCrash) {
    TempFolder folder;
    const QString dir = folder.path();
    const QVector<qint32> frames = {20 * Sec, 30 * Sec};
    EXPECT_EQ(ImageDrive(discimages::writeTruncatedCueBin(dir, QStringLiteral("cut"), frames)).open(),
              DriveState::NotReady);
    EXPECT_EQ(ImageDrive(discimages::writeCueMissingBin(dir, QStringLiteral("gone"))).open(), DriveState::Unavailable);
    EXPECT_EQ(ImageDrive(discimages::writeGarbageCue(dir, QStringLiteral("junk"))).open(), DriveState::Unavailable);
    EXPECT_EQ(ImageDrive(dir + QStringLiteral("/absent.cue")).open(), DriveState::Unavailable);
    // A folder named like an image is no image.
    ASSERT_TRUE(QDir(dir).mkdir(QStringLiteral("folder.cue")));
    EXPECT_EQ(ImageDrive(dir + QStringLiteral("/folder.cue")).open(), DriveState::Unavailable);
    EXPECT_EQ(DeviceDrive(dir).open(), DriveState::Unavailable);
    EXPECT_EQ(DeviceDrive(dir + QStringLiteral("/no-such-device")).open(), DriveState::Unavailable);
    // Things that open but are no drive: a plain file, a character device.
    EXPECT_EQ(DeviceDrive(dir + QStringLiteral("/cut.bin")).open(), DriveState::Unavailable);
    EXPECT_EQ(DeviceDrive(QStringLiteral("/dev/null")).open(), DriveState::Unavailable);
}

TEST(DiscDrive, ADiscWithoutAudioIsADataDisc) {
    TempFolder folder;
    ImageDrive data(discimages::writeCueBin(folder.path(), QStringLiteral("data"), {30 * Sec}, false, true));
    EXPECT_EQ(data.open(), DriveState::DataDisc);
    // Data first, audio after: an enhanced disc still plays.
    ImageDrive mixed(discimages::writeCueBin(folder.path(), QStringLiteral("mixed"), {30 * Sec, 20 * Sec}, false, true));
    ASSERT_EQ(mixed.open(), DriveState::AudioDisc);
    EXPECT_FALSE(mixed.tracks()[0].audio);
    EXPECT_TRUE(mixed.tracks()[1].audio);
}

TEST(DiscDrive, ImagePathsAndTheCdDeviceOption) {
    EXPECT_TRUE(isDiscImagePath(QStringLiteral("/x/Disc.CUE")));
    EXPECT_TRUE(isDiscImagePath(QStringLiteral("a.toc")));
    EXPECT_TRUE(isDiscImagePath(QStringLiteral("a.Nrg")));
    EXPECT_FALSE(isDiscImagePath(QStringLiteral("/dev/sr0")));
    EXPECT_FALSE(isDiscImagePath(QStringLiteral("a.bin")));

    setCdDevicePreference(QStringLiteral("/dev/sr1"));
    setCdDeviceOption(QString());
    EXPECT_EQ(chosenCdDevice(), QStringLiteral("/dev/sr1"));
    QStringList args = {QStringLiteral("disc-info"), QStringLiteral("--cd-device"), QStringLiteral("/tmp/a.cue")};
    QString error;
    ASSERT_TRUE(takeCdDeviceArgument(args, error));
    EXPECT_EQ(args, QStringList{QStringLiteral("disc-info")});
    EXPECT_EQ(chosenCdDevice(), QStringLiteral("/tmp/a.cue"));
    EXPECT_NE(dynamic_cast<ImageDrive*>(makeCdDrive(chosenCdDevice()).get()), nullptr);
    EXPECT_NE(dynamic_cast<DeviceDrive*>(makeCdDrive(QStringLiteral("/dev/sr1")).get()), nullptr);
    QStringList blank = {QStringLiteral("--cd-device=")};
    EXPECT_FALSE(takeCdDeviceArgument(blank, error));
    EXPECT_FALSE(error.isEmpty());
    setCdDeviceOption(QString());
    setCdDevicePreference(QString());
    EXPECT_TRUE(chosenCdDevice().isEmpty());
}

}  // namespace
