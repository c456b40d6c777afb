#include "ui/services/WindowInstance.h"

#include <QMdiSubWindow>
#include <QVariant>
#include <QWidget>

namespace srk {

namespace {
const char* const kProperty = "srkWindowInstance";
}

long long windowInstance(QWidget* widget) {
    if (!widget)
        return 0;
    QWidget* owner = widget->window();
    for (QWidget* w = widget; w; w = w->parentWidget())
        if (qobject_cast<QMdiSubWindow*>(w)) {
            owner = w;
            break;
        }
    static long long last = 0;
    const QVariant number = owner->property(kProperty);
    if (number.isValid())
        return number.toLongLong();
    owner->setProperty(kProperty, ++last);
    return last;
}

}  // namespace srk
