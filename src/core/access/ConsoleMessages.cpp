#include "access/ConsoleMessages.h"

#include <cstdio>

namespace srk {

int ConsoleMessages::ask(const Message& message) {
    const QByteArray line = (message.title + QStringLiteral(": ") + message.text).toUtf8();
    std::fprintf(stderr, "%s\n", line.constData());
    std::fflush(stderr);
    return message.defaultButton;
}

} // namespace srk
