#include "ui/shell/AboutSRK.h"

#include "ProgramVersion.h"
#include "ui/shell/CompileDate.h"
#include "ui/shell/ProgramPicture.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace srk {

AboutSRK::AboutSRK(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About"));
    setObjectName(QStringLiteral("AboutSRK"));

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("programPicture"));
    picture->setPixmap(programPicture(QSize(160, 160), devicePixelRatioF()));

    auto* name = new QLabel(QStringLiteral("Sonorika Pro 97"), this);
    QFont nameFont = name->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.5);
    name->setFont(nameFont);
    auto* version = new QLabel(QStringLiteral("Version ") + programVersion(), this);
    version->setObjectName(QStringLiteral("version"));
    auto* purpose = new QLabel(QStringLiteral("A catalogue of your songs, albums, playlists and labels."), this);
    purpose->setWordWrap(true);

    auto* compileInfo = new QPushButton(QStringLiteral("Compile &Information..."), this);
    compileInfo->setAutoDefault(false);
    auto* back = new QPushButton(QStringLiteral("&Return to Sonorika Pro"), this);
    back->setDefault(true);
    connect(compileInfo, &QPushButton::clicked, this, [this] { showCompileInformation(); });
    connect(back, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addWidget(name);
    text->addWidget(version);
    text->addSpacing(8);
    text->addWidget(purpose);
    text->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addLayout(text, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(compileInfo);
    buttons->addStretch();
    buttons->addWidget(back);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CompileDate* AboutSRK::showCompileInformation() {
    auto* dialog = new CompileDate(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
    return dialog;
}

}  // namespace srk
