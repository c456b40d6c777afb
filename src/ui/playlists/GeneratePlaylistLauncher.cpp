#include "ui/playlists/GeneratePlaylistLauncher.h"

namespace srk {

// The generator window is not part of the program yet; its menu entry stays greyed until it is.
void openGeneratePlaylist(ProgramContext&, QWidget*) {}

}  // namespace srk
