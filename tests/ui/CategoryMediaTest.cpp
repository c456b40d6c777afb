// The category and media lists and their forms, driven through the real windows of a started program
// on temporary folders, with a scripted answerer in place of message boxes.

#include "access/ScriptedMessages.h"
#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "store/Store.h"
#include "store/Table.h"
#include "support/TempFolder.h"
#include "ui/shell/MainFrame.h"
#include "ui/shell/Program.h"
#include "ui/songs/BrowseCategories.h"
#include "ui/songs/BrowseMedia.h"
#include "ui/services/FormToolBar.h"
#include "ui/songs/LookupForm.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
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



class CategoryMediaTest : public srk::testing::ProgramFixture {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(startProgram()); }


    void addCategory(qint64 id, const QString& name) {
        Record c(categoriesTable());
        c.setNumber(CAT::CategoryID, id);
        c.setText(CAT::Category, name);
        TableUse use(*context().access);
        ASSERT_TRUE(use.open(categoriesTable()));
        ASSERT_EQ(Table(store(), categoriesTable()).add(c), NoError);
    }
    void addSong(qint64 id, const QString& media, qint64 category = 0) {
        Record s(songsTable());
        s.setNumber(SON::ID, id);
        s.setText(SON::Artist, QStringLiteral("Artist %1").arg(id));
        s.setText(SON::Title, QStringLiteral("Song %1").arg(id));
        s.setText(SON::Media, media);
        s.setNumber(SON::CategoryID, category);
        ASSERT_EQ(Table(store(), songsTable()).add(s), NoError);
    }
    void addAlbum(qint64 id, const QString& media, qint64 category = 0) {
        Record a(albumTable());
        a.setNumber(ALB::AlbumID, id);
        a.setText(ALB::Artist, QStringLiteral("Band %1").arg(id));
        a.setText(ALB::Album, QStringLiteral("Album %1").arg(id));
        a.setText(ALB::Media, media);
        a.setNumber(ALB::CategoryID, category);
        ASSERT_EQ(Table(store(), albumTable()).add(a), NoError);
    }
    QVector<Record> all(const TableDef& def) {
        QVector<Record> rows;
        TableUse use(*context().access);
        EXPECT_TRUE(use.open(def));
        Table(store(), def).fetch(-1, KeyAnchor::start(), true, 1000, rows);
        return rows;
    }
    QStringList texts(const TableDef& def, int field) {
        QStringList out;
        for (const Record& r : all(def))
            out << r.text(field);
        return out;
    }

    template <class Browse>
    Browse* open(const QString& procedure) {
        program->frame()->runCommand(procedure);
        QMdiSubWindow* sub = program->frame()->workspace()->activeSubWindow();
        if (!sub)
            return nullptr;
        auto* browse = qobject_cast<Browse*>(sub->widget());
        if (browse) {
            sub->resize(320, 300);
            QCoreApplication::processEvents();
        }
        return browse;
    }

    // Presses a letter in the list until the highlighted row shows `text` (at most `tries` times).
    static bool locate(LookupBrowse* browse, QChar letter, const QString& text, int tries = 20) {
        for (int i = 0; i < tries && browse->highlightedText() != text; ++i)
            QTest::keyClick(browse->list(), letter.toLatin1());
        return browse->highlightedText() == text;
    }

};

TEST_F(CategoryMediaTest, InsertButtonAddsTheTypedCategoryAndTheListShowsIt) {
    auto* browse = open<BrowseCategories>(QStringLiteral("BrowseCategories"));
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(browse->windowTitle(), QStringLiteral("Categories"));
    EXPECT_EQ(browse->rowCount(), 0);
    // Opened on its own, the select button is neither shown nor usable.
    ASSERT_NE(browse->button(LookupBrowse::Action::Select), nullptr);
    EXPECT_TRUE(browse->button(LookupBrowse::Action::Select)->isHidden());
    EXPECT_FALSE(browse->button(LookupBrowse::Action::Select)->isEnabled());

    QString title;
    onModal([&title](QWidget* modal) {
        title = modal->windowTitle();
        auto* form = qobject_cast<LookupForm*>(modal);
        ASSERT_NE(form, nullptr);
        QTest::keyClicks(form->field(), QStringLiteral("Jazz"));
        QTest::mouseClick(buttonWithText(form, QStringLiteral("&Ok")), Qt::LeftButton);
    });
    QTest::mouseClick(buttonWithText(browse, QStringLiteral("&Insert")), Qt::LeftButton);

    EXPECT_EQ(title, QStringLiteral("Add Category"));
    const QVector<Record> rows = all(categoriesTable());
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].text(CAT::Category), QStringLiteral("Jazz"));
    EXPECT_GT(rows[0].number(CAT::CategoryID), 0);
    EXPECT_EQ(browse->rowCount(), 1);
    EXPECT_EQ(browse->highlightedText(), QStringLiteral("Jazz"));
    EXPECT_EQ(messages.count(), 0) << messages.titles().join(u',').toStdString();
}

TEST_F(CategoryMediaTest, ADuplicateNameInOtherLetterCaseKeepsTheFormOpenAndAddsNothing) {
    addCategory(1, QStringLiteral("Rock"));
    auto* browse = open<BrowseCategories>(QStringLiteral("BrowseCategories"));
    ASSERT_NE(browse, nullptr);

    bool stayedOpen = false;
    onModal([&](QWidget* modal) {
        auto* form = qobject_cast<LookupForm*>(modal);
        ASSERT_NE(form, nullptr);
        QTest::keyClicks(form->field(), QStringLiteral("ROCK"));
        QTest::mouseClick(form->okButton(), Qt::LeftButton);
        stayedOpen = form->isVisible() && QApplication::activeModalWidget() == form;
        QTest::mouseClick(form->cancelButton(), Qt::LeftButton);
    });
    QTest::mouseClick(browse->button(LookupBrowse::Action::Insert), Qt::LeftButton);

    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Duplicate Key Error"));
    EXPECT_EQ(messages.last().text,
              QStringLiteral("Adding this record creates a duplicate entry for the key:CAT:KeyCategory"));
    EXPECT_EQ(texts(categoriesTable(), CAT::Category), QStringList{QStringLiteral("Rock")});
}

TEST_F(CategoryMediaTest, CancelOnInsertLeavesNoRecordBehind) {
    auto* browse = open<BrowseCategories>(QStringLiteral("BrowseCategories"));
    ASSERT_NE(browse, nullptr);
    qint64 primedRows = -1;
    onModal([&](QWidget* modal) {
        auto* form = qobject_cast<LookupForm*>(modal);
        ASSERT_NE(form, nullptr);
        // The number was primed before the form showed.
        primedRows = all(categoriesTable()).size();
        QTest::keyClicks(form->field(), QStringLiteral("Soul"));
        QTest::mouseClick(form->cancelButton(), Qt::LeftButton);
    });
    QTest::keyClick(browse->list(), Qt::Key_Insert);
    EXPECT_EQ(primedRows, 1);
    EXPECT_TRUE(all(categoriesTable()).isEmpty());
    EXPECT_EQ(browse->rowCount(), 0);
}

TEST_F(CategoryMediaTest, RenamingMediumLPRenamesItInEverySongButNotInAlbums) {
    addSong(1, QStringLiteral("LP"));
    addSong(2, QStringLiteral("CD"));
    addSong(3, QStringLiteral("LP"));
    addAlbum(1, QStringLiteral("LP"));
    auto* browse = open<BrowseMedia>(QStringLiteral("BrowseMedia"));
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(browse->windowTitle(), QStringLiteral("Browse Media Formats"));
    ASSERT_TRUE(locate(browse, QLatin1Char('L'), QStringLiteral("LP")));

    QString title;
    onModal([&](QWidget* modal) {
        auto* form = qobject_cast<LookupForm*>(modal);
        ASSERT_NE(form, nullptr);
        title = form->windowTitle();
        EXPECT_EQ(form->field()->text(), QStringLiteral("LP"));
        form->field()->selectAll();
        QTest::keyClicks(form->field(), QStringLiteral("Vinyl"));
        QTest::mouseClick(form->okButton(), Qt::LeftButton);
    });
    QTest::mouseClick(buttonWithText(browse, QStringLiteral("&Change")), Qt::LeftButton);

    EXPECT_EQ(title, QStringLiteral("Changing Media Format"));
    EXPECT_EQ(messages.count(), 0) << messages.titles().join(u',').toStdString();
    EXPECT_EQ(texts(songsTable(), SON::Media),
              (QStringList{QStringLiteral("Vinyl"), QStringLiteral("CD"), QStringLiteral("Vinyl")}));
    EXPECT_EQ(texts(albumTable(), ALB::Media), QStringList{QStringLiteral("LP")});
    const QStringList media = texts(mediaTable(), MED::Media);
    EXPECT_TRUE(media.contains(QStringLiteral("Vinyl")));
    EXPECT_FALSE(media.contains(QStringLiteral("LP")));
    EXPECT_EQ(browse->highlightedText(), QStringLiteral("Vinyl"));
}

TEST_F(CategoryMediaTest, AMediumUsedOnlyByAnAlbumCanBeDeleted) {
    addSong(1, QStringLiteral("CD"));
    addAlbum(1, QStringLiteral("EP"));
    auto* browse = open<BrowseMedia>(QStringLiteral("BrowseMedia"));
    ASSERT_NE(browse, nullptr);
    ASSERT_TRUE(locate(browse, QLatin1Char('E'), QStringLiteral("EP")));
    const int before = int(all(mediaTable()).size());

    messages.addAnswer(ButtonOk);  // confirm the delete
    QTest::keyClick(browse->list(), Qt::Key_Delete);

    EXPECT_EQ(messages.titles(), QStringList{QStringLiteral("Confirm Delete")});
    EXPECT_EQ(int(all(mediaTable()).size()), before - 1);
    EXPECT_FALSE(texts(mediaTable(), MED::Media).contains(QStringLiteral("EP")));
    EXPECT_EQ(texts(albumTable(), ALB::Media), QStringList{QStringLiteral("EP")});
    EXPECT_NE(browse->highlightedText(), QStringLiteral("EP"));
}

TEST_F(CategoryMediaTest, AMediumASongHoldsIsNotDeleted) {
    addSong(1, QStringLiteral("CD"));
    auto* browse = open<BrowseMedia>(QStringLiteral("BrowseMedia"));
    ASSERT_NE(browse, nullptr);
    ASSERT_TRUE(locate(browse, QLatin1Char('C'), QStringLiteral("CD")));

    messages.addAnswer(ButtonOk);      // confirm
    messages.addAnswer(ButtonOk);      // the reference message
    messages.addAnswer(ButtonCancel);  // do not try again
    QTest::mouseClick(buttonWithText(browse, QStringLiteral("&Delete")), Qt::LeftButton);

    ASSERT_GE(messages.count(), 2);
    EXPECT_EQ(messages.shown()[1].title, QStringLiteral("Referential Integrity Delete Error"));
    EXPECT_TRUE(messages.shown()[1].text.contains(songsTable().label));
    EXPECT_TRUE(texts(mediaTable(), MED::Media).contains(QStringLiteral("CD")));
}

TEST_F(CategoryMediaTest, ACategoryUsedOnlyByAnAlbumIsNotDeleted) {
    addCategory(1, QStringLiteral("Blues"));
    addAlbum(1, QStringLiteral("CD"), 1);
    auto* browse = open<BrowseCategories>(QStringLiteral("BrowseCategories"));
    ASSERT_NE(browse, nullptr);
    ASSERT_EQ(browse->highlightedText(), QStringLiteral("Blues"));

    messages.addAnswer(ButtonOk);      // confirm
    messages.addAnswer(ButtonOk);      // the reference message
    messages.addAnswer(ButtonCancel);  // do not try again
    QTest::mouseClick(browse->button(LookupBrowse::Action::Delete), Qt::LeftButton);

    ASSERT_EQ(messages.count(), 3) << messages.titles().join(u',').toStdString();
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("Confirm Delete"));
    EXPECT_EQ(messages.shown()[1].title, QStringLiteral("Referential Integrity Delete Error"));
    EXPECT_EQ(messages.shown()[1].text,
              QStringLiteral("This record is referenced from the file Album.  This record cannot be deleted while "
                             "these references exist."));
    EXPECT_EQ(messages.shown()[2].title, QStringLiteral("Record Update Error"));
    EXPECT_EQ(texts(categoriesTable(), CAT::Category), QStringList{QStringLiteral("Blues")});
    EXPECT_EQ(browse->rowCount(), 1);
}

TEST_F(CategoryMediaTest, RenamingACategoryKeepsItsNumberAndItsSongs) {
    addCategory(7, QStringLiteral("Pop"));
    addSong(1, QStringLiteral("CD"), 7);
    auto* browse = open<BrowseCategories>(QStringLiteral("BrowseCategories"));
    ASSERT_NE(browse, nullptr);
    onModal([&](QWidget* modal) {
        auto* form = qobject_cast<LookupForm*>(modal);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Change Category"));
        form->field()->selectAll();
        QTest::keyClicks(form->field(), QStringLiteral("Pop Music"));
        QTest::mouseClick(form->okButton(), Qt::LeftButton);
    });
    const QPoint row = browse->list()->visualRect(browse->list()->model()->index(0, 0)).center();
    QTest::mouseClick(browse->list()->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseDClick(browse->list()->viewport(), Qt::LeftButton, {}, row);

    const QVector<Record> rows = all(categoriesTable());
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].text(CAT::Category), QStringLiteral("Pop Music"));
    EXPECT_EQ(rows[0].number(CAT::CategoryID), 7);
    EXPECT_EQ(all(songsTable())[0].number(SON::CategoryID), 7);
    EXPECT_EQ(browse->highlightedText(), QStringLiteral("Pop Music"));
}

TEST_F(CategoryMediaTest, TheStepLocatorWalksTheEntriesOfALetterAndStartsOver) {
    addCategory(1, QStringLiteral("Alternative"));
    addCategory(2, QStringLiteral("Blues"));
    addCategory(3, QStringLiteral("bebop"));
    addCategory(4, QStringLiteral("Big Band"));
    addCategory(5, QStringLiteral("Classical"));
    auto* browse = open<BrowseCategories>(QStringLiteral("BrowseCategories"));
    ASSERT_NE(browse, nullptr);
    ASSERT_EQ(browse->highlightedText(), QStringLiteral("Alternative"));

    QStringList walked;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(browse->list(), 'b');
        walked << browse->highlightedText();
    }
    EXPECT_EQ(walked, (QStringList{QStringLiteral("bebop"), QStringLiteral("Big Band"), QStringLiteral("Blues"),
                                   QStringLiteral("bebop")}));
    // A letter no entry begins with goes to the first entry after it.
    QTest::keyClick(browse->list(), 'c');
    EXPECT_EQ(browse->highlightedText(), QStringLiteral("Classical"));
}

TEST_F(CategoryMediaTest, TheLastEntriesOfTheListStartOverToo) {
    addCategory(1, QStringLiteral("Ambient"));
    addCategory(2, QStringLiteral("Zydeco"));
    addCategory(3, QStringLiteral("Zouk"));
    auto* browse = open<BrowseCategories>(QStringLiteral("BrowseCategories"));
    ASSERT_NE(browse, nullptr);
    QStringList walked;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(browse->list(), 'Z');
        walked << browse->highlightedText();
    }
    EXPECT_EQ(walked, (QStringList{QStringLiteral("Zouk"), QStringLiteral("Zydeco"), QStringLiteral("Zouk")}));
}

TEST_F(CategoryMediaTest, SelectModeReturnsTheHighlightedRecord) {
    addCategory(1, QStringLiteral("Blues"));
    addCategory(2, QStringLiteral("Country"));
    addCategory(3, QStringLiteral("Funk"));
    bool selectShown = false, selectDefault = false;
    onModal([&](QWidget* modal) {
        auto* browse = modal->findChild<LookupBrowse*>();
        ASSERT_NE(browse, nullptr);
        QPushButton* select = browse->button(LookupBrowse::Action::Select);
        selectShown = select->isVisible() && select->isEnabled();
        selectDefault = select->isDefault();
        QTest::keyClick(browse->list(), 'c');
        QTest::mouseClick(select, Qt::LeftButton);
    });
    Record chosen;
    const WindowResponse r = BrowseCategories::select(context(), chosen, program->frame());
    EXPECT_EQ(r, WindowResponse::Completed);
    EXPECT_TRUE(selectShown);
    EXPECT_TRUE(selectDefault);
    ASSERT_TRUE(chosen.isValid());
    EXPECT_EQ(chosen.text(CAT::Category), QStringLiteral("Country"));
    EXPECT_EQ(chosen.number(CAT::CategoryID), 2);
}

TEST_F(CategoryMediaTest, ExitFromThePickerChoosesNothing) {
    onModal([](QWidget* modal) {
        QTest::mouseClick(buttonWithText(modal, QStringLiteral("E&xit")), Qt::LeftButton);
    });
    Record chosen;
    EXPECT_EQ(BrowseMedia::select(context(), chosen, program->frame()), WindowResponse::Cancelled);
    EXPECT_FALSE(chosen.isValid());
}

TEST_F(CategoryMediaTest, TheListHoldsItsTableOpenAndKeepsItsPlacementAndLayout) {
    TableAccess& access = *context().access;
    const int before = access.useCount(mediaTable());
    auto* browse = open<BrowseMedia>(QStringLiteral("BrowseMedia"));
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(access.useCount(mediaTable()), before + 1);
    // The page is as long as the list is high, never longer.
    EXPECT_GT(browse->rowCount(), 0);
    EXPECT_LE(browse->rowCount(), int(defaultMedia().size()));

    QTest::mouseClick(buttonWithText(browse, QStringLiteral("E&xit")), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(access.useCount(mediaTable()), before);
    EXPECT_TRUE(program->frame()->workspace()->subWindowList().isEmpty());
    EXPECT_TRUE(context().positions.hasSection(QStringLiteral("BrowseMedia")));
    EXPECT_EQ(context().positions.readString(QStringLiteral("BrowseMedia"), QStringLiteral("SRCF?Browse:1")),
              QStringLiteral("80L(2)|M~Media~L(2)@s20@"));
}

TEST_F(CategoryMediaTest, AnEmptyListAnswersOnlyTheInsertKey) {
    auto* browse = open<BrowseCategories>(QStringLiteral("BrowseCategories"));
    ASSERT_NE(browse, nullptr);
    QTest::keyClick(browse->list(), Qt::Key_Delete);
    QTest::keyClick(browse->list(), Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClick(browse->list(), 'b');
    EXPECT_EQ(messages.count(), 0);
    EXPECT_FALSE(browse->button(LookupBrowse::Action::Change)->isEnabled());
    EXPECT_FALSE(browse->button(LookupBrowse::Action::Delete)->isEnabled());
    EXPECT_TRUE(browse->button(LookupBrowse::Action::Insert)->isEnabled());
}

TEST_F(CategoryMediaTest, TheDittoKeyRecallsTheLastCategoryThisFormCompleted) {
    auto* browse = open<BrowseCategories>(QStringLiteral("BrowseCategories"));
    ASSERT_NE(browse, nullptr);
    onModal([](QWidget* modal) {
        auto* form = qobject_cast<LookupForm*>(modal);
        ASSERT_NE(form, nullptr);
        QTest::keyClicks(form->field(), QStringLiteral("Reggae"));
        QTest::mouseClick(form->okButton(), Qt::LeftButton);
    });
    QTest::mouseClick(browse->button(LookupBrowse::Action::Insert), Qt::LeftButton);
    QString recalled;
    onModal([&recalled](QWidget* modal) {
        auto* form = qobject_cast<LookupForm*>(modal);
        ASSERT_NE(form, nullptr);
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form));
        form->field()->setFocus();
        QTest::keyClick(form->field(), Qt::Key_Apostrophe, Qt::ControlModifier);
        recalled = form->field()->text();
        QTest::mouseClick(form->cancelButton(), Qt::LeftButton);
    });
    QTest::mouseClick(browse->button(LookupBrowse::Action::Insert), Qt::LeftButton);
    EXPECT_EQ(recalled, QStringLiteral("Reggae"));
    EXPECT_EQ(texts(categoriesTable(), CAT::Category), QStringList{QStringLiteral("Reggae")});
}

TEST_F(CategoryMediaTest, TheThumbBarStandsForTheWholeListAndADragGoesThere) {
    addCategory(1, QStringLiteral("Blues"));
    auto* browse = open<BrowseCategories>(QStringLiteral("BrowseCategories"));
    ASSERT_NE(browse, nullptr);
    // A list shorter than the window has no bar.
    EXPECT_TRUE(browse->thumb()->isHidden());
    browse->close();
    QCoreApplication::processEvents();

    // One frame (the table opened before it): a commit per entry would wait on the disk.
    TableUse held(*context().access);
    ASSERT_TRUE(held.open(categoriesTable()));
    ASSERT_EQ(store().logout(), NoError);
    for (int i = 0; i < 26 * 4; ++i)
        addCategory(i + 2, QStringLiteral("%1 style %2").arg(QChar(u'A' + i / 4)).arg(i % 4));
    ASSERT_EQ(store().commit(), NoError);
    browse = open<BrowseCategories>(QStringLiteral("BrowseCategories"));
    ASSERT_NE(browse, nullptr);
    ASSERT_LT(browse->rowCount(), 105);
    EXPECT_FALSE(browse->thumb()->isHidden());
    EXPECT_EQ(browse->thumbSamples().size(), 100);
    // The first sample is the first name's first four letters, so the first name stands just after it.
    EXPECT_LE(browse->thumb()->value(), 1);
    browse->dragThumbTo(99);
    EXPECT_EQ(browse->highlightedText(), QStringLiteral("Z style 3"));
    EXPECT_EQ(browse->thumb()->value(), 99);
    browse->dragThumbTo(50);
    const QChar middle = browse->highlightedText().at(0);
    EXPECT_GE(middle, QLatin1Char('K'));
    EXPECT_LE(middle, QLatin1Char('O'));
    browse->dragThumbTo(0);
    EXPECT_EQ(browse->highlightedText(), QStringLiteral("A style 0"));
}

TEST_F(CategoryMediaTest, TheFormsToolBarSavesAndWalksTheList) {
    addCategory(1, QStringLiteral("Blues"));
    addCategory(2, QStringLiteral("Jazz"));
    addCategory(3, QStringLiteral("Rock"));
    auto* browse = open<BrowseCategories>(QStringLiteral("BrowseCategories"));
    ASSERT_NE(browse, nullptr);
    QStringList seen;
    onModal([&seen](QWidget* modal) {
        auto* form = qobject_cast<LookupForm*>(modal);
        ASSERT_NE(form, nullptr);
        ASSERT_NE(form->toolBar(), nullptr);
        seen << form->field()->text();
        form->field()->setText(QStringLiteral("Blues & Soul"));
        onModal([&seen](QWidget* next) {
            auto* second = qobject_cast<LookupForm*>(next);
            ASSERT_NE(second, nullptr);
            seen << second->field()->text();
            onModal([&seen](QWidget* last) {
                auto* third = qobject_cast<LookupForm*>(last);
                ASSERT_NE(third, nullptr);
                seen << third->field()->text();
                third->reject();
            });
            second->toolBar()->action(FormMove::Last)->trigger();
        });
        form->toolBar()->action(FormMove::NextRecord)->trigger();
    });
    browse->button(LookupBrowse::Action::Change)->click();
    EXPECT_EQ(seen, (QStringList{QStringLiteral("Blues"), QStringLiteral("Jazz"), QStringLiteral("Rock")}));
    // The first form saved before the list moved on.
    EXPECT_EQ(texts(categoriesTable(), CAT::Category),
              (QStringList{QStringLiteral("Blues & Soul"), QStringLiteral("Jazz"), QStringLiteral("Rock")}));
    EXPECT_EQ(browse->highlightedText(), QStringLiteral("Rock"));
}

}  // namespace
