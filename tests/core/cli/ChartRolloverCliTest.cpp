// The chart roll-over as a script runs it: a real process on a real data folder, the lines written
// beforehand and read back afterwards through a store of the test's own.

#include "access/ScriptedMessages.h"
#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "store/Store.h"
#include "store/Table.h"
#include "support/TempFolder.h"

#include <QMap>
#include <QProcess>

#include <gtest/gtest.h>

using namespace srk;

namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
};

CliRun cli(const TempFolder& data, const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(SONORIKA_CLI), QStringList{QStringLiteral("--data"), data.path()} + args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput())};
}

// Notes of a playlist by place.
QMap<qint64, QString> notes(const TempFolder& data, qint64 playlist) {
    Store store(data.path());
    ScriptedMessages messages;
    TableAccess access(store, messages);
    EXPECT_TRUE(access.openTable(playlistDetailsTable()).ok());
    QVector<Record> all;
    Table(store, playlistDetailsTable()).fetch(PLA::KeyPlaylistID, KeyAnchor::start(), true, 1000, all);
    QMap<qint64, QString> out;
    for (const Record& r : all)
        if (r.number(PLA::PlaylistID) == playlist)
            out.insert(r.number(PLA::PlaylistSeq), r.text(PLA::PlaylistNotes));
    access.closeTable(playlistDetailsTable());
    return out;
}

TEST(ChartRolloverCli, WritesEachPlaceIntoItsNoteAndSaysHowManyLines) {
    TempFolder data;
    ASSERT_EQ(cli(data, {QStringLiteral("init")}).exitCode, 0);
    {
        Store store(data.path());
        ScriptedMessages messages;
        TableAccess access(store, messages);
        ASSERT_TRUE(access.openTable(playlistDetailsTable()).ok());
        Table lines(store, playlistDetailsTable());
        for (int seq = 1; seq <= 3; ++seq) {
            Record r(playlistDetailsTable());
            r.setNumber(PLA::PlaylistID, 2);
            r.setNumber(PLA::PlaylistSeq, seq);
            r.setNumber(PLA::ID, 40 + seq);
            r.setText(PLA::PlaylistNotes, seq == 3 ? QStringLiteral("Falling LW:1") : QString());
            ASSERT_EQ(lines.add(r), NoError);
        }
        access.closeTable(playlistDetailsTable());
    }
    const CliRun run = cli(data, {QStringLiteral("chart-rollover"), QStringLiteral("2")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains(QStringLiteral("playlist 2: 3 lines"))) << run.out.toStdString();
    const QMap<qint64, QString> after = notes(data, 2);
    EXPECT_EQ(after.value(1), QStringLiteral("LW:1"));
    EXPECT_EQ(after.value(2), QStringLiteral("LW:2"));
    EXPECT_EQ(after.value(3), QStringLiteral("Falling LW:3"));

    EXPECT_NE(cli(data, {QStringLiteral("chart-rollover")}).exitCode, 0);
    EXPECT_NE(cli(data, {QStringLiteral("chart-rollover"), QStringLiteral("two")}).exitCode, 0);
}

}  // namespace
