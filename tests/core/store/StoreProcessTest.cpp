// Several processes on one data folder, and processes killed in the middle of their work: real
// processes (forked children and sonorika-cli), repeated to catch races.

#include "access/DefaultMedia.h"
#include "access/ScriptedMessages.h"
#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "maintenance/SyntheticCatalog.h"
#include "store/FoldCollation.h"
#include "store/Store.h"
#include "store/Table.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sqlite3.h>

using namespace srk;

namespace {

constexpr int kWaitMs = 120000;

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

CliRun cli(const QString& folder, const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(SONORIKA_CLI), QStringList{QStringLiteral("--data"), folder} + args);
    EXPECT_TRUE(p.waitForFinished(kWaitMs));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// Waits for a child; kills it when it does not end in time (a test may fail, never hang).
int waitChild(pid_t pid) {
    for (int i = 0; i < kWaitMs / 10; ++i) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        ::usleep(10000);
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return -1;
}

// Reads one byte from a pipe, giving up after the wait.
bool readSignal(int fd) {
    pollfd p{fd, POLLIN, 0};
    char c = 0;
    return ::poll(&p, 1, kWaitMs) == 1 && ::read(fd, &c, 1) == 1;
}

// Opens every table of the folder the way the program does: every problem shows as a message.
// Returns the problems, one a line; empty when everything opened without a word.
std::string openEverything(const QString& folder, bool seedMedia = false) {
    Store store(folder);
    ScriptedMessages messages;
    TableAccess access(store, messages);
    QStringList problems;
    for (const TableDef* def : catalogTables())
        if (!access.openTable(*def).ok())
            problems << def->label;
    if (seedMedia && problems.isEmpty() && seedDefaultMedia(access) != NoError)
        problems << QStringLiteral("default media");
    for (const Message& m : messages.shown())
        problems << m.title + QStringLiteral(": ") + m.text;
    return problems.join(QLatin1Char('\n')).toStdString();
}

qint64 count(const QString& file, const QString& sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    registerFoldCollation(db);
    sqlite3_stmt* stmt = nullptr;
    qint64 n = -1;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        n = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return n;
}

TEST(StoreProcesses, ProcessesCreatingTheFilesOfAnEmptyFolderAllSucceed) {
    constexpr int kRounds = 25, kProcesses = 3;
    int failedRuns = 0;
    for (int round = 0; round < kRounds; ++round) {
        TempFolder folder;
        int gate[2];
        ASSERT_EQ(::pipe(gate), 0);
        QVector<pid_t> children;
        for (int i = 0; i < kProcesses; ++i) {
            const pid_t pid = ::fork();
            ASSERT_GE(pid, 0);
            if (pid == 0) {
                ::close(gate[1]);
                char c;
                (void)::read(gate[0], &c, 1);  // all start together when the gate closes
                ::_exit(openEverything(folder.path(), true).empty() ? 0 : 1);
            }
            children << pid;
        }
        ::close(gate[0]);
        ::close(gate[1]);
        for (pid_t pid : children)
            failedRuns += waitChild(pid) != 0;
        for (const TableDef* def : catalogTables())
            EXPECT_TRUE(QFile::exists(folder.file(def->diskName + Store::fileExtension())))
                << "round " << round << " " << def->label.toStdString();
        EXPECT_EQ(openEverything(folder.path()), "") << "round " << round;
        EXPECT_EQ(count(folder.file(QStringLiteral("srkmedia.sdb")), QStringLiteral("SELECT count(*) FROM records")),
                  defaultMedia().size())
            << "round " << round;
        // Only the catalogue's own files are left: no half-made file under another name.
        const QStringList left = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
        EXPECT_EQ(left.size(), catalogTables().size() + 1) << left.join(QLatin1Char(' ')).toStdString();
    }
    EXPECT_EQ(failedRuns, 0) << "of " << kRounds * kProcesses;
}

// A child that loads a large catalogue into empty tables, reports once it is in the middle of the
// load, and then stops until it is killed.
pid_t startBulkLoad(const QString& folder, int report) {
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    Store store(folder);
    ScriptedMessages messages;
    TableAccess access(store, messages);
    for (const TableDef* def : catalogTables())
        if (!access.openTable(*def).ok())
            ::_exit(2);
    SyntheticCatalog job(store, {200000, 20000, 5});
    for (int slice = 0; slice < 4; ++slice)
        if (!job.step())
            ::_exit(3);
    (void)!::write(report, "x", 1);
    for (;;)
        ::pause();
}

TEST(StoreProcesses, ABulkLoadKeepsItsKeysForOthersAndAKillLosesNothingElse) {
    TempFolder folder;
    ASSERT_TRUE(openEverything(folder.path()).empty());
    int report[2];
    ASSERT_EQ(::pipe(report), 0);
    const pid_t child = startBulkLoad(folder.path(), report[1]);
    ASSERT_GT(child, 0);
    const bool inTheMiddle = readSignal(report[0]);
    ::close(report[0]);
    ::close(report[1]);
    if (!inTheMiddle) {
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        FAIL() << "the load never reached its middle";
    }

    // Another station opens the tables while the load runs: the keys are there, the load is not yet.
    {
        Store other(folder.path());
        ASSERT_TRUE(other.connect());
        for (const TableDef* def : {&songsTable(), &albumTable()}) {
            EXPECT_EQ(other.openFile(*def), NoError) << def->label.toStdString() << ": "
                                                     << other.lastError().displayText().toStdString();
            EXPECT_EQ(Table(other, *def).records(), 0);
        }
    }

    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("srkdata.sdb-journal"))));

    // The next opening rolls the load back, keys included, without asking anything.
    EXPECT_EQ(openEverything(folder.path()), "");
    Store after(folder.path());
    for (const TableDef* def : {&songsTable(), &albumTable()}) {
        ASSERT_EQ(after.openFile(*def), NoError) << def->label.toStdString();
        EXPECT_EQ(Table(after, *def).records(), 0);
    }
}

TEST(StoreProcesses, GenerateRacingCopyToAlbumLeavesAnOpenableCatalogue) {
    // Songs without albums, as an older catalogue holds them.
    TempFolder seed;
    ASSERT_EQ(cli(seed.path(), {QStringLiteral("generate"), QStringLiteral("--songs"), QStringLiteral("20000"),
                                QStringLiteral("--albums"), QStringLiteral("2000")})
                  .exitCode,
              0);
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(seed.file(QStringLiteral("srkdata.sdb")).toUtf8().constData(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, "UPDATE records SET AlbumID=0", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
        ASSERT_TRUE(QFile::remove(seed.file(QStringLiteral("srkalbum.sdb"))));
        ASSERT_EQ(cli(seed.path(), {QStringLiteral("init")}).exitCode, 0);
    }

    constexpr int kRounds = 6;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        TempFolder folder;
        for (const QString& name : QDir(seed.path()).entryList(QDir::Files))
            ASSERT_TRUE(QFile::copy(seed.file(name), folder.file(name)));
        QProcess copy, generate;
        const QStringList base{QStringLiteral("--data"), folder.path()};
        copy.start(QStringLiteral(SONORIKA_CLI), base + QStringList{QStringLiteral("copy-to-album")});
        generate.start(QStringLiteral(SONORIKA_CLI),
                       base + QStringList{QStringLiteral("generate"), QStringLiteral("--songs"), QStringLiteral("5000"),
                                          QStringLiteral("--albums"), QStringLiteral("500"), QStringLiteral("--seed"),
                                          QString::number(round + 1)});
        ASSERT_TRUE(copy.waitForFinished(kWaitMs));
        ASSERT_TRUE(generate.waitForFinished(kWaitMs));
        // Either may have stopped on the other's lock; the catalogue must be whole either way.
        const QString albums = folder.file(QStringLiteral("srkalbum.sdb"));
        EXPECT_EQ(count(albums, QStringLiteral("SELECT count(*) FROM (SELECT AlbumID FROM records GROUP BY AlbumID "
                                               "HAVING count(*) > 1)")),
                  0);
        EXPECT_EQ(openEverything(folder.path()), "");
        const CliRun check = cli(folder.path(), {QStringLiteral("check")});
        EXPECT_EQ(check.exitCode, 0) << check.out.toStdString();
    }
}

TEST(StoreProcesses, AfterACrashCheckAndInfoSayAnUpdateWasInterrupted) {
    TempFolder folder;
    ASSERT_TRUE(openEverything(folder.path()).empty());
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        Store store(folder.path());
        if (store.openFile(songsTable()) != NoError || store.logout() != NoError)
            ::_exit(2);
        // A small page cache makes the update write into the file before its commit.
        sqlite3_exec(store.handle(), "PRAGMA srkdata.cache_size=8", nullptr, nullptr, nullptr);
        Table songs(store, songsTable());
        for (int id = 1; id <= 5000; ++id) {
            Record s(songsTable());
            s.setNumber(SON::ID, id);
            s.setText(SON::Title, QStringLiteral("Song %1").arg(id));
            if (songs.add(s) != NoError)
                ::_exit(3);
        }
        ::raise(SIGKILL);  // dies with its update half done
    }
    EXPECT_EQ(waitChild(child), 128 + SIGKILL);
    ASSERT_TRUE(QFile::exists(folder.file(QStringLiteral("srkdata.sdb-journal"))));

    const QString expected = QStringLiteral(
        "An interrupted update was found in srkdata.sdb; it will be rolled back by the next opening for writing");
    for (const QString& command : {QStringLiteral("check"), QStringLiteral("info")}) {
        SCOPED_TRACE(command.toStdString());
        const CliRun run = cli(folder.path(), {command});
        EXPECT_NE(run.exitCode, 0);
        EXPECT_TRUE(run.out.contains(expected)) << run.out.toStdString();
        EXPECT_FALSE(run.out.contains(QStringLiteral("readonly"))) << run.out.toStdString();
    }
    // The read-only commands left the journal for the next writer, which rolls the update back.
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("srkdata.sdb-journal"))));
    EXPECT_EQ(cli(folder.path(), {QStringLiteral("init")}).exitCode, 0);
    const CliRun check = cli(folder.path(), {QStringLiteral("check")});
    EXPECT_EQ(check.exitCode, 0) << check.out.toStdString();
    EXPECT_EQ(count(folder.file(QStringLiteral("srkdata.sdb")), QStringLiteral("SELECT count(*) FROM records")), 0);
}

}  // namespace
