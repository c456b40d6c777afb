#include "ui/playlists/UpdatePlaylistDetails.h"

#include "access/Priming.h"
#include "access/RecordRoutines.h"
#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "store/Table.h"
#include "ui/ProgramContext.h"
#include "ui/services/FormUpdate.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/OkCancelButtons.h"
#include "ui/songs/SelectFileNumber.h"
#include "ui/services/WindowPlacer.h"
#include "ui/services/WindowSize.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace srk {

const QString UpdatePlaylistDetails::Procedure = QStringLiteral("UpdatePlaylistDetails");

WindowResponse UpdatePlaylistDetails::run(ProgramContext& context, WindowRequest request, Record& line,
                                          QWidget* parent) {
    TableAccess& access = *context.access;
    if (!line.isValid())
        line = Record(playlistDetailsTable());
    if (request == WindowRequest::Delete) {
        if (!confirmDelete(access))
            return WindowResponse::Cancelled;
        return deleteWithRetry(access, playlistDetailsTable(), line) == RoutineResult::Done
                   ? WindowResponse::Completed
                   : WindowResponse::Cancelled;
    }
    if (request != WindowRequest::Insert && request != WindowRequest::Change)
        return WindowResponse::Cancelled;
    TableUse use(access);
    for (const TableDef* def : {&playlistDetailsTable(), &songsTable()})
        if (!use.open(*def))
            return WindowResponse::Cancelled;
    Record record = line;
    if (request == WindowRequest::Insert && prime(access, playlistDetailsTable(), record) != PrimeStatus::Primed)
        return WindowResponse::Cancelled;
    ModalWindow<UpdatePlaylistDetails> form(context, request, record, parent);
    const ModalResult result = form.exec();
    if (result.gone && request == WindowRequest::Insert)
        cancelPrimed(access, playlistDetailsTable(), record);
    if (!result.accepted())
        return WindowResponse::Cancelled;
    line = form->record();
    return WindowResponse::Completed;
}

UpdatePlaylistDetails::UpdatePlaylistDetails(ProgramContext& context, WindowRequest request, const Record& line,
                                             QWidget* parent)
    : QDialog(parent), m_context(context), m_request(request), m_record(line), m_original(line) {
    setObjectName(QStringLiteral("UPDATEPLAYLISTDETAILS"));
    setWindowTitle(request == WindowRequest::Insert ? QStringLiteral("Adding a Playlist Detail")
                                                    : QStringLiteral("Changing a Playlist Detail"));
    m_placer = new WindowPlacer(this, context.positions, Procedure);

    m_notes = new QLineEdit(m_record.text(PLA::PlaylistNotes), this);
    m_notes->setMaxLength(playlistDetailsTable().fields[PLA::PlaylistNotes].width);
    m_artist = new QLineEdit(this);
    m_title = new QLineEdit(this);
    for (QLineEdit* shown : {m_artist, m_title}) {
        shown->setReadOnly(true);
        shown->setFocusPolicy(Qt::NoFocus);
    }
    fitEntryToCharacters(m_notes, playlistDetailsTable().fields[PLA::PlaylistNotes].width);
    fitEntryToCharacters(m_artist, songsTable().fields[SON::Artist].width);
    fitEntryToCharacters(m_title, songsTable().fields[SON::Title].width);
    m_selectSong = new QPushButton(QStringLiteral("&Select Song"), this);
    m_selectSong->setAutoDefault(false);
    m_selectSong->setToolTip(QStringLiteral("Pick the song for this line"));
    connect(m_selectSong, &QPushButton::clicked, this, &UpdatePlaylistDetails::selectSong);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Playlist Notes:"), m_notes);
    form->addRow(QStringLiteral("&Artist:"), m_artist);
    form->addRow(QStringLiteral("&Title:"), m_title);
    form->addRow(QString(), m_selectSong);

    const OkCancelButtons okCancel = makeOkCancelButtons(this);
    m_ok = okCancel.ok;
    m_cancel = okCancel.cancel;
    connect(m_ok, &QPushButton::clicked, this, &UpdatePlaylistDetails::finish);
    QHBoxLayout* buttons = okCancelRow(okCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    showSong();
    fitWindow(this);
    m_notes->setFocus();
}

void UpdatePlaylistDetails::showSong() {
    // A line whose song is gone shows blanks.
    Table songs(*m_context.store, songsTable());
    Record song(songsTable());
    song.setNumber(SON::ID, m_record.number(PLA::ID));
    const bool found = m_record.number(PLA::ID) != 0 && songs.get(SON::KeyID, song) == NoError;
    m_artist->setText(found ? song.text(SON::Artist) : QString());
    m_title->setText(found ? song.text(SON::Title) : QString());
}

void UpdatePlaylistDetails::selectSong() {
    Record chosen(songsTable());
    const QPointer<UpdatePlaylistDetails> self(this);
    const WindowResponse response = SelectFileNumber::select(m_context, chosen, this);
    if (!self || response != WindowResponse::Completed)
        return;
    m_record.setNumber(PLA::ID, chosen.number(SON::ID));
    showSong();
}

void UpdatePlaylistDetails::finish() {
    m_record.setText(PLA::PlaylistNotes, m_notes->text());
    TableAccess& access = *m_context.access;
    if (m_request == WindowRequest::Insert) {
        if (completePrimed(access, playlistDetailsTable(), m_record) == 0)
            accept();
        return;
    }
    if (followUpdateOutcome(updateWithRetry(access, playlistDetailsTable(), m_record, m_original, false), *this,
                            m_record, m_original, [this] {
                                m_notes->setText(m_record.text(PLA::PlaylistNotes));
                                showSong();
                            }))
        accept();
}

void UpdatePlaylistDetails::done(int result) {
    if (result != QDialog::Accepted && m_request == WindowRequest::Insert)
        cancelPrimed(*m_context.access, playlistDetailsTable(), m_record);
    m_placer->save();
    QDialog::done(result);
}

}  // namespace srk
