#include "albums/ReleaseDateToYear.h"

#include "access/TableAccess.h"
#include "albums/YearOnlyDate.h"
#include "store/Store.h"

#include <QVector>

namespace srk {

ReleaseDateToYear::ReleaseDateToYear(TableAccess& access, const TableDef& def, int dateField, int perSlice,
                                     const QString& textLine)
    : RecordRun(access), m_def(def), m_dateField(dateField), m_perSlice(perSlice), m_textLine(textLine) {
    m_open = m_access.openTable(m_def).ok();
}

ReleaseDateToYear::~ReleaseDateToYear() {
    // A job dropped in the middle keeps what it wrote, as a cancel does.
    finishRun();
    m_table.reset();
    // The open raised the use count even when it failed.
    m_access.closeTable(m_def);
}

bool ReleaseDateToYear::begin() {
    // A failed open has already shown its message.
    if (!m_open)
        return false;
    m_table = std::make_unique<Table>(m_access.store(), m_def);
    scanQuickly(*m_table);
    m_total = m_table->records();
    m_anchor = KeyAnchor::start();
    return true;
}

bool ReleaseDateToYear::processSlice() {
    Store& store = m_access.store();
    const QString file = store.filePath(m_def);
    QVector<Record> slice;
    // Record order: every record is read, whatever its key fields hold.
    const int readRc = m_table->fetch(-1, m_anchor, true, m_perSlice, slice);
    if (readRc != NoError && readRc != RecordNotAvailable) {
        m_access.saveError();
        rollBack();
        stopWith(StdMsg::RetrievalError, m_def.label, QString(), file);
        return false;
    }
    if (!slice.isEmpty() && !openFrame()) {
        stopWithPutError(QString());
        return false;
    }
    for (Record& r : slice) {
        ++m_read;
        m_anchor = KeyAnchor::after(r, -1);
        ++m_inFrame;
        const qint64 date = r.number(m_dateField);
        const qint64 year = yearOnlyDate(date);
        // An unchanged record would be rewritten as it is, which changes nothing: it is left alone.
        if (year == date)
            continue;
        r.setNumber(m_dateField, year);
        if (m_table->put(r) != NoError) {
            m_access.saveError();
            rollBack();
            stopWithPutError(file);
            return false;
        }
        ++m_converted;
    }
    const bool last = slice.size() < m_perSlice;
    if ((last || m_inFrame >= kRecordsPerFrame) && !commitFrame()) {
        stopWithPutError(file);
        return false;
    }
    if (last) {
        end(Outcome::Completed);
        return false;
    }
    return true;
}

QString ReleaseDateToYear::writtenFile() const { return m_access.store().filePath(m_def); }

}  // namespace srk
