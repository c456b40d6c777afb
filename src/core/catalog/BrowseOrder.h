#pragma once

#include "store/Record.h"
#include "store/TableDef.h"

#include <QString>
#include <QVariant>
#include <QVector>

namespace srk {

// What a browse tab's order is held to: a text range compared without regard to case (a medium) or a
// number (a category id); the other orders read the whole table.
enum class BrowseRange { None, Media, Category };

// One sort order of a browse sheet: its tab, its key, the field a locate or a thumb drag sets and the
// key's later fields it clears, and the range the order may be held to.
struct BrowseOrder {
    int number = 0;          // 1.., the tab's place
    QString tabText;         // "By Artist"
    int key = 0;             // key of the table
    int located = 0;         // the field a locate or thumb drag sets
    QVector<int> cleared;    // the key's later fields, blanked before positioning
    int locatedWidth = 0;    // characters of the located text (0 for numbers)
    bool numeric = false;    // the locator text is read as a number
    bool withDigits = false; // thumb samples count digits as well as letters
    BrowseRange range = BrowseRange::None;
    QString rangeFilter;     // the order's own filter, empty when none
    QString report;          // the procedure printing this order
    int rangeField = -1;     // the field holding the range value, set before positioning
    QString rangeName;       // the bound name of the range value in rangeFilter
};

// The filter an order reads with: its range, the query, or both joined as "(range) AND (query)".
// Empty when neither applies.
QString browseOrderFilter(const BrowseOrder& order, const QString& query);

// The number a locator text stands for in the numeric orders: the text read as a number, 0 when it
// is not one, kept within the field's range.
qint64 locatorNumber(const QString& text, qint64 maximum);

// Key values to position at for a locate: the located field from the text (cut to the order's
// width), the later fields cleared, the range field set to `rangeValue` in a ranged order. Other
// fields of `base` are kept; an invalid base stands for a cleared record of `table`.
Record browseLocateTarget(const TableDef& table, const BrowseOrder& order, const Record& base,
                          const QString& locatorText, const QVariant& rangeValue);

} // namespace srk
