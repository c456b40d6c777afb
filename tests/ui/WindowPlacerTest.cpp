// Windows of a started program keep their placement: a form opened and closed again and again stays
// put, a maximised list comes back maximised, and a placement saved on a screen that is gone is brought
// back onto the screens present. Also the frame's printer set-up.

#include "catalog/Tables.h"
#include "settings/IniFile.h"
#include "ui/ProgramContext.h"
#include "ui/shell/MainFrame.h"
#include "ui/shell/PrintSetupDialog.h"
#include "ui/songs/BrowseSongs.h"
#include "ui/songs/SongForm.h"
#include "ui/support/ModalWindows.h"
#include "ui/support/ProgramFixture.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

using namespace srk;
using srk::testing::onModal;

namespace {

class WindowPlacerTest : public srk::testing::ProgramFixture {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(startProgram()); }

    BrowseSongs* openSongs() {
        program->frame()->runCommand(BrowseSongs::Procedure);
        QMdiSubWindow* sub = program->frame()->workspace()->activeSubWindow();
        QCoreApplication::processEvents();
        return sub ? qobject_cast<BrowseSongs*>(sub->widget()) : nullptr;
    }

    // Opens the song form for a new song from the list, runs `action` on it, then cancels it.
    void withSongForm(BrowseSongs* browse, std::function<void(SongForm*)> action) {
        onModal([action](QWidget* modal) {
            auto* form = qobject_cast<SongForm*>(modal);
            ASSERT_NE(form, nullptr);
            action(form);
            form->reject();
        });
        browse->press(BrowseSongs::Action::Add);
    }

    QRect saved(const QString& section) {
        const IniFile& p = context().positions;
        return QRect(
            p.readInt(section, QStringLiteral("XPosit")), p.readInt(section, QStringLiteral("YPosit")),
            p.readInt(section, QStringLiteral("Width")), p.readInt(section, QStringLiteral("Height")));
    }

    static QRect screenArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }
};

TEST_F(WindowPlacerTest, TheSongFormOpenedAndClosedTenTimesStaysWhereItWasLeft) {
    BrowseSongs* browse = openSongs();
    ASSERT_NE(browse, nullptr);
    QRect placed;
    withSongForm(browse, [&placed](SongForm* form) {
        form->QWidget::move(60, 40);
        placed = form->geometry();
    });
    // The saved position is where the window's own area begins, not its frame.
    ASSERT_EQ(saved(QStringLiteral("UpdateSong")), placed);

    QVector<QRect> seen;
    for (int i = 0; i < 10; ++i)
        withSongForm(browse, [&seen](SongForm* form) { seen << form->geometry(); });
    ASSERT_EQ(seen.size(), 10);
    for (const QRect& g : seen)
        EXPECT_EQ(g, placed);
    EXPECT_EQ(saved(QStringLiteral("UpdateSong")), placed);
}

TEST_F(WindowPlacerTest, AMaximisedSongListComesBackMaximisedAndKeepsItsNormalPlace) {
    BrowseSongs* browse = openSongs();
    ASSERT_NE(browse, nullptr);
    auto* sub = qobject_cast<QMdiSubWindow*>(browse->parentWidget());
    ASSERT_NE(sub, nullptr);
    sub->setGeometry(30, 20, 900, 400);
    QCoreApplication::processEvents();
    sub->showMaximized();
    QCoreApplication::processEvents();
    ASSERT_TRUE(sub->isMaximized());
    browse->press(BrowseSongs::Action::Close);
    QCoreApplication::processEvents();
    EXPECT_EQ(context().positions.readString(BrowseSongs::Procedure, QStringLiteral("Maximize")),
              QStringLiteral("Yes"));
    EXPECT_EQ(saved(BrowseSongs::Procedure), QRect(30, 20, 900, 400));

    BrowseSongs* again = openSongs();
    ASSERT_NE(again, nullptr);
    auto* sub2 = qobject_cast<QMdiSubWindow*>(again->parentWidget());
    ASSERT_NE(sub2, nullptr);
    EXPECT_TRUE(sub2->isMaximized());
    // Closed maximised again, it still knows where it was before it was maximised.
    again->press(BrowseSongs::Action::Close);
    QCoreApplication::processEvents();
    EXPECT_EQ(context().positions.readString(BrowseSongs::Procedure, QStringLiteral("Maximize")),
              QStringLiteral("Yes"));
    EXPECT_EQ(saved(BrowseSongs::Procedure), QRect(30, 20, 900, 400));
}

TEST_F(WindowPlacerTest, PlacesSavedOnScreensThatAreGoneAreBroughtBackOnScreen) {
    IniFile& p = context().positions;
    auto place = [&p](const QString& section, int x, int y, int w, int h) {
        p.writeInt(section, QStringLiteral("XPosit"), x);
        p.writeInt(section, QStringLiteral("YPosit"), y);
        p.writeInt(section, QStringLiteral("Width"), w);
        p.writeInt(section, QStringLiteral("Height"), h);
        p.writeString(section, QStringLiteral("Maximize"), QStringLiteral("No"));
    };
    place(QStringLiteral("UpdateSong"), 5200, 3900, 500, 400);
    place(BrowseSongs::Procedure, -4000, 2500, 420, 260);

    BrowseSongs* browse = openSongs();
    ASSERT_NE(browse, nullptr);
    auto* sub = qobject_cast<QMdiSubWindow*>(browse->parentWidget());
    ASSERT_NE(sub, nullptr);
    const QRect workspace = program->frame()->workspace()->viewport()->rect();
    EXPECT_TRUE(workspace.contains(sub->geometry())) << sub->geometry().x() << "," << sub->geometry().y();
    // Shrunk only to what its controls still need.
    EXPECT_EQ(sub->size(), QSize(420, 260).expandedTo(sub->minimumSizeHint()).boundedTo(workspace.size()));

    QRect form;
    withSongForm(browse, [&form](SongForm* f) { form = f->geometry(); });
    EXPECT_TRUE(screenArea().contains(form))
        << form.x() << "," << form.y() << " " << form.width() << "x" << form.height();

    // The frame itself, saved far above and left of every screen.
    place(QStringLiteral("Main"), -3000, -2000, 700, 500);
    MainFrame second(context());
    EXPECT_TRUE(screenArea().contains(second.geometry()));
    EXPECT_EQ(second.size(), QSize(700, 500));
}

TEST_F(WindowPlacerTest, PrintSetupChoosesPrinterAndPaperAndPrintsNothing) {
    const QString pdf = data.file(QStringLiteral("out.pdf"));
    QAction* entry =
        program->frame()->menuAction(QStringLiteral("&File"), QStringLiteral("&Print Setup ..."));
    ASSERT_NE(entry, nullptr);
    QStringList buttons;
    onModal([&buttons, pdf](QWidget* modal) {
        auto* setup = qobject_cast<PrintSetupDialog*>(modal);
        ASSERT_NE(setup, nullptr);
        for (QPushButton* b : setup->findChildren<QPushButton*>())
            buttons << b->text();
        setup->printerList()->setCurrentText(PrintSetupDialog::PdfEntry);
        setup->fileEntry()->setText(pdf);
        setup->paperList()->setCurrentText(QPageSize::name(QPageSize::A5));
        setup->landscape()->setChecked(true);
        QTest::mouseClick(srk::testing::buttonWithText(setup, QStringLiteral("OK")), Qt::LeftButton);
    });
    entry->trigger();
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("OK"), QStringLiteral("Cancel")}));
    QPrinter& printer = program->frame()->printer();
    EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(printer.outputFileName(), pdf);
    EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A5);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_FALSE(QFile::exists(pdf));

    // Cancel leaves the set-up as it was, and the dialog shows what was chosen before.
    QString shownPaper;
    onModal([&shownPaper](QWidget* modal) {
        auto* setup = qobject_cast<PrintSetupDialog*>(modal);
        ASSERT_NE(setup, nullptr);
        shownPaper = setup->paperList()->currentText();
        setup->paperList()->setCurrentText(QPageSize::name(QPageSize::Letter));
        setup->portrait()->setChecked(true);
        setup->reject();
    });
    entry->trigger();
    EXPECT_EQ(shownPaper, QPageSize::name(QPageSize::A5));
    EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A5);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
}

} // namespace
