#pragma once

#include <QString>

namespace srk {

// The version text written to the preferences at every start and shown by the splash.
inline QString programVersion() { return QStringLiteral("1.8d"); }

// The first-start album question is asked while the version that ran last, read as a number, is
// below this. It lies above every version of the program, so the question comes whenever the album
// table is empty and the song table is not.
constexpr double kAlbumQuestionThreshold = 99.9;

}  // namespace srk
