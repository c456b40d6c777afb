#pragma once

#include "exchange/CsvReader.h"
#include "exchange/ImportLine.h"
#include "exchange/ImportMapping.h"
#include "store/Record.h"

#include <QString>
#include <QStringList>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace srk {

// Reads the import file and fills songs from its lines on a thread of its own, a few hundred lines
// ahead of the job that stores them: on two cores the reading then costs the import no time. Blank lines
// are passed over. The category is left to the caller, since finding or making one needs the store.
class ImportReadAhead {
public:
    struct Line {
        CsvReader::Status status = CsvReader::Status::End;
        Record song;            // filled from the line, with neither number nor category
        QStringList categories; // the line's category texts, in column order
        qint64 lineNumber = 0;  // where the line (or the failure) began
        qint64 bytesRead = 0;   // of the file, once the line is read
        int errorCode = 0;      // for a ReadError
        QString errorText;
    };

    ImportReadAhead(const ImportPlan& plan, const Record& blankSong);
    ~ImportReadAhead();
    ImportReadAhead(const ImportReadAhead&) = delete;
    ImportReadAhead& operator=(const ImportReadAhead&) = delete;

    // Opens the file here, so that a failure is known at once, and starts reading it (past the header
    // line when the plan has one). False when it cannot be opened: errorCode() and errorText() say why.
    bool open(const QString& path);
    int errorCode() const { return m_openErrorCode; }
    QString errorText() const { return m_openErrorText; }
    qint64 size() const { return m_size; }

    // Waits for the next line, which lasts until the next call. After the one whose status is not Record
    // there are no more.
    Line& next();

    // Stops the reading thread; it ends by itself once the file is read.
    void stop();

private:
    using Batch = std::vector<Line>;
    static constexpr int kLinesPerBatch = 256;
    static constexpr int kBatchesAhead = 4;

    void run();
    Batch spareBatch();
    // False once the reading is to stop.
    bool post(Batch& batch);

    CsvReader m_reader;
    ImportLineAssigner m_assigner;
    const Record m_blank;
    const bool m_header;
    qint64 m_size = 0;
    int m_openErrorCode = 0;
    QString m_openErrorText;

    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Batch> m_ready;  // guarded by m_mutex
    // Batches the caller is done with, for the reading thread to fill again: the songs' text is then
    // let go by the thread that made it, in memory still warm.
    std::vector<Batch> m_spare;  // guarded by m_mutex
    bool m_stopping = false;    // guarded by m_mutex
    bool m_ended = false;       // guarded by m_mutex: the line that ends the file has been posted
    Batch m_taking;             // the caller's batch, read from the front
    size_t m_taken = 0;
    Line m_past;                // what next() gives once the lines are used up
};

}  // namespace srk
