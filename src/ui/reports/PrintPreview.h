#pragma once

#include <QString>

class QPrinter;
class QWidget;

namespace srk {

class ReportPageList;

// The calls through which reports hand their pages to the preview and the printer: show the pages
// and say whether to print them, make copies, ask what the printer can do, number pages of pages.

enum class PrinterProperty { Copies };

// 1 when the printer makes the copies itself.
int SUPPORTED(const QPrinter& printer, PrinterProperty property);

// Shows the pages in the report preview, starting at `initialZoom` percent (rounded to a zoom step)
// unless the settings file `settingsPath` ("PREVIEW.INI") remembers the zoom last chosen; the window's
// placement and zoom are written back there when it closes. 1: print the pages left in the list.
int PRINTPREVIEW(ReportPageList& pages, int initialZoom, const QString& settingsPath, QWidget* parent = nullptr);

// Sees to it that flushing the list gives `copies` copies: the printer makes them when it can, otherwise
// the listed pages are repeated in the list, one whole copy after the other.
void HANDLECOPIES(ReportPageList& pages, int copies, QPrinter& printer);

// Puts the page count where the pages ask for it; returns the pages changed.
int ASSIGNPAGEOFPAGES(ReportPageList& pages, int options = 0);

// The settings file of the preview in the data folder.
QString previewSettingsPath(const QString& dataFolder);

// Lets the user choose the printer (or a PDF file) in the platform's print dialog. With no printer
// installed the dialog starts on a PDF file. False when the user cancelled.
bool choosePrinter(QPrinter& printer, QWidget* parent, const QString& documentName);

// Prints every page of the list, one after the other; false with the reason when it failed.
bool flushToPrinter(const ReportPageList& pages, QPrinter& printer, QString* error = nullptr);

}  // namespace srk
