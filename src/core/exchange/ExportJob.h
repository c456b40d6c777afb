#pragma once

#include "exchange/CsvWriter.h"
#include "exchange/ExportLine.h"
#include "jobs/Job.h"
#include "store/Record.h"
#include "store/Table.h"

#include <QHash>
#include <QString>

#include <memory>

namespace srk {

class TableAccess;

// The export run: every song in artist order, one line each, a slice of songs per step, after the
// header line when asked. Progress is songs read against the songs counted at the start. A line the
// file refuses asks Abort or Retry; Abort ends the run, and the file keeps only its complete lines.
class ExportJob : public Job {
public:
    static constexpr int kSongsPerSlice = 25;
    // Songs are read ahead in batches this large: one keyed seek per batch, not per slice.
    static constexpr int kSongsPerRead = 1000;

    ExportJob(TableAccess& access, const QString& path, const QVector<ExportColumn>& columns, bool header);
    ~ExportJob() override;
    ExportJob(const ExportJob&) = delete;
    ExportJob& operator=(const ExportJob&) = delete;

    bool step() override;
    int percent() const override { return m_percent; }

    QString title() const { return QStringLiteral("Exporting Records"); }
    QString statusText() const;
    bool completed() const { return m_state == State::Completed; }
    qint64 songsWritten() const { return m_written; }

private:
    enum class State { NotStarted, Running, Completed, Stopped };
    bool begin();
    bool processSlice();
    // Adds a line, asking Abort or Retry while the file refuses it; false when the user gave up.
    bool addLine(const QString& line);
    bool writeOut();
    bool retryOrGiveUp();
    int categoryName(qint64 id, QString& name);
    void finish(State state);
    void stop(const QString& title, const QString& text);

    TableAccess& m_access;
    const QString m_path;
    const ExportLineBuilder m_builder;
    const bool m_header;
    State m_state = State::NotStarted;
    bool m_songsOpen = false;
    bool m_categoriesOpen = false;
    CsvWriter m_writer;
    std::unique_ptr<Table> m_songs;
    std::unique_ptr<Table> m_categories;
    QHash<qint64, QString> m_categoryNames;
    QString m_line;
    KeyAnchor m_anchor = KeyAnchor::start();
    QVector<Record> m_ahead;
    qsizetype m_aheadPos = 0;
    bool m_lastBatch = false;
    qint64 m_total = 0;
    qint64 m_read = 0;
    qint64 m_written = 0;
    int m_percent = 0;
};

}  // namespace srk
