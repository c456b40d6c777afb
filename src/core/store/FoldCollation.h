#pragma once

#include <QString>

struct sqlite3;

namespace srk {

// Key text comparison: letter case ignored for every letter (accented ones too), trailing blanks ignored.
// Works on UTF-8 as stored by the engine.
int compareFolded(const char* a, int lengthA, const char* b, int lengthB);
int compareFolded(const QString& a, const QString& b);

// Registers the comparison as collation "SRK" on a connection; every key text column uses it.
bool registerFoldCollation(sqlite3* db);

}  // namespace srk
