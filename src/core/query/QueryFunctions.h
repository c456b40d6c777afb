#pragma once

struct sqlite3;

namespace srk {

// Registers the SQL functions filters may translate to on a connection:
//   srk_instr(needle, haystack) - position of needle in haystack without regard to letter case
//   (accented letters too), in characters from 1; 0 when absent, 1 for an empty needle.
bool registerQueryFunctions(sqlite3* db);

}  // namespace srk
