#pragma once

#include "access/MessageService.h"

namespace srk {

// For runs without a display: writes "title: text" to standard error and takes the default button.
class ConsoleMessages : public MessageService {
public:
    int ask(const Message& message) override;
};

} // namespace srk
