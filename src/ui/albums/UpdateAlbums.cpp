#include "ui/albums/UpdateAlbums.h"

#include "access/Priming.h"
#include "access/RecordRoutines.h"
#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "albums/NewAlbum.h"
#include "catalog/Tables.h"
#include "ui/ProgramContext.h"
#include "ui/albums/AlbumForm.h"
#include "ui/services/ModalWindows.h"

namespace srk {

const QString UpdateAlbums::Procedure = QStringLiteral("UpdateAlbums");

WindowResponse UpdateAlbums::run(ProgramContext& context, WindowRequest request, Record& album, QWidget* parent) {
    if (!album.isValid())
        album = Record(albumTable());
    TableAccess& access = *context.access;
    if (request == WindowRequest::Delete) {
        if (!confirmDelete(access))
            return WindowResponse::Cancelled;
        return deleteWithRetry(access, albumTable(), album) == RoutineResult::Done ? WindowResponse::Completed
                                                                                  : WindowResponse::Cancelled;
    }
    if (request != WindowRequest::Insert && request != WindowRequest::Change)
        return WindowResponse::Cancelled;

    // The form's tables stay open while it is up.
    TableUse use(access);
    for (const TableDef* def : {&albumTable(), &songsTable(), &categoriesTable(), &mediaTable()})
        if (!use.open(*def))
            return WindowResponse::Cancelled;

    const Record asCalled = album;
    Record record = album;
    if (request == WindowRequest::Insert && primeAlbum(access, record) != PrimeStatus::Primed)
        return WindowResponse::Cancelled;

    ModalWindow<AlbumForm> form(context, request, record, request == WindowRequest::Change ? asCalled : record,
                                parent);
    const ModalResult result = form.exec();
    if (result.gone && request == WindowRequest::Insert)
        // Deleted with its owner before it could cancel itself: the primed album goes all the same.
        cancelPrimed(access, albumTable(), record);
    if (!result.accepted())
        return WindowResponse::Cancelled;
    album = form->record();
    return WindowResponse::Completed;
}

}  // namespace srk
