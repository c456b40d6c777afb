#include "albums/ConvertAlbumDateToYear.h"

#include "catalog/Tables.h"

namespace srk {

ConvertAlbumDateToYear::ConvertAlbumDateToYear(TableAccess& access)
    : ReleaseDateToYear(access, albumTable(), ALB::ReleaseDate, kRecordsPerSlice,
                        QStringLiteral("Converting Album Dates")) {}

}  // namespace srk
