#pragma once

class QWidget;

namespace srk {

struct ProgramContext;

// Opens "Generate Play List" as a modal window over parent and returns when it has closed.
void openGeneratePlaylist(ProgramContext& context, QWidget* parent);

}  // namespace srk
