#include "ui/services/OkCancelButtons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace srk {

OkCancelButtons makeOkCancelButtons(QDialog* dialog) {
    OkCancelButtons b;
    b.ok = new QPushButton(QStringLiteral("&Ok"), dialog);
    b.ok->setDefault(true);
    b.cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
    b.cancel->setAutoDefault(false);
    QObject::connect(b.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return b;
}

QHBoxLayout* okCancelRow(const OkCancelButtons& buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(buttons.ok);
    row->addWidget(buttons.cancel);
    return row;
}

}  // namespace srk
