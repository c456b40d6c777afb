#include "access/DefaultMedia.h"

#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "store/Table.h"

namespace srk {

int seedDefaultMedia(TableAccess& access) {
    TableUse use(access);
    if (!use.open(mediaTable()))
        return use.failure().code ? use.failure().code : FileNotFound;
    Store& store = access.store();
    Table media(store, mediaTable());
    Record any;
    media.setStart(-1);
    int rc = media.next(any);
    if (rc == NoError)
        return NoError;
    if (rc != RecordNotAvailable) {
        access.showStandardMessage(StdMsg::RetrievalError, mediaTable().label);
        return rc;
    }
    rc = store.logout(2000);
    if (rc) {
        access.showStandardMessage(StdMsg::FramingError, QStringLiteral("Update"), mediaTable().label);
        return rc;
    }
    // Another station starting at the same moment may have added them while this one waited.
    media.setStart(-1);
    if (media.next(any) == NoError)
        return store.rollback();
    for (const QString& name : defaultMedia()) {
        Record r(mediaTable());
        r.setText(MED::Media, name);
        rc = media.add(r);
        if (rc)
            break;
    }
    if (!rc)
        rc = store.commit();
    if (rc) {
        access.saveError();
        store.rollback();
        access.showStandardMessage(StdMsg::InsertError);
    }
    return rc;
}

} // namespace srk
