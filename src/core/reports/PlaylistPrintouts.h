#pragma once

#include "reports/ReportLayout.h"
#include "reports/ReportMember.h"

namespace srk {

// What the header of a playlist printout names besides the member's own texts.
struct PrintoutTexts {
    QString title;        // "Playlist", the playlist's description (the chart) or "DJ LOG"
    QString subtitle;     // the playlist's description under the title; empty for none
    QString udkLabel;     // heading of the user-defined key column
    QString notesLabel;   // heading of the DJ log's notes column
    QString logoFile;     // an existing picture file, or empty for no logo
};

// The layout of a playlist printout: the family's columns and page number, with the date of the run (and
// the logo) in the page header, and the total time after the last line where the member has one. The
// title shares its line with the logo on the left and the date on the right, so none covers another.
ReportLayout printoutLayout(const ReportMember& member, const PrintoutTexts& texts);

// The logo picture of the chart: the preference's file, or "LOGO.GIF", a relative name taken in `folder`.
// Empty when the file is not there (the chart then prints without one).
QString printoutLogoFile(const QString& preference, const QString& folder);

}  // namespace srk
