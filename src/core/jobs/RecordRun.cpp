#include "jobs/RecordRun.h"

#include "access/TableAccess.h"
#include "jobs/WriteFailure.h"
#include "store/Store.h"
#include "store/Table.h"

namespace srk {

void RecordRun::finishRun() {
    if (m_frameOpen)
        commitFrame();
    if (m_scanned) {
        m_scanned->sendCommand(QStringLiteral("QUICKSCAN=off"));
        m_scanned = nullptr;
    }
}

void RecordRun::scanQuickly(Table& table) {
    table.sendCommand(QStringLiteral("QUICKSCAN=on"));
    m_scanned = &table;
}

void RecordRun::end(Outcome outcome) {
    m_outcome = outcome;
    // Drivers tell a finished run from a stopped one by cancelled(); a failed write or read stops it too.
    if (outcome == Outcome::Cancelled && !cancelled())
        cancel();
    if (m_scanned) {
        m_scanned->sendCommand(QStringLiteral("QUICKSCAN=off"));
        m_scanned = nullptr;
    }
}

void RecordRun::stopWith(StdMsg message, const QString& text1, const QString& text2, const QString& file) {
    // Taken before the message, which clears a saved error once shown.
    fail(writeFailureText(m_access.currentError(), m_access.store().folder(), file));
    m_access.showStandardMessage(message, text1, text2);
    end(Outcome::Cancelled);
}

void RecordRun::stopWithPutError(const QString& file) {
    stopWith(StdMsg::ProcessError, QStringLiteral("Put"), QStringLiteral("Process:ViewPut"), file);
}

bool RecordRun::openFrame() {
    if (m_frameOpen)
        return true;
    if (m_access.store().stream() != NoError) {
        m_access.saveError();
        return false;
    }
    m_frameOpen = true;
    return true;
}

bool RecordRun::commitFrame() {
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
    keepCounts();
    return true;
}

void RecordRun::rollBack() {
    // Only the open frame goes; frames committed before stay.
    if (m_frameOpen)
        m_access.store().discard();
    m_frameOpen = false;
    m_inFrame = 0;
    restoreCounts();
}

bool RecordRun::step() {
    if (m_outcome != Outcome::Running)
        return false;
    if (cancelled()) {
        // What was written stays.
        if (!commitFrame()) {
            stopWithPutError(writtenFile());
            return false;
        }
        end(Outcome::Cancelled);
        return false;
    }
    if (!m_started) {
        m_started = true;
        if (!begin()) {
            end(Outcome::Cancelled);
            return false;
        }
        return true;
    }
    return processSlice();
}

int RecordRun::percent() const {
    if (m_outcome == Outcome::Completed)
        return 100;
    if (m_total <= 0)
        return 0;
    return int(qBound(qint64(0), m_read * 100 / m_total, qint64(100)));
}

}  // namespace srk
