#pragma once

#include "exchange/ImportMapping.h"
#include "exchange/ImportValue.h"
#include "store/Record.h"

#include <QString>

namespace srk {

class CategoryMapper;

// Fills a song from one line of the file by the plan; the song should be cleared before. Returns
// NoError or the store's error when the category could not be found or made. Media "D", "C" and "B"
// are widened to the cassette names.
int assignImportLine(const QString& line, const ImportPlan& plan, CategoryMapper& categories, Record& song);

// Fields a line yields (none for a blank line).
bool lineHasFields(const QString& line);

}  // namespace srk
