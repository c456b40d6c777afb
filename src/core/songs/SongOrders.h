#pragma once

#include "catalog/BrowseOrder.h"
#include "store/Record.h"

#include <QString>
#include <QVector>

namespace srk {

// The song browser's eight sort orders, numbered as its tabs (1 "By Artist" ... 8 "By UDK").
constexpr int kSongOrderCount = 8;

// "By Media" reads the songs of one medium, "By Category" those of one category; the other orders
// read every song.
using SongRange = BrowseRange;
using SongOrder = BrowseOrder;

// Bound names of the two range values, usable in filters.
inline constexpr QLatin1StringView kMediaRangeName{"BRW1::Sort3:Reset:MED:Media"};
inline constexpr QLatin1StringView kCategoryRangeName{"BRW1::Sort4:Reset:CAT:CategoryID"};

// Order 1..8; anything else gives order 1.
const SongOrder& songOrder(int number);

// The filter an order reads with: its range, the query, or both joined as
// "(range) AND (query)". Empty when neither applies.
QString songOrderFilter(int number, const QString& query);

// Key values to position at for a locate: the located field from the text (the file number takes
// the text's first 20 characters), the later fields cleared, the range field of orders 4 and 5 set to
// the chosen range. Other fields of `base` are kept.
Record songLocateTarget(int number, const Record& base, const QString& locatorText, const QString& mediaRange,
                        qint64 categoryRange);

} // namespace srk
