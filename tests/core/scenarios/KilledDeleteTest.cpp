// An album delete that cascades to thousands of songs, killed with SIGKILL at points inside it, must
// leave every file as it was before (or, once committed, exactly as after): never half of it.

#include "access/RecordRoutines.h"
#include "access/ScriptedMessages.h"
#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "store/Store.h"
#include "store/Table.h"
#include "support/TempFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

#include <sqlite3.h>

using namespace srk;

namespace {

constexpr int kSongsByFileNumber = 3000;
constexpr int kSongsByAlbumNumber = 2000;

void buildCatalog(const QString& folder) {
    Store store(folder);
    ScriptedMessages messages;
    TableAccess access(store, messages);
    for (const TableDef* def : catalogTables())
        ASSERT_TRUE(access.openTable(*def).ok());
    Table songs(store, songsTable()), albums(store, albumTable());
    ASSERT_EQ(store.stream(), NoError);
    for (int id = 1; id <= 2; ++id) {
        Record a(albumTable());
        a.setNumber(ALB::AlbumID, id);
        a.setText(ALB::Album, QStringLiteral("Album %1").arg(id));
        a.setText(ALB::Artist, QStringLiteral("Artist"));
        a.setText(ALB::FileNumber, QStringLiteral("CD-%1").arg(id));
        ASSERT_EQ(albums.add(a), NoError);
    }
    int id = 1;
    auto addSong = [&](const QString& fileNumber, int album) {
        Record s(songsTable());
        s.setNumber(SON::ID, id);
        s.setText(SON::Title, QStringLiteral("Song %1").arg(id));
        s.setText(SON::Artist, QStringLiteral("Artist"));
        s.setText(SON::FileNumber, fileNumber);
        s.setNumber(SON::AlbumID, album);
        s.setNumber(SON::TrackNumber, id % 200);
        ++id;
        ASSERT_EQ(songs.add(s), NoError);
    };
    for (int i = 0; i < kSongsByFileNumber; ++i)
        addSong(QStringLiteral("CD-1"), 1);
    for (int i = 0; i < kSongsByAlbumNumber; ++i)
        addSong(QStringLiteral("BOX-%1").arg(i % 7), 1);
    for (int i = 0; i < 500; ++i)
        addSong(QStringLiteral("CD-2"), 2);
    ASSERT_EQ(store.flush(), NoError);
}

// Every record of every table, in record order: what the catalogue holds, independent of file layout.
QByteArray contentDigest(const QString& folder) {
    Store store(folder);
    EXPECT_TRUE(store.connect());
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const TableDef* def : catalogTables()) {
        EXPECT_EQ(store.openFile(*def), NoError) << def->label.toStdString();
        Table t(store, *def);
        QVector<Record> rows;
        t.fetch(-1, KeyAnchor::start(), true, 1000000, rows);
        hash.addData(def->label.toUtf8());
        for (const Record& r : rows)
            for (int f = 0; f < def->fields.size(); ++f)
                hash.addData((r.text(f) + QLatin1Char('\x1f')).toUtf8());
    }
    return hash.result();
}

QByteArray fileBytes(const QString& folder) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const TableDef* def : catalogTables()) {
        QFile f(QDir(folder).filePath(def->diskName + Store::fileExtension()));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        hash.addData(f.readAll());
    }
    return hash.result();
}

struct PauseAfter {
    int deletes = 0;
    int limit = 0;
    int pipeFd = -1;
};

void onChange(void* context, int op, const char*, const char*, sqlite3_int64) {
    auto* at = static_cast<PauseAfter*>(context);
    if (op != SQLITE_DELETE || ++at->deletes != at->limit)
        return;
    const char ready = 'x';
    if (write(at->pipeFd, &ready, 1) != 1)
        _exit(3);
    for (;;)
        ::pause();
}

// In the child: delete album 1 through the album's delete routine. With pauseAfter > 0 it stops inside
// the cascade after that many deletes, tells the parent, and waits to be killed.
[[noreturn]] void deleteAlbumInChild(const QString& folder, int pauseAfter, int pipeFd) {
    Store store(folder);
    ScriptedMessages messages;
    TableAccess access(store, messages);
    for (const TableDef* def : catalogTables())
        if (!access.openTable(*def).ok())
            _exit(4);
    PauseAfter pause{0, pauseAfter, pipeFd};
    if (pauseAfter > 0)
        sqlite3_update_hook(store.handle(), &onChange, &pause);
    Table albums(store, albumTable());
    Record album(albumTable());
    album.setNumber(ALB::AlbumID, 1);
    if (albums.get(ALB::KeyAlbumID, album) != NoError)
        _exit(5);
    const RoutineResult rc = deleteRecord(access, albumTable(), album);
    _exit(rc == RoutineResult::Done ? 0 : 6);
}

pid_t startChild(const QString& folder, int pauseAfter, int& readFd) {
    int fds[2];
    EXPECT_EQ(pipe(fds), 0);
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        deleteAlbumInChild(folder, pauseAfter, fds[1]);
    }
    close(fds[1]);
    readFd = fds[0];
    return pid;
}

void copyFolder(const QString& from, const QString& to) {
    for (const QString& name : QDir(from).entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(QDir(from).filePath(name), QDir(to).filePath(name)));
}

TEST(KilledAlbumDelete, KilledInsideTheCascadeLeavesEveryFileAsBefore) {
    TempFolder folder;
    buildCatalog(folder.path());
    const QByteArray contentBefore = contentDigest(folder.path());
    const QByteArray bytesBefore = fileBytes(folder.path());

    // Inside the file-number cascade, inside the album-number cascade, and at the album record itself.
    for (int pauseAfter : {10, kSongsByFileNumber + 500, kSongsByFileNumber + kSongsByAlbumNumber + 1}) {
        int readFd = -1;
        const pid_t pid = startChild(folder.path(), pauseAfter, readFd);
        char ready = 0;
        ASSERT_EQ(read(readFd, &ready, 1), 1) << "child never reached delete " << pauseAfter;
        close(readFd);
        ASSERT_EQ(kill(pid, SIGKILL), 0);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));

        // The next station to open the files finds the interrupted commit and undoes it.
        EXPECT_EQ(contentDigest(folder.path()), contentBefore) << "after a kill at delete " << pauseAfter;
        EXPECT_EQ(fileBytes(folder.path()), bytesBefore) << "after a kill at delete " << pauseAfter;
    }

    // Not killed, the same delete goes through completely.
    int readFd = -1;
    const pid_t pid = startChild(folder.path(), 0, readFd);
    close(readFd);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    Store store(folder.path());
    ASSERT_TRUE(store.connect());
    ASSERT_EQ(store.openFile(songsTable()), NoError);
    ASSERT_EQ(store.openFile(albumTable()), NoError);
    EXPECT_EQ(Table(store, songsTable()).records(), 500);
    EXPECT_EQ(Table(store, albumTable()).records(), 1);
}

TEST(KilledAlbumDelete, KilledAtRandomMomentsIsAllOrNothing) {
    TempFolder pristine, expectedAfter;
    buildCatalog(pristine.path());
    copyFolder(pristine.path(), expectedAfter.path());
    const QByteArray before = contentDigest(pristine.path());
    QElapsedTimer timer;
    timer.start();
    {
        int readFd = -1;
        const pid_t pid = startChild(expectedAfter.path(), 0, readFd);
        close(readFd);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    // Kill moments spread over the whole run, commit included, and a little past it.
    const qint64 runMicros = qMax<qint64>(1000, timer.nsecsElapsed() / 1000);
    const QByteArray after = contentDigest(expectedAfter.path());
    ASSERT_NE(before, after);

    std::mt19937 random(20261208);
    int sawBefore = 0, sawAfter = 0;
    for (int round = 0; round < 12; ++round) {
        TempFolder work;
        copyFolder(pristine.path(), work.path());
        int readFd = -1;
        const pid_t pid = startChild(work.path(), 0, readFd);
        close(readFd);
        usleep(useconds_t(random() % quint64(runMicros + runMicros / 5)));
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        const QByteArray now = contentDigest(work.path());
        EXPECT_TRUE(now == before || now == after) << "round " << round << " left a half-done delete";
        sawBefore += now == before;
        sawAfter += now == after;
    }
    // Report the spread so a run that never hit the middle is visible.
    std::printf("killed rounds: %d left as before, %d complete\n", sawBefore, sawAfter);
}

}  // namespace
