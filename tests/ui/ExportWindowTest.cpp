// The export window driven offscreen: the marking rules of both lists through clicks and keys, the
// buttons, the refusal, and the file the run writes, in a started program on temporary folders.

#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "exchange/ExchangeFields.h"
#include "store/Store.h"
#include "store/Table.h"
#include "ui/ProgramContext.h"
#include "ui/exchange/AskPicture.h"
#include "ui/exchange/Export.h"
#include "ui/exchange/MarkedListView.h"
#include "ui/services/ModalWindows.h"
#include "ui/shell/MainFrame.h"
#include "ui/support/ModalWindows.h"
#include "ui/support/ProgramFixture.h"

#include <QCheckBox>
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

#include <gtest/gtest.h>

#include <csignal>

using namespace srk;
using srk::testing::onModal;
using B = Export::Button;

namespace {

class ExportWindow : public srk::testing::ProgramFixture {
protected:
    void SetUp() override {
        catchSignals = true;
        ASSERT_NO_FATAL_FAILURE(startProgram());
        frame = program->frame();
        frame->runCommand(Export::Procedure);
        QMdiSubWindow* sub = frame->workspace()->activeSubWindow();
        ASSERT_NE(sub, nullptr);
        window = qobject_cast<Export*>(sub->widget());
        ASSERT_FALSE(window.isNull());
    }

    void addSong(qint64 id, const QString& artist, const QString& title) {
        Record s(songsTable());
        s.setNumber(SON::ID, id);
        s.setText(SON::Artist, artist);
        s.setText(SON::Title, title);
        s.setText(SON::Media, QStringLiteral("CD"));
        ASSERT_TRUE(context().access->openTable(songsTable()).ok());
        ASSERT_EQ(Table(store(), songsTable()).add(s), NoError);
        context().access->closeTable(songsTable());
    }

    static void click(MarkedListView* list, int row, Qt::KeyboardModifiers modifiers = {}) {
        QTreeWidgetItem* item = list->topLevelItem(row);
        ASSERT_NE(item, nullptr);
        list->scrollToItem(item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, list->visualItemRect(item).center());
    }

    // The rows marked in the list as the window shows them: highlighted.
    static QVector<int> shownMarks(MarkedListView* list) {
        QVector<int> out;
        const QBrush highlight = list->palette().brush(QPalette::Highlight);
        for (int r = 0; r < list->topLevelItemCount(); ++r)
            if (list->topLevelItem(r)->background(0) == highlight)
                out.push_back(r);
        return out;
    }

    static QVector<int> range(int from, int to) {
        QVector<int> out;
        for (int i = from; i <= to; ++i)
            out.push_back(i);
        return out;
    }

    static QStringList names(MarkedListView* list) {
        QStringList out;
        for (int r = 0; r < list->topLevelItemCount(); ++r)
            out << list->topLevelItem(r)->text(0);
        return out;
    }

    static void chooseIn(const QString& path) {
        onModal([path](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Export File"));
            EXPECT_TRUE(dialog->nameFilters().first().startsWith(QStringLiteral("Export Files")));
            srk::testing::acceptFile(dialog, path);
        });
    }

    MainFrame* frame = nullptr;
    QPointer<Export> window;
};

TEST_F(ExportWindow, MarksFollowClicksCtrlClicksShiftRangesAndTheSpaceBar) {
    MarkedListView* all = window->allList();
    ASSERT_EQ(all->topLevelItemCount(), 23);
    EXPECT_EQ(all->topLevelItem(22)->text(0), QStringLiteral("CAT:Category"));
    EXPECT_EQ(all->topLevelItem(5)->text(1), QStringLiteral("@d2"));
    EXPECT_EQ(names(window->exportList()), names(all));

    click(all, 2);
    EXPECT_EQ(shownMarks(all), QVector<int>{2});
    click(all, 5, Qt::ControlModifier);
    EXPECT_EQ(shownMarks(all), (QVector<int>{2, 5}));
    click(all, 7, Qt::ShiftModifier);
    EXPECT_EQ(shownMarks(all), range(5, 7));
    // A moving key without Shift leaves the marks; with Shift it marks from the anchor.
    QTest::keyClick(all, Qt::Key_Down);
    EXPECT_EQ(shownMarks(all), range(5, 7));
    QTest::keyClick(all, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(shownMarks(all), range(5, 9));
    QTest::keyClick(all, Qt::Key_Space);
    EXPECT_EQ(shownMarks(all), range(5, 8));
    // The space bar made row 9 the anchor.
    QTest::keyClick(all, Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(shownMarks(all), range(0, 9));
    QTest::keyClick(all, Qt::Key_A);
    EXPECT_EQ(shownMarks(all), range(0, 9));
    QTest::keyClick(all, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(shownMarks(all), range(9, 22));
    click(all, 12, Qt::ControlModifier);
    QVector<int> expected = range(9, 22);
    expected.removeOne(12);
    EXPECT_EQ(shownMarks(all), expected);
    // The other list keeps its own marks.
    EXPECT_TRUE(shownMarks(window->exportList()).isEmpty());
}

TEST_F(ExportWindow, ChosenFieldsWithAPictureAreWrittenAndAnEmptyChoiceIsRefused) {
    addSong(1, QStringLiteral("Beta"), QStringLiteral("Second"));
    addSong(2, QStringLiteral("Alpha"), QStringLiteral("Say \"hi\""));
    MarkedListView* all = window->allList();
    MarkedListView* chosen = window->exportList();

    click(chosen, 0);
    QTest::keyClick(chosen, Qt::Key_End, Qt::ShiftModifier);
    QTest::mouseClick(window->button(B::Remove), Qt::LeftButton);
    EXPECT_EQ(chosen->topLevelItemCount(), 0);
    QTest::mouseClick(window->button(B::Ok), Qt::LeftButton);
    ASSERT_EQ(messages.titles(), QStringList{QStringLiteral("No Fields Selected for Export!")});
    EXPECT_EQ(messages.last().text, QStringLiteral("You must select one or more fields to export."));
    ASSERT_FALSE(window.isNull());
    messages.clear();
    // With nothing to give a picture to, "&Picture" sends the user to the fields to choose from.
    window->exportList()->setFocus();
    QTest::mouseClick(window->button(B::Picture), Qt::LeftButton);
    EXPECT_EQ(all->window()->focusWidget(), all);
    EXPECT_EQ(messages.count(), 0);

    click(all, 1);
    click(all, 0, Qt::ControlModifier);
    QTest::mouseClick(window->button(B::Add), Qt::LeftButton);
    EXPECT_EQ(names(chosen), (QStringList{QStringLiteral("SON:Artist"), QStringLiteral("SON:Title")}));
    EXPECT_EQ(chosen->currentItem(), chosen->topLevelItem(0));
    // Added again, a field is only marked.
    click(all, 1);
    QTest::mouseClick(window->button(B::Add), Qt::LeftButton);
    EXPECT_EQ(chosen->topLevelItemCount(), 2);

    click(chosen, 0);
    EXPECT_EQ(window->typeDisplay()->text(), QStringLiteral("Alpha-numeric"));
    QTest::mouseClick(window->button(B::ShiftDown), Qt::LeftButton);
    EXPECT_EQ(names(chosen), (QStringList{QStringLiteral("SON:Title"), QStringLiteral("SON:Artist")}));
    EXPECT_EQ(chosen->currentItem(), chosen->topLevelItem(1));
    QTest::mouseClick(window->button(B::ShiftDown), Qt::LeftButton);
    EXPECT_EQ(chosen->currentItem(), chosen->topLevelItem(1));
    QTest::mouseClick(window->button(B::ShiftUp), Qt::LeftButton);
    EXPECT_EQ(names(chosen), (QStringList{QStringLiteral("SON:Artist"), QStringLiteral("SON:Title")}));
    QTest::mouseClick(window->button(B::ShiftUp), Qt::LeftButton);
    EXPECT_EQ(chosen->currentItem(), chosen->topLevelItem(0));
    QTest::mouseClick(window->button(B::ShiftDown), Qt::LeftButton);
    EXPECT_EQ(names(chosen), (QStringList{QStringLiteral("SON:Title"), QStringLiteral("SON:Artist")}));

    onModal([](QWidget* modal) {
        auto* entry = qobject_cast<PictureEntry*>(modal);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->entry()->text(), QStringLiteral("@s40"));
        entry->entry()->setText(QStringLiteral("@n3"));
        entry->accept();
    });
    QTest::mouseClick(window->button(B::Picture), Qt::LeftButton);
    EXPECT_EQ(chosen->topLevelItem(1)->text(1), QStringLiteral("@n3"));
    EXPECT_EQ(window->typeDisplay()->text(), QStringLiteral("Numeric"));
    EXPECT_TRUE(window->headerBox()->isChecked());

    const QString path = data.file(QStringLiteral("out.csv"));
    chooseIn(path);
    QTest::mouseClick(window->button(B::Ok), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 5000));
    EXPECT_TRUE(messages.titles().isEmpty()) << messages.titles().join(u'|').toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // Artist order; the artist through a number picture is its numeric value.
    EXPECT_EQ(file.readAll(), QByteArray("\"SON:Title\",\"SON:Artist\"\r\n"
                                         "\"Say \"\"hi\"\"\",0\r\n"
                                         "\"Second\",0\r\n"));
}

TEST_F(ExportWindow, AFullDiskIsReportedOnceAndACancelledFileDialogWritesNothing) {
    addSong(1, QStringLiteral("Bob"), QStringLiteral("Song"));
    onModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    QTest::mouseClick(window->button(B::Ok), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 2000));
    EXPECT_TRUE(messages.titles().isEmpty());

    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    frame->runCommand(Export::Procedure);
    QPointer<Export> again = qobject_cast<Export*>(frame->workspace()->activeSubWindow()->widget());
    ASSERT_FALSE(again.isNull());
    QTest::mouseClick(again->headerBox(), Qt::LeftButton, {}, QPoint(5, again->headerBox()->height() / 2));
    EXPECT_FALSE(again->headerBox()->isChecked());
    messages.addAnswer(ButtonRetry);
    messages.addAnswer(ButtonAbort);
    chooseIn(QStringLiteral("/dev/full"));
    QTest::mouseClick(again->button(B::Ok), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return again.isNull(); }, 5000));
    // Asked, retried, asked again and given up: no second report under the progress window's title.
    EXPECT_EQ(messages.titles(),
              (QStringList{QStringLiteral("Cannot ADD to /dev/full"), QStringLiteral("Cannot ADD to /dev/full")}));
    EXPECT_EQ(messages.last().buttons, ButtonAbort | ButtonRetry);
}

TEST_F(ExportWindow, AQuitWithTheWindowAndItsFileDialogUpClosesInOrder) {
    QSignalSpy ended(program.get(), &Program::ended);
    bool asked = false;
    onModal([&asked](QWidget* modal) {
        asked = qobject_cast<QFileDialog*>(modal) != nullptr;
        ::raise(SIGTERM);
    });
    QTest::mouseClick(window->button(B::Ok), Qt::LeftButton);
    EXPECT_TRUE(asked);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ended.count() == 1; }, 5000));
    EXPECT_EQ(ModalWindows::instance().running(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 2000));
    EXPECT_EQ(context().access->useCount(songsTable()), 0);
    EXPECT_TRUE(frame->workspace()->subWindowList().isEmpty());
}

}  // namespace
