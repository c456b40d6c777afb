#pragma once

#include "cd/AudioSink.h"

#include <QIODevice>
#include <QPointer>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

class QAudioSink;

namespace srk {

// Disc audio through the system's audio output. The playback thread writes into a ring of its own; the
// audio output pulls from it on the GUI thread and never waits there (it gets silence when the ring is
// empty or paused). When the output fails, the sink goes on as a null sink on the wall clock, so
// positions still advance and nothing waits for a device that is gone.
class QtAudioSink : public AudioSink {
public:
    // capacityFrames: how much may be queued ahead of what is heard.
    explicit QtAudioSink(qint64 capacityFrames = SampleRate / 2);
    ~QtAudioSink() override;

    qint64 write(const qint16* samples, qint64 frames) override;
    void waitForRoom(qint64 frames) override;
    void wake() override;
    qint64 framesPlayed() const override;
    qint64 framesWritten() const override;
    void suspend() override;
    void resume() override;
    void reset() override;

    // True once the output failed (or never started) and the wall clock stands in for it.
    bool failed() const;
    // Takes the output's failure as if it had happened now.
    void failNow();

    // True when the system has an audio output; the sink factory is set only then.
    static bool outputAvailable();
    // Makes the program's disc sinks play through the audio output when there is one (on the GUI
    // thread; elsewhere the null sink stays). False when there is no output, or a factory was set before.
    static bool install();

private:
    class Source;
    qint64 pull(char* data, qint64 bytes);
    qint64 playedLocked() const;
    void failLocked();

    const qint64 m_capacity;
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    std::vector<qint16> m_ring;
    qint64 m_readAt = 0;    // frames pulled by the output (heard) since reset
    qint64 m_written = 0;   // frames taken since reset
    bool m_running = true;
    bool m_woken = false;
    bool m_failed = false;
    // After a failure: frames counted as heard at the anchor; while running more follow the wall clock.
    qint64 m_failedPlayed = 0;
    std::chrono::steady_clock::time_point m_anchor;
    Source* m_source = nullptr;
    QPointer<QAudioSink> m_output;
};

}  // namespace srk
