#pragma once

#include "access/StandardMessages.h"
#include "jobs/Job.h"
#include "store/Record.h"
#include "store/Table.h"

#include <QString>

#include <memory>

namespace srk {

class TableAccess;

// Turns every full release date of one table into its bare year (see yearOnlyDate), a slice of records
// per step in record order. Writes collect in a frame committed every kRecordsPerFrame records, at the
// end and on cancel: what was committed stays; a failure rolls back only the open frame. Progress is
// records read / records counted at the start.
class ReleaseDateToYear : public Job {
public:
    enum class Outcome { Running, Completed, Cancelled };
    // One commit per small slice would cost more than its reads.
    static constexpr int kRecordsPerFrame = 5000;

    ~ReleaseDateToYear() override;
    ReleaseDateToYear(const ReleaseDateToYear&) = delete;
    ReleaseDateToYear& operator=(const ReleaseDateToYear&) = delete;

    bool step() override;
    int percent() const override;

    QString title() const { return QStringLiteral("Processing Records"); }
    QString textLine() const { return m_textLine; }
    int recordsPerSlice() const { return m_perSlice; }

    Outcome outcome() const { return m_outcome; }
    bool completed() const { return m_outcome == Outcome::Completed; }

    qint64 recordsRead() const { return m_read; }
    qint64 datesConverted() const { return m_converted; }

protected:
    ReleaseDateToYear(TableAccess& access, const TableDef& def, int dateField, int perSlice, const QString& textLine);

private:
    bool begin();
    bool processSlice();
    bool commitFrame();
    void rollBack();
    void end(Outcome outcome);
    void stopWith(StdMsg message, const QString& text1, const QString& text2, const QString& file);

    TableAccess& m_access;
    const TableDef& m_def;
    const int m_dateField;
    const int m_perSlice;
    const QString m_textLine;
    bool m_open = false;
    std::unique_ptr<Table> m_table;
    KeyAnchor m_anchor = KeyAnchor::start();
    Outcome m_outcome = Outcome::Running;
    bool m_started = false;
    bool m_quickScan = false;
    bool m_frameOpen = false;
    int m_inFrame = 0;
    qint64 m_total = 0;
    qint64 m_read = 0;
    qint64 m_converted = 0;
    qint64 m_convertedCommitted = 0;
};

}  // namespace srk
