#include "ui/exchange/MarkedListView.h"

#include "exchange/MarkedList.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

namespace srk {

MarkedListView::MarkedListView(MarkedList& list, QWidget* parent) : QTreeWidget(parent), m_list(list) {
    setHeaderLabels({QStringLiteral("Field"), QStringLiteral("Picture")});
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    // The marks are the list's own; the view's selection would only contradict them.
    setSelectionMode(QAbstractItemView::NoSelection);
    header()->setStretchLastSection(true);
    setFocusPolicy(Qt::StrongFocus);
    refresh();
}

void MarkedListView::refresh() {
    const QVector<FieldRow>& rows = m_list.rows();
    while (topLevelItemCount() > rows.size())
        delete takeTopLevelItem(topLevelItemCount() - 1);
    while (topLevelItemCount() < rows.size())
        new QTreeWidgetItem(this);
    const QPalette& p = palette();
    for (int r = 0; r < rows.size(); ++r) {
        QTreeWidgetItem* item = topLevelItem(r);
        item->setText(0, rows[r].name);
        item->setText(1, rows[r].picture);
        for (int c = 0; c < 2; ++c) {
            item->setBackground(c, rows[r].marked ? p.brush(QPalette::Highlight) : QBrush());
            item->setForeground(c, rows[r].marked ? p.brush(QPalette::HighlightedText) : QBrush());
        }
    }
    resizeColumnToContents(0);
    QTreeWidgetItem* current = m_list.current() >= 0 ? topLevelItem(m_list.current()) : nullptr;
    if (current != currentItem())
        setCurrentItem(current);
    if (current)
        scrollToItem(current);
}

int MarkedListView::pageRows() const {
    const int row = qMax(1, sizeHintForRow(0));
    return qMax(1, viewport()->height() / row - 1);
}

void MarkedListView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    QTreeWidgetItem* item = itemAt(event->position().toPoint());
    if (!item) {
        event->accept();
        return;
    }
    const int row = indexOfTopLevelItem(item);
    if (event->modifiers() & Qt::ShiftModifier)
        m_list.shiftClick(row);
    else if (event->modifiers() & Qt::ControlModifier)
        m_list.ctrlClick(row);
    else
        m_list.click(row);
    refresh();
    event->accept();
    Q_EMIT marksChanged();
}

void MarkedListView::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void MarkedListView::mouseMoveEvent(QMouseEvent* event) { event->accept(); }

void MarkedListView::keyPressEvent(QKeyEvent* event) {
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    MarkedList::Key key = MarkedList::Key::Up;
    switch (event->key()) {
    case Qt::Key_Up: key = MarkedList::Key::Up; break;
    case Qt::Key_Down: key = MarkedList::Key::Down; break;
    case Qt::Key_PageUp: key = MarkedList::Key::PageUp; break;
    case Qt::Key_PageDown: key = MarkedList::Key::PageDown; break;
    case Qt::Key_Home: key = MarkedList::Key::Home; break;
    case Qt::Key_End: key = MarkedList::Key::End; break;
    case Qt::Key_Space:
        m_list.space();
        refresh();
        event->accept();
        Q_EMIT marksChanged();
        return;
    default:
        // Tab, Enter, Escape and the rest belong to the window.
        event->ignore();
        return;
    }
    m_list.key(key, shift, pageRows());
    refresh();
    event->accept();
    Q_EMIT marksChanged();
}

}  // namespace srk
