#include "ui/songs/SelectAddType.h"

#include "ui/services/ModalWindows.h"
#include "ui/services/WindowSize.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace srk {

SelectAddType::SelectAddType(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Select Add Mode"));
    auto* group = new QGroupBox(QStringLiteral("Mode"), this);
    auto* options = new QVBoxLayout(group);
    for (const QString& text :
         {QStringLiteral("Compilation"), QStringLiteral("Single Artist"), QStringLiteral("Normal")}) {
        auto* b = new QRadioButton(text, group);
        options->addWidget(b);
        m_options << b;
    }
    m_options.first()->setChecked(true);

    m_ok = new QPushButton(QStringLiteral("&Ok"), this);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    fitWindow(this);
}

QString SelectAddType::choice() const {
    for (QRadioButton* b : m_options)
        if (b->isChecked())
            return b->text();
    return m_options.first()->text();
}

QRadioButton* SelectAddType::option(const QString& text) const {
    for (QRadioButton* b : m_options)
        if (b->text() == text)
            return b;
    return nullptr;
}

QString SelectAddType::run(QWidget* parent) {
    ModalWindow<SelectAddType> dialog(parent);
    dialog.exec();
    // Gone with its owner: the first mode, as an untouched window would have answered.
    return dialog.get() ? dialog->choice() : QStringLiteral("Compilation");
}

}  // namespace srk
