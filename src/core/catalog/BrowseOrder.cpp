#include "catalog/BrowseOrder.h"

#include <cmath>

namespace srk {

QString browseOrderFilter(const BrowseOrder& order, const QString& query) {
    const QString& range = order.rangeFilter;
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

Record browseLocateTarget(const TableDef& table, const BrowseOrder& order, const Record& base,
                          const QString& locatorText, const QVariant& rangeValue) {
    Record target = base.isValid() ? base : Record(table);
    // A locate goes by key values only, never to the record the values came from.
    target.setRowId(0);
    if (order.numeric) {
        const FieldKind kind = table.fields[order.located].kind;
        target.setNumber(order.located, locatorNumber(locatorText, Record::maxOf(kind)));
    } else {
        target.setText(order.located, locatorText.left(order.locatedWidth));
    }
    for (int field : order.cleared) {
        if (table.fields[field].kind == FieldKind::Text)
            target.setText(field, QString());
        else
            target.setNumber(field, 0);
    }
    if (order.range == BrowseRange::Media)
        target.setText(order.rangeField, rangeValue.toString());
    else if (order.range == BrowseRange::Category)
        target.setNumber(order.rangeField, rangeValue.toLongLong());
    return target;
}

} // namespace srk
