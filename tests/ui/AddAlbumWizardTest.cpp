// The add-album wizards and their row forms through the real windows of a started program on
// temporary folders; the data files are read afterwards to see what was stored.

#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "settings/IniFile.h"
#include "store/Store.h"
#include "store/Table.h"
#include "ui/ProgramContext.h"
#include "ui/albums/AlbumWizard.h"
#include "ui/albums/UpdateAddWizard.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/WindowInstance.h"
#include "ui/shell/MainFrame.h"
#include "ui/songs/BrowseSongs.h"
#include "ui/songs/LookupBrowse.h"
#include "ui/support/ModalWindows.h"
#include "ui/support/ProgramFixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

using namespace srk;
using srk::testing::onModal;

namespace {

using Action = AlbumWizard::Action;

void type(QLineEdit* edit, const QString& text) {
    ASSERT_NE(edit, nullptr);
    edit->clear();
    QTest::keyClicks(edit, text);
}

class AddAlbumWizardTest : public srk::testing::ProgramFixture {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(startProgram());
    }

    // Every record of a table, read afresh.
    QVector<Record> rows(const TableDef& def, int key = -1) {
        QVector<Record> out;
        TableUse use(*context().access);
        EXPECT_TRUE(use.open(def));
        EXPECT_EQ(Table(store(), def).fetch(key, KeyAnchor::start(), true, 1000, out), NoError);
        return out;
    }

    // Adds a row through the row form, checking its caption.
    void addRow(AlbumWizard* wizard, const QString& title, const QString& time, const QString& artist = QString()) {
        bool seen = false;
        onModal([&](QWidget* modal) {
            auto* form = qobject_cast<UpdateAddWizard*>(modal);
            ASSERT_NE(form, nullptr);
            seen = true;
            EXPECT_EQ(form->windowTitle(), QStringLiteral("Track Will Be Added  (New)"));
            if (form->artistEdit())
                type(form->artistEdit(), artist);
            type(form->titleEdit(), title);
            type(form->timeEdit(), time);
            QTest::mouseClick(form->okButton(), Qt::LeftButton);
        });
        wizard->press(Action::Add);
        EXPECT_TRUE(seen);
    }

    // Opens a wizard from the menu and runs `inside` on it.
    void withWizard(const QString& procedure, std::function<void(AlbumWizard*)> inside) {
        bool seen = false;
        onModal([&](QWidget* modal) {
            auto* wizard = qobject_cast<AlbumWizard*>(modal);
            ASSERT_NE(wizard, nullptr);
            seen = true;
            inside(wizard);
        });
        program->frame()->runCommand(procedure);
        EXPECT_TRUE(seen);
    }

    QStringList titles(const AlbumWizard* wizard) {
        QStringList out;
        for (const Record& r : wizard->rows())
            out << r.text(AW::Title);
        return out;
    }
};

TEST_F(AddAlbumWizardTest, SingleArtistHeaderAndTracksBecomeAnAlbumWithItsSongs) {
    withWizard(QStringLiteral("AddSingleArtist"), [&](AlbumWizard* wizard) {
        EXPECT_EQ(wizard->windowTitle(), QStringLiteral("Add Album by Single Artist"));
        EXPECT_TRUE(wizard->addToAlbums()->isChecked());
        EXPECT_TRUE(wizard->button(Action::ReadDisc)->isEnabled());
        EXPECT_EQ(wizard->button(Action::Up)->toolTip(), QStringLiteral("Move record up one"));
        // The placeholder header is in the song file while the wizard is open.
        EXPECT_EQ(rows(songsTable()).size(), 1);
        type(wizard->editor(SON::Artist), QStringLiteral("Nick Drake"));
        type(wizard->editor(SON::Album), QStringLiteral("Pink Moon"));
        type(wizard->editor(SON::FileNumber), QStringLiteral("F-9"));
        addRow(wizard, QStringLiteral("Place to Be"), QStringLiteral("0:02:43"));
        addRow(wizard, QStringLiteral("Pink Moon"), QStringLiteral("0:02:06"));
        addRow(wizard, QString(), QString());
        ASSERT_EQ(wizard->list()->rowCount(), 3);
        EXPECT_EQ(wizard->list()->item(0, 2)->text(), QStringLiteral(" 2:43"));
        EXPECT_EQ(wizard->list()->item(2, 2)->text(), QStringLiteral("     "));
        // Second row to the top.
        wizard->highlight(1);
        wizard->press(Action::Top);
        EXPECT_EQ(titles(wizard), (QStringList{QStringLiteral("Pink Moon"), QStringLiteral("Place to Be"), QString()}));
        EXPECT_EQ(wizard->list()->currentRow(), 0);
        wizard->press(Action::Ok);
    });
    EXPECT_EQ(messages.count(), 0) << messages.titles().join(QLatin1Char(',')).toStdString();
    const QVector<Record> albums = rows(albumTable());
    ASSERT_EQ(albums.size(), 1);
    EXPECT_EQ(albums[0].text(ALB::Artist), QStringLiteral("Nick Drake"));
    EXPECT_EQ(albums[0].text(ALB::FileNumber), QStringLiteral("F-9"));
    const QVector<Record> songs = rows(songsTable(), SON::KeyID);
    ASSERT_EQ(songs.size(), 3);  // no placeholder left
    EXPECT_EQ(songs[0].text(SON::Title), QStringLiteral("Pink Moon"));
    EXPECT_EQ(songs[0].number(SON::TrackNumber), 1);
    EXPECT_EQ(songs[0].text(SON::AdditionalInformation1), QStringLiteral("02:06"));
    EXPECT_EQ(songs[1].text(SON::Title), QStringLiteral("Place to Be"));
    EXPECT_EQ(songs[2].text(SON::Title), QStringLiteral("Track 3"));
    for (const Record& s : songs)
        EXPECT_EQ(s.number(SON::AlbumID), albums[0].number(ALB::AlbumID));
    EXPECT_TRUE(rows(addWizardTable()).isEmpty());
    EXPECT_TRUE(context().positions.contains(QStringLiteral("AddSingleArtist"), QStringLiteral("Width")));
}

TEST_F(AddAlbumWizardTest, CancelledRowsComeBackInTheNextWizardAndTheRowFormsKeepTracksApart) {
    withWizard(QStringLiteral("AddSingleArtist"), [&](AlbumWizard* wizard) {
        addRow(wizard, QStringLiteral("First"), QString());
        addRow(wizard, QStringLiteral("Second"), QString());
        // A row form cancelled leaves no row behind.
        onModal([](QWidget* modal) {
            auto* form = qobject_cast<UpdateAddWizard*>(modal);
            ASSERT_NE(form, nullptr);
            QTest::mouseClick(form->cancelButton(), Qt::LeftButton);
        });
        wizard->press(Action::Add);
        EXPECT_EQ(wizard->rows().size(), 2);
        // Changing the second row's track to the first's is refused with the key's name.
        wizard->highlight(1);
        onModal([this](QWidget* modal) {
            auto* form = qobject_cast<UpdateAddWizard*>(modal);
            ASSERT_NE(form, nullptr);
            EXPECT_EQ(form->windowTitle(), QStringLiteral("Track Will Be Changed  (2)"));
            type(form->trackEdit(), QStringLiteral("1"));
            QTest::mouseClick(form->okButton(), Qt::LeftButton);
            EXPECT_TRUE(form->isVisible());
            ASSERT_EQ(messages.count(), 1);
            EXPECT_EQ(messages.last().title, QStringLiteral("Duplicate Key Error"));
            EXPECT_TRUE(messages.last().text.endsWith(QStringLiteral("Track Order")));
            type(form->trackEdit(), QStringLiteral("7"));
            QTest::mouseClick(form->okButton(), Qt::LeftButton);
        });
        wizard->press(Action::Change);
        EXPECT_EQ(wizard->rows().last().number(AW::Track), 7);
        QTest::mouseClick(wizard->button(Action::Cancel), Qt::LeftButton);
    });
    EXPECT_TRUE(rows(songsTable()).isEmpty());
    EXPECT_EQ(rows(addWizardTable()).size(), 2);
    withWizard(QStringLiteral("AddCompilation"), [&](AlbumWizard* wizard) {
        EXPECT_EQ(wizard->windowTitle(), QStringLiteral("Add Compilation"));
        EXPECT_EQ(titles(wizard), (QStringList{QStringLiteral("First"), QStringLiteral("Second")}));
        // A header typed into asks before it is thrown away; No keeps the wizard.
        type(wizard->editor(SON::Album), QStringLiteral("Typed"));
        messages.clear();
        messages.addAnswer(ButtonNo);
        wizard->press(Action::Cancel);
        EXPECT_EQ(messages.titles(), QStringList{QStringLiteral("Update Cancelled")});
        EXPECT_TRUE(wizard->isVisible());
        messages.addAnswer(ButtonYes);
        wizard->press(Action::Cancel);
    });
    EXPECT_TRUE(rows(songsTable()).isEmpty());
    EXPECT_EQ(rows(addWizardTable()).size(), 2);
}

TEST_F(AddAlbumWizardTest, TheSongListsAddModeStartsTheCompilationWizardOnItsOwnRows) {
    context().preferences.AddMode = QStringLiteral("Compilation");
    program->frame()->runCommand(BrowseSongs::Procedure);
    QMdiSubWindow* sub = program->frame()->workspace()->activeSubWindow();
    ASSERT_NE(sub, nullptr);
    auto* browse = qobject_cast<BrowseSongs*>(sub->widget());
    ASSERT_NE(browse, nullptr);
    // A row of another wizard instance stays out of this list.
    {
        TableUse use(*context().access);
        ASSERT_TRUE(use.open(addWizardTable()));
        Record other(addWizardTable());
        other.setNumber(AW::Instance, 424242);
        other.setNumber(AW::Track, 1);
        other.setText(AW::Title, QStringLiteral("elsewhere"));
        ASSERT_EQ(Table(store(), addWizardTable()).add(other), NoError);
    }
    bool seen = false;
    onModal([&](QWidget* modal) {
        auto* wizard = qobject_cast<AlbumWizard*>(modal);
        ASSERT_NE(wizard, nullptr);
        seen = true;
        EXPECT_EQ(context().threadInstance, windowInstance(browse));
        EXPECT_NE(context().threadInstance, 0);
        EXPECT_TRUE(wizard->rows().isEmpty());
        type(wizard->editor(SON::Album), QStringLiteral("Nuggets"));
        addRow(wizard, QStringLiteral("Lies"), QStringLiteral("0:02:45"), QStringLiteral("The Knickerbockers"));
        EXPECT_EQ(wizard->list()->item(0, 1)->text(), QStringLiteral("The Knickerbockers"));
        wizard->addToAlbums()->setChecked(false);
        EXPECT_TRUE(context().preferences.AutoAddToAlbums.isEmpty());
        wizard->press(Action::Ok);
    });
    browse->press(BrowseSongs::Action::Add);
    EXPECT_TRUE(seen);
    // The switch was for that wizard only.
    EXPECT_EQ(context().preferences.AutoAddToAlbums, QStringLiteral("1"));
    EXPECT_TRUE(rows(albumTable()).isEmpty());
    const QVector<Record> songs = rows(songsTable());
    ASSERT_EQ(songs.size(), 1);
    EXPECT_EQ(songs[0].text(SON::Artist), QStringLiteral("The Knickerbockers"));
    EXPECT_EQ(songs[0].text(SON::Album), QStringLiteral("Nuggets"));
    EXPECT_EQ(songs[0].number(SON::AlbumID), 0);
    ASSERT_EQ(rows(addWizardTable()).size(), 1);
}

TEST_F(AddAlbumWizardTest, ASongThatCannotBeAddedKeepsItsRowAndTheWizardStaysOpen) {
    // Song numbers run out: the placeholder takes the last but one, the first track the last.
    const qint64 top = Record::maxOf(FieldKind::Int32);
    {
        TableUse use(*context().access);
        ASSERT_TRUE(use.open(songsTable()));
        Record high(songsTable());
        high.setNumber(SON::ID, top - 2);
        high.setText(SON::Title, QStringLiteral("held"));
        ASSERT_EQ(Table(store(), songsTable()).add(high), NoError);
    }
    withWizard(QStringLiteral("AddSingleArtist"), [&](AlbumWizard* wizard) {
        type(wizard->editor(SON::Artist), QStringLiteral("A"));
        type(wizard->editor(SON::Album), QStringLiteral("B"));
        addRow(wizard, QStringLiteral("stored"), QString());
        addRow(wizard, QStringLiteral("kept"), QString());
        wizard->press(Action::Ok);
        EXPECT_TRUE(wizard->isVisible());
        EXPECT_EQ(messages.titles(), (QStringList{QStringLiteral("Error!"), QStringLiteral("Warning")}));
        EXPECT_EQ(messages.last().text, QStringLiteral("1 song could not be added. Its row is kept in the list."));
        EXPECT_EQ(titles(wizard), QStringList{QStringLiteral("kept")});
        messages.clear();
        messages.addAnswer(ButtonYes);
        wizard->press(Action::Cancel);
    });
    const QVector<Record> songs = rows(songsTable(), SON::KeyID);
    ASSERT_EQ(songs.size(), 2);
    EXPECT_EQ(songs[1].text(SON::Title), QStringLiteral("stored"));
    EXPECT_EQ(songs[1].number(SON::ID), top);
    EXPECT_EQ(rows(albumTable()).size(), 1);
    const QVector<Record> left = rows(addWizardTable());
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left[0].text(AW::Title), QStringLiteral("kept"));
}

TEST_F(AddAlbumWizardTest, HeaderFieldsAddACategoryAndPickAMissingMedium) {
    QString picked;
    withWizard(QStringLiteral("AddSingleArtist"), [&](AlbumWizard* wizard) {
        type(wizard->editor(SON::Artist), QStringLiteral("A"));
        type(wizard->editor(SON::Album), QStringLiteral("B"));
        type(wizard->editor(SON::CategoryID), QStringLiteral("Brand New Style"));
        type(wizard->editor(SON::Media), QStringLiteral("No Such Medium"));
        addRow(wizard, QStringLiteral("one"), QString());
        messages.clear();
        messages.addAnswer(ButtonYes);
        // The medium is not in the table: the media list comes up to pick one.
        onModal([&](QWidget* modal) {
            auto* list = modal->findChild<LookupBrowse*>();
            ASSERT_NE(list, nullptr);
            picked = list->highlightedText().trimmed();
            QTest::mouseClick(list->button(LookupBrowse::Action::Select), Qt::LeftButton);
        });
        wizard->press(Action::Ok);
        EXPECT_EQ(messages.titles(), QStringList{QStringLiteral("Category not found")});
    });
    ASSERT_FALSE(picked.isEmpty());
    const QVector<Record> categories = rows(categoriesTable());
    qint64 added = 0;
    for (const Record& c : categories)
        if (c.text(CAT::Category) == QStringLiteral("Brand New Style"))
            added = c.number(CAT::CategoryID);
    EXPECT_NE(added, 0);
    const QVector<Record> songs = rows(songsTable());
    ASSERT_EQ(songs.size(), 1);
    EXPECT_EQ(songs[0].text(SON::Media), picked);
    EXPECT_EQ(songs[0].number(SON::CategoryID), added);
    EXPECT_EQ(rows(albumTable()).value(0).number(ALB::CategoryID), added);
}

TEST_F(AddAlbumWizardTest, EditAllSongsWalksTheRowsDittoCopiesAndTheListKeysWork) {
    withWizard(QStringLiteral("AddSingleArtist"), [&](AlbumWizard* wizard) {
        addRow(wizard, QStringLiteral("one"), QStringLiteral("0:03:10"));
        // The ditto key brings the time of the row saved before.
        bool dittoSeen = false;
        onModal([&](QWidget* modal) {
            auto* form = qobject_cast<UpdateAddWizard*>(modal);
            ASSERT_NE(form, nullptr);
            type(form->titleEdit(), QStringLiteral("two"));
            form->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(form));
            form->timeEdit()->setFocus();
            QTest::keyClick(form->timeEdit(), Qt::Key_Apostrophe, Qt::ControlModifier);
            dittoSeen = !form->timeEdit()->text().isEmpty();
            QTest::mouseClick(form->okButton(), Qt::LeftButton);
        });
        wizard->list()->setFocus();
        QTest::keyClick(wizard->list(), Qt::Key_Insert);
        EXPECT_TRUE(dittoSeen);
        ASSERT_EQ(wizard->rows().size(), 2);
        EXPECT_EQ(wizard->rows()[1].number(AW::Time), wizard->rows()[0].number(AW::Time));

        // Every row in turn, then the end is told.
        messages.clear();
        onModal([&](QWidget* first) {
            auto* form = qobject_cast<UpdateAddWizard*>(first);
            ASSERT_NE(form, nullptr);
            EXPECT_EQ(form->windowTitle(), QStringLiteral("Track Will Be Changed  (1)"));
            type(form->titleEdit(), QStringLiteral("ONE"));
            onModal([](QWidget* second) {
                auto* next = qobject_cast<UpdateAddWizard*>(second);
                ASSERT_NE(next, nullptr);
                EXPECT_EQ(next->windowTitle(), QStringLiteral("Track Will Be Changed  (2)"));
                type(next->titleEdit(), QStringLiteral("TWO"));
                QTest::mouseClick(next->okButton(), Qt::LeftButton);
            });
            QTest::mouseClick(form->okButton(), Qt::LeftButton);
        });
        wizard->press(Action::EditAll);
        EXPECT_EQ(titles(wizard), (QStringList{QStringLiteral("ONE"), QStringLiteral("TWO")}));
        EXPECT_EQ(messages.titles(), QStringList{QStringLiteral("Information")});
        EXPECT_EQ(messages.last().text, QStringLiteral("End of songs on this album."));

        // A cancelled row form ends the walk without the message.
        messages.clear();
        onModal([](QWidget* modal) { QTest::mouseClick(qobject_cast<UpdateAddWizard*>(modal)->cancelButton(), Qt::LeftButton); });
        wizard->press(Action::EditAll);
        EXPECT_EQ(messages.count(), 0);

        // The delete key asks first.
        wizard->highlight(0);
        messages.addAnswer(ButtonOk);
        wizard->list()->setFocus();
        QTest::keyClick(wizard->list(), Qt::Key_Delete);
        EXPECT_EQ(messages.titles(), QStringList{QStringLiteral("Confirm Delete")});
        EXPECT_EQ(titles(wizard), QStringList{QStringLiteral("TWO")});
        messages.addAnswer(ButtonYes);
        wizard->press(Action::Cancel);
    });
    ASSERT_EQ(rows(addWizardTable()).size(), 1);
}

class AddAlbumWizardQuit : public AddAlbumWizardTest {
protected:
    void SetUp() override {
        catchSignals = true;
        AddAlbumWizardTest::SetUp();
    }
};

TEST_F(AddAlbumWizardQuit, AQuitWithARowFormOpenLeavesNoPlaceholderAndEndsInOrder) {
    QSignalSpy ended(program.get(), &Program::ended);
    bool rowFormUp = false;
    onModal([&](QWidget* modal) {
        auto* wizard = qobject_cast<AlbumWizard*>(modal);
        ASSERT_NE(wizard, nullptr);
        addRow(wizard, QStringLiteral("kept"), QString());
        onModal([&](QWidget* inner) {
            auto* form = qobject_cast<UpdateAddWizard*>(inner);
            ASSERT_NE(form, nullptr);
            rowFormUp = true;
            type(form->titleEdit(), QStringLiteral("half typed"));
            ::raise(SIGTERM);
        });
        wizard->press(Action::Add);
    });
    program->frame()->runCommand(QStringLiteral("AddSingleArtist"));
    EXPECT_TRUE(rowFormUp);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ended.count() == 1; }, 5000));
    EXPECT_EQ(ModalWindows::instance().running(), 0);
    EXPECT_TRUE(rows(songsTable()).isEmpty());
    const QVector<Record> left = rows(addWizardTable());
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left[0].text(AW::Title), QStringLiteral("kept"));
}

}  // namespace

namespace {

// A row changed by another station while its form is open: the form shows that station's values and
// stays, and the second OK saves on top of them.
TEST_F(AddAlbumWizardTest, ARowChangedByAnotherStationIsShownAndSavedOnTopOfIt) {
    withWizard(QStringLiteral("AddSingleArtist"), [&](AlbumWizard* wizard) {
        addRow(wizard, QStringLiteral("Hazey Jane"), QStringLiteral("0:04:31"));
        ASSERT_EQ(wizard->rows().size(), 1);
        const Record stored = wizard->rows().first();
        QString shownTitle;
        bool stayed = false;
        onModal([&](QWidget* modal) {
            auto* form = qobject_cast<UpdateAddWizard*>(modal);
            ASSERT_NE(form, nullptr);
            Record other = stored;
            other.setText(AW::Title, QStringLiteral("Hazey Jane II"));
            {
                TableUse use(*context().access);
                ASSERT_EQ(Table(store(), addWizardTable()).put(other), NoError);
            }
            type(form->timeEdit(), QStringLiteral("0:03:46"));
            QTest::mouseClick(form->okButton(), Qt::LeftButton);
            stayed = form->isVisible();
            shownTitle = form->titleEdit()->text();
            QTest::mouseClick(form->okButton(), Qt::LeftButton);
        });
        wizard->highlight(0);
        wizard->press(Action::Change);
        EXPECT_TRUE(stayed);
        EXPECT_EQ(shownTitle, QStringLiteral("Hazey Jane II"));
        const QVector<Record> now = rows(addWizardTable());
        ASSERT_EQ(now.size(), 1);
        EXPECT_EQ(now.first().text(AW::Title), QStringLiteral("Hazey Jane II"));
        wizard->press(Action::Cancel);
    });
    ASSERT_EQ(messages.count(), 1);
    EXPECT_TRUE(messages.last().text.startsWith(QStringLiteral("This record was changed by another station")));
}

}  // namespace
