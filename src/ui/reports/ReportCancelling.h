#pragma once

#include "jobs/Job.h"

namespace srk {

class MessageService;
class ReportJob;
class ReportPageList;

// A report's generation as the progress window drives it, cancelled the report's own way (the questions
// and what their answers do are cancelReport's); nothing is generated while a question is up, and a
// quit drops the run without asking.
class ReportCancelling : public Job {
public:
    ReportCancelling(ReportJob& job, const ReportPageList& pages, bool previewing, MessageService& messages);

    bool step() override;
    int percent() const override;
    void cancel() override;

    // The user chose to preview what was made before the end.
    bool partial() const { return m_partial; }

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
