#pragma once

#include "access/Priming.h"
#include "store/Record.h"

namespace srk {

class TableAccess;

// Primes a new song before its form shows: media "CD", the next song number and the next track after
// the songs of its album (songs without an album count as album 0), added at once.
PrimeStatus primeSong(TableAccess& access, Record& song);

// Saves the edited new song over its primed record. A duplicate names the key "Unique Song ID"
// (message 24), any other error gives message 14. False: the form stays open.
bool saveNewSong(TableAccess& access, Record& song);

} // namespace srk
