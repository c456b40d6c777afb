#pragma once

#include "catalog/BrowseThumb.h"

namespace srk {

// The thumb samples of the song orders, chosen by tab number.
class SongThumb : public BrowseThumb {
public:
    using BrowseThumb::rebuild;
    void rebuild(int order, const Record* first, const Record* last);
};

} // namespace srk
