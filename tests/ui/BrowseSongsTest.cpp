// The song list driven through the real window of a started program on temporary folders: tabs,
// locator, ranges, search, thumb, popup and the settings it keeps.

#include "access/ScriptedMessages.h"
#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "settings/IniFile.h"
#include "store/PageCursor.h"
#include "store/Store.h"
#include "store/Table.h"
#include "support/TempFolder.h"
#include "ui/services/DragPayload.h"
#include "ui/services/PageModel.h"
#include "ui/shell/MainFrame.h"
#include "ui/shell/Program.h"
#include "ui/songs/BrowseSongs.h"
#include "ui/songs/SongForm.h"
#include "ui/songs/SongTabBar.h"
#include "ui/services/FormToolBar.h"
#include "ui/support/ModalWindows.h"
#include "ui/support/ProgramFixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace srk;
using srk::testing::onModal;

namespace {

class BrowseSongsTest : public srk::testing::ProgramFixture {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(startProgram()); }


    void addSong(qint64 id, const QString& artist, const QString& title, const QString& media = QString(),
                 int chart = 0, int bpm = 0, qint64 category = 0) {
        Record s(songsTable());
        s.setNumber(SON::ID, id);
        s.setText(SON::Artist, artist);
        s.setText(SON::Title, title);
        s.setText(SON::Media, media);
        s.setNumber(SON::ChartNumber, chart);
        s.setNumber(SON::BeatsPerMinute, bpm);
        s.setNumber(SON::CategoryID, category);
        ASSERT_EQ(Table(store(), songsTable()).add(s), NoError);
    }

    // 260 songs: artists "A000".."Z009" spread over the alphabet, charts and BPM in steps.
    void addMany() {
        // One frame: a commit per song would spend the test waiting for the disk.
        ASSERT_EQ(store().logout(), NoError);
        for (int i = 0; i < 260; ++i) {
            const QChar letter(u'A' + i / 10);
            addSong(i + 1, QStringLiteral("%1%2").arg(letter).arg(i % 10, 3, 10, QChar(u'0')),
                    QStringLiteral("T%1").arg(259 - i, 3, 10, QChar(u'0')), i % 3 == 0 ? QStringLiteral("LP") : QString(),
                    i % 101, 60 + i);
        }
        ASSERT_EQ(store().commit(), NoError);
    }

    BrowseSongs* open() {
        program->frame()->runCommand(BrowseSongs::Procedure);
        QMdiSubWindow* sub = program->frame()->workspace()->activeSubWindow();
        if (!sub)
            return nullptr;
        auto* browse = qobject_cast<BrowseSongs*>(sub->widget());
        if (browse) {
            sub->resize(900, 400);
            QCoreApplication::processEvents();
        }
        return browse;
    }

    void close(BrowseSongs* browse) {
        browse->press(BrowseSongs::Action::Close);
        QCoreApplication::processEvents();
    }

    QVector<Record> songs() {
        QVector<Record> rows;
        Table(store(), songsTable()).fetch(SON::KeyID, KeyAnchor::start(), true, 1000, rows);
        return rows;
    }

    // Answers the song form that the next step opens.
    static void onForm(std::function<void(SongForm*)> action) {
        onModal([action](QWidget* modal) {
            auto* form = qobject_cast<SongForm*>(modal);
            ASSERT_NE(form, nullptr) << modal->windowTitle().toStdString();
            action(form);
        });
    }
    static void retype(QWidget* editor, const QString& text) {
        auto* line = qobject_cast<QLineEdit*>(editor);
        ASSERT_NE(line, nullptr);
        line->clear();
        QTest::keyClicks(line, text);
    }

    static QString artist(const BrowseSongs* b) { return b->highlightedSong().text(SON::Artist); }
    static qint64 id(const BrowseSongs* b) { return b->highlightedSong().number(SON::ID); }

    static void type(BrowseSongs* browse, const QString& text) {
        for (QChar c : text)
            QTest::keyClick(browse->list(), c.toLatin1());
    }

    // Every row of the current page, primary records.
    static QVector<Record> page(BrowseSongs* browse) {
        QVector<Record> rows;
        for (const PageRow& r : browse->cursor().rows())
            rows << r.primary();
        return rows;
    }

};

TEST_F(BrowseSongsTest, AnEmptyTableGivesAnEmptyPageDisabledChangeAndDeleteAndAGreyedPopup) {
    BrowseSongs* browse = open();
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(browse->windowTitle(), QStringLiteral("Songs - 0 entries"));
    EXPECT_EQ(browse->model()->rowCount(), 0);
    EXPECT_FALSE(browse->button(BrowseSongs::Action::Change)->isEnabled());
    EXPECT_FALSE(browse->button(BrowseSongs::Action::Delete)->isEnabled());
    EXPECT_TRUE(browse->button(BrowseSongs::Action::Add)->isEnabled());
    EXPECT_FALSE(browse->button(BrowseSongs::Action::ResetSearch)->isEnabled());
    EXPECT_TRUE(browse->thumb()->isHidden());
    // The report of the order is there even for an empty table, and so are import and export.
    EXPECT_TRUE(browse->button(BrowseSongs::Action::Print)->isEnabled());
    EXPECT_TRUE(browse->button(BrowseSongs::Action::Import)->isEnabled());
    EXPECT_TRUE(browse->button(BrowseSongs::Action::Export)->isEnabled());

    std::unique_ptr<QMenu> menu(browse->buildPopup());
    QStringList items;
    for (QAction* a : menu->actions())
        items << (a->isSeparator() ? QStringLiteral("-") : (a->isEnabled() ? QString() : QStringLiteral("~")) + a->text());
    EXPECT_EQ(items.join(u'|'),
              QStringLiteral("&Add|~&Change|~&Delete|-|&Print|-|&Search|-|&Import|&Export"));
    EXPECT_EQ(messages.count(), 0) << messages.titles().join(u',').toStdString();
}

TEST_F(BrowseSongsTest, TheTitleCountsEverySongAndTheTabsReadTheirTexts) {
    addMany();
    BrowseSongs* browse = open();
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(browse->windowTitle(), QStringLiteral("Songs - 260 entries"));
    // Headers and pictures come from the list's format.
    QStringList headers;
    for (int c = 0; c < browse->model()->columnCount(); ++c)
        headers << browse->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headers.join(u','), QStringLiteral("Artist,Title,Album,Media,File Number,Category,Time,Released,BPM,"
                                                 "User Defined Key Field,Last Played,Style"));
    SongTabBar* tabs = browse->tabs();
    ASSERT_EQ(tabs->count(), 8);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("By Artist   "));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("By Title"));
    // The default label of the user defined key names the eighth tab.
    EXPECT_EQ(tabs->plainText(7), QStringLiteral("By Custom"));
    tabs->setCurrentIndex(5);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("By Artist"));
    EXPECT_EQ(tabs->tabText(5), QStringLiteral("By Chart #   "));
    EXPECT_FALSE(browse->button(BrowseSongs::Action::SelectMedia)->isVisibleTo(browse));
    tabs->setCurrentIndex(3);
    EXPECT_TRUE(browse->button(BrowseSongs::Action::SelectMedia)->isVisibleTo(browse));
    EXPECT_FALSE(browse->button(BrowseSongs::Action::SelectCategory)->isVisibleTo(browse));
    tabs->setCurrentIndex(4);
    EXPECT_TRUE(browse->button(BrowseSongs::Action::SelectCategory)->isVisibleTo(browse));
}

TEST_F(BrowseSongsTest, TheLocatorFindsTheFirstSongAtOrAfterTheTypedTextAndTabsKeepTheSong) {
    addMany();
    BrowseSongs* browse = open();
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(browse->order(), 1);
    EXPECT_EQ(artist(browse), QStringLiteral("A000"));

    type(browse, QStringLiteral("m00"));
    EXPECT_EQ(browse->locatorText(), QStringLiteral("m00"));
    EXPECT_EQ(browse->locatorEntry()->text(), QStringLiteral("m00"));
    EXPECT_EQ(artist(browse), QStringLiteral("M000"));
    type(browse, QStringLiteral("5"));
    EXPECT_EQ(artist(browse), QStringLiteral("M005"));
    QTest::keyClick(browse->list(), Qt::Key_Backspace);
    EXPECT_EQ(browse->locatorText(), QStringLiteral("m00"));
    EXPECT_EQ(artist(browse), QStringLiteral("M000"));
    // Past the last artist: the last song.
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(browse->list(), Qt::Key_Backspace);
    type(browse, QStringLiteral("zzz"));
    EXPECT_EQ(artist(browse), QStringLiteral("Z009"));

    // Back on M005; a new order keeps the same song highlighted and clears its own locator.
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(browse->list(), Qt::Key_Backspace);
    EXPECT_EQ(browse->locatorText(), QString());
    type(browse, QStringLiteral("m005"));
    const qint64 song = id(browse);
    browse->tabs()->setCurrentIndex(1);
    EXPECT_EQ(browse->order(), 2);
    EXPECT_EQ(browse->locatorText(), QString());
    EXPECT_EQ(id(browse), song);
    browse->tabs()->setCurrentIndex(6);
    EXPECT_EQ(id(browse), song);
    browse->tabs()->setCurrentIndex(0);
    EXPECT_EQ(id(browse), song);
    EXPECT_EQ(browse->locatorText(), QString()) << "the locator text is cleared when the order changes";

    // Backspace on an empty locator does nothing; the text stops at 30 characters.
    QTest::keyClick(browse->list(), Qt::Key_Backspace);
    EXPECT_EQ(id(browse), song);
    type(browse, QString(40, QChar(u'b')));
    EXPECT_EQ(browse->locatorText().size(), 30);
    EXPECT_EQ(messages.count(), 0) << messages.titles().join(u',').toStdString();
}

TEST_F(BrowseSongsTest, NumericOrdersLocateByTheNumberTheTextReads) {
    addMany();
    BrowseSongs* browse = open();
    ASSERT_NE(browse, nullptr);
    browse->tabs()->setCurrentIndex(5);  // By Chart #
    type(browse, QStringLiteral("50"));
    EXPECT_EQ(browse->highlightedSong().number(SON::ChartNumber), 50);
    QTest::keyClick(browse->list(), Qt::Key_Backspace);
    QTest::keyClick(browse->list(), Qt::Key_Backspace);
    type(browse, QStringLiteral("x"));
    EXPECT_EQ(browse->highlightedSong().number(SON::ChartNumber), 0);

    browse->tabs()->setCurrentIndex(6);  // By BPM
    type(browse, QStringLiteral("200"));
    EXPECT_EQ(browse->highlightedSong().number(SON::BeatsPerMinute), 200);
    // Space appends a blank: "200 " no longer reads as a number... it does, trailing blanks aside.
    QTest::keyClick(browse->list(), Qt::Key_Space);
    EXPECT_EQ(browse->locatorText(), QStringLiteral("200 "));
    EXPECT_EQ(browse->highlightedSong().number(SON::BeatsPerMinute), 200);
}

TEST_F(BrowseSongsTest, TheMediaRangeShowsOnlyItsSongsWithoutRegardToCase) {
    addMany();
    BrowseSongs* browse = open();
    ASSERT_NE(browse, nullptr);
    browse->tabs()->setCurrentIndex(3);
    // No media chosen: only songs whose media is blank.
    ASSERT_FALSE(page(browse).isEmpty());
    for (const Record& r : page(browse))
        EXPECT_EQ(r.text(SON::Media), QString());
    browse->setMediaRange(QStringLiteral("lp"));
    ASSERT_FALSE(page(browse).isEmpty());
    for (const Record& r : page(browse))
        EXPECT_EQ(r.text(SON::Media), QStringLiteral("LP"));
    EXPECT_EQ(browse->activeFilterText(), QStringLiteral("UPPER(SON:Media) = UPPER(BRW1::Sort3:Reset:MED:Media)"));

    // A search is joined to the range.
    browse->applyQuery(QStringLiteral("SON:ChartNumber >= 90"));
    EXPECT_TRUE(browse->activeFilterText().startsWith(QStringLiteral("(UPPER(SON:Media)")));
    ASSERT_FALSE(page(browse).isEmpty());
    for (const Record& r : page(browse)) {
        EXPECT_EQ(r.text(SON::Media), QStringLiteral("LP"));
        EXPECT_GE(r.number(SON::ChartNumber), 90);
    }
    EXPECT_EQ(messages.count(), 0) << messages.titles().join(u',').toStdString();
}

TEST_F(BrowseSongsTest, TheCategoryRangeFollowsTheChosenCategory) {
    {
        Record c(categoriesTable());
        c.setNumber(CAT::CategoryID, 4);
        c.setText(CAT::Category, QStringLiteral("Jazz"));
        TableUse use(*context().access);
        ASSERT_TRUE(use.open(categoriesTable()));
        ASSERT_EQ(Table(store(), categoriesTable()).add(c), NoError);
    }
    addSong(1, QStringLiteral("Ann"), QStringLiteral("One"), QString(), 0, 0, 4);
    addSong(2, QStringLiteral("Bob"), QStringLiteral("Two"), QString(), 0, 0, 0);
    addSong(3, QStringLiteral("Cy"), QStringLiteral("Three"), QString(), 0, 0, 4);
    BrowseSongs* browse = open();
    ASSERT_NE(browse, nullptr);
    // The category column comes from the joined table; a song without one shows it blank.
    EXPECT_EQ(browse->model()->index(0, 5).data(Qt::DisplayRole).toString(), QStringLiteral("Jazz"));
    EXPECT_EQ(browse->model()->index(1, 5).data(Qt::DisplayRole).toString(), QString());
    browse->tabs()->setCurrentIndex(4);
    ASSERT_EQ(page(browse).size(), 1);  // category 0: only Bob
    browse->setCategoryRange(4);
    const QVector<Record> rows = page(browse);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].text(SON::Artist), QStringLiteral("Ann"));
    EXPECT_EQ(rows[1].text(SON::Artist), QStringLiteral("Cy"));
}

TEST_F(BrowseSongsTest, SearchFiltersEveryOrderAndResetSearchClearsIt) {
    addMany();
    BrowseSongs* browse = open();
    ASSERT_NE(browse, nullptr);
    browse->applyQuery(QStringLiteral("SON:ChartNumber > 95 AND INSTRING('t', LOWER(SON:Title)) <> 0"));
    EXPECT_TRUE(browse->button(BrowseSongs::Action::ResetSearch)->isEnabled());
    for (int tab = 0; tab < 8; ++tab) {
        browse->tabs()->setCurrentIndex(tab);
        if (tab == 3 || tab == 4)
            continue;  // their ranges narrow further
        const QVector<Record> rows = page(browse);
        ASSERT_FALSE(rows.isEmpty()) << tab;
        for (const Record& r : rows)
            EXPECT_GT(r.number(SON::ChartNumber), 95) << tab;
    }
    browse->tabs()->setCurrentIndex(0);
    const qint64 song = id(browse);
    const int before = browse->model()->rowCount();
    browse->press(BrowseSongs::Action::ResetSearch);
    EXPECT_FALSE(browse->button(BrowseSongs::Action::ResetSearch)->isEnabled());
    EXPECT_EQ(browse->queryFilter(), QString());
    // The list is read again around the same song, now with every song.
    EXPECT_EQ(id(browse), song);
    EXPECT_GE(browse->model()->rowCount(), before);
    QTest::keyClick(browse->list(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(artist(browse), QStringLiteral("A000"));
    EXPECT_EQ(messages.count(), 0) << messages.titles().join(u',').toStdString();
}

TEST_F(BrowseSongsTest, AFilterThatCannotBeReadGivesViewOpenErrorAndTheListGoesOnUnfiltered) {
    addMany();
    BrowseSongs* browse = open();
    ASSERT_NE(browse, nullptr);
    const int rows = browse->model()->rowCount();
    messages.addAnswer(ButtonOk);
    browse->applyQuery(QStringLiteral("SON:Artist = ("));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.titles().value(0), QStringLiteral("View Open Error"));
    EXPECT_EQ(browse->model()->rowCount(), rows);
    EXPECT_EQ(artist(browse), QStringLiteral("A000"));
    // In a ranged order the range still applies.
    browse->tabs()->setCurrentIndex(3);
    for (const Record& r : page(browse))
        EXPECT_EQ(r.text(SON::Media), QString());
}

TEST_F(BrowseSongsTest, TheThumbStandsForTheOrderAndADragPositionsThere) {
    addMany();
    BrowseSongs* browse = open();
    ASSERT_NE(browse, nullptr);
    ASSERT_LT(browse->cursor().pageSize(), 260);
    EXPECT_FALSE(browse->thumb()->isHidden());
    EXPECT_EQ(browse->thumb()->value(), 0);
    browse->dragThumbTo(99);
    EXPECT_EQ(artist(browse), QStringLiteral("Z009"));
    EXPECT_EQ(browse->thumb()->value(), 99);
    browse->dragThumbTo(50);
    const QChar middle = artist(browse).at(0);
    EXPECT_GE(middle, QLatin1Char('L'));
    EXPECT_LE(middle, QLatin1Char('O'));
    EXPECT_GT(browse->thumb()->value(), 40);
    EXPECT_LT(browse->thumb()->value(), 60);
    browse->dragThumbTo(0);
    EXPECT_EQ(artist(browse), QStringLiteral("A000"));

    // Numbers: the BPM order runs from 60 to 319.
    browse->tabs()->setCurrentIndex(6);
    browse->dragThumbTo(50);
    const qint64 bpm = browse->highlightedSong().number(SON::BeatsPerMinute);
    EXPECT_GE(bpm, 185);
    EXPECT_LE(bpm, 195);
}

TEST_F(BrowseSongsTest, TheTabAndTheColumnLayoutSurviveTheWindow) {
    addMany();
    BrowseSongs* browse = open();
    ASSERT_NE(browse, nullptr);
    browse->tabs()->setCurrentIndex(2);
    close(browse);
    EXPECT_EQ(context().preferencesFile.readInt(QStringLiteral("Settings"), QStringLiteral("SongTab")), 3);
    EXPECT_TRUE(context().positions.readString(QStringLiteral("BrowseSongs"), QStringLiteral("SRCFOriginal?Browse"))
                    .contains(QStringLiteral("~User Defined Key Field~")));
    EXPECT_FALSE(
        context().positions.readString(QStringLiteral("BrowseSongs"), QStringLiteral("SRCF?Browse")).isEmpty());

    browse = open();
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(browse->order(), 3);
    close(browse);

    context().preferences.SaveLastTab = 0;
    browse = open();
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(browse->order(), 1);
}

TEST_F(BrowseSongsTest, KeysMoveTheHighlightThroughTheWholeOrder) {
    addMany();
    BrowseSongs* browse = open();
    ASSERT_NE(browse, nullptr);
    const int rows = browse->cursor().pageSize();
    QTest::keyClick(browse->list(), Qt::Key_PageDown);
    EXPECT_EQ(artist(browse), QStringLiteral("%1%2").arg(QChar(u'A' + rows / 10)).arg(rows % 10, 3, 10, QChar(u'0')));
    QTest::keyClick(browse->list(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(artist(browse), QStringLiteral("Z009"));
    QTest::keyClick(browse->list(), Qt::Key_Up);
    EXPECT_EQ(artist(browse), QStringLiteral("Z008"));
    QTest::keyClick(browse->list(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(artist(browse), QStringLiteral("A000"));
}

TEST_F(BrowseSongsTest, AddCopyChangeAndDeleteGoThroughTheFormAndTheListFollows) {
    addSong(1, QStringLiteral("Bob"), QStringLiteral("Song"));
    BrowseSongs* browse = open();
    ASSERT_NE(browse, nullptr);

    // Insert adds a new song; the list highlights it and the title counts it.
    QString title;
    onForm([&title](SongForm* form) {
        title = form->windowTitle();
        retype(form->editor(SON::Artist), QStringLiteral("Ann"));
        retype(form->editor(SON::Title), QStringLiteral("First"));
        QTest::mouseClick(form->okButton(), Qt::LeftButton);
    });
    QTest::keyClick(browse->list(), Qt::Key_Insert);
    EXPECT_EQ(title, QStringLiteral("Adding Information"));
    ASSERT_EQ(songs().size(), 2);
    EXPECT_EQ(artist(browse), QStringLiteral("Ann"));
    EXPECT_EQ(browse->highlightedSong().text(SON::Media), QStringLiteral("CD"));
    EXPECT_EQ(browse->windowTitle(), QStringLiteral("Songs - 2 entries"));
    const qint64 ann = id(browse);

    // Copy makes a second song like the highlighted one under a new number.
    onForm([](SongForm* form) { QTest::mouseClick(form->okButton(), Qt::LeftButton); });
    browse->press(BrowseSongs::Action::Copy);
    QVector<Record> rows = songs();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[2].text(SON::Artist), QStringLiteral("Ann"));
    EXPECT_EQ(rows[2].text(SON::Title), QStringLiteral("First"));
    EXPECT_NE(rows[2].number(SON::ID), ann);

    // Ctrl+Enter changes the highlighted song.
    onForm([&title](SongForm* form) {
        title = form->windowTitle();
        retype(form->editor(SON::Title), QStringLiteral("Second"));
        QTest::mouseClick(form->okButton(), Qt::LeftButton);
    });
    QTest::keyClick(browse->list(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(title, QStringLiteral("Changing Information"));
    EXPECT_EQ(browse->highlightedSong().text(SON::Title), QStringLiteral("Second"));
    const qint64 changed = id(browse);

    // Delete asks first, then the row goes.
    messages.addAnswer(ButtonOk);
    QTest::keyClick(browse->list(), Qt::Key_Delete);
    EXPECT_EQ(messages.titles(), QStringList{QStringLiteral("Confirm Delete")});
    rows = songs();
    ASSERT_EQ(rows.size(), 2);
    for (const Record& r : rows)
        EXPECT_NE(r.number(SON::ID), changed);
    EXPECT_EQ(browse->model()->rowCount(), 2);
    EXPECT_EQ(browse->windowTitle(), QStringLiteral("Songs - 2 entries"));
}

TEST_F(BrowseSongsTest, EscWhileAddingLeavesNoSongAndAMediaTabSongStartsOnCD) {
    addSong(1, QStringLiteral("Bob"), QStringLiteral("Song"), QStringLiteral("LP"));
    BrowseSongs* browse = open();
    ASSERT_NE(browse, nullptr);
    browse->tabs()->setCurrentIndex(3);
    browse->setMediaRange(QStringLiteral("LP"));
    ASSERT_EQ(browse->model()->rowCount(), 1);

    QString media;
    onForm([&media](SongForm* form) {
        media = form->mediaList()->currentText();
        QTest::keyClicks(form->editor(SON::Artist), QStringLiteral("Half typed"));
        QTest::keyClick(form, Qt::Key_Escape);
    });
    browse->press(BrowseSongs::Action::Add);
    EXPECT_EQ(media, QStringLiteral("CD"));
    ASSERT_EQ(songs().size(), 1);
    EXPECT_EQ(songs()[0].text(SON::Artist), QStringLiteral("Bob"));
    EXPECT_EQ(browse->model()->rowCount(), 1);
    EXPECT_EQ(artist(browse), QStringLiteral("Bob"));
}

TEST_F(BrowseSongsTest, TheFormsToolBarWalksThroughTheList) {
    addMany();
    BrowseSongs* browse = open();
    ASSERT_NE(browse, nullptr);
    QStringList seen;
    onForm([&seen](SongForm* form) {
        seen << form->lineEdit(SON::Artist)->text();
        ASSERT_NE(form->toolBar(), nullptr);
        onForm([&seen](SongForm* second) {
            seen << second->lineEdit(SON::Artist)->text();
            onForm([&seen](SongForm* third) {
                seen << third->lineEdit(SON::Artist)->text();
                QTest::mouseClick(third->cancelButton(), Qt::LeftButton);
            });
            second->toolBar()->action(FormMove::Last)->trigger();
        });
        form->toolBar()->action(FormMove::NextRecord)->trigger();
    });
    browse->press(BrowseSongs::Action::Change);
    EXPECT_EQ(seen, (QStringList{QStringLiteral("A000"), QStringLiteral("A001"), QStringLiteral("Z009")}));
    EXPECT_EQ(artist(browse), QStringLiteral("Z009"));
    EXPECT_EQ(songs().size(), 260);
}

TEST(DragPayload, CarriesTheValueOnlyToTargetsOfItsId) {
    std::unique_ptr<QMimeData> data(makeDragData(kSongsDragId, QStringLiteral("17")));
    EXPECT_EQ(dropValue(data.get(), QStringLiteral("Songs")).value_or(QString()), QStringLiteral("17"));
    EXPECT_FALSE(dropValue(data.get(), QStringLiteral("Albums")).has_value());
    QMimeData plain;
    plain.setText(QStringLiteral("Songs\n17"));
    EXPECT_FALSE(dropValue(&plain, kSongsDragId).has_value());
    EXPECT_FALSE(dropValue(nullptr, kSongsDragId).has_value());
}

} // namespace
