#pragma once

#include "access/TableAccess.h"
#include "store/Record.h"

namespace srk {

enum class PrimeStatus {
    Primed,    // the record was added with its number
    Failed,    // the number could not be read: the form closes
    Cancelled, // numbering kept failing and the user gave up: the form ends with response cancelled
};

// Called by an insert form before it shows. record holds the defaults the form already put in; the
// next automatic number (and for a song of an album its track) is stored into it and the record is added
// at once. On success record is the added record, position included.
PrimeStatus prime(TableAccess& access, const TableDef& def, Record& record);

// An insert form closed with response cancelled: takes the primed record away again. 0 or the error.
int cancelPrimed(TableAccess& access, const TableDef& def, const Record& primed);

// An insert form closed with OK: the edited record replaces the primed one. A duplicate key names the
// key it collides with (message 24), any other error shows message 14. Returns 0 when saved, 1 when the
// form must stay open.
int completePrimed(TableAccess& access, const TableDef& def, Record& edited);

} // namespace srk
