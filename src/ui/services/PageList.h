#pragma once

#include <QPoint>
#include <QWidget>

#include <functional>

class QKeyEvent;
class QScrollBar;
class QTableView;

namespace srk {

class PageModel;

// A browse's list: the table view showing a page model's page, and beside it the scroll bar that
// stands for the whole order by its thumb samples. Line, page, top and bottom moves from the keys,
// the wheel and the bar go to the page cursor; the view itself never scrolls. The page grows and
// shrinks with the view. The owner adds its own keys, the thumb's meaning and what a drag carries.
class PageList : public QWidget {
    Q_OBJECT
public:
    explicit PageList(PageModel* model, QWidget* parent = nullptr);

    QTableView* view() const { return m_view; }
    QScrollBar* thumb() const { return m_thumb; }
    PageModel* model() const { return m_model; }

    // Keys other than the moves go here first; true when the owner took the key.
    void setKeyHandler(std::function<bool(QKeyEvent*)> handler) { m_keys = std::move(handler); }
    // Where the thumb stands for the highlighted row (0..99); -1 when there are no samples, which
    // hides the bar (as does a page with fewer rows than the list shows).
    void setThumbPosition(std::function<int()> position) { m_thumbPosition = std::move(position); }
    // Lets a drag start from a row (see dragStarted).
    void setDragSource(bool on) { m_dragSource = on; }

    // Places the bar for the highlighted row (after a move the list did not make itself).
    void showThumb();
    void fitPageToView();

Q_SIGNALS:
    // The list moved the page itself (keys, wheel, bar, resize); code is the cursor's.
    void moved(int code);
    // A row was double-clicked.
    void activated();
    // Right click at a global position (the row under it is highlighted first).
    void contextMenuRequested(QPoint globalPos);
    // The thumb was let go at a position (0..99).
    void thumbDragged(int position);
    // The mouse dragged a row far enough to start a drag.
    void dragStarted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool moveKey(QKeyEvent* key);
    void showHighlight(int row);
    void moveBy(int code);

    PageModel* m_model;
    QTableView* m_view;
    QScrollBar* m_thumb;
    std::function<bool(QKeyEvent*)> m_keys;
    std::function<int()> m_thumbPosition;
    bool m_dragSource = false;
    bool m_dragArmed = false;
    QPoint m_dragStart;
};

} // namespace srk
