#include "ui/query/QueryDescriptionDialog.h"

#include "query/WizardTexts.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/WindowSize.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace srk {

QueryDescriptionDialog::QueryDescriptionDialog(QWidget* parent, Purpose purpose, const QString& description)
    : QDialog(parent) {
    setObjectName(QStringLiteral("QueryDescription"));
    const WizardText title = purpose == Purpose::Add      ? WizardText::AddingQueryCaption
                             : purpose == Purpose::Change ? WizardText::ChangingQueryCaption
                                                          : WizardText::DeletingQueryCaption;
    setWindowTitle(wizardText(title));

    auto* layout = new QVBoxLayout(this);
    if (purpose != Purpose::Delete) {
        auto* prompt = new QLabel(wizardText(purpose == Purpose::Add ? WizardText::AddDescriptionPrompt
                                                                          : WizardText::ChangeDescriptionPrompt), this);
        prompt->setWordWrap(true);
        layout->addWidget(prompt);
    }
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(wizardText(WizardText::DescriptionLabel), this);
    m_description = new QLineEdit(description, this);
    m_description->setObjectName(QStringLiteral("description"));
    m_description->setReadOnly(purpose == Purpose::Delete);
    m_description->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
    label->setBuddy(m_description);
    row->addWidget(label);
    row->addWidget(m_description, 1);
    layout->addLayout(row);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_ok = new QPushButton(wizardText(WizardText::AcceptSaveButton), this);
    m_ok->setToolTip(wizardText(WizardText::AcceptSaveTip));
    m_ok->setStatusTip(wizardText(WizardText::AcceptSaveShortTip));
    m_ok->setDefault(true);
    auto* cancel = new QPushButton(wizardText(WizardText::CancelSaveButton), this);
    cancel->setToolTip(wizardText(WizardText::CancelSaveTip));
    cancel->setStatusTip(wizardText(WizardText::CancelSaveShortTip));
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    fitWindow(this);

    // A query cannot be saved without a name to find it by.
    auto update = [this] { m_ok->setEnabled(!m_description->text().trimmed().isEmpty()); };
    connect(m_description, &QLineEdit::textChanged, this, update);
    update();
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString QueryDescriptionDialog::description() const {
    return m_description->text().trimmed();
}

std::optional<QString> QueryDescriptionDialog::ask(QWidget* parent, Purpose purpose,
                                                   const QString& description) {
    ModalWindow<QueryDescriptionDialog> dialog(parent, purpose, description);
    if (!dialog.exec().accepted())
        return std::nullopt;
    return dialog->description();
}

} // namespace srk
