#include "ui/services/ProgressWindow.h"

#include "access/ScriptedMessages.h"
#include "access/TableAccess.h"
#include "albums/CopyToAlbum.h"
#include "catalog/Tables.h"
#include "jobs/Job.h"
#include "store/Store.h"
#include "store/Table.h"
#include "support/TempFolder.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace srk;

namespace {

// A job of a given number of slices that records how it was driven.
class SlicedJob : public Job {
public:
    explicit SlicedJob(int slices, int sliceMs = 0) : m_slices(slices), m_sliceMs(sliceMs) {}

    bool step() override {
        ++calls;
        if (beforeStep)
            beforeStep();
        if (cancelled()) {
            sawCancel = true;
            return false;
        }
        if (failAtSlice > 0 && done + 1 == failAtSlice) {
            fail(QStringLiteral("Disk full (90)"));
            return false;
        }
        ++done;
        if (m_sliceMs > 0)
            QThread::msleep(m_sliceMs);
        return done < m_slices;
    }
    int percent() const override { return reportedPercent ? reportedPercent(done) : done * 100 / m_slices; }

    int done = 0;
    int calls = 0;
    int failAtSlice = 0;
    bool sawCancel = false;
    std::function<void()> beforeStep;
    std::function<int(int)> reportedPercent;

private:
    int m_slices;
    int m_sliceMs;
};

QPushButton* cancelButton(ProgressWindow& w) { return w.findChild<QPushButton*>(QStringLiteral("cancelButton")); }
QProgressBar* progressBar(ProgressWindow& w) { return w.findChild<QProgressBar*>(QStringLiteral("progressBar")); }

TEST(ProgressWindowRun, RunsEverySliceShowsRisingPercentagesAndClosesCompleted) {
    ScriptedMessages messages;
    SlicedJob job(4);
    ProgressWindow w(job, messages);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Progress..."));
    w.setTitle(QStringLiteral("Processing Records"));
    w.setTextLine(QStringLiteral("Copying..."));
    EXPECT_EQ(w.percentLine(), QStringLiteral("0% Completed"));

    QStringList seen;
    job.beforeStep = [&] { seen << w.percentLine(); };
    QSignalSpy finished(&w, &ProgressWindow::jobFinished);
    w.start();
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.isRunning());
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() == 1; }, 5000));

    EXPECT_EQ(job.done, 4);
    EXPECT_EQ(job.calls, 4);
    EXPECT_EQ(seen, (QStringList{QStringLiteral("0% Completed"), QStringLiteral("25% Completed"),
                                 QStringLiteral("50% Completed"), QStringLiteral("75% Completed")}));
    EXPECT_TRUE(finished.first().first().toBool());
    EXPECT_TRUE(w.completed());
    EXPECT_FALSE(w.isRunning());
    EXPECT_EQ(w.percentLine(), QStringLiteral("Process Completed"));
    EXPECT_EQ(progressBar(w)->value(), 100);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Processing Records"));
    EXPECT_EQ(w.textLine(), QStringLiteral("Copying..."));
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(messages.count(), 0);
}

TEST(ProgressWindowRun, ModalRunLeavesTheEventLoopRunningBetweenSlices) {
    ScriptedMessages messages;
    SlicedJob job(40, 2);
    // A timer of the program's own fires while the job is half done.
    QList<int> doneWhenFired;
    QTimer other;
    other.setInterval(1);
    QObject::connect(&other, &QTimer::timeout, [&] { doneWhenFired << job.done; });
    other.start();

    const bool completed = ProgressWindow::run(nullptr, job, QStringLiteral("Processing Records"),
                                               QStringLiteral("Copying..."), messages);
    other.stop();
    EXPECT_TRUE(completed);
    EXPECT_EQ(job.done, 40);
    const bool firedMidway =
        std::any_of(doneWhenFired.begin(), doneWhenFired.end(), [](int done) { return done > 0 && done < 40; });
    EXPECT_TRUE(firedMidway);
}

TEST(ProgressWindowRun, PercentagesOutsideZeroToHundredAreShownInsideIt) {
    EXPECT_EQ(ProgressWindow::percentText(7), QStringLiteral("7% Completed"));
    EXPECT_EQ(ProgressWindow::percentText(100), QStringLiteral("100% Completed"));

    ScriptedMessages messages;
    SlicedJob job(3);
    job.reportedPercent = [](int done) { return done == 1 ? -20 : 250; };
    ProgressWindow w(job, messages);
    QStringList seen;
    job.beforeStep = [&] { seen << w.percentLine(); };
    QSignalSpy finished(&w, &ProgressWindow::jobFinished);
    w.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() == 1; }, 5000));
    EXPECT_EQ(seen, (QStringList{QStringLiteral("0% Completed"), QStringLiteral("0% Completed"),
                                 QStringLiteral("100% Completed")}));
}

TEST(ProgressWindowCancel, CancelButtonStopsTheJobBetweenSlicesAndClosesRejected) {
    ScriptedMessages messages;
    SlicedJob job(100000, 1);
    ProgressWindow w(job, messages);
    QSignalSpy finished(&w, &ProgressWindow::jobFinished);
    w.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return job.done >= 3; }, 5000));
    QTest::mouseClick(cancelButton(w), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() == 1; }, 5000));

    EXPECT_TRUE(job.cancelled());
    EXPECT_TRUE(job.sawCancel);
    EXPECT_LT(job.done, 100000);
    // The call that saw the cancel did no work and was the last.
    EXPECT_EQ(job.calls, job.done + 1);
    EXPECT_FALSE(finished.first().first().toBool());
    EXPECT_FALSE(w.completed());
    EXPECT_NE(w.percentLine(), QStringLiteral("Process Completed"));
    EXPECT_FALSE(cancelButton(w)->isEnabled());
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(messages.count(), 0);
}

TEST(ProgressWindowCancel, EscapeCancelsTheJobInsteadOfLeavingItBehind) {
    ScriptedMessages messages;
    SlicedJob job(100000, 1);
    ProgressWindow w(job, messages);
    QSignalSpy finished(&w, &ProgressWindow::jobFinished);
    w.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return job.done >= 2; }, 5000));
    QTest::keyClick(&w, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() == 1; }, 5000));
    EXPECT_TRUE(job.sawCancel);
    EXPECT_EQ(w.result(), QDialog::Rejected);
}

TEST(ProgressWindowCancel, FailedJobShowsItsErrorOnceAndClosesRejected) {
    ScriptedMessages messages;
    SlicedJob job(10);
    job.failAtSlice = 3;
    const bool completed = ProgressWindow::run(nullptr, job, QStringLiteral("Exporting"), QString(), messages);
    EXPECT_FALSE(completed);
    EXPECT_EQ(job.done, 2);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Exporting"));
    EXPECT_EQ(messages.last().text, QStringLiteral("Disk full (90)"));
}

TEST(ProgressWindowRun, DrivesCopyToAlbumOverAStoreToTheEnd) {
    TempFolder folder;
    Store store(folder.path());
    ASSERT_TRUE(store.connect());
    ScriptedMessages messages;
    TableAccess access(store, messages);
    ASSERT_TRUE(access.openTable(songsTable()).ok());
    {
        ASSERT_EQ(store.stream(), NoError);
        Table songs(store, songsTable());
        Record r(songsTable());
        for (int i = 0; i < 1500; ++i) {
            r.clear();
            r.setNumber(SON::ID, i + 1);
            r.setText(SON::Artist, QStringLiteral("Artist"));
            r.setText(SON::Album, QStringLiteral("Album %1").arg(i / 15));
            ASSERT_EQ(songs.add(r), NoError);
        }
        ASSERT_EQ(store.flush(), NoError);
    }

    CopyToAlbum job(access);
    EXPECT_TRUE(ProgressWindow::run(nullptr, job, job.title(), job.textLine(), messages));
    EXPECT_TRUE(job.completed());
    EXPECT_EQ(job.albumsMade(), 100);
    EXPECT_EQ(messages.count(), 0);

    Table songs(store, songsTable());
    Record r;
    songs.setStart(-1);
    int linked = 0;
    while (songs.next(r) == NoError)
        linked += r.number(SON::AlbumID) > 0 ? 1 : 0;
    EXPECT_EQ(linked, 1500);
}

}  // namespace
