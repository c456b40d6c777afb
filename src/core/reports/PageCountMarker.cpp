#include "reports/PageCountMarker.h"

#include "reports/ReportPageList.h"

#include <QFile>

namespace srk {

namespace {
constexpr qint64 kWindow = 256;
constexpr qint64 kAdvance = 245;
}  // namespace

QByteArray pageCountText(int count) { return QByteArray::number(count).leftJustified(5, ' ', true); }

bool replacePageCountMarker(const QString& path, int count) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const QByteArray marker(kPageCountMarker);
    for (qint64 start = 0;; start += kAdvance) {
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

int replacePageCountMarkers(const ReportPageList& pages) {
    int changed = 0;
    for (int i = 0; i < pages.count(); ++i)
        if (replacePageCountMarker(pages.path(i), pages.count()))
            ++changed;
    return changed;
}

}  // namespace srk
