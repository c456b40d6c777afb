#include "reports/PageCountMarker.h"

#include "reports/ReportPageList.h"

#include <QFile>

namespace srk {

namespace {
constexpr qint64 kWindow = 256;
constexpr qint64 kAdvance = 245;
}  // namespace

QByteArray pageCountText(int count) { return QByteArray::number(count).leftJustified(5, ' ', true); }

qint32 pageCountMarkerOffset(const QByteArray& pageBytes) {
    return qint32(pageBytes.indexOf(QByteArrayView(kPageCountMarker)));
}

bool replacePageCountMarker(const QString& path, int count, qint64 from) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const QByteArray marker(kPageCountMarker);
    // The first window that can hold a whole marker starting at `from` or later.
    const qint64 reach = kWindow - qint64(marker.size());
    const qint64 first = from > reach ? (from - reach + kAdvance - 1) / kAdvance : 0;
    for (qint64 start = first * kAdvance;; start += kAdvance) {
        if (!file.seek(start))
            return false;
        QByteArray window = file.read(kWindow);
        const qsizetype at = window.indexOf(marker);
        if (at >= 0) {
            window.replace(at, marker.size(), pageCountText(count));
            return file.seek(start) && file.write(window) == window.size();
        }
        if (window.size() < kWindow)
            return false;
    }
}

int replacePageCountMarkers(ReportPageList& pages) {
    int changed = 0;
    for (int i = 0; i < pages.count(); ++i) {
        const qint32 at = pages.markerAt(i);
        if (at == ReportPageList::kNoMarker)
            continue;
        if (replacePageCountMarker(pages.path(i), pages.count(), at == ReportPageList::kMarkerUnknown ? 0 : at))
            ++changed;
        // Once per page: a second marker on it is the page's own text.
        pages.setMarkerAt(i, ReportPageList::kNoMarker);
    }
    return changed;
}

}  // namespace srk
