#include "ui/reports/PrintPreview.h"

#include "reports/ReportPageList.h"
#include "settings/IniFile.h"
#include "support/ModalWindows.h"
#include "support/ReportPages.h"
#include "support/TempFolder.h"
#include "ui/reports/ReportPreview.h"

#include <QFile>
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
        preview->resize(900, 620);
        buttonWithText(w, QStringLiteral("Exit (Cancel Print)"))->click();
    });
    EXPECT_EQ(PRINTPREVIEW(pages, 100, settings), 0);
    EXPECT_EQ(openedAt, 5);  // 100 %
    IniFile written(settings);
    EXPECT_EQ(written.readInt(QStringLiteral("Preview"), QStringLiteral("Zoom")), 7);
    EXPECT_EQ(written.readInt(QStringLiteral("Preview"), QStringLiteral("Width")), 900);
    EXPECT_EQ(written.readInt(QStringLiteral("Preview"), QStringLiteral("Height")), 620);

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
    EXPECT_EQ(reopenedSize, QSize(900, 620));
    EXPECT_EQ(pages.count(), 3);
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
