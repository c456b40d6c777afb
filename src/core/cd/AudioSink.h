#pragma once

#include <QtGlobal>

namespace srk {

// Where decoded disc audio goes: 44.1 kHz, 16-bit, stereo frames (one frame = left and right sample).
// write() and waitForRoom() are called by the one thread that feeds it; the rest from any thread.
class AudioSink {
public:
    static constexpr int SampleRate = 44100;
    static constexpr int Channels = 2;

    virtual ~AudioSink();

    // Queues as many of the frames as there is room for; returns how many it took.
    virtual qint64 write(const qint16* samples, qint64 frames) = 0;
    // Blocks until `frames` fit or wake() is called.
    virtual void waitForRoom(qint64 frames) = 0;
    virtual void wake() = 0;
    // Frames heard since the last reset().
    virtual qint64 framesPlayed() const = 0;
    // Frames taken since the last reset(), heard or still queued.
    virtual qint64 framesWritten() const = 0;
    // Pausing keeps what is queued; reset() drops it and counts from zero again.
    virtual void suspend() = 0;
    virtual void resume() = 0;
    virtual void reset() = 0;
};

}  // namespace srk
