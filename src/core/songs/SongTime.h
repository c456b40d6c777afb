#pragma once

#include <QtGlobal>

namespace srk {

// A song time typed as minutes and seconds is read as hours and minutes ("3:45" is 3 h 45 min). No song
// runs past two hours, so a time above 2:00:00 is taken as minutes:seconds and divided by 60; the
// stored form (hundredths + 1) is kept. Other times come back as they are.
qint64 correctedSongTime(qint64 timeValue);

} // namespace srk
