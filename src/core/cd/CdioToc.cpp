#include "cd/CdioToc.h"

#include <cdio/logging.h>

namespace srk {

DriveState readCdioToc(CdIo_t* cdio, QVector<DiscTrack>& tracks, qint32& leadOut) {
    tracks.clear();
    leadOut = 0;
    const track_t first = cdio_get_first_track_num(cdio);
    const track_t count = cdio_get_num_tracks(cdio);
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0)
        return DriveState::NoDisc;
    const lsn_t end = cdio_get_track_lsn(cdio, CDIO_CDROM_LEADOUT_TRACK);
    if (end == CDIO_INVALID_LSN)
        return DriveState::NotReady;
    bool anyAudio = false;
    for (int n = first; n < first + count; ++n) {
        DiscTrack t;
        t.number = n;
        t.start = cdio_get_track_lsn(cdio, track_t(n));
        if (t.start == CDIO_INVALID_LSN)
            return DriveState::NotReady;
        t.audio = cdio_get_track_format(cdio, track_t(n)) == TRACK_FORMAT_AUDIO;
        anyAudio = anyAudio || t.audio;
        tracks.append(t);
    }
    for (int i = 0; i < tracks.size(); ++i) {
        const qint32 next = i + 1 < tracks.size() ? tracks[i + 1].start : end;
        tracks[i].frames = next - tracks[i].start;
        if (tracks[i].frames <= 0) {
            tracks.clear();
            return DriveState::NotReady;
        }
    }
    leadOut = end;
    return anyAudio ? DriveState::AudioDisc : DriveState::DataDisc;
}

namespace {
cdio_log_handler_t libraryHandler = nullptr;

void quietHandler(cdio_log_level_t level, const char* message) {
    if (level >= CDIO_LOG_ASSERT && libraryHandler)
        libraryHandler(level, message);
}
}  // namespace

void quietCdioLog() {
    static const bool installed = [] {
        libraryHandler = cdio_log_set_handler(&quietHandler);
        return true;
    }();
    (void)installed;
}

}  // namespace srk
