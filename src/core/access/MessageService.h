#pragma once

#include <QString>

namespace srk {

// Buttons of a message, as bit values; a message's buttons are an OR of them and ask() returns one.
enum MessageButton { ButtonOk = 1, ButtonYes = 2, ButtonNo = 4, ButtonAbort = 8, ButtonRetry = 16, ButtonCancel = 64 };

// One message to show: title, text, the buttons offered and the one taken when the user just confirms.
struct Message {
    QString title;
    QString text;
    int buttons = ButtonOk;
    int defaultButton = ButtonOk;
};

// How the core asks the user something. The UI shows a message box, tests answer from a script, the
// command-line tool prints and takes the default.
class MessageService {
public:
    virtual ~MessageService();
    // Shows the message and returns the button pressed.
    virtual int ask(const Message& message) = 0;
};

} // namespace srk
