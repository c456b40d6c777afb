#pragma once

#include "settings/WindowPlacement.h"

#include <QRect>

class QWidget;

namespace srk {

// The window system's frame around a top-level window, as far as it is known: its own once it has
// been shown and decorated, else that of `decorated` (a window the same window manager has framed),
// else none.
FrameMargins frameMarginsOf(const QWidget* window, const QWidget* decorated = nullptr);

// Gives a top-level window the geometry `wanted` (its own area, without the frame), moved and shrunk as
// little as it takes for the whole frame, title bar included, to lie on a screen; never smaller than
// what its controls need.
void placeOnScreens(QWidget* window, const QRect& wanted, const QWidget* decorated = nullptr);

}  // namespace srk
