#pragma once

#include "store/Record.h"
#include "store/Store.h"

namespace srk {

// The field a table numbers by itself when a record is primed; -1 for a table without one (Media).
int autoNumberField(const TableDef& def);

// The next number for the table's automatic field, found from its key and never from a counter:
// the highest number + 1 (1 for an empty table); for playlist lines and wizard rows the highest within
// the parent taken from context (PLA:PlaylistID; AW:Instance and AW:Side) + 1. The number never passes
// the field's largest value: once there, the next record gets that value again (and a unique key
// then refuses it). Returns 0, or the read error (end of key is not an error).
int nextAutoNumber(Store& store, const TableDef& def, const Record& context, qint64& number);

// The track for a song added to an album: the album's highest track + 1, 1 for an album without songs.
// Tracks are 0-255: an album already holding track 255 gets 255 again (the key allows duplicates).
int nextTrackNumber(Store& store, qint64 albumId, qint64& track);

// The track a new song's form starts with: the next track of its album, or 0 when that would leave the
// form's own 0-99 range, so that a primed song never fails the form's check.
int nextFormTrack(Store& store, qint64 albumId, qint64& track);
constexpr qint64 kHighestFormTrack = 99;

} // namespace srk
