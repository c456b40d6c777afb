#include "songs/SongOrders.h"

#include "catalog/Tables.h"

#include <array>
#include <cmath>

namespace srk {

namespace {

std::array<SongOrder, kSongOrderCount> makeOrders() {
    using namespace SON;
    constexpr SongRange None = SongRange::None;
    return {{
        {1, QStringLiteral("By Artist"), SongsByArtist, Artist, {Title}, 40, false, true, None, QString(),
         QStringLiteral("PrintSON:SongsByArtist")},
        {2, QStringLiteral("By Title"), SongsByTitle, Title, {Artist}, 40, false, false, None, QString(),
         QStringLiteral("PrintSON:SongsByTitle")},
        {3, QStringLiteral("By Album"), SongsByAlbum, Album, {Artist, Side, TrackNumber, Title}, 40, false, false,
         None, QString(), QStringLiteral("PrintSON:SongsByAlbum")},
        {4, QStringLiteral("By Media"), SongsByMedia, FileNumber, {Title}, 20, false, false, SongRange::Media,
         QStringLiteral("UPPER(SON:Media) = UPPER(BRW1::Sort3:Reset:MED:Media)"),
         QStringLiteral("PrintSON:SongsByMedia")},
        {5, QStringLiteral("By Category"), SongsByCategory, Artist, {Title, Album}, 40, false, true, SongRange::Category,
         QStringLiteral("SON:CategoryID = BRW1::Sort4:Reset:CAT:CategoryID"), QStringLiteral("PrintByCategory")},
        {6, QStringLiteral("By Chart #"), SongsByChartNumber, ChartNumber, {Artist, Title}, 0, true, false, None, QString(),
         QStringLiteral("PRINTSON:SONGSBYCHART")},
        {7, QStringLiteral("By BPM"), KeyBeatsPerMinute, BeatsPerMinute, {Title, Artist}, 0, true, false, None, QString(),
         QStringLiteral("PrintSON:SongsByBPM")},
        {8, QStringLiteral("By UDK"), SongsByUserDefinedKey, UserDefinedKeyField, {Artist, Title}, 30, false, false,
         None, QString(), QStringLiteral("PrintSON:SongsByUDK")},
    }};
}

} // namespace

const SongOrder& songOrder(int number) {
    static const std::array<SongOrder, kSongOrderCount> orders = makeOrders();
    if (number < 1 || number > kSongOrderCount)
        number = 1;
    return orders[size_t(number - 1)];
}

QString songOrderFilter(int number, const QString& query) {
    const QString range = songOrder(number).rangeFilter;
    const QString q = query.trimmed();
    if (q.isEmpty())
        return range;
    if (range.isEmpty())
        return q;
    return QStringLiteral("(") + range + QStringLiteral(") AND (") + q + QStringLiteral(")");
}

qint64 locatorNumber(const QString& text, qint64 maximum) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    // "nan" and "inf" read as doubles but stand for no number; a NaN must never reach the cast below.
    if (!ok || !std::isfinite(value) || value <= 0)
        return 0;
    if (value >= double(maximum))
        return maximum;
    return qint64(value);
}

Record songLocateTarget(int number, const Record& base, const QString& locatorText, const QString& mediaRange,
                        qint64 categoryRange) {
    const SongOrder& order = songOrder(number);
    Record target = base.isValid() ? base : Record(songsTable());
    // A locate goes by key values only, never to the record the values came from.
    target.setRowId(0);
    if (order.numeric) {
        const FieldKind kind = songsTable().fields[order.located].kind;
        target.setNumber(order.located, locatorNumber(locatorText, Record::maxOf(kind)));
    } else {
        target.setText(order.located, locatorText.left(order.locatedWidth));
    }
    for (int field : order.cleared) {
        if (songsTable().fields[field].kind == FieldKind::Text)
            target.setText(field, QString());
        else
            target.setNumber(field, 0);
    }
    if (order.range == SongRange::Media)
        target.setText(SON::Media, mediaRange);
    else if (order.range == SongRange::Category)
        target.setNumber(SON::CategoryID, categoryRange);
    return target;
}

} // namespace srk
