#include "ui/exchange/Export.h"

#include "access/MessageService.h"
#include "access/TableAccess.h"
#include "exchange/ExportJob.h"
#include "ui/ProgramContext.h"
#include "ui/WindowRegistry.h"
#include "ui/exchange/AskPicture.h"
#include "ui/exchange/MarkedListView.h"
#include "ui/exchange/ShownJob.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/WindowPlacer.h"
#include "ui/services/WindowSize.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace srk {

const QString Export::Procedure = QStringLiteral("Export");

void Export::registerWith(WindowRegistry& windows) {
    windows.registerWindow(Procedure, [](WindowRegistry& w) -> QWidget* { return new Export(w.context()); });
}

Export::Export(ProgramContext& context, QWidget* parent) : QWidget(parent), m_context(context) {
    setObjectName(Procedure.toUpper());
    setWindowTitle(QStringLiteral("Export"));
    m_all = new MarkedListView(m_setup.allFields(), this);
    m_all->setObjectName(QStringLiteral("AllFields"));
    m_export = new MarkedListView(m_setup.exportFields(), this);
    m_export->setObjectName(QStringLiteral("ExportFields"));

    const char* texts[] = {"&Add ->", "&Remove", "Shift &Up", "Shift &Down", "&Picture", "&OK", "&Cancel"};
    for (int b = 0; b < 7; ++b) {
        m_buttons[b] = new QPushButton(QString::fromLatin1(texts[b]), this);
        m_buttons[b]->setAutoDefault(false);
        connect(m_buttons[b], &QPushButton::clicked, this, [this, b] { press(Button(b)); });
    }
    m_buttons[int(Button::Ok)]->setDefault(true);
    m_header = new QCheckBox(QStringLiteral("Include &header record with field names"), this);
    m_header->setChecked(m_setup.header());
    connect(m_header, &QCheckBox::toggled, this, [this](bool on) { m_setup.setHeader(on); });
    m_type = new QLabel(this);
    m_type->setObjectName(QStringLiteral("PictureType"));
    m_type->setMinimumWidth(m_type->fontMetrics().horizontalAdvance(QStringLiteral("Alpha-numericWW")));

    auto* middle = new QVBoxLayout;
    middle->addStretch();
    for (Button b : {Button::Add, Button::Remove, Button::ShiftUp, Button::ShiftDown, Button::Picture})
        middle->addWidget(m_buttons[int(b)]);
    middle->addStretch();

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("All Fields"), this));
    left->addWidget(m_all, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Export Fields"), this));
    right->addWidget(m_export, 1);
    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(new QLabel(QStringLiteral("Picture"), this));
    typeRow->addWidget(m_type, 1);
    right->addLayout(typeRow);

    auto* lists = new QHBoxLayout;
    lists->addLayout(left, 1);
    lists->addLayout(middle);
    lists->addLayout(right, 1);

    auto* endRow = new QHBoxLayout;
    endRow->addWidget(m_header);
    endRow->addStretch();
    endRow->addWidget(m_buttons[int(Button::Ok)]);
    endRow->addWidget(m_buttons[int(Button::Cancel)]);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(endRow);

    connect(m_all, &MarkedListView::marksChanged, this, &Export::showLists);
    connect(m_export, &MarkedListView::marksChanged, this, &Export::showLists);
    showLists();
    for (MarkedListView* list : {m_all, m_export}) {
        list->setMinimumWidth(list->header()->sectionSize(0) + list->fontMetrics().averageCharWidth() * 12);
        list->setMinimumHeight(list->sizeHintForRow(0) * 12);
    }
    m_placer = new WindowPlacer(this, context.positions, Procedure);
    fitWindow(this);
}

Export::~Export() = default;

QPushButton* Export::button(Button b) const { return m_buttons[int(b)]; }

void Export::press(Button b) {
    if (m_running)
        return;
    switch (b) {
    case Button::Add: m_setup.add(); break;
    case Button::Remove: m_setup.remove(); break;
    case Button::ShiftUp: m_setup.shiftUp(); break;
    case Button::ShiftDown: m_setup.shiftDown(); break;
    case Button::Picture: askPicture(); return;
    case Button::Ok: runExport(); return;
    case Button::Cancel:
        m_response = WindowResponse::Cancelled;
        close();
        return;
    }
    showLists();
}

void Export::showLists() {
    m_all->refresh();
    m_export->refresh();
    m_type->setText(m_setup.typeDisplay());
}

void Export::askPicture() {
    if (m_setup.pictureTarget() == ExportSetup::PictureTarget::FocusAllFields) {
        showLists();
        m_all->setFocus();
        return;
    }
    showLists();
    const int row = m_setup.exportFields().current();
    if (row < 0)
        return;
    const QPointer<Export> self(this);
    const QString picture =
        ImportExport_AskPicture(this, *m_context.messages, m_setup.exportFields().rows()[row].picture);
    if (!self)
        return;
    m_setup.setPicture(picture);
    showLists();
}

void Export::runExport() {
    QString title, text;
    if (m_setup.okRefused(&title, &text)) {
        m_context.messages->ask({title, text, ButtonOk, ButtonOk});
        return;
    }
    const QPointer<Export> self(this);
    QString path;
    {
        ModalWindow<QFileDialog> dialog(this, QStringLiteral("Export File"), QString(),
                                        QStringLiteral("Export Files (*.CSV);;All Files (*)"));
        dialog->setObjectName(QStringLiteral("ExportFile"));
        dialog->setOption(QFileDialog::DontUseNativeDialog);
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        // The file is replaced without asking, as the export always did.
        dialog->setOption(QFileDialog::DontConfirmOverwrite);
        const ModalResult result = dialog.exec();
        if (result.gone || !self)
            return;
        if (result.accepted() && !dialog->selectedFiles().isEmpty())
            path = dialog->selectedFiles().first();
    }
    if (path.isEmpty()) {
        close();
        return;
    }
    ExportJob job(*m_context.access, path, m_setup.columns(), m_setup.header());
    if (!runShownJob(this, job, job.title(), QStringLiteral("Exporting"), *m_context.messages, m_running))
        return;
    m_response = job.completed() ? WindowResponse::Completed : WindowResponse::Cancelled;
    close();
}

void Export::closeEvent(QCloseEvent* event) {
    if (m_running) {
        event->ignore();
        return;
    }
    m_placer->save();
    QWidget::closeEvent(event);
}

}  // namespace srk
