#include "cd/PlaybackClock.h"

#include <chrono>

namespace srk {

PlaybackClock::~PlaybackClock() = default;
int PlaybackClock::addListener(std::function<void()>) { return 0; }
void PlaybackClock::removeListener(int) {}

qint64 WallClock::nowMicroseconds() const {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void WallClock::waitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, qint64 until) {
    const qint64 wait = until - nowMicroseconds();
    if (wait > 0)
        cv.wait_for(lock, std::chrono::microseconds(wait));
}

qint64 VirtualClock::nowMicroseconds() const {
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_now;
}

// Nothing moves this clock but advanceMicroseconds(), whose listeners notify the waiter.
void VirtualClock::waitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, qint64) { cv.wait(lock); }

int VirtualClock::addListener(std::function<void()> listener) {
    std::lock_guard<std::mutex> guard(m_listenerMutex);
    m_listeners.emplace_back(m_nextId, std::move(listener));
    return m_nextId++;
}

void VirtualClock::removeListener(int id) {
    std::lock_guard<std::mutex> guard(m_listenerMutex);
    std::erase_if(m_listeners, [id](const auto& l) { return l.first == id; });
}

void VirtualClock::advanceMicroseconds(qint64 us) {
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_now += us;
    }
    std::lock_guard<std::mutex> guard(m_listenerMutex);
    for (const auto& l : m_listeners)
        l.second();
}

}  // namespace srk
