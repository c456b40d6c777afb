// Open lists show what is in the tables: a change made through another window of the program shows at
// once, one made by another station after the window is activated or the slow timer has looked; a
// rename carried to many songs runs in a progress window. Real windows of a started program.

#include "access/CascadeJob.h"
#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "store/Store.h"
#include "store/Table.h"
#include "ui/services/PageModel.h"
#include "ui/services/ProgressWindow.h"
#include "ui/services/TableWatch.h"
#include "ui/shell/MainFrame.h"
#include "ui/songs/BrowseMedia.h"
#include "ui/songs/BrowseSongs.h"
#include "ui/songs/LookupForm.h"

#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include "ui/support/ModalWindows.h"
#include "ui/support/ProgramFixture.h"

using namespace srk;
using srk::testing::buttonWithText;
using srk::testing::onModal;

namespace {

constexpr int kMediaColumn = 3;
constexpr int kArtistColumn = 0;

// Notes every progress window that shows and what it said when its job ended.
class ProgressSpy : public QObject {
public:
    ProgressSpy() { qApp->installEventFilter(this); }
    ~ProgressSpy() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            if (auto* window = qobject_cast<ProgressWindow*>(watched); window && !seen.contains(window)) {
                seen << window;
                textLines << window->textLine();
                connect(window, &ProgressWindow::jobFinished, this, [this](bool completed) { ended << completed; });
            }
        return QObject::eventFilter(watched, event);
    }
    QList<QObject*> seen;
    QStringList textLines;
    QList<bool> ended;
};

class FreshListsTest : public srk::testing::ProgramFixture {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(startProgram()); }

    void addSongs(int count, const QString& media, int firstId) {
        TableUse use(*context().access);
        ASSERT_TRUE(use.open(songsTable()));
        ASSERT_EQ(store().stream(), NoError);
        for (int i = 0; i < count; ++i) {
            Record s(songsTable());
            s.setNumber(SON::ID, firstId + i);
            s.setText(SON::Artist, QStringLiteral("Artist %1").arg(firstId + i, 5, 10, QChar(u'0')));
            s.setText(SON::Title, QStringLiteral("Song %1").arg(firstId + i));
            s.setText(SON::Media, media);
            ASSERT_EQ(Table(store(), songsTable()).add(s), NoError);
        }
        ASSERT_EQ(store().flush(), NoError);
    }

    template <class Browse>
    Browse* open(const QString& procedure, QSize size) {
        program->frame()->runCommand(procedure);
        QMdiSubWindow* sub = program->frame()->workspace()->activeSubWindow();
        auto* browse = sub ? qobject_cast<Browse*>(sub->widget()) : nullptr;
        if (browse) {
            sub->resize(size);
            QCoreApplication::processEvents();
        }
        return browse;
    }

    // The texts of a column on the page the list shows.
    static QStringList column(BrowseSongs* songs, int col) {
        QStringList out;
        const QAbstractItemModel* model = songs->list()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            out << model->index(row, col).data().toString();
        return out;
    }

    // Lets the event loop turn until the condition holds (a handful of turns; nothing here waits on time).
    static bool settles(const std::function<bool()>& condition) {
        for (int i = 0; i < 20 && !condition(); ++i)
            QCoreApplication::processEvents();
        return condition();
    }

    // Renames the highlighted medium of the media list through its form.
    static void renameInForm(BrowseMedia* media, const QString& to) {
        onModal([to](QWidget* modal) {
            auto* form = qobject_cast<LookupForm*>(modal);
            ASSERT_NE(form, nullptr);
            form->field()->selectAll();
            QTest::keyClicks(form->field(), to);
            QTest::mouseClick(form->okButton(), Qt::LeftButton);
        });
        QTest::mouseClick(buttonWithText(media, QStringLiteral("&Change")), Qt::LeftButton);
    }

    static bool locate(LookupBrowse* browse, QChar letter, const QString& text) {
        for (int i = 0; i < 20 && browse->highlightedText() != text; ++i)
            QTest::keyClick(browse->list(), letter.toLatin1());
        return browse->highlightedText() == text;
    }
};

TEST_F(FreshListsTest, RenamingAMediumInItsFormShowsInTheOpenSongListAtOnceKeepingTheHighlight) {
    addSongs(6, QStringLiteral("LP"), 1);
    addSongs(2, QStringLiteral("lp"), 7);
    addSongs(2, QStringLiteral("CD"), 9);
    BrowseSongs* songs = open<BrowseSongs>(BrowseSongs::Procedure, {900, 400});
    ASSERT_NE(songs, nullptr);
    songs->model()->setHighlight(3);
    const qint64 highlighted = songs->highlightedSong().number(SON::ID);
    ASSERT_EQ(column(songs, kMediaColumn).count(QStringLiteral("LP")), 6);

    auto* media = open<BrowseMedia>(BrowseMedia::Procedure, {320, 300});
    ASSERT_NE(media, nullptr);
    ASSERT_TRUE(locate(media, QLatin1Char('L'), QStringLiteral("LP")));
    renameInForm(media, QStringLiteral("Vinyl"));
    EXPECT_EQ(messages.count(), 0) << messages.titles().join(u',').toStdString();

    // The song list was not touched by anyone: it follows the tables by itself.
    EXPECT_TRUE(settles([&] { return column(songs, kMediaColumn).count(QStringLiteral("Vinyl")) == 8; }))
        << column(songs, kMediaColumn).join(u',').toStdString();
    EXPECT_EQ(column(songs, kMediaColumn).count(QStringLiteral("CD")), 2);
    EXPECT_EQ(songs->highlightedSong().number(SON::ID), highlighted);
    EXPECT_EQ(songs->highlightedSong().text(SON::Media), QStringLiteral("Vinyl"));
}

TEST_F(FreshListsTest, AnotherStationsChangeShowsWhenTheWindowIsActivatedAndOnTheSlowTimer) {
    addSongs(5, QStringLiteral("CD"), 1);
    BrowseSongs* songs = open<BrowseSongs>(BrowseSongs::Procedure, {900, 400});
    ASSERT_NE(songs, nullptr);
    auto* watch = songs->findChild<TableWatch*>();
    ASSERT_NE(watch, nullptr);
    EXPECT_TRUE(watch->timer().isActive());
    watch->timer().stop();
    songs->model()->setHighlight(2);
    const qint64 highlighted = songs->highlightedSong().number(SON::ID);
    // The frame's own activation on showing comes first.
    settles([] { return false; });

    // Another station renames the highlighted song's artist (it stays in place in the order).
    Store other(data.path());
    ASSERT_TRUE(other.connect());
    ASSERT_EQ(other.openFile(songsTable()), NoError);
    auto theirChange = [&](qint64 id, const QString& artist) {
        Table theirs(other, songsTable());
        Record s(songsTable());
        s.setNumber(SON::ID, id);
        ASSERT_EQ(theirs.get(SON::KeyID, s), NoError);
        s.setText(SON::Artist, artist);
        ASSERT_EQ(theirs.put(s), NoError);
    };
    ASSERT_NO_FATAL_FAILURE(theirChange(highlighted, QStringLiteral("Artist 00003 (live)")));
    EXPECT_FALSE(settles([&] { return column(songs, kArtistColumn).contains(QStringLiteral("Artist 00003 (live)")); }))
        << "nothing told the list yet";

    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(songs, &activate);
    EXPECT_TRUE(settles([&] { return column(songs, kArtistColumn).contains(QStringLiteral("Artist 00003 (live)")); }));
    EXPECT_EQ(songs->highlightedSong().number(SON::ID), highlighted);

    // Without activation the timer finds the next one.
    ASSERT_NO_FATAL_FAILURE(theirChange(1, QStringLiteral("Artist 00001 (demo)")));
    watch->timer().start(10);
    bool shown = false;
    for (int i = 0; i < 200 && !shown; ++i) {
        QTest::qWait(10);
        shown = column(songs, kArtistColumn).contains(QStringLiteral("Artist 00001 (demo)"));
    }
    EXPECT_TRUE(shown);
    EXPECT_EQ(songs->highlightedSong().number(SON::ID), highlighted);

    // Coming back to the list from another window of the workspace looks as well.
    watch->timer().stop();
    auto* songsWindow = qobject_cast<QMdiSubWindow*>(songs->parentWidget());
    ASSERT_NE(songsWindow, nullptr);
    ASSERT_NE(open<BrowseMedia>(BrowseMedia::Procedure, {320, 300}), nullptr);
    settles([] { return false; });
    ASSERT_NO_FATAL_FAILURE(theirChange(2, QStringLiteral("Artist 00002 (remix)")));
    EXPECT_FALSE(settles([&] { return column(songs, kArtistColumn).contains(QStringLiteral("Artist 00002 (remix)")); }));
    program->frame()->workspace()->setActiveSubWindow(songsWindow);
    EXPECT_TRUE(settles([&] { return column(songs, kArtistColumn).contains(QStringLiteral("Artist 00002 (remix)")); }));
}

TEST_F(FreshListsTest, ARenameCarriedToManySongsRunsInAProgressWindow) {
    const int many = CascadeJob::kSliceRows + 500;
    addSongs(many, QStringLiteral("EP"), 1);
    auto* media = open<BrowseMedia>(BrowseMedia::Procedure, {320, 300});
    ASSERT_NE(media, nullptr);
    ASSERT_TRUE(locate(media, QLatin1Char('E'), QStringLiteral("EP")));
    ProgressSpy spy;
    renameInForm(media, QStringLiteral("Extended Play"));
    EXPECT_EQ(messages.count(), 0) << messages.titles().join(u',').toStdString();
    EXPECT_EQ(spy.textLines, QStringList{QStringLiteral("Updating Sonorika")});
    EXPECT_EQ(spy.ended, QList<bool>{true});
    TableUse use(*context().access);
    ASSERT_TRUE(use.open(songsTable()));
    Table songs(store(), songsTable());
    songs.setFilter({QStringLiteral("\"Media\" = 'Extended Play'"), {}});
    QVector<Record> rows;
    ASSERT_EQ(songs.fetch(-1, KeyAnchor::start(), true, many + 1, rows), NoError);
    EXPECT_EQ(rows.size(), many);
    EXPECT_EQ(media->highlightedText(), QStringLiteral("Extended Play"));
}

} // namespace
