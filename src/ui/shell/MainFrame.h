#pragma once

#include "ui/WindowRegistry.h"
#include "ui/shell/FrameCommands.h"

#include <QMainWindow>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QPrinter;

namespace srk {

struct ProgramContext;
class WindowPlacer;

// The program's frame "Sonorika Pro 97": the menu bar, the tool bar and the workspace in which browses,
// wizards, reports and the player open. Entries whose window is not part of the program yet stay
// disabled; a window becomes available when its opener is registered.
class MainFrame : public QMainWindow, public WindowRegistry {
    Q_OBJECT
public:
    explicit MainFrame(ProgramContext& context, QWidget* parent = nullptr);
    ~MainFrame() override;

    ProgramContext& context() const override { return m_context; }
    QMdiArea* workspace() const { return m_workspace; }
    // The printer chosen and set up with "Print Setup": what printouts go to.
    QPrinter& printer();

    // The procedure an entry starts now, following the interface preference.
    QString procedureFor(const FrameMenuEntry& entry) const;
    // The menu action of an entry, found by its menu title path ("&Browse", "&Songs"); nullptr if none.
    QAction* menuAction(const QString& menuTitle, const QString& entryText) const;
    QList<QAction*> toolBarActions() const;

    // Runs a command as if the user chose it (procedure name or a FrameCommand).
    void runCommand(const QString& command) override;
    // Runs it later, from the event loop, as a posted menu command.
    void postCommand(const QString& command);

    QMdiSubWindow* addChild(QWidget* window);
    // Re-reads which entries can be chosen (after a preference or registration changed).
    void refreshActions();
    void setToolBarPicture(const QString& fileName);

    // The way every quit goes (a termination signal, the session ending, closing the frame while a
    // modal window is up): the open modal windows are cancelled first, innermost first, each as its own
    // Cancel would, and the frame closes once the last of them has returned from its loop.
    void requestQuit();
    bool quitRequested() const { return m_quitRequested; }

Q_SIGNALS:
    // Emitted before a chosen command runs (the splash listens to close itself).
    void commandChosen(const QString& command);
    // The frame is closing for good: its placement is saved and the children are closed.
    void closingDown();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void registrationChanged() override { refreshActions(); }
    void closeWhenModalsReturned();

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
    QPrinter* m_printer = nullptr;
    WindowPlacer* m_placer = nullptr;
    bool m_quitRequested = false;
};

}  // namespace srk
