#include "ui/exchange/Import.h"

#include "access/MessageService.h"
#include "access/TableAccess.h"
#include "exchange/ExchangeFields.h"
#include "exchange/ImportJob.h"
#include "ui/ProgramContext.h"
#include "ui/WindowRegistry.h"
#include "ui/exchange/AskPicture.h"
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
#include <QTreeWidget>
#include <QVBoxLayout>

namespace srk {

const QString Import::Procedure = QStringLiteral("Import");

namespace {

QTreeWidget* makeList(QWidget* parent, const QStringList& headers, const QString& name) {
    auto* list = new QTreeWidget(parent);
    list->setObjectName(name);
    list->setHeaderLabels(headers);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->header()->setStretchLastSection(true);
    return list;
}

// Fits every column but the last to its widest text and its header, so nothing is cut.
void fitColumns(QTreeWidget* list) {
    for (int c = 0; c + 1 < list->columnCount(); ++c)
        list->resizeColumnToContents(c);
}

}  // namespace

void Import::registerWith(WindowRegistry& windows) {
    windows.registerWindow(Procedure, [](WindowRegistry& w) -> QWidget* {
        return open(w.context(), dynamic_cast<QWidget*>(&w));
    });
}

Import* Import::open(ProgramContext& context, QWidget* dialogParent) {
    const QPointer<QWidget> parent(dialogParent);
    for (;;) {
        ModalWindow<QFileDialog> dialog(parent.data(), QStringLiteral("Import File"), QString(),
                                        QStringLiteral("Import Files (*.CSV);;All Files (*)"));
        dialog->setObjectName(QStringLiteral("ImportFile"));
        dialog->setOption(QFileDialog::DontUseNativeDialog);
        dialog->setFileMode(QFileDialog::ExistingFile);
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        const ModalResult result = dialog.exec();
        if (!result.accepted() || dialog->selectedFiles().isEmpty())
            return nullptr;
        const QString path = dialog->selectedFiles().first();
        auto mapping = std::make_unique<ImportMapping>();
        const ImportMapping::OpenResult opened = mapping->open(path);
        if (opened == ImportMapping::OpenResult::Ok)
            return new Import(context, std::move(mapping));
        context.messages->ask({mapping->failureTitle(), mapping->failureText(), ButtonOk, ButtonOk});
        // An empty file sends the user back to the dialog; any other failure ends the import.
        if (opened != ImportMapping::OpenResult::Empty || ModalWindows::instance().cancelling())
            return nullptr;
    }
}

Import::Import(ProgramContext& context, std::unique_ptr<ImportMapping> mapping, QWidget* parent)
    : QWidget(parent), m_context(context), m_mapping(std::move(mapping)) {
    setObjectName(Procedure.toUpper());
    setWindowTitle(QStringLiteral("Import"));

    m_fields = makeList(this, {QStringLiteral("Import Field"), QStringLiteral("Picture"), QStringLiteral("Value")},
                        QStringLiteral("ImportFields"));
    m_targets = makeList(this, {QStringLiteral("Target Field"), QStringLiteral("="), QStringLiteral("Import Field")},
                         QStringLiteral("TargetFields"));
    for (const ImportTarget& target : importTargets())
        new QTreeWidgetItem(m_targets, {target.name, QString(), QString()});
    for (int i = 0; i < m_mapping->columns().size(); ++i)
        new QTreeWidgetItem(m_fields);

    const char* texts[] = {"A&uto", "&Assign", "&Unassign", "&Picture", "&Next", "&OK", "&Cancel"};
    for (int b = 0; b < 7; ++b) {
        m_buttons[b] = new QPushButton(QString::fromLatin1(texts[b]), this);
        m_buttons[b]->setAutoDefault(false);
        connect(m_buttons[b], &QPushButton::clicked, this, [this, b] { press(Button(b)); });
    }
    m_buttons[int(Button::Ok)]->setDefault(true);
    m_header = new QCheckBox(QStringLiteral("Strip &header record (field names)"), this);
    connect(m_header, &QCheckBox::toggled, this, [this](bool on) { m_mapping->setHeader(on); });
    m_record = new QLabel(this);
    m_record->setObjectName(QStringLiteral("RecordNumber"));
    m_record->setMinimumWidth(m_record->fontMetrics().horizontalAdvance(QStringLiteral("0000000")));

    auto* mapRow = new QHBoxLayout;
    mapRow->addWidget(m_buttons[int(Button::Auto)]);
    mapRow->addWidget(m_buttons[int(Button::Assign)]);
    mapRow->addWidget(m_buttons[int(Button::Unassign)]);
    mapRow->addWidget(m_buttons[int(Button::Picture)]);
    mapRow->addWidget(m_buttons[int(Button::Next)]);
    mapRow->addWidget(new QLabel(QStringLiteral("Rec#"), this));
    mapRow->addWidget(m_record);
    mapRow->addStretch();

    auto* endRow = new QHBoxLayout;
    endRow->addWidget(m_header);
    endRow->addStretch();
    endRow->addWidget(m_buttons[int(Button::Ok)]);
    endRow->addWidget(m_buttons[int(Button::Cancel)]);

    auto* lists = new QHBoxLayout;
    lists->addWidget(m_fields, 3);
    lists->addWidget(m_targets, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(mapRow);
    layout->addLayout(endRow);

    connect(m_fields, &QTreeWidget::currentItemChanged, this, [this] { fieldChosen(); });
    connect(m_targets, &QTreeWidget::currentItemChanged, this, [this] { targetChosen(); });

    showFields();
    showTargets();
    showState();
    fitColumns(m_targets);
    if (m_fields->topLevelItemCount() > 0)
        m_fields->setCurrentItem(m_fields->topLevelItem(0));
    m_targets->setCurrentItem(m_targets->topLevelItem(0));

    const int em = fontMetrics().averageCharWidth();
    m_fields->setMinimumWidth(em * 60);
    m_targets->setMinimumWidth(m_targets->header()->length() + em * 12);
    m_targets->setMinimumHeight(m_targets->sizeHintForRow(0) * 12);
    m_placer = new WindowPlacer(this, context.positions, Procedure);
    fitWindow(this);
}

Import::~Import() = default;

QPushButton* Import::button(Button b) const { return m_buttons[int(b)]; }

void Import::press(Button b) {
    if (m_running)
        return;
    switch (b) {
    case Button::Auto: autoAssign(); break;
    case Button::Assign: assign(); break;
    case Button::Unassign: unassign(); break;
    case Button::Picture: askPicture(); break;
    case Button::Next: next(); break;
    case Button::Ok: runImport(); break;
    case Button::Cancel:
        m_response = WindowResponse::Cancelled;
        close();
        break;
    }
}

int Import::currentField() const {
    return m_fields->currentItem() ? m_fields->indexOfTopLevelItem(m_fields->currentItem()) : -1;
}

int Import::currentTarget() const {
    return m_targets->currentItem() ? m_targets->indexOfTopLevelItem(m_targets->currentItem()) : -1;
}

void Import::autoAssign() {
    if (!m_mapping->autoEnabled())
        return;
    m_mapping->autoAssign();
    showFields();
    showTargets();
    showState();
}

void Import::assign() {
    if (!m_mapping->assign(currentField(), currentTarget()))
        return;
    showTargets();
}

void Import::unassign() {
    if (!m_mapping->unassign(currentTarget()))
        return;
    showTargets();
}

void Import::askPicture() {
    const int column = currentField();
    if (column < 0)
        return;
    const QPointer<Import> self(this);
    const QString picture =
        ImportExport_AskPicture(this, *m_context.messages, m_mapping->columns()[column].picture);
    if (!self || picture.isEmpty())
        return;
    if (m_mapping->setPicture(column, picture))
        showFields();
}

void Import::next() {
    if (!m_mapping->next())
        return;
    showFields();
    showState();
}

void Import::fieldChosen() {
    if (m_coupling)
        return;
    const int target = m_mapping->firstTargetOf(currentField());
    if (target < 0)
        return;
    m_coupling = true;
    m_targets->setCurrentItem(m_targets->topLevelItem(target));
    m_coupling = false;
}

void Import::targetChosen() {
    if (m_coupling)
        return;
    const int column = m_mapping->assignedColumn(currentTarget());
    if (column < 0)
        return;
    m_coupling = true;
    m_fields->setCurrentItem(m_fields->topLevelItem(column));
    m_coupling = false;
}

void Import::showFields() {
    const QVector<ImportColumn>& columns = m_mapping->columns();
    for (int i = 0; i < columns.size(); ++i) {
        QTreeWidgetItem* item = m_fields->topLevelItem(i);
        item->setText(0, columns[i].name);
        item->setText(1, columns[i].type());
        // A value may hold line breaks (a quoted field); the list shows it on one line.
        QString value = columns[i].value;
        value.replace(QLatin1Char('\n'), QLatin1Char(' ')).remove(QLatin1Char('\r'));
        item->setText(2, value);
        item->setToolTip(1, columns[i].picture);
    }
    fitColumns(m_fields);
}

void Import::showTargets() {
    const QVector<ImportColumn>& columns = m_mapping->columns();
    for (int t = 0; t < m_targets->topLevelItemCount(); ++t) {
        QTreeWidgetItem* item = m_targets->topLevelItem(t);
        const int column = m_mapping->assignedColumn(t);
        item->setText(1, column >= 0 ? QStringLiteral("=") : QString());
        item->setText(2, column >= 0 ? columns[column].name : QString());
    }
}

void Import::showState() {
    m_record->setText(QString::number(m_mapping->record()));
    m_buttons[int(Button::Next)]->setEnabled(m_mapping->nextEnabled());
    m_buttons[int(Button::Auto)]->setEnabled(m_mapping->autoEnabled());
    const QSignalBlocker quiet(m_header);
    m_header->setChecked(m_mapping->header());
}

void Import::runImport() {
    QString title, text;
    if (m_mapping->okRefused(&title, &text)) {
        m_context.messages->ask({title, text, ButtonOk, ButtonOk});
        return;
    }
    ImportJob job(*m_context.access, m_mapping->path(), m_mapping->plan());
    if (!runShownJob(this, job, job.title(), QString(), *m_context.messages, m_running))
        return;
    m_response = job.completed() ? WindowResponse::Completed : WindowResponse::Cancelled;
    close();
}

void Import::closeEvent(QCloseEvent* event) {
    // The run's progress window is modal over this one: it ends first, as its Cancel would.
    if (m_running) {
        event->ignore();
        return;
    }
    m_placer->save();
    QWidget::closeEvent(event);
}

}  // namespace srk
