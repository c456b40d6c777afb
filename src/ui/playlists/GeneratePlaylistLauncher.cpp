#include "ui/playlists/GeneratePlaylistLauncher.h"

#include "ui/WindowRegistry.h"
#include "ui/playlists/GeneratePlaylistWindow.h"
#include "ui/services/ModalWindows.h"

namespace srk {

void openGeneratePlaylist(ProgramContext& context, QWidget* parent) {
    ModalWindow<GeneratePlaylistWindow> window(context, parent);
    window.exec();
}

void registerGeneratePlaylist(WindowRegistry& windows) {
    windows.registerWindow(QString::fromLatin1(GeneratePlaylistWindow::Procedure), [](WindowRegistry& w) -> QWidget* {
        openGeneratePlaylist(w.context(), dynamic_cast<QWidget*>(&w));
        return nullptr;
    });
}

}  // namespace srk
