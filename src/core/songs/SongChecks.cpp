#include "songs/SongChecks.h"

#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "store/Table.h"

namespace srk {

bool checkTrackNumber(TableAccess& access, qint64 track) {
    if (track >= 0 && track <= 99)
        return true;
    access.showStandardMessage(StdMsg::RangeError, QStringLiteral("Track"), QStringLiteral("0 and 99"));
    return false;
}

bool checkChartNumber(TableAccess& access, qint64 chart) {
    if (chart >= 0 && chart <= 100)
        return true;
    access.showStandardMessage(StdMsg::RangeError, QStringLiteral("Chart"), QStringLiteral("0 and 100"));
    return false;
}

QStringList loadMediaList(TableAccess& access) {
    QStringList out;
    TableUse use(access);
    if (!use.open(mediaTable()))
        return out;
    Table table(access.store(), mediaTable());
    table.setStart(MED::KeyMedia);
    Record r;
    while (table.next(r) == NoError)
        out << r.text(MED::Media);
    return out;
}

bool checkMedia(TableAccess& access, const QStringList& mediaList, QString& media) {
    const QString typed = media.trimmed();
    for (const QString& m : mediaList) {
        if (m.compare(typed, Qt::CaseInsensitive) == 0) {
            media = m;
            break;
        }
    }
    TableUse use(access);
    bool found = false;
    if (use.open(mediaTable())) {
        Record probe(mediaTable());
        probe.setText(MED::Media, media);
        found = Table(access.store(), mediaTable()).get(MED::KeyMedia, probe) == NoError;
    }
    if (!found)
        access.showStandardMessage(StdMsg::FieldContentsError, QStringLiteral("Media"), QStringLiteral("Media"));
    return found;
}

} // namespace srk
