#include "playlists/ThisWeekToLastWeek.h"

#include "access/MessageService.h"
#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "playlists/ChartNote.h"
#include "store/Store.h"

namespace srk {

ThisWeekToLastWeek::ThisWeekToLastWeek(TableAccess& access, qint64 playlistId)
    : RecordRun(access), m_playlistId(playlistId) {
    m_open = m_access.openTable(playlistDetailsTable()).ok();
}

ThisWeekToLastWeek::~ThisWeekToLastWeek() {
    finishRun();
    m_table.reset();
    m_access.closeTable(playlistDetailsTable());
}

QString ThisWeekToLastWeek::question() {
    return QStringLiteral("This will copy the current chart standings into the notes field to be used as "
                          "\"last week's chart positions\".");
}

bool ThisWeekToLastWeek::confirm(TableAccess& access) {
    return access.ask({QStringLiteral("Warning"), question(), ButtonOk | ButtonCancel, ButtonOk}) == ButtonOk;
}

int ThisWeekToLastWeek::percent() const {
    if (completed())
        return 100;
    return int(qMin<qint64>(100, m_read * 100 / kNominalLines));
}

bool ThisWeekToLastWeek::begin() {
    if (!m_open)
        return false;
    m_table = std::make_unique<Table>(m_access.store(), playlistDetailsTable());
    scanQuickly(*m_table);
    Record first(playlistDetailsTable());
    first.setNumber(PLA::PlaylistID, m_playlistId);
    m_anchor = KeyAnchor::at(first, PLA::KeyPlaylistID);
    m_anchor.row = 0;
    if (openFrame())
        return true;
    stopWithPutError(writtenFile());
    return false;
}

bool ThisWeekToLastWeek::processSlice() {
    QVector<Record> slice;
    const SqlCondition ofPlaylist{QStringLiteral("\"PlaylistID\" = ?"), {m_playlistId}};
    const int rc = m_table->fetch(PLA::KeyPlaylistID, m_anchor, true, kLinesPerSlice, ofPlaylist, slice);
    if (rc != NoError && rc != RecordNotAvailable) {
        m_access.saveError();
        rollBack();
        stopWith(StdMsg::RetrievalError, playlistMasterTable().label, QString(), writtenFile());
        return false;
    }
    for (Record& line : slice) {
        ++m_read;
        m_anchor = KeyAnchor::after(line, PLA::KeyPlaylistID);
        line.setText(PLA::PlaylistNotes, chartNote(line.text(PLA::PlaylistNotes), line.number(PLA::PlaylistSeq)));
        if (m_table->put(line) != NoError) {
            m_access.saveError();
            // Lines written before the failure stay, as after a Cancel.
            commitFrame();
            stopWithPutError(writtenFile());
            return false;
        }
        ++m_written;
    }
    if (slice.size() < kLinesPerSlice) {
        if (!commitFrame()) {
            stopWithPutError(writtenFile());
            return false;
        }
        end(Outcome::Completed);
        return false;
    }
    return true;
}

QString ThisWeekToLastWeek::writtenFile() const {
    return m_access.store().filePath(playlistDetailsTable());
}

}  // namespace srk
