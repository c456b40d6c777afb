#pragma once

#include "access/SequenceMove.h"
#include "store/Record.h"

#include <QVector>

namespace srk {

class Store;

// Every track row of a wizard instance, in track order. Returns 0 or the read error (out then holds
// the rows read before it).
int readAddWizardRows(Store& store, qint64 instance, QVector<Record>& out);

// The wizard rows as a sequence for the arrow buttons.
SequenceTable addWizardSequence();

}  // namespace srk
