// The song picker through its real window over a started program on temporary folders: its orders,
// columns and title, the locator, the category range, the ways a song is chosen or the picker left,
// the layout it keeps, a quit while it is up, and columns that show their texts whole.

#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "settings/IniFile.h"
#include "store/PageCursor.h"
#include "store/Store.h"
#include "store/Table.h"
#include "text/DayNumber.h"
#include "text/Picture.h"
#include "ui/ProgramContext.h"
#include "ui/services/ListColumns.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/PageModel.h"
#include "ui/services/TableWatch.h"
#include "ui/shell/MainFrame.h"
#include "ui/shell/Program.h"
#include "ui/songs/BrowseSongs.h"
#include "ui/songs/LookupBrowse.h"
#include "ui/songs/SelectFileNumber.h"
#include "ui/songs/SongTabBar.h"
#include "ui/support/ModalWindows.h"
#include "ui/support/ProgramFixture.h"

#include <QAction>
#include <QDate>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

using namespace srk;
using namespace Qt::StringLiterals;
using srk::testing::onModal;

namespace {

class SelectFileNumberTest : public srk::testing::ProgramFixture {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(startProgram()); }

    void addSong(qint64 id, const QString& artist, const QString& title, const QString& media = QString(),
                 qint64 category = 0, qint64 released = 0) {
        Record s(songsTable());
        s.setNumber(SON::ID, id);
        s.setText(SON::Artist, artist);
        s.setText(SON::Title, title);
        s.setText(SON::Media, media);
        s.setText(SON::FileNumber, QStringLiteral("F%1").arg(id));
        s.setNumber(SON::CategoryID, category);
        s.setNumber(SON::ReleaseDate, released);
        ASSERT_EQ(Table(store(), songsTable()).add(s), NoError);
    }

    void addCategory(qint64 id, const QString& name) {
        Record c(categoriesTable());
        c.setNumber(CAT::CategoryID, id);
        c.setText(CAT::Category, name);
        TableUse use(*context().access);
        ASSERT_TRUE(use.open(categoriesTable()));
        ASSERT_EQ(Table(store(), categoriesTable()).add(c), NoError);
    }

    // Runs the picker with `action` done on its window; returns the response and the song chosen.
    WindowResponse pick(std::function<void(SelectFileNumber*)> action, Record& chosen,
                        WindowRequest request = WindowRequest::Select) {
        bool up = false;
        onModal([&up, action](QWidget* modal) {
            auto* picker = qobject_cast<SelectFileNumber*>(modal);
            ASSERT_NE(picker, nullptr) << modal->windowTitle().toStdString();
            up = true;
            QCoreApplication::processEvents();
            action(picker);
        });
        const WindowResponse response = SelectFileNumber::select(context(), chosen, program->frame(), request);
        EXPECT_TRUE(up);
        return response;
    }

    static QStringList headers(const BrowseSongs* b) {
        QStringList out;
        for (int i = 0; i < b->columns().format().columnCount(); ++i)
            out << b->columns().header(i);
        return out;
    }
    static QString artist(const BrowseSongs* b) { return b->highlightedSong().text(SON::Artist); }
    static QVector<QString> pageArtists(BrowseSongs* b) {
        QVector<QString> out;
        for (const PageRow& r : b->cursor().rows())
            out << r.primary().text(SON::Artist);
        return out;
    }
    static QPushButton* labelled(QWidget* window, const QString& text) {
        for (QPushButton* b : window->findChildren<QPushButton*>())
            if (b->text() == text)
                return b;
        return nullptr;
    }
};

TEST_F(SelectFileNumberTest, ShowsSixOrdersItsColumnsAndTitleAndOnlySelectAndClose) {
    addCategory(4, QStringLiteral("Jazz"));
    addSong(1, QStringLiteral("Bob"), QStringLiteral("Two"), QStringLiteral("LP"), 4, 1997);
    addSong(2, QStringLiteral("Ann"), QStringLiteral("One"), QStringLiteral("CD"), 0,
            dayNumberFromDate(QDate(1971, 10, 31)));
    addSong(3, QStringLiteral("Cy"), QStringLiteral("Three"), QStringLiteral("CD"));
    Record chosen;
    const WindowResponse response = pick(
        [](SelectFileNumber* picker) {
            BrowseSongs* b = picker->browse();
            EXPECT_EQ(b->role(), BrowseSongs::Role::Picker);
            EXPECT_EQ(picker->windowTitle(), QStringLiteral("Browse Music Database - 3 entries"));
            QStringList tabs;
            for (int i = 0; i < b->tabs()->count(); ++i)
                tabs << b->tabs()->plainText(i);
            EXPECT_EQ(tabs.join(u','), QStringLiteral("By Artist,By Title,By Album,By Media,By Category,By Chart #"));
            EXPECT_EQ(headers(b).join(u','),
                      QStringLiteral("Artist,Title,Album,Media,File Number,Release Date,Category"));
            QStringList prompts;
            for (QLabel* l : picker->findChildren<QLabel*>())
                prompts << l->text();
            EXPECT_TRUE(prompts.contains(QStringLiteral("Locator:")));
            QStringList shown;
            for (QPushButton* p : picker->findChildren<QPushButton*>())
                if (p->isVisibleTo(picker))
                    shown << p->text();
            EXPECT_EQ(shown.join(u','), QStringLiteral("&Select,Cl&ose"));
            // Ann (a full date), Bob (a bare year, shown as the year), Cy.
            ASSERT_EQ(pageArtists(b), (QVector<QString>{u"Ann"_s, u"Bob"_s, u"Cy"_s}));
            EXPECT_EQ(b->columns().display(5, b->model()->index(1, 5).data()), QStringLiteral("1997"));
            EXPECT_FALSE(b->columns().display(5, b->model()->index(0, 5).data()).isEmpty());
            EXPECT_NE(b->columns().display(5, b->model()->index(0, 5).data()), QStringLiteral("1971"));
            EXPECT_EQ(b->model()->index(1, 6).data().toString(), QStringLiteral("Jazz"));
            EXPECT_EQ(b->model()->index(1, 4).data().toString(), QStringLiteral("F1"));

            // "By Media" reads every medium: no range, no "Select Media".
            b->tabs()->setCurrentIndex(3);
            QCoreApplication::processEvents();
            EXPECT_EQ(b->activeFilterText(), QString());
            EXPECT_FALSE(b->button(BrowseSongs::Action::SelectMedia)->isVisibleTo(picker));
            EXPECT_EQ(pageArtists(b), (QVector<QString>{u"Ann"_s, u"Cy"_s, u"Bob"_s}));  // CD F2, CD F3, LP F1

            // The popup offers "&Select" only; the picker's other actions start nothing.
            std::unique_ptr<QMenu> menu(b->buildPopup());
            QStringList items;
            for (QAction* a : menu->actions())
                if (!a->isSeparator())
                    items << a->text() + (a->isEnabled() ? QString() : QStringLiteral("(grey)"));
            EXPECT_EQ(items.join(u','), QStringLiteral("&Select"));
            b->press(BrowseSongs::Action::Add);
            b->press(BrowseSongs::Action::Search);
            EXPECT_EQ(ModalWindows::instance().running(), 1);
            QTest::keyClick(b->list(), Qt::Key_Escape);
        },
        chosen);
    EXPECT_EQ(response, WindowResponse::Cancelled);
    EXPECT_EQ(Table(store(), songsTable()).records(), 3);
}

TEST_F(SelectFileNumberTest, TheLocatorAndATabChangeKeepTheSongThatSelectReturns) {
    addSong(1, QStringLiteral("Ann"), QStringLiteral("Zulu"));
    addSong(2, QStringLiteral("Bob"), QStringLiteral("Alpha"));
    addSong(3, QStringLiteral("Cy"), QStringLiteral("Mike"));
    addSong(4, QStringLiteral("Dee"), QStringLiteral("Bravo"));
    Record chosen;
    const WindowResponse response = pick(
        [](SelectFileNumber* picker) {
            BrowseSongs* b = picker->browse();
            QTest::keyClick(b->list(), 'c');
            EXPECT_EQ(b->locatorEntry()->text(), QStringLiteral("c"));
            EXPECT_EQ(artist(b), QStringLiteral("Cy"));
            b->tabs()->setCurrentIndex(1);  // By Title: Alpha, Bravo, Mike, Zulu
            QCoreApplication::processEvents();
            EXPECT_EQ(artist(b), QStringLiteral("Cy"));
            EXPECT_EQ(b->locatorEntry()->text(), QString());
            QTest::keyClick(b->list(), 'b');
            EXPECT_EQ(artist(b), QStringLiteral("Dee"));
            QTest::mouseClick(labelled(picker, QStringLiteral("&Select")), Qt::LeftButton);
        },
        chosen);
    EXPECT_EQ(response, WindowResponse::Completed);
    EXPECT_EQ(chosen.number(SON::ID), 4);
    EXPECT_EQ(chosen.text(SON::Title), QStringLiteral("Bravo"));
    // The picker keeps the browser's last tab as it was.
    EXPECT_FALSE(context().preferencesFile.contains(QStringLiteral("Settings"), QStringLiteral("SongTab")));
}

TEST_F(SelectFileNumberTest, TheCategoryTabReadsTheCategoryChosenInItsPicker) {
    addCategory(2, QStringLiteral("Blues"));
    addCategory(4, QStringLiteral("Jazz"));
    addSong(1, QStringLiteral("Ann"), QStringLiteral("One"), QString(), 4);
    addSong(2, QStringLiteral("Bob"), QStringLiteral("Two"), QString(), 2);
    addSong(3, QStringLiteral("Cy"), QStringLiteral("Three"), QString(), 4);
    Record chosen;
    const WindowResponse response = pick(
        [](SelectFileNumber* picker) {
            BrowseSongs* b = picker->browse();
            b->tabs()->setCurrentIndex(4);
            QCoreApplication::processEvents();
            QPushButton* selectCategory = b->button(BrowseSongs::Action::SelectCategory);
            EXPECT_EQ(selectCategory->text(), QStringLiteral("&Select Category"));
            EXPECT_TRUE(selectCategory->isVisibleTo(picker));
            EXPECT_TRUE(pageArtists(b).isEmpty());  // no category chosen yet
            onModal([](QWidget* modal) {
                auto* categories = modal->findChild<LookupBrowse*>();
                ASSERT_NE(categories, nullptr);
                QTest::keyClick(categories->list(), 'j');
                QTest::mouseClick(categories->button(LookupBrowse::Action::Select), Qt::LeftButton);
            });
            QTest::mouseClick(selectCategory, Qt::LeftButton);
            EXPECT_EQ(b->categoryRange(), 4);
            EXPECT_EQ(pageArtists(b), (QVector<QString>{u"Ann"_s, u"Cy"_s}));
            QTest::keyClick(b->list(), 'c');
            EXPECT_EQ(artist(b), QStringLiteral("Cy"));
            QTest::keyClick(b->list(), Qt::Key_Return);
        },
        chosen);
    EXPECT_EQ(response, WindowResponse::Completed);
    EXPECT_EQ(chosen.number(SON::ID), 3);
    EXPECT_EQ(chosen.number(SON::CategoryID), 4);
}

TEST_F(SelectFileNumberTest, EnterDoubleClickAndThePopupChooseTheHighlightedSong) {
    addSong(1, QStringLiteral("Ann"), QStringLiteral("One"));
    addSong(2, QStringLiteral("Bob"), QStringLiteral("Two"));
    addSong(3, QStringLiteral("Cy"), QStringLiteral("Three"));
    Record chosen;
    EXPECT_EQ(pick(
                  [](SelectFileNumber* picker) {
                      BrowseSongs* b = picker->browse();
                      QTest::keyClick(b->list(), Qt::Key_Down);
                      EXPECT_EQ(artist(b), QStringLiteral("Bob"));
                      QTest::keyClick(b->list(), Qt::Key_Enter);
                  },
                  chosen),
              WindowResponse::Completed);
    EXPECT_EQ(chosen.number(SON::ID), 2);

    chosen = Record();
    EXPECT_EQ(pick(
                  [](SelectFileNumber* picker) {
                      BrowseSongs* b = picker->browse();
                      const QPoint at = b->list()->visualRect(b->model()->index(2, 0)).center();
                      QTest::mouseClick(b->list()->viewport(), Qt::LeftButton, {}, at);
                      QTest::mouseDClick(b->list()->viewport(), Qt::LeftButton, {}, at);
                  },
                  chosen),
              WindowResponse::Completed);
    EXPECT_EQ(chosen.text(SON::Artist), QStringLiteral("Cy"));

    chosen = Record();
    EXPECT_EQ(pick(
                  [](SelectFileNumber* picker) {
                      BrowseSongs* b = picker->browse();
                      std::unique_ptr<QMenu> menu(b->buildPopup());
                      ASSERT_FALSE(menu->actions().isEmpty());
                      menu->actions().first()->trigger();
                  },
                  chosen),
              WindowResponse::Completed);
    EXPECT_EQ(chosen.text(SON::Artist), QStringLiteral("Ann"));
}

TEST_F(SelectFileNumberTest, CloseEscapeAndAnotherRequestChooseNothing) {
    addSong(1, QStringLiteral("Ann"), QStringLiteral("One"));
    const int songUses = context().access->useCount(songsTable());
    const int categoryUses = context().access->useCount(categoriesTable());
    Record chosen;
    EXPECT_EQ(pick([](SelectFileNumber* picker) {
                  QTest::mouseClick(labelled(picker, QStringLiteral("Cl&ose")), Qt::LeftButton);
              }, chosen),
              WindowResponse::Cancelled);
    EXPECT_EQ(pick([](SelectFileNumber* picker) { QTest::keyClick(picker->browse()->list(), Qt::Key_Escape); },
                   chosen),
              WindowResponse::Cancelled);
    EXPECT_FALSE(chosen.isValid());

    // Outside select mode "&Select" is greyed, in the popup as well, and Enter chooses nothing.
    EXPECT_EQ(pick(
                  [](SelectFileNumber* picker) {
                      BrowseSongs* b = picker->browse();
                      EXPECT_FALSE(labelled(picker, QStringLiteral("&Select"))->isEnabled());
                      std::unique_ptr<QMenu> menu(b->buildPopup());
                      ASSERT_EQ(menu->actions().size(), 1);
                      EXPECT_FALSE(menu->actions().first()->isEnabled());
                      QTest::keyClick(b->list(), Qt::Key_Return);
                      EXPECT_TRUE(picker->isVisible());
                      QTest::mouseClick(labelled(picker, QStringLiteral("Cl&ose")), Qt::LeftButton);
                  },
                  chosen, WindowRequest::Change),
              WindowResponse::Cancelled);
    EXPECT_FALSE(chosen.isValid());
    // Each picker gave back the tables it opened.
    EXPECT_EQ(context().access->useCount(songsTable()), songUses);
    EXPECT_EQ(context().access->useCount(categoriesTable()), categoryUses);
}

TEST_F(SelectFileNumberTest, ThePickerKeepsItsOwnColumnLayoutAndPlacement) {
    addSong(1, QStringLiteral("Ann"), QStringLiteral("One"));
    Record chosen;
    int widened = 0;
    pick(
        [&widened](SelectFileNumber* picker) {
            QHeaderView* header = picker->browse()->list()->horizontalHeader();
            widened = header->sectionSize(1) + 57;
            header->resizeSection(1, widened);
            QTest::keyClick(picker->browse()->list(), Qt::Key_Escape);
        },
        chosen);
    const IniFile& positions = context().positions;
    EXPECT_TRUE(positions.contains(QStringLiteral("SelectFileNumber"), QStringLiteral("SRCF?Browse")));
    EXPECT_TRUE(positions.contains(QStringLiteral("SelectFileNumber"), QStringLiteral("Width")));
    EXPECT_FALSE(positions.contains(QStringLiteral("BrowseSongs"), QStringLiteral("SRCF?Browse")));

    int reopened = 0;
    pick(
        [&reopened](SelectFileNumber* picker) {
            reopened = picker->browse()->list()->horizontalHeader()->sectionSize(1);
            QTest::keyClick(picker->browse()->list(), Qt::Key_Escape);
        },
        chosen);
    EXPECT_EQ(reopened, widened);
}

TEST_F(SelectFileNumberTest, NoColumnIsNarrowerThanItsHeaderOrItsDateAndTheButtonsFit) {
    addSong(1, QStringLiteral("Ann"), QStringLiteral("One"), QStringLiteral("CD"), 0,
            dayNumberFromDate(QDate(1999, 9, 29)));
    Record chosen;
    pick(
        [](SelectFileNumber* picker) {
            BrowseSongs* b = picker->browse();
            const QTableView* view = b->list();
            const QHeaderView* header = view->horizontalHeader();
            const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
            for (int i = 0; i < header->count(); ++i) {
                const int need = QFontMetrics(header->font()).horizontalAdvance(b->columns().header(i)) + 2 * margin;
                EXPECT_GE(header->sectionSize(i), need) << b->columns().header(i).toStdString();
            }
            const QString picture = b->columns().format().columns().at(5).picture.value_or(QString());
            int widest = 0;
            for (QDate d(1997, 1, 1); d.year() == 1997; d = d.addDays(1))
                widest = std::max(widest, QFontMetrics(view->font())
                                              .horizontalAdvance(format(qint64(dayNumberFromDate(d)), picture)));
            EXPECT_GT(widest, 0);
            EXPECT_GE(header->sectionSize(5), widest);
            QFont bold = picker->font();
            bold.setBold(true);
            EXPECT_GE(picker->width(), QFontMetrics(bold).horizontalAdvance(picker->windowTitle()));
            for (QPushButton* p : picker->findChildren<QPushButton*>()) {
                if (!p->isVisibleTo(picker))
                    continue;
                const QRect r(p->mapTo(picker, QPoint(0, 0)), p->size());
                EXPECT_TRUE(picker->rect().contains(r)) << p->text().toStdString();
                EXPECT_GE(p->width(), p->minimumSizeHint().width()) << p->text().toStdString();
            }
            QTest::keyClick(b->list(), Qt::Key_Escape);
        },
        chosen);
}

TEST_F(SelectFileNumberTest, AnotherStationsSongShowsInTheOpenPickerKeepingTheHighlight) {
    addSong(1, QStringLiteral("Ann"), QStringLiteral("One"));
    addSong(2, QStringLiteral("Cy"), QStringLiteral("Two"));
    Record chosen;
    pick(
        [this](SelectFileNumber* picker) {
            BrowseSongs* b = picker->browse();
            QTest::keyClick(b->list(), 'c');
            ASSERT_EQ(artist(b), QStringLiteral("Cy"));
            auto* watch = b->findChild<TableWatch*>();
            ASSERT_NE(watch, nullptr);
            Store other(data.path());
            ASSERT_TRUE(other.connect());
            ASSERT_EQ(other.openFile(songsTable()), NoError);
            Record s(songsTable());
            s.setNumber(SON::ID, 3);
            s.setText(SON::Artist, QStringLiteral("Bob"));
            ASSERT_EQ(Table(other, songsTable()).add(s), NoError);
            watch->check();
            EXPECT_TRUE(QTest::qWaitFor([&] { return picker->windowTitle() == QStringLiteral("Browse Music Database - 3 entries"); }, 3000));
            EXPECT_EQ(pageArtists(b), (QVector<QString>{u"Ann"_s, u"Bob"_s, u"Cy"_s}));
            EXPECT_EQ(artist(b), QStringLiteral("Cy"));
            QTest::keyClick(b->list(), Qt::Key_Return);
        },
        chosen);
    EXPECT_EQ(chosen.number(SON::ID), 2);
}

class SelectFileNumberQuit : public SelectFileNumberTest {
protected:
    void SetUp() override {
        catchSignals = true;
        ASSERT_NO_FATAL_FAILURE(startProgram());
        ended = std::make_unique<QSignalSpy>(program.get(), &Program::ended);
    }
    std::unique_ptr<QSignalSpy> ended;
};

TEST_F(SelectFileNumberQuit, AQuitWhileThePickerIsUpCancelsItAndClosesTheFrameInOrder) {
    addSong(1, QStringLiteral("Ann"), QStringLiteral("One"));
    MainFrame* frame = program->frame();
    bool endedFirst = false;
    Record chosen;
    const WindowResponse response = pick(
        [&](SelectFileNumber* picker) {
            QObject::connect(picker, &QDialog::finished, [&] { endedFirst = ended->count() == 0; });
            ::raise(SIGTERM);
        },
        chosen);
    EXPECT_EQ(response, WindowResponse::Cancelled);
    EXPECT_TRUE(endedFirst);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ended->count() == 1; }, 5000));
    EXPECT_EQ(ModalWindows::instance().running(), 0);
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(context().access->useCount(songsTable()), 0);
    EXPECT_EQ(context().access->useCount(categoriesTable()), 0);
    IniFile positions(data.file(QStringLiteral("POSITION.INI")));
    EXPECT_TRUE(positions.contains(QStringLiteral("SelectFileNumber"), QStringLiteral("Width")));
    EXPECT_TRUE(positions.contains(QStringLiteral("Main"), QStringLiteral("Width")));
}

} // namespace
