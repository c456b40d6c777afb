#pragma once

class QWidget;

namespace srk {

// The "Go to Page" window: a spin entry set to the current page, limited to the page count. Returns the
// page entered on "&OK" and the current page unchanged on "Cancel" (or when the window goes away).
int jumpToPage(QWidget* parent, int current, int count);

}  // namespace srk
