#pragma once

#include <QString>

namespace srk {

// A length reply "mm:ss:ff" as a clock-time value (hundredths of a second + 1). Frames "99" count as
// one more second, other frames are dropped; 60 minutes or more become one hour.
qint32 ConvertDiscTime(const QString& reply);

// A clock-time value as five characters "mm:ss", hours folded into the minutes and a leading zero of
// the minutes blank; 0 gives five blanks.
QString FormatMinutesSeconds(qint32 time);

// A reply read as a number the way the callers test it: text that is not a whole number counts as 0.
int mciReplyNumber(const QString& reply);

}  // namespace srk
