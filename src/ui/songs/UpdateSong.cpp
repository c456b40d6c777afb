#include "ui/songs/UpdateSong.h"

#include "ui/songs/SongForm.h"

namespace srk {

const QString UpdateSong::Procedure = QStringLiteral("UpdateSong");

WindowResponse UpdateSong::run(ProgramContext& context, WindowRequest request, Record& song, QWidget* parent,
                               FormMove* move) {
    return SongForm::run(context, SongForm::Variant::UpdateSong, request, song, nullptr, parent, move);
}

}  // namespace srk
