#include "catalog/BrowseThumb.h"

#include "store/ThumbSamples.h"

namespace srk {

void BrowseThumb::rebuild(const BrowseOrder& order, const Record* first, const Record* last) {
    m_order = &order;
    m_texts.clear();
    m_numbers.clear();
    if (!first || !last)
        return;
    if (order.numeric)
        m_numbers = numberThumbSamples(first->number(order.located), last->number(order.located));
    else
        m_texts = textThumbSamples(first->text(order.located), last->text(order.located), order.locatedWidth,
                                   order.withDigits);
}

int BrowseThumb::position(const Record& record) const {
    if (!m_order)
        return 0;
    if (!m_numbers.isEmpty())
        return thumbPosition(m_numbers, record.number(m_order->located));
    if (!m_texts.isEmpty())
        return thumbPosition(m_texts, record.text(m_order->located));
    return 0;
}

QString BrowseThumb::sampleText(int position) const {
    if (!m_numbers.isEmpty())
        return QString::number(m_numbers.value(qBound(0, position, int(m_numbers.size()) - 1)));
    if (!m_texts.isEmpty())
        return m_texts.value(qBound(0, position, int(m_texts.size()) - 1));
    return QString();
}

} // namespace srk
