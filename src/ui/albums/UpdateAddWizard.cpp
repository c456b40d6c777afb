#include "ui/albums/UpdateAddWizard.h"

#include "access/Priming.h"
#include "access/RecordRoutines.h"
#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "store/Table.h"
#include "text/Picture.h"
#include "text/TypedEntry.h"
#include "ui/ProgramContext.h"
#include "ui/services/DittoKey.h"
#include "ui/services/FormUpdate.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/OkCancelButtons.h"
#include "ui/services/WindowPlacer.h"
#include "ui/services/WindowSize.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace srk {

namespace {

const QString kTimePicture = QStringLiteral("@t4b");
const QString kTrackPicture = QStringLiteral("@n3");
const QString kOk = QStringLiteral("OK");
const QString kCancel = QStringLiteral("Cancel");

}  // namespace

QString UpdateAddWizard::procedureName(Variant variant) {
    return variant == Variant::WithArtist ? QStringLiteral("UpdateAddWizard") : QStringLiteral("UpdateAddWizardNoArtist");
}

QString UpdateAddWizard::run(ProgramContext& context, Variant variant, WindowRequest request, Record& row,
                             QWidget* parent) {
    TableAccess& access = *context.access;
    TableUse use(access);
    if (!use.open(addWizardTable()))
        return kCancel;
    if (request == WindowRequest::Delete) {
        if (!confirmDelete(access))
            return kCancel;
        return deleteWithRetry(access, addWizardTable(), row) == RoutineResult::Done ? kOk : kCancel;
    }
    if (request != WindowRequest::Insert && request != WindowRequest::Change)
        return kCancel;
    if (request == WindowRequest::Insert) {
        // The new row is stored at once under the next track of this wizard, so that the number is held.
        Record primed(addWizardTable());
        primed.setNumber(AW::Instance, context.threadInstance);
        if (prime(access, addWizardTable(), primed) != PrimeStatus::Primed)
            return kCancel;
        row = primed;
    }
    ModalWindow<UpdateAddWizard> form(context, variant, request, row, parent);
    const ModalResult result = form.exec();
    if (result.gone && request == WindowRequest::Insert)
        cancelPrimed(access, addWizardTable(), row);
    if (!result.accepted())
        return kCancel;
    row = form->row();
    return kOk;
}

UpdateAddWizard::UpdateAddWizard(ProgramContext& context, Variant variant, WindowRequest request, const Record& row,
                                 QWidget* parent)
    : QDialog(parent), m_context(context), m_variant(variant), m_request(request), m_row(row), m_original(row) {
    setObjectName(procedureName(variant).toUpper());
    setWindowTitle(request == WindowRequest::Insert
                       ? QStringLiteral("Track Will Be Added  (New)")
                       : QStringLiteral("Track Will Be Changed  (%1)").arg(row.number(AW::Track)));
    m_ditto = new DittoKey(this, context.access->ditto(), procedureName(variant));
    m_placer = new WindowPlacer(this, context.positions, procedureName(variant));

    auto* form = new QFormLayout;
    auto line = [this, form](const QString& prompt, int width) {
        auto* edit = new QLineEdit(this);
        edit->setMaxLength(width);
        auto* label = new QLabel(prompt, this);
        label->setBuddy(edit);
        form->addRow(label, edit);
        return edit;
    };
    if (variant == Variant::WithArtist)
        m_artist = line(QStringLiteral("&Artist:"), 30);
    m_title = line(QStringLiteral("&Title:"), 30);
    m_time = line(QStringLiteral("T&ime:"), 12);
    m_track = line(QStringLiteral("Track:"), 3);
    m_track->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,3}")), m_track));
    m_ditto->bindField(m_title, AW::Title);
    m_ditto->bindField(m_time, AW::Time, kTimePicture);
    m_ditto->bindField(m_track, AW::Track, kTrackPicture);

    showRow();

    const OkCancelButtons okCancel = makeOkCancelButtons(this);
    m_ok = okCancel.ok;
    m_cancel = okCancel.cancel;
    connect(m_ok, &QPushButton::clicked, this, &UpdateAddWizard::finish);
    QHBoxLayout* buttons = okCancelRow(okCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    fitWindow(this);
    (m_artist ? m_artist : m_title)->setFocus();
}

void UpdateAddWizard::showRow() {
    if (m_artist)
        m_artist->setText(m_row.text(AW::Artist));
    m_title->setText(m_row.text(AW::Title));
    m_shownTime = format(m_row.number(AW::Time), kTimePicture).trimmed();
    m_time->setText(m_shownTime);
    m_track->setText(QString::number(m_row.number(AW::Track)));
}

bool UpdateAddWizard::collect() {
    if (m_artist)
        m_row.setText(AW::Artist, m_artist->text());
    m_row.setText(AW::Title, m_title->text());
    const QString time = m_time->text().trimmed();
    if (time != m_shownTime) {
        const std::optional<qint64> typed = time.isEmpty() ? std::optional<qint64>(0) : readTimeEntry(time);
        if (!typed) {
            m_context.access->ask({timeEntryTitle(), timeEntryText(time, kTimePicture), ButtonOk, ButtonOk});
            m_time->setFocus();
            m_time->selectAll();
            return false;
        }
        m_row.setNumber(AW::Time, *typed);
    }
    m_row.setNumber(AW::Track, m_track->text().trimmed().toLongLong());
    return true;
}

void UpdateAddWizard::finish() {
    if (!collect())
        return;
    TableAccess& access = *m_context.access;
    Table rows(access.store(), addWizardTable());
    // Two rows of one wizard cannot share a track.
    if (rows.duplicateKey(m_row) == AW::KeyInstance) {
        access.showStandardMessage(StdMsg::DuplicateKey, QStringLiteral("Track Order"));
        m_track->setFocus();
        m_track->selectAll();
        return;
    }
    if (m_request == WindowRequest::Insert) {
        if (rows.put(m_row) != NoError) {
            access.saveError();
            access.showStandardMessage(StdMsg::InsertError, addWizardTable().label);
            return;
        }
    } else {
        if (!followUpdateOutcome(updateWithRetry(access, addWizardTable(), m_row, m_original, false), *this, m_row,
                                 m_original, [this] { showRow(); }))
            return;
    }
    access.ditto().remember(procedureName(m_variant), m_row);
    accept();
}

void UpdateAddWizard::done(int result) {
    if (result != QDialog::Accepted && m_request == WindowRequest::Insert)
        cancelPrimed(*m_context.access, addWizardTable(), m_row);
    m_placer->save();
    QDialog::done(result);
}

}  // namespace srk
