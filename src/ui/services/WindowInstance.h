#pragma once

class QWidget;

namespace srk {

// A number standing for the window a widget belongs to (its workspace window, else its top-level
// window), unique within the run and the same for every call from that window: the wizard rows of one
// song list stay together. 0 for no widget.
long long windowInstance(QWidget* widget);

}  // namespace srk
