#pragma once

#include "reports/PageFile.h"

#include <QString>

#include <functional>

class QImage;
class QPainter;
class QPaintDevice;

namespace srk {

class ReportPageList;

// Paints a page file onto any paint device: an image for the screen, a printer, a PDF or SVG file.
// The page's thousandths of an inch become device pixels through the device's resolution; texts are
// cut to their boxes (never drawn over their neighbours).
class PageRenderer {
public:
    // Paints `page` with the painter's device resolution `dpiX` x `dpiY`, its top left at the origin.
    static void paint(QPainter& painter, const Page& page, double dpiX, double dpiY);
    // Paints the page file onto an open painter of `device`. False when the file cannot be read.
    static bool paintFile(QPainter& painter, const QPaintDevice& device, const QString& pagePath,
                          QString* error = nullptr);
};

// A page file as a picture for the screen: white paper, `dpi` pixels to the inch. A null image (with the
// reason) when the file cannot be read.
QImage pageImage(const QString& pagePath, double dpi, QString* error = nullptr);

// The whole list as one PDF file, a page per page file. `progress` (if given) hears the pages done and
// may stop the writing by returning false. False, with the reason, when the file cannot be written.
bool writePdf(const ReportPageList& pages, const QString& path, QString* error = nullptr,
              const std::function<bool(int done)>& progress = {});
// One page file as an SVG picture, or as a one-page PDF when `path` ends in ".pdf".
bool writePageFile(const QString& pagePath, const QString& path, QString* error = nullptr);

}  // namespace srk
