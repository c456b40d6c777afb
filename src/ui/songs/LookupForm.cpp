#include "ui/services/OkCancelButtons.h"
#include "ui/songs/LookupForm.h"

#include "access/Priming.h"
#include "access/RecordRoutines.h"
#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "store/Table.h"
#include "ui/services/FormUpdate.h"
#include "ui/services/DittoKey.h"
#include "ui/services/FormToolBar.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/WindowPlacer.h"
#include "ui/ProgramContext.h"
#include "ui/services/WindowSize.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace srk {

namespace {

// "@s30" is 30 characters wide.
int pictureWidth(const QString& picture) {
    bool ok = false;
    const int width = picture.mid(2).toInt(&ok);
    return ok && width > 0 ? width : 32767;
}

}  // namespace

WindowResponse LookupForm::run(ProgramContext& context, const Design& design, WindowRequest request, Record& record,
                               QWidget* parent, FormMove* move) {
    if (move)
        *move = FormMove::None;
    TableAccess& access = *context.access;
    if (request == WindowRequest::Delete) {
        if (!confirmDelete(access))
            return WindowResponse::Cancelled;
        return deleteWithRetry(access, *design.table, record) == RoutineResult::Done ? WindowResponse::Completed
                                                                   : WindowResponse::Cancelled;
    }
    if (request != WindowRequest::Insert && request != WindowRequest::Change)
        return WindowResponse::Cancelled;

    if (request == WindowRequest::Insert) {
        record = Record(*design.table);
        if (design.primes && prime(access, *design.table, record) != PrimeStatus::Primed)
            return WindowResponse::Cancelled;
    }
    ModalWindow<LookupForm> form(context, design, request, record, parent, move != nullptr);
    const ModalResult result = form.exec();
    if (result.gone && design.primes && request == WindowRequest::Insert)
        // Deleted with its owner before it could cancel itself: the primed record goes all the same.
        cancelPrimed(access, *design.table, record);
    if (!result.accepted())
        return WindowResponse::Cancelled;
    record = form->record();
    if (move)
        *move = form->move();
    return WindowResponse::Completed;
}

LookupForm::LookupForm(ProgramContext& context, const Design& design, WindowRequest request, const Record& record,
                       QWidget* parent, bool withToolBar)
    : QDialog(parent),
      m_context(context),
      m_design(design),
      m_request(request),
      m_record(record.isValid() ? record : Record(*design.table)),
      m_original(m_record) {
    setWindowTitle(request == WindowRequest::Insert ? design.insertTitle : design.changeTitle);

    m_edit = new QLineEdit(m_record.text(design.field), this);
    m_edit->setMaxLength(pictureWidth(design.picture));
    auto* prompt = new QLabel(design.prompt, this);
    prompt->setBuddy(m_edit);

    const OkCancelButtons okCancel = makeOkCancelButtons(this);
    m_ok = okCancel.ok;
    m_cancel = okCancel.cancel;
    connect(m_ok, &QPushButton::clicked, this, &LookupForm::onOk);

    auto* fields = new QFormLayout;
    fields->addRow(prompt, m_edit);
    QHBoxLayout* buttons = okCancelRow(okCancel);
    auto* layout = new QVBoxLayout(this);
    if (withToolBar) {
        m_toolBar = new FormToolBar(this);
        connect(m_toolBar, &FormToolBar::moveRequested, this, &LookupForm::finish);
        layout->setMenuBar(m_toolBar);
    }
    layout->addLayout(fields);
    layout->addLayout(buttons);
    fitWindow(this);

    m_ditto = new DittoKey(this, context.access->ditto(), design.procedure);
    m_placer = new WindowPlacer(this, context.positions, design.procedure);
    m_ditto->bindField(m_edit, design.field, design.picture);
    m_edit->setFocus();
}

LookupForm::~LookupForm() = default;

void LookupForm::done(int result) {
    if (result != QDialog::Accepted && m_design.primes && m_request == WindowRequest::Insert)
        cancelPrimed(*m_context.access, *m_design.table, m_record);
    m_placer->save();
    QDialog::done(result);
}

void LookupForm::onOk() {
    finish(FormMove::None);
}

void LookupForm::finish(FormMove move) {
    // A blank name would be left out of the name key and never show in the list.
    if (m_edit->text().trimmed().isEmpty()) {
        QApplication::beep();
        m_edit->setFocus();
        return;
    }
    m_record.setText(m_design.field, m_edit->text());
    if (!save()) {
        m_edit->setFocus();
        m_edit->selectAll();
        return;
    }
    m_context.access->ditto().remember(m_design.procedure, m_record);
    m_move = move;
    accept();
}

bool LookupForm::save() {
    TableAccess& access = *m_context.access;
    const TableDef& def = *m_design.table;
    if (m_request == WindowRequest::Insert) {
        if (m_design.primes)
            return completePrimed(access, def, m_record) == 0;
        TableUse use(access);
        if (!use.open(def))
            return false;
        Table table(access.store(), def);
        const int rc = table.add(m_record);
        if (rc == NoError)
            return true;
        // A key that could not be tested reports the read error instead.
        const int key = rc == DuplicateKey ? table.duplicateKey(m_record) : Table::DuplicateTestFailed;
        if (key != Table::DuplicateTestFailed) {
            access.showStandardMessage(StdMsg::DuplicateKey, key >= 0 ? def.qualifiedKeyName(key) : QString());
        } else {
            access.showStandardMessage(StdMsg::InsertError);
        }
        return false;
    }
    return followUpdateOutcome(updateWithRetry(access, def, m_record, m_original, true), *this, m_record, m_original,
                               [this] { m_edit->setText(m_record.text(m_design.field)); });
}

}  // namespace srk
