// "Generate Play List" driven as a user would, on a running program; the files are read back after.

#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "settings/IniFile.h"
#include "store/Store.h"
#include "store/Table.h"
#include "text/DayNumber.h"
#include "ui/ProgramContext.h"
#include "ui/playlists/BrowsePlaylists.h"
#include "ui/playlists/GeneratePlaylistLauncher.h"
#include "ui/playlists/GeneratePlaylistWindow.h"
#include "ui/services/CategoryDropList.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/PageModel.h"
#include "ui/services/ReleaseDateEntry.h"
#include "ui/shell/MainFrame.h"
#include "ui/support/ModalWindows.h"
#include "ui/support/ProgramFixture.h"

#include <QDate>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

using namespace srk;
using srk::testing::onModal;

namespace {

class GeneratePlaylistWindowTest : public srk::testing::ProgramFixture {
protected:
    void SetUp() override {
        catchSignals = true;
        ASSERT_NO_FATAL_FAILURE(startProgram());
        ended = std::make_unique<QSignalSpy>(program.get(), &Program::ended);
        TableUse use(*context().access);
        ASSERT_TRUE(use.open(categoriesTable()) && use.open(songsTable()));
        addCategory(1, QStringLiteral("Jazz"));
        addCategory(2, QStringLiteral("Rock"));
        // Songs 1-10 alternate between the two categories; the even ones are jazz of the nineties.
        for (int id = 1; id <= 10; ++id)
            addSong(id, id % 2 ? 2 : 1, dayNumberFromDate(QDate(id % 2 ? 1975 : 1995, 3, id)));
    }

    void addCategory(qint64 id, const QString& name) {
        Record c(categoriesTable());
        c.setNumber(CAT::CategoryID, id);
        c.setText(CAT::Category, name);
        ASSERT_EQ(Table(store(), categoriesTable()).add(c), NoError);
    }

    void addSong(qint64 id, qint64 category, qint64 released) {
        Record s(songsTable());
        s.setNumber(SON::ID, id);
        s.setText(SON::Title, QStringLiteral("Song %1").arg(id));
        s.setNumber(SON::CategoryID, category);
        s.setNumber(SON::ReleaseDate, released);
        ASSERT_EQ(Table(store(), songsTable()).add(s), NoError);
    }

    QVector<Record> rows(const TableDef& def) {
        QVector<Record> out;
        TableUse use(*context().access);
        EXPECT_TRUE(use.open(def));
        EXPECT_EQ(Table(store(), def).fetch(0, KeyAnchor::start(), true, 1000, out), NoError);
        return out;
    }

    static void type(QLineEdit* field, const QString& text) {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
    }

    std::unique_ptr<QSignalSpy> ended;
};

TEST_F(GeneratePlaylistWindowTest, TheTypedFieldsMakeAPlaylistOfMatchingSongs) {
    bool up = false;
    onModal([&up](QWidget* modal) {
        auto* window = qobject_cast<GeneratePlaylistWindow*>(modal);
        ASSERT_NE(window, nullptr);
        up = true;
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Generate Play List"));
        window->setRandom(PlaylistRandom(17));
        type(window->sizeField(), QStringLiteral("6"));
        type(window->startField(), QStringLiteral("01/01/1990"));
        type(window->endField(), QStringLiteral("12/31/1999"));
        type(window->categoryField()->lineEdit(), QStringLiteral("jazz"));
        QTest::mouseClick(window->weightingOption(QStringLiteral("Recent Addition")), Qt::LeftButton);
        QTest::mouseClick(window->okButton(), Qt::LeftButton);
    });
    openGeneratePlaylist(context(), program->frame());
    ASSERT_TRUE(up);
    const QVector<Record> headers = rows(playlistMasterTable());
    ASSERT_EQ(headers.size(), 1);
    EXPECT_EQ(headers[0].number(PLD::PlaylistID), 1);
    EXPECT_EQ(headers[0].text(PLD::PlaylistDescription), QStringLiteral("Play List #1"));
    const QVector<Record> lines = rows(playlistDetailsTable());
    ASSERT_EQ(lines.size(), 6);
    for (int i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].number(PLA::PlaylistID), 1);
        EXPECT_EQ(lines[i].number(PLA::PlaylistSeq), i + 1);
        // Only the jazz songs of the nineties pass: the even ones.
        EXPECT_EQ(lines[i].number(PLA::ID) % 2, 0) << lines[i].number(PLA::ID);
    }
    EXPECT_EQ(messages.count(), 0);
    EXPECT_TRUE(context().positions.contains(QStringLiteral("GeneratePlaylist"), QStringLiteral("Width")));
    // The window gave its tables back.
    EXPECT_EQ(context().access->useCount(playlistDetailsTable()), 0);
}

TEST_F(GeneratePlaylistWindowTest, TheProgramOpensItByItsProcedureNameAndASecondRunTakesTheNextNumber) {
    ASSERT_TRUE(program->frame()->hasWindow(QStringLiteral("GeneratePlaylist")));
    for (int run = 0; run < 2; ++run) {
        onModal([](QWidget* modal) {
            auto* window = qobject_cast<GeneratePlaylistWindow*>(modal);
            ASSERT_NE(window, nullptr);
            type(window->sizeField(), QStringLiteral("2"));
            QTest::keyClick(window->sizeField(), Qt::Key_Return);
        });
        program->frame()->runCommand(QStringLiteral("GeneratePlaylist"));
    }
    const QVector<Record> headers = rows(playlistMasterTable());
    ASSERT_EQ(headers.size(), 2);
    EXPECT_EQ(headers[1].text(PLD::PlaylistDescription), QStringLiteral("Play List #2"));
    EXPECT_EQ(rows(playlistDetailsTable()).size(), 4);
}

TEST_F(GeneratePlaylistWindowTest, ThePlaylistListOffersTheGeneratorAndShowsWhatItMade) {
    program->frame()->runCommand(BrowsePlaylists::Procedure);
    QMdiSubWindow* sub = program->frame()->workspace()->activeSubWindow();
    ASSERT_NE(sub, nullptr);
    QPointer<BrowsePlaylists> browse = qobject_cast<BrowsePlaylists*>(sub->widget());
    ASSERT_FALSE(browse.isNull());
    ASSERT_EQ(browse->model()->rowCount(), 0);
    std::unique_ptr<QMenu> menu(browse->buildPopup());
    const QList<QAction*> items = menu->actions();
    ASSERT_FALSE(items.isEmpty());
    EXPECT_EQ(items.last()->text(), QStringLiteral("Generate Play List"));
    EXPECT_TRUE(items.last()->isEnabled());
    bool up = false;
    onModal([&up](QWidget* modal) {
        auto* window = qobject_cast<GeneratePlaylistWindow*>(modal);
        ASSERT_NE(window, nullptr);
        up = true;
        type(window->sizeField(), QStringLiteral("4"));
        QTest::mouseClick(window->okButton(), Qt::LeftButton);
    });
    items.last()->trigger();
    EXPECT_TRUE(up);
    ASSERT_FALSE(browse.isNull());
    EXPECT_TRUE(QTest::qWaitFor([&] { return browse->model()->rowCount() == 1; }, 3000));
    EXPECT_EQ(browse->model()->index(0, 0).data().toString().trimmed(), QStringLiteral("Play List #1"));
    EXPECT_EQ(rows(playlistDetailsTable()).size(), 4);
}

TEST_F(GeneratePlaylistWindowTest, AnUnlistedCategoryOrABadDateKeepsTheWindowOpenAndCancelAddsNothing) {
    bool refusedCategory = false, refusedDate = false;
    onModal([&](QWidget* modal) {
        auto* window = qobject_cast<GeneratePlaylistWindow*>(modal);
        ASSERT_NE(window, nullptr);
        type(window->sizeField(), QStringLiteral("3"));
        type(window->categoryField()->lineEdit(), QStringLiteral("Polka"));
        QTest::mouseClick(window->okButton(), Qt::LeftButton);
        // Still open, the category selected again for another name.
        refusedCategory = window->isVisible() && window->categoryField()->lineEdit()->hasSelectedText();
        window->categoryField()->setEditText(QString());
        type(window->startField(), QStringLiteral("13/45/1990"));
        QTest::mouseClick(window->okButton(), Qt::LeftButton);
        refusedDate = window->isVisible() && window->startField()->hasSelectedText();
        QTest::mouseClick(window->cancelButton(), Qt::LeftButton);
    });
    openGeneratePlaylist(context(), program->frame());
    EXPECT_TRUE(refusedCategory);
    EXPECT_TRUE(refusedDate);
    // The bad date was explained; the unknown category only selected again.
    ASSERT_EQ(messages.count(), 1);
    EXPECT_TRUE(rows(playlistMasterTable()).isEmpty());
    EXPECT_TRUE(rows(playlistDetailsTable()).isEmpty());
}

TEST_F(GeneratePlaylistWindowTest, AQuitWhileTheWindowIsOpenCancelsItAndAddsNothing) {
    bool up = false;
    onModal([this, &up](QWidget* modal) {
        auto* window = qobject_cast<GeneratePlaylistWindow*>(modal);
        ASSERT_NE(window, nullptr);
        up = true;
        // While open the window holds its tables.
        EXPECT_GE(context().access->useCount(playlistMasterTable()), 1);
        EXPECT_GE(context().access->useCount(songsTable()), 1);
        type(window->sizeField(), QStringLiteral("9"));
        ::raise(SIGTERM);
    });
    QPointer<MainFrame> frame = program->frame();
    openGeneratePlaylist(context(), frame);
    EXPECT_TRUE(up);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ended->count() == 1; }, 5000));
    EXPECT_EQ(ModalWindows::instance().running(), 0);
    EXPECT_EQ(context().access->useCount(playlistMasterTable()), 0);
    EXPECT_EQ(context().access->useCount(songsTable()), 0);
    EXPECT_TRUE(rows(playlistMasterTable()).isEmpty());
    EXPECT_TRUE(rows(playlistDetailsTable()).isEmpty());
    EXPECT_TRUE(IniFile(data.file(QStringLiteral("POSITION.INI")))
                    .contains(QStringLiteral("GeneratePlaylist"), QStringLiteral("Width")));
}

}  // namespace
