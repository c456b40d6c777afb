#pragma once

#include <QString>

namespace srk {

// A line's note after a chart roll-over: an "LW:" tag already in it loses the five characters from
// there (the tag and up to two digits), then " LW:" and the line's place are appended to the note
// without its trailing blanks; the result is left-justified and cut to the note's 40 characters.
QString chartNote(const QString& note, qint64 place);

}  // namespace srk
