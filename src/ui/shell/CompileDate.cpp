#include "ui/shell/CompileDate.h"

#include "text/Picture.h"
#include "ui/services/WindowSize.h"
#include "ui/shell/BuildStamps.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace srk {

namespace {

QLabel* valueLabel(const QString& objectName, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

CompileDate::CompileDate(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Compile Information"));
    setObjectName(QString(ProcedureName));

    const BuildStamp created = creationStamp();
    const BuildStamp changed = changeStamp();
    const QString datePicture(DatePicture);
    const QString timePicture(TimePicture);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Application:"), valueLabel(QStringLiteral("application"), QStringLiteral("SRK97"), this));
    form->addRow(QStringLiteral("Created:"),
                 valueLabel(QStringLiteral("creationDate"), format(qint64(created.dayNumber), datePicture), this));
    form->addRow(QString(), valueLabel(QStringLiteral("creationTime"), format(qint64(created.time), timePicture), this));
    form->addRow(QStringLiteral("Changed:"),
                 valueLabel(QStringLiteral("changeDate"), format(qint64(changed.dayNumber), datePicture), this));
    form->addRow(QString(), valueLabel(QStringLiteral("changeTime"), format(qint64(changed.time), timePicture), this));
    form->addRow(QString(), valueLabel(QStringLiteral("pointerWidth"), pointerWidthText(), this));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(QStringLiteral("Cl&ose"), QDialogButtonBox::RejectRole);
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    // The fixed size still leaves the title room in the title bar.
    layout->addSpacerItem(new QSpacerItem(titleBarWidth(this, windowTitle()), 0, QSizePolicy::Fixed));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString CompileDate::pointerWidthText() {
    return QString::number(QT_POINTER_SIZE * 8) + QStringLiteral("-bit");
}

}  // namespace srk
