#pragma once

#include "jobs/Job.h"

#include <QString>

class QWidget;

namespace srk {

class MessageService;

// An exchange job that shows its own failures as they happen (with their own captions): the progress
// window drives it through this, so that a failure is not shown a second time under the window's title.
class ShownJob : public Job {
public:
    explicit ShownJob(Job& job) : m_job(job) {}
    bool step() override { return m_job.step(); }
    int percent() const override { return m_job.percent(); }
    void cancel() override {
        Job::cancel();
        m_job.cancel();
    }
    // True when the job ended on a failure it has shown.
    bool failed() const { return !m_job.errorText().isEmpty(); }

private:
    Job& m_job;
};

// The import's and the export's run: the job in its modal progress window over `owner`, with `running`
// set meanwhile (the owner refuses its buttons and its closing while it is). False when the owner was
// deleted during the run; the caller must then touch nothing of itself.
bool runShownJob(QWidget* owner, Job& job, const QString& title, const QString& textLine, MessageService& messages,
                 bool& running);

}  // namespace srk
