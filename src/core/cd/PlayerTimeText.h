#pragma once

#include <QString>

namespace srk {

// A player time (hundredths of a second) as the player shows it: hours:minutes:seconds with leading
// "0" and ":" taken off one at a time while more than four characters remain, so 4:35, 0:05 and
// 1:14:30; a time of 0 (or less) shows as nothing.
QString PlayerTimeText(qint64 hundredths);

}  // namespace srk
