#include "ui/services/DragPayload.h"

#include <QMimeData>

namespace srk {

namespace {

const QString kMimeType = QStringLiteral("application/x-sonorika-drag");

} // namespace

QMimeData* makeDragData(const QString& dragId, const QString& value) {
    auto* data = new QMimeData;
    data->setData(kMimeType, (dragId + QChar(u'\n') + value).toUtf8());
    return data;
}

std::optional<QString> dropValue(const QMimeData* data, const QString& dragId) {
    if (!data || !data->hasFormat(kMimeType))
        return std::nullopt;
    const QString payload = QString::fromUtf8(data->data(kMimeType));
    const qsizetype cut = payload.indexOf(QChar(u'\n'));
    if (cut < 0 || payload.left(cut) != dragId)
        return std::nullopt;
    return payload.mid(cut + 1);
}

} // namespace srk
