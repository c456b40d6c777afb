#include "albums/ReleaseDateToYear.h"

#include "access/TableAccess.h"
#include "albums/YearOnlyDate.h"
#include "jobs/WriteFailure.h"
#include "store/Store.h"

#include <QVector>

namespace srk {

ReleaseDateToYear::ReleaseDateToYear(TableAccess& access, const TableDef& def, int dateField, int perSlice,
                                     const QString& textLine)
    : m_access(access), m_def(def), m_dateField(dateField), m_perSlice(perSlice), m_textLine(textLine) {
    m_open = m_access.openTable(m_def).ok();
}

ReleaseDateToYear::~ReleaseDateToYear() {
    // A job dropped in the middle keeps what it wrote, as a cancel does.
    if (m_frameOpen)
        commitFrame();
    if (m_quickScan)
        m_table->sendCommand(QStringLiteral("QUICKSCAN=off"));
    m_table.reset();
    // The open raised the use count even when it failed.
    m_access.closeTable(m_def);
}

bool ReleaseDateToYear::begin() {
    m_started = true;
    // A failed open has already shown its message.
    if (!m_open)
        return false;
    m_table = std::make_unique<Table>(m_access.store(), m_def);
    m_table->sendCommand(QStringLiteral("QUICKSCAN=on"));
    m_quickScan = true;
    m_total = m_table->records();
    m_anchor = KeyAnchor::start();
    return true;
}

void ReleaseDateToYear::end(Outcome outcome) {
    m_outcome = outcome;
    // Drivers tell a finished run from a stopped one by cancelled(); a failed write or read stops it too.
    if (outcome == Outcome::Cancelled && !cancelled())
        cancel();
    if (m_quickScan) {
        m_table->sendCommand(QStringLiteral("QUICKSCAN=off"));
        m_quickScan = false;
    }
}

void ReleaseDateToYear::stopWith(StdMsg message, const QString& text1, const QString& text2, const QString& file) {
    // Taken before the message, which clears a saved error once shown.
    fail(writeFailureText(m_access.currentError(), m_access.store().folder(), file));
    m_access.showStandardMessage(message, text1, text2);
    end(Outcome::Cancelled);
}

bool ReleaseDateToYear::commitFrame() {
    if (!m_frameOpen)
        return true;
    m_frameOpen = false;
    m_inFrame = 0;
    if (m_access.store().flush() != NoError) {
        m_access.saveError();
        m_frameOpen = true;
        rollBack();
        return false;
    }
    m_convertedCommitted = m_converted;
    return true;
}

void ReleaseDateToYear::rollBack() {
    // Only the open frame goes; frames committed before stay.
    if (m_frameOpen)
        m_access.store().discard();
    m_frameOpen = false;
    m_inFrame = 0;
    m_converted = m_convertedCommitted;
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
    if (!slice.isEmpty() && !m_frameOpen) {
        if (store.stream() != NoError) {
            m_access.saveError();
            stopWith(StdMsg::ProcessError, QStringLiteral("Put"), QStringLiteral("Process:ViewPut"), QString());
            return false;
        }
        m_frameOpen = true;
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
            stopWith(StdMsg::ProcessError, QStringLiteral("Put"), QStringLiteral("Process:ViewPut"), file);
            return false;
        }
        ++m_converted;
    }
    const bool last = slice.size() < m_perSlice;
    if ((last || m_inFrame >= kRecordsPerFrame) && !commitFrame()) {
        stopWith(StdMsg::ProcessError, QStringLiteral("Put"), QStringLiteral("Process:ViewPut"), file);
        return false;
    }
    if (last) {
        end(Outcome::Completed);
        return false;
    }
    return true;
}

bool ReleaseDateToYear::step() {
    if (m_outcome != Outcome::Running)
        return false;
    if (cancelled()) {
        // What was rewritten stays.
        if (!commitFrame()) {
            stopWith(StdMsg::ProcessError, QStringLiteral("Put"), QStringLiteral("Process:ViewPut"),
                     m_access.store().filePath(m_def));
            return false;
        }
        end(Outcome::Cancelled);
        return false;
    }
    if (!m_started) {
        if (!begin()) {
            end(Outcome::Cancelled);
            return false;
        }
        return true;
    }
    return processSlice();
}

int ReleaseDateToYear::percent() const {
    if (m_outcome == Outcome::Completed)
        return 100;
    if (m_total <= 0)
        return 0;
    return int(qBound(qint64(0), m_read * 100 / m_total, qint64(100)));
}

}  // namespace srk
