#pragma once

#include <QString>

#include <optional>

class QMimeData;

namespace srk {

// Drags between the program's lists carry a drag id ("Songs") and one value (a song's ID); a target
// takes only the ids it knows.
QMimeData* makeDragData(const QString& dragId, const QString& value);
// The value of a drag with this id; nothing for a drag of another id or from elsewhere.
std::optional<QString> dropValue(const QMimeData* data, const QString& dragId);

inline const QString kSongsDragId = QStringLiteral("Songs");

} // namespace srk
