#pragma once

#include <QString>
#include <QStringList>

namespace srk {

class TableAccess;

// The song form's field checks. Each shows its standard message when the value is refused.

// Track number 0 to 99 ("Range Error" for "Track").
bool checkTrackNumber(TableAccess& access, qint64 track);
// Chart number 0 to 100 ("Range Error" for "Chart").
bool checkChartNumber(TableAccess& access, qint64 chart);

// Every MED:Media value, sorted.
QStringList loadMediaList(TableAccess& access);

// The medium is looked up in the list (and takes the list's letter case), then must be in the Media
// table, else message 11 for field "Media" in file "Media".
bool checkMedia(TableAccess& access, const QStringList& mediaList, QString& media);

} // namespace srk
