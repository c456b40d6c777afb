#include "settings/SettingsPaths.h"

#include <QDir>
#include <QFileInfo>

namespace srk {

namespace {

// XDG says relative base folders are to be ignored.
QString xdgBase(const char* variable, const QString& fallbackBelowHome) {
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return value;
    return QDir::homePath() + u'/' + fallbackBelowHome;
}

FolderResult ensureFolder(const QString& folder, const QString& what) {
    FolderResult result;
    result.path = QDir::cleanPath(QDir(folder).absolutePath());
    const QFileInfo info(result.path);
    if (info.exists() && !info.isDir()) {
        result.errorText = QStringLiteral("The %1 \"%2\" is a file, not a folder.")
                               .arg(what, QDir::toNativeSeparators(result.path));
    } else if (!info.exists() && !QDir().mkpath(result.path)) {
        result.errorText =
            QStringLiteral("Cannot create the %1 \"%2\".").arg(what, QDir::toNativeSeparators(result.path));
    }
    return result;
}

} // namespace

QString dataFolderArgument(const QStringList& arguments) {
    const QString option = QStringLiteral("--data");
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == option)
            return i + 1 < arguments.size() ? arguments[i + 1] : QString();
        if (argument.startsWith(option + u'='))
            return argument.mid(option.size() + 1);
    }
    return {};
}

FolderResult resolveDataFolder(const QString& requested) {
    QString folder = requested;
    if (folder.isEmpty())
        folder = qEnvironmentVariable("SONORIKA_DATA");
    if (folder.isEmpty())
        folder = xdgBase("XDG_DATA_HOME", QStringLiteral(".local/share")) + QStringLiteral("/sonorika");
    return ensureFolder(folder, QStringLiteral("data folder"));
}

FolderResult dataFolderFromArguments(const QStringList& arguments) {
    const QString option = QStringLiteral("--data");
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const bool given = argument == option || argument.startsWith(option + u'=');
        if (given && dataFolderArgument(arguments).trimmed().isEmpty())
            return {QString(), QStringLiteral("The data folder given with --data is empty; name a folder.")};
        if (given)
            break;
    }
    return resolveDataFolder(dataFolderArgument(arguments));
}

FolderResult resolveConfigFolder() {
    QString folder = qEnvironmentVariable("SONORIKA_CONFIG");
    if (folder.isEmpty())
        folder = xdgBase("XDG_CONFIG_HOME", QStringLiteral(".config")) + QStringLiteral("/sonorika");
    return ensureFolder(folder, QStringLiteral("settings folder"));
}

QString positionFilePath(const QString& dataFolder) {
    return QDir(dataFolder).filePath(PositionFileName);
}

QString preferencesFilePath(const QString& configFolder) {
    return QDir(configFolder).filePath(PreferencesFileName);
}

} // namespace srk
