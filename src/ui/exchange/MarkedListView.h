#pragma once

#include <QTreeWidget>

namespace srk {

class MarkedList;

// Shows a list of field rows (name and picture) with its marks highlighted, and hands every click and
// key to the list's marking rules: a plain click, Ctrl+click, the space bar, Shift with a click or a
// moving key.
class MarkedListView : public QTreeWidget {
    Q_OBJECT
public:
    MarkedListView(MarkedList& list, QWidget* parent = nullptr);
    // Shows the rows, marks and current row as the list holds them now.
    void refresh();

Q_SIGNALS:
    // Marks or the current row changed through the mouse or the keyboard.
    void marksChanged();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int pageRows() const;

    MarkedList& m_list;
};

}  // namespace srk
