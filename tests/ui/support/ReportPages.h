#pragma once

#include "reports/PageFile.h"
#include "reports/ReportPageList.h"

#include <QString>

namespace srk::testing {

// Fills `pages` with `count` letter-size pages, each carrying its number in the text "Sheet n" and, where
// asked, the page-count marker; the number lets a test tell which pages a list still holds.
inline void addNumberedPages(ReportPageList& pages, int count, bool withMarker = false) {
    for (int n = 1; n <= count; ++n) {
        PageWriter writer(8500, 11000);
        writer.font(PageFont{QStringLiteral("Arial"), 120, 0, 0});
        writer.text(500, 500, 4000, 250, PageAlign::Left, QStringLiteral("Sheet %1").arg(n));
        if (withMarker)
            writer.text(500, 800, 4000, 250, PageAlign::Left, QStringLiteral("of ~!@#$"));
        writer.line(500, 1000, 8000, 1000, 10);
        writer.save(pages.nextPagePath());
        pages.append();
    }
}

// The page number a page file was written with (0 when it cannot be read).
inline int sheetNumber(const QString& path) {
    Page page;
    if (!readPage(path, page))
        return 0;
    for (const PageItem& item : page.items)
        if (item.kind == PageItem::Text && item.text.startsWith(QLatin1String("Sheet ")))
            return item.text.mid(6).toInt();
    return 0;
}

}  // namespace srk::testing
