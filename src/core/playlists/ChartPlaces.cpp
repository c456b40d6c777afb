#include "playlists/ChartPlaces.h"

#include "catalog/Tables.h"
#include "store/Record.h"

namespace srk {

QString lastWeekPlace(const QString& note) {
    const qsizetype at = note.indexOf(QLatin1String("LW:"));
    if (at < 0)
        return QStringLiteral("--");
    return note.mid(at + 3, 2).leftJustified(2);
}

QString movementMark(qint64 place, const QString& lastWeek) {
    const qint64 last = lastWeek.trimmed().toLongLong();  // "--" and other text are 0
    if (place < last - 10)
        return QStringLiteral("*");
    if (place < last)
        return QStringLiteral("^");
    if (place == last)
        return QStringLiteral("=");
    return QStringLiteral(" ");
}

ChartPlace ChartPlaces::next(Record& line) {
    ChartPlace p;
    p.place = ++m_place;
    p.lastWeek = lastWeekPlace(line.text(PLA::PlaylistNotes));
    p.mark = movementMark(p.place, p.lastWeek);
    if (line.number(PLA::PlaylistSeq) != p.place) {
        line.setNumber(PLA::PlaylistSeq, p.place);
        p.renumbered = true;
    }
    return p;
}

}  // namespace srk
