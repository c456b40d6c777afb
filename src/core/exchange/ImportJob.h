#pragma once

#include "exchange/CategoryMapper.h"
#include "exchange/ImportMapping.h"
#include "exchange/ImportReadAhead.h"
#include "jobs/Job.h"
#include "store/Record.h"
#include "store/Table.h"

#include <QString>

#include <memory>

namespace srk {

class TableAccess;

// The import run: one song per line of the file, added in slices of lines per step. Every line starts
// from a cleared song under the next free song number. Progress is the bytes read against the file's
// size. A failed add or an unreadable line stops the run after its message; the songs added before stay.
class ImportJob : public Job {
public:
    static constexpr int kLinesPerSlice = 25;
    // Songs go to the file in frames this large (one frame for a load into an empty song table).
    static constexpr int kLinesPerFrame = 5000;

    ImportJob(TableAccess& access, const QString& path, const ImportPlan& plan);
    ~ImportJob() override;
    ImportJob(const ImportJob&) = delete;
    ImportJob& operator=(const ImportJob&) = delete;

    bool step() override;
    int percent() const override { return m_percent; }

    QString title() const { return QStringLiteral("Importing Records"); }
    // "0% Completed" ... "Process Completed".
    QString statusText() const;
    bool completed() const { return m_state == State::Completed; }
    qint64 songsAdded() const { return m_added; }
    qint64 categoriesAdded() const { return m_categories ? m_categories->categoriesAdded() : 0; }
    // The line of the file the run stopped at, 0 when it did not stop on a line.
    qint64 failedLine() const { return m_failedLine; }

private:
    enum class State { NotStarted, Running, Completed, Stopped };
    bool begin();
    bool processSlice();
    bool readNext();
    bool openFrame();
    bool commitFrame();
    void stopOnLine(const QString& title, const QString& text);
    void show(const QString& title, const QString& text);
    void updatePercent();

    TableAccess& m_access;
    const QString m_path;
    const ImportPlan m_plan;
    State m_state = State::NotStarted;
    bool m_songsOpen = false;
    bool m_categoriesOpen = false;
    std::unique_ptr<Table> m_songs;
    std::unique_ptr<ImportReadAhead> m_readAhead;
    ImportReadAhead::Line* m_line = nullptr;  // the read-ahead's, until the next line is read
    std::unique_ptr<CategoryMapper> m_categories;
    qint64 m_nextId = 1;
    qint64 m_added = 0;
    qint64 m_addedCommitted = 0;
    qint64 m_failedLine = 0;
    int m_inFrame = 0;
    bool m_frameOpen = false;
    bool m_keysDropped = false;
    int m_percent = 0;
};

}  // namespace srk
