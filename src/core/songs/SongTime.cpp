#include "songs/SongTime.h"

#include "text/DayNumber.h"

namespace srk {

qint64 correctedSongTime(qint64 value) {
    static const qint64 twoHours = timeValue(2, 0, 0);
    if (value <= twoHours)
        return value;
    // Divide the hundredths, not the stored form, so that 3:45 becomes exactly 3 min 45 s.
    return (value - 1) / 60 + 1;
}

} // namespace srk
