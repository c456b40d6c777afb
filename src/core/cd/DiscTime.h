#pragma once

#include <QString>

namespace srk {

// A clock-time value (hundredths of a second + 1, 0 for none) as five characters of minutes and
// seconds, hours folded into the minutes ("74:30", " 4:35"); five blanks for 0.
QString FormatMinutesSeconds(qint64 time);

}  // namespace srk
