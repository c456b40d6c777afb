#include "ui/playlists/GeneratePlaylistLauncher.h"

#include "ui/playlists/GeneratePlaylistWindow.h"
#include "ui/services/ModalWindows.h"

namespace srk {

void openGeneratePlaylist(ProgramContext& context, QWidget* parent) {
    ModalWindow<GeneratePlaylistWindow> window(context, parent);
    window.exec();
}

}  // namespace srk
