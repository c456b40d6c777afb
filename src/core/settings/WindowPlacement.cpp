#include "settings/WindowPlacement.h"

#include "settings/IniFile.h"

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

} // namespace srk
