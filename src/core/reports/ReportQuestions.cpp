#include "reports/ReportQuestions.h"

namespace srk {

PreviewChoice askPreview(MessageService& messages) {
    const int answer = messages.ask({QStringLiteral("Preview"), QStringLiteral("Do you wish to PREVIEW this Report?"),
                                     ButtonYes | ButtonNo | ButtonCancel, ButtonYes});
    return answer == ButtonYes ? PreviewChoice::Preview : answer == ButtonNo ? PreviewChoice::Print : PreviewChoice::Cancel;
}

CancelChoice askCancel(MessageService& messages, bool previewing, int pagesMade) {
    const int sure = messages.ask({QStringLiteral("Question"), QStringLiteral("Are you sure you want to CANCEL this Report?"),
                                   ButtonYes | ButtonNo, ButtonNo});
    if (sure != ButtonYes)
        return CancelChoice::GoOn;
    if (!previewing || pagesMade < 1)
        return CancelChoice::Discard;
    const int partial = messages.ask({QStringLiteral("Question"),
                                      QStringLiteral("Report Cancellation Requested!\n\nPreview Report generated so far?"),
                                      ButtonYes | ButtonNo | ButtonIgnore, ButtonNo});
    if (partial == ButtonYes)
        return CancelChoice::PreviewSoFar;
    if (partial == ButtonIgnore)
        return CancelChoice::GoOnSlowly;
    return CancelChoice::Discard;
}

void tellNothingToShow(MessageService& messages, bool previewing) {
    messages.ask({QStringLiteral("NOTE..."), previewing ? QStringLiteral("Nothing to Preview.") : QStringLiteral("Nothing to Print."),
                  ButtonOk, ButtonOk});
}

}  // namespace srk
