#pragma once

#include "reports/ReportLayout.h"
#include "reports/ReportMember.h"

namespace srk {

// The layout of a catalogue report member: title and headings on top, the member's columns as the
// detail band, the run date and page number at the foot (the page number on top in the paper savers).
// Columns without a place of their own share their line's width by their pictures' widths, so columns
// never overlap; texts are clipped to their column.
ReportLayout memberLayout(const ReportMember& member, const QString& title, const QString& udkLabel);

}  // namespace srk
