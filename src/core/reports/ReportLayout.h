#pragma once

#include "reports/PageFile.h"

#include <QString>
#include <QVector>

namespace srk {

// One thing a band draws: a fixed text, a field shown through its picture, a line, a box or a picture
// file. Positions are thousandths of an inch within the band (x from the left margin); a line runs from
// (x, y) to (x + w, y + h).
struct LayoutItem {
    enum Kind { Text, Field, Line, Box, Picture };
    Kind kind = Text;
    int x = 0, y = 0, w = 0, h = 0;
    PageAlign align = PageAlign::Left;
    QString text;     // Text: the text; Field: the source (see ReportLayout); Picture: the file
    QString picture;  // Field: display picture, empty for text as it stands
    PageFont font;
    int pen = 7;
    int fill = -1;    // Box: rgb fill (red in the low byte), -1 for none

    bool isDate() const;
};

struct LayoutBand {
    int height = 0;
    QVector<LayoutItem> items;
};

// A report's page: size, margins and the bands. The page header opens every page, the detail band is
// printed once per accepted record, the page footer closes every page. Field sources are the caller's
// names ("SON:Artist") except the ones the layout fills itself:
//   "=Page"      the page number       "=RunDate"   the day of the run
//   "=PageCount" the page count marker, replaced once the run has ended
struct ReportLayout {
    int pageWidth = 8500;
    int pageHeight = 11000;
    int marginLeft = 500, marginTop = 500, marginRight = 500, marginBottom = 500;
    LayoutBand header, detail, footer;
    LayoutBand summary;  // once after the last detail band (totals); empty for none

    int printableWidth() const { return pageWidth - marginLeft - marginRight; }
    // Room for detail bands between header and footer; at least one band always fits.
    int detailRoom() const;

    // Every date column shows the user's date picture instead of its own; the run date keeps its picture.
    // A blank preference changes nothing.
    void applyDatePreference(const QString& preference);
    // The report's custom font on every item of every band.
    void applyFont(const PageFont& font);
    // The detail band's field sources in order, those the layout fills itself left out: the values
    // ReportComposer::printDetail() expects.
    QVector<QString> detailSources() const;
};

}  // namespace srk
