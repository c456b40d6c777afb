#pragma once

#include "store/Record.h"

#include <QString>
#include <QVector>

namespace srk {

class TableAccess;

// A table whose records are ordered by a number within a parent: the key's leading components are
// the parent (wizard instance and side, playlist), its last component the order number.
struct SequenceTable {
    const TableDef* def = nullptr;
    int key = 0;
    // Fields named in the error message, with their values from the moved record.
    QVector<int> namedFields;
};

enum class SequenceMove { UpOne, ToTop, DownOne, ToBottom };

// Moves the record one place or to the end of its parent's sequence by renumbering: it is parked
// under a free number, the neighbours take the freed numbers in turn, and it takes the last one freed.
// Only order numbers change and gaps stay where they were. The writes are streamed and flushed once.
// A record error is shown ("Record swap error: ", with the step) and the move goes on. record is
// updated to its new number; false when there was nothing to move it past. A limit above 0 stops a
// move to the top or bottom after passing that many records (an insert after a given place).
bool moveInSequence(TableAccess& access, const SequenceTable& table, Record& record, SequenceMove move,
                    int limit = 0);

// The text of the record error shown during a move.
QString sequenceMoveErrorText(const SequenceTable& table, const Record& record, const QString& errorText,
                              const QString& step);

}  // namespace srk
