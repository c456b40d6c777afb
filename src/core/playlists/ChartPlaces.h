#pragma once

#include <QString>

namespace srk {

class Record;

// Last week's place as the chart roll-over tagged it in a line's note: the two characters after "LW:",
// or "--" for a line without the tag.
QString lastWeekPlace(const QString& note);

// The movement mark of a line printed at `place` that stood at `lastWeek` ("--" or blank counts as 0):
// "*" for a climb of more than ten places, "^" for a smaller climb, "=" for the same place, a blank for
// a fall or a new entry.
QString movementMark(qint64 place, const QString& lastWeek);

// One line of the chart printout.
struct ChartPlace {
    qint64 place = 0;
    QString lastWeek;
    QString mark;
    bool renumbered = false;  // the line's sequence was changed to its place and must be written back
};

// The running places of a chart printed in line order: the first line printed is place 1. A line whose
// sequence is not its place takes its place, so printing a chart closes the gaps in its running order.
// Lines come in ascending sequence, so a line only ever moves down to a number freed before it.
class ChartPlaces {
public:
    ChartPlace next(Record& line);

private:
    qint64 m_place = 0;
};

}  // namespace srk
