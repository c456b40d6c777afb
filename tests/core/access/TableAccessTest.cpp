#include "access/TableAccess.h"
#include "access/DefaultMedia.h"
#include "access/ScriptedMessages.h"
#include "catalog/Tables.h"
#include "store/Store.h"
#include "store/Table.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QMap>

#include <sqlite3.h>

#include <gtest/gtest.h>

using namespace srk;

namespace {

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QMap<QString, QByteArray> folderBytes(const QString& folder) {
    QMap<QString, QByteArray> out;
    for (const QString& name : QDir(folder).entryList(QDir::Files))
        out.insert(name, bytesOf(QDir(folder).filePath(name)));
    return out;
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

void runSql(const QString& path, const QStringList& statements) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    for (const QString& sql : statements) {
        char* err = nullptr;
        const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err);
        EXPECT_EQ(rc, SQLITE_OK) << (err ? err : "") << " in " << sql.toStdString();
        sqlite3_free(err);
    }
    sqlite3_close(db);
}

// A catalogue written by an earlier run: every file present, two albums.
void writeCatalogue(const QString& folder) {
    Store store(folder);
    ASSERT_TRUE(store.connect());
    for (const TableDef* def : catalogTables()) {
        ASSERT_EQ(store.createFile(*def), NoError);
        ASSERT_EQ(store.openFile(*def), NoError);
    }
    Table albums(store, albumTable());
    for (int id : {1, 2}) {
        Record r(albumTable());
        r.setNumber(ALB::AlbumID, id);
        r.setText(ALB::Album, QStringLiteral("Album %1").arg(id));
        r.setText(ALB::Artist, QStringLiteral("Artist"));
        ASSERT_EQ(albums.add(r), NoError);
    }
}

// An album file as an older program version wrote it: fewer fields, its own version number.
void writeAlbumFileOfVersion(const QString& path, int version) {
    runSql(
        path,
        {
            QStringLiteral("CREATE TABLE records(_row INTEGER PRIMARY KEY, _chg INTEGER NOT NULL DEFAULT 0, "
                           "AlbumID INTEGER NOT NULL DEFAULT 0, Artist TEXT NOT NULL DEFAULT '', "
                           "Album TEXT NOT NULL DEFAULT '')"),
            QStringLiteral(
                "CREATE TABLE layout(label TEXT NOT NULL, prefix TEXT NOT NULL, version INTEGER NOT NULL)"),
            QStringLiteral("INSERT INTO layout VALUES('Album','ALB',%1)").arg(version),
            QStringLiteral(
                "INSERT INTO records(AlbumID, Artist, Album) VALUES(1,'Björk','Post'),(2,'Abba','Arrival')"),
        });
}

class AccessOpen : public ::testing::Test {
protected:
    QString albumPath() const { return folder.file(QStringLiteral("srkalbum") + Store::fileExtension()); }

    TempFolder folder;
    ScriptedMessages messages;
};

TEST_F(AccessOpen, MissingFilesAreCreatedEmptyOnFirstUse) {
    Store store(folder.path());
    TableAccess access(store, messages);
    const AccessResult album = access.openTable(albumTable());
    EXPECT_TRUE(album.ok());
    EXPECT_FALSE(album.fatal);
    EXPECT_TRUE(QFile::exists(albumPath()));
    // The second view of the song file creates the song file when it is the first to need it.
    EXPECT_TRUE(access.openTable(aSongsTable()).ok());
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("srkdata") + Store::fileExtension())));
    EXPECT_TRUE(access.openTable(songsTable()).ok());
    EXPECT_EQ(messages.count(), 0);
    EXPECT_EQ(Table(store, albumTable()).records(), 0);
    EXPECT_TRUE(access.stopRequested().isEmpty());
}

TEST_F(AccessOpen, DamagedFileShowsDiskErrorAndLeavesEveryFileAsItWas) {
    writeCatalogue(folder.path());
    const QByteArray good = bytesOf(albumPath());
    ASSERT_GT(good.size(), 3 * 4096);
    const QList<std::pair<const char*, QByteArray>> damages{
        {"garbage", QByteArray(good.size(), 'x')},
        {"truncated", good.left(8192)},
        {"empty", QByteArray()},
    };
    for (const auto& [what, bytes] : damages) {
        SCOPED_TRACE(what);
        writeBytes(albumPath(), bytes);
        const QMap<QString, QByteArray> before = folderBytes(folder.path());
        messages.clear();
        {
            Store store(folder.path());
            TableAccess access(store, messages);
            EXPECT_TRUE(access.openTable(songsTable()).ok());
            const AccessResult result = access.openTable(albumTable());
            EXPECT_TRUE(result.fatal);
            EXPECT_EQ(result.stopText, QStringLiteral("Disk Error"));
            EXPECT_EQ(result.code, int(InvalidDataFile));
            EXPECT_EQ(access.stopRequested(), QStringLiteral("Disk Error"));
            ASSERT_EQ(messages.count(), 1);
            EXPECT_EQ(messages.last().title, QStringLiteral("File Access Error"));
            EXPECT_EQ(messages.last().text,
                      QStringLiteral("File (") + albumPath() +
                          QStringLiteral(") could not be opened.  Error: Invalid Data File (36)."));
            EXPECT_EQ(access.useCount(albumTable()), 1);
        }
        EXPECT_EQ(folderBytes(folder.path()), before);
    }
}

TEST_F(AccessOpen, DroppedKeyIsRebuiltWhenTheUserSaysYes) {
    writeCatalogue(folder.path());
    runSql(albumPath(), {QStringLiteral("DROP INDEX \"KeyAlbum\"")});
    messages.addAnswer(ButtonYes);
    Store store(folder.path());
    TableAccess access(store, messages);
    EXPECT_TRUE(access.openTable(albumTable()).ok());
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Invalid Key"));
    EXPECT_EQ(messages.last().text,
              QStringLiteral("Album key file is invalid.  Do you want to rebuild the key?"));

    Table albums(store, albumTable());
    Record probe(albumTable());
    probe.setText(ALB::Album, QStringLiteral("ALBUM 2"));
    probe.setText(ALB::Artist, QStringLiteral("artist"));
    ASSERT_EQ(albums.get(ALB::KeyAlbum, probe), NoError);
    EXPECT_EQ(probe.number(ALB::AlbumID), 2);
    // The rebuilt key refuses duplicates again.
    Record twin(albumTable());
    twin.setNumber(ALB::AlbumID, 3);
    twin.setText(ALB::Album, QStringLiteral("Album 1"));
    twin.setText(ALB::Artist, QStringLiteral("Artist"));
    EXPECT_EQ(albums.add(twin), DuplicateKey);
}

TEST_F(AccessOpen, DroppedKeyEndsTheProgramWhenTheUserSaysNo) {
    writeCatalogue(folder.path());
    runSql(albumPath(), {QStringLiteral("DROP INDEX \"KeyCategory\"")});
    messages.addAnswer(ButtonNo);
    Store store(folder.path());
    TableAccess access(store, messages);
    const AccessResult result = access.openTable(albumTable());
    EXPECT_TRUE(result.fatal);
    EXPECT_EQ(result.stopText, QStringLiteral("Invalid Key!"));
    EXPECT_EQ(messages.titles(), QStringList{QStringLiteral("Invalid Key")});
    EXPECT_FALSE(store.isOpen(albumTable()));
}

TEST_F(AccessOpen, OlderLayoutIsUpgradedKeepingItsRecords) {
    writeAlbumFileOfVersion(albumPath(), 1);
    Store store(folder.path());
    TableAccess access(store, messages);
    EXPECT_TRUE(access.openTable(albumTable()).ok());
    EXPECT_EQ(messages.count(), 0);
    EXPECT_EQ(store.fileVersion(albumTable()), albumTable().version);

    Table albums(store, albumTable());
    EXPECT_EQ(albums.records(), 2);
    Record r(albumTable());
    r.setNumber(ALB::AlbumID, 1);
    ASSERT_EQ(albums.get(ALB::KeyAlbumID, r), NoError);
    EXPECT_EQ(r.text(ALB::Artist), QStringLiteral("Björk"));
    EXPECT_EQ(r.text(ALB::Album), QStringLiteral("Post"));
    EXPECT_TRUE(r.text(ALB::FileNumber).isEmpty());
    // Keys of the new layout work on the converted rows: case is ignored for accented letters too.
    Record byName(albumTable());
    byName.setText(ALB::Artist, QStringLiteral("BJÖRK"));
    byName.setText(ALB::Album, QStringLiteral("post"));
    ASSERT_EQ(albums.get(ALB::KeyArtist, byName), NoError);
    EXPECT_EQ(byName.number(ALB::AlbumID), 1);
}

TEST_F(AccessOpen, NewerLayoutEndsTheProgramWithInvalidFile) {
    writeAlbumFileOfVersion(albumPath(), 99);
    const QByteArray before = bytesOf(albumPath());
    Store store(folder.path());
    TableAccess access(store, messages);
    const AccessResult result = access.openTable(albumTable());
    EXPECT_TRUE(result.fatal);
    EXPECT_EQ(result.stopText, QStringLiteral("Invalid File!"));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Invalid File"));
    EXPECT_EQ(messages.last().text,
              QStringLiteral("Error: (srkalbum.sdb has a newer layout (99) than this program reads (2) (47)) "
                             "accessing Album.  Press OK to end this application."));
    EXPECT_EQ(bytesOf(albumPath()), before);
}

TEST_F(AccessOpen, UseCountsKeepTheSongFileOpenUntilBothViewsAreClosed) {
    Store store(folder.path());
    TableAccess access(store, messages);
    ASSERT_TRUE(access.openTable(songsTable()).ok());
    ASSERT_TRUE(access.openTable(songsTable()).ok());
    ASSERT_TRUE(access.openTable(aSongsTable()).ok());
    EXPECT_EQ(access.useCount(songsTable()), 2);
    EXPECT_EQ(access.useCount(aSongsTable()), 1);
    Record song(songsTable());
    song.setNumber(SON::ID, 1);
    ASSERT_EQ(Table(store, songsTable()).add(song), NoError);

    access.closeTable(songsTable());
    EXPECT_TRUE(store.isOpen(songsTable()));
    access.closeTable(songsTable());
    EXPECT_EQ(access.useCount(songsTable()), 0);
    EXPECT_FALSE(store.isOpen(songsTable()));
    // The other view still reads the file.
    ASSERT_TRUE(store.isOpen(aSongsTable()));
    EXPECT_EQ(Table(store, aSongsTable()).records(), 1);

    access.closeTable(aSongsTable());
    EXPECT_FALSE(store.isOpen(aSongsTable()));
    access.closeTable(aSongsTable());
    EXPECT_EQ(access.useCount(aSongsTable()), 0);
    // Reopened later, the file is there with its record.
    ASSERT_TRUE(access.openTable(songsTable()).ok());
    EXPECT_EQ(Table(store, songsTable()).records(), 1);
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(AccessOpen, EmptyMediaTableIsSeededOnceInOrder) {
    Store store(folder.path());
    TableAccess access(store, messages);
    ASSERT_EQ(seedDefaultMedia(access), NoError);
    ASSERT_EQ(seedDefaultMedia(access), NoError);
    EXPECT_EQ(access.useCount(mediaTable()), 0);
    ASSERT_TRUE(access.openTable(mediaTable()).ok());
    Table media(store, mediaTable());
    QStringList names;
    Record r;
    media.setStart(-1);
    while (media.next(r) == NoError)
        names << r.text(MED::Media);
    const QStringList expected{QStringLiteral("CD"), QStringLiteral("LP"), QStringLiteral("EP"),
                               QStringLiteral("7\" Single"), QStringLiteral("CD Single"),
                               QStringLiteral("Cassette (Dolby B)"), QStringLiteral("Cassette (Dolby C)"),
                               QStringLiteral("Cassette (Dolby S)"), QStringLiteral("Cassette (DBX)"),
                               QStringLiteral("Cassette (HX Pro)"),
                               // The name is 22 characters; the media field holds 20.
                               QStringLiteral("Cassette (Prerecorde"), QStringLiteral("Other")};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(messages.count(), 0);
}

} // namespace
