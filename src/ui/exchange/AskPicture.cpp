#include "ui/exchange/AskPicture.h"

#include "access/MessageService.h"
#include "exchange/ExchangeFields.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/WindowSize.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace srk {

PictureEntry::PictureEntry(const QString& current, MessageService& messages, QWidget* parent)
    : QDialog(parent), m_messages(messages) {
    setObjectName(QStringLiteral("ImportExport_AskPicture"));
    setWindowTitle(QStringLiteral("Enter Picture..."));
    m_entry = new QLineEdit(current, this);
    m_entry->setMaxLength(30);
    m_entry->setMinimumWidth(m_entry->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 16);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Picture:"), m_entry);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &PictureEntry::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    m_entry->selectAll();
    fitWindow(this);
}

QString PictureEntry::picture() const { return m_entry->text().trimmed(); }

void PictureEntry::accept() {
    PictureRefusal refusal;
    if (!pictureEntryAccepted(picture(), &refusal)) {
        const QPointer<PictureEntry> self(this);
        m_messages.ask({refusal.title, refusal.text, ButtonOk, ButtonOk});
        if (!self)
            return;
        m_entry->setFocus();
        m_entry->selectAll();
        return;
    }
    QDialog::accept();
}

QString ImportExport_AskPicture(QWidget* parent, MessageService& messages, const QString& current) {
    ModalWindow<PictureEntry> dialog(current, messages, parent);
    if (!dialog.exec().accepted())
        return QString();
    return dialog->picture();
}

}  // namespace srk
