#pragma once

#include "reports/ReportLayout.h"
#include "text/Picture.h"

#include <QDate>
#include <QString>
#include <QVariant>
#include <QVector>

namespace srk {

class ReportPageList;
class PageWriter;

// Lays detail bands onto pages: opens a page with its header when a band comes, closes it with its
// footer when the next band would not fit, and hands each finished page to the page list as a file.
// Only the page being filled is in memory.
class ReportComposer {
public:
    ReportComposer(const ReportLayout& layout, ReportPageList& pages, const QDate& runDate);
    ~ReportComposer();
    ReportComposer(const ReportComposer&) = delete;
    ReportComposer& operator=(const ReportComposer&) = delete;

    // One detail band; `values` follow the layout's detailSources(). False when the page could not be
    // written (errorString says why).
    bool printDetail(const QVector<QVariant>& values);
    // The layout's summary band after the last detail band, on a new page when it does not fit; nothing
    // when no detail band was printed. `values` follow the band's fields as detailSources() does.
    bool printSummary(const QVector<QVariant>& values);
    // Closes the open page, if any. False when it could not be written.
    bool endPage();

    int bandsPrinted() const { return m_bands; }
    int pagesMade() const { return m_pageNumber; }
    const QString& errorString() const { return m_error; }

    // Where a field item's value comes from.
    enum class Source { Record, Page, RunDate, PageCount };

private:
    // Each band's pictures and field sources, read once, item for item.
    struct Prepared {
        QVector<Picture> pictures;
        QVector<Source> sources;
    };
    void drawBand(const LayoutBand& band, const Prepared& prepared, int top, const QVector<QVariant>* values);
    void startPage();

    ReportLayout m_layout;
    Prepared m_header, m_detail, m_footer, m_summary;
    ReportPageList& m_pages;
    QDate m_runDate;
    PageWriter* m_page = nullptr;
    int m_pageNumber = 0;
    int m_y = 0;
    int m_bands = 0;
    QString m_error;
};

}  // namespace srk
