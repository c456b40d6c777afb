// The import window driven offscreen through its buttons and lists, in a started program on temporary
// folders: the file dialog and its empty-file loop, mapping by "A&uto" and by hand, pictures, "&Next",
// the refusals, and the songs the run leaves in the song table.

#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "exchange/ExchangeFields.h"
#include "store/Store.h"
#include "store/Table.h"
#include "text/DayNumber.h"
#include "ui/ProgramContext.h"
#include "ui/exchange/AskPicture.h"
#include "ui/exchange/Import.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/ProgressWindow.h"
#include "ui/shell/MainFrame.h"
#include "ui/songs/BrowseSongs.h"
#include "ui/support/ModalWindows.h"
#include "ui/support/ProgramFixture.h"

#include <QCheckBox>
#include <QDate>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <csignal>

using namespace srk;
using srk::testing::onModal;
using B = Import::Button;

namespace {

class ImportWindow : public srk::testing::ProgramFixture {
protected:
    void SetUp() override {
        catchSignals = true;
        ASSERT_NO_FATAL_FAILURE(startProgram());
        frame = program->frame();
    }

    QString writeFile(const QString& name, const QByteArray& bytes) {
        const QString path = data.file(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    // Chooses `path` in the next file dialog.
    static void chooseIn(const QString& path, QString* title = nullptr, QStringList* filters = nullptr) {
        onModal([path, title, filters](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            if (title)
                *title = dialog->windowTitle();
            if (filters)
                *filters = dialog->nameFilters();
            srk::testing::acceptFile(dialog, path);
        });
    }

    Import* openOn(const QString& path) {
        chooseIn(path);
        frame->runCommand(Import::Procedure);
        QMdiSubWindow* sub = frame->workspace()->activeSubWindow();
        return sub ? qobject_cast<Import*>(sub->widget()) : nullptr;
    }

    QVector<Record> songs() {
        QVector<Record> out;
        TableUse use(*context().access);
        EXPECT_TRUE(use.open(songsTable()));
        EXPECT_EQ(Table(store(), songsTable()).fetch(-1, KeyAnchor::start(), true, 1000, out), NoError);
        return out;
    }

    QVector<Record> categories() {
        QVector<Record> out;
        TableUse use(*context().access);
        EXPECT_TRUE(use.open(categoriesTable()));
        EXPECT_EQ(Table(store(), categoriesTable()).fetch(-1, KeyAnchor::start(), true, 1000, out), NoError);
        return out;
    }

    static int target(const QString& name) {
        for (int t = 0; t < importTargets().size(); ++t)
            if (importTargets()[t].name == name)
                return t;
        return -1;
    }

    static void choose(QTreeWidget* list, int row) {
        QTreeWidgetItem* item = list->topLevelItem(row);
        ASSERT_NE(item, nullptr);
        list->scrollToItem(item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    }

    static int current(QTreeWidget* list) {
        return list->currentItem() ? list->indexOfTopLevelItem(list->currentItem()) : -1;
    }

    MainFrame* frame = nullptr;
};

TEST_F(ImportWindow, AHeaderWrittenByTheExportIsMappedAutomaticallyAndTheSongsAreAdded) {
    const QString path = writeFile(
        QStringLiteral("songs.csv"),
        "\"SON:Artist\",\"SON:Title\",\"SON:ReleaseDate\",\"SON:Media\",\"SON:CategoryID\",\"CAT:Category\"\r\n"
        "\"Björk\",\"Jóga, \"\"live\"\"\",\"10/06/1997\",\"D\",3,\"Pop\"\r\n"
        "\"Nina Simone\",\"Feeling Good\",\"\",\"d\",3,\"pop\"\r\n");
    QString title;
    QStringList filters;
    chooseIn(path, &title, &filters);
    frame->runCommand(Import::Procedure);
    QMdiSubWindow* sub = frame->workspace()->activeSubWindow();
    ASSERT_NE(sub, nullptr);
    QPointer<Import> window = qobject_cast<Import*>(sub->widget());
    ASSERT_FALSE(window.isNull());
    EXPECT_EQ(title, QStringLiteral("Import File"));
    EXPECT_TRUE(filters.first().startsWith(QStringLiteral("Import Files")));
    EXPECT_TRUE(filters.first().contains(QStringLiteral("*.CSV")));

    QTreeWidget* fields = window->fieldList();
    ASSERT_EQ(fields->topLevelItemCount(), 6);
    EXPECT_EQ(fields->topLevelItem(0)->text(0), QStringLiteral("Field_1"));
    EXPECT_EQ(fields->topLevelItem(0)->text(1), QStringLiteral("Alpha-num"));
    EXPECT_EQ(fields->topLevelItem(0)->text(2), QStringLiteral("SON:Artist"));
    // Unquoted in the second line: read as a number.
    EXPECT_EQ(fields->topLevelItem(4)->text(1), QStringLiteral("Numeric"));

    QTreeWidget* targets = window->targetList();
    ASSERT_EQ(targets->topLevelItemCount(), 22);
    EXPECT_EQ(targets->topLevelItem(21)->text(0), QStringLiteral("SON:Notes"));
    EXPECT_EQ(targets->topLevelItem(0)->text(1), QStringLiteral("="));
    EXPECT_EQ(targets->topLevelItem(0)->text(2), QStringLiteral("Field_1"));
    // The category target takes the name column, not the numbers.
    EXPECT_EQ(targets->topLevelItem(target(QStringLiteral("SON:CategoryID")))->text(2), QStringLiteral("Field_6"));
    EXPECT_TRUE(targets->topLevelItem(target(QStringLiteral("SON:Composer")))->text(1).isEmpty());
    EXPECT_TRUE(window->headerBox()->isChecked());

    QTest::mouseClick(window->button(B::Ok), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 5000));
    EXPECT_TRUE(messages.titles().isEmpty()) << messages.titles().join(u'|').toStdString();

    const QVector<Record> added = songs();
    ASSERT_EQ(added.size(), 2);
    const QVector<Record> cats = categories();
    ASSERT_EQ(cats.size(), 1);
    EXPECT_EQ(cats[0].text(CAT::Category), QStringLiteral("Pop"));
    EXPECT_EQ(added[0].text(SON::Artist), QStringLiteral("Björk"));
    EXPECT_EQ(added[0].text(SON::Title), QStringLiteral("Jóga, \"live\""));
    EXPECT_EQ(added[0].number(SON::ReleaseDate), dayNumberFromDate(QDate(1997, 10, 6)));
    EXPECT_EQ(added[0].text(SON::Media), QStringLiteral("Cassette (DBX)"));
    EXPECT_EQ(added[1].text(SON::Media), QStringLiteral("d"));
    EXPECT_EQ(added[1].number(SON::ReleaseDate), 0);
    EXPECT_EQ(added[0].number(SON::CategoryID), cats[0].number(CAT::CategoryID));
    EXPECT_EQ(added[1].number(SON::CategoryID), cats[0].number(CAT::CategoryID));
    EXPECT_NE(added[0].number(SON::ID), added[1].number(SON::ID));
}

TEST_F(ImportWindow, FieldsAssignedByHandWithADatePictureAndWithoutTheHeaderStrip) {
    const QString path = writeFile(QStringLiteral("plain.csv"),
                                   "Miles Davis,So What,08/17/1959,1\nJohn Coltrane,Naima,12/09/1959,2\n");
    QPointer<Import> window = openOn(path);
    ASSERT_FALSE(window.isNull());
    // Nothing in the first line names a field, yet the header box is ticked as the window opens.
    EXPECT_TRUE(window->headerBox()->isChecked());
    for (int t = 0; t < 22; ++t)
        EXPECT_TRUE(window->targetList()->topLevelItem(t)->text(1).isEmpty());

    QTreeWidget* fields = window->fieldList();
    QTreeWidget* targets = window->targetList();
    const struct {
        int field;
        QString target;
    } hand[] = {{0, QStringLiteral("SON:Artist")}, {1, QStringLiteral("SON:Title")},
                {2, QStringLiteral("SON:ReleaseDate")}, {3, QStringLiteral("SON:TrackNumber")},
                {1, QStringLiteral("SON:Notes")}};
    for (const auto& h : hand) {
        choose(fields, h.field);
        choose(targets, target(h.target));
        QTest::mouseClick(window->button(B::Assign), Qt::LeftButton);
        EXPECT_EQ(targets->topLevelItem(target(h.target))->text(2), fields->topLevelItem(h.field)->text(0));
    }

    // The dates need a date picture: one without the at-sign is refused and asked again.
    choose(fields, 2);
    QString firstEntry;
    onModal([&firstEntry](QWidget* modal) {
        auto* entry = qobject_cast<PictureEntry*>(modal);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->windowTitle(), QStringLiteral("Enter Picture..."));
        firstEntry = entry->entry()->text();
        entry->entry()->setText(QStringLiteral("d2"));
        entry->accept();
        EXPECT_TRUE(entry->isVisible());
        EXPECT_TRUE(entry->entry()->hasSelectedText());
        entry->entry()->setText(QStringLiteral("@d2"));
        QTest::mouseClick(srk::testing::buttonWithText(entry, QStringLiteral("&OK")), Qt::LeftButton);
    });
    QTest::mouseClick(window->button(B::Picture), Qt::LeftButton);
    // Unquoted on the second line: offered as a number first.
    EXPECT_EQ(firstEntry, QStringLiteral("@N30.9"));
    ASSERT_EQ(messages.titles(), QStringList{QStringLiteral("Invalid Picture!")});
    EXPECT_EQ(messages.last().text, QStringLiteral("Pictures must begin with \"@\""));
    EXPECT_EQ(fields->topLevelItem(2)->text(1), QStringLiteral("@d2"));
    messages.clear();

    // A cancelled picture leaves the one given.
    onModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    QTest::mouseClick(window->button(B::Picture), Qt::LeftButton);
    EXPECT_EQ(fields->topLevelItem(2)->text(1), QStringLiteral("@d2"));

    // Unassigned again, the notes stay empty.
    choose(targets, target(QStringLiteral("SON:Notes")));
    QTest::mouseClick(window->button(B::Unassign), Qt::LeftButton);
    EXPECT_TRUE(targets->topLevelItem(target(QStringLiteral("SON:Notes")))->text(1).isEmpty());

    QTest::mouseClick(window->headerBox(), Qt::LeftButton, {}, QPoint(5, window->headerBox()->height() / 2));
    EXPECT_FALSE(window->headerBox()->isChecked());
    QTest::mouseClick(window->button(B::Ok), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 5000));

    const QVector<Record> added = songs();
    ASSERT_EQ(added.size(), 2);
    EXPECT_EQ(added[0].text(SON::Artist), QStringLiteral("Miles Davis"));
    EXPECT_EQ(added[0].text(SON::Title), QStringLiteral("So What"));
    EXPECT_EQ(added[0].number(SON::ReleaseDate), dayNumberFromDate(QDate(1959, 8, 17)));
    EXPECT_EQ(added[1].number(SON::ReleaseDate), dayNumberFromDate(QDate(1959, 12, 9)));
    EXPECT_EQ(added[1].number(SON::TrackNumber), 2);
    EXPECT_TRUE(added[0].text(SON::Notes).isEmpty());
}

TEST_F(ImportWindow, NextWalksTheLinesAndTheTwoListsFollowEachOther) {
    const QString path = writeFile(QStringLiteral("three.csv"),
                                   "\"SON:Title\",\"SON:Artist\"\r\n\"One\",\"A\"\r\n\"Two\",\"B\"\r\n");
    QPointer<Import> window = openOn(path);
    ASSERT_FALSE(window.isNull());
    QTreeWidget* fields = window->fieldList();
    QTreeWidget* targets = window->targetList();
    EXPECT_EQ(window->recordNumber()->text(), QStringLiteral("1"));
    EXPECT_TRUE(window->button(B::Auto)->isEnabled());

    // Selecting a column highlights its target; selecting an assigned target highlights its column.
    choose(fields, 1);
    EXPECT_EQ(current(targets), target(QStringLiteral("SON:Artist")));
    choose(targets, target(QStringLiteral("SON:Title")));
    EXPECT_EQ(current(fields), 0);
    // An unassigned target leaves the column where it is.
    choose(targets, target(QStringLiteral("SON:Style")));
    EXPECT_EQ(current(fields), 0);

    QTest::mouseClick(window->button(B::Next), Qt::LeftButton);
    EXPECT_EQ(window->recordNumber()->text(), QStringLiteral("2"));
    EXPECT_EQ(fields->topLevelItem(0)->text(2), QStringLiteral("One"));
    EXPECT_EQ(fields->topLevelItem(1)->text(2), QStringLiteral("A"));
    EXPECT_FALSE(window->button(B::Auto)->isEnabled());
    EXPECT_TRUE(window->button(B::Next)->isEnabled());
    QTest::mouseClick(window->button(B::Next), Qt::LeftButton);
    EXPECT_EQ(window->recordNumber()->text(), QStringLiteral("3"));
    EXPECT_EQ(fields->topLevelItem(0)->text(2), QStringLiteral("Two"));
    EXPECT_FALSE(window->button(B::Next)->isEnabled());
    // The mapping made before is untouched by the walk.
    EXPECT_EQ(targets->topLevelItem(target(QStringLiteral("SON:Artist")))->text(2), QStringLiteral("Field_2"));

    QTest::mouseClick(window->button(B::Cancel), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 2000));
    EXPECT_TRUE(songs().isEmpty());
}

TEST_F(ImportWindow, AnEmptyFileIsRefusedAndAMappingWithoutTargetsDoesNotRun) {
    const QString empty = writeFile(QStringLiteral("empty.csv"), "");
    const QString path = writeFile(QStringLiteral("one.csv"), "\"SON:Artist\"\r\n\"Solo\"\r\n");
    int dialogs = 0;
    onModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        ++dialogs;
        // The dialog comes again after the empty file's message.
        chooseIn(path);
        ++dialogs;
        srk::testing::acceptFile(dialog, empty);
    });
    frame->runCommand(Import::Procedure);
    QMdiSubWindow* sub = frame->workspace()->activeSubWindow();
    ASSERT_NE(sub, nullptr);
    QPointer<Import> window = qobject_cast<Import*>(sub->widget());
    ASSERT_FALSE(window.isNull());
    EXPECT_EQ(dialogs, 2);
    ASSERT_EQ(messages.titles(), QStringList{QStringLiteral("Attention!")});
    EXPECT_EQ(messages.last().text, QStringLiteral("That file is empty!  Please pick another file."));
    messages.clear();

    choose(window->targetList(), 0);
    QTest::mouseClick(window->button(B::Unassign), Qt::LeftButton);
    QTest::mouseClick(window->button(B::Ok), Qt::LeftButton);
    ASSERT_EQ(messages.titles(), QStringList{QStringLiteral("No Fields Selected for Import!")});
    EXPECT_EQ(messages.last().text, QStringLiteral("You must select one or more fields to import."));
    ASSERT_FALSE(window.isNull());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(songs().isEmpty());

    // A cancelled dialog opens nothing.
    onModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    const int before = int(frame->workspace()->subWindowList().size());
    frame->runCommand(Import::Procedure);
    EXPECT_EQ(int(frame->workspace()->subWindowList().size()), before);
}

TEST_F(ImportWindow, AQuitWithTheWindowAndItsPictureEntryUpClosesInOrder) {
    const QString path = writeFile(QStringLiteral("q.csv"), "\"SON:Artist\"\r\n\"Solo\"\r\n");
    QPointer<Import> window = openOn(path);
    ASSERT_FALSE(window.isNull());
    QSignalSpy ended(program.get(), &Program::ended);
    bool asked = false;
    onModal([&asked](QWidget* modal) {
        asked = qobject_cast<PictureEntry*>(modal) != nullptr;
        ::raise(SIGTERM);
    });
    QTest::mouseClick(window->button(B::Picture), Qt::LeftButton);
    EXPECT_TRUE(asked);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ended.count() == 1; }, 5000));
    EXPECT_EQ(ModalWindows::instance().running(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 2000));
    EXPECT_EQ(context().access->useCount(songsTable()), 0);
    EXPECT_TRUE(songs().isEmpty());
}

TEST_F(ImportWindow, AQuitDuringTheRunKeepsTheSongsAddedBeforeIt) {
    QByteArray bytes("\"SON:Artist\",\"SON:Title\"\r\n");
    const int lines = 20000;
    for (int i = 1; i <= lines; ++i)
        bytes += "\"Artist\",\"Title " + QByteArray::number(i) + "\"\r\n";
    QPointer<Import> window = openOn(writeFile(QStringLiteral("many.csv"), bytes));
    ASSERT_FALSE(window.isNull());
    QSignalSpy ended(program.get(), &Program::ended);
    QString progressTitle;
    onModal([&progressTitle](QWidget* modal) {
        auto* progress = qobject_cast<ProgressWindow*>(modal);
        ASSERT_NE(progress, nullptr);
        progressTitle = progress->windowTitle();
        // The quit comes once the run has shown some progress.
        auto* watch = new QTimer(progress);
        QObject::connect(watch, &QTimer::timeout, progress, [progress, watch] {
            if (progress->percentLine() == ProgressWindow::percentText(0))
                return;
            watch->stop();
            ::raise(SIGTERM);
        });
        watch->start(2);
    });
    QTest::mouseClick(window->button(B::Ok), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ended.count() == 1; }, 10000));
    EXPECT_EQ(progressTitle, QStringLiteral("Importing Records"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 2000));
    EXPECT_EQ(context().access->useCount(songsTable()), 0);
    EXPECT_EQ(context().access->useCount(categoriesTable()), 0);
    // Stopped part way: the songs kept are the first lines of the file, in order.
    QVector<Record> kept;
    {
        TableUse use(*context().access);
        ASSERT_TRUE(use.open(songsTable()));
        ASSERT_EQ(Table(store(), songsTable()).fetch(-1, KeyAnchor::start(), true, lines, kept), NoError);
    }
    ASSERT_GT(kept.size(), 0);
    ASSERT_LT(kept.size(), lines);
    for (int i = 0; i < kept.size(); ++i)
        ASSERT_EQ(kept[i].text(SON::Title), QStringLiteral("Title %1").arg(i + 1));
}

TEST_F(ImportWindow, TheSongListsImportAndExportButtonsOpenTheWindows) {
    frame->runCommand(BrowseSongs::Procedure);
    QPointer<BrowseSongs> browse = qobject_cast<BrowseSongs*>(frame->workspace()->activeSubWindow()->widget());
    ASSERT_FALSE(browse.isNull());
    const QString path = writeFile(QStringLiteral("b.csv"), "\"SON:Artist\"\r\n\"Solo\"\r\n");
    chooseIn(path);
    browse->press(BrowseSongs::Action::Import);
    QMdiSubWindow* sub = frame->workspace()->activeSubWindow();
    ASSERT_NE(sub, nullptr);
    auto* import = qobject_cast<Import*>(sub->widget());
    ASSERT_NE(import, nullptr);
    EXPECT_EQ(import->mapping().path(), path);
    browse->press(BrowseSongs::Action::Export);
    sub = frame->workspace()->activeSubWindow();
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->widget()->objectName(), QStringLiteral("EXPORT"));
}

}  // namespace
