#include "ui/DialogMessages.h"

#include "ui/services/ModalWindows.h"
#include "ui/services/WindowSize.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace srk {

namespace {

struct ButtonMap {
    int ours;
    QMessageBox::StandardButton theirs;
};
constexpr ButtonMap kButtons[] = {
    {ButtonOk, QMessageBox::Ok},       {ButtonYes, QMessageBox::Yes},       {ButtonNo, QMessageBox::No},
    {ButtonAbort, QMessageBox::Abort}, {ButtonRetry, QMessageBox::Retry}, {ButtonCancel, QMessageBox::Cancel},
};

}  // namespace

int DialogMessages::ask(const Message& message) {
    ModalWindow<QMessageBox> box(m_parent);
    box->setWindowTitle(message.title);
    box->setText(message.text);
    const bool question = message.buttons & (ButtonYes | ButtonRetry | ButtonCancel);
    box->setIcon(question ? QMessageBox::Question : QMessageBox::Information);
    QMessageBox::StandardButtons buttons;
    for (const ButtonMap& b : kButtons)
        if (message.buttons & b.ours)
            buttons |= b.theirs;
    box->setStandardButtons(buttons ? buttons : QMessageBox::Ok);
    for (const ButtonMap& b : kButtons)
        if (message.defaultButton == b.ours)
            box->setDefaultButton(b.theirs);
    // A short text must not leave the caption cut in the title bar.
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout()))
        grid->addItem(new QSpacerItem(titleBarWidth(box.get(), message.title), 0, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    const ModalResult result = box.exec();
    for (const ButtonMap& b : kButtons)
        if (!result.gone && result.code == b.theirs)
            return b.ours;
    // Closed with Esc or the title bar: the gentlest answer on offer.
    if (message.buttons & ButtonCancel)
        return ButtonCancel;
    if (message.buttons & ButtonNo)
        return ButtonNo;
    return ButtonOk;
}

}  // namespace srk
