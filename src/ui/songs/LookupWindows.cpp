#include "ui/songs/LookupWindows.h"

#include "ui/songs/BrowseCategories.h"
#include "ui/songs/BrowseMedia.h"

namespace srk {

void registerCategoryAndMediaWindows(WindowRegistry& windows) {
    BrowseCategories::registerWith(windows);
    BrowseMedia::registerWith(windows);
}

}  // namespace srk
