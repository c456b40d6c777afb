#pragma once

#include <QtGlobal>

namespace srk {

// Typing a digit in a numbered list jumps to the lines whose number begins with it: the first such
// number after `current` (1..last), starting over at the lowest when none is left. 0 when no line's
// number begins with the digit.
qint64 nextSequenceStartingWith(int digit, qint64 current, qint64 last);

}  // namespace srk
