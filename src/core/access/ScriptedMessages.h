#pragma once

#include "access/MessageService.h"

#include <QList>
#include <QQueue>
#include <QStringList>

#include <initializer_list>

namespace srk {

// Answers messages from a list given in advance and keeps every message it was asked, in order.
// When the list runs out it answers with each message's default button.
class ScriptedMessages : public MessageService {
public:
    ScriptedMessages() = default;
    ScriptedMessages(std::initializer_list<int> answers);

    int ask(const Message& message) override;

    void addAnswer(int button) { m_answers.enqueue(button); }
    int pendingAnswers() const { return int(m_answers.size()); }

    const QList<Message>& shown() const { return m_shown; }
    int count() const { return int(m_shown.size()); }
    // The titles shown, in order: the shortest way to assert which messages came up.
    QStringList titles() const;
    const Message& last() const { return m_shown.last(); }
    void clear();

private:
    QQueue<int> m_answers;
    QList<Message> m_shown;
};

} // namespace srk
