#pragma once

#include "ui/shell/FrameCommands.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QPrinter;

namespace srk {

struct ProgramContext;

// The program's frame "Sonorika Pro 97": the menu bar, the tool bar and the workspace in which browses,
// wizards, reports and the player open. Entries whose window is not part of the program yet stay
// disabled; a window becomes available when its opener is registered.
class MainFrame : public QMainWindow {
    Q_OBJECT
public:
    // Opens the window of a procedure. A window returned is added to the workspace; a modal window
    // runs inside the opener and returns nullptr.
    using Opener = std::function<QWidget*(MainFrame& frame)>;

    explicit MainFrame(ProgramContext& context, QWidget* parent = nullptr);
    ~MainFrame() override;

    ProgramContext& context() const { return m_context; }
    QMdiArea* workspace() const { return m_workspace; }

    void registerWindow(const QString& procedure, Opener opener);
    bool hasWindow(const QString& procedure) const { return m_openers.contains(procedure); }

    // The procedure an entry starts now, following the interface preference.
    QString procedureFor(const FrameMenuEntry& entry) const;
    // The menu action of an entry, found by its menu title path ("&Browse", "&Songs"); nullptr if none.
    QAction* menuAction(const QString& menuTitle, const QString& entryText) const;
    QList<QAction*> toolBarActions() const;

    // Runs a command as if the user chose it (procedure name or a FrameCommand).
    void runCommand(const QString& command);
    // Runs it later, from the event loop, as a posted menu command.
    void postCommand(const QString& command);

    QMdiSubWindow* addChild(QWidget* window);
    // Re-reads which entries can be chosen (after a preference or registration changed).
    void refreshActions();
    void setToolBarPicture(const QString& fileName);

Q_SIGNALS:
    // Emitted before a chosen command runs (the splash listens to close itself).
    void commandChosen(const QString& command);
    // The frame is closing for good: its placement is saved and the children are closed.
    void closingDown();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Entry {
        FrameMenuEntry entry;
        QAction* action;
    };
    void buildMenus();
    void buildToolBar();
    void choose(const FrameMenuEntry& entry);
    void editFocused(const char* slot);
    void arrangeIcons();
    void printSetup();

    ProgramContext& m_context;
    QMdiArea* m_workspace;
    QLabel* m_picture = nullptr;
    QVector<Entry> m_entries;
    QVector<Entry> m_toolEntries;
    QHash<QString, Opener> m_openers;
    QPrinter* m_printer = nullptr;
};

}  // namespace srk
