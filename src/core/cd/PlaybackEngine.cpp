#include "cd/PlaybackEngine.h"

#include <vector>

namespace srk {

PlaybackEngine::PlaybackEngine(CdDrive& drive, std::unique_ptr<AudioSink> sink)
    : m_drive(drive), m_sink(std::move(sink)) {
    m_thread = std::thread([this] { run(); });
}

PlaybackEngine::~PlaybackEngine() {
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_quit = true;
        ++m_generation;
        m_cv.notify_all();
    }
    m_sink->wake();
    m_thread.join();
}

void PlaybackEngine::play(qint32 from, qint32 end) {
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        ++m_generation;
        m_start = m_next = m_stoppedAt = from;
        m_end = qMax(from, end);
        m_readFailed = false;
        m_sink->reset();
        m_sink->resume();
        m_mode = from < m_end ? PlayState::Playing : PlayState::Stopped;
        m_cv.notify_all();
    }
    m_sink->wake();
}

void PlaybackEngine::seek(qint32 sector) {
    qint32 end = 0;
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        end = m_end;
    }
    play(sector, end);
}

void PlaybackEngine::pause() {
    std::lock_guard<std::mutex> guard(m_mutex);
    settleLocked();
    if (m_mode != PlayState::Playing)
        return;
    m_sink->suspend();
    m_mode = PlayState::Paused;
}

void PlaybackEngine::resume() {
    std::lock_guard<std::mutex> guard(m_mutex);
    if (m_mode != PlayState::Paused)
        return;
    m_sink->resume();
    m_mode = PlayState::Playing;
}

void PlaybackEngine::stop() {
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        settleLocked();
        if (m_mode != PlayState::Stopped)
            m_stoppedAt = heardLocked();
        ++m_generation;
        m_mode = PlayState::Stopped;
        m_next = m_end;
        m_sink->reset();
        m_start = m_stoppedAt;
    }
    m_sink->wake();
}

qint32 PlaybackEngine::heardLocked() const {
    return qMin(m_end, qint32(m_start + m_sink->framesPlayed() / FramesPerSector));
}

// Playing ends by itself once the sink has played everything up to the end.
void PlaybackEngine::settleLocked() const {
    if (m_mode == PlayState::Playing && m_next >= m_end && m_sink->framesPlayed() >= m_sink->framesWritten() &&
        m_sink->framesWritten() >= qint64(m_next - m_start) * FramesPerSector) {
        m_stoppedAt = heardLocked();
        m_mode = PlayState::Stopped;
    }
}

PlayState PlaybackEngine::mode() const {
    std::lock_guard<std::mutex> guard(m_mutex);
    settleLocked();
    return m_mode;
}

qint32 PlaybackEngine::position() const {
    std::lock_guard<std::mutex> guard(m_mutex);
    settleLocked();
    return m_mode == PlayState::Stopped ? m_stoppedAt : heardLocked();
}

qint32 PlaybackEngine::end() const {
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_end;
}

bool PlaybackEngine::fedToEnd() const {
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_mode == PlayState::Stopped || m_next >= m_end;
}

bool PlaybackEngine::readFailed() const {
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_readFailed;
}

void PlaybackEngine::run() {
    std::vector<char> buffer(std::size_t(ChunkSectors) * SectorBytes);
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_quit) {
        if (m_mode == PlayState::Stopped || m_next >= m_end) {
            m_cv.wait(lock);
            continue;
        }
        const quint64 generation = m_generation;
        const qint32 first = m_next;
        const int count = int(qMin<qint32>(ChunkSectors, m_end - first));
        lock.unlock();
        m_sink->waitForRoom(qint64(count) * FramesPerSector);
        const bool read = m_drive.readAudioSectors(first, count, buffer.data());
        lock.lock();
        if (generation != m_generation || m_quit)
            continue;
        if (!read) {
            // An unreadable stretch ends the play where the sound ends.
            m_readFailed = true;
            m_end = m_next;
            continue;
        }
        // The sink may take part of the chunk (it was woken early); the rest is read again.
        const qint64 taken = m_sink->write(reinterpret_cast<const qint16*>(buffer.data()),
                                           qint64(count) * FramesPerSector);
        if (taken % FramesPerSector != 0) {
            // Partial sectors: push the rest of the sector so the stream stays whole.
            qint64 done = taken;
            while (done % FramesPerSector != 0 && generation == m_generation && !m_quit) {
                lock.unlock();
                m_sink->waitForRoom(FramesPerSector - done % FramesPerSector);
                lock.lock();
                if (generation != m_generation || m_quit)
                    break;
                done += m_sink->write(reinterpret_cast<const qint16*>(buffer.data()) + done * 2,
                                      FramesPerSector - done % FramesPerSector);
            }
            if (generation != m_generation || m_quit)
                continue;
            m_next = first + qint32(done / FramesPerSector);
        } else {
            m_next = first + qint32(taken / FramesPerSector);
        }
    }
}

}  // namespace srk
