#include "ui/services/WindowSize.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLayout>
#include <QLineEdit>
#include <QStyle>
#include <QWidget>

namespace srk {

namespace {

const char* const kDesignedProperty = "srkDesignedMinimum";

QSize neededSize(QWidget* window) {
    const QSize designed = window->property(kDesignedProperty).toSize();
    QSize needed = designed.isValid() ? designed : QSize(0, 0);
    if (QLayout* layout = window->layout()) {
        needed = needed.expandedTo(layout->totalMinimumSize());
        // A tool bar above the layout must fit whole: otherwise its last buttons hide behind a chevron.
        if (QWidget* bar = layout->menuBar(); bar && !bar->isHidden()) {
            const QMargins m = layout->contentsMargins();
            needed.setWidth(std::max(needed.width(), bar->sizeHint().width() + m.left() + m.right()));
        }
    } else {
        needed = needed.expandedTo(window->minimumSizeHint());
    }
    needed.setWidth(std::max(needed.width(), titleBarWidth(window, window->windowTitle())));
    return needed;
}

// Qt grows a smaller window to its new minimum itself, without taking that for the user's own size, so
// a window not shown yet still opens at its size hint.
void applyMinimum(QWidget* window) {
    window->setMinimumSize(window->minimumSize().expandedTo(neededSize(window)));
}

}  // namespace

int titleBarWidth(const QWidget* window, const QString& title) {
    if (title.isEmpty())
        return 0;
    QFont font = window ? window->font() : QApplication::font();
    font.setBold(true);
    const QStyle* style = window ? window->style() : QApplication::style();
    const int bar = std::max(style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window),
                             QFontMetrics(font).height() + 8);
    // The icon on the left, minimise, maximise and close on the right.
    return QFontMetrics(font).horizontalAdvance(title) + 4 * bar + 16;
}

void fitEntryToCharacters(QLineEdit* entry, int characters) {
    if (!entry)
        return;
    const QFontMetrics metrics = entry->fontMetrics();
    // The size hint is seventeen "x" wide plus the frame and margins.
    const int beyondText = entry->sizeHint().width() - metrics.horizontalAdvance(QLatin1Char('x')) * 17;
    const int wanted = metrics.horizontalAdvance(QLatin1Char('x')) * characters + beyondText;
    entry->setMinimumWidth(std::max(entry->minimumWidth(), wanted));
}

void fitWindow(QWidget* window, QSize designedMinimum) {
    if (!window)
        return;
    if (window->layout())
        window->layout()->activate();
    const bool first = !window->property(kDesignedProperty).isValid();
    window->setProperty(kDesignedProperty, designedMinimum.isValid() ? designedMinimum : QSize(0, 0));
    applyMinimum(window);
    if (first)
        QObject::connect(window, &QWidget::windowTitleChanged, window, [window](const QString&) {
            applyMinimum(window);
        });
}

}  // namespace srk
