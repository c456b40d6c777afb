#include "ui/reports/PrintPreview.h"

#include "render/PageRenderer.h"
#include "reports/PageCountMarker.h"
#include "reports/PageFile.h"
#include "reports/ReportPageList.h"
#include "settings/IniFile.h"

#include "ui/reports/ReportPreview.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/WindowOnScreen.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QStandardPaths>

#include <cmath>

namespace srk {

namespace {

const QString kSection = QStringLiteral("Preview");

// The preview opens where it was left, or centred over the window it belongs to; either way with its
// whole frame, title bar included, on a screen.
void placePreview(QWidget* window, const QRect& saved, QWidget* parent) {
    QRect wanted = saved;
    if (saved.width() <= 200 || saved.height() <= 150) {
        const QWidget* over = parent ? parent->window() : nullptr;
        const QScreen* screen = over ? over->screen() : QGuiApplication::primaryScreen();
        const QRect around = over && over->isVisible() ? over->geometry()
                             : screen                  ? screen->availableGeometry()
                                                       : QRect();
        wanted = QRect(QPoint(), window->size());
        wanted.moveCenter(around.center());
    }
    placeOnScreens(window, wanted, parent);
}

}  // namespace

int SUPPORTED(const QPrinter& printer, PrinterProperty property) {
    switch (property) {
    case PrinterProperty::Copies:
        return printer.supportsMultipleCopies() ? 1 : 0;
    }
    return 0;
}

QString previewSettingsPath(const QString& dataFolder) { return QDir(dataFolder).filePath(QStringLiteral("PREVIEW.INI")); }

int PRINTPREVIEW(ReportPageList& pages, int initialZoom, const QString& settingsPath, QWidget* parent) {
    if (pages.isEmpty())
        return 0;
    IniFile settings(settingsPath);
    // The zoom list: 1 "Width", then 25 % steps from entry 2.
    int choice = qBound(2, int(std::lround(initialZoom / 25.0)) + 1, 9);
    if (settings.contains(kSection, QStringLiteral("Zoom")))
        choice = qBound(1, settings.readInt(kSection, QStringLiteral("Zoom")), 9);
    ModalWindow<ReportPreview> window(pages, parent, choice);
    const QRect saved(settings.readInt(kSection, QStringLiteral("X")), settings.readInt(kSection, QStringLiteral("Y")),
                      settings.readInt(kSection, QStringLiteral("Width")), settings.readInt(kSection, QStringLiteral("Height")));
    placePreview(window.get(), saved, parent);
    // The placement is taken as the window closes, while it still exists: its own area, without the
    // frame, as it is placed again.
    QObject::connect(window.get(), &QDialog::finished, window.get(), [&settings, w = window.get()] {
        const QRect placed = w->geometry();
        settings.writeInt(kSection, QStringLiteral("X"), placed.x());
        settings.writeInt(kSection, QStringLiteral("Y"), placed.y());
        settings.writeInt(kSection, QStringLiteral("Width"), placed.width());
        settings.writeInt(kSection, QStringLiteral("Height"), placed.height());
        settings.writeInt(kSection, QStringLiteral("Zoom"), w->zoomChoice());
        settings.save();
    });
    const ModalResult result = window.exec();
    if (result.gone)
        return 0;
    return window->response() == ReportPreview::Completed ? 1 : 0;
}

void HANDLECOPIES(ReportPageList& pages, int copies, QPrinter& printer) {
    if (copies < 1)
        copies = 1;
    if (SUPPORTED(printer, PrinterProperty::Copies) == 1) {
        printer.setCopyCount(copies);
        return;
    }
    printer.setCopyCount(1);
    const int onePass = pages.count();
    for (int copy = 1; copy < copies; ++copy)
        for (int i = 0; i < onePass; ++i) {
            const QString target = pages.nextPagePath();
            if (!QFile::copy(pages.path(i), target))
                return;
            pages.append(pages.markerAt(i));
        }
}

int ASSIGNPAGEOFPAGES(ReportPageList& pages, int) { return replacePageCountMarkers(pages); }

bool choosePrinter(QPrinter& printer, QWidget* parent, const QString& documentName) {
    printer.setDocName(documentName);
    if (QPrinterInfo::availablePrinterNames().isEmpty() || printer.outputFormat() == QPrinter::PdfFormat) {
        // Nothing to print on: the dialog offers a PDF file instead.
        printer.setOutputFormat(QPrinter::PdfFormat);
        if (printer.outputFileName().isEmpty()) {
            const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
            printer.setOutputFileName(QDir(folder.isEmpty() ? QDir::homePath() : folder)
                                          .filePath((documentName.isEmpty() ? QStringLiteral("Report") : documentName) +
                                                    QStringLiteral(".pdf")));
        }
    }
    ModalWindow<QPrintDialog> dialog(&printer, parent);
    dialog->setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog->setOption(QAbstractPrintDialog::PrintPageRange, false);
    return dialog.exec().accepted();
}

bool flushToPrinter(const ReportPageList& pages, QPrinter& printer, QString* error) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        if (error)
            *error = QStringLiteral("The printer could not be started.");
        return false;
    }
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF printable = printer.pageRect(QPrinter::DevicePixel);
    for (int i = 0; i < pages.count(); ++i) {
        if (i > 0 && !printer.newPage()) {
            if (error)
                *error = QStringLiteral("The printer stopped at page %1.").arg(i + 1);
            return false;
        }
        Page page;
        if (!readPage(pages.path(i), page, error))
            return false;
        painter.save();
        // Page coordinates count from the paper's edge; the painter's from the printable area's.
        painter.translate(paper.topLeft() - printable.topLeft());
        PageRenderer::paint(painter, page, printer.resolution(), printer.resolution());
        painter.restore();
    }
    return painter.end();
}

}  // namespace srk
