#include "songs/SongThumb.h"

#include "songs/SongOrders.h"
#include "store/ThumbSamples.h"

namespace srk {

void SongThumb::rebuild(int order, const Record* first, const Record* last) {
    m_order = order;
    m_texts.clear();
    m_numbers.clear();
    if (!first || !last)
        return;
    const SongOrder& o = songOrder(order);
    if (o.numeric)
        m_numbers = numberThumbSamples(first->number(o.located), last->number(o.located));
    else
        m_texts = textThumbSamples(first->text(o.located), last->text(o.located), o.locatedWidth, o.withDigits);
}

int SongThumb::position(const Record& record) const {
    const SongOrder& o = songOrder(m_order);
    if (!m_numbers.isEmpty())
        return thumbPosition(m_numbers, record.number(o.located));
    if (!m_texts.isEmpty())
        return thumbPosition(m_texts, record.text(o.located));
    return 0;
}

QString SongThumb::sampleText(int position) const {
    if (!m_numbers.isEmpty())
        return QString::number(m_numbers.value(qBound(0, position, int(m_numbers.size()) - 1)));
    if (!m_texts.isEmpty())
        return m_texts.value(qBound(0, position, int(m_texts.size()) - 1));
    return QString();
}

} // namespace srk
