// Primed records of a process that was killed are removed by the next start; those of a running
// process never are. Real child processes primed the records and one of them was killed with SIGKILL.

#include "access/Priming.h"
#include "access/PrimedOwners.h"
#include "access/ScriptedMessages.h"
#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "songs/NewSong.h"
#include "store/Store.h"
#include "store/Table.h"
#include "support/TempFolder.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace srk;

namespace {

// A forked child that opens the catalogue, primes what `work` primes, reports the song number it primed
// on a pipe and then waits to be killed (or ends at once when `exitAfter` is set).
class PrimingChild {
public:
    PrimingChild(const QString& folder, const std::function<qint64(TableAccess&)>& work) {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        m_pid = fork();
        if (m_pid == 0) {
            close(fds[0]);
            qint64 primed = -1;
            {
                Store store(folder);
                ScriptedMessages messages;
                TableAccess access(store, messages);
                bool open = true;
                for (const TableDef* def : catalogTables())
                    open = open && access.openTable(*def).ok();
                if (open)
                    primed = work(access);
                // The child holds no lock while it waits: its forms stay open, its records stay primed.
                (void)!write(fds[1], &primed, sizeof primed);
                close(fds[1]);
                for (;;)
                    pause();
            }
        }
        close(fds[1]);
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, 60000) == 1 && read(fds[0], &m_primed, sizeof m_primed) != sizeof m_primed)
            m_primed = -1;
        close(fds[0]);
    }
    ~PrimingChild() { kill(); }

    qint64 primed() const { return m_primed; }
    void kill() {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGKILL);
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
    qint64 m_primed = -1;
};

qint64 primeOneSong(TableAccess& access) {
    Record song(songsTable());
    return primeSong(access, song) == PrimeStatus::Primed ? song.number(SON::ID) : -1;
}

// Primes a song and completes it (the form's OK), then primes a category left open.
qint64 completeOneThenPrimeAnother(TableAccess& access) {
    Record song(songsTable());
    if (primeSong(access, song) != PrimeStatus::Primed)
        return -1;
    song.setText(SON::Title, QStringLiteral("Kept"));
    if (!saveNewSong(access, song))
        return -1;
    Record category(categoriesTable());
    return prime(access, categoriesTable(), category) == PrimeStatus::Primed ? song.number(SON::ID) : -1;
}

QList<qint64> songIds(const QString& folder) {
    Store store(folder);
    store.setReadOnly(true);
    EXPECT_EQ(store.openFile(songsTable()), NoError);
    QList<qint64> ids;
    Table table(store, songsTable());
    Record r;
    table.setStart(SON::KeyID);
    while (table.next(r) == NoError)
        ids << r.number(SON::ID);
    return ids;
}

qint64 records(const QString& folder, const TableDef& def) {
    Store store(folder);
    store.setReadOnly(true);
    EXPECT_EQ(store.openFile(def), NoError);
    return Table(store, def).records();
}

int runCliInit(const QString& folder) {
    QProcess cli;
    cli.start(QStringLiteral(SONORIKA_CLI), {QStringLiteral("--data"), folder, QStringLiteral("init")});
    EXPECT_TRUE(cli.waitForFinished(60000));
    return cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
}

TEST(PrimedOwners, AStartRemovesThePrimedRecordsOfAKilledProcessAndKeepsThoseOfARunningOne) {
    TempFolder data;
    ASSERT_EQ(runCliInit(data.path()), 0);

    PrimingChild killed(data.path(), primeOneSong);
    ASSERT_EQ(killed.primed(), 1);
    PrimingChild running(data.path(), primeOneSong);
    ASSERT_EQ(running.primed(), 2);
    killed.kill();
    EXPECT_EQ(songIds(data.path()), (QList<qint64>{1, 2}));

    // The command-line tool's start clears what the killed process left; the running one keeps its form.
    ASSERT_EQ(runCliInit(data.path()), 0);
    EXPECT_EQ(songIds(data.path()), (QList<qint64>{2}));

    // In-process start-up code does the same once that process is gone too.
    running.kill();
    Store store(data.path());
    ScriptedMessages messages;
    TableAccess access(store, messages);
    for (const TableDef* def : catalogTables())
        ASSERT_TRUE(access.openTable(*def).ok());
    EXPECT_EQ(primedCount(store), 1);
    EXPECT_EQ(removeOrphanedPrimes(access), 1);
    EXPECT_EQ(primedCount(store), 0);
    EXPECT_EQ(Table(store, songsTable()).records(), 0);
    EXPECT_EQ(messages.count(), 0);
}

TEST(PrimedOwners, ACompletedRecordIsNeverTakenForALeftoverAndAnEndedFormLeavesNoOwner) {
    TempFolder data;
    ASSERT_EQ(runCliInit(data.path()), 0);
    PrimingChild child(data.path(), completeOneThenPrimeAnother);
    ASSERT_EQ(child.primed(), 1);
    child.kill();
    ASSERT_EQ(records(data.path(), categoriesTable()), 1);
    ASSERT_EQ(runCliInit(data.path()), 0);
    EXPECT_EQ(songIds(data.path()), (QList<qint64>{1}));
    EXPECT_EQ(records(data.path(), categoriesTable()), 0);

    // In this process: a cancelled and a completed form both take their owner entry away with them.
    Store store(data.path());
    ScriptedMessages messages;
    TableAccess access(store, messages);
    ASSERT_TRUE(access.openTable(songsTable()).ok());
    ASSERT_TRUE(access.openTable(categoriesTable()).ok());
    EXPECT_EQ(primedCount(store), 0);
    Record cancelled(categoriesTable());
    ASSERT_EQ(prime(access, categoriesTable(), cancelled), PrimeStatus::Primed);
    Record saved(songsTable());
    ASSERT_EQ(primeSong(access, saved), PrimeStatus::Primed);
    EXPECT_EQ(primedCount(store), 2);
    // Both owners run (this process): nothing is removed.
    EXPECT_EQ(removeOrphanedPrimes(access), 0);
    EXPECT_EQ(Table(store, categoriesTable()).records(), 1);
    ASSERT_EQ(cancelPrimed(access, categoriesTable(), cancelled), NoError);
    ASSERT_TRUE(saveNewSong(access, saved));
    EXPECT_EQ(primedCount(store), 0);
    EXPECT_FALSE(store.inTransaction());
}

TEST(PrimedOwners, ProcessIdentityTellsAReusedOrVanishedProcessFromARunningOne) {
    const ProcessIdentity self = currentProcess();
    EXPECT_GT(self.started, 0);
    EXPECT_TRUE(isRunning(self));
    ProcessIdentity reused = self;
    reused.started += 1;  // same number, another process
    EXPECT_FALSE(isRunning(reused));
    ProcessIdentity rebooted = self;
    rebooted.boot += QStringLiteral("-before");
    EXPECT_FALSE(isRunning(rebooted));
    // Another machine's process cannot be seen from here: it is left alone.
    ProcessIdentity remote = reused;
    remote.host += QStringLiteral(".elsewhere");
    EXPECT_TRUE(isRunning(remote));
}

}  // namespace
