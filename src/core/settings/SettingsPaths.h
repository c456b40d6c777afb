#pragma once

#include <QString>
#include <QStringList>

namespace srk {

// A folder the program needs, or why it cannot have it.
struct FolderResult {
    QString path;
    QString errorText;
    bool ok() const { return errorText.isEmpty(); }
};

// The window placement file, kept in the data folder next to the catalogue.
inline constexpr QLatin1StringView PositionFileName{"POSITION.INI"};
// The preferences file, kept in the user's configuration folder.
inline constexpr QLatin1StringView PreferencesFileName{"SRKRO97.INI"};

// The folder given by "--data DIR" or "--data=DIR" among the program's arguments (the first one is the
// program itself), or blank when there is none.
QString dataFolderArgument(const QStringList& arguments);

// The data folder: `requested` (from "--data") when not blank, else $SONORIKA_DATA, else
// $XDG_DATA_HOME/sonorika, else ~/.local/share/sonorika. It is created when missing.
FolderResult resolveDataFolder(const QString& requested = {});

// The data folder the program's arguments ask for (resolveDataFolder of "--data"). A "--data" given an
// empty name is an error, never the default folder: an unset variable in a script must not reach the
// user's real catalogue.
FolderResult dataFolderFromArguments(const QStringList& arguments);

// The folder of the preferences file: $SONORIKA_CONFIG when set (meant for tests and for keeping separate
// set-ups apart), else $XDG_CONFIG_HOME/sonorika, else ~/.config/sonorika. It is created when missing; the
// place is the same for every run, whatever the data folder.
FolderResult resolveConfigFolder();

QString positionFilePath(const QString& dataFolder);
QString preferencesFilePath(const QString& configFolder);

} // namespace srk
