#include "songs/SongOrders.h"

#include "catalog/Tables.h"

#include <array>

namespace srk {

namespace {

std::array<SongOrder, kSongOrderCount> makeOrders() {
    using namespace SON;
    constexpr SongRange None = SongRange::None;
    return {{
        {1, QStringLiteral("By Artist"), SongsByArtist, Artist, {Title}, 40, false, true, None, QString(),
         QStringLiteral("PrintSON:SongsByArtist"), -1, QString()},
        {2, QStringLiteral("By Title"), SongsByTitle, Title, {Artist}, 40, false, false, None, QString(),
         QStringLiteral("PrintSON:SongsByTitle"), -1, QString()},
        {3, QStringLiteral("By Album"), SongsByAlbum, Album, {Artist, Side, TrackNumber, Title}, 40, false, false,
         None, QString(), QStringLiteral("PrintSON:SongsByAlbum"), -1, QString()},
        {4, QStringLiteral("By Media"), SongsByMedia, FileNumber, {Title}, 20, false, false, SongRange::Media,
         QStringLiteral("UPPER(SON:Media) = UPPER(BRW1::Sort3:Reset:MED:Media)"),
         QStringLiteral("PrintSON:SongsByMedia"), Media, QString(kMediaRangeName)},
        {5, QStringLiteral("By Category"), SongsByCategory, Artist, {Title, Album}, 40, false, true, SongRange::Category,
         QStringLiteral("SON:CategoryID = BRW1::Sort4:Reset:CAT:CategoryID"), QStringLiteral("PrintByCategory"),
         CategoryID, QString(kCategoryRangeName)},
        {6, QStringLiteral("By Chart #"), SongsByChartNumber, ChartNumber, {Artist, Title}, 0, true, false, None, QString(),
         QStringLiteral("PRINTSON:SONGSBYCHART"), -1, QString()},
        {7, QStringLiteral("By BPM"), KeyBeatsPerMinute, BeatsPerMinute, {Title, Artist}, 0, true, false, None, QString(),
         QStringLiteral("PrintSON:SongsByBPM"), -1, QString()},
        {8, QStringLiteral("By UDK"), SongsByUserDefinedKey, UserDefinedKeyField, {Artist, Title}, 30, false, false,
         None, QString(), QStringLiteral("PrintSON:SongsByUDK"), -1, QString()},
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
    return browseOrderFilter(songOrder(number), query);
}

Record songLocateTarget(int number, const Record& base, const QString& locatorText, const QString& mediaRange,
                        qint64 categoryRange) {
    const SongOrder& order = songOrder(number);
    const QVariant range = order.range == SongRange::Media ? QVariant(mediaRange) : QVariant(categoryRange);
    return browseLocateTarget(songsTable(), order, base, locatorText, range);
}

} // namespace srk
