#include "ui/services/TableWatch.h"

#include "access/TableAccess.h"

#include <QEvent>
#include <QMdiSubWindow>
#include <QWidget>

namespace srk {

TableWatch::TableWatch(TableAccess& access, const QStringList& labels, QWidget* window)
    : QObject(window), m_access(access), m_labels(labels), m_window(window) {
    connect(&access.changes(), &TableChanges::tableChanged, this, &TableWatch::onTableChanged);
    m_timer.setInterval(kCheckIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &TableWatch::check);
    m_timer.start();
    window->installEventFilter(this);
}

void TableWatch::check() {
    m_access.checkOtherStations();
}

void TableWatch::onTableChanged(const QString& label) {
    if (!m_labels.contains(label) || m_pending)
        return;
    // One read of the page for all tables reported in this turn of the event loop.
    m_pending = true;
    QTimer::singleShot(0, this, [this] {
        m_pending = false;
        Q_EMIT changed();
    });
}

void TableWatch::followSubWindow() {
    auto* sub = qobject_cast<QMdiSubWindow*>(m_window->parentWidget());
    if (!sub || sub == m_subWindow)
        return;
    m_subWindow = sub;
    // Choosing another window of the workspace does not activate the frame, only the sub-window.
    connect(sub, &QMdiSubWindow::windowStateChanged, this, [this](Qt::WindowStates before, Qt::WindowStates now) {
        if ((now & Qt::WindowActive) && !(before & Qt::WindowActive))
            check();
    });
}

bool TableWatch::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::WindowActivate:
            check();
            break;
        case QEvent::Show:
        case QEvent::ParentChange:
            followSubWindow();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace srk
