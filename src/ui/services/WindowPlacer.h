#pragma once

#include <QString>

class QWidget;

namespace srk {

class IniFile;

// Saves and restores a window's placement in the position file under its procedure name. For a
// window inside the frame's workspace the placement is that of its sub-window.
void restoreWindowPlacement(QWidget* window, const IniFile& positions, const QString& procedureName);
void saveWindowPlacement(QWidget* window, IniFile& positions, const QString& procedureName);

}  // namespace srk
