#pragma once

#include "catalog/BrowseOrder.h"

#include <QString>

namespace srk {

// The album browser's five sort orders, numbered as its tabs (1 "Album" ... 5 "Cat/Art").
constexpr int kAlbumOrderCount = 5;

// Bound names of the category chosen on each of the two category tabs.
inline constexpr QLatin1StringView kAlbumCategoryRangeName{"BRW1::Sort3:Reset:CAT:CategoryID"};
inline constexpr QLatin1StringView kAlbumArtistCategoryRangeName{"BRW1::Sort4:Reset:CAT:CategoryID"};

// Order 1..5; anything else gives order 1.
const BrowseOrder& albumOrder(int number);

// Key values to position at for a locate in an album order (see browseLocateTarget); the category
// tabs start in `categoryRange`.
Record albumLocateTarget(int number, const Record& base, const QString& locatorText, qint64 categoryRange);

} // namespace srk
