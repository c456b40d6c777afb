#include "reports/ReportQuestions.h"

#include "reports/ReportJob.h"

namespace srk {

PreviewChoice askPreview(MessageService& messages) {
    const int answer = messages.ask({QStringLiteral("Preview"), QStringLiteral("Do you wish to PREVIEW this Report?"),
                                     ButtonYes | ButtonNo | ButtonCancel, ButtonYes});
    return answer == ButtonYes ? PreviewChoice::Preview : answer == ButtonNo ? PreviewChoice::Print : PreviewChoice::Cancel;
}

QString cancelConfirmText() { return QStringLiteral("Are you sure you want to CANCEL this Report?"); }

// Three lines, the middle one a single blank.
QString cancelPartialText() {
    return QStringLiteral("Report Cancellation Requested!\n \nPreview Report generated so far?");
}

CancelChoice askCancel(MessageService& messages, bool previewing, int pagesMade) {
    const int sure = messages.ask({QStringLiteral("Question"), cancelConfirmText(), ButtonYes | ButtonNo, ButtonNo});
    if (sure != ButtonYes)
        return CancelChoice::GoOn;
    if (!previewing || pagesMade < 1)
        return CancelChoice::Discard;
    const int partial =
        messages.ask({QStringLiteral("Question"), cancelPartialText(), ButtonYes | ButtonNo | ButtonIgnore, ButtonNo});
    if (partial == ButtonYes)
        return CancelChoice::PreviewSoFar;
    if (partial == ButtonIgnore)
        return CancelChoice::GoOnSlowly;
    return CancelChoice::Discard;
}

CancelChoice cancelReport(ReportJob& job, MessageService& messages, bool previewing, int pagesMade) {
    CancelChoice choice = askCancel(messages, previewing, pagesMade);
    if (choice == CancelChoice::GoOn)
        return choice;
    job.setRecordsPerStep(1);
    if (choice == CancelChoice::PreviewSoFar && !job.keepPartial())
        choice = CancelChoice::Discard;
    if (choice == CancelChoice::Discard)
        job.cancel();
    return choice;
}

void tellNothingToShow(MessageService& messages, bool previewing) {
    messages.ask({QStringLiteral("NOTE..."), previewing ? QStringLiteral("Nothing to Preview.") : QStringLiteral("Nothing to Print."),
                  ButtonOk, ButtonOk});
}

}  // namespace srk
