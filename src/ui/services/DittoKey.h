#pragma once

#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <functional>

class QShortcut;
class QWidget;

namespace srk {

class DittoCopy;

// The ditto key of a form: Ctrl+' puts into the focused field the value that field had in the last
// record this form completed. The form binds each editor to its record field once; the key then works
// on whichever bound editor has the focus, and does nothing elsewhere or before a first completion.
class DittoKey : public QObject {
    Q_OBJECT
public:
    DittoKey(QWidget* form, DittoCopy& copies, const QString& formName);

    // Editors: QLineEdit, QComboBox (editable or not), QSpinBox, QPlainTextEdit, QTextEdit, QCheckBox.
    // With a picture ("@d17", "@t4") the stored value is shown through it.
    void bindField(QWidget* editor, int fieldIndex, const QString& picture = QString());
    // With a function of its own that shows the stored value (a release date's bare year).
    void bindField(QWidget* editor, int fieldIndex, std::function<QString(const QVariant&)> show);

    // What the key does, for a tool-bar ditto button as well: true when a value was put in.
    bool dittoFocusedField();

    // The keys it answers: Ctrl+' and, for keyboards where the apostrophe needs shift, Ctrl+Shift+'.
    static QList<QKeySequence> keys();

private:
    struct Binding {
        int field = -1;
        QString picture;
        std::function<QString(const QVariant&)> show;
    };

    QWidget* boundEditorWithFocus() const;
    static bool putValue(QWidget* editor, const QString& text, qint64 number);

    QWidget* m_form;
    DittoCopy& m_copies;
    QString m_formName;
    QShortcut* m_shortcut;
    QHash<QWidget*, Binding> m_bindings;
};

}  // namespace srk
