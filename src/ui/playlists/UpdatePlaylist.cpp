#include "ui/playlists/UpdatePlaylist.h"

#include "access/Priming.h"
#include "access/RecordRoutines.h"
#include "access/StandardMessages.h"
#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "store/Table.h"
#include "text/DayNumber.h"
#include "text/Picture.h"
#include "ui/ProgramContext.h"
#include "ui/playlists/PlaylistLineList.h"
#include "ui/services/FormUpdate.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/OkCancelButtons.h"
#include "ui/services/WindowPlacer.h"
#include "ui/services/WindowSize.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace srk {

const QString UpdatePlaylist::Procedure = QStringLiteral("UpdatePlaylist");

namespace {

// The name a duplicate description is reported under.
const QString kDescriptionKeyName = QStringLiteral("Playlists");

}  // namespace

WindowResponse UpdatePlaylist::run(ProgramContext& context, WindowRequest request, Record& playlist,
                                   QWidget* parent) {
    if (!playlist.isValid())
        playlist = Record(playlistMasterTable());
    TableAccess& access = *context.access;
    if (request == WindowRequest::Delete) {
        if (!confirmDelete(access))
            return WindowResponse::Cancelled;
        return deleteWithRetry(access, playlistMasterTable(), playlist) == RoutineResult::Done
                   ? WindowResponse::Completed
                   : WindowResponse::Cancelled;
    }
    if (request != WindowRequest::Insert && request != WindowRequest::Change)
        return WindowResponse::Cancelled;

    // The form's tables stay open while it is up.
    TableUse use(access);
    for (const TableDef* def : {&playlistMasterTable(), &playlistDetailsTable(), &songsTable()})
        if (!use.open(*def))
            return WindowResponse::Cancelled;
    Record record = playlist;
    if (request == WindowRequest::Insert && prime(access, playlistMasterTable(), record) != PrimeStatus::Primed)
        return WindowResponse::Cancelled;

    ModalWindow<UpdatePlaylist> form(context, request, record, parent);
    const ModalResult result = form.exec();
    if (result.gone && request == WindowRequest::Insert)
        // Deleted with its owner before it could cancel itself: the primed playlist goes all the same.
        cancelPrimed(access, playlistMasterTable(), record);
    if (!result.accepted())
        return WindowResponse::Cancelled;
    playlist = form->record();
    return WindowResponse::Completed;
}

UpdatePlaylist::UpdatePlaylist(ProgramContext& context, WindowRequest request, const Record& playlist,
                               QWidget* parent)
    : QDialog(parent), m_context(context), m_request(request), m_record(playlist), m_original(playlist) {
    setObjectName(QStringLiteral("UPDATEPLAYLIST"));
    setWindowTitle(request == WindowRequest::Insert ? QStringLiteral("Adding a Playlist Record")
                                                    : QStringLiteral("Changing a Playlist Record"));
    m_placer = new WindowPlacer(this, context.positions, Procedure);

    m_tabs = new QTabWidget(this);
    auto* page = new QWidget(m_tabs);
    m_description = new QLineEdit(page);
    m_description->setMaxLength(playlistMasterTable().fields[PLD::PlaylistDescription].width);
    auto* descriptionRow = new QFormLayout;
    auto* prompt = new QLabel(QStringLiteral("&Playlist Description:"), page);
    prompt->setBuddy(m_description);
    descriptionRow->addRow(prompt, m_description);
    m_lines = new PlaylistLineList(context, m_record.number(PLD::PlaylistID), page);
    // Queued: a failure while the form is still being built closes it once it runs.
    connect(m_lines, &PlaylistLineList::readFailed, this, &QDialog::reject, Qt::QueuedConnection);
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addLayout(descriptionRow);
    pageLayout->addWidget(m_lines, 1);
    m_tabs->addTab(page, QStringLiteral("Play List"));

    m_notes = new QPlainTextEdit(m_tabs);
    m_notes->setTabChangesFocus(true);
    m_tabs->addTab(m_notes, QStringLiteral("Notes"));

    m_lastEdit = new QLineEdit(this);
    m_lastEdit->setReadOnly(true);
    m_lastEdit->setFocusPolicy(Qt::NoFocus);
    m_lastEdit->setToolTip(QStringLiteral("Last Edited"));
    const OkCancelButtons okCancel = makeOkCancelButtons(this);
    m_ok = okCancel.ok;
    m_cancel = okCancel.cancel;
    connect(m_ok, &QPushButton::clicked, this, &UpdatePlaylist::finish);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("Last Edit Date:"), this));
    bottom->addWidget(m_lastEdit);
    bottom->addStretch();
    bottom->addWidget(m_ok);
    bottom->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(bottom);

    showRecord();
    fitWindow(this);
    // Room for the artists and titles beside the sequence, time and note; a saved placement wins.
    resize(sizeHint().expandedTo(QSize(860, 480)));
    m_description->setFocus();
}

UpdatePlaylist::~UpdatePlaylist() = default;

void UpdatePlaylist::showRecord() {
    m_description->setText(m_record.text(PLD::PlaylistDescription));
    m_notes->setPlainText(m_record.text(PLD::Notes));
    m_lastEdit->setText(format(QVariant(m_record.number(PLD::LastEditDate)), QStringLiteral("d18")));
    // Wide enough for the longest date the picture makes.
    m_lastEdit->setMinimumWidth(m_lastEdit->fontMetrics().horizontalAdvance(QStringLiteral("September 30, 0000")) + 12);
}

void UpdatePlaylist::collect(Record& r) const {
    r.setText(PLD::PlaylistDescription, m_description->text());
    r.setText(PLD::Notes, m_notes->toPlainText());
}

void UpdatePlaylist::finish() {
    Record edited = m_record;
    collect(edited);
    // A change that leaves header and notes as they were writes nothing.
    if (m_request == WindowRequest::Change && edited.sameValues(m_original)) {
        accept();
        return;
    }
    edited.setNumber(PLD::LastEditDate, todayDayNumber());
    m_record = edited;
    if (save())
        accept();
}

bool UpdatePlaylist::save() {
    TableAccess& access = *m_context.access;
    {
        // A taken description is named as the users know the list, not by its key.
        Table playlists(access.store(), playlistMasterTable());
        if (playlists.duplicateKey(m_record) == PLD::KeyPlaylistDescription) {
            access.showStandardMessage(StdMsg::DuplicateKey, kDescriptionKeyName);
            m_tabs->setCurrentIndex(0);
            m_description->setFocus();
            return false;
        }
    }
    if (m_request == WindowRequest::Insert)
        return completePrimed(access, playlistMasterTable(), m_record) == 0;
    return followUpdateOutcome(updateWithRetry(access, playlistMasterTable(), m_record, m_original, false), *this,
                               m_record, m_original, [this] { showRecord(); });
}

void UpdatePlaylist::done(int result) {
    if (m_closing)
        return;
    m_closing = true;
    m_lines->release();
    // Lines already added to a cancelled new playlist stay where they are.
    if (result != QDialog::Accepted && m_request == WindowRequest::Insert)
        cancelPrimed(*m_context.access, playlistMasterTable(), m_record);
    m_placer->save();
    QDialog::done(result);
}

}  // namespace srk
