#include "render/PageRenderer.h"

#include "render/ReportFonts.h"
#include "reports/ReportPageList.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <functional>

namespace srk {

namespace {

QColor colourOf(int rgb) { return QColor(rgb & 0xff, (rgb >> 8) & 0xff, (rgb >> 16) & 0xff); }

QFont fontOf(const PageFont& f) {
    QFont font(installedFace(f.face));
    font.setPointSizeF(f.tenthsOfPoint > 0 ? f.tenthsOfPoint / 10.0 : 8.0);
    font.setBold(f.flags & PageFont::Bold);
    font.setItalic(f.flags & PageFont::Italic);
    font.setUnderline(f.flags & PageFont::Underline);
    font.setStrikeOut(f.flags & PageFont::StrikeOut);
    return font;
}

// The longest start of `text` that fits `width`.
QString cutToWidth(const QString& text, const QFontMetricsF& metrics, double width) {
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    qsizetype low = 0, high = text.size();
    while (low < high) {
        const qsizetype mid = (low + high + 1) / 2;
        if (metrics.horizontalAdvance(text.left(mid)) <= width)
            low = mid;
        else
            high = mid - 1;
    }
    // Never split a surrogate pair.
    if (low > 0 && text.at(low - 1).isHighSurrogate())
        --low;
    return text.left(low);
}

}  // namespace

void PageRenderer::paint(QPainter& painter, const Page& page, double dpiX, double dpiY) {
    const double sx = dpiX / 1000.0, sy = dpiY / 1000.0;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    QFont font = fontOf(PageFont{QStringLiteral("MS Sans Serif"), 80, 0, 0});
    QColor colour(Qt::black);
    painter.setFont(font);
    QFontMetricsF metrics(font, painter.device());
    for (const PageItem& item : page.items) {
        switch (item.kind) {
        case PageItem::Font:
            font = fontOf(item.font);
            colour = colourOf(item.font.rgb);
            painter.setFont(font);
            metrics = QFontMetricsF(font, painter.device());
            break;
        case PageItem::Text: {
            const QRectF box(item.x * sx, item.y * sy, item.w * sx, std::max(item.h * sy, metrics.height()));
            const QString text = item.w > 0 ? cutToWidth(item.text, metrics, box.width()) : item.text;
            if (text.isEmpty())
                break;
            painter.setPen(colour);
            const Qt::Alignment align = item.align == PageAlign::Center  ? Qt::AlignHCenter
                                        : item.align == PageAlign::Right ? Qt::AlignRight
                                                                         : Qt::AlignLeft;
            painter.drawText(box, int(align | Qt::AlignTop | Qt::TextSingleLine), text);
            break;
        }
        case PageItem::Line:
            painter.setPen(QPen(Qt::black, std::max(1.0, item.pen * sx)));
            painter.drawLine(QPointF(item.x * sx, item.y * sy), QPointF(item.w * sx, item.h * sy));
            break;
        case PageItem::Box:
            painter.setPen(item.pen > 0 ? QPen(Qt::black, item.pen * sx) : QPen(Qt::NoPen));
            painter.setBrush(item.fill >= 0 ? QBrush(colourOf(item.fill)) : QBrush(Qt::NoBrush));
            painter.drawRect(QRectF(item.x * sx, item.y * sy, item.w * sx, item.h * sy));
            painter.setBrush(Qt::NoBrush);
            break;
        case PageItem::Image: {
            const QImage image(item.text);
            if (!image.isNull()) {
                // A logo keeps its proportions within its box, from the box's top left.
                QSizeF size(image.width(), image.height());
                size.scale(item.w * sx, item.h * sy, Qt::KeepAspectRatio);
                painter.drawImage(QRectF(QPointF(item.x * sx, item.y * sy), size), image);
            }
            break;
        }
        }
    }
    painter.restore();
}

bool PageRenderer::paintFile(QPainter& painter, const QPaintDevice& device, const QString& pagePath, QString* error) {
    Page page;
    if (!readPage(pagePath, page, error))
        return false;
    paint(painter, page, device.logicalDpiX(), device.logicalDpiY());
    return true;
}

QImage pageImage(const QString& pagePath, double dpi, QString* error) {
    installReportFontSubstitutions();
    Page page;
    if (!readPage(pagePath, page, error))
        return {};
    QImage image(qMax(1, qRound(page.width * dpi / 1000.0)), qMax(1, qRound(page.height * dpi / 1000.0)),
                 QImage::Format_RGB32);
    const int dotsPerMeter = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    PageRenderer::paint(painter, page, dpi, dpi);
    return image;
}

bool writePdf(const ReportPageList& pages, const QString& path, QString* error,
              const std::function<bool(int)>& progress) {
    installReportFontSubstitutions();
    QPdfWriter writer(path);
    writer.setResolution(1200);
    writer.setCreator(QStringLiteral("Sonorika Pro"));
    Page page;
    bool havePage = pages.count() > 0 && readPage(pages.path(0), page, error);
    if (pages.count() > 0 && !havePage)
        return false;
    writer.setPageSize(QPageSize(QSizeF(page.width / 1000.0, page.height / 1000.0), QPageSize::Inch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&writer)) {
        if (error)
            *error = QStringLiteral("Cannot write %1").arg(path);
        return false;
    }
    for (int i = 0; i < pages.count(); ++i) {
        if (i > 0) {
            if (!readPage(pages.path(i), page, error)) {
                painter.end();
                return false;
            }
            writer.setPageSize(QPageSize(QSizeF(page.width / 1000.0, page.height / 1000.0), QPageSize::Inch));
            writer.newPage();
        }
        PageRenderer::paint(painter, page, writer.resolution(), writer.resolution());
        if (progress && !progress(i + 1)) {
            painter.end();
            if (error)
                *error = QStringLiteral("Stopped");
            return false;
        }
    }
    if (!painter.end()) {
        if (error)
            *error = QStringLiteral("Cannot write %1").arg(path);
        return false;
    }
    return true;
}

bool writePageFile(const QString& pagePath, const QString& path, QString* error) {
    installReportFontSubstitutions();
    Page page;
    if (!readPage(pagePath, page, error))
        return false;
    QPainter painter;
    if (QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0) {
        QPdfWriter writer(path);
        writer.setResolution(1200);
        writer.setPageSize(QPageSize(QSizeF(page.width / 1000.0, page.height / 1000.0), QPageSize::Inch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        if (!painter.begin(&writer)) {
            if (error)
                *error = QStringLiteral("Cannot write %1").arg(path);
            return false;
        }
        PageRenderer::paint(painter, page, writer.resolution(), writer.resolution());
        return painter.end();
    }
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setResolution(96);
    svg.setSize(QSize(page.width * 96 / 1000, page.height * 96 / 1000));
    svg.setViewBox(QRect(0, 0, page.width * 96 / 1000, page.height * 96 / 1000));
    svg.setTitle(QStringLiteral("Report page"));
    if (!painter.begin(&svg)) {
        if (error)
            *error = QStringLiteral("Cannot write %1").arg(path);
        return false;
    }
    PageRenderer::paint(painter, page, 96, 96);
    return painter.end();
}

}  // namespace srk
