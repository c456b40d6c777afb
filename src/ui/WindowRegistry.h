#pragma once

#include <QHash>
#include <QString>

#include <functional>

class QWidget;

namespace srk {

struct ProgramContext;

// The windows a program run can open, by procedure name. The frame keeps the registry and opens
// them; the windows register themselves and start each other through it, without knowing the frame.
class WindowRegistry {
public:
    // Opens the window of a procedure. A window returned is added to the workspace; a modal window
    // runs inside the opener and returns nullptr.
    using Opener = std::function<QWidget*(WindowRegistry& windows)>;

    virtual ~WindowRegistry() = default;

    virtual ProgramContext& context() const = 0;
    // Runs a command as if the user chose it from the menu (procedure name or a frame command).
    virtual void runCommand(const QString& command) = 0;

    void registerWindow(const QString& procedure, Opener opener);
    bool hasWindow(const QString& procedure) const { return m_openers.contains(procedure); }

protected:
    // Opens the registered window of a procedure; false when there is none.
    bool open(const QString& procedure, QWidget*& window);
    // Called after a registration, so that menus can follow.
    virtual void registrationChanged() {}

private:
    QHash<QString, Opener> m_openers;
};

} // namespace srk
