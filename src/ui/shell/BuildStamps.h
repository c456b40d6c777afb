#pragma once

#include "text/DayNumber.h"

#include <QString>

namespace srk {

// A moment of the build, as our stored forms: a day number and a time value.
struct BuildStamp {
    qint32 dayNumber = kNoDate;
    qint32 time = kNoTime;
    bool isValid() const { return dayNumber != kNoDate && time != kNoTime; }
};

// "2024-03-09T17:05:42"; invalid when the text is not such a stamp.
BuildStamp buildStampFromIso(const QString& text);

// The compiler's date and time texts: "Mar  9 2024" (day padded with a blank) and "17:05:42".
BuildStamp buildStampFromCompiler(const char* date, const char* time);

// When the build was set up, and when this part of the program was last compiled.
BuildStamp creationStamp();
BuildStamp changeStamp();

}  // namespace srk
