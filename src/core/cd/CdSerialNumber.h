#pragma once

#include <QString>

#include <functional>

namespace srk {

// How a media-control command is sent (SendMciCommand, or a stand-in).
using MciSender = std::function<QString(const QString& command, int askMode)>;

// The disc's serial number: the track count two wide, then the clock-time values of the disc length and
// of the first three tracks' lengths (as many as there are), cut to 24 characters.
// trackCount, when given, receives the number of tracks the drive reported.
QString CdSerialNumber(const MciSender& send, int* trackCount = nullptr);

}  // namespace srk
