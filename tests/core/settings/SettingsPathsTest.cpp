#include "settings/SettingsPaths.h"
#include "core/settings/IniTestFiles.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace srk;
using namespace Qt::StringLiterals;

namespace {

// Sets or clears an environment variable for one test and puts the old value back afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QString& value) : m_name(name) {
        m_wasSet = qEnvironmentVariableIsSet(name);
        m_old = qgetenv(name);
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value.toLocal8Bit());
    }
    ~ScopedEnv() {
        if (m_wasSet)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    QByteArray m_old;
    bool m_wasSet = false;
};

} // namespace

TEST(DataFolder, ArgumentWinsOverEnvironmentAndIsCreated) {
    TempFolder temp;
    ScopedEnv data("SONORIKA_DATA", temp.file(u"from-env"_s));
    const FolderResult result = resolveDataFolder(temp.file(u"from-arg/deeper"_s));
    ASSERT_TRUE(result.ok()) << result.errorText.toStdString();
    EXPECT_EQ(result.path, temp.file(u"from-arg/deeper"_s));
    EXPECT_TRUE(QFileInfo(result.path).isDir());
    EXPECT_FALSE(QFileInfo::exists(temp.file(u"from-env"_s)));
}

TEST(DataFolder, EnvironmentThenXdgThenHome) {
    TempFolder temp;
    ScopedEnv home("HOME", temp.file(u"home"_s));
    {
        ScopedEnv data("SONORIKA_DATA", temp.file(u"env"_s));
        EXPECT_EQ(resolveDataFolder().path, temp.file(u"env"_s));
    }
    ScopedEnv data("SONORIKA_DATA", QString());
    {
        ScopedEnv xdg("XDG_DATA_HOME", temp.file(u"xdg"_s));
        EXPECT_EQ(resolveDataFolder().path, temp.file(u"xdg/sonorika"_s));
    }
    {
        ScopedEnv xdg("XDG_DATA_HOME", u"relative/is/ignored"_s);
        EXPECT_EQ(resolveDataFolder().path, temp.file(u"home/.local/share/sonorika"_s));
    }
    ScopedEnv xdg("XDG_DATA_HOME", QString());
    const FolderResult result = resolveDataFolder();
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(result.path, temp.file(u"home/.local/share/sonorika"_s));
    EXPECT_TRUE(QFileInfo(result.path).isDir());
}

TEST(DataFolder, RelativeArgumentBecomesAbsolute) {
    TempFolder temp;
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(temp.path()));
    const FolderResult result = resolveDataFolder(u"catalogue/../music"_s);
    QDir::setCurrent(before);
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(result.path, temp.file(u"music"_s));
}

TEST(DataFolder, FolderThatCannotBeHadIsReported) {
    TempFolder temp;
    writeRaw(temp.file(u"plain"_s), "x");
    const FolderResult isFile = resolveDataFolder(temp.file(u"plain"_s));
    EXPECT_FALSE(isFile.ok());
    EXPECT_TRUE(isFile.errorText.contains(u"plain"_s));
    const FolderResult below = resolveDataFolder(temp.file(u"plain/sub"_s));
    EXPECT_FALSE(below.ok());
    EXPECT_FALSE(below.errorText.isEmpty());
}

TEST(DataFolder, ArgumentParsing) {
    EXPECT_EQ(dataFolderArgument({u"sonorika"_s, u"--data"_s, u"/music"_s}), u"/music"_s);
    EXPECT_EQ(dataFolderArgument({u"sonorika"_s, u"-x"_s, u"--data=/music two"_s}), u"/music two"_s);
    EXPECT_EQ(dataFolderArgument({u"sonorika"_s, u"--data"_s}), QString());
    EXPECT_EQ(dataFolderArgument({u"sonorika"_s, u"--database"_s, u"/x"_s}), QString());
    EXPECT_EQ(dataFolderArgument({u"--data"_s, u"/x"_s}), QString()); // that is the program's own name
    EXPECT_EQ(dataFolderArgument({}), QString());
}

TEST(DataFolder, AnEmptyDataArgumentIsAnErrorNeverTheDefaultFolder) {
    TempFolder temp;
    for (const QStringList& args : {QStringList{u"sonorika"_s, u"--data"_s, QString()}, QStringList{u"sonorika"_s, u"--data="_s},
                                    QStringList{u"sonorika"_s, u"--data"_s, u"  "_s}, QStringList{u"sonorika"_s, u"--data"_s}}) {
        const FolderResult r = dataFolderFromArguments(args);
        EXPECT_FALSE(r.ok()) << args.join(u'|').toStdString();
        EXPECT_TRUE(r.path.isEmpty());
        EXPECT_TRUE(r.errorText.contains(u"--data"_s));
    }
    const FolderResult given = dataFolderFromArguments({u"sonorika"_s, u"--data"_s, temp.file(u"music"_s)});
    ASSERT_TRUE(given.ok());
    EXPECT_EQ(given.path, temp.file(u"music"_s));
}

TEST(DataFolder, PreferencesFileLivesInTheConfigFolderPositionsInTheDataFolder) {
    TempFolder temp;
    ScopedEnv home("HOME", temp.file(u"home"_s));
    {
        ScopedEnv config("SONORIKA_CONFIG", temp.file(u"cfg"_s));
        const FolderResult result = resolveConfigFolder();
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(preferencesFilePath(result.path), temp.file(u"cfg/SRKRO97.INI"_s));
        EXPECT_TRUE(QFileInfo(result.path).isDir());
    }
    ScopedEnv config("SONORIKA_CONFIG", QString());
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", temp.file(u"xdgc"_s));
        EXPECT_EQ(resolveConfigFolder().path, temp.file(u"xdgc/sonorika"_s));
    }
    ScopedEnv xdg("XDG_CONFIG_HOME", QString());
    // The same place whatever data folder is in use.
    ScopedEnv data("SONORIKA_DATA", temp.file(u"data"_s));
    EXPECT_EQ(resolveConfigFolder().path, temp.file(u"home/.config/sonorika"_s));
    EXPECT_EQ(positionFilePath(resolveDataFolder().path), temp.file(u"data/POSITION.INI"_s));
}
