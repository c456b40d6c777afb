#pragma once

#include "cd/CdDrive.h"

#include <QStringList>

#include <memory>

namespace srk {

// Which drive "cdaudio" means in this process: the "--cd-device PATH" option, else the preference
// "CDDevice", else libcdio's default drive. A path ending in .cue, .toc or .nrg is a disc image.
void setCdDeviceOption(const QString& path);
void setCdDevicePreference(const QString& path);
// Blank means the default drive.
QString chosenCdDevice();

// Takes "--cd-device PATH" or "--cd-device=PATH" out of a program's arguments into the option. False,
// with a reason, when it is given no path.
bool takeCdDeviceArgument(QStringList& arguments, QString& errorText);

// An image drive for an image path, else a real drive.
std::unique_ptr<CdDrive> makeCdDrive(const QString& path);

}  // namespace srk
