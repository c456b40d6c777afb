#pragma once

namespace srk {

class WindowRegistry;

// Registers every window a program run can open from its menu, tool bar or start-up views.
void registerProgramWindows(WindowRegistry& windows);

} // namespace srk
