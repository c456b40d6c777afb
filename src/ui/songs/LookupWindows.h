#pragma once

namespace srk {

class WindowRegistry;

// Makes the category and media lists available from the menu.
void registerCategoryAndMediaWindows(WindowRegistry& windows);

}  // namespace srk
