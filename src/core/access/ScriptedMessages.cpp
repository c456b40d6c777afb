#include "access/ScriptedMessages.h"

#include <QStringList>

namespace srk {

ScriptedMessages::ScriptedMessages(std::initializer_list<int> answers) {
    for (int a : answers)
        m_answers.enqueue(a);
}

int ScriptedMessages::ask(const Message& message) {
    m_shown.append(message);
    if (m_answers.isEmpty())
        return message.defaultButton;
    return m_answers.dequeue();
}

QStringList ScriptedMessages::titles() const {
    QStringList out;
    for (const Message& m : m_shown)
        out << m.title;
    return out;
}

void ScriptedMessages::clear() {
    m_answers.clear();
    m_shown.clear();
}

} // namespace srk
