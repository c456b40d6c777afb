#include "reports/ReportComposer.h"

#include "reports/PageCountMarker.h"
#include "reports/PageFile.h"
#include "reports/ReportPageList.h"
#include "text/DayNumber.h"
#include "text/Picture.h"
#include "text/ReleaseDate.h"

namespace srk {

namespace {

QVector<Picture> picturesOf(const LayoutBand& band) {
    QVector<Picture> pictures;
    for (const LayoutItem& item : band.items)
        pictures.append(item.picture.isEmpty() ? Picture() : parsePicture(item.picture));
    return pictures;
}

QVector<ReportComposer::Source> sourcesOf(const LayoutBand& band) {
    QVector<ReportComposer::Source> sources;
    for (const LayoutItem& item : band.items) {
        if (item.text == QLatin1String("=Page"))
            sources.append(ReportComposer::Source::Page);
        else if (item.text == QLatin1String("=RunDate"))
            sources.append(ReportComposer::Source::RunDate);
        else if (item.text == QLatin1String("=PageCount"))
            sources.append(ReportComposer::Source::PageCount);
        else
            sources.append(ReportComposer::Source::Record);
    }
    return sources;
}

bool isBlank(const QString& text) {
    for (QChar c : text)
        if (!c.isSpace())
            return false;
    return true;
}

}  // namespace

ReportComposer::ReportComposer(const ReportLayout& layout, ReportPageList& pages, const QDate& runDate)
    : m_layout(layout), m_header{picturesOf(layout.header), sourcesOf(layout.header)},
      m_detail{picturesOf(layout.detail), sourcesOf(layout.detail)},
      m_footer{picturesOf(layout.footer), sourcesOf(layout.footer)},
      m_summary{picturesOf(layout.summary), sourcesOf(layout.summary)}, m_pages(pages), m_runDate(runDate) {}

ReportComposer::~ReportComposer() { delete m_page; }

void ReportComposer::startPage() {
    ++m_pageNumber;
    m_page = new PageWriter(m_layout.pageWidth, m_layout.pageHeight);
    drawBand(m_layout.header, m_header, m_layout.marginTop, nullptr);
    m_y = m_layout.marginTop + m_layout.header.height;
}

bool ReportComposer::endPage() {
    if (!m_page)
        return true;
    drawBand(m_layout.footer, m_footer, m_layout.pageHeight - m_layout.marginBottom - m_layout.footer.height, nullptr);
    QString why;
    const bool saved = m_page->save(m_pages.nextPagePath(), &why);
    const qint32 markerAt = pageCountMarkerOffset(m_page->bytes());
    delete m_page;
    m_page = nullptr;
    if (!saved) {
        m_error = QStringLiteral("Cannot write a report page: ") + why;
        return false;
    }
    m_pages.append(markerAt);
    return true;
}

bool ReportComposer::printDetail(const QVector<QVariant>& values) {
    const int bottom = m_layout.marginTop + m_layout.header.height + m_layout.detailRoom();
    if (m_page && m_y + m_layout.detail.height > bottom && !endPage())
        return false;
    if (!m_page)
        startPage();
    drawBand(m_layout.detail, m_detail, m_y, &values);
    m_y += m_layout.detail.height;
    ++m_bands;
    return true;
}

bool ReportComposer::printSummary(const QVector<QVariant>& values) {
    if (m_layout.summary.items.isEmpty() || m_bands == 0)
        return true;
    const int bottom = m_layout.marginTop + m_layout.header.height + m_layout.detailRoom();
    if (m_page && m_y + m_layout.summary.height > bottom && !endPage())
        return false;
    if (!m_page)
        startPage();
    drawBand(m_layout.summary, m_summary, m_y, &values);
    m_y += m_layout.summary.height;
    return true;
}

void ReportComposer::drawBand(const LayoutBand& band, const Prepared& prepared, int top,
                              const QVector<QVariant>* values) {
    const QVector<Picture>& pictures = prepared.pictures;
    const QVector<Source>& sources = prepared.sources;
    const int left = m_layout.marginLeft;
    int field = 0;
    for (int i = 0; i < band.items.size(); ++i) {
        const LayoutItem& item = band.items[i];
        const int x = left + item.x;
        const int y = top + item.y;
        switch (item.kind) {
        case LayoutItem::Text:
            m_page->font(item.font);
            m_page->text(x, y, item.w, item.h, item.align, item.text);
            break;
        case LayoutItem::Field: {
            QVariant value;
            switch (sources[i]) {
            case Source::Page:
                value = m_pageNumber;
                break;
            case Source::RunDate:
                value = qint64(dayNumberFromDate(m_runDate));
                break;
            case Source::PageCount:
                value = QString::fromLatin1(kPageCountMarker);
                break;
            case Source::Record:
                if (values)
                    value = values->value(field++);
                break;
            }
            // Release dates below 3000 are bare years, printed as such under any date picture.
            const QString text = item.picture.isEmpty()                        ? value.toString()
                                 : pictures[i].kind == PictureKind::Date ? formatReleaseDate(value, pictures[i])
                                                                         : format(value, pictures[i]);
            if (isBlank(text))
                break;
            m_page->font(item.font);
            m_page->text(x, y, item.w, item.h, item.align, text);
            break;
        }
        case LayoutItem::Line:
            m_page->line(x, y, x + item.w, y + item.h, item.pen);
            break;
        case LayoutItem::Box:
            m_page->box(x, y, item.w, item.h, item.pen, item.fill);
            break;
        case LayoutItem::Picture:
            m_page->image(x, y, item.w, item.h, item.text);
            break;
        }
    }
}

}  // namespace srk
