#include "reports/ReportPageList.h"

#include "support/TempFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

using namespace srk;

namespace {

void addPage(ReportPageList& pages, const QByteArray& text) {
    QFile f(pages.nextPagePath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
    f.close();
    pages.append();
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A run folder as another process would have left it.
QString makeRunFolder(const QString& base, const QString& name, const QString& marker) {
    const QString folder = base + QLatin1Char('/') + name;
    EXPECT_TRUE(QDir().mkpath(folder));
    QFile m(folder + QLatin1Char('/') + ReportPageList::markerFileName());
    EXPECT_TRUE(m.open(QIODevice::WriteOnly));
    m.write(marker.toUtf8());
    QFile page(folder + QStringLiteral("/page000001.srp"));
    EXPECT_TRUE(page.open(QIODevice::WriteOnly));
    return folder;
}

}  // namespace

TEST(ReportPageList, DroppedPagesLoseTheirFilesAndTheFolderGoesWithTheList) {
    TempFolder base;
    QString folder;
    QStringList paths;
    {
        ReportPageList pages(base.path());
        ASSERT_TRUE(pages.isUsable()) << pages.errorString().toStdString();
        folder = pages.folder();
        EXPECT_TRUE(QFile::exists(folder + QLatin1Char('/') + ReportPageList::markerFileName()));
        for (int i = 1; i <= 5; ++i)
            addPage(pages, QByteArray::number(i));
        ASSERT_EQ(pages.count(), 5);
        for (int i = 0; i < 5; ++i) {
            paths << pages.path(i);
            EXPECT_LE(pages.entry(i).size(), ReportPageList::kMaxEntryLength);
        }
        pages.removeAt(1);
        EXPECT_FALSE(QFile::exists(paths[1]));
        EXPECT_EQ(pages.count(), 4);
        EXPECT_EQ(contents(pages.path(1)), QByteArray("3"));

        // Pages 1, 4 and 5 (of the first five) stay in their order.
        pages.keepOnly({0, 2, 3});
        ASSERT_EQ(pages.count(), 3);
        EXPECT_EQ(contents(pages.path(0)), QByteArray("1"));
        EXPECT_EQ(contents(pages.path(1)), QByteArray("4"));
        EXPECT_EQ(contents(pages.path(2)), QByteArray("5"));
        EXPECT_FALSE(QFile::exists(paths[2]));

        pages.clear();
        EXPECT_TRUE(pages.isEmpty());
        for (const QString& p : paths)
            EXPECT_FALSE(QFile::exists(p)) << p.toStdString();
        addPage(pages, "again");
    }
    EXPECT_FALSE(QDir(folder).exists());
}

TEST(ReportPageList, TwoListsOfOneProcessHaveTheirOwnFolders) {
    TempFolder base;
    ReportPageList a(base.path()), b(base.path());
    ASSERT_TRUE(a.isUsable());
    ASSERT_TRUE(b.isUsable());
    EXPECT_NE(a.folder(), b.folder());
    addPage(a, "a");
    addPage(b, "b");
    EXPECT_EQ(contents(a.path(0)), QByteArray("a"));
    EXPECT_EQ(contents(b.path(0)), QByteArray("b"));
}

TEST(ReportPageList, StartUpRemovesFoldersOfDeadProcessesOnly) {
    TempFolder base;
    // A process that has ended: its id is free (or someone else's, with another start time).
    QProcess done;
    done.start(QStringLiteral("true"), {});
    ASSERT_TRUE(done.waitForStarted(10000));
    const qint64 deadPid = done.processId();
    const QString deadMarker = ReportPageList::ownerMarker(deadPid);
    ASSERT_TRUE(done.waitForFinished(10000));

    QProcess alive;
    alive.start(QStringLiteral("sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(alive.waitForStarted(10000));
    const qint64 livePid = alive.processId();

    const QString dead = makeRunFolder(base.path(), QStringLiteral("run-%1-1").arg(deadPid), deadMarker);
    const QString live =
        makeRunFolder(base.path(), QStringLiteral("run-%1-1").arg(livePid), ReportPageList::ownerMarker(livePid));
    // The live process's id, but marked with another start time: a dead owner whose id was reused.
    const QString reused = makeRunFolder(base.path(), QStringLiteral("run-%1-2").arg(livePid),
                                         QStringLiteral("%1 1").arg(livePid));
    // Marked but not yet written (its owner is between creating and filling the marker): the id in its name keeps it.
    const QString beingMarked = makeRunFolder(base.path(), QStringLiteral("run-%1-3").arg(livePid), QString());
    // Made but not yet marked by this very process: the id in its name keeps it.
    const QString unmarked = base.path() + QStringLiteral("/run-%1-99").arg(QCoreApplication::applicationPid());
    ASSERT_TRUE(QDir().mkpath(unmarked));
    ReportPageList mine(base.path());
    ASSERT_TRUE(mine.isUsable());
    addPage(mine, "mine");

    const bool startTimesKnown = ReportPageList::ownerMarker(livePid).contains(QLatin1Char(' '));
    EXPECT_EQ(ReportPageList::removeStaleFolders(base.path()), startTimesKnown ? 2 : 1);
    EXPECT_FALSE(QDir(dead).exists());
    EXPECT_TRUE(QDir(live).exists());
    EXPECT_EQ(QDir(reused).exists(), !startTimesKnown);
    EXPECT_TRUE(QDir(unmarked).exists());
    EXPECT_TRUE(QDir(beingMarked).exists());
    EXPECT_TRUE(QFile::exists(mine.path(0)));

    alive.kill();
    ASSERT_TRUE(alive.waitForFinished(10000));
    EXPECT_EQ(ReportPageList::removeStaleFolders(base.path()), startTimesKnown ? 2 : 3);
    EXPECT_FALSE(QDir(live).exists());
    EXPECT_FALSE(QDir(beingMarked).exists());
    QDir(unmarked).removeRecursively();
}

TEST(ReportPageList, AFolderThatCannotBeMadeIsReportedNotUsed) {
    TempFolder base;
    QFile blocker(base.file(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ReportPageList pages(base.file(QStringLiteral("file")));
    EXPECT_FALSE(pages.isUsable());
    EXPECT_FALSE(pages.errorString().isEmpty());
}

#ifdef Q_OS_LINUX
// The folder holding the run folders asks the file system to spread them apart, so a run does not
// create its pages among the just-freed entries of the run before it.
TEST(ReportPageList, TheBaseFolderAsksForRunFoldersToBeSpreadApart) {
    TempFolder folder;
    const QString base = folder.file(QStringLiteral("reports"));
    ASSERT_TRUE(QDir().mkpath(base));
    const int fd = ::open(QFile::encodeName(base).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    int flags = 0;
    const bool known = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (!known) {
        ::close(fd);
        GTEST_SKIP() << "the temp folder's file system keeps no folder flags";
    }
    EXPECT_FALSE(flags & FS_TOPDIR_FL);
    {
        ReportPageList pages(base);
        ASSERT_TRUE(pages.isUsable());
        addPage(pages, "SRKPAGE 1\n");
    }
    ASSERT_EQ(::ioctl(fd, FS_IOC_GETFLAGS, &flags), 0);
    ::close(fd);
    EXPECT_TRUE(flags & FS_TOPDIR_FL);
}
#endif
