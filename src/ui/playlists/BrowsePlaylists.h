#pragma once

#include "store/Record.h"
#include "ui/services/BrowseSheet.h"
#include "ui/services/WindowRequest.h"

#include <QString>

class QMenu;
class QPushButton;

namespace srk {

struct ProgramContext;
class WindowRegistry;

// The list of playlists by description, with the buttons that run the playlist form and the
// playlist printouts, and the generator on the right-click menu.
class BrowsePlaylists : public BrowseSheet {
    Q_OBJECT
public:
    static const QString Procedure;          // "BrowsePlaylists"
    static const QString PlacementSection;   // "BrowsePlayLists"
    static const QString GeneratorProcedure; // "GeneratePlaylist"

    enum class Action { Add, Change, Delete, Print, Top40, Close, Generate };

    explicit BrowsePlaylists(ProgramContext& context, WindowRegistry* windows = nullptr, QWidget* parent = nullptr);
    ~BrowsePlaylists() override;

    static void registerWith(WindowRegistry& windows);

    QPushButton* button(Action action) const { return sheetButton(int(action)); }
    Record highlightedPlaylist() const { return highlightedRecord(); }

    // Presses a button (or a menu item) as the user would.
    void press(Action action);
    QMenu* buildPopup() override;

protected:
    void pressAction(int action) override { press(Action(action)); }
    void showTitle(const QString& entries) override;
    void updateOwnButtons(bool rows) override;

private:
    void runForm(WindowRequest request);
};

} // namespace srk
