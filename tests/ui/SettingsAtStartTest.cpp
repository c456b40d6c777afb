// A settings file far too large to be one: the program says so, starts on the defaults and leaves the
// file as it was.

#include "access/ScriptedMessages.h"
#include "settings/IniFile.h"
#include "settings/SettingsPaths.h"
#include "support/TempFolder.h"
#include "ui/shell/Program.h"
#include "ui/ProgramContext.h"
#include "ui/support/ModalWindows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <memory>

using namespace srk;

namespace {

QByteArray oversized(const QByteArray& head) {
    QByteArray bytes = head;
    const QByteArray filler = "; " + QByteArray(500, 'z') + "\n";
    while (bytes.size() <= IniFile::kMaxFileSize)
        bytes += filler;
    return bytes;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(SettingsAtStart, AnOversizedSettingsFileIsReportedAndNeverOverwritten) {
    TempFolder data, config;
    const QString preferences = preferencesFilePath(config.path());
    const QString positions = positionFilePath(data.path());
    const QByteArray bigPreferences = oversized("[Settings]\nUDKPrompt=Label\nSU_Songs=1\n");
    const QByteArray bigPositions = oversized("[Main]\nXPosit=10\n");
    ASSERT_TRUE(writeFile(preferences, bigPreferences));
    ASSERT_TRUE(writeFile(positions, bigPositions));

    ScriptedMessages messages;
    Program::Options o;
    o.dataFolder = data.path();
    o.configFolder = config.path();
    o.messages = &messages;
    o.showSplash = false;
    o.catchSignals = false;
    auto program = std::make_unique<Program>(o);
    ASSERT_TRUE(program->start()) << program->stopText().toStdString();

    // Both files are named in a message of their own; the preferences are the defaults.
    QStringList named;
    for (const Message& m : messages.shown()) {
        if (m.title != QStringLiteral("Settings Not Read"))
            continue;
        EXPECT_TRUE(m.text.contains(QStringLiteral("too large"))) << m.text.toStdString();
        for (const QString& path : {preferences, positions})
            if (m.text.contains(QDir::toNativeSeparators(path)))
                named << path;
    }
    EXPECT_EQ(named, (QStringList{positions, preferences}));
    EXPECT_EQ(program->context().preferences.UDKPrompt, QStringLiteral("Custom"));

    program.reset();
    srk::testing::finishModalWaits();
    // Closing wrote window places and the run's version; none of it went over the user's files.
    EXPECT_EQ(readFile(preferences), bigPreferences);
    EXPECT_EQ(readFile(positions), bigPositions);
}
