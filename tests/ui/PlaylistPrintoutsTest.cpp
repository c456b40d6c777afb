// The playlist printouts started from the program: the playlist browser's "&Print" and "&Top 40" on the
// highlighted playlist, and the DJ log from the frame's menu through the query wizard.

#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "playlists/ChartNote.h"
#include "reports/PageFile.h"
#include "reports/ReportPageList.h"
#include "ui/shell/Program.h"
#include "store/Store.h"
#include "store/Table.h"
#include "ui/ProgramContext.h"
#include "ui/playlists/BrowsePlaylists.h"
#include "ui/query/QueryWizard.h"
#include "ui/reports/ReportPreview.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/ProgressWindow.h"
#include "ui/shell/MainFrame.h"
#include "ui/support/ModalWindows.h"
#include "ui/support/ProgramFixture.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

using namespace srk;
using namespace srk::testing;

namespace {

// Counts the progress windows that come up.
class ProgressWatch : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && qobject_cast<ProgressWindow*>(watched))
            ++shown;
        return false;
    }
    int shown = 0;
};

class PlaylistPrintoutTest : public ProgramFixture {
protected:
    void SetUp() override {
        catchSignals = true;
        ASSERT_NO_FATAL_FAILURE(startProgram());
        frame = program->frame();
    }

    // The line numbers of a playlist in running order.
    QList<qint64> sequences(qint64 playlist) {
        TableUse use(*context().access);
        EXPECT_TRUE(use.open(playlistDetailsTable()));
        Table lines(store(), playlistDetailsTable());
        Record r;
        QList<qint64> out;
        lines.setStart(PLA::KeyPlaylistID);
        while (lines.next(r) == NoError)
            if (r.number(PLA::PlaylistID) == playlist)
                out << r.number(PLA::PlaylistSeq);
        return out;
    }

    BrowsePlaylists* openBrowser() {
        frame->runCommand(BrowsePlaylists::Procedure);
        QMdiSubWindow* sub = frame->workspace()->activeSubWindow();
        if (!sub)
            return nullptr;
        sub->resize(700, 400);
        QCoreApplication::processEvents();
        return qobject_cast<BrowsePlaylists*>(sub->widget());
    }

    // The texts of every page the preview shows, then the preview closed.
    static void collectPreview(QStringList& texts) {
        onModal([&texts](QWidget* w) {
            if (qobject_cast<ProgressWindow*>(w)) {
                collectPreview(texts);
                return;
            }
            auto* preview = qobject_cast<ReportPreview*>(w);
            ASSERT_NE(preview, nullptr) << w->windowTitle().toStdString();
            for (int i = 0; i < preview->pages().count(); ++i) {
                Page page;
                ASSERT_TRUE(readPage(preview->pages().path(i), page));
                for (const PageItem& item : page.items)
                    if (item.kind == PageItem::Text)
                        texts << item.text;
            }
            preview->close();
        });
    }

    MainFrame* frame = nullptr;
};

TEST_F(PlaylistPrintoutTest, TopFortyButtonPrintsTheHighlightedPlaylistAsAChartAndClosesItsGaps) {
    for (int n = 1; n <= 4; ++n)
        addSong(10 + n, QStringLiteral("Artist %1").arg(n), QStringLiteral("Title %1").arg(n));
    addPlaylist(1, QStringLiteral("Apple Chart"));
    addPlaylist(2, QStringLiteral("Zebra Chart"));
    const int seqs[] = {1, 2, 5, 7};
    for (int n = 1; n <= 4; ++n)
        addLine(1, seqs[n - 1], 10 + n, n == 1 ? chartNote(QString(), 15) : QString());
    addLine(2, 3, 11);
    const QPointer<BrowsePlaylists> browse = openBrowser();
    ASSERT_FALSE(browse.isNull());
    ASSERT_EQ(browse->highlightedPlaylist().number(PLD::PlaylistID), 1);
    QPushButton* top40 = browse->button(BrowsePlaylists::Action::Top40);
    ASSERT_TRUE(top40->isEnabled());

    messages.addAnswer(ButtonYes);  // preview
    QStringList texts;
    collectPreview(texts);
    QTest::mouseClick(top40, Qt::LeftButton);
    ASSERT_GE(messages.count(), 1);
    EXPECT_EQ(messages.shown().first().text, QStringLiteral("Do you wish to PREVIEW this Report?"));
    EXPECT_EQ(messages.shown().first().title, QStringLiteral("Preview"));
    EXPECT_TRUE(texts.contains(QStringLiteral("Apple Chart")));
    EXPECT_FALSE(texts.contains(QStringLiteral("Zebra Chart")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Title 4")));
    EXPECT_TRUE(texts.contains(QStringLiteral("*")));  // up from 15 to 1
    EXPECT_TRUE(texts.contains(QStringLiteral("TW")));
    EXPECT_EQ(sequences(1), (QList<qint64>{1, 2, 3, 4}));
    EXPECT_EQ(sequences(2), (QList<qint64>{3}));
    EXPECT_FALSE(browse.isNull());
}

TEST_F(PlaylistPrintoutTest, PrintButtonOnAnEmptyPlaylistSaysThereIsNothingToPreview) {
    addPlaylist(1, QStringLiteral("Empty Set"));
    const QPointer<BrowsePlaylists> browse = openBrowser();
    ASSERT_FALSE(browse.isNull());
    QPushButton* print = browse->button(BrowsePlaylists::Action::Print);
    ASSERT_TRUE(print->isEnabled());
    const int lineUses = context().access->useCount(playlistDetailsTable());
    messages.addAnswer(ButtonYes);
    QTest::mouseClick(print, Qt::LeftButton);
    ASSERT_GE(messages.count(), 2);
    EXPECT_EQ(messages.last().text, QStringLiteral("Nothing to Preview."));
    EXPECT_EQ(messages.last().title, QStringLiteral("NOTE..."));

    messages.addAnswer(ButtonNo);  // print straight away
    QTest::mouseClick(print, Qt::LeftButton);
    EXPECT_EQ(messages.last().text, QStringLiteral("Nothing to Print."));
    EXPECT_EQ(context().access->useCount(playlistDetailsTable()), lineUses);
}

TEST_F(PlaylistPrintoutTest, DJLogFromTheMenuRunsTheQueryWizardThenTheLog) {
    addSong(1, QStringLiteral("Ace"), QStringLiteral("First"));
    addSong(2, QStringLiteral("Bee"), QStringLiteral("Second"));
    messages.addAnswer(ButtonYes);
    bool wizard = false;
    QStringList texts;
    onModal([&](QWidget* w) {
        wizard = qobject_cast<QueryWizard*>(w) != nullptr;
        collectPreview(texts);
        w->close();  // no condition: every song
    });
    QAction* entry = frame->menuAction(QStringLiteral("&Reports"), QStringLiteral("DJ Log"));
    ASSERT_NE(entry, nullptr);
    ASSERT_TRUE(entry->isEnabled());
    entry->trigger();
    EXPECT_TRUE(wizard);
    EXPECT_TRUE(texts.contains(QStringLiteral("DJ LOG")));
    EXPECT_TRUE(texts.contains(QStringLiteral("First")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Second")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Year")));
}

TEST_F(PlaylistPrintoutTest, AQuitWhileTheDJLogsQueryWizardIsUpLeavesNothingOpen) {
    addSong(1, QStringLiteral("Ace"), QStringLiteral("First"));
    QSignalSpy ended(program.get(), &Program::ended);
    ProgressWatch watch;
    qApp->installEventFilter(&watch);
    messages.addAnswer(ButtonYes);
    bool up = false;
    onModal([&](QWidget* w) {
        up = qobject_cast<QueryWizard*>(w) != nullptr;
        ::raise(SIGTERM);
    });
    frame->runCommand(QStringLiteral("PrintDJList"));
    qApp->removeEventFilter(&watch);
    EXPECT_TRUE(up);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ended.count() == 1; }, 5000));
    EXPECT_EQ(ModalWindows::instance().running(), 0);
    EXPECT_EQ(watch.shown, 0);
    EXPECT_EQ(context().access->useCount(songsTable()), 0);
}

}  // namespace
