#pragma once

#include "jobs/JobRunner.h"

namespace srk {

class MessageService;

// Runs the long steps the core starts in the middle of a routine (a rename carried to many songs) in a
// modal progress window over the window that is active, so the frame keeps going and Cancel works.
class ProgressJobRunner : public JobRunner {
public:
    explicit ProgressJobRunner(MessageService& messages) : m_messages(messages) {}
    bool run(Job& job, const QString& title, const QString& textLine) override;

private:
    MessageService& m_messages;
};

}  // namespace srk
