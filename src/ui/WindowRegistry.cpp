#include "ui/WindowRegistry.h"

namespace srk {

void WindowRegistry::registerWindow(const QString& procedure, Opener opener) {
    m_openers.insert(procedure, std::move(opener));
    registrationChanged();
}

bool WindowRegistry::open(const QString& procedure, QWidget*& window) {
    window = nullptr;
    const auto it = m_openers.constFind(procedure);
    if (it == m_openers.cend())
        return false;
    // A copy: the opener may register windows of its own meanwhile.
    const Opener opener = it.value();
    window = opener(*this);
    return true;
}

} // namespace srk
