#pragma once

#include "store/Record.h"
#include "ui/services/WindowRequest.h"

#include <QString>

class QWidget;

namespace srk {

struct ProgramContext;

// The album form as the album browser calls it.
class UpdateAlbums {
public:
    static const QString Procedure;

    // Carries out request on album: Insert (a cleared record adds, one whose album name is not blank
    // is a copy), Change, Delete (no window, confirmation first). On Completed `album` holds the
    // saved album.
    static WindowResponse run(ProgramContext& context, WindowRequest request, Record& album, QWidget* parent);
};

}  // namespace srk
