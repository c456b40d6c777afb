#include "ui/support/ModalWindows.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace srk::testing {

namespace {

QList<QPointer<QTimer>>& polls() {
    static QList<QPointer<QTimer>> list;
    return list;
}

} // namespace

void onModal(std::function<void(QWidget*)> action) {
    auto* poll = new QTimer;
    polls() << poll;
    poll->setInterval(10);
    auto tries = std::make_shared<int>(0);
    // Held weakly: a window closed since may be followed by a new one at the same address.
    QPointer<QWidget> before = QApplication::activeModalWidget();
    QObject::connect(poll, &QTimer::timeout, [poll, tries, action, before] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || (before && modal == before.data())) {
            if (++*tries > 500) {
                ADD_FAILURE() << "no modal window came up";
                poll->stop();
                poll->deleteLater();
            }
            return;
        }
        poll->stop();
        poll->deleteLater();
        QPointer<QWidget> guard(modal);
        action(modal);
        QTimer::singleShot(3000, [guard] {
            if (auto* dialog = qobject_cast<QDialog*>(guard.data()); dialog && dialog->isVisible()) {
                ADD_FAILURE() << "a modal window was left open: " << dialog->windowTitle().toStdString();
                dialog->reject();
            }
        });
    });
    poll->start();
}

void finishModalWaits() {
    for (const QPointer<QTimer>& poll : polls()) {
        if (poll && poll->isActive())
            ADD_FAILURE() << "a modal window that was waited for never came up";
        delete poll.data();
    }
    polls().clear();
}

void acceptFile(QFileDialog* dialog, const QString& path) {
    dialog->selectFile(path);
    if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        name->setText(QFileInfo(path).isAbsolute() ? QFileInfo(path).fileName() : path);
    static_cast<QDialog*>(dialog)->accept();
}

QPushButton* buttonWithText(QWidget* window, const QString& text) {
    if (!window)
        return nullptr;
    for (QPushButton* b : window->findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

} // namespace srk::testing
