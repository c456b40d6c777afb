#include "ui/reports/JumpToPage.h"

#include "ui/services/ModalWindows.h"
#include "ui/services/WindowSize.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace srk {

int jumpToPage(QWidget* parent, int current, int count) {
    ModalWindow<QDialog> window(parent);
    window->setObjectName(QStringLiteral("jumpToPage"));
    window->setWindowTitle(QStringLiteral("Go to Page"));
    auto* spin = new QSpinBox(window.get());
    spin->setObjectName(QStringLiteral("pageEntry"));
    spin->setRange(1, count < 1 ? 1 : count);
    spin->setValue(current);
    auto* buttons = new QDialogButtonBox(window.get());
    QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("cancelButton"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, window.get(), &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, window.get(), &QDialog::reject);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Page:"), spin);
    auto* layout = new QVBoxLayout(window.get());
    layout->addLayout(form);
    layout->addWidget(buttons);
    spin->selectAll();
    fitWindow(window.get());
    const ModalResult result = window.exec();
    if (!result.accepted())
        return current;
    return window->findChild<QSpinBox*>(QStringLiteral("pageEntry"))->value();
}

}  // namespace srk
