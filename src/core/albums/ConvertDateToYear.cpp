#include "albums/ConvertDateToYear.h"

#include "catalog/Tables.h"

namespace srk {

ConvertDateToYear::ConvertDateToYear(TableAccess& access)
    : ReleaseDateToYear(access, songsTable(), SON::ReleaseDate, kRecordsPerSlice,
                        QStringLiteral("Converting Song Dates")) {}

}  // namespace srk
