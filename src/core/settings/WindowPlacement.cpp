#include "settings/WindowPlacement.h"

#include "settings/IniFile.h"

#include <algorithm>

namespace srk {

namespace {
const QLatin1StringView xKey("XPosit");
const QLatin1StringView yKey("YPosit");
const QLatin1StringView widthKey("Width");
const QLatin1StringView heightKey("Height");
const QLatin1StringView maximizeKey("Maximize");
} // namespace

void savePlacement(IniFile& positions, const QString& procedureName, const WindowGeometry& restoredGeometry,
                   bool maximized, bool minimized) {
    if (minimized)
        return;
    positions.writeString(procedureName, maximizeKey,
                          maximized ? QStringLiteral("Yes") : QStringLiteral("No"));
    positions.writeInt(procedureName, xKey, restoredGeometry.x);
    positions.writeInt(procedureName, yKey, restoredGeometry.y);
    positions.writeInt(procedureName, widthKey, restoredGeometry.width);
    positions.writeInt(procedureName, heightKey, restoredGeometry.height);
}

PlacementDecision restorePlacement(const IniFile& positions, const QString& procedureName, bool resizable,
                                   bool openingMaximized) {
    PlacementDecision decision;
    // A position of 0 is what an unsaved window reads, so 0 cannot mean the screen's edge.
    const int x = positions.readInt(procedureName, xKey);
    if (x == 0)
        return decision;

    if (!openingMaximized) {
        const int y = positions.readInt(procedureName, yKey);
        if (y != 0) {
            if (resizable) {
                const int width = positions.readInt(procedureName, widthKey);
                const int height = positions.readInt(procedureName, heightKey);
                // A negative size is no size any window could have been saved with.
                if (width > 0 && height > 0) {
                    decision.move = decision.resize = true;
                    decision.width = width;
                    decision.height = height;
                }
            } else {
                decision.move = true;
            }
            if (decision.move) {
                decision.x = x;
                decision.y = y;
            }
        }
    }

    decision.setMaximized = true;
    decision.maximized = positions.readString(procedureName, maximizeKey) == QLatin1StringView("Yes");
    return decision;
}

namespace {

qint64 overlap(const WindowGeometry& a, const WindowGeometry& b) {
    const qint64 w = qint64(std::min(a.x + a.width, b.x + b.width)) - std::max(a.x, b.x);
    const qint64 h = qint64(std::min(a.y + a.height, b.y + b.height)) - std::max(a.y, b.y);
    return w > 0 && h > 0 ? w * h : 0;
}

// How far apart two rectangles are (0 when they touch or overlap), squared.
qint64 distance(const WindowGeometry& a, const WindowGeometry& b) {
    const qint64 dx =
        std::max<qint64>({0, qint64(b.x) - (qint64(a.x) + a.width), qint64(a.x) - (qint64(b.x) + b.width)});
    const qint64 dy =
        std::max<qint64>({0, qint64(b.y) - (qint64(a.y) + a.height), qint64(a.y) - (qint64(b.y) + b.height)});
    return dx * dx + dy * dy;
}

// The start that keeps [start, start + length) inside [areaStart, areaStart + areaLength).
int within(int start, int length, int areaStart, int areaLength) {
    if (start + length > areaStart + areaLength)
        start = areaStart + areaLength - length;
    return std::max(start, areaStart);
}

} // namespace

WindowGeometry keepOnAreas(const WindowGeometry& window, const QVector<WindowGeometry>& areas) {
    const WindowGeometry* best = nullptr;
    qint64 bestOverlap = 0;
    qint64 bestDistance = -1;
    for (const WindowGeometry& area : areas) {
        if (area.width <= 0 || area.height <= 0)
            continue;
        const qint64 o = overlap(window, area);
        const qint64 d = distance(window, area);
        // The most overlap wins; with none anywhere, the nearest area.
        if (!best || o > bestOverlap || (bestOverlap == 0 && o == 0 && d < bestDistance)) {
            best = &area;
            bestOverlap = o;
            bestDistance = d;
        }
    }
    if (!best)
        return window;
    WindowGeometry kept = window;
    kept.width = std::min(window.width, best->width);
    kept.height = std::min(window.height, best->height);
    kept.x = within(window.x, kept.width, best->x, best->width);
    kept.y = within(window.y, kept.height, best->y, best->height);
    return kept;
}

WindowGeometry keepFrameOnAreas(const WindowGeometry& window, const FrameMargins& frame,
                                const QVector<WindowGeometry>& areas) {
    const int across = frame.left + frame.right;
    const int down = frame.top + frame.bottom;
    const WindowGeometry outer{window.x - frame.left, window.y - frame.top, window.width + across, window.height + down};
    const WindowGeometry kept = keepOnAreas(outer, areas);
    return {kept.x + frame.left, kept.y + frame.top, std::max(0, kept.width - across), std::max(0, kept.height - down)};
}

} // namespace srk
