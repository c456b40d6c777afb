#pragma once

#include "jobs/RecordRun.h"
#include "store/Table.h"

#include <memory>

namespace srk {

// The chart roll-over of one playlist: every line, in place order, gets its current place written into
// its note as the "LW:" tag (see chartNote). The lines are written in one stream; Cancel keeps what was
// written. Progress is taken over a nominal 50 lines and never shows more than 100.
class ThisWeekToLastWeek : public RecordRun {
public:
    static constexpr int kNominalLines = 50;
    static constexpr int kLinesPerSlice = 50;

    ThisWeekToLastWeek(TableAccess& access, qint64 playlistId);
    ~ThisWeekToLastWeek() override;

    // The question before the run: true when the user pressed OK.
    static bool confirm(TableAccess& access);
    static QString question();

    int percent() const override;
    qint64 linesWritten() const { return m_written; }
    QString textLine() const { return QStringLiteral("Updating Chart"); }

private:
    bool begin() override;
    bool processSlice() override;
    QString writtenFile() const override;
    void keepCounts() override { m_writtenCommitted = m_written; }
    void restoreCounts() override { m_written = m_writtenCommitted; }

    const qint64 m_playlistId;
    bool m_open = false;
    std::unique_ptr<Table> m_table;
    KeyAnchor m_anchor;
    qint64 m_written = 0;
    qint64 m_writtenCommitted = 0;
};

}  // namespace srk
