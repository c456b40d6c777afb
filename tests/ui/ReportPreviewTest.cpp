#include "ui/reports/ReportPreview.h"

#include "reports/ReportPageList.h"
#include "support/ModalWindows.h"
#include "support/ReportPages.h"
#include "support/TempFolder.h"
#include "ui/reports/PrintRangeWindow.h"
#include "ui/services/WindowSize.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QSvgRenderer>
#include <QTest>

#include <gtest/gtest.h>

using namespace srk;
using namespace srk::testing;

namespace {

class ReportPreviewTest : public ::testing::Test {
protected:
    void TearDown() override { finishModalWaits(); }

    QPushButton* buttonOf(QWidget& w, const char* name) { return w.findChild<QPushButton*>(QLatin1String(name)); }
    QString status(ReportPreview& p) { return p.findChild<QLabel*>(QStringLiteral("pageStatus"))->text(); }
    bool enabled(ReportPreview& p, const char* name) { return buttonOf(p, name)->isEnabled(); }

    QVector<int> sheetsLeft(const ReportPageList& list) {
        QVector<int> numbers;
        for (int i = 0; i < list.count(); ++i)
            numbers << sheetNumber(list.path(i));
        return numbers;
    }

    // Marks the listed pages through the window's own check box.
    void mark(ReportPreview& preview, std::initializer_list<int> pages) {
        auto* box = preview.findChild<QCheckBox*>(QStringLiteral("markPage"));
        for (int page : pages) {
            preview.showPage(page);
            box->click();
        }
    }

    TempFolder base;
};

TEST_F(ReportPreviewTest, OnePageHasEveryNavigationButtonDisabled) {
    ReportPageList pages(base.path());
    addNumberedPages(pages, 1);
    ReportPreview preview(pages);
    preview.show();
    EXPECT_EQ(status(preview), QStringLiteral("Page 1 of 1"));
    for (const char* name : {"firstPage", "previousPage", "nextPage", "lastPage", "goToPage"})
        EXPECT_FALSE(enabled(preview, name)) << name;
    EXPECT_EQ(preview.windowTitle(), QStringLiteral("Report Preview"));
}

TEST_F(ReportPreviewTest, TenPagesEnableTheWaysThatLeadSomewhere) {
    ReportPageList pages(base.path());
    addNumberedPages(pages, 10);
    ReportPreview preview(pages);
    preview.show();
    EXPECT_EQ(status(preview), QStringLiteral("Page 1 of 10"));
    EXPECT_FALSE(enabled(preview, "firstPage"));
    EXPECT_FALSE(enabled(preview, "previousPage"));
    EXPECT_TRUE(enabled(preview, "nextPage"));
    EXPECT_TRUE(enabled(preview, "lastPage"));
    EXPECT_TRUE(enabled(preview, "goToPage"));

    buttonOf(preview, "nextPage")->click();
    EXPECT_EQ(preview.currentPage(), 2);
    for (const char* name : {"firstPage", "previousPage", "nextPage", "lastPage"})
        EXPECT_TRUE(enabled(preview, name)) << name;

    buttonOf(preview, "lastPage")->click();
    EXPECT_EQ(status(preview), QStringLiteral("Page 10 of 10"));
    EXPECT_FALSE(enabled(preview, "nextPage"));
    EXPECT_FALSE(enabled(preview, "lastPage"));
    buttonOf(preview, "previousPage")->click();
    EXPECT_EQ(preview.currentPage(), 9);
    buttonOf(preview, "firstPage")->click();
    EXPECT_EQ(preview.currentPage(), 1);
}

TEST_F(ReportPreviewTest, GoToPageShowsTheEnteredPageAndCancelKeepsTheCurrentOne) {
    ReportPageList pages(base.path());
    addNumberedPages(pages, 10);
    ReportPreview preview(pages);
    preview.show();
    preview.showPage(3);

    int limit = 0;
    onModal([&](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Go to Page"));
        auto* spin = w->findChild<QSpinBox*>(QStringLiteral("pageEntry"));
        EXPECT_EQ(spin->value(), 3);
        limit = spin->maximum();
        spin->setValue(7);
        buttonWithText(w, QStringLiteral("&OK"))->click();
    });
    buttonOf(preview, "goToPage")->click();
    EXPECT_EQ(limit, 10);
    EXPECT_EQ(preview.currentPage(), 7);
    EXPECT_EQ(status(preview), QStringLiteral("Page 7 of 10"));

    onModal([&](QWidget* w) {
        w->findChild<QSpinBox*>(QStringLiteral("pageEntry"))->setValue(2);
        buttonWithText(w, QStringLiteral("Cancel"))->click();
    });
    buttonOf(preview, "goToPage")->click();
    EXPECT_EQ(preview.currentPage(), 7);
}

TEST_F(ReportPreviewTest, ZoomStopsAtItsEndsAndDrawsThePageToScale) {
    ReportPageList pages(base.path());
    addNumberedPages(pages, 2);
    ReportPreview preview(pages);
    preview.show();
    EXPECT_EQ(preview.zoomEntries(), QStringLiteral("Width 25% 50% 75% 100% 125% 150% 175% 200%").split(QLatin1Char(' ')));
    EXPECT_GE(preview.zoom(), ReportPreview::kMinInitialZoom);

    preview.chooseZoom(2);
    const QSize quarter = preview.pageImage().size();
    buttonOf(preview, "zoomOut")->click();
    EXPECT_EQ(preview.zoomChoice(), 2);
    EXPECT_DOUBLE_EQ(preview.zoom(), 0.25);

    preview.chooseZoom(9);
    buttonOf(preview, "zoomIn")->click();
    EXPECT_EQ(preview.zoomChoice(), 9);
    EXPECT_DOUBLE_EQ(preview.zoom(), 2.0);
    EXPECT_EQ(preview.findChild<QComboBox*>(QStringLiteral("zoomList"))->currentText(), QStringLiteral("200%"));
    // Eight times the quarter size, give or take the rounding of each.
    EXPECT_NEAR(preview.pageImage().width(), quarter.width() * 8, 8);
    EXPECT_NEAR(preview.pageImage().height(), quarter.height() * 8, 8);

    buttonOf(preview, "zoomOut")->click();
    EXPECT_EQ(preview.zoomChoice(), 8);

    // From "Width", In goes one step above the largest step that fits the width; Out never lands on "Width".
    preview.chooseZoom(1);
    const int widthStep = int(preview.fitWidthZoom() / 0.25) + 1;
    buttonOf(preview, "zoomIn")->click();
    EXPECT_EQ(preview.zoomChoice(), std::min(widthStep + 1, 9));
    preview.chooseZoom(1);
    buttonOf(preview, "zoomOut")->click();
    EXPECT_EQ(preview.zoomChoice(), std::max(std::min(widthStep + 1, 9) - 1, 2));
}

TEST_F(ReportPreviewTest, ArrowKeysScrollALargePage) {
    ReportPageList pages(base.path());
    addNumberedPages(pages, 1);
    ReportPreview preview(pages);
    preview.show();
    preview.chooseZoom(9);
    QCoreApplication::processEvents();
    const QPoint before = preview.scrollPosition();
    QTest::keyClick(&preview, Qt::Key_Down);
    QTest::keyClick(&preview, Qt::Key_Right);
    EXPECT_EQ(preview.scrollPosition(), before + QPoint(52, 51));
    QTest::keyClick(&preview, Qt::Key_Up);
    EXPECT_EQ(preview.scrollPosition(), before + QPoint(52, 0));
}

TEST_F(ReportPreviewTest, SavesTheCurrentPageAsSvgOrPdf) {
    ReportPageList pages(base.path());
    addNumberedPages(pages, 3);
    ReportPreview preview(pages);
    preview.showPage(2);

    const QString svg = base.file(QStringLiteral("page.svg"));
    ASSERT_TRUE(preview.savePage(svg));
    QSvgRenderer renderer(svg);
    EXPECT_TRUE(renderer.isValid());
    QFile svgFile(svg);
    ASSERT_TRUE(svgFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(svgFile.readAll().contains("Sheet 2"));

    const QString pdf = base.file(QStringLiteral("page.pdf"));
    ASSERT_TRUE(preview.savePage(pdf));
    QFile pdfFile(pdf);
    ASSERT_TRUE(pdfFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(pdfFile.read(4), QByteArray("%PDF"));
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    ASSERT_TRUE(info.waitForFinished(20000));
    EXPECT_EQ(info.exitCode(), 0);
    const QString out = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_TRUE(out.contains(QRegularExpression(QStringLiteral("^Pages:\\s+1$"), QRegularExpression::MultilineOption))) << out.toStdString();
}

TEST_F(ReportPreviewTest, OpeningPutsThePageCountIntoTheMarkedPages) {
    ReportPageList pages(base.path());
    addNumberedPages(pages, 7, true);
    ReportPreview preview(pages);
    for (int i = 0; i < 7; ++i) {
        QFile file(pages.path(i));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_TRUE(bytes.contains("of 7    \n")) << i;
        EXPECT_FALSE(bytes.contains("~!@#$")) << i;
    }
}

TEST_F(ReportPreviewTest, PrintingTheUnmarkedPagesLeavesThoseInOrder) {
    ReportPageList pages(base.path());
    addNumberedPages(pages, 10);
    const QString secondFile = pages.path(1);
    ReportPreview preview(pages);
    preview.show();
    mark(preview, {2, 5});
    EXPECT_EQ(preview.markedCount(), 2);
    preview.showPage(5);
    EXPECT_TRUE(preview.findChild<QCheckBox*>(QStringLiteral("markPage"))->isChecked());

    onModal([&](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Print..."));
        auto* marked = w->findChild<QRadioButton*>(QStringLiteral("markedPages"));
        auto* unmarked = w->findChild<QRadioButton*>(QStringLiteral("unmarkedPages"));
        EXPECT_TRUE(w->findChild<QRadioButton*>(QStringLiteral("allPages"))->isChecked());
        EXPECT_EQ(marked->text(), QStringLiteral("2 &Marked Pages Only"));
        EXPECT_TRUE(marked->isEnabled());
        EXPECT_TRUE(unmarked->isEnabled());
        EXPECT_EQ(w->findChild<QSpinBox*>(QStringLiteral("fromPage"))->value(), 1);
        EXPECT_EQ(w->findChild<QSpinBox*>(QStringLiteral("toPage"))->value(), 10);
        unmarked->click();
        buttonWithText(w, QStringLiteral("&OK"))->click();
    });
    buttonOf(preview, "printButton")->click();
    EXPECT_EQ(preview.response(), ReportPreview::Completed);
    EXPECT_FALSE(preview.isVisible());
    EXPECT_EQ(sheetsLeft(pages), (QVector<int>{1, 3, 4, 6, 7, 8, 9, 10}));
    EXPECT_FALSE(QFile::exists(secondFile));
}

TEST_F(ReportPreviewTest, PrintWindowOffersMarkChoicesOnlyWhenTheyMeanSomething) {
    ReportPageList pages(base.path());
    addNumberedPages(pages, 3);
    {
        PrintRangeWindow none(pages, {false, false, false});
        EXPECT_FALSE(none.findChild<QRadioButton*>(QStringLiteral("markedPages"))->isEnabled());
        EXPECT_FALSE(none.findChild<QRadioButton*>(QStringLiteral("unmarkedPages"))->isEnabled());
    }
    {
        PrintRangeWindow all(pages, {true, true, true});
        auto* marked = all.findChild<QRadioButton*>(QStringLiteral("markedPages"));
        EXPECT_TRUE(marked->isEnabled());
        EXPECT_EQ(marked->text(), QStringLiteral("3 &Marked Pages Only"));
        EXPECT_FALSE(all.findChild<QRadioButton*>(QStringLiteral("unmarkedPages"))->isEnabled());
    }
}

TEST_F(ReportPreviewTest, ARangeKeepsItsPagesAndFromNeverPassesTo) {
    ReportPageList pages(base.path());
    addNumberedPages(pages, 10);
    ReportPreview preview(pages);
    preview.show();
    onModal([&](QWidget* w) {
        auto* from = w->findChild<QSpinBox*>(QStringLiteral("fromPage"));
        auto* to = w->findChild<QSpinBox*>(QStringLiteral("toPage"));
        to->setValue(4);
        EXPECT_TRUE(w->findChild<QRadioButton*>(QStringLiteral("rangeOfPages"))->isChecked());
        EXPECT_EQ(from->maximum(), 4);
        from->setValue(9);  // held at To
        EXPECT_EQ(from->value(), 4);
        from->setValue(3);
        EXPECT_EQ(to->minimum(), 3);
        buttonWithText(w, QStringLiteral("&OK"))->click();
    });
    buttonOf(preview, "printButton")->click();
    EXPECT_EQ(preview.response(), ReportPreview::Completed);
    EXPECT_EQ(sheetsLeft(pages), (QVector<int>{3, 4}));
}

TEST_F(ReportPreviewTest, CancellingThePrintWindowChangesNothing) {
    ReportPageList pages(base.path());
    addNumberedPages(pages, 4);
    ReportPreview preview(pages);
    preview.show();
    mark(preview, {1});
    onModal([&](QWidget* w) {
        w->findChild<QRadioButton*>(QStringLiteral("markedPages"))->click();
        buttonWithText(w, QStringLiteral("&Cancel"))->click();
    });
    buttonOf(preview, "printButton")->click();
    EXPECT_TRUE(preview.isVisible());
    EXPECT_EQ(preview.response(), ReportPreview::Cancelled);
    EXPECT_EQ(sheetsLeft(pages), (QVector<int>{1, 2, 3, 4}));
    buttonOf(preview, "exitButton")->click();
    EXPECT_EQ(preview.response(), ReportPreview::Cancelled);
    EXPECT_EQ(pages.count(), 4);
}

}  // namespace

namespace {

// The width a label's text takes as drawn: the letter its mnemonic underlines is drawn apart from the
// text around it, so the kerning between them is lost.
int drawnWidth(const QLabel* label) {
    const QFontMetrics metrics(label->font());
    const QString text = label->text();
    const qsizetype amp = text.indexOf(QLatin1Char('&'));
    if (amp < 0 || amp + 1 >= text.size())
        return metrics.horizontalAdvance(text);
    return metrics.horizontalAdvance(text.left(amp)) + metrics.horizontalAdvance(text.at(amp + 1)) +
           metrics.horizontalAdvance(text.mid(amp + 2));
}

// A window opened large enough for its title, its labels shown whole.
void expectNothingClipped(QWidget* w) {
    EXPECT_GE(w->width(), titleBarWidth(w, w->windowTitle())) << w->windowTitle().toStdString();
    EXPECT_GE(w->width(), w->minimumSizeHint().width());
    EXPECT_GE(w->height(), w->minimumSizeHint().height());
    const QList<QLabel*> labels = w->findChildren<QLabel*>();
    EXPECT_FALSE(labels.isEmpty());
    for (const QLabel* label : labels)
        EXPECT_GE(label->contentsRect().width(), drawnWidth(label)) << label->text().toStdString();
}

}  // namespace

TEST_F(ReportPreviewTest, GoToPageAndThePrintWindowOpenWithTitlesAndLabelsWhole) {
    ReportPageList pages(base.path());
    addNumberedPages(pages, 12);
    ReportPreview preview(pages);
    preview.show();
    bool seen = false;
    onModal([&](QWidget* w) {
        seen = true;
        expectNothingClipped(w);
        buttonWithText(w, QStringLiteral("Cancel"))->click();
    });
    buttonOf(preview, "goToPage")->click();
    EXPECT_TRUE(seen);
    seen = false;
    onModal([&](QWidget* w) {
        seen = true;
        expectNothingClipped(w);
        buttonWithText(w, QStringLiteral("&Cancel"))->click();
    });
    buttonOf(preview, "printButton")->click();
    EXPECT_TRUE(seen);
}
