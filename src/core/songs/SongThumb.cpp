#include "songs/SongThumb.h"

#include "songs/SongOrders.h"

namespace srk {

void SongThumb::rebuild(int order, const Record* first, const Record* last) {
    BrowseThumb::rebuild(songOrder(order), first, last);
}

} // namespace srk
