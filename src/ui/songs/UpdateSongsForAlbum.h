#pragma once

#include "store/Record.h"
#include "ui/services/FormMove.h"
#include "ui/services/WindowRequest.h"

class QWidget;

namespace srk {

struct ProgramContext;

// The song form as the album form calls it: no add mode, no copy, no album defaults; media is typed
// (and still checked); a new song starts from the calling album.
class UpdateSongsForAlbum {
public:
    static const QString Procedure;

    static WindowResponse run(ProgramContext& context, WindowRequest request, Record& song, const Record& album,
                              QWidget* parent, FormMove* move = nullptr);
};

}  // namespace srk
