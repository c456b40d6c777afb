#pragma once

#include "jobs/Job.h"

namespace srk {

class MessageService;
class ReportJob;
class ReportPageList;

// A report's generation as the progress window drives it, with the report's own way of cancelling: the
// user is asked to confirm, and when pages were made for a preview, whether to preview those, throw them
// away or go on generating (one record at a time from then on).
class ReportCancelling : public Job {
public:
    ReportCancelling(ReportJob& job, const ReportPageList& pages, bool previewing, MessageService& messages);

    bool step() override;
    int percent() const override;
    void cancel() override;

    // The user chose to preview what was made before the end.
    bool partial() const { return m_partial; }

    static QString confirmText() { return QStringLiteral("Are you sure you want to CANCEL this Report?"); }
    static QString partialText() { return QStringLiteral("Report Cancellation Requested!\n \nPreview Report generated so far?"); }

private:
    void discard();

    ReportJob& m_job;
    const ReportPageList& m_pages;
    bool m_previewing;
    MessageService& m_messages;
    bool m_partial = false;
    bool m_asking = false;
};

}  // namespace srk
