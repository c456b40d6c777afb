#pragma once

#include <QString>

namespace srk {

// The query wizard's numbered display texts: 1-10 the operations, 31-42 its messages as caption and
// text pairs, 71-80 font names and sizes, 100-127 page buttons with their tips, 151-171 page texts,
// 200-221 the saved-query list, 230-244 the description dialog, 300-303 progress notices and the
// fixed entries of the saved-query list. Empty for a number without a text.
QString wizardText(int number);

// A message text with each "|" turned into a line break.
QString wizardMessageText(int number);

} // namespace srk
