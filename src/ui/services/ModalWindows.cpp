#include "ui/services/ModalWindows.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTimer>

namespace srk {

ModalWindows& ModalWindows::instance() {
    static ModalWindows windows;
    return windows;
}

ModalResult ModalWindows::exec(QDialog* dialog) {
    const int id = m_nextId++;
    QPointer<QDialog> guard(dialog);
    m_running.push_back({id, guard});
    if (m_cancelling)
        // Opened while a quit is under way: it goes as soon as its loop runs.
        QTimer::singleShot(0, dialog, [guard] {
            if (guard)
                cancel(guard.data());
        });
    const int code = dialog->exec();
    m_running.erase(
        std::remove_if(m_running.begin(), m_running.end(), [id](const Running& r) { return r.id == id; }),
        m_running.end());
    const ModalResult result{guard ? code : int(QDialog::Rejected), guard.isNull()};
    if (m_running.isEmpty())
        Q_EMIT allReturned();
    return result;
}

QDialog* ModalWindows::innermost() const {
    for (auto it = m_running.crbegin(); it != m_running.crend(); ++it)
        if (it->dialog)
            return it->dialog.data();
    return nullptr;
}

void ModalWindows::cancelAll() {
    m_cancelling = true;
    // Copied first: a window's Cancel may open or close others.
    const QVector<Running> open = m_running;
    for (auto it = open.crbegin(); it != open.crend(); ++it)
        if (it->dialog)
            cancel(it->dialog.data());
}

void ModalWindows::cancel(QDialog* dialog) {
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
        if (QAbstractButton* escape = box->escapeButton()) {
            escape->click();
            return;
        }
    }
    dialog->reject();
}

} // namespace srk
