#pragma once

#include "settings/IniFile.h"
#include "settings/Preferences.h"

#include <QString>

namespace srk {

class Store;
class TableAccess;
class MessageService;

// What every window of a program run shares: the catalogue, the message service, the two settings
// files and the preferences read at start-up. Owned by Program; windows hold a reference.
struct ProgramContext {
    QString dataFolder;
    QString configFolder;
    Store* store = nullptr;
    TableAccess* access = nullptr;
    MessageService* messages = nullptr;
    IniFile positions;    // POSITION.INI in the data folder
    IniFile preferencesFile;  // SRKRO97.INI
    Preferences preferences;
    // The add-album wizards' instance number: set by the song form, read by the wizards (0 until then).
    qint64 threadInstance = 0;
};

}  // namespace srk
