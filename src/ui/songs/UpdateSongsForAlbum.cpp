#include "ui/songs/UpdateSongsForAlbum.h"

#include "ui/songs/SongForm.h"

namespace srk {

const QString UpdateSongsForAlbum::Procedure = QStringLiteral("UpdateSongsForAlbum");

WindowResponse UpdateSongsForAlbum::run(ProgramContext& context, WindowRequest request, Record& song,
                                        const Record& album, QWidget* parent, FormMove* move) {
    return SongForm::run(context, SongForm::Variant::ForAlbum, request, song, &album, parent, move);
}

}  // namespace srk
