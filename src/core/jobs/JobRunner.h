#pragma once

#include "jobs/Job.h"

#include <QString>

namespace srk {

// Drives a job that a routine of the core starts in the middle of its work. The program shows it in a
// progress window (so the frame keeps going and Cancel works); without a runner the job simply runs to
// its end.
class JobRunner {
public:
    virtual ~JobRunner() = default;
    // Runs job until it ends; true when it completed (not cancelled, no error).
    virtual bool run(Job& job, const QString& title, const QString& textLine) = 0;
};

// The driver without a window: slice after slice until the job ends.
inline bool runToEnd(Job& job) {
    while (job.step()) {
    }
    return !job.cancelled() && job.errorText().isEmpty();
}

}  // namespace srk
