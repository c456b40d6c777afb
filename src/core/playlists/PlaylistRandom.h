#pragma once

#include <QtGlobal>

#include <random>

namespace srk {

// The generator's source of chance. The program seeds it from the clock; tests give a seed so that a
// run can be repeated draw for draw.
class PlaylistRandom {
public:
    explicit PlaylistRandom(quint64 seed) : m_engine(seed) {}
    static PlaylistRandom fromClock();

    // A whole number from low to high, both included; the bounds may come in either order.
    qint64 between(qint64 low, qint64 high);
    // A choice between 1 and 2 that gives 1: the generator's "one half".
    bool halfChance() { return between(1, 2) == 1; }

private:
    std::mt19937_64 m_engine;
};

}  // namespace srk
