#pragma once

#include <QString>

namespace srk {

// The fonts report layouts name ("Arial", "MS Sans Serif", "Small Fonts") are not installed here; each
// maps to an installed face of the same widths where there is one (fontconfig's families).
QString installedFace(const QString& layoutFace);

// Registers the mappings with QFont so that any text naming those faces finds them. Needs a
// QGuiApplication; doing it again changes nothing.
void installReportFontSubstitutions();

}  // namespace srk
