#include "albums/AlbumOrders.h"

#include "catalog/Tables.h"

#include <array>

namespace srk {

namespace {

std::array<BrowseOrder, kAlbumOrderCount> makeOrders() {
    using namespace ALB;
    constexpr BrowseRange None = BrowseRange::None;
    constexpr BrowseRange Category = BrowseRange::Category;
    // Digits count in the thumb samples where the artist is located, as in the song orders.
    return {{
        {1, QStringLiteral("Album"), KeyAlbum, Album, {Artist}, 40, false, false, None, QString(), QString(), -1, QString()},
        {2, QStringLiteral("Artist"), KeyArtist, Artist, {Album}, 40, false, true, None, QString(), QString(), -1, QString()},
        {3, QStringLiteral("File #"), KeyFileNumber, FileNumber, {}, 20, false, false, None, QString(), QString(), -1, QString()},
        {4, QStringLiteral("Category"), KeyCategory, Album, {Artist}, 40, false, false, Category,
         QStringLiteral("ALB:CategoryID = BRW1::Sort3:Reset:CAT:CategoryID"), QString(), CategoryID,
         QString(kAlbumCategoryRangeName)},
        {5, QStringLiteral("Cat/Art"), KeyCategoryArtist, Artist, {Album}, 40, false, true, Category,
         QStringLiteral("ALB:CategoryID = BRW1::Sort4:Reset:CAT:CategoryID"), QString(), CategoryID,
         QString(kAlbumArtistCategoryRangeName)},
    }};
}

} // namespace

const BrowseOrder& albumOrder(int number) {
    static const std::array<BrowseOrder, kAlbumOrderCount> orders = makeOrders();
    if (number < 1 || number > kAlbumOrderCount)
        number = 1;
    return orders[size_t(number - 1)];
}

Record albumLocateTarget(int number, const Record& base, const QString& locatorText, qint64 categoryRange) {
    return browseLocateTarget(albumTable(), albumOrder(number), base, locatorText, categoryRange);
}

} // namespace srk
