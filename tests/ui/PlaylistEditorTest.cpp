// The playlist browser and editor through the real windows of a started program on temporary folders:
// playlists added, changed and cancelled, songs dropped on the lines, lines added after the
// highlighted one, deleted, moved and rolled over as a chart, a song on a playlist kept from being
// deleted, and a quit with the windows up. What was written is read back from the files.

#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "settings/IniFile.h"
#include "store/PageCursor.h"
#include "store/Store.h"
#include "store/Table.h"
#include "text/DayNumber.h"
#include "ui/ProgramContext.h"
#include "ui/playlists/BrowsePlaylists.h"
#include "ui/playlists/PlaylistLineList.h"
#include "ui/playlists/UpdatePlaylist.h"
#include "ui/playlists/UpdatePlaylistDetails.h"
#include "ui/services/DragPayload.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/PageModel.h"
#include "ui/shell/MainFrame.h"
#include "ui/songs/BrowseSongs.h"
#include "ui/songs/SelectFileNumber.h"
#include "ui/support/ModalWindows.h"
#include "ui/support/ProgramFixture.h"
#include "support/RefusedReads.h"

#include <QAction>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>

using namespace srk;
using srk::testing::buttonWithText;
using srk::testing::onModal;

namespace {

class PlaylistEditorTest : public srk::testing::ProgramFixture {
protected:
    void SetUp() override {
        catchSignals = true;
        ASSERT_NO_FATAL_FAILURE(startProgram());
        frame = program->frame();
    }

    // Playlist 1 "Top Tunes" with lines 1..5 naming songs 11..15.
    void fiveLinePlaylist() {
        for (int n = 1; n <= 5; ++n)
            addSong(10 + n, QStringLiteral("Artist %1").arg(n), QStringLiteral("Title %1").arg(n), 100 * n);
        addPlaylist(1, QStringLiteral("Top Tunes"));
        for (int n = 1; n <= 5; ++n)
            addLine(1, n, 10 + n);
    }

    QVector<Record> rows(const TableDef& def) {
        QVector<Record> out;
        TableUse use(*context().access);
        EXPECT_TRUE(use.open(def));
        EXPECT_EQ(Table(store(), def).fetch(def.primaryKey(), KeyAnchor::start(), true, 10000, out), NoError);
        return out;
    }

    // Song by place of a playlist, from the file.
    QMap<qint64, qint64> places(qint64 playlist) {
        QMap<qint64, qint64> out;
        for (const Record& r : rows(playlistDetailsTable()))
            if (r.number(PLA::PlaylistID) == playlist)
                out.insert(r.number(PLA::PlaylistSeq), r.number(PLA::ID));
        return out;
    }
    QMap<qint64, qint64> expected(std::initializer_list<std::pair<qint64, qint64>> items) {
        QMap<qint64, qint64> out;
        for (const auto& [place, id] : items)
            out.insert(place, id);
        return out;
    }
    QMap<qint64, QString> notes(qint64 playlist) {
        QMap<qint64, QString> out;
        for (const Record& r : rows(playlistDetailsTable()))
            if (r.number(PLA::PlaylistID) == playlist)
                out.insert(r.number(PLA::PlaylistSeq), r.text(PLA::PlaylistNotes));
        return out;
    }

    template <class Window> Window* openInWorkspace(const QString& procedure) {
        frame->runCommand(procedure);
        QMdiSubWindow* sub = frame->workspace()->activeSubWindow();
        if (!sub)
            return nullptr;
        sub->resize(700, 400);
        QCoreApplication::processEvents();
        return qobject_cast<Window*>(sub->widget());
    }

    // Opens the playlist form from the browser with `request` and runs `action` in it.
    void inForm(BrowsePlaylists::Action how, const std::function<void(UpdatePlaylist*)>& action) {
        QPointer<BrowsePlaylists> browse = openInWorkspace<BrowsePlaylists>(BrowsePlaylists::Procedure);
        ASSERT_FALSE(browse.isNull());
        bool ran = false;
        onModal([&](QWidget* modal) {
            auto* form = qobject_cast<UpdatePlaylist*>(modal);
            ASSERT_NE(form, nullptr);
            ran = true;
            action(form);
        });
        browse->press(how);
        EXPECT_TRUE(ran);
    }

    static QStringList column(PlaylistLineList* lines, int col) {
        QStringList out;
        for (int r = 0; r < lines->model()->rowCount(); ++r)
            out << lines->model()->index(r, col).data().toString().trimmed();
        return out;
    }

    static void dropOn(PlaylistLineList* lines, qint64 songId) {
        QWidget* target = lines->list()->viewport();
        const QPoint at = target->rect().center();
        std::unique_ptr<QMimeData> songs(makeDragData(kSongsDragId, QString::number(songId)));
        QDragEnterEvent enter(at, Qt::CopyAction, songs.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(at), Qt::CopyAction, songs.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        EXPECT_TRUE(drop.isAccepted());
    }

    MainFrame* frame = nullptr;
};

TEST_F(PlaylistEditorTest, TheBrowserListsByDescriptionWithItsButtonsTipsAndMenu) {
    addPlaylist(1, QStringLiteral("Zebra Hour"));
    addPlaylist(2, QStringLiteral("Apple Show"));
    QPointer<BrowsePlaylists> browse = openInWorkspace<BrowsePlaylists>(BrowsePlaylists::Procedure);
    ASSERT_FALSE(browse.isNull());
    EXPECT_EQ(browse->windowTitle(), QStringLiteral("Playlists"));
    ASSERT_EQ(browse->model()->rowCount(), 2);
    EXPECT_EQ(browse->model()->index(0, 0).data().toString().trimmed(), QStringLiteral("Apple Show"));
    EXPECT_EQ(browse->model()->index(1, 0).data().toString().trimmed(), QStringLiteral("Zebra Hour"));
    EXPECT_EQ(browse->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Playlist Description"));

    using A = BrowsePlaylists::Action;
    EXPECT_EQ(browse->button(A::Print)->toolTip(), QStringLiteral("Print playlist (basic format)"));
    EXPECT_EQ(browse->button(A::Top40)->toolTip(), QStringLiteral("Print playlist in a top-?? chart format"));
    for (A a : {A::Add, A::Change, A::Delete, A::Close})
        EXPECT_FALSE(browse->button(a)->toolTip().isEmpty());
    // The printouts work on the highlighted playlist.
    EXPECT_TRUE(browse->button(A::Print)->isVisible());
    EXPECT_TRUE(browse->button(A::Print)->isEnabled());
    EXPECT_TRUE(browse->button(A::Top40)->isEnabled());

    QStringList items;
    QStringList enabled;
    {
        std::unique_ptr<QMenu> menu(browse->buildPopup());
        for (QAction* a : menu->actions()) {
            items << (a->isSeparator() ? QStringLiteral("-") : a->text());
            if (a->isEnabled() && !a->isSeparator())
                enabled << a->text();
        }
    }
    EXPECT_EQ(items.join(u'|'), QStringLiteral("&Add|&Change|&Delete|-|&Print|&Top 40|-|Generate Play List"));
    // The generator is a window of the program: its item is enabled.
    EXPECT_EQ(enabled.join(u'|'), QStringLiteral("&Add|&Change|&Delete|&Print|&Top 40|Generate Play List"));

    browse->press(A::Close);
    EXPECT_TRUE(QTest::qWaitFor([&] { return browse.isNull(); }, 2000));
    EXPECT_TRUE(context().positions.contains(BrowsePlaylists::PlacementSection, QStringLiteral("Width")));
}

TEST_F(PlaylistEditorTest, ANewPlaylistTakesADroppedSongAsLineOneAndIsSavedWithTodaysDate) {
    addSong(7, QStringLiteral("Nina"), QStringLiteral("Sinnerman"), 6000);
    inForm(BrowsePlaylists::Action::Add, [this](UpdatePlaylist* form) {
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Adding a Playlist Record"));
        EXPECT_EQ(form->tabs()->tabText(0), QStringLiteral("Play List"));
        EXPECT_EQ(form->tabs()->tabText(1), QStringLiteral("Notes"));
        EXPECT_EQ(form->lastEditDate()->toolTip(), QStringLiteral("Last Edited"));
        // The new playlist is in the file from the start, with the next number.
        const QVector<Record> primed = rows(playlistMasterTable());
        ASSERT_EQ(primed.size(), 1);
        EXPECT_EQ(primed[0].number(PLD::PlaylistID), 1);

        dropOn(form->lines(), 7);
        ASSERT_TRUE(QTest::qWaitFor([this] { return places(1).size() == 1; }, 2000));
        EXPECT_EQ(places(1), expected({{1, 7}}));
        EXPECT_EQ(column(form->lines(), 1), QStringList{QStringLiteral("Nina")});
        EXPECT_EQ(column(form->lines(), 2), QStringList{QStringLiteral("Sinnerman")});
        EXPECT_FALSE(form->lines()->totalText().trimmed().isEmpty());

        QTest::keyClicks(form->descriptionEdit(), QStringLiteral("Friday Show"));
        form->notesEdit()->setPlainText(QStringLiteral("Live from the cellar"));
        form->okButton()->click();
    });
    const QVector<Record> saved = rows(playlistMasterTable());
    ASSERT_EQ(saved.size(), 1);
    EXPECT_EQ(saved[0].text(PLD::PlaylistDescription), QStringLiteral("Friday Show"));
    EXPECT_EQ(saved[0].text(PLD::Notes), QStringLiteral("Live from the cellar"));
    EXPECT_EQ(saved[0].number(PLD::LastEditDate), todayDayNumber());
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(PlaylistEditorTest, CancellingANewPlaylistKeepsItsLinesAndRemovesTheHeader) {
    addSong(7, QStringLiteral("Nina"), QStringLiteral("Sinnerman"));
    addSong(8, QStringLiteral("Otis"), QStringLiteral("Respect"));
    inForm(BrowsePlaylists::Action::Add, [](UpdatePlaylist* form) {
        form->lines()->dropSong(7);
        form->lines()->dropSong(8);
        form->cancelButton()->click();
    });
    EXPECT_TRUE(rows(playlistMasterTable()).isEmpty());
    EXPECT_EQ(places(1), expected({{1, 7}, {2, 8}}));
}

TEST_F(PlaylistEditorTest, ADuplicateDescriptionIsNamedAsPlaylistsAndTheFormStays) {
    addPlaylist(1, QStringLiteral("Taken"));
    inForm(BrowsePlaylists::Action::Add, [this](UpdatePlaylist* form) {
        QTest::keyClicks(form->descriptionEdit(), QStringLiteral("TAKEN"));
        form->okButton()->click();
        EXPECT_TRUE(form->isVisible());
        ASSERT_EQ(messages.count(), 1);
        EXPECT_TRUE(messages.last().text.contains(QStringLiteral("Playlists"))) << messages.last().text.toStdString();
        form->descriptionEdit()->clear();
        QTest::keyClicks(form->descriptionEdit(), QStringLiteral("Fresh"));
        form->okButton()->click();
    });
    EXPECT_EQ(rows(playlistMasterTable()).size(), 2);
}

TEST_F(PlaylistEditorTest, DeletingLineTwoOfFiveRenumbersTheRest) {
    fiveLinePlaylist();
    inForm(BrowsePlaylists::Action::Change, [this](UpdatePlaylist* form) {
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Changing a Playlist Record"));
        PlaylistLineList* lines = form->lines();
        ASSERT_EQ(lines->model()->rowCount(), 5);
        lines->model()->setHighlight(1);
        messages.addAnswer(ButtonOk);  // confirm the delete
        lines->press(PlaylistLineList::Action::Delete);
        EXPECT_EQ(messages.last().title, QStringLiteral("Confirm Delete"));
        EXPECT_EQ(places(1), expected({{1, 11}, {2, 13}, {3, 14}, {4, 15}}));
        EXPECT_EQ(column(lines, 0), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                                 QStringLiteral("4")}));
        form->cancelButton()->click();
    });
    // Lines are written as they are edited; the playlist stays.
    EXPECT_EQ(rows(playlistMasterTable()).size(), 1);
}

TEST_F(PlaylistEditorTest, AddWithLineTwoHighlightedPutsTheNewSongAtThree) {
    fiveLinePlaylist();
    addSong(50, QStringLiteral("AAA First"), QStringLiteral("Inserted"));
    inForm(BrowsePlaylists::Action::Change, [this](UpdatePlaylist* form) {
        PlaylistLineList* lines = form->lines();
        lines->model()->setHighlight(1);
        bool detailsUp = false;
        onModal([&](QWidget* modal) {
            auto* details = qobject_cast<UpdatePlaylistDetails*>(modal);
            ASSERT_NE(details, nullptr);
            detailsUp = true;
            EXPECT_EQ(details->windowTitle(), QStringLiteral("Adding a Playlist Detail"));
            EXPECT_TRUE(details->artistEdit()->isReadOnly());
            onModal([](QWidget* picker) {
                ASSERT_NE(qobject_cast<SelectFileNumber*>(picker), nullptr);
                // By artist: "AAA First" is highlighted first.
                QTest::mouseClick(buttonWithText(picker, QStringLiteral("&Select")), Qt::LeftButton);
            });
            details->selectSong();
            EXPECT_EQ(details->artistEdit()->text(), QStringLiteral("AAA First"));
            EXPECT_EQ(details->titleEdit()->text(), QStringLiteral("Inserted"));
            QTest::keyClicks(details->notesEdit(), QStringLiteral("New this week"));
            details->okButton()->click();
        });
        lines->press(PlaylistLineList::Action::Add);
        EXPECT_TRUE(detailsUp);
        EXPECT_EQ(places(1), expected({{1, 11}, {2, 12}, {3, 50}, {4, 13}, {5, 14}, {6, 15}}));
        EXPECT_EQ(lines->highlightedLine().number(PLA::PlaylistSeq), 3);
        EXPECT_EQ(notes(1).value(3), QStringLiteral("New this week"));
        form->okButton()->click();
    });
}

TEST_F(PlaylistEditorTest, TheFourMoveButtonsRenumberAndTheHighlightFollows) {
    fiveLinePlaylist();
    inForm(BrowsePlaylists::Action::Change, [this](UpdatePlaylist* form) {
        using A = PlaylistLineList::Action;
        PlaylistLineList* lines = form->lines();
        EXPECT_EQ(lines->button(A::MoveUp)->toolTip(), QStringLiteral("Move record up one"));
        EXPECT_EQ(lines->button(A::MoveTop)->toolTip(), QStringLiteral("Move record to the top"));
        EXPECT_EQ(lines->button(A::MoveDown)->toolTip(), QStringLiteral("Move record down one"));
        EXPECT_EQ(lines->button(A::MoveBottom)->toolTip(), QStringLiteral("Move record to the bottom"));
        lines->model()->setHighlight(3);
        lines->press(A::MoveTop);
        EXPECT_EQ(places(1), expected({{1, 14}, {2, 11}, {3, 12}, {4, 13}, {5, 15}}));
        EXPECT_EQ(lines->highlightedLine().number(PLA::ID), 14);
        lines->press(A::MoveDown);
        EXPECT_EQ(places(1), expected({{1, 11}, {2, 14}, {3, 12}, {4, 13}, {5, 15}}));
        lines->press(A::MoveBottom);
        EXPECT_EQ(places(1), expected({{1, 11}, {2, 12}, {3, 13}, {4, 15}, {5, 14}}));
        lines->press(A::MoveUp);
        EXPECT_EQ(places(1), expected({{1, 11}, {2, 12}, {3, 13}, {4, 14}, {5, 15}}));
        EXPECT_EQ(lines->highlightedLine().number(PLA::PlaylistSeq), 4);
        EXPECT_EQ(messages.count(), 0);
        form->cancelButton()->click();
    });
}

TEST_F(PlaylistEditorTest, ChartTwiceLeavesOneTagAndAFullNoteLosesItsEnd) {
    fiveLinePlaylist();
    const QString forty = QStringLiteral("Forty characters of note text, exactly!!");
    ASSERT_EQ(forty.size(), 40);
    {
        TableUse use(*context().access);
        ASSERT_TRUE(use.open(playlistDetailsTable()));
        Table lines(store(), playlistDetailsTable());
        Record r(playlistDetailsTable());
        r.setNumber(PLA::PlaylistID, 1);
        r.setNumber(PLA::PlaylistSeq, 2);
        ASSERT_EQ(lines.get(PLA::KeyPlaylistID, r), NoError);
        r.setText(PLA::PlaylistNotes, forty);
        ASSERT_EQ(lines.put(r), NoError);
    }
    inForm(BrowsePlaylists::Action::Change, [this](UpdatePlaylist* form) {
        PlaylistLineList* lines = form->lines();
        EXPECT_EQ(lines->button(PlaylistLineList::Action::Chart)->toolTip(),
                  QStringLiteral("Copy the current chart order into the last week column"));
        // Cancel at the question changes nothing.
        messages.addAnswer(ButtonCancel);
        lines->press(PlaylistLineList::Action::Chart);
        EXPECT_EQ(notes(1).value(1), QString());
        for (int run = 0; run < 2; ++run) {
            messages.addAnswer(ButtonOk);
            lines->press(PlaylistLineList::Action::Chart);
        }
        EXPECT_EQ(messages.titles(),
                  (QStringList{QStringLiteral("Warning"), QStringLiteral("Warning"), QStringLiteral("Warning")}));
        form->okButton()->click();
    });
    const QMap<qint64, QString> after = notes(1);
    EXPECT_EQ(after.value(1), QStringLiteral("LW:1"));
    EXPECT_EQ(after.value(2), forty);
    EXPECT_EQ(after.value(5), QStringLiteral("LW:5"));
}

TEST_F(PlaylistEditorTest, ALineWhoseSongIsGoneShowsBlanksAndAddsNoTime) {
    addSong(11, QStringLiteral("Here"), QStringLiteral("Present"), 6000);
    addPlaylist(1, QStringLiteral("Holes"));
    addLine(1, 1, 11);
    addLine(1, 2, 404, QStringLiteral("left behind"));
    inForm(BrowsePlaylists::Action::Change, [](UpdatePlaylist* form) {
        PlaylistLineList* lines = form->lines();
        ASSERT_EQ(lines->model()->rowCount(), 2);
        EXPECT_EQ(column(lines, 1), (QStringList{QStringLiteral("Here"), QString()}));
        EXPECT_EQ(column(lines, 2), (QStringList{QStringLiteral("Present"), QString()}));
        EXPECT_EQ(lines->model()->index(1, 3).data().toLongLong(), 0);
        EXPECT_EQ(column(lines, 4).last(), QStringLiteral("left behind"));
        const QString withHole = lines->totalText();
        // The total is that of the one song there is.
        lines->model()->setHighlight(1);
        form->lines()->press(PlaylistLineList::Action::MoveTop);
        EXPECT_EQ(lines->totalText(), withHole);
        form->cancelButton()->click();
    });
}

TEST_F(PlaylistEditorTest, TypingADigitJumpsThroughTheLinesBeginningWithIt) {
    addSong(1, QStringLiteral("A"), QStringLiteral("B"));
    addPlaylist(1, QStringLiteral("Long"));
    for (int n = 1; n <= 14; ++n)
        addLine(1, n, 1);
    inForm(BrowsePlaylists::Action::Change, [](UpdatePlaylist* form) {
        PlaylistLineList* lines = form->lines();
        lines->list()->setFocus();
        QTest::keyClick(lines->list(), Qt::Key_1);
        EXPECT_EQ(lines->highlightedLine().number(PLA::PlaylistSeq), 10);  // from line 1, the next is 10
        QTest::keyClick(lines->list(), Qt::Key_1);
        EXPECT_EQ(lines->highlightedLine().number(PLA::PlaylistSeq), 11);
        QTest::keyClick(lines->list(), Qt::Key_3);
        EXPECT_EQ(lines->highlightedLine().number(PLA::PlaylistSeq), 3);
        QTest::keyClick(lines->list(), Qt::Key_9);
        EXPECT_EQ(lines->highlightedLine().number(PLA::PlaylistSeq), 9);
        form->cancelButton()->click();
    });
}

TEST_F(PlaylistEditorTest, ASongPutOnAPlaylistInTheEditorCannotBeDeletedFromTheSongBrowser) {
    addSong(7, QStringLiteral("Nina"), QStringLiteral("Sinnerman"));
    inForm(BrowsePlaylists::Action::Add, [](UpdatePlaylist* form) {
        dropOn(form->lines(), 7);
        ASSERT_TRUE(QTest::qWaitFor([form] { return form->lines()->model()->rowCount() == 1; }, 2000));
        QTest::keyClicks(form->descriptionEdit(), QStringLiteral("Keeps Nina"));
        form->okButton()->click();
    });
    QPointer<BrowseSongs> songs = openInWorkspace<BrowseSongs>(BrowseSongs::Procedure);
    ASSERT_FALSE(songs.isNull());
    ASSERT_EQ(songs->model()->rowCount(), 1);
    messages.clear();
    messages.addAnswer(ButtonOk);  // confirm
    messages.addAnswer(ButtonNo);  // do not try again
    songs->press(BrowseSongs::Action::Delete);
    ASSERT_EQ(messages.count(), 3);
    EXPECT_EQ(messages.shown()[1].title, QStringLiteral("Referential Integrity Delete Error"));
    EXPECT_TRUE(messages.shown()[1].text.contains(QStringLiteral("PlaylistDetails")));
    ASSERT_EQ(rows(songsTable()).size(), 1);
    EXPECT_EQ(places(1), expected({{1, 7}}));
}

TEST_F(PlaylistEditorTest, AQuitWithTheBrowserOpenClosesItAndKeepsItsPlace) {
    addPlaylist(1, QStringLiteral("Open"));
    QSignalSpy ended(program.get(), &Program::ended);
    QPointer<BrowsePlaylists> browse = openInWorkspace<BrowsePlaylists>(BrowsePlaylists::Procedure);
    ASSERT_FALSE(browse.isNull());
    ::raise(SIGTERM);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ended.count() == 1; }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return browse.isNull(); }, 2000));
    EXPECT_EQ(context().access->useCount(playlistMasterTable()), 0);
    EXPECT_EQ(context().access->useCount(playlistDetailsTable()), 0);
    EXPECT_TRUE(IniFile(data.file(QStringLiteral("POSITION.INI")))
                    .contains(BrowsePlaylists::PlacementSection, QStringLiteral("Width")));
    EXPECT_EQ(rows(playlistMasterTable()).size(), 1);
}

TEST_F(PlaylistEditorTest, AQuitWhileANewPlaylistIsEditedRemovesItsHeaderAndKeepsItsLines) {
    addSong(7, QStringLiteral("Nina"), QStringLiteral("Sinnerman"));
    QSignalSpy ended(program.get(), &Program::ended);
    inForm(BrowsePlaylists::Action::Add, [](UpdatePlaylist* form) {
        form->lines()->dropSong(7);
        QTest::keyClicks(form->descriptionEdit(), QStringLiteral("Half done"));
        ::raise(SIGTERM);
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return ended.count() == 1; }, 5000));
    EXPECT_EQ(ModalWindows::instance().running(), 0);
    EXPECT_EQ(context().access->useCount(playlistMasterTable()), 0);
    EXPECT_EQ(context().access->useCount(songsTable()), 0);
    EXPECT_TRUE(rows(playlistMasterTable()).isEmpty());
    EXPECT_EQ(places(1), expected({{1, 7}}));
    EXPECT_TRUE(IniFile(data.file(QStringLiteral("POSITION.INI")))
                    .contains(UpdatePlaylist::Procedure, QStringLiteral("Width")));
}

// A quit while the line form is up: the line form goes first, as its own Cancel would (a line primed for
// it is removed again), then the playlist form and the browser; the lines stay as they were.
TEST_F(PlaylistEditorTest, AQuitWhileALineIsAddedLeavesNoPrimedLine) {
    fiveLinePlaylist();
    QSignalSpy ended(program.get(), &Program::ended);
    bool detailsUp = false;
    inForm(BrowsePlaylists::Action::Change, [&](UpdatePlaylist* form) {
        form->lines()->model()->setHighlight(1);
        onModal([&](QWidget* modal) {
            auto* details = qobject_cast<UpdatePlaylistDetails*>(modal);
            ASSERT_NE(details, nullptr);
            detailsUp = true;
            EXPECT_EQ(details->windowTitle(), QStringLiteral("Adding a Playlist Detail"));
            // The line is in the file while its form is up.
            EXPECT_EQ(places(1).size(), 6);
            QTest::keyClicks(details->notesEdit(), QStringLiteral("Half typed"));
            ::raise(SIGTERM);
        });
        form->lines()->press(PlaylistLineList::Action::Add);
    });
    EXPECT_TRUE(detailsUp);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ended.count() == 1; }, 5000));
    EXPECT_EQ(ModalWindows::instance().running(), 0);
    EXPECT_EQ(context().access->useCount(playlistDetailsTable()), 0);
    EXPECT_EQ(context().access->useCount(songsTable()), 0);
    EXPECT_EQ(places(1), expected({{1, 11}, {2, 12}, {3, 13}, {4, 14}, {5, 15}}));
    EXPECT_EQ(rows(playlistDetailsTable()).size(), 5);
    EXPECT_EQ(rows(playlistMasterTable()).size(), 1);
    EXPECT_TRUE(IniFile(data.file(QStringLiteral("POSITION.INI")))
                    .contains(UpdatePlaylistDetails::Procedure, QStringLiteral("Width")));
}

TEST_F(PlaylistEditorTest, AQuitWithTheSongPickerOverTheLineFormClosesBothInnermostFirst) {
    fiveLinePlaylist();
    addSong(20, QStringLiteral("Picked"), QStringLiteral("Never"));
    QSignalSpy ended(program.get(), &Program::ended);
    QStringList closed;
    inForm(BrowsePlaylists::Action::Change, [&](UpdatePlaylist* form) {
        form->lines()->model()->setHighlight(3);
        onModal([&](QWidget* modal) {
            auto* details = qobject_cast<UpdatePlaylistDetails*>(modal);
            ASSERT_NE(details, nullptr);
            QObject::connect(details, &QDialog::finished, [&] { closed << QStringLiteral("line"); });
            QTest::keyClicks(details->notesEdit(), QStringLiteral("Not kept"));
            onModal([&](QWidget* picker) {
                ASSERT_NE(qobject_cast<SelectFileNumber*>(picker), nullptr);
                QObject::connect(qobject_cast<QDialog*>(picker), &QDialog::finished,
                                 [&] { closed << QStringLiteral("picker"); });
                ::raise(SIGTERM);
            });
            details->selectSong();
        });
        form->lines()->press(PlaylistLineList::Action::Change);
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return ended.count() == 1; }, 5000));
    EXPECT_EQ(closed, (QStringList{QStringLiteral("picker"), QStringLiteral("line")}));
    EXPECT_EQ(ModalWindows::instance().running(), 0);
    EXPECT_EQ(context().access->useCount(playlistDetailsTable()), 0);
    EXPECT_EQ(context().access->useCount(songsTable()), 0);
    // The line changed nothing: its note and song are as they were.
    EXPECT_EQ(places(1), expected({{1, 11}, {2, 12}, {3, 13}, {4, 14}, {5, 15}}));
    EXPECT_EQ(notes(1).value(4), QString());
}

TEST_F(PlaylistEditorTest, ChangeEditsTheNoteAndKeepsThePlace) {
    fiveLinePlaylist();
    inForm(BrowsePlaylists::Action::Change, [this](UpdatePlaylist* form) {
        PlaylistLineList* lines = form->lines();
        lines->model()->setHighlight(2);
        bool detailsUp = false;
        onModal([&](QWidget* modal) {
            auto* details = qobject_cast<UpdatePlaylistDetails*>(modal);
            ASSERT_NE(details, nullptr);
            detailsUp = true;
            EXPECT_EQ(details->windowTitle(), QStringLiteral("Changing a Playlist Detail"));
            EXPECT_EQ(details->artistEdit()->text(), QStringLiteral("Artist 3"));
            EXPECT_EQ(details->titleEdit()->text(), QStringLiteral("Title 3"));
            QTest::keyClicks(details->notesEdit(), QStringLiteral("Steady"));
            details->okButton()->click();
        });
        // Double-click does what "&Change" does.
        const QPoint cell = lines->list()->visualRect(lines->model()->index(2, 1)).center();
        QTest::mouseClick(lines->list()->viewport(), Qt::LeftButton, Qt::NoModifier, cell);
        QTest::mouseDClick(lines->list()->viewport(), Qt::LeftButton, Qt::NoModifier, cell);
        EXPECT_TRUE(detailsUp);
        EXPECT_EQ(notes(1).value(3), QStringLiteral("Steady"));
        EXPECT_EQ(places(1), expected({{1, 11}, {2, 12}, {3, 13}, {4, 14}, {5, 15}}));
        form->cancelButton()->click();
    });
}

TEST_F(PlaylistEditorTest, LinesThatCannotBeReadShowTheMessageAndCloseTheForm) {
    fiveLinePlaylist();
    QPointer<UpdatePlaylist> shown;
    inForm(BrowsePlaylists::Action::Change, [this, &shown](UpdatePlaylist* form) {
        shown = form;
        srk::testing::RefusedReads refused(store(), playlistDetailsTable());
        form->lines()->jumpToDigit(3);
        ASSERT_GE(messages.count(), 1);
        EXPECT_TRUE(messages.last().text.contains(QStringLiteral("PlaylistDetails"))) << messages.last().text.toStdString();
    });
    // The form went by itself; nothing of the playlist changed.
    EXPECT_TRUE(shown.isNull());
    EXPECT_EQ(places(1), expected({{1, 11}, {2, 12}, {3, 13}, {4, 14}, {5, 15}}));
}

TEST_F(PlaylistEditorTest, DeletingAPlaylistFromTheBrowserTakesItsLinesWithIt) {
    fiveLinePlaylist();
    addPlaylist(2, QStringLiteral("Other Show"));
    addLine(2, 1, 11);
    QPointer<BrowsePlaylists> browse = openInWorkspace<BrowsePlaylists>(BrowsePlaylists::Procedure);
    ASSERT_FALSE(browse.isNull());
    ASSERT_EQ(browse->highlightedPlaylist().number(PLD::PlaylistID), 2);  // "Other Show" before "Top Tunes"
    browse->model()->setHighlight(1);
    messages.addAnswer(ButtonCancel);
    browse->press(BrowsePlaylists::Action::Delete);
    EXPECT_EQ(rows(playlistMasterTable()).size(), 2);
    messages.addAnswer(ButtonOk);
    browse->press(BrowsePlaylists::Action::Delete);
    EXPECT_EQ(messages.titles(), (QStringList{QStringLiteral("Confirm Delete"), QStringLiteral("Confirm Delete")}));
    const QVector<Record> left = rows(playlistMasterTable());
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left[0].number(PLD::PlaylistID), 2);
    EXPECT_TRUE(places(1).isEmpty());
    EXPECT_EQ(places(2), expected({{1, 11}}));
    EXPECT_EQ(browse->model()->rowCount(), 1);
}

}  // namespace
