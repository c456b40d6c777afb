#include "ui/services/PageList.h"

#include "store/PageCursor.h"
#include "store/ThumbSamples.h"
#include "ui/services/PageModel.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableView>
#include <QWheelEvent>

namespace srk {

PageList::PageList(PageModel* model, QWidget* parent) : QWidget(parent), m_model(model) {
    m_view = new QTableView(this);
    m_view->setModel(model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->setShowGrid(false);
    m_view->setWordWrap(false);
    // The page holds exactly the rows that fit: the view never scrolls itself, the cursor does.
    m_view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    m_view->installEventFilter(this);
    m_view->viewport()->installEventFilter(this);
    setFocusProxy(m_view);

    m_thumb = new QScrollBar(Qt::Vertical, this);
    m_thumb->setRange(0, kThumbSamples - 1);
    m_thumb->setPageStep(1);
    m_thumb->setTracking(false);
    m_thumb->setFocusPolicy(Qt::NoFocus);
    m_thumb->hide();
    connect(m_thumb, &QAbstractSlider::actionTriggered, this, [this](int action) {
        switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            moveBy(m_model->lineDown());
            break;
        case QAbstractSlider::SliderSingleStepSub:
            moveBy(m_model->lineUp());
            break;
        case QAbstractSlider::SliderPageStepAdd:
            moveBy(m_model->pageDown());
            break;
        case QAbstractSlider::SliderPageStepSub:
            moveBy(m_model->pageUp());
            break;
        case QAbstractSlider::SliderToMinimum:
            moveBy(m_model->top());
            break;
        case QAbstractSlider::SliderToMaximum:
            moveBy(m_model->bottom());
            break;
        default:
            break;
        }
    });
    connect(m_thumb, &QAbstractSlider::sliderReleased, this,
            [this] { Q_EMIT thumbDragged(m_thumb->sliderPosition()); });

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_thumb);

    connect(m_model, &PageModel::highlightChanged, this, [this](int row) {
        showHighlight(row);
        showThumb();
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        showHighlight(m_model->highlight());
        showThumb();
    });
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &PageList::showThumb);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &PageList::showThumb);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid() && current.row() != m_model->highlight())
                    m_model->setHighlight(current.row());
            });
    connect(m_view, &QAbstractItemView::doubleClicked, this, [this] {
        if (m_model->rowCount() > 0)
            Q_EMIT activated();
    });
}

void PageList::showThumb() {
    const PageCursor& cursor = m_model->cursor();
    const int position = m_thumbPosition ? m_thumbPosition() : -1;
    const bool hidden = position < 0 || cursor.rows().size() < cursor.pageSize();
    m_thumb->setVisible(!hidden);
    if (hidden)
        return;
    const QSignalBlocker block(m_thumb);
    m_thumb->setSliderPosition(position);
    m_thumb->setValue(position);
}

void PageList::fitPageToView() {
    const int rowHeight = std::max(1, m_view->verticalHeader()->defaultSectionSize());
    const int rows = std::max(1, m_view->viewport()->height() / rowHeight);
    if (rows != m_model->cursor().pageSize())
        moveBy(m_model->setPageSize(rows));
}

void PageList::moveBy(int code) {
    showThumb();
    Q_EMIT moved(code);
}

void PageList::showHighlight(int row) {
    if (row < 0 || row >= m_model->rowCount()) {
        m_view->selectionModel()->clear();
        return;
    }
    const QModelIndex index = m_model->index(row, 0);
    if (m_view->currentIndex() != index)
        m_view->setCurrentIndex(index);
    m_view->selectRow(row);
}

bool PageList::moveKey(QKeyEvent* key) {
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    switch (key->key()) {
    case Qt::Key_Up:
        moveBy(m_model->lineUp());
        return true;
    case Qt::Key_Down:
        moveBy(m_model->lineDown());
        return true;
    case Qt::Key_PageUp:
        moveBy(m_model->pageUp());
        return true;
    case Qt::Key_PageDown:
        moveBy(m_model->pageDown());
        return true;
    case Qt::Key_Home:
        if (ctrl)
            moveBy(m_model->top());
        else
            m_model->setHighlight(0);
        return true;
    case Qt::Key_End:
        if (ctrl)
            moveBy(m_model->bottom());
        else
            m_model->setHighlight(m_model->rowCount() - 1);
        return true;
    default:
        return false;
    }
}

bool PageList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_view && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (moveKey(key))
            return true;
        if (m_keys && m_keys(key))
            return true;
        return QWidget::eventFilter(watched, event);
    }
    if (watched != m_view->viewport())
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Resize:
        fitPageToView();
        break;
    case QEvent::Wheel: {
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        if (delta != 0)
            moveBy(delta > 0 ? m_model->lineUp() : m_model->lineDown());
        return true;
    }
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QModelIndex index = m_view->indexAt(mouse->position().toPoint());
        if (mouse->button() == Qt::RightButton) {
            if (index.isValid())
                m_model->setHighlight(index.row());
            Q_EMIT contextMenuRequested(mouse->globalPosition().toPoint());
            return true;
        }
        if (mouse->button() == Qt::LeftButton) {
            m_dragStart = mouse->position().toPoint();
            m_dragArmed = m_dragSource && index.isValid();
        }
        break;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (m_dragArmed && (mouse->buttons() & Qt::LeftButton) &&
            (mouse->position().toPoint() - m_dragStart).manhattanLength() >= QApplication::startDragDistance()) {
            m_dragArmed = false;
            Q_EMIT dragStarted();
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        m_dragArmed = false;
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace srk
