#include "ui/reports/ReportCancelling.h"

#include "access/MessageService.h"
#include "reports/ReportJob.h"
#include "reports/ReportPageList.h"
#include "reports/ReportQuestions.h"
#include "ui/services/ModalWindows.h"

#include <QThread>

namespace srk {

ReportCancelling::ReportCancelling(ReportJob& job, const ReportPageList& pages, bool previewing, MessageService& messages)
    : m_job(job), m_pages(pages), m_previewing(previewing), m_messages(messages) {}

bool ReportCancelling::step() {
    // Nothing is generated while the user is being asked.
    if (m_asking) {
        QThread::msleep(5);
        return true;
    }
    const bool more = m_job.step();
    if (!more && !m_job.errorText().isEmpty() && errorText().isEmpty())
        fail(m_job.errorText());
    return more;
}

int ReportCancelling::percent() const { return m_job.percent(); }

void ReportCancelling::discard() {
    Job::cancel();
    m_job.cancel();
}

void ReportCancelling::cancel() {
    if (m_job.outcome() != ReportJob::Outcome::Running)
        return;
    // A quit asks nothing: the run is dropped.
    if (ModalWindows::instance().cancelling()) {
        discard();
        return;
    }
    m_asking = true;
    const CancelChoice choice = cancelReport(m_job, m_messages, m_previewing, m_pages.count());
    m_asking = false;
    m_partial = choice == CancelChoice::PreviewSoFar;
    if (choice == CancelChoice::Discard)
        Job::cancel();
}

}  // namespace srk
