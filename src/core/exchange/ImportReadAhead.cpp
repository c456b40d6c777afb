#include "exchange/ImportReadAhead.h"

namespace srk {

ImportReadAhead::ImportReadAhead(const ImportPlan& plan, const Record& blankSong)
    : m_assigner(plan), m_blank(blankSong), m_header(plan.header) {}

ImportReadAhead::~ImportReadAhead() { stop(); }

bool ImportReadAhead::open(const QString& path) {
    if (!m_reader.open(path)) {
        m_openErrorCode = m_reader.errorCode();
        m_openErrorText = m_reader.errorText();
        return false;
    }
    m_size = m_reader.size();
    m_thread = std::thread([this] { run(); });
    return true;
}

void ImportReadAhead::stop() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void ImportReadAhead::run() {
    Batch batch = spareBatch();
    size_t used = 0;
    QString text;
    bool header = m_header;
    for (;;) {
        const CsvReader::Status status = m_reader.next(text);
        if (status == CsvReader::Status::Record && (header || !lineHasFields(text))) {
            header = false;
            continue;
        }
        header = false;
        if (used == batch.size())
            batch.emplace_back();
        Line& line = batch[used++];
        line.status = status;
        line.lineNumber = m_reader.lineNumber();
        line.bytesRead = m_reader.bytesRead();
        if (status == CsvReader::Status::Record) {
            if (line.song.isValid())
                line.song.clear();
            else
                line.song = m_blank;
            m_assigner.fill(text, line.song, line.categories);
            if (used < size_t(kLinesPerBatch))
                continue;
        } else if (status == CsvReader::Status::ReadError) {
            line.errorCode = m_reader.errorCode();
            line.errorText = m_reader.errorText();
        }
        batch.resize(used);
        const bool last = status != CsvReader::Status::Record;
        if (!post(batch) || last)
            return;
        batch = spareBatch();
        used = 0;
    }
}

ImportReadAhead::Batch ImportReadAhead::spareBatch() {
    std::lock_guard lock(m_mutex);
    if (m_spare.empty()) {
        Batch batch;
        batch.reserve(kLinesPerBatch);
        return batch;
    }
    Batch batch = std::move(m_spare.back());
    m_spare.pop_back();
    return batch;
}

bool ImportReadAhead::post(Batch& batch) {
    std::unique_lock lock(m_mutex);
    // A few batches ahead and no more, so a big file is never held whole.
    m_changed.wait(lock, [this] { return m_stopping || m_ready.size() < size_t(kBatchesAhead); });
    if (m_stopping)
        return false;
    if (batch.back().status != CsvReader::Status::Record)
        m_ended = true;
    m_ready.push_back(std::move(batch));
    lock.unlock();
    m_changed.notify_all();
    return true;
}

ImportReadAhead::Line& ImportReadAhead::next() {
    if (m_taken >= m_taking.size()) {
        std::unique_lock lock(m_mutex);
        if (!m_taking.empty())
            m_spare.push_back(std::move(m_taking));
        m_taking.clear();
        m_taken = 0;
        m_changed.wait(lock, [this] { return !m_ready.empty() || m_ended || m_stopping; });
        if (m_ready.empty()) {
            // Past the last line, or stopped.
            m_past = Line();
            return m_past;
        }
        m_taking = std::move(m_ready.front());
        m_ready.pop_front();
        lock.unlock();
        m_changed.notify_all();
    }
    return m_taking[m_taken++];
}

}  // namespace srk
