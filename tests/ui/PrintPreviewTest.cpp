#include "ui/reports/PrintPreview.h"

#include "reports/ReportPageList.h"
#include "settings/IniFile.h"
#include "support/ModalWindows.h"
#include "support/ReportPages.h"
#include "support/TempFolder.h"
#include "ui/reports/ReportPreview.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace srk;
using namespace srk::testing;

namespace {

class PrintPreviewTest : public ::testing::Test {
protected:
    void TearDown() override { finishModalWaits(); }

    QVector<int> sheetsLeft(const ReportPageList& list) {
        QVector<int> numbers;
        for (int i = 0; i < list.count(); ++i)
            numbers << sheetNumber(list.path(i));
        return numbers;
    }

    int pdfPages(const QString& path) {
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {path});
        if (!info.waitForFinished(20000) || info.exitCode() != 0)
            return -1;
        const auto match = QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)$"), QRegularExpression::MultilineOption)
                               .match(QString::fromUtf8(info.readAllStandardOutput()));
        return match.hasMatch() ? match.captured(1).toInt() : -1;
    }

    TempFolder base;
};

TEST_F(PrintPreviewTest, ThePreviewKeepsItsPlacementAndZoomInItsSettingsFile) {
    ReportPageList pages(base.path());
    addNumberedPages(pages, 3);
    const QString settings = previewSettingsPath(base.path());
    EXPECT_TRUE(settings.endsWith(QLatin1String("/PREVIEW.INI")));

    int openedAt = 0;
    onModal([&](QWidget* w) {
        auto* preview = qobject_cast<ReportPreview*>(w);
        ASSERT_NE(preview, nullptr);
        openedAt = preview->zoomChoice();
        preview->chooseZoom(7);
        preview->resize(700, 520);
        buttonWithText(w, QStringLiteral("Exit (Cancel Print)"))->click();
    });
    EXPECT_EQ(PRINTPREVIEW(pages, 100, settings), 0);
    EXPECT_EQ(openedAt, 5);  // 100 %
    IniFile written(settings);
    EXPECT_EQ(written.readInt(QStringLiteral("Preview"), QStringLiteral("Zoom")), 7);
    EXPECT_EQ(written.readInt(QStringLiteral("Preview"), QStringLiteral("Width")), 700);
    EXPECT_EQ(written.readInt(QStringLiteral("Preview"), QStringLiteral("Height")), 520);

    int reopenedAt = 0;
    QSize reopenedSize;
    onModal([&](QWidget* w) {
        auto* preview = qobject_cast<ReportPreview*>(w);
        ASSERT_NE(preview, nullptr);
        reopenedAt = preview->zoomChoice();
        reopenedSize = preview->size();
        onModal([](QWidget* range) {
            range->findChild<QRadioButton*>(QStringLiteral("rangeOfPages"))->click();
            buttonWithText(range, QStringLiteral("&OK"))->click();
        });
        buttonWithText(w, QStringLiteral("Print.."))->click();
    });
    EXPECT_EQ(PRINTPREVIEW(pages, 100, settings), 1);
    EXPECT_EQ(reopenedAt, 7);
    EXPECT_EQ(reopenedSize, QSize(700, 520));
    EXPECT_EQ(pages.count(), 3);
}

// A placement saved where no screen is now (or larger than the screen) is pulled back whole onto it;
// one on the screen is kept as it was.
TEST_F(PrintPreviewTest, ThePreviewOpensWhollyOnTheScreen) {
    ReportPageList pages(base.path());
    addNumberedPages(pages, 2);
    const QString settings = previewSettingsPath(base.path());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const struct {
        QRect saved;
        bool kept;
    } cases[] = {{QRect(-500, -400, 600, 400), false},
                 {QRect(screen.right() + 300, screen.top() + 10, 600, 400), false},
                 {QRect(screen.left() + 20, screen.bottom() - 100, 600, 400), false},
                 {QRect(screen.left() - 30, screen.top() - 30, screen.width() + 200, screen.height() + 90), false},
                 {QRect(screen.left() + 30, screen.top() + 40, screen.width() - 100, screen.height() - 120), true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(QStringLiteral("saved at %1,%2 %3x%4")
                         .arg(c.saved.x()).arg(c.saved.y()).arg(c.saved.width()).arg(c.saved.height()).toStdString());
        IniFile ini(settings);
        ini.writeInt(QStringLiteral("Preview"), QStringLiteral("X"), c.saved.x());
        ini.writeInt(QStringLiteral("Preview"), QStringLiteral("Y"), c.saved.y());
        ini.writeInt(QStringLiteral("Preview"), QStringLiteral("Width"), c.saved.width());
        ini.writeInt(QStringLiteral("Preview"), QStringLiteral("Height"), c.saved.height());
        ASSERT_TRUE(ini.save());
        QRect shown, frame;
        onModal([&](QWidget* w) {
            shown = w->geometry();
            frame = w->frameGeometry();
            buttonWithText(w, QStringLiteral("Exit (Cancel Print)"))->click();
        });
        EXPECT_EQ(PRINTPREVIEW(pages, 100, settings), 0);
        EXPECT_TRUE(screen.contains(frame)) << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
        if (c.kept)
            EXPECT_EQ(shown, c.saved);
        else
            EXPECT_NE(shown.topLeft(), c.saved.topLeft());
        // What is written back is where it was shown.
        IniFile written(settings);
        EXPECT_EQ(written.readInt(QStringLiteral("Preview"), QStringLiteral("X")), shown.x());
        EXPECT_EQ(written.readInt(QStringLiteral("Preview"), QStringLiteral("Y")), shown.y());
    }
}

TEST_F(PrintPreviewTest, CopiesAreMadeByThePrinterOrByRepeatingThePages) {
    ReportPageList pages(base.path());
    addNumberedPages(pages, 3);
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    HANDLECOPIES(pages, 2, printer);
    if (SUPPORTED(printer, PrinterProperty::Copies) == 1) {
        EXPECT_EQ(printer.copyCount(), 2);
        EXPECT_EQ(sheetsLeft(pages), (QVector<int>{1, 2, 3}));
    } else {
        EXPECT_EQ(printer.copyCount(), 1);
        EXPECT_EQ(sheetsLeft(pages), (QVector<int>{1, 2, 3, 1, 2, 3}));
    }
}

TEST_F(PrintPreviewTest, FlushingToAPdfPrinterWritesEveryPage) {
    ReportPageList pages(base.path());
    addNumberedPages(pages, 4);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString out = base.file(QStringLiteral("printed.pdf"));
    printer.setOutputFileName(out);
    QString why;
    ASSERT_TRUE(flushToPrinter(pages, printer, &why)) << why.toStdString();
    EXPECT_EQ(pdfPages(out), 4);
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {out, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(20000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(printed.contains(QLatin1String("Sheet 1")));
    EXPECT_TRUE(printed.contains(QLatin1String("Sheet 4")));
}

TEST_F(PrintPreviewTest, PageOfPagesPutsTheCountIntoEveryMarkedPage) {
    ReportPageList pages(base.path());
    addNumberedPages(pages, 3, true);
    EXPECT_EQ(ASSIGNPAGEOFPAGES(pages), 3);
    QFile first(pages.path(0));
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    EXPECT_TRUE(first.readAll().contains("of 3    \n"));
}

}  // namespace
