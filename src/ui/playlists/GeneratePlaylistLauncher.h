#pragma once

class QWidget;

namespace srk {

struct ProgramContext;

// Opens the playlist generator over `parent` (from the playlist browser's right-click menu).
void openGeneratePlaylist(ProgramContext& context, QWidget* parent);

}  // namespace srk
