#pragma once

#include "reports/PageFile.h"
#include "settings/Preferences.h"

namespace srk {

// A report's custom font (as the font dialog gives it and section "Fonts" keeps it) as the page files
// name fonts. Style: the weight in the low bits, 0x1000 italic, 0x2000 underline, 0x4000 strike-out.
PageFont pageFontOf(const ReportFont& font);

// Nothing was ever chosen: no typeface and no size.
bool isBlankFont(const ReportFont& font);

}  // namespace srk
