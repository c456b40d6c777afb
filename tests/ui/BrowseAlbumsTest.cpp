// The album list driven through the real window of a started program on temporary folders: tabs,
// headers and title, locator per order, the two category ranges, thumb, popup, keys, the settings it
// keeps, and the page following a change made by another station.

#include "access/MessageService.h"
#include "access/ScriptedMessages.h"
#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "settings/IniFile.h"
#include "store/PageCursor.h"
#include "store/Store.h"
#include "store/Table.h"
#include "text/DayNumber.h"
#include "text/Picture.h"
#include "ui/albums/AlbumForm.h"
#include "ui/albums/AlbumWizard.h"
#include "ui/albums/BrowseAlbums.h"
#include "ui/services/CategoryDropList.h"
#include "ui/services/ListColumns.h"
#include "ui/services/PageModel.h"
#include "ui/services/TableWatch.h"
#include "ui/shell/MainFrame.h"
#include "ui/shell/Program.h"
#include "ui/WindowRegistry.h"
#include "ui/songs/LookupBrowse.h"
#include "ui/songs/SongTabBar.h"
#include "ui/support/ModalWindows.h"
#include "ui/support/ProgramFixture.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace srk;
using srk::testing::onModal;

namespace {

constexpr int kReleasedColumn = 4;

class BrowseAlbumsTest : public srk::testing::ProgramFixture {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(startProgram()); }

    void addAlbum(qint64 id, const QString& artist, const QString& album, const QString& fileNumber = QString(),
                  qint64 category = 0, qint64 released = 0) {
        Record a(albumTable());
        a.setNumber(ALB::AlbumID, id);
        a.setText(ALB::Artist, artist);
        a.setText(ALB::Album, album);
        a.setText(ALB::Media, QStringLiteral("CD"));
        a.setText(ALB::FileNumber, fileNumber);
        a.setNumber(ALB::CategoryID, category);
        a.setNumber(ALB::ReleaseDate, released);
        TableUse use(*context().access);
        ASSERT_TRUE(use.open(albumTable()));
        ASSERT_EQ(Table(store(), albumTable()).add(a), NoError);
    }

    void addCategory(qint64 id, const QString& name) {
        Record c(categoriesTable());
        c.setNumber(CAT::CategoryID, id);
        c.setText(CAT::Category, name);
        TableUse use(*context().access);
        ASSERT_TRUE(use.open(categoriesTable()));
        ASSERT_EQ(Table(store(), categoriesTable()).add(c), NoError);
    }

    // 260 albums: artists "A000".."Z009", albums "Z-title" backwards, file numbers "F000".."F259".
    void addMany() {
        TableUse use(*context().access);
        ASSERT_TRUE(use.open(albumTable()));
        ASSERT_EQ(store().stream(), NoError);
        for (int i = 0; i < 260; ++i) {
            Record a(albumTable());
            a.setNumber(ALB::AlbumID, i + 1);
            a.setText(ALB::Artist, QStringLiteral("%1%2").arg(QChar(u'A' + i / 10)).arg(i % 10, 3, 10, QChar(u'0')));
            a.setText(ALB::Album, QStringLiteral("%1%2").arg(QChar(u'Z' - i / 10)).arg(i % 10, 3, 10, QChar(u'0')));
            a.setText(ALB::FileNumber, QStringLiteral("F%1").arg(i, 3, 10, QChar(u'0')));
            ASSERT_EQ(Table(store(), albumTable()).add(a), NoError);
        }
        ASSERT_EQ(store().flush(), NoError);
    }

    BrowseAlbums* open() {
        program->frame()->runCommand(BrowseAlbums::Procedure);
        QMdiSubWindow* sub = program->frame()->workspace()->activeSubWindow();
        if (!sub)
            return nullptr;
        auto* browse = qobject_cast<BrowseAlbums*>(sub->widget());
        if (browse) {
            sub->resize(900, 400);
            QCoreApplication::processEvents();
        }
        return browse;
    }

    void close(BrowseAlbums* browse) {
        browse->press(BrowseAlbums::Action::Close);
        QCoreApplication::processEvents();
    }

    static QString artist(const BrowseAlbums* b) { return b->highlightedAlbum().text(ALB::Artist); }
    static QString album(const BrowseAlbums* b) { return b->highlightedAlbum().text(ALB::Album); }

    static void type(BrowseAlbums* browse, const QString& text) {
        for (QChar c : text)
            QTest::keyClick(browse->list(), c.toLatin1());
    }

    static QStringList pageAlbums(BrowseAlbums* browse) {
        QStringList out;
        for (const PageRow& r : browse->cursor().rows())
            out << r.primary().text(ALB::Album);
        return out;
    }

    static QString popupItems(BrowseAlbums* browse) {
        std::unique_ptr<QMenu> menu(browse->buildPopup());
        QStringList items;
        for (QAction* a : menu->actions())
            items << (a->isSeparator() ? QStringLiteral("-")
                                       : (a->isEnabled() ? QString() : QStringLiteral("~")) + a->text());
        return items.join(u'|');
    }

    QVector<Record> albums() {
        QVector<Record> rows;
        TableUse use(*context().access);
        EXPECT_TRUE(use.open(albumTable()));
        Table(store(), albumTable()).fetch(ALB::KeyAlbumID, KeyAnchor::start(), true, 1000, rows);
        return rows;
    }

    // Answers the album form that the next step opens.
    static void onForm(std::function<void(AlbumForm*)> action) {
        onModal([action](QWidget* modal) {
            auto* form = qobject_cast<AlbumForm*>(modal);
            ASSERT_NE(form, nullptr) << modal->windowTitle().toStdString();
            action(form);
        });
    }
    static void retype(QLineEdit* line, const QString& text) {
        ASSERT_NE(line, nullptr);
        line->selectAll();
        QTest::keyClicks(line, text);
    }

    // Chooses a category in the category picker that pressing `button` opens.
    static void chooseCategory(QPushButton* button, char letter) {
        onModal([letter](QWidget* modal) {
            auto* categories = modal->findChild<LookupBrowse*>();
            ASSERT_NE(categories, nullptr);
            QTest::keyClick(categories->list(), letter);
            QTest::mouseClick(categories->button(LookupBrowse::Action::Select), Qt::LeftButton);
        });
        QTest::mouseClick(button, Qt::LeftButton);
    }
};

TEST_F(BrowseAlbumsTest, AnEmptyTableGivesAnEmptyPageGreyedButtonsAndAGreyedPopup) {
    BrowseAlbums* browse = open();
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(browse->windowTitle(), QStringLiteral("Albums - 0 entries"));
    EXPECT_EQ(browse->model()->rowCount(), 0);
    EXPECT_TRUE(browse->button(BrowseAlbums::Action::Add)->isEnabled());
    for (auto a : {BrowseAlbums::Action::Copy, BrowseAlbums::Action::Change, BrowseAlbums::Action::Delete,
                   BrowseAlbums::Action::Print})
        EXPECT_FALSE(browse->button(a)->isEnabled()) << browse->button(a)->text().toStdString();
    // The wizards add albums to an empty table as well.
    for (auto a : {BrowseAlbums::Action::SingleArtistWizard, BrowseAlbums::Action::CompilationWizard})
        EXPECT_TRUE(browse->button(a)->isEnabled()) << browse->button(a)->text().toStdString();
    EXPECT_TRUE(browse->thumb()->isHidden());
    EXPECT_EQ(popupItems(browse), QStringLiteral("&Add|~&Change|~&Delete|-|~Cop&y|Compilation Wizard|~&Print|-|"
                                                 "~Create Label...|~Quick CD Insert"));
    EXPECT_EQ(messages.count(), 0) << messages.titles().join(u',').toStdString();
}

TEST_F(BrowseAlbumsTest, TitleTabsHeadersButtonsAndTheReleasedColumnReadAsDesigned) {
    addAlbum(1, QStringLiteral("Ann"), QStringLiteral("One"), QStringLiteral("F1"), 0, 1987);
    addAlbum(2, QStringLiteral("Bob"), QStringLiteral("Two"), QStringLiteral("F2"), 0,
             dayNumberFromDate(QDate(1999, 3, 14)));
    BrowseAlbums* browse = open();
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(browse->windowTitle(), QStringLiteral("Albums - 2 entries"));
    QStringList headers;
    for (int c = 0; c < browse->model()->columnCount(); ++c)
        headers << browse->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headers.join(u','), QStringLiteral("Artist,Album,Media,File Number,Released,XCCD"));
    SongTabBar* tabs = browse->tabs();
    ASSERT_EQ(tabs->count(), 5);
    const QStringList texts = {QStringLiteral("Album"), QStringLiteral("Artist"), QStringLiteral("File #"),
                               QStringLiteral("Category"), QStringLiteral("Cat/Art")};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(tabs->plainText(i), texts[i]);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Album   "));
    QStringList buttons;
    for (auto a : {BrowseAlbums::Action::Add, BrowseAlbums::Action::Copy, BrowseAlbums::Action::Change,
                   BrowseAlbums::Action::Delete, BrowseAlbums::Action::Print,
                   BrowseAlbums::Action::SingleArtistWizard, BrowseAlbums::Action::CompilationWizard,
                   BrowseAlbums::Action::Close})
        buttons << browse->button(a)->text();
    EXPECT_EQ(buttons.join(u','), QStringLiteral("&Add,Cop&y,&Change,&Delete,&Print,Single Artist Wi&zard,"
                                                 "Compilation Wizard,Cl&ose"));
    EXPECT_EQ(browse->button(BrowseAlbums::Action::Print)->toolTip(), QStringLiteral("Print information"));
    EXPECT_TRUE(browse->button(BrowseAlbums::Action::Copy)->isEnabled());
    EXPECT_TRUE(browse->button(BrowseAlbums::Action::Change)->isEnabled());
    // The one-album printout is there: enabled, in the popup as well.
    EXPECT_TRUE(browse->button(BrowseAlbums::Action::Print)->isEnabled());
    EXPECT_EQ(popupItems(browse), QStringLiteral("&Add|&Change|&Delete|-|Cop&y|Compilation Wizard|&Print|-|"
                                                 "~Create Label...|~Quick CD Insert"));

    // A bare year shows as the year; a whole date through the list's date picture.
    const QModelIndex year = browse->model()->index(0, kReleasedColumn);
    EXPECT_EQ(browse->columns().display(kReleasedColumn, year.data(Qt::DisplayRole)), QStringLiteral("1987"));
    const QModelIndex date = browse->model()->index(1, kReleasedColumn);
    const QString shown = browse->columns().display(kReleasedColumn, date.data(Qt::DisplayRole));
    EXPECT_TRUE(shown.contains(QStringLiteral("1999")) || shown.contains(QStringLiteral("99")))
        << shown.toStdString();
    EXPECT_NE(shown, QStringLiteral("1999"));
}

TEST_F(BrowseAlbumsTest, ThePreferredDatePictureReplacesTheReleasedColumnsOwnAndYearsStayYears) {
    const qint64 day = dayNumberFromDate(QDate(1999, 3, 14));
    addAlbum(1, QStringLiteral("Ann"), QStringLiteral("One"), QString(), 0, day);
    addAlbum(2, QStringLiteral("Bob"), QStringLiteral("Two"), QString(), 0, 1971);
    context().preferences.DateFormat = QStringLiteral("d17");
    BrowseAlbums* browse = open();
    ASSERT_NE(browse, nullptr);
    const QString shown =
        browse->columns().display(kReleasedColumn, browse->model()->index(0, kReleasedColumn).data(Qt::DisplayRole));
    EXPECT_EQ(shown, format(QVariant(day), QStringLiteral("@d17")));
    EXPECT_NE(shown, format(QVariant(day), QStringLiteral("@d2")));
    EXPECT_EQ(browse->columns().display(kReleasedColumn,
                                        browse->model()->index(1, kReleasedColumn).data(Qt::DisplayRole)),
              QStringLiteral("1971"));
    close(browse);
    EXPECT_TRUE(context()
                    .positions.readString(QStringLiteral("BrowseAlbums"), QStringLiteral("SRCFOriginal?Browse:1"))
                    .contains(QStringLiteral("~Released~@d17@")));
}

TEST_F(BrowseAlbumsTest, ThePrintoutWizardsLabelAndFlapPagesStartOnceTheProgramHasTheirWindows) {
    addAlbum(1, QStringLiteral("Ann"), QStringLiteral("One"), QStringLiteral("F1"));
    QStringList started;
    for (const char* name : {"PrintALB:OneAlbum", "AddSingleArtist", "AddCompilation", "LabelWizard",
                             "PRINTCDFLAPPAGES"}) {
        const QString procedure = QString::fromLatin1(name);
        program->frame()->registerWindow(procedure, [&started, procedure](WindowRegistry&) -> QWidget* {
            started << procedure;
            return nullptr;
        });
    }
    BrowseAlbums* browse = open();
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(popupItems(browse), QStringLiteral("&Add|&Change|&Delete|-|Cop&y|Compilation Wizard|&Print|-|"
                                                 "Create Label...|Quick CD Insert"));
    browse->press(BrowseAlbums::Action::Print);
    browse->press(BrowseAlbums::Action::SingleArtistWizard);
    QTest::mouseClick(browse->button(BrowseAlbums::Action::CompilationWizard), Qt::LeftButton);
    {
        std::unique_ptr<QMenu> menu(browse->buildPopup());
        const QList<QAction*> items = menu->actions();
        ASSERT_EQ(items.size(), 10);
        items[8]->trigger();
        items[9]->trigger();
    }
    EXPECT_EQ(started, (QStringList{QStringLiteral("PrintALB:OneAlbum"), QStringLiteral("AddSingleArtist"),
                                    QStringLiteral("AddCompilation"), QStringLiteral("LabelWizard"),
                                    QStringLiteral("PRINTCDFLAPPAGES")}));
}

TEST_F(BrowseAlbumsTest, TheSingleArtistWizardButtonAddsAnAlbumTheListThenShows) {
    addAlbum(1, QStringLiteral("Ann"), QStringLiteral("One"), QStringLiteral("F1"));
    BrowseAlbums* browse = open();
    ASSERT_NE(browse, nullptr);
    bool wizardSeen = false;
    onModal([&](QWidget* modal) {
        auto* wizard = qobject_cast<AlbumWizard*>(modal);
        ASSERT_NE(wizard, nullptr) << modal->windowTitle().toStdString();
        wizardSeen = true;
        retype(wizard->editor(SON::Artist), QStringLiteral("Zed"));
        retype(wizard->editor(SON::Album), QStringLiteral("Zero"));
        wizard->press(AlbumWizard::Action::Ok);
    });
    QTest::mouseClick(browse->button(BrowseAlbums::Action::SingleArtistWizard), Qt::LeftButton);
    EXPECT_TRUE(wizardSeen);
    ASSERT_EQ(albums().size(), 2);
    EXPECT_EQ(browse->windowTitle(), QStringLiteral("Albums - 2 entries"));
    EXPECT_EQ(browse->model()->rowCount(), 2);
    EXPECT_EQ(messages.count(), 0) << messages.titles().join(u',').toStdString();
}

TEST_F(BrowseAlbumsTest, TheLocatorFindsTheFirstAlbumAtOrAfterTheTextInEveryOrder) {
    addMany();
    BrowseAlbums* browse = open();
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(browse->windowTitle(), QStringLiteral("Albums - 260 entries"));
    // "Album": by album name.
    EXPECT_EQ(album(browse), QStringLiteral("A000"));
    type(browse, QStringLiteral("m0"));
    EXPECT_EQ(album(browse), QStringLiteral("M000"));
    EXPECT_EQ(browse->locatorEntry()->text(), QStringLiteral("m0"));
    QTest::keyClick(browse->list(), Qt::Key_Backspace);
    EXPECT_EQ(browse->locatorText(), QStringLiteral("m"));

    // "Artist": the locator starts empty on a new tab and finds by artist.
    browse->tabs()->setCurrentIndex(1);
    EXPECT_EQ(browse->locatorText(), QString());
    type(browse, QStringLiteral("Q00"));
    EXPECT_EQ(artist(browse), QStringLiteral("Q000"));

    // "File #": the file number, at most its 20 characters of the locator.
    browse->tabs()->setCurrentIndex(2);
    type(browse, QStringLiteral("f12"));
    EXPECT_EQ(browse->highlightedAlbum().text(ALB::FileNumber), QStringLiteral("F120"));
    type(browse, QStringLiteral("5"));
    EXPECT_EQ(browse->highlightedAlbum().text(ALB::FileNumber), QStringLiteral("F125"));
    type(browse, QStringLiteral("99999999999999999999"));
    EXPECT_EQ(browse->locatorText().size(), 24);
    EXPECT_EQ(browse->highlightedAlbum().text(ALB::FileNumber), QStringLiteral("F126"));

    // The category tabs locate within the category (0 for all of these).
    browse->tabs()->setCurrentIndex(3);
    type(browse, QStringLiteral("c"));
    EXPECT_EQ(album(browse), QStringLiteral("C000"));
    browse->tabs()->setCurrentIndex(4);
    type(browse, QStringLiteral("d005"));
    EXPECT_EQ(artist(browse), QStringLiteral("D005"));
    EXPECT_EQ(messages.count(), 0) << messages.titles().join(u',').toStdString();
}

TEST_F(BrowseAlbumsTest, EachCategoryTabKeepsItsOwnCategoryAndReadsAgainOnlyWhenItChanges) {
    addCategory(4, QStringLiteral("Jazz"));
    addCategory(7, QStringLiteral("Rock"));
    addAlbum(1, QStringLiteral("Ann"), QStringLiteral("One"), QString(), 4);
    addAlbum(2, QStringLiteral("Bob"), QStringLiteral("Two"), QString(), 0);
    addAlbum(3, QStringLiteral("Cy"), QStringLiteral("Three"), QString(), 4);
    addAlbum(4, QStringLiteral("Dee"), QStringLiteral("Four"), QString(), 7);
    BrowseAlbums* browse = open();
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(pageAlbums(browse).size(), 4);
    EXPECT_FALSE(browse->button(BrowseAlbums::Action::SelectCategory)->isVisibleTo(browse));

    browse->tabs()->setCurrentIndex(3);
    QPushButton* byCategory = browse->button(BrowseAlbums::Action::SelectCategory);
    EXPECT_EQ(byCategory->text(), QStringLiteral("Select Cate&gory"));
    EXPECT_TRUE(byCategory->isVisibleTo(browse));
    EXPECT_EQ(pageAlbums(browse), QStringList{QStringLiteral("Two")}); // no category chosen yet
    chooseCategory(byCategory, 'j');
    EXPECT_EQ(browse->categoryRange(4), 4);
    EXPECT_EQ(pageAlbums(browse), (QStringList{QStringLiteral("One"), QStringLiteral("Three")}));

    // The other category tab has its own button and its own category.
    browse->tabs()->setCurrentIndex(4);
    QPushButton* byCatArtist = browse->button(BrowseAlbums::Action::SelectCategory);
    EXPECT_NE(byCatArtist, byCategory);
    EXPECT_TRUE(byCatArtist->isVisibleTo(browse));
    EXPECT_FALSE(byCategory->isVisibleTo(browse));
    EXPECT_EQ(browse->categoryRange(5), 0);
    EXPECT_EQ(pageAlbums(browse), QStringList{QStringLiteral("Two")});
    chooseCategory(byCatArtist, 'r');
    EXPECT_EQ(browse->categoryRange(5), 7);
    EXPECT_EQ(pageAlbums(browse), QStringList{QStringLiteral("Four")});

    // Back on "Category" its own choice still holds.
    browse->tabs()->setCurrentIndex(3);
    EXPECT_EQ(browse->categoryRange(4), 4);
    EXPECT_EQ(pageAlbums(browse), (QStringList{QStringLiteral("One"), QStringLiteral("Three")}));
    ASSERT_EQ(browse->model()->rowCount(), 2);

    // The same category again reads nothing anew: the highlight stays where it was moved.
    QTest::keyClick(browse->list(), Qt::Key_Down);
    EXPECT_EQ(album(browse), QStringLiteral("Three"));
    chooseCategory(browse->button(BrowseAlbums::Action::SelectCategory), 'j');
    EXPECT_EQ(album(browse), QStringLiteral("Three"));
    // A picker left with Cancel changes nothing either.
    onModal([](QWidget* modal) { modal->close(); });
    QTest::mouseClick(browse->button(BrowseAlbums::Action::SelectCategory), Qt::LeftButton);
    EXPECT_EQ(browse->categoryRange(4), 4);
    EXPECT_EQ(album(browse), QStringLiteral("Three"));
    // Another category starts the page at the start of its range.
    browse->setCategoryRange(4, 7, QStringLiteral("Rock"));
    EXPECT_EQ(pageAlbums(browse), QStringList{QStringLiteral("Four")});
    EXPECT_EQ(messages.count(), 0) << messages.titles().join(u',').toStdString();
}

TEST_F(BrowseAlbumsTest, TheThumbStandsForTheOrderAndADragPositionsThere) {
    addMany();
    BrowseAlbums* browse = open();
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(browse->thumb()->value(), 0);
    // The new order keeps the album: "A000" is by "Z000", near the end of the artists.
    browse->tabs()->setCurrentIndex(1);
    ASSERT_LT(browse->cursor().pageSize(), 260);
    EXPECT_FALSE(browse->thumb()->isHidden());
    EXPECT_EQ(artist(browse), QStringLiteral("Z000"));
    EXPECT_GT(browse->thumb()->value(), 90);
    browse->dragThumbTo(0);
    EXPECT_EQ(artist(browse), QStringLiteral("A000"));
    EXPECT_EQ(browse->thumb()->value(), 0);
    browse->dragThumbTo(99);
    EXPECT_EQ(artist(browse), QStringLiteral("Z009"));
    browse->dragThumbTo(50);
    const QChar middle = artist(browse).at(0);
    EXPECT_GE(middle, QLatin1Char('K'));
    EXPECT_LE(middle, QLatin1Char('O'));
    browse->dragThumbTo(0);
    EXPECT_EQ(artist(browse), QStringLiteral("A000"));

    // The file number order samples its own field.
    browse->tabs()->setCurrentIndex(2);
    browse->dragThumbTo(99);
    EXPECT_EQ(browse->highlightedAlbum().text(ALB::FileNumber), QStringLiteral("F259"));
    EXPECT_EQ(browse->thumbSamples().order(), 3);
}

TEST_F(BrowseAlbumsTest, TheTabAndTheColumnLayoutSurviveTheWindow) {
    addMany();
    BrowseAlbums* browse = open();
    ASSERT_NE(browse, nullptr);
    browse->list()->horizontalHeader()->resizeSection(0, 300);
    browse->tabs()->setCurrentIndex(2);
    close(browse);
    EXPECT_EQ(context().preferencesFile.readInt(QStringLiteral("Settings"), QStringLiteral("AlbumTab")), 3);
    const QString original =
        context().positions.readString(QStringLiteral("BrowseAlbums"), QStringLiteral("SRCFOriginal?Browse:1"));
    EXPECT_TRUE(original.contains(QStringLiteral("~XCCD~"))) << original.toStdString();
    const QString saved = context().positions.readString(QStringLiteral("BrowseAlbums"), QStringLiteral("SRCF?Browse:1"));
    EXPECT_FALSE(saved.isEmpty());
    EXPECT_TRUE(context().positions.contains(QStringLiteral("BrowseAlbums"), QStringLiteral("Width")));

    browse = open();
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(browse->order(), 3);
    EXPECT_EQ(browse->tabs()->currentIndex(), 2);
    // The widened column comes back as the user left it.
    EXPECT_GE(browse->list()->horizontalHeader()->sectionSize(0), 300);
    close(browse);

    context().preferences.SaveLastTab = 0;
    browse = open();
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(browse->order(), 1);
}

TEST_F(BrowseAlbumsTest, KeysMoveTheHighlightAndTheListFollowsAnotherStationsChange) {
    addMany();
    BrowseAlbums* browse = open();
    ASSERT_NE(browse, nullptr);
    browse->tabs()->setCurrentIndex(1);
    QTest::keyClick(browse->list(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(artist(browse), QStringLiteral("Z009"));
    QTest::keyClick(browse->list(), Qt::Key_Up);
    EXPECT_EQ(artist(browse), QStringLiteral("Z008"));
    QTest::keyClick(browse->list(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(artist(browse), QStringLiteral("A000"));

    auto* watch = browse->findChild<TableWatch*>();
    ASSERT_NE(watch, nullptr);
    watch->timer().stop();
    QCoreApplication::processEvents();
    const qint64 highlighted = browse->highlightedAlbum().number(ALB::AlbumID);
    // Another station renames the highlighted album.
    {
        Store other(data.path());
        ASSERT_TRUE(other.connect());
        ASSERT_EQ(other.openFile(albumTable()), NoError);
        Table theirs(other, albumTable());
        Record a(albumTable());
        a.setNumber(ALB::AlbumID, highlighted);
        ASSERT_EQ(theirs.get(ALB::KeyAlbumID, a), NoError);
        a.setText(ALB::Album, QStringLiteral("Renamed elsewhere"));
        ASSERT_EQ(theirs.put(a), NoError);
    }
    EXPECT_NE(album(browse), QStringLiteral("Renamed elsewhere"));
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(browse, &activate);
    for (int i = 0; i < 20 && album(browse) != QStringLiteral("Renamed elsewhere"); ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(album(browse), QStringLiteral("Renamed elsewhere"));
    EXPECT_EQ(browse->highlightedAlbum().number(ALB::AlbumID), highlighted);
}

TEST_F(BrowseAlbumsTest, ACategoryChangedByAnotherStationReadsThePageAgain) {
    addCategory(4, QStringLiteral("Jazz"));
    addAlbum(1, QStringLiteral("Ann"), QStringLiteral("One"), QString(), 4);
    BrowseAlbums* browse = open();
    ASSERT_NE(browse, nullptr);
    auto* watch = browse->findChild<TableWatch*>();
    ASSERT_NE(watch, nullptr);
    watch->timer().stop();
    QCoreApplication::processEvents();
    QSignalSpy changed(watch, &TableWatch::changed);
    {
        Store other(data.path());
        ASSERT_TRUE(other.connect());
        ASSERT_EQ(other.openFile(categoriesTable()), NoError);
        Table theirs(other, categoriesTable());
        Record c(categoriesTable());
        c.setNumber(CAT::CategoryID, 4);
        ASSERT_EQ(theirs.get(CAT::KeyCategoryID, c), NoError);
        c.setText(CAT::Category, QStringLiteral("Modern Jazz"));
        ASSERT_EQ(theirs.put(c), NoError);
    }
    watch->check();
    EXPECT_TRUE(changed.count() > 0 || changed.wait(2000));
}

TEST_F(BrowseAlbumsTest, TheFramesAlbumsCommandOpensOneBrowserAndAQuitClosesItInOrder) {
    addAlbum(1, QStringLiteral("Ann"), QStringLiteral("One"));
    const int uses = context().access->useCount(albumTable());
    BrowseAlbums* browse = open();
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(context().access->useCount(albumTable()), uses + 1);
    browse->tabs()->setCurrentIndex(4);
    program->requestQuit();
    for (int i = 0; i < 50 && !program->frame()->workspace()->subWindowList().isEmpty(); ++i)
        QCoreApplication::processEvents();
    EXPECT_TRUE(program->frame()->workspace()->subWindowList().isEmpty());
    EXPECT_EQ(context().access->useCount(albumTable()), 0);
    EXPECT_EQ(context().access->useCount(categoriesTable()), 0);
    EXPECT_EQ(context().preferencesFile.readInt(QStringLiteral("Settings"), QStringLiteral("AlbumTab")), 5);
}

TEST_F(BrowseAlbumsTest, AddCopyChangeAndDeleteGoThroughTheFormAndTheListFollows) {
    addAlbum(7, QStringLiteral("Keith Jarrett"), QStringLiteral("Live"), QStringLiteral("E-1"));
    addAlbum(8, QStringLiteral("Nina Simone"), QStringLiteral("Pastel Blues"));
    BrowseAlbums* browse = open();
    ASSERT_NE(browse, nullptr);
    ASSERT_EQ(album(browse), QStringLiteral("Live"));

    // Insert adds: a cleared album, and the list goes to it.
    QString title;
    onForm([&title](AlbumForm* form) {
        title = form->windowTitle();
        EXPECT_TRUE(form->lineEdit(ALB::Album)->text().isEmpty());
        retype(form->lineEdit(ALB::Artist), QStringLiteral("Miles Davis"));
        retype(form->lineEdit(ALB::Album), QStringLiteral("Kind of Blue"));
        QTest::mouseClick(form->okButton(), Qt::LeftButton);
    });
    QTest::keyClick(browse->list(), Qt::Key_Insert);
    EXPECT_EQ(title, QStringLiteral("Adding an Album Record"));
    EXPECT_EQ(album(browse), QStringLiteral("Kind of Blue"));
    EXPECT_EQ(browse->windowTitle(), QStringLiteral("Albums - 3 entries"));
    EXPECT_EQ(albums().size(), 3);

    // Copy: an insert on the highlighted album's values.
    QTest::keyClick(browse->list(), Qt::Key_Home, Qt::ControlModifier);
    type(browse, QStringLiteral("li"));
    ASSERT_EQ(album(browse), QStringLiteral("Live"));
    QString copyName;
    onForm([&](AlbumForm* form) {
        copyName = form->lineEdit(ALB::Album)->text();
        EXPECT_EQ(form->lineEdit(ALB::Artist)->text(), QStringLiteral("Keith Jarrett"));
        QTest::mouseClick(form->okButton(), Qt::LeftButton);
    });
    // The popup's Copy item presses Copy.
    {
        std::unique_ptr<QMenu> menu(browse->buildPopup());
        QAction* copy = menu->actions().value(4);
        ASSERT_NE(copy, nullptr);
        ASSERT_EQ(copy->text(), QStringLiteral("Cop&y"));
        copy->trigger();
    }
    EXPECT_EQ(copyName, QStringLiteral("Live - Copy"));
    EXPECT_EQ(album(browse), QStringLiteral("Live - Copy"));
    const qint64 copyId = browse->highlightedAlbum().number(ALB::AlbumID);
    EXPECT_NE(copyId, 7);
    EXPECT_EQ(albums().size(), 4);

    // Ctrl+Enter changes; the list follows the new name.
    onForm([](AlbumForm* form) {
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Changing an Album Record"));
        retype(form->lineEdit(ALB::Album), QStringLiteral("Zurich Live"));
        QTest::mouseClick(form->okButton(), Qt::LeftButton);
    });
    QTest::keyClick(browse->list(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(album(browse), QStringLiteral("Zurich Live"));
    EXPECT_EQ(browse->highlightedAlbum().number(ALB::AlbumID), copyId);

    // A cancelled change leaves album and highlight alone.
    onForm([](AlbumForm* form) {
        retype(form->lineEdit(ALB::Album), QStringLiteral("Not kept"));
        QTest::mouseClick(form->cancelButton(), Qt::LeftButton);
    });
    browse->press(BrowseAlbums::Action::Change);
    EXPECT_EQ(album(browse), QStringLiteral("Zurich Live"));

    // Delete asks first; OK takes the album and its row.
    messages.addAnswer(ButtonOk);
    QTest::keyClick(browse->list(), Qt::Key_Delete);
    EXPECT_EQ(messages.titles().value(0), QStringLiteral("Confirm Delete"));
    EXPECT_EQ(albums().size(), 3);
    EXPECT_FALSE(pageAlbums(browse).contains(QStringLiteral("Zurich Live")));
    EXPECT_EQ(browse->windowTitle(), QStringLiteral("Albums - 3 entries"));

    // A double click changes the row under it.
    browse->model()->setHighlight(0);
    const QString first = album(browse);
    bool formUp = false;
    onForm([&formUp](AlbumForm* form) {
        formUp = form->windowTitle() == QStringLiteral("Changing an Album Record");
        QTest::mouseClick(form->cancelButton(), Qt::LeftButton);
    });
    const QRect cell = browse->list()->visualRect(browse->model()->index(0, 1));
    QTest::mouseClick(browse->list()->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QTest::mouseDClick(browse->list()->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    EXPECT_TRUE(formUp);
    EXPECT_EQ(album(browse), first);
}

TEST_F(BrowseAlbumsTest, AddOnACategoryTabStartsTheAlbumInThatTabsCategory) {
    addCategory(4, QStringLiteral("Jazz"));
    addCategory(7, QStringLiteral("Rock"));
    addAlbum(1, QStringLiteral("Ann"), QStringLiteral("One"), QString(), 4);
    BrowseAlbums* browse = open();
    ASSERT_NE(browse, nullptr);
    browse->tabs()->setCurrentIndex(4);
    browse->setCategoryRange(5, 7, QStringLiteral("Rock"));
    EXPECT_TRUE(pageAlbums(browse).isEmpty());
    QString shownCategory;
    onForm([&shownCategory](AlbumForm* form) {
        shownCategory = form->categoryList()->currentText();
        retype(form->lineEdit(ALB::Artist), QStringLiteral("Dee"));
        retype(form->lineEdit(ALB::Album), QStringLiteral("Four"));
        QTest::mouseClick(form->okButton(), Qt::LeftButton);
    });
    browse->press(BrowseAlbums::Action::Add);
    EXPECT_EQ(shownCategory, QStringLiteral("Rock"));
    EXPECT_EQ(pageAlbums(browse), QStringList{QStringLiteral("Four")});
    const QVector<Record> stored = albums();
    ASSERT_EQ(stored.size(), 2);
    EXPECT_EQ(stored[1].number(ALB::CategoryID), 7);

    // On a tab without a range the new album has none.
    browse->tabs()->setCurrentIndex(0);
    onForm([&shownCategory](AlbumForm* form) {
        shownCategory = form->categoryList()->currentText();
        retype(form->lineEdit(ALB::Album), QStringLiteral("Five"));
        QTest::mouseClick(form->okButton(), Qt::LeftButton);
    });
    browse->press(BrowseAlbums::Action::Add);
    EXPECT_EQ(shownCategory, QString());
    EXPECT_EQ(albums().last().number(ALB::CategoryID), 0);
    EXPECT_EQ(album(browse), QStringLiteral("Five"));
}

TEST_F(BrowseAlbumsTest, AQuitWhileTheBrowsersFormAddsLeavesNoPrimedAlbumAndClosesTheBrowser) {
    addAlbum(1, QStringLiteral("Ann"), QStringLiteral("One"));
    QPointer<BrowseAlbums> browse = open();
    ASSERT_FALSE(browse.isNull());
    bool formUp = false;
    onForm([this, &formUp](AlbumForm* form) {
        formUp = true;
        QTest::keyClicks(form->lineEdit(ALB::Album), QStringLiteral("Half typed"));
        QMetaObject::invokeMethod(program.get(), &Program::requestQuit, Qt::QueuedConnection);
    });
    browse->press(BrowseAlbums::Action::Add);
    EXPECT_TRUE(formUp);
    for (int i = 0; i < 50 && !browse.isNull(); ++i)
        QCoreApplication::processEvents();
    EXPECT_TRUE(browse.isNull());
    EXPECT_TRUE(program->frame()->workspace()->subWindowList().isEmpty());
    EXPECT_EQ(context().access->useCount(albumTable()), 0);
    const QVector<Record> left = albums();
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left[0].text(ALB::Album), QStringLiteral("One"));
}

} // namespace
