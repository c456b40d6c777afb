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

// Replaces the first marker of one page file in place, reading it in 256-byte windows whose start
// advances by 245 bytes (so a marker across a window edge is still found) and writing back only the
// window that held it. False when the file has no marker or cannot be opened.
bool replacePageCountMarker(const QString& path, int count);

// Does the above for every page of the list with the list's page count; returns the pages changed.
int replacePageCountMarkers(const ReportPageList& pages);

}  // namespace srk
