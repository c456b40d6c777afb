// The album maintenance commands as a user's script runs them: real process, real data folder, the
// files read back with a connection of the test's own.

#include "store/FoldCollation.h"
#include "support/TempFolder.h"

#include <QHash>
#include <QProcess>
#include <QRegularExpression>

#include <sqlite3.h>

#include <gtest/gtest.h>

namespace {

struct CliOutput {
    int exitCode = -1;
    QString out;
    QString err;
};

CliOutput cliIn(const TempFolder& data, const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(SONORIKA_CLI), QStringList{QStringLiteral("--data"), data.path()} + args);
    EXPECT_TRUE(p.waitForFinished(120000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

class File {
public:
    explicit File(const QString& path) {
        sqlite3_open(path.toUtf8().constData(), &m_db);
        srk::registerFoldCollation(m_db);
    }
    ~File() { sqlite3_close(m_db); }
    int exec(const char* sql) { return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); }
    qint64 count(const char* sql) { return pairs(sql).value(0, -1); }
    // First column to second column, for every row of a query.
    QHash<qint64, qint64> pairs(const char* sql) {
        QHash<qint64, qint64> out;
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &stmt, nullptr) == SQLITE_OK)
            while (sqlite3_step(stmt) == SQLITE_ROW)
                out.insert(sqlite3_column_count(stmt) > 1 ? sqlite3_column_int64(stmt, 0) : 0,
                           sqlite3_column_int64(stmt, sqlite3_column_count(stmt) > 1 ? 1 : 0));
        sqlite3_finalize(stmt);
        return out;
    }

private:
    sqlite3* m_db = nullptr;
};

TEST(AlbumMaintenanceCli, TestAlbumLinksRestoresBrokenLinksAndNumbersSongsWithoutId) {
    TempFolder data;
    ASSERT_EQ(cliIn(data, {QStringLiteral("generate"), QStringLiteral("--songs"), QStringLiteral("2000"),
                           QStringLiteral("--albums"), QStringLiteral("150"), QStringLiteral("--seed"),
                           QStringLiteral("5")})
                  .exitCode,
              0);
    const QString songsPath = data.file(QStringLiteral("srkdata.sdb"));
    QHash<qint64, qint64> linked;
    {
        File songs(songsPath);
        linked = songs.pairs("SELECT rowid, AlbumID FROM records");
        ASSERT_EQ(linked.size(), 2000);
        // Unlinked songs, songs pointing at an album that does not exist, songs without a number.
        ASSERT_EQ(songs.exec("UPDATE records SET AlbumID = 0 WHERE rowid <= 10"), SQLITE_OK);
        ASSERT_EQ(songs.exec("UPDATE records SET AlbumID = 99999 WHERE rowid > 10 AND rowid <= 20"), SQLITE_OK);
        ASSERT_EQ(songs.exec("UPDATE records SET ID = 0 WHERE rowid IN (30, 31)"), SQLITE_OK);
    }
    const qint64 highest = File(songsPath).count("SELECT max(ID) FROM records");

    const CliOutput run = cliIn(data, {QStringLiteral("test-album-links")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("2000 songs read, 20 relinked, 0 unlinked, 2 ids given in ")))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QRegularExpression(QStringLiteral("\\(\\d+ songs/s\\)")))) << run.out.toStdString();

    File songs(songsPath);
    EXPECT_EQ(songs.pairs("SELECT rowid, AlbumID FROM records"), linked);
    EXPECT_EQ(songs.count("SELECT count(*) FROM records WHERE ID = 0"), 0);
    const QHash<qint64, qint64> given = songs.pairs("SELECT rowid, ID FROM records WHERE rowid IN (30, 31)");
    EXPECT_EQ(QSet<qint64>(given.cbegin(), given.cend()), (QSet<qint64>{highest + 2, highest + 3}));

    const CliOutput again = cliIn(data, {QStringLiteral("test-album-links")});
    EXPECT_TRUE(again.out.startsWith(QStringLiteral("2000 songs read, 0 relinked, 0 unlinked, 0 ids given")))
        << again.out.toStdString();
    const CliOutput check = cliIn(data, {QStringLiteral("check")});
    EXPECT_EQ(check.exitCode, 0) << check.out.toStdString();
}

TEST(AlbumMaintenanceCli, ConvertDatesToYearLeavesOnlyYearsAndChangesNothingTheSecondTime) {
    TempFolder data;
    ASSERT_EQ(cliIn(data, {QStringLiteral("generate"), QStringLiteral("--songs"), QStringLiteral("1500"),
                           QStringLiteral("--albums"), QStringLiteral("120"), QStringLiteral("--seed"),
                           QStringLiteral("3")})
                  .exitCode,
              0);
    const QString songsPath = data.file(QStringLiteral("srkdata.sdb"));
    const QString albumsPath = data.file(QStringLiteral("srkalbum.sdb"));
    // A bare year and no date among the generated full dates.
    {
        File songs(songsPath);
        ASSERT_EQ(songs.exec("UPDATE records SET ReleaseDate = 1985 WHERE rowid = 1"), SQLITE_OK);
        ASSERT_EQ(songs.exec("UPDATE records SET ReleaseDate = 0 WHERE rowid = 2"), SQLITE_OK);
    }
    const qint64 fullSongs = File(songsPath).count("SELECT count(*) FROM records WHERE ReleaseDate >= 3000");
    const qint64 fullAlbums = File(albumsPath).count("SELECT count(*) FROM records WHERE ReleaseDate >= 3000");
    ASSERT_GT(fullSongs, 0);
    ASSERT_GT(fullAlbums, 0);

    const CliOutput run = cliIn(data, {QStringLiteral("convert-dates-to-year")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("1500 songs read, %1 dates converted; 120 albums read, %2 dates "
                                                  "converted in ")
                                       .arg(fullSongs)
                                       .arg(fullAlbums)))
        << run.out.toStdString();
    EXPECT_EQ(File(songsPath).count("SELECT count(*) FROM records WHERE ReleaseDate >= 3000"), 0);
    EXPECT_EQ(File(albumsPath).count("SELECT count(*) FROM records WHERE ReleaseDate >= 3000"), 0);
    EXPECT_EQ(File(songsPath).count("SELECT ReleaseDate FROM records WHERE rowid = 1"), 1985);
    EXPECT_EQ(File(songsPath).count("SELECT ReleaseDate FROM records WHERE rowid = 2"), 0);

    const CliOutput again = cliIn(data, {QStringLiteral("convert-dates-to-year")});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_TRUE(again.out.startsWith(
        QStringLiteral("1500 songs read, 0 dates converted; 120 albums read, 0 dates converted in ")))
        << again.out.toStdString();
    EXPECT_EQ(cliIn(data, {QStringLiteral("check")}).exitCode, 0);
}

TEST(AlbumMaintenanceCli, MaintenanceCommandsTakeNoArguments) {
    TempFolder data;
    for (const QString& command : {QStringLiteral("test-album-links"), QStringLiteral("convert-dates-to-year")}) {
        const CliOutput run = cliIn(data, {command, QStringLiteral("now")});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains(command + QStringLiteral(" takes no arguments"))) << run.err.toStdString();
    }
}

}  // namespace
