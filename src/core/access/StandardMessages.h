#pragma once

#include "access/MessageService.h"

namespace srk {

// The numbered standard messages through which record errors and the usual questions are shown.
// text1 is mostly a table label, key or field name, text2 a second text where a message needs one,
// errorText the composed error ("text (code)"). errorCode decides between the two texts of message 15
// (89 gives the changed-by-another-station text); errorFile is the file named by message 36.
// An unknown number gives a message with an empty title.
Message standardMessage(int number, const QString& text1, const QString& text2, const QString& errorText,
                        int errorCode = 0, const QString& errorFile = QString());

// The text the program stops with after a message that ends it: 1, 3, 4, 5 after OK, 2 when answered
// No, 30 ("Disk Error"). Empty for messages that do not end the program.
QString standardMessageStopText(int number);

} // namespace srk
