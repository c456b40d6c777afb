#pragma once

#include <QByteArray>
#include <QString>

namespace srk {

class ReportPageList;

// A layout that wants "page n of m" prints this marker where the total belongs; the total is known only
// when the run has ended, so it is put into the finished page files.
inline constexpr char kPageCountMarker[] = "~!@#$";

// The page count as it replaces the marker: decimal digits, left-aligned, blank-padded to five bytes.
QByteArray pageCountText(int count);

// Where the first marker stands in a page's bytes, -1 when it has none: its writer tells the page list,
// so that the pages without one need not be opened again when the count is put in.
qint32 pageCountMarkerOffset(const QByteArray& pageBytes);

// Replaces the first marker of one page file in place, reading it in 256-byte windows whose start
// advances by 245 bytes (so a marker across a window edge is still found) and writing back only the
// window that held it. `from` is an offset before which the file is known to hold no marker: the windows
// that end before it are not read. False when the file has no marker or cannot be opened.
bool replacePageCountMarker(const QString& path, int count, qint64 from = 0);

// Does the above, once, for every page of the list that holds a marker, with the list's page count:
// pages whose writer said they have none are not opened, and a replaced page is noted as done.
// Returns the pages changed.
int replacePageCountMarkers(ReportPageList& pages);

}  // namespace srk
