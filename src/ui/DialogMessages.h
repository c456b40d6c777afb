#pragma once

#include "access/MessageService.h"

class QWidget;

namespace srk {

// The message service of the desktop program: a modal message box with the message's caption, text,
// buttons and default button.
class DialogMessages : public MessageService {
public:
    explicit DialogMessages(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    int ask(const Message& message) override;

private:
    QWidget* m_parent;
};

}  // namespace srk
