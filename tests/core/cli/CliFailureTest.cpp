// sonorika-cli when things go wrong: a run that fails keeps nothing, a stopped run says why, `check`
// finds what is broken. Real processes on a real data folder.

#include "catalog/Tables.h"
#include "store/FoldCollation.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include <sqlite3.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

struct CliResult {
    int exitCode = -1;
    QString out;
    QString err;
};

CliResult cli(const QStringList& args, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(SONORIKA_CLI), args);
    EXPECT_TRUE(p.waitForFinished(120000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

CliResult inFolder(const TempFolder& data, QStringList args) {
    args.prepend(data.path());
    args.prepend(QStringLiteral("--data"));
    return cli(args);
}

CliResult generate(const TempFolder& data, int songs, int albums) {
    return inFolder(data, {QStringLiteral("generate"), QStringLiteral("--songs"), QString::number(songs),
                           QStringLiteral("--albums"), QString::number(albums), QStringLiteral("--seed"),
                           QStringLiteral("11")});
}

// A connection of the test's own on one table file, as another program would have.
class FileConnection {
public:
    explicit FileConnection(const QString& path) {
        sqlite3_open(path.toUtf8().constData(), &m_db);
        srk::registerFoldCollation(m_db);
    }
    ~FileConnection() { sqlite3_close(m_db); }
    int exec(const char* sql) { return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); }
    qint64 count(const char* sql) {
        sqlite3_stmt* stmt = nullptr;
        qint64 n = -1;
        if (sqlite3_prepare_v2(m_db, sql, -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
            n = sqlite3_column_int64(stmt, 0);
        sqlite3_finalize(stmt);
        return n;
    }

private:
    sqlite3* m_db = nullptr;
};

// The file refuses every new record, as an unwritable file would (the tests may run with rights that
// ignore a read-only mode bit).
void refuseInserts(const QString& path) {
    FileConnection file(path);
    ASSERT_EQ(file.exec("CREATE TRIGGER refuse BEFORE INSERT ON records BEGIN SELECT RAISE(ABORT, "
                        "'attempt to write a readonly database'); END"),
              SQLITE_OK);
}

void expectCheckClean(const TempFolder& data) {
    const CliResult check = inFolder(data, {QStringLiteral("check")});
    EXPECT_EQ(check.exitCode, 0) << check.out.toStdString();
    EXPECT_TRUE(check.out.contains(QStringLiteral("no problems found"))) << check.out.toStdString();
}

TEST(CliFailure, SecondGenerateOnAGeneratedFolderFailsAndLeavesNoDanglingSongs) {
    TempFolder data;
    ASSERT_EQ(generate(data, 400, 30).exitCode, 0);
    // Same seed: the first album's name and artist exist already, after its songs were written.
    const CliResult again = generate(data, 400, 30);
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.err.contains(QStringLiteral("generation stopped"))) << again.err.toStdString();
    FileConnection songs(data.file(QStringLiteral("srkdata.sdb")));
    EXPECT_EQ(songs.count("SELECT count(*) FROM records"), 400);
    EXPECT_EQ(songs.count("SELECT count(*) FROM records WHERE AlbumID > 30"), 0);
    FileConnection albums(data.file(QStringLiteral("srkalbum.sdb")));
    EXPECT_EQ(albums.count("SELECT count(*) FROM records"), 30);
    expectCheckClean(data);
}

TEST(CliFailure, GenerateIntoAnUnwritableAlbumOrPlaylistFileKeepsNothing) {
    for (const QString& file : {QStringLiteral("srkalbum.sdb"), QStringLiteral("srkplist.sdb")}) {
        TempFolder data;
        ASSERT_EQ(inFolder(data, {QStringLiteral("init")}).exitCode, 0);
        refuseInserts(data.file(file));
        const CliResult run = generate(data, 300, 20);
        EXPECT_EQ(run.exitCode, 1) << file.toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("readonly"))) << run.err.toStdString();
        FileConnection songs(data.file(QStringLiteral("srkdata.sdb")));
        EXPECT_EQ(songs.count("SELECT count(*) FROM records"), 0) << file.toStdString();
        // The keys a bulk load drops are back.
        EXPECT_EQ(songs.count("SELECT count(*) FROM sqlite_master WHERE type='index'"), srk::songsTable().keys.size());
        expectCheckClean(data);
    }
}

TEST(CliFailure, CopyToAlbumWithAnUnwritableAlbumFileStopsWithTheCauseAndLinksNothing) {
    TempFolder data;
    // Singles only: no song has an album yet.
    ASSERT_EQ(generate(data, 1500, 0).exitCode, 0);
    refuseInserts(data.file(QStringLiteral("srkalbum.sdb")));
    const CliResult run = inFolder(data, {QStringLiteral("copy-to-album")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("copy-to-album stopped: ") +
                                 QDir::toNativeSeparators(data.file(QStringLiteral("srkalbum.sdb")))))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("readonly"))) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains(QStringLiteral("cancelled")));
    EXPECT_TRUE(run.out.contains(QStringLiteral(", 0 linked, 0 albums made"))) << run.out.toStdString();
    FileConnection songs(data.file(QStringLiteral("srkdata.sdb")));
    EXPECT_EQ(songs.count("SELECT count(*) FROM records WHERE AlbumID <> 0"), 0);
    expectCheckClean(data);
}

TEST(CliFailure, CopyToAlbumStoppedByAnotherProgramsLockNamesTheFileAndTheLock) {
    TempFolder data;
    ASSERT_EQ(generate(data, 200, 0).exitCode, 0);
    FileConnection holder(data.file(QStringLiteral("srkalbum.sdb")));
    ASSERT_EQ(holder.exec("BEGIN IMMEDIATE"), SQLITE_OK);
    const CliResult run = inFolder(data, {QStringLiteral("copy-to-album")});
    holder.exec("ROLLBACK");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("copy-to-album stopped: ") +
                                 QDir::toNativeSeparators(data.file(QStringLiteral("srkalbum.sdb")))))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("holds its lock (File Is Already Locked (32))"))) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains(QStringLiteral("cancelled")));
    expectCheckClean(data);
}

// Runs the tool without the rights that ignore file modes: as "nobody" when the tests run as root.
CliResult cliWithoutPrivileges(const TempFolder& data, const QStringList& args) {
    QStringList all{QStringLiteral("--data"), data.path()};
    all << args;
    if (geteuid() != 0)
        return cli(all);
    QProcess p;
    all.prepend(QStringLiteral(SONORIKA_CLI));
    all = QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups")} + all;
    p.start(QStringLiteral("setpriv"), all);
    EXPECT_TRUE(p.waitForFinished(120000)) << "setpriv is needed to run this test as root";
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

void setMode(const QString& path, QFileDevice::Permissions permissions) {
    ASSERT_TRUE(QFile::setPermissions(path, permissions)) << path.toStdString();
}

TEST(CliFailure, CopyToAlbumInAReadOnlyFolderOrOnAReadOnlyFileNamesTheRealCause) {
    using P = QFileDevice::Permission;
    const auto readable = P::ReadOwner | P::ReadGroup | P::ReadOther;
    const auto everyone = readable | P::WriteOwner | P::WriteGroup | P::WriteOther;
    TempFolder data;
    ASSERT_EQ(generate(data, 300, 0).exitCode, 0);
    const QStringList files = QDir(data.path()).entryList(QDir::Files);
    const QString album = data.file(QStringLiteral("srkalbum.sdb"));

    // Files anyone may write, in a folder only its owner may change: no journal can be made.
    setMode(data.path(), readable | P::ExeOwner | P::ExeGroup | P::ExeOther | P::WriteOwner);
    for (const QString& f : files)
        setMode(data.file(f), everyone);
    CliResult run = cliWithoutPrivileges(data, {QStringLiteral("copy-to-album")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("copy-to-album stopped: %1: the folder %2 is read-only")
                                     .arg(QDir::toNativeSeparators(album), QDir::toNativeSeparators(data.path()))))
        << run.err.toStdString();

    // A folder anyone may change, an album file nobody but its owner may write.
    setMode(data.path(), everyone | P::ExeOwner | P::ExeGroup | P::ExeOther);
    setMode(album, readable | P::WriteOwner);
    run = cliWithoutPrivileges(data, {QStringLiteral("copy-to-album")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(
        QStringLiteral("copy-to-album stopped: %1: the file is read-only").arg(QDir::toNativeSeparators(album))))
        << run.err.toStdString();
    EXPECT_FALSE(run.err.contains(QStringLiteral("cancelled")));
    expectCheckClean(data);
}

TEST(CliFailure, CheckNamesADamagedAnchorFileAndCountsBrokenLinks) {
    TempFolder data;
    ASSERT_EQ(generate(data, 600, 40).exitCode, 0);
    qint64 orphanedSongs = 0, orphanedLines = 0, strayLines = 0;
    {
        FileConnection albums(data.file(QStringLiteral("srkalbum.sdb")));
        FileConnection songs(data.file(QStringLiteral("srkdata.sdb")));
        FileConnection lines(data.file(QStringLiteral("srkpldet.sdb")));
        ASSERT_EQ(albums.exec("DELETE FROM records WHERE AlbumID IN (3, 7)"), SQLITE_OK);
        const qint64 song = lines.count("SELECT ID FROM records ORDER BY _row LIMIT 1");
        orphanedLines = lines.count(QStringLiteral("SELECT count(*) FROM records WHERE ID = %1").arg(song).toUtf8().constData());
        ASSERT_EQ(songs.exec(QStringLiteral("DELETE FROM records WHERE ID = %1").arg(song).toUtf8().constData()), SQLITE_OK);
        orphanedSongs = songs.count("SELECT count(*) FROM records WHERE AlbumID IN (3, 7)");
        ASSERT_EQ(lines.exec("INSERT INTO records(PlaylistID, PlaylistSeq, ID) VALUES(9999, 1, 0), (9999, 2, 0)"),
                  SQLITE_OK);
        strayLines = 2;
    }
    ASSERT_GT(orphanedSongs, 0);
    ASSERT_GT(orphanedLines, 0);
    CliResult check = inFolder(data, {QStringLiteral("check")});
    EXPECT_EQ(check.exitCode, 1);
    const QString songFile = data.file(QStringLiteral("srkdata.sdb"));
    EXPECT_TRUE(check.out.contains(QStringLiteral("Sonorika\tPROBLEM\t%1: %2 song(s) point at albums missing from %3")
                                       .arg(songFile)
                                       .arg(orphanedSongs)
                                       .arg(data.file(QStringLiteral("srkalbum.sdb")))))
        << check.out.toStdString();
    EXPECT_TRUE(check.out.contains(QStringLiteral("%1 playlist line(s) point at songs missing from %2")
                                       .arg(orphanedLines)
                                       .arg(songFile)))
        << check.out.toStdString();
    EXPECT_TRUE(check.out.contains(QStringLiteral("%1 playlist line(s) point at playlists missing from %2")
                                       .arg(strayLines)
                                       .arg(data.file(QStringLiteral("srkplist.sdb")))))
        << check.out.toStdString();
    EXPECT_TRUE(check.out.contains(QStringLiteral("3 problem(s) found")));

    // A damaged anchor file is named, and the intact table files are not blamed.
    QFile anchor(data.file(QStringLiteral("srkstore.sdb")));
    ASSERT_TRUE(anchor.open(QIODevice::WriteOnly | QIODevice::Truncate));
    anchor.write(QByteArray(4096, 'x'));
    anchor.close();
    check = inFolder(data, {QStringLiteral("check")});
    EXPECT_EQ(check.exitCode, 1);
    EXPECT_TRUE(check.out.contains(QRegularExpression(
        QStringLiteral("Store\\tPROBLEM\\t%1: is damaged").arg(QRegularExpression::escape(anchor.fileName())))))
        << check.out.toStdString();
    EXPECT_TRUE(check.out.contains(QStringLiteral("Album\tok"))) << check.out.toStdString();
    // Every other command names it too, and never the intact song file.
    const CliResult copy = inFolder(data, {QStringLiteral("copy-to-album")});
    EXPECT_EQ(copy.exitCode, 1);
    EXPECT_TRUE(copy.err.contains(anchor.fileName())) << copy.err.toStdString();
    EXPECT_FALSE(copy.err.contains(songFile)) << copy.err.toStdString();
}

TEST(CliFailure, AnEmptyDataFolderIsAnErrorNeverTheDefaultFolder) {
    TempFolder home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("SONORIKA_DATA"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
    for (const QStringList& args : {QStringList{QStringLiteral("--data"), QString(), QStringLiteral("init")},
                                    QStringList{QStringLiteral("--data="), QStringLiteral("init")},
                                    QStringList{QStringLiteral("--data"), QStringLiteral("  "), QStringLiteral("check")}}) {
        const CliResult run = cli(args, env);
        EXPECT_EQ(run.exitCode, 2) << args.join(QLatin1Char('|')).toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("--data was given an empty folder name"))) << run.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(home.file(QStringLiteral("sonorika"))));
    }
    // Without --data the default folder is still taken.
    EXPECT_EQ(cli({QStringLiteral("init")}, env).exitCode, 0);
    EXPECT_TRUE(QFileInfo::exists(home.file(QStringLiteral("sonorika/srkdata.sdb"))));
}

}  // namespace
