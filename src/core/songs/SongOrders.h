#pragma once

#include "store/Record.h"

#include <QString>
#include <QVector>

namespace srk {

// The song browser's eight sort orders, numbered as its tabs (1 "By Artist" ... 8 "By UDK").
constexpr int kSongOrderCount = 8;

// The value an order is held to: "By Media" reads the songs of one medium, "By Category" those of one
// category; the other orders read every song.
enum class SongRange { None, Media, Category };

// Bound names of the two range values, usable in filters.
inline constexpr QLatin1StringView kMediaRangeName{"BRW1::Sort3:Reset:MED:Media"};
inline constexpr QLatin1StringView kCategoryRangeName{"BRW1::Sort4:Reset:CAT:CategoryID"};

struct SongOrder {
    int number = 0;       // 1..8
    QString tabText;      // "By Artist"
    int key = 0;          // SON:: key
    int located = 0;      // the field a locate or thumb drag sets
    QVector<int> cleared; // the key's later fields, blanked before positioning
    int locatedWidth = 0; // characters of the located text (0 for numbers)
    bool numeric = false; // the locator text is read as a number
    bool withDigits = false; // thumb samples count digits as well as letters
    SongRange range = SongRange::None;
    QString rangeFilter;  // the order's own filter, empty when none
    QString report;       // the procedure printing this order
};

// Order 1..8; anything else gives order 1.
const SongOrder& songOrder(int number);

// The filter an order reads with: its range, the query, or both joined as
// "(range) AND (query)". Empty when neither applies.
QString songOrderFilter(int number, const QString& query);

// The number a locator text stands for in the numeric orders: the text read as a number, 0 when it
// is not one, kept within the field's range.
qint64 locatorNumber(const QString& text, qint64 maximum);

// Key values to position at for a locate: the located field from the text (the file number takes
// the text's first 20 characters), the later fields cleared, the range field of orders 4 and 5 set to
// the chosen range. Other fields of `base` are kept.
Record songLocateTarget(int number, const Record& base, const QString& locatorText, const QString& mediaRange,
                        qint64 categoryRange);

} // namespace srk
