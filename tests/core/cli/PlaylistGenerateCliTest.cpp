// playlist-generate as a script runs it: real process, real data folder, the files read back after.

#include "catalog/Tables.h"
#include "store/Store.h"
#include "store/Table.h"
#include "support/TempFolder.h"

#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace srk;

namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

CliRun cli(const QString& folder, const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(SONORIKA_CLI), QStringList{QStringLiteral("--data"), folder} + args);
    EXPECT_TRUE(p.waitForFinished(120000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// The number of the playlist a run reports having made (0 when it reports none).
qint64 reportedPlaylist(const CliRun& run) {
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("^playlist (\\d+) ")).match(run.out);
    return m.hasMatch() ? m.captured(1).toLongLong() : 0;
}

// The lines of a playlist as song numbers in sequence order, read from the files.
QList<qint64> playlistSongs(const QString& folder, qint64 playlist) {
    Store store(folder);
    EXPECT_TRUE(store.connect());
    EXPECT_EQ(store.openFile(playlistDetailsTable()), NoError);
    Table table(store, playlistDetailsTable());
    table.setStart(PLA::KeyPlaylistID);
    QList<qint64> ids;
    Record r;
    qint64 expectedSeq = 1;
    while (table.next(r) == NoError) {
        if (r.number(PLA::PlaylistID) != playlist)
            continue;
        EXPECT_EQ(r.number(PLA::PlaylistSeq), expectedSeq++);
        ids << r.number(PLA::ID);
    }
    return ids;
}

class PlaylistGenerateCli : public ::testing::Test {
protected:
    void SetUp() override {
        for (const TempFolder* f : {&a, &b})
            ASSERT_EQ(cli(f->path(), {QStringLiteral("generate"), QStringLiteral("--songs"), QStringLiteral("300"),
                                      QStringLiteral("--albums"), QStringLiteral("20")})
                          .exitCode,
                      0);
    }
    TempFolder a, b;
};

TEST_F(PlaylistGenerateCli, AddsThePlaylistAndSaysWhatItDid) {
    const QStringList args{QStringLiteral("playlist-generate"), QStringLiteral("--size"), QStringLiteral("25"),
                           QStringLiteral("--weighting"), QStringLiteral("recent addition"), QStringLiteral("--seed"),
                           QStringLiteral("11")};
    const CliRun run = cli(a.path(), args);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // The made-up catalogue holds playlist 1 already.
    EXPECT_TRUE(run.out.contains(QRegularExpression(
        QStringLiteral("^playlist 2 \"Play List #2\": 25 of 25 songs added in \\d+ draws"))))
        << run.out.toStdString();
    const QList<qint64> songs = playlistSongs(a.path(), 2);
    EXPECT_EQ(songs.size(), 25);
    // The same seed on the same catalogue draws the same songs.
    const CliRun again = cli(b.path(), args);
    ASSERT_EQ(again.exitCode, 0);
    EXPECT_EQ(playlistSongs(b.path(), reportedPlaylist(again)), songs);
}

TEST_F(PlaylistGenerateCli, AnEmptyDateRangeLeavesAnEmptyPlaylist) {
    // The made-up catalogue has no songs released in 1901.
    const CliRun run = cli(a.path(), {QStringLiteral("playlist-generate"), QStringLiteral("--size"), QStringLiteral("5"),
                                   QStringLiteral("--from"), QStringLiteral("01/01/1901"), QStringLiteral("--to"),
                                   QStringLiteral("12/31/1901")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral(": 0 of 5 songs added in 1001 draws"))) << run.out.toStdString();
    ASSERT_EQ(reportedPlaylist(run), 2);
    EXPECT_TRUE(playlistSongs(a.path(), 2).isEmpty());
}

TEST_F(PlaylistGenerateCli, BadArgumentsAreRefusedAndChangeNothing) {
    const QList<QStringList> bad{
        {QStringLiteral("playlist-generate")},
        {QStringLiteral("playlist-generate"), QStringLiteral("--size"), QStringLiteral("100")},
        {QStringLiteral("playlist-generate"), QStringLiteral("--size"), QStringLiteral("3"), QStringLiteral("--from"),
         QStringLiteral("13/45/2000")},
        {QStringLiteral("playlist-generate"), QStringLiteral("--size"), QStringLiteral("3"),
         QStringLiteral("--weighting"), QStringLiteral("Heavy")},
        {QStringLiteral("playlist-generate"), QStringLiteral("--size"), QStringLiteral("3"), QStringLiteral("--colour")},
    };
    for (const QStringList& args : bad) {
        const CliRun run = cli(a.path(), args);
        EXPECT_EQ(run.exitCode, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(run.err.isEmpty());
    }
    const CliRun unknown = cli(a.path(), {QStringLiteral("playlist-generate"), QStringLiteral("--size"),
                                       QStringLiteral("3"), QStringLiteral("--category"), QStringLiteral("No Such")});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("there is no category 'No Such'")));
    // Only the made-up catalogue's own playlist is there.
    Store store(a.path());
    ASSERT_TRUE(store.connect());
    ASSERT_EQ(store.openFile(playlistMasterTable()), NoError);
    EXPECT_EQ(Table(store, playlistMasterTable()).records(), 1);
}

}  // namespace
