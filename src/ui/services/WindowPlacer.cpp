#include "ui/services/WindowPlacer.h"

#include "settings/IniFile.h"
#include "settings/WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace srk {

namespace {

bool resizable(QWidget* w) {
    return w->minimumSize() != w->maximumSize();
}

bool normalState(QWidget* w) {
    return !(w->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized));
}

// Where the window may be: the workspace's visible area for a window inside it, else the screens.
QVector<WindowGeometry> areasFor(QWidget* w) {
    QVector<WindowGeometry> areas;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w)) {
        if (QWidget* viewport = sub->parentWidget())
            areas.append({0, 0, viewport->width(), viewport->height()});
        return areas;
    }
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect r = screen->availableGeometry();
        areas.append({r.x(), r.y(), r.width(), r.height()});
    }
    return areas;
}

} // namespace

WindowPlacer::WindowPlacer(QWidget* window, IniFile& positions, const QString& procedureName)
    : QObject(window), m_window(window), m_positions(positions), m_name(procedureName) {
    window->installEventFilter(this);
}

QWidget* WindowPlacer::target() const {
    if (!m_window)
        return nullptr;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(m_window->parentWidget()))
        return sub;
    return m_window->window();
}

void WindowPlacer::follow(QWidget* t) {
    if (m_followed == t)
        return;
    if (m_followed)
        m_followed->removeEventFilter(this);
    m_followed = t;
    if (t != m_window)
        t->installEventFilter(this);
}

bool WindowPlacer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window && event->type() == QEvent::Show && !m_placed) {
        if (qobject_cast<QMdiSubWindow*>(target()))
            // The workspace gives a new window its own place and size as it shows; this comes after.
            QTimer::singleShot(0, this, &WindowPlacer::restore);
        else
            restore();
    }
    if (m_followed && watched == m_followed &&
        (event->type() == QEvent::Move || event->type() == QEvent::Resize) && normalState(m_followed))
        m_normal = m_followed->geometry();
    return QObject::eventFilter(watched, event);
}

void WindowPlacer::restore() {
    QWidget* w = target();
    if (!w || m_placed)
        return;
    m_placed = true;
    follow(w);
    const PlacementDecision d = restorePlacement(m_positions, m_name, resizable(w), w->isMaximized());
    if (d.move) {
        // The size the window will really take: never below what its controls need.
        const QSize least = w->minimumSize().expandedTo(w->minimumSizeHint());
        const WindowGeometry saved{d.x, d.y, std::max(d.resize ? d.width : w->width(), least.width()),
                                   std::max(d.resize ? d.height : w->height(), least.height())};
        const WindowGeometry kept = keepOnAreas(saved, areasFor(w));
        w->setGeometry(kept.x, kept.y, d.resize ? kept.width : w->width(),
                       d.resize ? kept.height : w->height());
    }
    if (normalState(w))
        m_normal = w->geometry();
    if (d.setMaximized)
        w->setWindowState(d.maximized ? (w->windowState() | Qt::WindowMaximized)
                                      : (w->windowState() & ~Qt::WindowMaximized));
}

void WindowPlacer::save() {
    QWidget* w = m_followed ? m_followed.data() : target();
    if (!w || !m_placed)
        return;
    // The restored geometry is what a later start wants, whatever state the window is in now. A window
    // inside the workspace has no normal geometry of its own to ask for: the one last seen is kept.
    QRect g = w->geometry();
    if (!normalState(w)) {
        if (w->isWindow() && w->normalGeometry().isValid())
            g = w->normalGeometry();
        else if (m_normal.isValid())
            g = m_normal;
    }
    savePlacement(m_positions, m_name, {g.x(), g.y(), g.width(), g.height()}, w->isMaximized(),
                  w->isMinimized());
}

} // namespace srk
