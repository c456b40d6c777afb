#include "playlists/PlaylistRandom.h"

#include <QCoreApplication>
#include <QDateTime>

#include <utility>

namespace srk {

PlaylistRandom PlaylistRandom::fromClock() {
    // Two runs in the same millisecond (scripts) still differ by their process.
    const quint64 now = quint64(QDateTime::currentMSecsSinceEpoch());
    const quint64 process = quint64(QCoreApplication::applicationPid());
    return PlaylistRandom(now ^ (process << 32) ^ process);
}

qint64 PlaylistRandom::between(qint64 low, qint64 high) {
    if (high < low)
        std::swap(low, high);
    std::uniform_int_distribution<qint64> pick(low, high);
    return pick(m_engine);
}

}  // namespace srk
