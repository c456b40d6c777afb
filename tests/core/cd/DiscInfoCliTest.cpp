// "sonorika-cli disc-info" as a user's script runs it, on generated images.

#include "support/DiscImages.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace {

constexpr qint32 Sec = 75;

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// The preferences live in a folder of the test's own, so the user's settings never choose the drive.
CliRun discInfo(const QString& config, const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("SONORIKA_CONFIG"), config);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(SONORIKA_CLI), QStringList{QStringLiteral("disc-info")} + args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

TEST(DiscInfoCli, PrintsTheSerialNumberAndEachTracksLength) {
    TempFolder folder;
    const QString image = discimages::writeCueBin(folder.path(), QStringLiteral("two"),
                                                  {(4 * 60 + 35) * Sec + 10, (74 * 60 + 30) * Sec});
    const CliRun run = discInfo(folder.path(), {QStringLiteral("--cd-device"), image});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // 79:05:10 in all is 1:19:05.
    EXPECT_EQ(run.out, QStringLiteral("serial number\t 247450127501447001\n"
                                      "tracks\t2\n"
                                      "track 1\t 4:35\n"
                                      "track 2\t74:30\n"));
}

TEST(DiscInfoCli, TheDrivePreferenceIsUsedWithoutTheOption) {
    TempFolder folder;
    const QString image = discimages::writeCueBin(folder.path(), QStringLiteral("one"), {61 * Sec});
    QFile prefs(folder.file(QStringLiteral("SRKRO97.INI")));
    ASSERT_TRUE(prefs.open(QIODevice::WriteOnly));
    prefs.write(QStringLiteral("[Settings]\nCDDevice=%1\n").arg(image).toUtf8());
    prefs.close();
    const CliRun run = discInfo(folder.path(), {});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("serial number\t 161016101\ntracks\t1\n"))) << run.out.toStdString();
}

TEST(DiscInfoCli, AnUnusableDriveOrImageIsSaidAndFails) {
    TempFolder folder;
    const QString dir = folder.path();
    const QList<QPair<QString, QString>> cases = {
        {discimages::writeCueMissingBin(dir, QStringLiteral("gone")), QStringLiteral("no compact disc drive")},
        {discimages::writeTruncatedCueBin(dir, QStringLiteral("cut"), {20 * Sec, 30 * Sec}),
         QStringLiteral("the disc cannot be read")},
        {discimages::writeCueBin(dir, QStringLiteral("data"), {30 * Sec}, false, true),
         QStringLiteral("no audio tracks")},
        {dir, QStringLiteral("no compact disc drive")},
    };
    for (const auto& [device, why] : cases) {
        const CliRun run = discInfo(dir, {QStringLiteral("--cd-device"), device});
        EXPECT_EQ(run.exitCode, 1) << device.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains(why)) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(device)) << run.err.toStdString();
    }
    const CliRun missing = discInfo(dir, {QStringLiteral("--cd-device")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("--cd-device needs")));
}

}  // namespace
