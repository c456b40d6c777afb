#pragma once

#include "access/ScriptedMessages.h"
#include "support/TempFolder.h"
#include "ui/shell/Program.h"

#include <QString>

#include <gtest/gtest.h>

#include <memory>

namespace srk {
class Record;
class Store;
struct ProgramContext;
} // namespace srk

namespace srk::testing {

// A started program on temporary data and settings folders, without splash or signal handling,
// answering its messages from a script. Windows are opened through its frame.
class ProgramFixture : public ::testing::Test {
protected:
    // Starts the program (call with ASSERT_NO_FATAL_FAILURE); the messages of the start are forgotten.
    void startProgram();
    // Waits for modal windows that never came, then closes the program.
    void TearDown() override;

    Store& store();
    ProgramContext& context();

    // Starting data for a test, added straight to the tables.
    void add(Record r);
    void addSong(qint64 id, const QString& artist, const QString& title, qint64 time = 0);
    void addPlaylist(qint64 id, const QString& description);
    void addLine(qint64 playlist, qint64 seq, qint64 song, const QString& note = QString());

    TempFolder data, config;
    ScriptedMessages messages;
    bool catchSignals = false;  // set before startProgram() to have SIGTERM close the program
    std::unique_ptr<Program> program;
};

} // namespace srk::testing
