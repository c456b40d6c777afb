#pragma once

#include "store/Record.h"
#include "ui/services/FormMove.h"
#include "ui/services/WindowRequest.h"

class QWidget;

namespace srk {

struct ProgramContext;

// The song form as the song browsers call it.
class UpdateSong {
public:
    static const QString Procedure;

    // Carries out request on song (Insert: caller cleared the record; Change; Delete: no window,
    // confirmation first; Select (value 4) = copy of song). On Completed `song` holds the saved song.
    // When `move` is not null the form shows a FormToolBar; a tool-bar press does what OK does (check and
    // save; nothing changed = nothing written) and, when that succeeded, ends the form Completed with
    // *move set to the move. Otherwise *move is None.
    static WindowResponse run(ProgramContext& context, WindowRequest request, Record& song, QWidget* parent,
                              FormMove* move = nullptr);
};

}  // namespace srk
