#include "ui/services/WindowOnScreen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace srk {

FrameMargins frameMarginsOf(const QWidget* window, const QWidget* decorated) {
    const QWidget* candidates[] = {window, decorated ? decorated->window() : nullptr};
    for (const QWidget* w : candidates) {
        if (!w || !w->isVisible())
            continue;
        const QRect outer = w->frameGeometry(), inner = w->geometry();
        if (outer != inner)
            return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                    outer.bottom() - inner.bottom()};
    }
    return {};
}

void placeOnScreens(QWidget* window, const QRect& wanted, const QWidget* decorated) {
    QVector<WindowGeometry> areas;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect r = screen->availableGeometry();
        areas.append({r.x(), r.y(), r.width(), r.height()});
    }
    const QSize least = window->minimumSize().expandedTo(window->minimumSizeHint());
    const WindowGeometry kept = keepFrameOnAreas(
        {wanted.x(), wanted.y(), std::max(wanted.width(), least.width()), std::max(wanted.height(), least.height())},
        frameMarginsOf(window, decorated), areas);
    const QRect placed(kept.x, kept.y, kept.width, kept.height);
    if (placed != window->geometry())
        window->setGeometry(placed);
}

}  // namespace srk
