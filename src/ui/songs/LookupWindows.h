#pragma once

namespace srk {

class MainFrame;

// Makes the category and media lists available from the frame's menu.
void registerCategoryAndMediaWindows(MainFrame& frame);

}  // namespace srk
