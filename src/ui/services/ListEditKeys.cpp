#include "ui/services/ListEditKeys.h"

#include <QKeyEvent>

namespace srk {

std::optional<bool> ListEditKeys::handle(const QKeyEvent* key, bool empty,
                                         const std::function<void(int)>& press) const {
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    switch (key->key()) {
    case Qt::Key_Insert:
        press(addAction);
        return true;
    case Qt::Key_Delete:
        if (!empty)
            press(deleteAction);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!ctrl && plainEnter == PlainEnter::LeftToForm)
            return false;
        if (ctrl && !empty)
            press(changeAction);
        return true;
    default:
        return std::nullopt;
    }
}

} // namespace srk
