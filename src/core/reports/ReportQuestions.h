#pragma once

#include "access/MessageService.h"

#include <QString>

namespace srk {

class ReportJob;

// What the report family asks and tells the user, and what the answers make of a run.

// "Do you wish to PREVIEW this Report?" of the members without criteria window: Yes previews, No prints,
// Cancel ends the run.
enum class PreviewChoice { Preview, Print, Cancel };
PreviewChoice askPreview(MessageService& messages);

// Cancel (or Esc) during generation. "Are you sure...": No goes on as before. Yes, when previewing with
// pages made: preview those (Yes), throw all away (No) or go on one record per step (Ignore); otherwise
// throw all away.
enum class CancelChoice { GoOn, GoOnSlowly, PreviewSoFar, Discard };
CancelChoice askCancel(MessageService& messages, bool previewing, int pagesMade);
QString cancelConfirmText();
QString cancelPartialText();

// Asks as above and does what the answers say to the run: after Yes it goes on one record per step;
// PreviewSoFar ends it keeping its pages (Discard when they cannot be kept), Discard cancels it.
// `pagesMade` counts the finished pages. Returns what was done.
CancelChoice cancelReport(ReportJob& job, MessageService& messages, bool previewing, int pagesMade);

// "Nothing to Preview." or "Nothing to Print." for a run that printed no line.
void tellNothingToShow(MessageService& messages, bool previewing);

}  // namespace srk
