#pragma once

#include "cd/MciInterpreter.h"

#include <QString>

namespace srk {

// Sends one media-control command to the process's "cdaudio" interpreter. A non-zero askMode sends
// "status cdaudio mode" instead. Replies are normalised: "true" gives "1", "false" gives "", error 265
// (the device is already open here) gives "Error:1", any other error "Error:<number>".
QString SendMciCommand(const QString& text, int askMode);

// The one interpreter of the process, made over the chosen drive (CdDeviceChoice).
MciInterpreter& mciInterpreter();

}  // namespace srk
