#pragma once

#include <QString>
#include <QVector>

namespace srk {

class IniFile;

// A window's position and size out of the maximized state, in the window system's units.
struct WindowGeometry {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const WindowGeometry&) const = default;
};

// What a window does with its saved placement when it opens, before it is shown.
struct PlacementDecision {
    bool move = false;
    int x = 0;
    int y = 0;
    bool resize = false;
    int width = 0;
    int height = 0;
    bool setMaximized = false; // when true, `maximized` is the state to take; otherwise leave it alone
    bool maximized = false;

    bool operator==(const PlacementDecision&) const = default;
};

// On closing: a minimized window writes nothing, so its earlier placement stays; any other writes
// "Maximize" ("Yes"/"No") and "XPosit", "YPosit", "Width", "Height" of `restoredGeometry` to the section
// named after its procedure, in the position file.
void savePlacement(IniFile& positions, const QString& procedureName, const WindowGeometry& restoredGeometry,
                   bool maximized, bool minimized);

// On opening. Nothing is done when "XPosit" is 0 or missing. A window not already maximized
// (`openingMaximized`) is moved only when "XPosit" and "YPosit" are both non-zero; a resizable one is moved
// and sized only when "Width" and "Height" are also both above zero, while a fixed-size window keeps its own
// size. The window is then maximized exactly when "Maximize" reads "Yes".
PlacementDecision restorePlacement(const IniFile& positions, const QString& procedureName, bool resizable,
                                   bool openingMaximized = false);

// Keeps a restored window on the areas present now (the screens, or the frame's workspace for a window
// inside it), since a saved placement may come from a screen that is gone or larger: the window goes
// into the area it overlaps most (the first area when it overlaps none), shrunk to that area when it
// is larger, and moved as little as that takes. With no areas it stays as it is.
WindowGeometry keepOnAreas(const WindowGeometry& window, const QVector<WindowGeometry>& areas);

// What the window system's frame adds around a window's own area; the title bar is in `top`.
struct FrameMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// keepOnAreas for a top-level window with its frame: the frame, title bar included, is kept on the
// area, so the bar the user moves the window by is never above or beside the screen. Takes and
// returns the window's own area.
WindowGeometry keepFrameOnAreas(const WindowGeometry& window, const FrameMargins& frame,
                                const QVector<WindowGeometry>& areas);

} // namespace srk
