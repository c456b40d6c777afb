#include "ui/services/FieldChecks.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabWidget>

namespace srk {

FieldChecks::FieldChecks(QTabWidget* tabs) : QObject(tabs), m_tabs(tabs) {}

void FieldChecks::checkOnEnter(QWidget* field, std::function<bool()> accept) {
    m_checks.insert(field, accept);
    field->installEventFilter(this);
    connect(field, &QObject::destroyed, this, [this, field] { m_checks.remove(field); });
    if (auto* combo = qobject_cast<QComboBox*>(field)) {
        QLineEdit* line = combo->lineEdit();
        m_checks.insert(line, accept);
        line->installEventFilter(this);
        connect(line, &QObject::destroyed, this, [this, line] { m_checks.remove(line); });
    }
}

void FieldChecks::refuse(QWidget* field) const {
    if (m_tabs) {
        for (QWidget* w = field; w; w = w->parentWidget()) {
            const int tab = m_tabs->indexOf(w);
            if (tab >= 0) {
                m_tabs->setCurrentIndex(tab);
                break;
            }
        }
    }
    field->setFocus();
    if (auto* combo = qobject_cast<QComboBox*>(field))
        combo->lineEdit()->selectAll();
    else if (auto* line = qobject_cast<QLineEdit*>(field))
        line->selectAll();
}

bool FieldChecks::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const auto check = m_checks.constFind(watched);
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && check != m_checks.constEnd() && !(*check)())
            return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace srk
