#pragma once

#include "cd/CdDrive.h"

#include <cdio/cdio.h>

namespace srk {

// Reads the table of contents of an opened libcdio source. Gives NoDisc when it has no tracks,
// NotReady when addresses are missing or out of order, DataDisc when no track is audio.
DriveState readCdioToc(CdIo_t* cdio, QVector<DiscTrack>& tracks, qint32& leadOut);

// libcdio writes its complaints about devices and images to standard error; the program reports the
// drive's state in its own words instead, so only libcdio's own failures are let through.
void quietCdioLog();

}  // namespace srk
