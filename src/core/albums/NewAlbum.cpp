#include "albums/NewAlbum.h"

#include "access/TableAccess.h"
#include "catalog/Tables.h"

namespace srk {

namespace {

QString clipped(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isSpace())
        --end;
    return text.left(end);
}

} // namespace

Record albumToPrime(const Record& album) {
    Record primed = album.isValid() ? album : Record(albumTable());
    const QString name = clipped(primed.text(ALB::Album));
    if (!name.isEmpty()) {
        primed.setText(ALB::Album, name + QStringLiteral(" - Copy"));
        primed.setText(ALB::CDIdentifier, QString());
    }
    return primed;
}

PrimeStatus primeAlbum(TableAccess& access, Record& album) {
    Record primed = albumToPrime(album);
    const PrimeStatus status = prime(access, albumTable(), primed);
    if (status == PrimeStatus::Primed)
        album = primed;
    return status;
}

} // namespace srk
