#include "ui/songs/LookupBrowse.h"

#include "access/TableAccess.h"
#include "store/PageCursor.h"
#include "store/Table.h"
#include "store/ThumbSamples.h"
#include "ui/services/ListColumns.h"
#include "ui/services/PageList.h"
#include "ui/services/PageModel.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/TableWatch.h"
#include "ui/services/StepLocator.h"
#include "ui/services/WindowPlacer.h"
#include "ui/ProgramContext.h"
#include "ui/services/WindowSize.h"

#include <QCloseEvent>
#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace srk {

namespace {

const QString kListName = QStringLiteral("?Browse:1");

}  // namespace

LookupBrowse::LookupBrowse(ProgramContext& context, const Design& design, WindowRequest request, QWidget* parent)
    : QWidget(parent), m_context(context), m_design(design), m_request(request) {
    setWindowTitle(design.title);
    // In the workspace its sub-window is placed; in a picker the dialog around the list.
    m_placer = new WindowPlacer(this, context.positions, design.procedure);

    m_tableOpen = true;
    const bool opened = context.access->openTable(*design.table).ok();

    m_cursor = std::make_unique<PageCursor>(*context.store, *design.table, design.key);
    m_model = new PageModel(*m_cursor, this);
    m_model->setColumns({{0, design.field, design.picture, design.header}});

    m_list = new PageList(m_model, this);
    m_view = m_list->view();
    m_list->setKeyHandler([this](QKeyEvent* key) { return handleKey(key); });
    m_list->setThumbPosition([this]() -> int {
        return m_samples.isEmpty() ? -1 : thumbPosition(m_samples, highlightedText());
    });
    connect(m_list, &PageList::thumbDragged, this, &LookupBrowse::dragThumbTo);
    connect(m_list, &PageList::activated, this,
            [this] { act(m_request == WindowRequest::Select ? Action::Select : Action::Change); });

    m_columns = std::make_unique<ListColumns>();
    m_columns->restore(m_view, context.positions, design.procedure, kListName, design.listFormat,
                       context.preferences.DateFormat);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (const auto& [text, action] : design.buttons) {
        auto* b = new QPushButton(text, this);
        b->setAutoDefault(false);
        const Action a = action;
        connect(b, &QPushButton::clicked, this, [this, a] { act(a); });
        buttons->addWidget(b);
        m_buttons.append({b, action});
    }
    if (QPushButton* select = button(Action::Select)) {
        const bool selecting = request == WindowRequest::Select;
        select->setVisible(selecting);
        select->setEnabled(selecting);
        select->setDefault(selecting);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    fitWindow(this, design.minimumSize);

    connect(m_model, &PageModel::highlightChanged, this, &LookupBrowse::updateButtons);
    connect(m_model, &QAbstractItemModel::modelReset, this, &LookupBrowse::updateButtons);

    if (opened && m_model->open() == NoError)
        m_model->top();
    if (opened) {
        auto* watch = new TableWatch(*context.access, {design.table->label}, this);
        connect(watch, &TableWatch::changed, this, &LookupBrowse::followTable);
    }
    rebuildThumb();
    updateButtons();
    m_view->setFocus();
}

LookupBrowse::~LookupBrowse() {
    release();
}

QPushButton* LookupBrowse::button(Action action) const {
    for (const auto& [b, a] : m_buttons)
        if (a == action)
            return b;
    return nullptr;
}

QScrollBar* LookupBrowse::thumb() const {
    return m_list->thumb();
}

QString LookupBrowse::highlightedText() const {
    const PageRow* row = m_cursor->highlightedRow();
    return row ? row->primary().text(m_design.field) : QString();
}

int LookupBrowse::rowCount() const {
    return m_model->rowCount();
}

WindowResponse LookupBrowse::pick(ProgramContext& context, const Design& design, Record& chosen, QWidget* parent) {
    ModalWindow<QDialog> dialog(parent);
    dialog->setWindowTitle(design.title);
    auto* layout = new QVBoxLayout(dialog.get());
    layout->setContentsMargins(0, 0, 0, 0);
    QPointer<LookupBrowse> browse = new LookupBrowse(context, design, WindowRequest::Select, dialog.get());
    layout->addWidget(browse);
    fitWindow(dialog.get());
    QDialog* window = dialog.get();
    connect(browse, &LookupBrowse::finished, window, [window](WindowResponse r) {
        window->done(r == WindowResponse::Completed ? QDialog::Accepted : QDialog::Rejected);
    });
    const ModalResult result = dialog.exec();
    if (result.gone || !browse)
        return WindowResponse::Cancelled;
    browse->release();
    if (browse->response() == WindowResponse::Completed) {
        chosen = browse->chosen();
        return WindowResponse::Completed;
    }
    return WindowResponse::Cancelled;
}

bool LookupBrowse::handleKey(QKeyEvent* key) {
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    const bool empty = m_model->rowCount() == 0;
    switch (key->key()) {
    case Qt::Key_Insert:
        act(Action::Insert);
        return true;
    case Qt::Key_Delete:
        if (!empty)
            act(Action::Delete);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (ctrl) {
            if (!empty)
                act(Action::Change);
            return true;
        }
        // Enter presses the default button (select in a picker).
        if (m_request == WindowRequest::Select && !empty)
            act(Action::Select);
        return true;
    default:
        break;
    }
    if (const std::optional<QString> letter = locatorLetter(key)) {
        if (!empty)
            stepLocate(*m_model, m_design.field, *letter);
        return true;
    }
    return false;
}

void LookupBrowse::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_list->fitPageToView();
}

void LookupBrowse::closeEvent(QCloseEvent* event) {
    release();
    QWidget::closeEvent(event);
}

void LookupBrowse::act(Action action) {
    const bool empty = m_model->rowCount() == 0;
    switch (action) {
    case Action::Select:
        if (m_request == WindowRequest::Select && !empty)
            selectHighlighted();
        break;
    case Action::Insert:
        runForm(WindowRequest::Insert);
        break;
    case Action::Change:
        if (!empty)
            runForm(WindowRequest::Change);
        break;
    case Action::Delete:
        if (!empty)
            runForm(WindowRequest::Delete);
        break;
    case Action::Close:
        end(WindowResponse::Cancelled);
        break;
    }
}

void LookupBrowse::runForm(WindowRequest request) {
    if (!m_design.runForm)
        return;
    Record record(*m_design.table);
    if (request != WindowRequest::Insert && !readHighlighted(record)) {
        m_model->reload();
        return;
    }
    const QPointer<LookupBrowse> self(this);
    for (;;) {
        FormMove move = FormMove::None;
        const WindowResponse r = m_design.runForm(m_context, request, record, this, &move);
        // The window may have gone while the form was up; then nothing of it may be touched.
        if (!self)
            return;
        if (r != WindowResponse::Completed)
            // A delete or change that failed may still have found the list out of date.
            m_model->reload();
        else if (request == WindowRequest::Delete)
            m_model->removeHighlighted();
        else
            m_model->rebuildAt(record);
        // The first or last entry may have changed.
        rebuildThumb();
        if (move == FormMove::None)
            break;
        // The form's tool bar moves the list as its own keys would, then the form comes back.
        moveForForm(*m_model, move);
        if (move == FormMove::Insert)
            request = WindowRequest::Insert;
        showThumb();
        record = Record(*m_design.table);
        if (request != WindowRequest::Insert && !readHighlighted(record))
            break;
    }
    m_view->setFocus();
}

void LookupBrowse::selectHighlighted() {
    Record record;
    if (!readHighlighted(record))
        return;
    m_chosen = record;
    end(WindowResponse::Completed);
}

bool LookupBrowse::readHighlighted(Record& out) {
    const PageRow* row = m_cursor->highlightedRow();
    if (!row)
        return false;
    Table table(*m_context.store, *m_design.table);
    table.watch();
    return table.getByPosition(row->position, out) == NoError;
}

void LookupBrowse::updateButtons() {
    const bool rows = m_model->rowCount() > 0;
    for (const auto& [b, a] : m_buttons) {
        if (a == Action::Change || a == Action::Delete)
            b->setEnabled(rows);
        else if (a == Action::Select)
            b->setEnabled(rows && m_request == WindowRequest::Select);
    }
}

void LookupBrowse::rebuildThumb() {
    ViewRow first;
    ViewRow last;
    m_samples.clear();
    if (m_cursor->isOpen() && m_cursor->readFirst(first) == NoError && m_cursor->readLast(last) == NoError)
        m_samples = textThumbSamples(first.primary.text(m_design.field), last.primary.text(m_design.field),
                                     m_design.table->fields[m_design.field].width, false);
    showThumb();
}

void LookupBrowse::showThumb() {
    m_list->showThumb();
}

void LookupBrowse::dragThumbTo(int position) {
    if (m_samples.isEmpty())
        return;
    if (position <= 0) {
        m_model->top();
    } else if (position >= kThumbSamples - 1) {
        m_model->bottom();
    } else {
        Record target(*m_design.table);
        target.setText(m_design.field, m_samples.value(position));
        m_model->rebuildAt(target);
    }
    showThumb();
}

void LookupBrowse::followTable() {
    if (m_released || !m_cursor->isOpen())
        return;
    m_model->refresh();
    rebuildThumb();
    updateButtons();
}

void LookupBrowse::end(WindowResponse response) {
    if (m_ending)
        return;
    m_ending = true;
    m_response = response;
    Q_EMIT finished(response);
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else if (isWindow())
        close();
    m_ending = false;
}

void LookupBrowse::release() {
    if (m_released)
        return;
    m_released = true;
    m_placer->save();
    m_columns->save(m_context.positions);
    if (m_tableOpen) {
        m_tableOpen = false;
        m_context.access->closeTable(*m_design.table);
    }
}

}  // namespace srk
