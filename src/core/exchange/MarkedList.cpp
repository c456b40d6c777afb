#include "exchange/MarkedList.h"

#include <QtGlobal>

namespace srk {

void MarkedList::click(int row) {
    if (row < 0 || row >= size())
        return;
    for (int i = 0; i < size(); ++i)
        m_rows[i].marked = i == row;
    m_current = m_anchor = row;
}

void MarkedList::ctrlClick(int row) {
    if (row < 0 || row >= size())
        return;
    m_current = row;
    space();
}

void MarkedList::space() {
    if (m_current < 0 || m_current >= size())
        return;
    m_rows[m_current].marked = !m_rows[m_current].marked;
    m_anchor = m_current;
}

void MarkedList::markRange(int to) {
    const int lo = qMin(m_anchor, to), hi = qMax(m_anchor, to);
    for (int i = 0; i < size(); ++i)
        m_rows[i].marked = i >= lo && i <= hi;
    m_current = to;
}

void MarkedList::shiftClick(int row) {
    if (row < 0 || row >= size())
        return;
    if (m_anchor < 0 || m_anchor >= size()) {
        click(row);
        return;
    }
    markRange(row);
}

void MarkedList::key(Key key, bool shift, int pageRows) {
    if (m_rows.isEmpty())
        return;
    const int from = m_current < 0 ? 0 : m_current;
    int to = from;
    switch (key) {
    case Key::Up: to = from - 1; break;
    case Key::Down: to = from + 1; break;
    case Key::PageUp: to = from - qMax(1, pageRows); break;
    case Key::PageDown: to = from + qMax(1, pageRows); break;
    case Key::Home: to = 0; break;
    case Key::End: to = size() - 1; break;
    }
    to = qBound(0, to, size() - 1);
    if (shift)
        shiftClick(to);
    else
        m_current = to;
}

QVector<int> MarkedList::markedRows() const {
    QVector<int> out;
    for (int i = 0; i < size(); ++i)
        if (m_rows[i].marked)
            out.push_back(i);
    return out;
}

int MarkedList::find(const QString& name) const {
    for (int i = 0; i < size(); ++i)
        if (m_rows[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

}  // namespace srk
