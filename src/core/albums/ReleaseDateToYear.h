#pragma once

#include "jobs/RecordRun.h"
#include "store/Record.h"
#include "store/Table.h"

#include <QString>

#include <memory>

namespace srk {

class TableAccess;

// Turns every full release date of one table into its bare year (see yearOnlyDate), a slice of records
// per step in record order. Writes collect in a frame committed every kRecordsPerFrame records, at the
// end and on cancel: what was committed stays; a failure rolls back only the open frame.
class ReleaseDateToYear : public RecordRun {
public:
    // One commit per small slice would cost more than its reads.
    static constexpr int kRecordsPerFrame = 5000;

    ~ReleaseDateToYear() override;
    ReleaseDateToYear(const ReleaseDateToYear&) = delete;
    ReleaseDateToYear& operator=(const ReleaseDateToYear&) = delete;

    QString textLine() const { return m_textLine; }
    int recordsPerSlice() const { return m_perSlice; }

    qint64 recordsRead() const { return m_read; }
    qint64 datesConverted() const { return m_converted; }

protected:
    ReleaseDateToYear(TableAccess& access, const TableDef& def, int dateField, int perSlice, const QString& textLine);

private:
    bool begin() override;
    bool processSlice() override;
    QString writtenFile() const override;
    void keepCounts() override { m_convertedCommitted = m_converted; }
    void restoreCounts() override { m_converted = m_convertedCommitted; }

    const TableDef& m_def;
    const int m_dateField;
    const int m_perSlice;
    const QString m_textLine;
    bool m_open = false;
    std::unique_ptr<Table> m_table;
    KeyAnchor m_anchor = KeyAnchor::start();
    qint64 m_converted = 0;
    qint64 m_convertedCommitted = 0;
};

}  // namespace srk
