#include "ui/songs/LookupWindows.h"

#include "ui/songs/BrowseCategories.h"
#include "ui/songs/BrowseMedia.h"

namespace srk {

void registerCategoryAndMediaWindows(MainFrame& frame) {
    BrowseCategories::registerWith(frame);
    BrowseMedia::registerWith(frame);
}

}  // namespace srk
