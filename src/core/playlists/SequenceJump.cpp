#include "playlists/SequenceJump.h"

namespace srk {

namespace {

bool startsWith(qint64 number, int digit) {
    while (number >= 10)
        number /= 10;
    return number == digit;
}

// The lowest number above n whose first digit is `digit`.
qint64 nextStartingWith(qint64 n, int digit) {
    if (startsWith(n + 1, digit))
        return n + 1;
    // The first number of that digit with more places than n + 1.
    qint64 base = digit;
    while (base <= n)
        base *= 10;
    return base;
}

}  // namespace

qint64 nextSequenceStartingWith(int digit, qint64 current, qint64 last) {
    if (digit < 1 || digit > 9 || last < digit)
        return 0;
    const qint64 next = nextStartingWith(qMax<qint64>(current, 0), digit);
    return next <= last ? next : digit;
}

}  // namespace srk
