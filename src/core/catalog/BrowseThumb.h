#pragma once

#include "catalog/BrowseOrder.h"
#include "store/Record.h"

#include <QStringList>
#include <QVector>

namespace srk {

// The 100 thumb samples of one browse order, made from its first and last record, and the way between
// a thumb position (0..99) and the order's located field.
class BrowseThumb {
public:
    // first/last are the order's first and last record under its filter; null when the order is empty.
    // The order must outlive the samples (orders are tables of the program).
    void rebuild(const BrowseOrder& order, const Record* first, const Record* last);
    bool isEmpty() const { return m_texts.isEmpty() && m_numbers.isEmpty(); }
    // The tab number of the order the samples were made for; 0 before the first rebuild.
    int order() const { return m_order ? m_order->number : 0; }

    // Where the thumb stands for a record of the order.
    int position(const Record& record) const;

    // The located field's value at a thumb position, as a locator text (a number written out for the
    // numeric orders).
    QString sampleText(int position) const;

    const QStringList& texts() const { return m_texts; }
    const QVector<qint64>& numbers() const { return m_numbers; }

private:
    const BrowseOrder* m_order = nullptr;
    QStringList m_texts;
    QVector<qint64> m_numbers;
};

} // namespace srk
