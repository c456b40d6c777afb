#include "ui/cd/CDSetup.h"

#include "cd/CdDeviceChoice.h"
#include "settings/Preferences.h"
#include "ui/ProgramContext.h"
#include "ui/WindowRegistry.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/OkCancelButtons.h"
#include "ui/services/WindowPlacer.h"
#include "ui/services/WindowSize.h"

#include <QButtonGroup>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace srk {

const QString CDSetup::Procedure = QStringLiteral("CDSetup");
const QVector<int> CDSetup::Intervals = {100, 150, 200, 250, 300, 500, 1000, 0};

CDSetup::CDSetup(ProgramContext& context, QWidget* parent) : QDialog(parent), m_context(context) {
    setWindowTitle(QStringLiteral("CD Player Preferences"));
    auto* box = new QGroupBox(QStringLiteral("Check CD Status Every n 100ths of a Second"), this);
    auto* grid = new QGridLayout(box);
    m_group = new QButtonGroup(this);
    for (int i = 0; i < Intervals.size(); ++i) {
        const int value = Intervals[i];
        auto* option = new QRadioButton(value ? QString::number(value) : QStringLiteral("Do Not Check"), box);
        m_group->addButton(option, value);
        grid->addWidget(option, i / 4, i % 4);
    }
    if (QAbstractButton* current = m_group->button(context.preferences.CDTimer))
        current->setChecked(true);

    auto* driveBox = new QGroupBox(QStringLiteral("CD Drive or Disc Image"), this);
    auto* driveRow = new QHBoxLayout(driveBox);
    m_device = new QLineEdit(context.preferences.CDDevice, driveBox);
    m_device->setMaxLength(255);
    m_device->setPlaceholderText(QStringLiteral("the system's CD drive"));
    // Room for a disc image's path in a music folder; longer ones scroll.
    fitEntryToCharacters(m_device, 40);
    m_device->setToolTip(QStringLiteral("A drive such as /dev/cdrom, or a disc image (.cue, .toc or .nrg); "
                                        "blank for the system's CD drive"));
    auto* browse = new QPushButton(QStringLiteral("&Image..."), driveBox);
    browse->setAutoDefault(false);
    browse->setToolTip(QStringLiteral("Choose a disc image file"));
    connect(browse, &QPushButton::clicked, this, &CDSetup::browseImage);
    driveRow->addWidget(m_device, 1);
    driveRow->addWidget(browse);

    const OkCancelButtons okCancel = makeOkCancelButtons(this);
    m_ok = okCancel.ok;
    m_cancel = okCancel.cancel;
    connect(m_ok, &QPushButton::clicked, this, &CDSetup::accept);
    QHBoxLayout* buttons = okCancelRow(okCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addWidget(driveBox);
    layout->addLayout(buttons);
    m_placer = new WindowPlacer(this, context.positions, Procedure);
    fitWindow(this);
}

bool CDSetup::run(ProgramContext& context, QWidget* parent) {
    ModalWindow<CDSetup> window(context, parent);
    return window.exec().accepted();
}

void CDSetup::registerWith(WindowRegistry& windows) {
    windows.registerWindow(Procedure, [](WindowRegistry& w) -> QWidget* {
        run(w.context(), dynamic_cast<QWidget*>(&w));
        return nullptr;
    });
}

bool CDSetup::choose(int interval) {
    QAbstractButton* option = m_group->button(interval);
    if (!option)
        return false;
    option->click();
    return true;
}

int CDSetup::chosen() const {
    return m_group->checkedButton() ? m_group->checkedId() : -1;
}

void CDSetup::browseImage() {
    const QString start = m_device->text().trimmed().isEmpty() ? QString() : QFileInfo(m_device->text()).absolutePath();
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Disc Image"), start,
                                                      QStringLiteral("Disc images (*.cue *.toc *.nrg);;All files (*)"));
    if (!path.isEmpty())
        m_device->setText(path);
}

void CDSetup::accept() {
    Preferences& p = m_context.preferences;
    // An interval the file held that is not offered stays as it was.
    if (chosen() >= 0)
        p.CDTimer = chosen();
    p.CDDevice = m_device->text().trimmed().left(255);
    p.save(m_context.preferencesFile, {QStringLiteral("CDTimer"), QStringLiteral("CDDevice")});
    m_context.preferencesFile.save();
    setCdDevicePreference(p.CDDevice);
    QDialog::accept();
}

void CDSetup::done(int result) {
    m_placer->save();
    QDialog::done(result);
}

void CDSetup::reject() {
    const QString path = m_context.preferencesFile.path();
    m_context.preferencesFile.load(path);
    m_context.preferences = Preferences::load(m_context.preferencesFile);
    setCdDevicePreference(m_context.preferences.CDDevice);
    QDialog::reject();
}

}  // namespace srk
