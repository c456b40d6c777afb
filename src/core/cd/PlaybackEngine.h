#pragma once

#include "cd/AudioSink.h"
#include "cd/CdDrive.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace srk {

// Plays a range of a drive's audio sectors into a sink on a thread of its own. Every query answers from
// what the sink has played, so positions are what is heard. All calls are safe from any thread.
class PlaybackEngine {
public:
    static constexpr int FramesPerSector = 588;
    static constexpr int SectorBytes = 2352;
    // Sectors read at a time: a tenth of a second.
    static constexpr int ChunkSectors = 8;

    // The drive must outlive the engine.
    PlaybackEngine(CdDrive& drive, std::unique_ptr<AudioSink> sink);
    ~PlaybackEngine();

    // Plays [from, end); a play while playing starts again from `from`.
    void play(qint32 from, qint32 end);
    void pause();
    void resume();
    void stop();
    // Plays from `sector` up to the end already asked for.
    void seek(qint32 sector);

    PlayState mode() const;
    // The sector being heard now (where it stopped, when stopped).
    qint32 position() const;
    qint32 end() const;
    // True when every sector up to the end has been handed to the sink (or nothing is playing).
    bool fedToEnd() const;
    // True when the last play ended early because the disc could not be read.
    bool readFailed() const;

    AudioSink& sink() { return *m_sink; }

private:
    void run();
    void settleLocked() const;
    qint32 heardLocked() const;

    CdDrive& m_drive;
    std::unique_ptr<AudioSink> m_sink;
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    // Raised by every play, seek and stop, so a chunk read for an older request is thrown away.
    quint64 m_generation = 0;
    mutable PlayState m_mode = PlayState::Stopped;
    qint32 m_start = 0;   // the sector the sink's frame 0 belongs to
    qint32 m_next = 0;    // the next sector to read
    qint32 m_end = 0;
    mutable qint32 m_stoppedAt = 0;
    bool m_readFailed = false;
    bool m_quit = false;
    std::thread m_thread;
};

}  // namespace srk
