#pragma once

#include "access/Priming.h"
#include "store/Record.h"

namespace srk {

class TableAccess;

// The album an insert starts from: a copy (an album whose name is not blank) is named
// "<name> - Copy" and loses its disc identifier, since the copy is not that disc.
Record albumToPrime(const Record& album);

// Primes a new album or a copy before its form shows: the next album number, added at once
// (three failed adds ask message 25; a read error shows message 35 for "Album").
PrimeStatus primeAlbum(TableAccess& access, Record& album);

} // namespace srk
