#pragma once

#include "albums/ReleaseDateToYear.h"

namespace srk {

// The songs' release dates to bare years, 25 songs per step.
class ConvertDateToYear : public ReleaseDateToYear {
public:
    static constexpr int kRecordsPerSlice = 25;
    explicit ConvertDateToYear(TableAccess& access);
};

}  // namespace srk
