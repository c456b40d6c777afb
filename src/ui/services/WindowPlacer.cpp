#include "ui/services/WindowPlacer.h"

#include "settings/IniFile.h"
#include "settings/WindowPlacement.h"

#include <QMdiSubWindow>
#include <QWidget>

namespace srk {

namespace {

QWidget* frameOf(QWidget* window) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget()))
        return sub;
    return window;
}

bool resizable(QWidget* w) { return w->minimumSize() != w->maximumSize(); }

}  // namespace

void restoreWindowPlacement(QWidget* window, const IniFile& positions, const QString& procedureName) {
    QWidget* w = frameOf(window);
    const PlacementDecision d = restorePlacement(positions, procedureName, resizable(w), w->isMaximized());
    if (d.move)
        w->move(d.x, d.y);
    if (d.resize)
        w->resize(d.width, d.height);
    if (d.setMaximized)
        w->setWindowState(d.maximized ? (w->windowState() | Qt::WindowMaximized)
                                      : (w->windowState() & ~Qt::WindowMaximized));
}

void saveWindowPlacement(QWidget* window, IniFile& positions, const QString& procedureName) {
    QWidget* w = frameOf(window);
    // The restored geometry is what a later start wants, whatever state the window is in now.
    QRect g(w->pos(), w->size());
    if ((w->isMaximized() || w->isMinimized()) && w->normalGeometry().isValid())
        g = w->normalGeometry();
    savePlacement(positions, procedureName, {g.x(), g.y(), g.width(), g.height()}, w->isMaximized(),
                  w->isMinimized());
}

}  // namespace srk
