#pragma once

#include "jobs/Job.h"

namespace srk {

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

}  // namespace srk
