#pragma once

#include "albums/ReleaseDateToYear.h"

namespace srk {

// The albums' release dates to bare years, 1000 albums per step.
class ConvertAlbumDateToYear : public ReleaseDateToYear {
public:
    static constexpr int kRecordsPerSlice = 1000;
    explicit ConvertAlbumDateToYear(TableAccess& access);
};

}  // namespace srk
