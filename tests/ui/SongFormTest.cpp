// The song form and its two small windows, driven through the real windows of a started program on
// temporary folders, with a scripted answerer in place of message boxes.

#include "access/ScriptedMessages.h"
#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "store/Store.h"
#include "store/Table.h"
#include "support/TempFolder.h"
#include "text/DayNumber.h"
#include "ui/services/FormToolBar.h"
#include "ui/shell/Program.h"
#include "ui/ProgramContext.h"
#include "ui/songs/AddAlbumWizardLauncher.h"
#include "ui/songs/SelectAddType.h"
#include "ui/songs/SelectAlbum.h"
#include "ui/songs/SongForm.h"
#include "ui/songs/UpdateSong.h"
#include "ui/songs/UpdateSongsForAlbum.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "ui/support/ModalWindows.h"
#include "ui/support/ProgramFixture.h"

#include <functional>

using namespace srk;
using srk::testing::buttonWithText;
using srk::testing::onModal;

namespace {


void type(QWidget* editor, const QString& text) {
    if (auto* combo = qobject_cast<QComboBox*>(editor))
        editor = combo->lineEdit();
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->clear();
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(editor))
        memo->clear();
    QTest::keyClicks(editor, text);
}

void click(QPushButton* button) {
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

bool isOpen(QWidget* form) {
    return form->isVisible() && QApplication::activeModalWidget() == form;
}

class SongFormTest : public srk::testing::ProgramFixture {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(startProgram());
        context().preferences.AddMode = QStringLiteral("Normal");
        context().preferences.AutoAddToAlbums.clear();
        AddAlbumWizardLauncher::setRunner({});
        messages.clear();
    }

    void TearDown() override {
        AddAlbumWizardLauncher::setRunner({});
        ProgramFixture::TearDown();
    }


    template <typename Fill> Record add(const TableDef& def, Fill fill) {
        Record r(def);
        fill(r);
        TableUse use(*context().access);
        EXPECT_TRUE(use.open(def));
        EXPECT_EQ(Table(store(), def).add(r), NoError);
        return r;
    }
    Record addSong(qint64 id, const QString& title) {
        return add(songsTable(), [&](Record& s) {
            s.setNumber(SON::ID, id);
            s.setText(SON::Title, title);
            s.setText(SON::Artist, QStringLiteral("Nina Simone"));
            s.setText(SON::Media, QStringLiteral("LP"));
        });
    }
    // What the song file holds now, read through a table handle of its own.
    QVector<Record> all(const TableDef& def, int key = -1) {
        QVector<Record> rows;
        TableUse use(*context().access);
        EXPECT_TRUE(use.open(def));
        Table(store(), def).fetch(key, KeyAnchor::start(), true, 1000, rows);
        return rows;
    }
    Record stored(const Record& r) {
        TableUse use(*context().access);
        Table table(store(), *r.def());
        Record out;
        EXPECT_EQ(table.getByPosition(table.position(r), out), NoError);
        return out;
    }

    // Runs the song form on `song`; `action` gets the form once it is up.
    WindowResponse runForm(WindowRequest request, Record& song, std::function<void(SongForm*)> action,
                           FormMove* move = nullptr) {
        onModal([action](QWidget* modal) {
            auto* form = qobject_cast<SongForm*>(modal);
            ASSERT_NE(form, nullptr) << modal->windowTitle().toStdString();
            action(form);
        });
        return UpdateSong::run(context(), request, song, nullptr, move);
    }

};

TEST_F(SongFormTest, AddingASongStoresWhatWasTypedInEveryTab) {
    addSong(6, QStringLiteral("Sinnerman"));
    Record song(songsTable());
    int primedSongs = 0;
    QString title, udk;
    const WindowResponse r = runForm(WindowRequest::Insert, song, [&](SongForm* form) {
        primedSongs = all(songsTable()).size();
        title = form->windowTitle();
        udk = form->udkPrompt()->text();
        EXPECT_EQ(form->mediaList()->currentText(), QStringLiteral("CD"));
        EXPECT_EQ(form->albumButton()->text(), QStringLiteral("Default with Album Information"));
        EXPECT_EQ(form->toolBar(), nullptr);
        type(form->editor(SON::Artist), QStringLiteral("Miles Davis"));
        type(form->editor(SON::Title), QStringLiteral("So What"));
        type(form->editor(SON::Album), QStringLiteral("Kind of Blue"));
        type(form->mediaList(), QStringLiteral("lp"));
        type(form->editor(SON::Time), QStringLiteral("9:22"));
        type(form->editor(SON::FileNumber), QStringLiteral("J-12"));
        type(form->editor(SON::TrackNumber), QStringLiteral("1"));
        form->sideOption(QStringLiteral("A"))->click();
        type(form->editor(SON::ChartNumber), QStringLiteral("12"));
        type(form->editor(SON::UserDefinedKeyField), QStringLiteral("modal"));
        type(form->editor(SON::BeatsPerMinute), QStringLiteral("136"));
        type(form->editor(SON::Style), QStringLiteral("Cool"));
        type(form->editor(SON::AdditionalInformation2), QStringLiteral("first take"));
        type(form->editor(SON::Composer), QStringLiteral("Miles Davis"));
        type(form->editor(SON::Recording), QStringLiteral("Fred Plaut"));
        type(form->editor(SON::PerformanceNotes), QStringLiteral("modal jazz"));
        type(form->editor(SON::Notes), QStringLiteral("Columbia CL 1355"));
        click(form->okButton());
    });

    EXPECT_EQ(r, WindowResponse::Completed);
    EXPECT_EQ(primedSongs, 2);
    EXPECT_EQ(title, QStringLiteral("Adding Information"));
    EXPECT_EQ(udk, QStringLiteral("Custom:"));
    EXPECT_EQ(messages.count(), 0) << messages.titles().join(u',').toStdString();
    const QVector<Record> songs = all(songsTable(), SON::KeyID);
    ASSERT_EQ(songs.size(), 2);
    const Record& s = songs.last();
    EXPECT_EQ(s.number(SON::ID), 7);
    EXPECT_EQ(s.text(SON::Artist), QStringLiteral("Miles Davis"));
    EXPECT_EQ(s.text(SON::Title), QStringLiteral("So What"));
    EXPECT_EQ(s.text(SON::Album), QStringLiteral("Kind of Blue"));
    EXPECT_EQ(s.text(SON::Media), QStringLiteral("LP"));
    // 9:22 read as hours and minutes is taken as minutes and seconds.
    EXPECT_EQ(s.number(SON::Time), timeValue(0, 9, 22));
    EXPECT_EQ(s.text(SON::FileNumber), QStringLiteral("J-12"));
    EXPECT_EQ(s.number(SON::TrackNumber), 1);
    EXPECT_EQ(s.text(SON::Side), QStringLiteral("A"));
    EXPECT_EQ(s.number(SON::ChartNumber), 12);
    EXPECT_EQ(s.text(SON::UserDefinedKeyField), QStringLiteral("modal"));
    EXPECT_EQ(s.number(SON::BeatsPerMinute), 136);
    EXPECT_EQ(s.text(SON::Style), QStringLiteral("Cool"));
    EXPECT_EQ(s.text(SON::AdditionalInformation2), QStringLiteral("first take"));
    EXPECT_EQ(s.text(SON::Composer), QStringLiteral("Miles Davis"));
    EXPECT_EQ(s.text(SON::Recording), QStringLiteral("Fred Plaut"));
    EXPECT_EQ(s.text(SON::PerformanceNotes), QStringLiteral("modal jazz"));
    EXPECT_EQ(s.text(SON::Notes), QStringLiteral("Columbia CL 1355"));
    EXPECT_TRUE(s.sameValues(song));
    // The album link is off: no album was made.
    EXPECT_TRUE(all(albumTable()).isEmpty());
    // The placement is kept under the form's name.
    EXPECT_FALSE(context().positions.readString(QStringLiteral("UpdateSong"), QStringLiteral("Width")).isEmpty());
}

TEST_F(SongFormTest, EscWhileAddingLeavesNoSong) {
    Record song(songsTable());
    int primed = 0;
    const WindowResponse r = runForm(WindowRequest::Insert, song, [&](SongForm* form) {
        primed = all(songsTable()).size();
        type(form->editor(SON::Title), QStringLiteral("Gone"));
        QTest::keyClick(form->editor(SON::Title), Qt::Key_Escape);
    });
    EXPECT_EQ(r, WindowResponse::Cancelled);
    EXPECT_EQ(primed, 1);
    EXPECT_TRUE(all(songsTable()).isEmpty());
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(SongFormTest, CopyGivesANewNumberAndCarriesEveryFieldAndMemo) {
    Record source = add(songsTable(), [](Record& s) {
        s.setNumber(SON::ID, 3);
        s.setText(SON::Artist, QStringLiteral("Nick Drake"));
        s.setText(SON::Title, QStringLiteral("River Man"));
        s.setText(SON::Media, QStringLiteral("LP"));
        s.setNumber(SON::CategoryID, 0);
        s.setNumber(SON::TrackNumber, 4);
        s.setNumber(SON::Time, timeValue(0, 4, 21));
        s.setText(SON::Side, QStringLiteral("B"));
        s.setText(SON::Recording, QStringLiteral("Sound Techniques"));
        s.setText(SON::PerformanceNotes, QStringLiteral("strings by Harry Robinson"));
        s.setText(SON::Notes, QStringLiteral("Five Leaves Left"));
    });
    Record song = source;
    QString title;
    const WindowResponse r = runForm(WindowRequest::Select, song, [&](SongForm* form) {
        title = form->windowTitle();
        EXPECT_EQ(form->lineEdit(SON::Title)->text(), QStringLiteral("River Man"));
        EXPECT_EQ(form->memoEdit(SON::Notes)->toPlainText(), QStringLiteral("Five Leaves Left"));
        click(form->okButton());
    });
    EXPECT_EQ(r, WindowResponse::Completed);
    EXPECT_EQ(title, QStringLiteral("Adding Information"));
    const QVector<Record> songs = all(songsTable(), SON::KeyID);
    ASSERT_EQ(songs.size(), 2);
    EXPECT_EQ(songs[0].number(SON::ID), 3);
    EXPECT_EQ(songs[1].number(SON::ID), 4);
    Record expected = source;
    expected.setNumber(SON::ID, 4);
    EXPECT_TRUE(songs[1].sameValues(expected));
    EXPECT_EQ(songs[1].text(SON::PerformanceNotes), QStringLiteral("strings by Harry Robinson"));
}

TEST_F(SongFormTest, ChangeWritesTheEditAndChangingNothingWritesNothing) {
    const Record original = addSong(5, QStringLiteral("Feeling Good"));
    Record song = stored(original);
    QString title;
    WindowResponse r = runForm(WindowRequest::Change, song, [&](SongForm* form) {
        title = form->windowTitle();
        click(form->okButton());
    });
    EXPECT_EQ(r, WindowResponse::Completed);
    EXPECT_EQ(title, QStringLiteral("Changing Information"));
    EXPECT_EQ(stored(original).changeCount(), original.changeCount());

    song = stored(original);
    r = runForm(WindowRequest::Change, song, [&](SongForm* form) {
        type(form->editor(SON::Title), QStringLiteral("Feeling Good (live)"));
        click(form->okButton());
    });
    EXPECT_EQ(r, WindowResponse::Completed);
    const Record now = stored(original);
    EXPECT_EQ(now.text(SON::Title), QStringLiteral("Feeling Good (live)"));
    EXPECT_NE(now.changeCount(), original.changeCount());
    EXPECT_EQ(all(songsTable()).size(), 1);
    EXPECT_EQ(messages.count(), 0) << messages.titles().join(u',').toStdString();
}

TEST_F(SongFormTest, AChangeByAnotherStationIsShownAndTheFormStays) {
    const Record original = addSong(5, QStringLiteral("Feeling Good"));
    Record song = stored(original);
    bool stayed = false;
    QString shownTitle;
    runForm(WindowRequest::Change, song, [&](SongForm* form) {
        Record other = stored(original);
        other.setText(SON::Title, QStringLiteral("Changed Elsewhere"));
        {
            TableUse use(*context().access);
            ASSERT_EQ(Table(store(), songsTable()).put(other), NoError);
        }
        type(form->editor(SON::Artist), QStringLiteral("Someone"));
        click(form->okButton());
        stayed = isOpen(form);
        shownTitle = form->lineEdit(SON::Title)->text();
        click(form->cancelButton());
    });
    EXPECT_TRUE(stayed);
    EXPECT_EQ(shownTitle, QStringLiteral("Changed Elsewhere"));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text, QStringLiteral("This record was changed by another station."));
    EXPECT_EQ(stored(original).text(SON::Artist), QStringLiteral("Nina Simone"));
}

TEST_F(SongFormTest, DeleteAsksFirstAndShowsNoWindow) {
    const Record a = addSong(1, QStringLiteral("Keep"));
    const Record b = addSong(2, QStringLiteral("Go"));
    Record song = stored(b);
    messages.addAnswer(ButtonCancel);
    EXPECT_EQ(UpdateSong::run(context(), WindowRequest::Delete, song, nullptr), WindowResponse::Cancelled);
    EXPECT_EQ(all(songsTable()).size(), 2);

    messages.addAnswer(ButtonOk);
    EXPECT_EQ(UpdateSong::run(context(), WindowRequest::Delete, song, nullptr), WindowResponse::Completed);
    EXPECT_EQ(messages.titles(), (QStringList{QStringLiteral("Confirm Delete"), QStringLiteral("Confirm Delete")}));
    const QVector<Record> left = all(songsTable());
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left[0].number(SON::ID), 1);
}

TEST_F(SongFormTest, ASongHeldByAPlaylistIsNotDeleted) {
    const Record held = addSong(4, QStringLiteral("Held"));
    add(playlistDetailsTable(), [](Record& l) {
        l.setNumber(PLA::PlaylistID, 1);
        l.setNumber(PLA::PlaylistSeq, 1);
        l.setNumber(PLA::ID, 4);
    });
    Record song = stored(held);
    messages.addAnswer(ButtonOk); // confirm
    messages.addAnswer(ButtonNo); // do not try again
    EXPECT_EQ(UpdateSong::run(context(), WindowRequest::Delete, song, nullptr), WindowResponse::Cancelled);
    ASSERT_EQ(messages.count(), 3);
    EXPECT_EQ(messages.shown()[1].title, QStringLiteral("Referential Integrity Delete Error"));
    EXPECT_EQ(messages.shown()[1].text,
              QStringLiteral("This record is referenced from the file PlaylistDetails.  This record cannot be "
                             "deleted while these references exist."));
    EXPECT_EQ(messages.shown()[2].text,
              QStringLiteral("An error was experienced deleting this record.  Do you want to try to save again?"));
    EXPECT_EQ(all(songsTable()).size(), 1);
}

TEST_F(SongFormTest, TrackAndChartRangesAreCheckedOnOK) {
    Record song(songsTable());
    QStringList refusals;
    const WindowResponse r = runForm(WindowRequest::Insert, song, [&](SongForm* form) {
        type(form->editor(SON::Title), QStringLiteral("Ranges"));
        type(form->editor(SON::TrackNumber), QStringLiteral("100"));
        click(form->okButton());
        if (isOpen(form) && form->tabs()->currentIndex() == 0)
            refusals << QStringLiteral("track");
        type(form->editor(SON::TrackNumber), QStringLiteral("0"));
        type(form->editor(SON::ChartNumber), QStringLiteral("101"));
        click(form->okButton());
        if (isOpen(form) && form->tabs()->currentIndex() == 1)
            refusals << QStringLiteral("chart");
        type(form->editor(SON::ChartNumber), QStringLiteral("100"));
        click(form->okButton());
    });
    EXPECT_EQ(r, WindowResponse::Completed);
    EXPECT_EQ(refusals, (QStringList{QStringLiteral("track"), QStringLiteral("chart")}));
    ASSERT_EQ(messages.count(), 2);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("The value of Track must be between 0 and 99."));
    EXPECT_EQ(messages.shown()[1].text, QStringLiteral("The value of Chart must be between 0 and 100."));
    const QVector<Record> songs = all(songsTable());
    ASSERT_EQ(songs.size(), 1);
    EXPECT_EQ(songs[0].number(SON::TrackNumber), 0);
    EXPECT_EQ(songs[0].number(SON::ChartNumber), 100);
}

TEST_F(SongFormTest, EnterChecksTheFieldOnceAndPressesOKWhenItPasses) {
    Record song(songsTable());
    bool stayed = false;
    const WindowResponse r = runForm(WindowRequest::Insert, song, [&](SongForm* form) {
        QLineEdit* track = form->lineEdit(SON::TrackNumber);
        type(track, QStringLiteral("120"));
        QTest::keyClick(track, Qt::Key_Return);
        stayed = isOpen(form);
        type(track, QStringLiteral("12"));
        QTest::keyClick(track, Qt::Key_Return);
    });
    EXPECT_TRUE(stayed);
    EXPECT_EQ(r, WindowResponse::Completed);
    // The refusal is said once, not again by the OK the same key would have pressed.
    EXPECT_EQ(messages.titles(), QStringList{QStringLiteral("Range Error")});
    EXPECT_EQ(all(songsTable()).value(0).number(SON::TrackNumber), 12);
}

TEST_F(SongFormTest, UnknownMediaIsRefusedWithTheNotFoundMessage) {
    Record song(songsTable());
    bool stayed = false;
    const WindowResponse r = runForm(WindowRequest::Insert, song, [&](SongForm* form) {
        type(form->mediaList(), QStringLiteral("Wax Cylinder"));
        click(form->okButton());
        stayed = isOpen(form);
        type(form->mediaList(), QStringLiteral("cassette (dbx)"));
        click(form->okButton());
    });
    EXPECT_TRUE(stayed);
    EXPECT_EQ(r, WindowResponse::Completed);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Field Contents Error"));
    EXPECT_EQ(messages.last().text, QStringLiteral("The value for Media must be found in the Media file."));
    EXPECT_EQ(all(songsTable()).value(0).text(SON::Media), QStringLiteral("Cassette (DBX)"));
}

TEST_F(SongFormTest, ANewCategoryIsAddedOnYesAndRefusedOnNo) {
    add(categoriesTable(), [](Record& c) {
        c.setNumber(CAT::CategoryID, 6);
        c.setText(CAT::Category, QStringLiteral("Jazz"));
    });
    Record song(songsTable());
    messages.addAnswer(ButtonNo);
    messages.addAnswer(ButtonYes);
    bool stayed = false;
    int listed = 0;
    const WindowResponse r = runForm(WindowRequest::Insert, song, [&](SongForm* form) {
        EXPECT_EQ(form->categoryList()->count(), 1);
        type(form->categoryList(), QStringLiteral("Soul"));
        click(form->okButton());
        stayed = isOpen(form);
        click(form->okButton());
        listed = form->categoryList()->count();
    });
    EXPECT_TRUE(stayed);
    EXPECT_EQ(r, WindowResponse::Completed);
    EXPECT_EQ(listed, 2);
    EXPECT_EQ(messages.titles(),
              (QStringList{QStringLiteral("Category not found"), QStringLiteral("Category not found")}));
    const QVector<Record> categories = all(categoriesTable(), CAT::KeyCategoryID);
    ASSERT_EQ(categories.size(), 2);
    EXPECT_EQ(categories[1].number(CAT::CategoryID), 7);
    EXPECT_EQ(categories[1].text(CAT::Category), QStringLiteral("Soul"));
    EXPECT_EQ(all(songsTable()).value(0).number(SON::CategoryID), 7);
    EXPECT_EQ(song.number(SON::CategoryID), 7);
}

TEST_F(SongFormTest, DefaultWithAlbumInformationTakesTheAlbumPickedInSelectAlbum) {
    add(albumTable(), [](Record& a) {
        a.setNumber(ALB::AlbumID, 3);
        a.setText(ALB::Album, QStringLiteral("Aja"));
        a.setText(ALB::Artist, QStringLiteral("Steely Dan"));
        a.setText(ALB::Media, QStringLiteral("LP"));
        a.setText(ALB::FileNumber, QStringLiteral("S-1"));
        a.setNumber(ALB::ReleaseDate, 1977);
    });
    add(albumTable(), [](Record& a) {
        a.setNumber(ALB::AlbumID, 4);
        a.setText(ALB::Album, QStringLiteral("Gaucho"));
        a.setText(ALB::Artist, QStringLiteral("Steely Dan"));
        a.setText(ALB::Media, QStringLiteral("CD"));
        a.setText(ALB::FileNumber, QStringLiteral("S-2"));
    });
    Record song(songsTable());
    QString pickerTitle;
    const WindowResponse r = runForm(WindowRequest::Insert, song, [&](SongForm* form) {
        type(form->editor(SON::Title), QStringLiteral("Babylon Sisters"));
        type(form->editor(SON::FileNumber), QStringLiteral("MINE"));
        onModal([&](QWidget* modal) {
            auto* picker = qobject_cast<SelectAlbum*>(modal);
            ASSERT_NE(picker, nullptr);
            pickerTitle = picker->windowTitle();
            ASSERT_EQ(picker->rowCount(), 2);
            QTest::keyClick(picker->list(), 'g');
            EXPECT_EQ(picker->highlightedAlbum().text(ALB::Album), QStringLiteral("Gaucho"));
            click(picker->selectButton());
        });
        click(form->albumButton());
        EXPECT_EQ(form->lineEdit(SON::Album)->text(), QStringLiteral("Gaucho"));
        click(form->okButton());
    });
    EXPECT_EQ(r, WindowResponse::Completed);
    EXPECT_EQ(pickerTitle, QStringLiteral("Select An Album"));
    const Record s = all(songsTable()).value(0);
    EXPECT_EQ(s.text(SON::Album), QStringLiteral("Gaucho"));
    EXPECT_EQ(s.text(SON::Artist), QStringLiteral("Steely Dan"));
    EXPECT_EQ(s.text(SON::FileNumber), QStringLiteral("MINE"));
    EXPECT_EQ(s.text(SON::Media), QStringLiteral("CD"));
    EXPECT_EQ(s.number(SON::AlbumID), 4);
}

TEST_F(SongFormTest, SelectAlbumStepsThroughTheAlbumsOfALetterPerTab) {
    int id = 0;
    for (const char* name : {"Abbey Road", "Aja", "Blue", "Another Green World"}) {
        ++id;
        add(albumTable(), [&](Record& a) {
            a.setNumber(ALB::AlbumID, id);
            a.setText(ALB::Album, QString::fromLatin1(name));
            a.setText(ALB::Artist, QStringLiteral("Artist %1").arg(5 - id));
        });
    }
    Record chosen;
    QStringList steps;
    onModal([&](QWidget* modal) {
        auto* picker = qobject_cast<SelectAlbum*>(modal);
        ASSERT_NE(picker, nullptr);
        picker->resize(500, 300);
        QCoreApplication::processEvents();
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(picker->list(), 'a');
            steps << picker->highlightedAlbum().text(ALB::Album);
        }
        // The artist tab orders by artist: "Artist 1" is the fourth album.
        picker->tabs()->setCurrentIndex(1);
        EXPECT_EQ(picker->highlightedAlbum().text(ALB::Artist).left(6), QStringLiteral("Artist"));
        QTest::keyClick(picker->list(), Qt::Key_Home, Qt::ControlModifier);
        EXPECT_EQ(picker->highlightedAlbum().text(ALB::Artist), QStringLiteral("Artist 1"));
        const QPoint row = picker->list()->visualRect(picker->list()->model()->index(0, 0)).center();
        QTest::mouseClick(picker->list()->viewport(), Qt::LeftButton, {}, row);
        QTest::mouseDClick(picker->list()->viewport(), Qt::LeftButton, {}, row);
    });
    EXPECT_EQ(SelectAlbum::select(context(), chosen, nullptr), WindowResponse::Completed);
    // The list starts on "Abbey Road": each "a" steps down among the A's and starts over after the last.
    EXPECT_EQ(steps, (QStringList{QStringLiteral("Aja"), QStringLiteral("Another Green World"),
                                  QStringLiteral("Abbey Road"), QStringLiteral("Aja")}));
    EXPECT_EQ(chosen.text(ALB::Album), QStringLiteral("Another Green World"));
    // The list layout is remembered under the picker's name.
    EXPECT_FALSE(context().positions.readString(QStringLiteral("SelectAlbum"), QStringLiteral("SRCFOriginal?Browse:1"))
                     .isEmpty());
}

TEST_F(SongFormTest, AutoAddToAlbumsMakesTheAlbumOnceAndLinksTheNextSongToIt) {
    context().preferences.AutoAddToAlbums = QStringLiteral("1");
    for (const char* title : {"Tangled Up in Blue", "Simple Twist of Fate"}) {
        Record song(songsTable());
        runForm(WindowRequest::Insert, song, [&](SongForm* form) {
            type(form->editor(SON::Artist), QStringLiteral("Bob Dylan"));
            type(form->editor(SON::Title), QString::fromLatin1(title));
            type(form->editor(SON::Album), QStringLiteral("Blood on the Tracks"));
            click(form->okButton());
        });
    }
    const QVector<Record> albums = all(albumTable());
    ASSERT_EQ(albums.size(), 1);
    EXPECT_EQ(albums[0].number(ALB::AlbumID), 1);
    EXPECT_EQ(albums[0].text(ALB::Album), QStringLiteral("Blood on the Tracks"));
    EXPECT_EQ(albums[0].text(ALB::Media), QStringLiteral("CD"));
    const QVector<Record> songs = all(songsTable(), SON::KeyID);
    ASSERT_EQ(songs.size(), 2);
    EXPECT_EQ(songs[0].number(SON::AlbumID), 1);
    EXPECT_EQ(songs[1].number(SON::AlbumID), 1);
    // Primed within album 0, the songs kept the tracks they got before they were linked.
    EXPECT_EQ(songs[0].number(SON::TrackNumber), 1);
    EXPECT_EQ(songs[1].number(SON::TrackNumber), 1);
}

TEST_F(SongFormTest, CompilationModeHandsABlankSongToTheRegisteredWizard) {
    context().preferences.AddMode = QStringLiteral("Compilation");
    QList<AddAlbumWizard> ran;
    AddAlbumWizardLauncher::setRunner([&](ProgramContext&, AddAlbumWizard w, QWidget*) { ran << w; });
    Record song(songsTable());
    EXPECT_EQ(UpdateSong::run(context(), WindowRequest::Insert, song, nullptr), WindowResponse::Cancelled);
    EXPECT_EQ(ran, QList<AddAlbumWizard>{AddAlbumWizard::Compilation});
    EXPECT_TRUE(all(songsTable()).isEmpty());

    // A song that is not blank opens the form whatever the mode.
    Record existing = stored(addSong(1, QStringLiteral("Here")));
    const WindowResponse r =
        runForm(WindowRequest::Change, existing, [](SongForm* form) { click(form->cancelButton()); });
    EXPECT_EQ(r, WindowResponse::Cancelled);
    EXPECT_EQ(ran.size(), 1);
}

TEST_F(SongFormTest, WithoutARegisteredWizardTheFormIsUsed) {
    context().preferences.AddMode = QStringLiteral("Single Artist");
    Record song(songsTable());
    bool shown = false;
    runForm(WindowRequest::Insert, song, [&](SongForm* form) {
        shown = true;
        click(form->cancelButton());
    });
    EXPECT_TRUE(shown);
    EXPECT_TRUE(all(songsTable()).isEmpty());
}

TEST_F(SongFormTest, AskEachTimeAsksWithSelectAddType) {
    context().preferences.AddMode = QStringLiteral("Ask Each Time");
    QList<AddAlbumWizard> ran;
    AddAlbumWizardLauncher::setRunner([&](ProgramContext&, AddAlbumWizard w, QWidget*) { ran << w; });

    // Closing the question with Esc answers its current choice, Compilation.
    QString title;
    onModal([&](QWidget* modal) {
        auto* ask = qobject_cast<SelectAddType*>(modal);
        ASSERT_NE(ask, nullptr);
        title = ask->windowTitle();
        QTest::keyClick(ask, Qt::Key_Escape);
    });
    Record song(songsTable());
    EXPECT_EQ(UpdateSong::run(context(), WindowRequest::Insert, song, nullptr), WindowResponse::Cancelled);
    EXPECT_EQ(title, QStringLiteral("Select Add Mode"));
    EXPECT_EQ(ran, QList<AddAlbumWizard>{AddAlbumWizard::Compilation});

    // "Normal" goes on to the form.
    bool formShown = false;
    onModal([&](QWidget* modal) {
        auto* ask = qobject_cast<SelectAddType*>(modal);
        ASSERT_NE(ask, nullptr);
        ask->option(QStringLiteral("Normal"))->click();
        onModal([&](QWidget* next) {
            formShown = qobject_cast<SongForm*>(next) != nullptr;
            QTest::keyClick(next, Qt::Key_Escape);
        });
        click(ask->okButton());
    });
    song = Record(songsTable());
    EXPECT_EQ(UpdateSong::run(context(), WindowRequest::Insert, song, nullptr), WindowResponse::Cancelled);
    EXPECT_TRUE(formShown);
    EXPECT_EQ(ran.size(), 1);
}

TEST_F(SongFormTest, AToolBarMoveSavesAndReturnsTheMove) {
    const Record original = addSong(2, QStringLiteral("Lilac Wine"));
    Record song = stored(original);
    FormMove move = FormMove::First;
    bool refusedFirst = false;
    const WindowResponse r = runForm(
        WindowRequest::Change, song,
        [&](SongForm* form) {
            ASSERT_NE(form->toolBar(), nullptr);
            type(form->editor(SON::ChartNumber), QStringLiteral("150"));
            form->toolBar()->action(FormMove::NextRecord)->trigger();
            refusedFirst = isOpen(form);
            type(form->editor(SON::ChartNumber), QStringLiteral("3"));
            form->toolBar()->action(FormMove::NextRecord)->trigger();
        },
        &move);
    EXPECT_TRUE(refusedFirst);
    EXPECT_EQ(r, WindowResponse::Completed);
    EXPECT_EQ(move, FormMove::NextRecord);
    EXPECT_EQ(stored(original).number(SON::ChartNumber), 3);

    // Without a move OK leaves the move at None.
    song = stored(original);
    runForm(WindowRequest::Change, song, [](SongForm* form) { click(form->okButton()); }, &move);
    EXPECT_EQ(move, FormMove::None);
}

TEST_F(SongFormTest, SongsForAlbumStartFromTheAlbumAndNumberTracksWithinIt) {
    const Record album = add(albumTable(), [](Record& a) {
        a.setNumber(ALB::AlbumID, 8);
        a.setText(ALB::Album, QStringLiteral("Pink Moon"));
        a.setText(ALB::Artist, QStringLiteral("Nick Drake"));
        a.setText(ALB::FileNumber, QStringLiteral("ND-3"));
        a.setText(ALB::Media, QStringLiteral("LP"));
        a.setNumber(ALB::ReleaseDate, 1972);
    });
    for (int t = 1; t <= 7; ++t)
        add(songsTable(), [t](Record& s) {
            s.setNumber(SON::ID, t);
            s.setNumber(SON::AlbumID, 8);
            s.setNumber(SON::TrackNumber, t);
        });
    context().preferences.AutoAddToAlbums = QStringLiteral("1");
    Record song(songsTable());
    QString shownTrack;
    bool hasAlbumButton = true, mediaIsList = true, refusedMedia = false;
    onModal([&](QWidget* modal) {
        auto* form = qobject_cast<SongForm*>(modal);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->objectName(), QStringLiteral("UPDATESONGSFORALBUM"));
        hasAlbumButton = form->albumButton() != nullptr;
        mediaIsList = form->mediaList() != nullptr;
        shownTrack = form->lineEdit(SON::TrackNumber)->text();
        EXPECT_EQ(form->lineEdit(SON::Album)->text(), QStringLiteral("Pink Moon"));
        EXPECT_EQ(form->lineEdit(SON::Media)->text(), QStringLiteral("CD"));
        type(form->editor(SON::Title), QStringLiteral("Parasite"));
        type(form->editor(SON::Media), QStringLiteral("Shellac"));
        click(form->okButton());
        refusedMedia = isOpen(form);
        type(form->editor(SON::Media), QStringLiteral("lp"));
        click(form->okButton());
    });
    EXPECT_EQ(UpdateSongsForAlbum::run(context(), WindowRequest::Insert, song, album, nullptr),
              WindowResponse::Completed);
    EXPECT_FALSE(hasAlbumButton);
    EXPECT_FALSE(mediaIsList);
    EXPECT_TRUE(refusedMedia);
    EXPECT_EQ(shownTrack, QStringLiteral("8"));
    const Record s = all(songsTable(), SON::KeyID).last();
    EXPECT_EQ(s.number(SON::ID), 8);
    EXPECT_EQ(s.number(SON::TrackNumber), 8);
    EXPECT_EQ(s.number(SON::AlbumID), 8);
    EXPECT_EQ(s.text(SON::FileNumber), QStringLiteral("ND-3"));
    EXPECT_EQ(s.text(SON::Artist), QStringLiteral("Nick Drake"));
    EXPECT_EQ(s.number(SON::ReleaseDate), 1972);
    EXPECT_EQ(s.text(SON::Media), QStringLiteral("LP"));
    EXPECT_EQ(s.text(SON::Title), QStringLiteral("Parasite"));
    // Already linked: no second album was made.
    EXPECT_EQ(all(albumTable()).size(), 1);
    EXPECT_FALSE(
        context().positions.readString(QStringLiteral("UpdateSongsForAlbum"), QStringLiteral("Width")).isEmpty());
    // The copy request does not apply here.
    Record copy = s;
    EXPECT_EQ(UpdateSongsForAlbum::run(context(), WindowRequest::Select, copy, album, nullptr),
              WindowResponse::Cancelled);
    EXPECT_EQ(all(songsTable()).size(), 8);
}

TEST_F(SongFormTest, TheUserDefinedKeyPromptAndDatePictureComeFromThePreferences) {
    context().preferences.UDKPrompt = QStringLiteral("Label Code  ");
    context().preferences.DateFormat = QStringLiteral("d2");
    Record song = stored(add(songsTable(), [](Record& s) {
        s.setNumber(SON::ID, 1);
        s.setText(SON::Title, QStringLiteral("Dated"));
        s.setNumber(SON::ReleaseDate, dayNumberFromDate(QDate(1971, 10, 31)));
    }));
    QString prompt, date;
    runForm(WindowRequest::Change, song, [&](SongForm* form) {
        prompt = form->udkPrompt()->text();
        date = form->lineEdit(SON::ReleaseDate)->text();
        type(form->editor(SON::ReleaseDate), QStringLiteral("12/25/1980"));
        click(form->okButton());
    });
    EXPECT_EQ(prompt, QStringLiteral("Label Code:"));
    EXPECT_EQ(date, QStringLiteral("10/31/1971"));
    EXPECT_EQ(all(songsTable()).value(0).number(SON::ReleaseDate), dayNumberFromDate(QDate(1980, 12, 25)));
    // A song stored without media is saved with "CD".
    EXPECT_EQ(all(songsTable()).value(0).text(SON::Media), QStringLiteral("CD"));
}

} // namespace
