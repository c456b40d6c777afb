#pragma once

#include "access/StandardMessages.h"
#include "jobs/Job.h"

#include <QString>

namespace srk {

class TableAccess;
class Table;

// A batch run over the records of the catalogue behind a progress window: it starts on its first step,
// then does one slice per step until the last record, Cancel, or a failed read or write ends it.
// Progress is records read / records counted at the start, in whole numbers and never above 100.
//
// A run that writes in frames longer than a slice opens them with openFrame() and commits them with
// commitFrame(): what was committed stays on cancel or failure, a failure rolls back only the open frame.
class RecordRun : public Job {
public:
    enum class Outcome { Running, Completed, Cancelled };

    bool step() override;
    int percent() const override;

    QString title() const { return QStringLiteral("Processing Records"); }
    // Completed once the last record was read; Cancelled after "Cancel", a failed write or a read error.
    Outcome outcome() const { return m_outcome; }
    bool completed() const { return m_outcome == Outcome::Completed; }

protected:
    explicit RecordRun(TableAccess& access) : m_access(access) {}
    // Derived destructors call this while their tables still exist: an open frame is kept, as a cancel
    // keeps it, and the read hint is taken back.
    void finishRun();

    // The first step: false when the run cannot start (its message was shown).
    virtual bool begin() = 0;
    // One slice; false when the run has ended.
    virtual bool processSlice() = 0;
    // The file a failed commit is blamed on.
    virtual QString writtenFile() const = 0;
    // Counts shown to the user follow what is committed: kept at a commit, put back at a rollback.
    virtual void keepCounts() {}
    virtual void restoreCounts() {}

    // Reads of `table` are a scan from now until the run ends.
    void scanQuickly(Table& table);
    void end(Outcome outcome);
    // Shows the standard message for a failure, keeps its cause (file and reason) as the error text, ends.
    void stopWith(StdMsg message, const QString& text1, const QString& text2, const QString& file);
    // Message 31 for a write that failed in `file`.
    void stopWithPutError(const QString& file);

    bool openFrame();
    bool commitFrame();
    void rollBack();
    bool frameOpen() const { return m_frameOpen; }

    TableAccess& m_access;
    bool m_started = false;
    qint64 m_total = 0;
    qint64 m_read = 0;
    int m_inFrame = 0;

private:
    Outcome m_outcome = Outcome::Running;
    Table* m_scanned = nullptr;
    bool m_frameOpen = false;
};

}  // namespace srk
