#pragma once

class QWidget;

namespace srk {

struct ProgramContext;
class WindowRegistry;

// Opens "Generate Play List" as a modal window over parent and returns when it has closed.
void openGeneratePlaylist(ProgramContext& context, QWidget* parent);

// Makes the generator a window of the program under its procedure name, so that the windows that
// offer it (the playlist browser's right-click menu) find it there.
void registerGeneratePlaylist(WindowRegistry& windows);

}  // namespace srk
