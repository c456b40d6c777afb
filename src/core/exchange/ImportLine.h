#pragma once

#include "exchange/ImportMapping.h"
#include "store/Record.h"

#include <QString>

namespace srk {

class CategoryMapper;

// The numeric value of a text: its leading number (sign, digits, decimals), 0 when it has none.
double leadingNumber(const QString& text);

// The picture step: a column whose picture is neither text nor number is read through it (a date into
// its day number, a time into its time value); other columns keep their text.
QString throughPicture(const QString& text, const QString& picture);

// Fills a song from one line of the file by the plan; the song should be cleared before. Returns
// NoError or the store's error when the category could not be found or made. Media "D", "C" and "B"
// are widened to the cassette names.
int assignImportLine(const QString& line, const ImportPlan& plan, CategoryMapper& categories, Record& song);

// Fields a line yields (none for a blank line).
bool lineHasFields(const QString& line);

}  // namespace srk
