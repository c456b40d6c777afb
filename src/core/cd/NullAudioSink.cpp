#include "cd/NullAudioSink.h"

namespace srk {

AudioSink::~AudioSink() = default;

NullAudioSink::NullAudioSink(std::shared_ptr<PlaybackClock> clock, qint64 capacityFrames)
    : m_clock(clock ? std::move(clock) : std::make_shared<WallClock>()), m_capacity(capacityFrames) {
    m_anchor = m_clock->nowMicroseconds();
    m_listener = m_clock->addListener([this] {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_cv.notify_all();
    });
}

NullAudioSink::~NullAudioSink() { m_clock->removeListener(m_listener); }

qint64 NullAudioSink::playedLocked() const {
    if (!m_running)
        return m_playedAtAnchor;
    const qint64 elapsed = m_clock->nowMicroseconds() - m_anchor;
    return qMin(m_written, m_playedAtAnchor + elapsed * SampleRate / 1000000);
}

qint64 NullAudioSink::write(const qint16* samples, qint64 frames) {
    std::lock_guard<std::mutex> guard(m_mutex);
    const qint64 played = playedLocked();
    // After running dry the clock went on without sound: what comes now is heard from now on.
    if (m_running && played == m_written) {
        m_playedAtAnchor = played;
        m_anchor = m_clock->nowMicroseconds();
    }
    const qint64 taken = qBound<qint64>(0, m_capacity - (m_written - played), frames);
    const auto* bytes = reinterpret_cast<const unsigned char*>(samples);
    const qint64 size = taken * Channels * 2;
    for (qint64 i = 0; i < size; ++i)
        m_hash = (m_hash ^ bytes[i]) * 1099511628211ULL;
    if (m_keep)
        m_kept.append(reinterpret_cast<const char*>(samples), size);
    m_written += taken;
    return taken;
}

void NullAudioSink::waitForRoom(qint64 frames) {
    std::unique_lock<std::mutex> lock(m_mutex);
    frames = qMin(frames, m_capacity);
    while (!m_woken) {
        const qint64 queued = m_written - playedLocked();
        if (m_capacity - queued >= frames)
            break;
        if (!m_running) {
            m_cv.wait(lock);
            continue;
        }
        // When the queue will have drained far enough at the sample rate.
        const qint64 missing = frames - (m_capacity - queued);
        m_clock->waitUntil(lock, m_cv, m_clock->nowMicroseconds() + (missing * 1000000 + SampleRate - 1) / SampleRate);
    }
    m_woken = false;
}

void NullAudioSink::wake() {
    std::lock_guard<std::mutex> guard(m_mutex);
    m_woken = true;
    m_cv.notify_all();
}

qint64 NullAudioSink::framesPlayed() const {
    std::lock_guard<std::mutex> guard(m_mutex);
    return playedLocked();
}

qint64 NullAudioSink::framesWritten() const {
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_written;
}

void NullAudioSink::suspend() {
    std::lock_guard<std::mutex> guard(m_mutex);
    m_playedAtAnchor = playedLocked();
    m_running = false;
}

void NullAudioSink::resume() {
    std::lock_guard<std::mutex> guard(m_mutex);
    if (m_running)
        return;
    m_running = true;
    m_anchor = m_clock->nowMicroseconds();
    m_cv.notify_all();
}

void NullAudioSink::reset() {
    std::lock_guard<std::mutex> guard(m_mutex);
    m_written = 0;
    m_playedAtAnchor = 0;
    m_anchor = m_clock->nowMicroseconds();
    m_kept.clear();
    m_cv.notify_all();
}

void NullAudioSink::setKeepSamples(bool keep) {
    std::lock_guard<std::mutex> guard(m_mutex);
    m_keep = keep;
}

QByteArray NullAudioSink::keptSamples() const {
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_kept;
}

quint64 NullAudioSink::hash() const {
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_hash;
}

}  // namespace srk
