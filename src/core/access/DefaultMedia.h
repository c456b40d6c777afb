#pragma once

#include "access/TableAccess.h"

namespace srk {

// When the media table is empty, fills it with the twelve media a new catalogue starts with, in order.
// Returns 0 (also when there was something already), or the error that stopped it (shown as message 14;
// nothing is added then).
int seedDefaultMedia(TableAccess& access);

} // namespace srk
