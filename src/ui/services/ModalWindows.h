#pragma once

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QVector>

#include <utility>

namespace srk {

// How a modal window's own event loop ended. `gone`: the window was deleted while it ran (its owner
// went away), so neither it nor whatever opened it may be touched any more.
struct ModalResult {
    int code = QDialog::Rejected;
    bool gone = false;

    bool accepted() const { return !gone && code == QDialog::Accepted; }
};

// Every modal window of the program runs through here, so that a quit request can cancel the open ones,
// innermost first, each as its own Cancel would, and the frame knows when the last of them has returned
// and nothing it owns is still inside a modal loop.
class ModalWindows : public QObject {
    Q_OBJECT
public:
    static ModalWindows& instance();

    ModalResult exec(QDialog* dialog);

    // Modal windows whose exec() has not returned yet.
    int running() const { return int(m_running.size()); }
    // The innermost one still alive (nullptr when none).
    QDialog* innermost() const;

    // Cancels every running modal window, innermost first; until endCancelling(), a window that opens
    // is cancelled as soon as its loop runs (a quit is under way).
    void cancelAll();
    void endCancelling() { m_cancelling = false; }
    bool cancelling() const { return m_cancelling; }

    // Cancel as the window's own Cancel would: a message box takes its escape answer, any other its reject().
    static void cancel(QDialog* dialog);

Q_SIGNALS:
    // The last running modal window has returned from its loop.
    void allReturned();

private:
    struct Running {
        int id;
        QPointer<QDialog> dialog;
    };
    QVector<Running> m_running;
    int m_nextId = 0;
    bool m_cancelling = false;
};

// A modal window created on the heap and owned by its parent window as well as by the caller's scope:
// whichever goes first, the window is deleted exactly once, and the caller learns from exec() whether it
// is still there.
template <class Dialog> class ModalWindow {
public:
    template <class... Args>
    explicit ModalWindow(Args&&... args) : m_dialog(new Dialog(std::forward<Args>(args)...)) {}
    ~ModalWindow() { delete m_dialog.data(); }
    ModalWindow(const ModalWindow&) = delete;
    ModalWindow& operator=(const ModalWindow&) = delete;

    Dialog* get() const { return m_dialog.data(); }
    Dialog* operator->() const { return m_dialog.data(); }
    Dialog& operator*() const { return *m_dialog; }

    ModalResult exec() {
        if (!m_dialog)
            return {QDialog::Rejected, true};
        return ModalWindows::instance().exec(m_dialog.data());
    }

private:
    QPointer<Dialog> m_dialog;
};

} // namespace srk
