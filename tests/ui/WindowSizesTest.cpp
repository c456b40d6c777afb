// Windows and lists that show their own texts whole: columns at least as wide as their header and the
// widest text of their picture, free width given to the text columns, windows that open large enough
// for their controls and title, a form tool bar without an overflow button and a bold tab that fits.
// Everything is measured with the fonts of the offscreen platform.

#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "store/Store.h"
#include "store/Table.h"
#include "support/ModalWindows.h"
#include "support/ProgramFixture.h"
#include "text/DayNumber.h"
#include "text/Picture.h"
#include "ui/query/QueryWizard.h"
#include "ui/services/FormToolBar.h"
#include "ui/services/ListColumns.h"
#include "ui/DialogMessages.h"
#include "ui/shell/CompileDate.h"
#include "ui/shell/MainFrame.h"
#include "ui/ProgramContext.h"
#include "ui/songs/BrowseMedia.h"
#include "ui/albums/BrowseAlbums.h"
#include "ui/songs/BrowseSongs.h"
#include "ui/songs/SelectAlbum.h"
#include "ui/songs/SongTabBar.h"
#include "ui/songs/UpdateCategories.h"
#include "ui/songs/UpdateSong.h"
#include "ui/cd/CDSetup.h"
#include "ui/playlists/UpdatePlaylistDetails.h"
#include "songs/SongQueryFields.h"

#include <QApplication>
#include <QDate>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScreen>
#include <QStandardItemModel>
#include <QStyle>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace srk;
using namespace Qt::StringLiterals;
using srk::testing::onModal;

namespace {

const QString kSongDesign = u"80L(2)|M~Artist~@s40@"
                            "80L(2)|M~Title~@s40@"
                            "80L(2)|M~Album~@s40@"
                            "50L(2)|M~Media~@s20@"
                            "50L(2)|M~File Number~@s20@"
                            "60L(2)|M~Category~@s30@"
                            "42R(2)|M~Time~@t4b@"
                            "52R(2)|M~Released~@d17b@"
                            "24R(2)|M~BPM~@n_4b@"
                            "60L(2)|M~User Defined Key Field~@s30@"
                            "52R(2)|M~Last Played~@d17-@"
                            "60L(2)|M~Style~@s30@"_s;

// What a header section needs to show its text: the text and the header's margins.
int headerNeed(const QHeaderView* header, const QString& text) {
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    return QFontMetrics(header->font()).horizontalAdvance(text) + 2 * margin;
}

// The widest text a date picture makes over a whole year (every month and weekday), in a font.
int widestDate(const QFont& font, const QString& picture) {
    int widest = 0;
    for (QDate d(1997, 1, 1); d.year() == 1997; d = d.addDays(1))
        widest = std::max(widest, QFontMetrics(font).horizontalAdvance(format(qint64(dayNumberFromDate(d)), picture)));
    return widest;
}

// Every column of a list at least as wide as its header and, for the date, time and number pictures,
// its widest text with the cell's margins and indent.
void expectColumnsShowTheirTexts(const QTableView* view, const ListColumns& columns) {
    const QHeaderView* header = view->horizontalHeader();
    const int cellMargin = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
    for (int i = 0; i < columns.format().columnCount(); ++i) {
        const ListFormatColumn& c = columns.format().columns().at(i);
        const int width = header->sectionSize(i);
        EXPECT_GE(width, headerNeed(header, columns.header(i))) << columns.header(i).toStdString();
        const QString picture = c.picture.value_or(QString());
        const int indent = c.indent ? ListColumns::toPixels(view->font(), *c.indent) : 0;
        const Picture p = parsePicture(picture);
        int widest = 0;
        if (p.kind == PictureKind::Date)
            widest = widestDate(view->font(), picture);
        else if (p.kind == PictureKind::Time)
            widest = QFontMetrics(view->font()).horizontalAdvance(format(qint64(timeValue(23, 59, 59)), picture));
        else if (p.kind == PictureKind::Number)
            widest = QFontMetrics(view->font()).horizontalAdvance(format(qint64(9999), picture));
        if (widest > 0) {
            EXPECT_GE(width, widest + cellMargin + indent) << columns.header(i).toStdString();
        }
    }
}

bool isTextColumn(const ListColumns& columns, int i) {
    const Picture p = parsePicture(columns.format().columns().at(i).picture.value_or(QString()));
    return p.kind == PictureKind::Text;
}

// The overflow ("»") button a tool bar shows when its buttons do not fit.
bool overflows(const QWidget* window) {
    for (const QToolButton* b : window->findChildren<QToolButton*>(u"qt_toolbar_ext_button"_s))
        if (b->isVisible())
            return true;
    return false;
}

// A shown window: as large as its controls ask (a dialog opens at its size hint), its title fits, and
// every visible button lies wholly inside it.
void expectWindowHoldsItsControls(QWidget* window) {
    const std::string title = window->windowTitle().toStdString();
    if (window->isWindow()) {
        // Qt opens a window at most two thirds of the screen large unless its minimum asks for more.
        const QSize hint = window->sizeHint().boundedTo(window->screen()->availableSize() * 2 / 3);
        EXPECT_GE(window->width(), hint.width()) << title;
        EXPECT_GE(window->height(), hint.height()) << title;
    }
    EXPECT_GE(window->width(), window->minimumSizeHint().width()) << title;
    EXPECT_GE(window->height(), window->minimumSizeHint().height()) << title;
    QFont bold = window->font();
    bold.setBold(true);
    EXPECT_GE(window->width(), QFontMetrics(bold).horizontalAdvance(window->windowTitle())) << title;
    for (QPushButton* b : window->findChildren<QPushButton*>()) {
        if (!b->isVisibleTo(window))
            continue;
        const QRect r(b->mapTo(window, QPoint(0, 0)), b->size());
        EXPECT_TRUE(window->rect().contains(r)) << title << ": " << b->text().toStdString();
        EXPECT_GE(b->width(), b->minimumSizeHint().width()) << title << ": " << b->text().toStdString();
    }
}

class WindowSizesTest : public srk::testing::ProgramFixture {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(startProgram()); }

    void addMedia(const QString& name) {
        Record m(mediaTable());
        m.setText(MED::Media, name);
        TableUse use(*context().access);
        ASSERT_TRUE(use.open(mediaTable()));
        ASSERT_EQ(Table(store(), mediaTable()).add(m), NoError);
    }
};

} // namespace

TEST(ListColumnWidths, NoColumnIsNarrowerThanItsHeaderOrItsWidestTextAndTextColumnsTakeTheRest) {
    QStandardItemModel model(3, 12);
    QTableView view;
    view.setModel(&model);
    view.resize(400, 200);
    ListColumns columns;
    ASSERT_TRUE(columns.apply(&view, kSongDesign));
    // Too narrow a list: every column keeps at least what it needs, the design stays as it was.
    expectColumnsShowTheirTexts(&view, columns);
    EXPECT_EQ(columns.currentFormat(), kSongDesign);

    // A wide list: the free width goes to the text columns only, and fills the list.
    view.resize(3000, 300);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QHeaderView* header = view.horizontalHeader();
    int total = 0;
    for (int i = 0; i < header->count(); ++i) {
        total += header->sectionSize(i);
        const ListFormatColumn& c = columns.format().columns().at(i);
        const int designed = ListColumns::toPixels(view.font(), *c.width);
        if (isTextColumn(columns, i)) {
            EXPECT_GT(header->sectionSize(i), designed) << columns.header(i).toStdString();
        }
    }
    EXPECT_EQ(total, view.viewport()->width());
    expectColumnsShowTheirTexts(&view, columns);
    const int released = header->sectionSize(7);
    // The share of free width is the window's, not the layout's: the saved format is still the design.
    EXPECT_EQ(columns.currentFormat(), kSongDesign);

    // Narrowing the list takes the share back; dates keep their width.
    view.resize(1200, 300);
    QCoreApplication::processEvents();
    EXPECT_EQ(header->sectionSize(7), released);
    expectColumnsShowTheirTexts(&view, columns);
}

TEST_F(WindowSizesTest, TheSongListShowsEveryHeaderAndDateWholeAndFillsAMaximisedWindow) {
    program->frame()->runCommand(BrowseSongs::Procedure);
    QMdiSubWindow* sub = program->frame()->workspace()->activeSubWindow();
    ASSERT_NE(sub, nullptr);
    auto* browse = qobject_cast<BrowseSongs*>(sub->widget());
    ASSERT_NE(browse, nullptr);
    sub->showMaximized();
    QCoreApplication::processEvents();
    expectWindowHoldsItsControls(browse);

    const QTableView* view = browse->list();
    const QHeaderView* header = view->horizontalHeader();
    int total = 0;
    for (int i = 0; i < header->count(); ++i)
        total += header->sectionSize(i);
    const int released = header->sectionSize(7);
    EXPECT_GE(released, widestDate(view->font(), u"@d17b"_s));
    EXPECT_GE(header->sectionSize(4), headerNeed(header, u"File Number"_s));
    EXPECT_GE(header->sectionSize(10), headerNeed(header, u"Last Played"_s));
    // The list is either filled to its width or scrolls because the columns need more.
    EXPECT_GE(total, view->viewport()->width());

    // The selected tab's bold text with its blanks fits its tab, whichever tab is selected.
    SongTabBar* tabs = browse->tabs();
    const int space = tabs->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, tabs);
    QFont bold = tabs->font();
    bold.setBold(true);
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QCoreApplication::processEvents();
        EXPECT_TRUE(tabs->tabText(i).endsWith(u"   "_s));
        EXPECT_GE(tabs->tabRect(i).width() - space, QFontMetrics(bold).horizontalAdvance(tabs->tabText(i)))
            << tabs->tabText(i).toStdString();
    }
    browse->press(BrowseSongs::Action::Close);
    QCoreApplication::processEvents();
}

TEST_F(WindowSizesTest, TheAlbumListOpensWithItsButtonsHeadersAndDatesWholeAtItsSmallestAndMaximised) {
    program->frame()->runCommand(BrowseAlbums::Procedure);
    QMdiSubWindow* sub = program->frame()->workspace()->activeSubWindow();
    ASSERT_NE(sub, nullptr);
    auto* browse = qobject_cast<BrowseAlbums*>(sub->widget());
    ASSERT_NE(browse, nullptr);
    QCoreApplication::processEvents();
    expectWindowHoldsItsControls(browse);
    // Shrunk as far as the window lets it: every button still shows its text.
    sub->resize(sub->minimumSizeHint());
    QCoreApplication::processEvents();
    expectWindowHoldsItsControls(browse);
    browse->tabs()->setCurrentIndex(3);
    QCoreApplication::processEvents();
    expectWindowHoldsItsControls(browse);
    sub->showMaximized();
    QCoreApplication::processEvents();
    expectColumnsShowTheirTexts(browse->list(), browse->columns());
    EXPECT_GE(browse->list()->horizontalHeader()->sectionSize(4), widestDate(browse->list()->font(), u"@d2"_s));
    browse->press(BrowseAlbums::Action::Close);
    QCoreApplication::processEvents();
}

TEST_F(WindowSizesTest, TheMediaListAndItsPickerOpenWithTheirButtonsAndAColumnAsWideAsTheList) {
    // The default media, "Cassette (Prerecorded)" among them.
    addMedia(u"Reel to Reel (Prerecorded)"_s);

    program->frame()->runCommand(BrowseMedia::Procedure);
    QMdiSubWindow* sub = program->frame()->workspace()->activeSubWindow();
    ASSERT_NE(sub, nullptr);
    auto* media = qobject_cast<BrowseMedia*>(sub->widget());
    ASSERT_NE(media, nullptr);
    QCoreApplication::processEvents();
    expectWindowHoldsItsControls(media);
    EXPECT_GE(sub->width(), sub->minimumSizeHint().width());
    EXPECT_GE(media->list()->horizontalHeader()->sectionSize(0), media->list()->viewport()->width());
    sub->close();
    QCoreApplication::processEvents();

    int columnWidth = -1;
    int listWidth = 0;
    onModal([&](QWidget* dialog) {
        expectWindowHoldsItsControls(dialog);
        auto* view = dialog->findChild<QTableView*>();
        ASSERT_NE(view, nullptr);
        columnWidth = view->horizontalHeader()->sectionSize(0);
        listWidth = view->viewport()->width();
        // The highlight runs the whole width of the list.
        EXPECT_GE(view->visualRect(view->model()->index(0, 0)).width(), listWidth);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    Record chosen;
    BrowseMedia::select(context(), chosen, program->frame());
    EXPECT_EQ(columnWidth, listWidth);
    EXPECT_GT(listWidth, 0);
}

TEST_F(WindowSizesTest, FormsOpenWholeWithTheirToolBarAndTitle) {
    // The one-field form with its record tool bar.
    bool checked = false;
    onModal([&](QWidget* form) {
        expectWindowHoldsItsControls(form);
        EXPECT_NE(form->findChild<FormToolBar*>(), nullptr);
        EXPECT_FALSE(overflows(form));
        checked = true;
        QTest::keyClick(form, Qt::Key_Escape);
    });
    Record category(categoriesTable());
    FormMove move = FormMove::None;
    UpdateCategories::run(context(), WindowRequest::Insert, category, program->frame(), &move);
    EXPECT_TRUE(checked);

    // The song form, with and without its tool bar.
    for (bool withBar : {true, false}) {
        checked = false;
        onModal([&](QWidget* form) {
            expectWindowHoldsItsControls(form);
            EXPECT_EQ(form->findChild<FormToolBar*>() != nullptr, withBar);
            EXPECT_FALSE(overflows(form));
            checked = true;
            QTest::keyClick(form, Qt::Key_Escape);
        });
        Record song(songsTable());
        UpdateSong::run(context(), WindowRequest::Insert, song, program->frame(), withBar ? &move : nullptr);
        EXPECT_TRUE(checked) << withBar;
    }

    // The album picker and the query wizard.
    checked = false;
    onModal([&](QWidget* picker) {
        expectWindowHoldsItsControls(picker);
        checked = true;
        QTest::keyClick(picker, Qt::Key_Escape);
    });
    Record album;
    SelectAlbum::select(context(), album, program->frame());
    EXPECT_TRUE(checked);

    checked = false;
    onModal([&](QWidget* wizard) {
        expectWindowHoldsItsControls(wizard);
        checked = true;
        QTest::keyClick(wizard, Qt::Key_Escape);
    });
    QString filter = u"INSTRING(UPPER('zz'), UPPER(SON:Artist)) <> 0"_s;
    QueryWizard::run(program->frame(), *context().messages, songQueryFields(), filter, u"SONGS"_s,
                     context().dataFolder);
    EXPECT_TRUE(checked);
}

namespace {

// An entry shows a full-width text of its field without scrolling it: the width the text takes, with
// the entry's own frame and margins (what it takes beyond its text in its size hint).
void expectEntryShowsWhole(QLineEdit* entry, const QString& text) {
    entry->setText(text);
    const QFontMetrics metrics = entry->fontMetrics();
    const int beyondText = entry->sizeHint().width() - metrics.horizontalAdvance(QLatin1Char('x')) * 17;
    EXPECT_GE(entry->width(), metrics.horizontalAdvance(text) + beyondText)
        << entry->objectName().toStdString() << " " << text.toStdString();
}

} // namespace

TEST_F(WindowSizesTest, TheLineFormAndTheCDPreferencesShowTheirEntriesWhole) {
    Record line(playlistDetailsTable());
    line.setNumber(PLA::PlaylistID, 1);
    {
        UpdatePlaylistDetails form(context(), WindowRequest::Change, line, program->frame());
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        expectWindowHoldsItsControls(&form);
        expectEntryShowsWhole(form.notesEdit(), u"Climbing nine places since last Tuesday!"_s);
        expectEntryShowsWhole(form.artistEdit(), u"Youssou N'Dour and the Electric Saints"_s);
        expectEntryShowsWhole(form.titleEdit(), u"The Velvet Facade of the Silent Rainmen"_s);
        form.reject();
    }
    CDSetup setup(context(), program->frame());
    setup.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&setup));
    expectWindowHoldsItsControls(&setup);
    expectEntryShowsWhole(setup.deviceEdit(), u"/home/listener/Music/Disc Images/a.cue"_s);
    setup.reject();
}

TEST(WindowTitles, SmallDialogsLeaveTheirTitleRoom) {
    QFont bold = QApplication::font();
    bold.setBold(true);

    // A fixed-size dialog of a few short lines.
    CompileDate compile;
    compile.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&compile));
    const int bar = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
    EXPECT_GE(compile.width(), QFontMetrics(bold).horizontalAdvance(compile.windowTitle()) + 4 * bar);
    compile.close();

    // A message box whose caption is longer than its text.
    int width = 0;
    QString title;
    onModal([&](QWidget* box) {
        width = box->width();
        title = box->windowTitle();
        QTest::keyClick(box, Qt::Key_Escape);
    });
    DialogMessages messages;
    Message m;
    m.title = u"Changing an Existing Query"_s;
    m.text = u"Save?"_s;
    m.buttons = ButtonYes | ButtonNo;
    messages.ask(m);
    EXPECT_EQ(title, m.title);
    // The caption with the title bar's icon and three buttons beside it.
    const int barHeight = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
    EXPECT_GE(width, QFontMetrics(bold).horizontalAdvance(m.title) + 4 * barHeight);
    srk::testing::finishModalWaits();
}
