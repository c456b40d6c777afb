#include "ui/services/DittoKey.h"

#include "access/DittoCopy.h"
#include "text/Picture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QSpinBox>
#include <QTextEdit>

namespace srk {

DittoKey::DittoKey(QWidget* form, DittoCopy& copies, const QString& formName)
    : QObject(form), m_form(form), m_copies(copies), m_formName(formName), m_shortcut(new QShortcut(form)) {
    m_shortcut->setKeys(keys());
    // The form's own fields only, also when the form is a page inside a larger window.
    m_shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    connect(m_shortcut, &QShortcut::activated, this, [this] { dittoFocusedField(); });
}

QList<QKeySequence> DittoKey::keys() {
    return {QKeySequence(Qt::CTRL | Qt::Key_Apostrophe), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Apostrophe)};
}

void DittoKey::bindField(QWidget* editor, int fieldIndex, const QString& picture) {
    if (!editor || fieldIndex < 0)
        return;
    m_bindings.insert(editor, Binding{fieldIndex, picture, {}});
    connect(editor, &QObject::destroyed, this, [this, editor] { m_bindings.remove(editor); });
}

void DittoKey::bindField(QWidget* editor, int fieldIndex, std::function<QString(const QVariant&)> show) {
    if (!editor || fieldIndex < 0)
        return;
    m_bindings.insert(editor, Binding{fieldIndex, QString(), std::move(show)});
    connect(editor, &QObject::destroyed, this, [this, editor] { m_bindings.remove(editor); });
}

QWidget* DittoKey::boundEditorWithFocus() const {
    QWidget* focused = QApplication::focusWidget();
    if (!focused)
        focused = m_form->focusWidget();
    // The focus may sit on an editor's inner part: a spin box's or combo box's line edit, a text
    // edit's viewport.
    for (QWidget* w = focused; w; w = w->parentWidget()) {
        if (m_bindings.contains(w))
            return w;
        if (w == m_form)
            break;
    }
    return nullptr;
}

bool DittoKey::dittoFocusedField() {
    if (!m_copies.has(m_formName))
        return false;
    QWidget* editor = boundEditorWithFocus();
    if (!editor || !editor->isEnabled())
        return false;
    const Binding binding = m_bindings.value(editor);
    const QVariant value = m_copies.dittoValue(m_formName, binding.field);
    if (!value.isValid())
        return false;
    const QString text = binding.show               ? binding.show(value)
                         : binding.picture.isEmpty() ? value.toString()
                                                     : format(value, binding.picture);
    return putValue(editor, text, value.toLongLong());
}

bool DittoKey::putValue(QWidget* editor, const QString& text, qint64 number) {
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        if (line->isReadOnly())
            return false;
        // Replace through the edit so that undo and textEdited work as for typing.
        line->selectAll();
        line->insert(text);
        return true;
    }
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        if (combo->isEditable()) {
            combo->setEditText(text);
            return true;
        }
        const int row = combo->findText(text, Qt::MatchFixedString);
        if (row < 0)
            return false;
        combo->setCurrentIndex(row);
        return true;
    }
    if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
        if (spin->isReadOnly())
            return false;
        spin->setValue(int(qBound(qint64(spin->minimum()), number, qint64(spin->maximum()))));
        return true;
    }
    if (auto* plain = qobject_cast<QPlainTextEdit*>(editor)) {
        if (plain->isReadOnly())
            return false;
        plain->selectAll();
        plain->insertPlainText(text);
        return true;
    }
    if (auto* rich = qobject_cast<QTextEdit*>(editor)) {
        if (rich->isReadOnly())
            return false;
        rich->selectAll();
        rich->insertPlainText(text);
        return true;
    }
    if (auto* check = qobject_cast<QCheckBox*>(editor)) {
        check->setChecked(number != 0);
        return true;
    }
    return false;
}

}  // namespace srk
