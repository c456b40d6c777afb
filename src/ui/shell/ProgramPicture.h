#pragma once

#include <QPixmap>
#include <QSize>

namespace srk {

// Registers the program's pictures with Qt's resource system (once; later calls do nothing).
void initPictureResources();

// The resource path of the program picture shown by the about window and the splash.
inline QString programPicturePath() { return QStringLiteral(":/images/srk97.svg"); }

// The program picture drawn at `size` (logical pixels) for a screen of the given pixel ratio.
// A null pixmap when the picture cannot be read.
QPixmap programPicture(const QSize& size, qreal devicePixelRatio = 1.0);

}  // namespace srk
