#pragma once

#include <QtGlobal>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

namespace srk {

// The time a null sink plays against: the wall clock, or a virtual one a test moves on by hand.
class PlaybackClock {
public:
    virtual ~PlaybackClock();
    virtual qint64 nowMicroseconds() const = 0;
    // Waits on `cv` until the clock reaches `until` (or a notify); a virtual clock notifies when moved.
    virtual void waitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, qint64 until) = 0;
    // Called after every move of a virtual clock; the wall clock never calls them.
    virtual int addListener(std::function<void()> listener);
    virtual void removeListener(int id);
};

class WallClock : public PlaybackClock {
public:
    qint64 nowMicroseconds() const override;
    void waitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, qint64 until) override;
};

class VirtualClock : public PlaybackClock {
public:
    qint64 nowMicroseconds() const override;
    void waitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, qint64 until) override;
    int addListener(std::function<void()> listener) override;
    void removeListener(int id) override;
    void advanceMicroseconds(qint64 us);

private:
    mutable std::mutex m_mutex;
    qint64 m_now = 0;
    // Held while listeners run, so one removed (its sink destroyed) is never called afterwards.
    std::mutex m_listenerMutex;
    int m_nextId = 1;
    std::vector<std::pair<int, std::function<void()>>> m_listeners;
};

}  // namespace srk
