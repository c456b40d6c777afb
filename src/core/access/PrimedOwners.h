#pragma once

#include "store/Record.h"

#include <QString>

namespace srk {

class Store;
class TableAccess;
struct TableDef;

// A process on some machine. The process id alone is reused, so its start time (since boot) and the
// boot itself are part of who it is.
struct ProcessIdentity {
    QString host;
    QString boot;
    qint64 pid = 0;
    qint64 started = 0;
};

ProcessIdentity currentProcess();
// True while the process runs. A process of another machine cannot be seen from here and is taken to
// be running, so its primed records are never touched.
bool isRunning(const ProcessIdentity& process);

// Primed records carry their owner outside the record layout, in a side table of the store's anchor
// file, together with the change counter they were added with: a record rewritten since (completed by
// its form) no longer matches and is never taken for a leftover.
int registerPrimed(Store& store, const TableDef& def, const Record& primed);
// The form ended (saved or cancelled): the record is no longer primed.
void forgetPrimed(Store& store, const TableDef& def, const Record& primed);

// Run at start-up: removes the primed records whose owner process is gone and that are still as they
// were primed, each with its owner entry in one frame. Never touches those of a running process.
// Returns the number of records removed; a table that cannot be framed now is left for the next start.
int removeOrphanedPrimes(TableAccess& access);

// How many primed records the side table lists (for checks and tests).
int primedCount(Store& store);

}  // namespace srk
