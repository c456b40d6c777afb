#pragma once

#include "cd/AudioSink.h"
#include "cd/PlaybackClock.h"

#include <QByteArray>

#include <condition_variable>
#include <memory>
#include <mutex>

namespace srk {

// A sink without a device: it "plays" its queue at the sample rate of its clock, so positions advance
// where there is no audio output. It can keep every sample it took so that a test can compare them with
// the disc; a running hash is kept always.
class NullAudioSink : public AudioSink {
public:
    // The clock must outlive the sink; a null clock means the wall clock.
    explicit NullAudioSink(std::shared_ptr<PlaybackClock> clock = nullptr, qint64 capacityFrames = SampleRate / 4);
    ~NullAudioSink() override;

    qint64 write(const qint16* samples, qint64 frames) override;
    void waitForRoom(qint64 frames) override;
    void wake() override;
    qint64 framesPlayed() const override;
    qint64 framesWritten() const override;
    void suspend() override;
    void resume() override;
    void reset() override;

    void setKeepSamples(bool keep);
    // Everything taken since the last reset() when kept (raw 16-bit little-endian stereo).
    QByteArray keptSamples() const;
    // FNV-1a over every byte ever taken, across resets.
    quint64 hash() const;

private:
    qint64 playedLocked() const;

    std::shared_ptr<PlaybackClock> m_clock;
    const qint64 m_capacity;
    int m_listener = 0;
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    qint64 m_written = 0;
    // Frames heard at m_anchor (clock time); while running, more are heard as the clock goes on.
    qint64 m_playedAtAnchor = 0;
    qint64 m_anchor = 0;
    bool m_running = true;
    bool m_woken = false;
    bool m_keep = false;
    QByteArray m_kept;
    quint64 m_hash = 1469598103934665603ULL;
};

}  // namespace srk
