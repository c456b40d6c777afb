// What the store does with files that are not what they should be, and with engine calls that fail:
// each is refused with a message naming the file and the real cause, and nothing is lost or hung.

#include "access/ScriptedMessages.h"
#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "store/FoldCollation.h"
#include "store/Store.h"
#include "store/Table.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include <sqlite3.h>

using namespace srk;

namespace {

QString albumPath(const TempFolder& folder) { return folder.file(QStringLiteral("srkalbum") + Store::fileExtension()); }

void makeCatalogue(const QString& folder) {
    Store store(folder);
    ASSERT_TRUE(store.connect());
    for (const TableDef* def : catalogTables())
        ASSERT_EQ(store.createFile(*def), NoError) << def->label.toStdString();
}

void runSql(const QString& path, const QStringList& statements) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_TRUE(registerFoldCollation(db));
    for (const QString& s : statements)
        ASSERT_EQ(sqlite3_exec(db, s.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK)
            << s.toStdString() << ": " << sqlite3_errmsg(db);
    sqlite3_close(db);
}

QString scalar(const QString& path, const QString& sql) {
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_stmt* stmt = nullptr;
    QString value;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return value;
}

// Opens the album table the way the program does and returns the message it showed.
QString guardedOpenMessage(const QString& folder) {
    Store store(folder);
    ScriptedMessages messages;
    TableAccess access(store, messages);
    const AccessResult result = access.openTable(albumTable());
    EXPECT_TRUE(result.fatal);
    return messages.count() ? messages.shown().back().text : QString();
}

TEST(StoreFiles, FieldsThisProgramDoesNotKnowAreNeverDroppedByAnUpgrade) {
    for (int version : {2, 1}) {
        SCOPED_TRACE(version);
        TempFolder folder;
        makeCatalogue(folder.path());
        const QString path = albumPath(folder);
        runSql(path, {QStringLiteral("ALTER TABLE records ADD COLUMN Mood TEXT NOT NULL DEFAULT ''"),
                      QStringLiteral("INSERT INTO records(AlbumID, Album, Mood) VALUES(1, 'Post', 'bright')"),
                      QStringLiteral("UPDATE layout SET version=%1").arg(version)});
        Store store(folder.path());
        ASSERT_TRUE(store.connect());
        EXPECT_EQ(store.openFile(albumTable()), LayoutDiffers);
        EXPECT_EQ(store.upgradeFile(albumTable()), LayoutDiffers);
        EXPECT_TRUE(store.lastError().text.contains(QStringLiteral("srkalbum.sdb"))) << store.lastError().text.toStdString();
        EXPECT_TRUE(store.lastError().text.contains(QStringLiteral("Mood")));
        EXPECT_EQ(store.lastError().fileName, path);

        const QString shown = guardedOpenMessage(folder.path());
        EXPECT_TRUE(shown.contains(QStringLiteral("srkalbum.sdb holds fields this program does not know (Mood)")))
            << shown.toStdString();
        // The field and its value are still there.
        EXPECT_EQ(scalar(path, QStringLiteral("SELECT Mood FROM records WHERE AlbumID=1")), QStringLiteral("bright"));
        EXPECT_EQ(scalar(path, QStringLiteral("SELECT version FROM layout")), QString::number(version));
    }
}

int denyColumnList(void*, int action, const char* pragma, const char*, const char*, const char*) {
    return action == SQLITE_PRAGMA && qstrcmp(pragma, "table_info") == 0 ? SQLITE_DENY : SQLITE_OK;
}

TEST(StoreFiles, AnUpgradeGoesAheadOnlyWhenTheOldFieldsWereRead) {
    TempFolder folder;
    const QString path = albumPath(folder);
    runSql(path, {QStringLiteral("CREATE TABLE records(_row INTEGER PRIMARY KEY, _chg INTEGER NOT NULL DEFAULT 0, "
                                 "AlbumID INTEGER NOT NULL DEFAULT 0, Artist TEXT NOT NULL DEFAULT '', "
                                 "Album TEXT NOT NULL DEFAULT '')"),
                  QStringLiteral("CREATE TABLE layout(label TEXT NOT NULL, prefix TEXT NOT NULL, version INTEGER NOT NULL)"),
                  QStringLiteral("INSERT INTO layout VALUES('Album','ALB',1)"),
                  QStringLiteral("INSERT INTO records(AlbumID, Artist, Album) VALUES(1,'Björk','Post')")});
    Store store(folder.path());
    ASSERT_TRUE(store.connect());
    sqlite3_set_authorizer(store.handle(), &denyColumnList, nullptr);
    EXPECT_NE(store.upgradeFile(albumTable()), NoError);
    sqlite3_set_authorizer(store.handle(), nullptr, nullptr);
    EXPECT_EQ(scalar(path, QStringLiteral("SELECT Artist||'/'||Album FROM records")), QStringLiteral("Björk/Post"));
    EXPECT_EQ(scalar(path, QStringLiteral("SELECT version FROM layout")), QStringLiteral("1"));

    // Read in full, the same file converts with its values.
    ASSERT_EQ(store.upgradeFile(albumTable()), NoError);
    EXPECT_EQ(scalar(path, QStringLiteral("SELECT Artist||'/'||Album FROM records")), QStringLiteral("Björk/Post"));
    EXPECT_EQ(scalar(path, QStringLiteral("SELECT version FROM layout")), QStringLiteral("2"));
}

TEST(StoreFiles, ANewerLayoutSaysSoAndNamesTheFile) {
    TempFolder folder;
    makeCatalogue(folder.path());
    runSql(albumPath(folder), {QStringLiteral("UPDATE layout SET version=3")});
    Store store(folder.path());
    ASSERT_TRUE(store.connect());
    EXPECT_EQ(store.openFile(albumTable()), LayoutDiffers);
    EXPECT_EQ(store.lastError().displayText(),
              QStringLiteral("srkalbum.sdb has a newer layout (3) than this program reads (2) (47)"));
    EXPECT_EQ(store.upgradeFile(albumTable()), LayoutDiffers);
    EXPECT_TRUE(store.lastError().text.contains(QStringLiteral("newer")));
    EXPECT_TRUE(guardedOpenMessage(folder.path()).contains(QStringLiteral("srkalbum.sdb has a newer layout")));
    EXPECT_EQ(scalar(albumPath(folder), QStringLiteral("SELECT version FROM layout")), QStringLiteral("3"));
}

// Something that blocks when opened for reading, with a guard that frees a reader caught in it and
// remembers that one was: the test can fail, but it cannot hang.
class PipeGuard {
public:
    explicit PipeGuard(const QString& path) : m_path(QFile::encodeName(path)) {
        m_thread = std::thread([this] {
            while (!m_stop) {
                const int fd = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {  // only possible while someone waits to read
                    m_readerCaught = true;
                    ::close(fd);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });
    }
    ~PipeGuard() {
        m_stop = true;
        m_thread.join();
    }
    bool readerCaught() const { return m_readerCaught; }

private:
    QByteArray m_path;
    std::atomic<bool> m_stop{false}, m_readerCaught{false};
    std::thread m_thread;
};

TEST(StoreFiles, OnlyAPlainFileIsOpenedAsATable) {
    TempFolder folder;
    makeCatalogue(folder.path());
    const QString path = albumPath(folder);
    ASSERT_TRUE(QFile::remove(path));

    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    {
        PipeGuard guard(path);
        Store store(folder.path());
        ASSERT_TRUE(store.connect());
        EXPECT_EQ(store.openFile(albumTable()), DriverError);
        EXPECT_EQ(store.lastError().displayText(), path + QStringLiteral(" is a named pipe, not a data file (14)"));
        EXPECT_EQ(store.upgradeFile(albumTable()), DriverError);
        const QString shown = guardedOpenMessage(folder.path());
        EXPECT_TRUE(shown.contains(QStringLiteral("is a named pipe"))) << shown.toStdString();
        EXPECT_FALSE(guard.readerCaught());
    }
    ASSERT_TRUE(QFile::remove(path));

    ASSERT_TRUE(QDir().mkdir(path));
    Store store(folder.path());
    ASSERT_TRUE(store.connect());
    EXPECT_EQ(store.openFile(albumTable()), DriverError);
    EXPECT_EQ(store.lastError().displayText(), path + QStringLiteral(" is a folder, not a data file (14)"));
    EXPECT_TRUE(QFileInfo(path).isDir());
}

TEST(StoreFiles, ALinkLoopAndAPathTooLongNameTheRealCause) {
    TempFolder folder;
    makeCatalogue(folder.path());
    const QString path = albumPath(folder);
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_EQ(::symlink("srkalbum.sdb", QFile::encodeName(path).constData()), 0);  // points at itself
    {
        Store store(folder.path());
        ASSERT_TRUE(store.connect());
        EXPECT_EQ(store.openFile(albumTable()), DriverError);
        EXPECT_TRUE(store.lastError().displayText().contains(QStringLiteral("loop of symbolic links")));
        EXPECT_EQ(store.lastError().fileName, path);
        EXPECT_FALSE(Store::fileIsMissing(path));
        const QString shown = guardedOpenMessage(folder.path());
        EXPECT_FALSE(shown.contains(QStringLiteral("File Not Found")));
        EXPECT_TRUE(shown.contains(QStringLiteral("loop of symbolic links"))) << shown.toStdString();
    }

    // A folder the system accepts but whose files' paths are too long for the engine.
    QString deep = folder.path();
    for (int i = 0; i < 4; ++i)
        deep += QLatin1Char('/') + QString(150, QLatin1Char('a' + i));
    ASSERT_TRUE(QDir().mkpath(deep));
    Store store(deep);
    EXPECT_FALSE(store.connect());
    EXPECT_EQ(store.lastError().code, DriverError);
    EXPECT_TRUE(store.lastError().displayText().contains(QStringLiteral("is longer than"))) <<
        store.lastError().displayText().toStdString();
    EXPECT_TRUE(store.lastError().displayText().contains(QStringLiteral("srkstore.sdb")));
}

// --- engine results that were ignored ---

int denySavepoints(void*, int action, const char*, const char*, const char*, const char*) {
    return action == SQLITE_SAVEPOINT ? SQLITE_DENY : SQLITE_OK;
}
int denyAttach(void*, int action, const char*, const char*, const char*, const char*) {
    return action == SQLITE_ATTACH ? SQLITE_DENY : SQLITE_OK;
}
int denyReads(void*, int action, const char*, const char*, const char*, const char*) {
    return action == SQLITE_SELECT ? SQLITE_DENY : SQLITE_OK;
}

TEST(StoreEngineResults, AFrameCountsOnlyOnceItsSavepointExists) {
    TempFolder folder;
    makeCatalogue(folder.path());
    Store store(folder.path());
    ASSERT_EQ(store.openFile(mediaTable()), NoError);
    Table media(store, mediaTable());
    ASSERT_EQ(store.logout(), NoError);
    Record m(mediaTable());
    m.setText(MED::Media, QStringLiteral("MiniDisc"));
    ASSERT_EQ(media.add(m), NoError);

    sqlite3_set_authorizer(store.handle(), &denySavepoints, nullptr);
    EXPECT_NE(store.logout(), NoError);
    sqlite3_set_authorizer(store.handle(), nullptr, nullptr);
    // The outer frame is still the one open: its commit keeps the record.
    EXPECT_EQ(store.commit(), NoError);
    EXPECT_FALSE(store.inTransaction());
    Store other(folder.path());
    ASSERT_EQ(other.openFile(mediaTable()), NoError);
    EXPECT_EQ(Table(other, mediaTable()).records(), 1);
}

TEST(StoreEngineResults, AnAttachThatCannotBePreparedReportsTheEnginesReason) {
    TempFolder folder;
    makeCatalogue(folder.path());
    Store store(folder.path());
    ASSERT_TRUE(store.connect());
    sqlite3_set_authorizer(store.handle(), &denyAttach, nullptr);
    EXPECT_EQ(store.openFile(albumTable()), DriverError);
    EXPECT_EQ(store.lastError().driverCode, SQLITE_AUTH);
    EXPECT_EQ(store.lastError().fileName, albumPath(folder));
    sqlite3_set_authorizer(store.handle(), nullptr, nullptr);
    EXPECT_EQ(store.openFile(albumTable()), NoError);
}

TEST(StoreEngineResults, ADuplicateTestThatCannotReadIsNotANo) {
    TempFolder folder;
    makeCatalogue(folder.path());
    Store store(folder.path());
    ASSERT_EQ(store.openFile(categoriesTable()), NoError);
    Table categories(store, categoriesTable());
    Record c(categoriesTable());
    c.setNumber(CAT::CategoryID, 1);
    c.setText(CAT::Category, QStringLiteral("Jazz"));
    ASSERT_EQ(categories.add(c), NoError);
    Record twin(categoriesTable());
    twin.setNumber(CAT::CategoryID, 2);
    twin.setText(CAT::Category, QStringLiteral("JAZZ"));
    ASSERT_EQ(categories.add(twin), DuplicateKey);
    EXPECT_EQ(categories.duplicateKey(twin), CAT::KeyCategory);

    Record other(categoriesTable());
    other.setNumber(CAT::CategoryID, 3);
    other.setText(CAT::Category, QStringLiteral("Rock"));
    sqlite3_set_authorizer(store.handle(), &denyReads, nullptr);
    EXPECT_EQ(categories.duplicateKey(other), Table::DuplicateTestFailed);
    EXPECT_EQ(store.lastError().code, DriverError);
    sqlite3_set_authorizer(store.handle(), nullptr, nullptr);
    EXPECT_EQ(categories.duplicateKey(other), -1);
}

// A made-up table wider than 64 fields: a put writes exactly the fields that changed.
TableDef wideTable() {
    TableDef t{QStringLiteral("Wide"), QStringLiteral("WID"), QStringLiteral("srkwide"), 1, {}, 0, {}};
    for (int i = 0; i < 70; ++i)
        t.fields.push_back({QStringLiteral("F%1").arg(i), FieldKind::Int32, 0, QString()});
    t.keys = {{QStringLiteral("KeyF0"), {0}, true, true, false}};
    return t;
}

TEST(StoreEngineResults, APutWritesTheChangedFieldsOfAnyWidth) {
    static const TableDef wide = wideTable();
    TempFolder folder;
    Store store(folder.path());
    ASSERT_EQ(store.createFile(wide), NoError);
    ASSERT_EQ(store.openFile(wide), NoError);
    Table table(store, wide);
    Record r(wide);
    r.setNumber(0, 1);
    ASSERT_EQ(table.add(r), NoError);

    // Each put has a statement for its own set of fields: a watched put of one field, then a plain put
    // of that field and the 64th, whose statement must not be taken for the watched one.
    auto putFields = [&](bool watched, const QVector<int>& fields, int value) {
        Record read(wide);
        read.setNumber(0, 1);
        if (watched)
            table.watch();
        ASSERT_EQ(table.get(0, read), NoError);
        for (int f : fields)
            read.setNumber(f, value + f);
        ASSERT_EQ(table.put(read), NoError) << store.lastError().displayText().toStdString();
    };
    ASSERT_NO_FATAL_FAILURE(putFields(true, {1}, 100));
    ASSERT_NO_FATAL_FAILURE(putFields(false, {1, 63}, 1000));
    ASSERT_NO_FATAL_FAILURE(putFields(false, {64, 65, 69}, 2000));
    Record back(wide);
    back.setNumber(0, 1);
    ASSERT_EQ(table.get(0, back), NoError);
    for (int f = 1; f < 70; ++f) {
        const int expected = (f == 1 || f == 63) ? 1000 + f : (f == 64 || f == 65 || f == 69) ? 2000 + f : 0;
        EXPECT_EQ(back.number(f), expected) << "field " << f;
    }
}

// --- what the store leaves to its callers ---

bool probeFunctions(sqlite3* db) {
    return sqlite3_create_function_v2(
               db, "srk_probe", 0, SQLITE_UTF8, nullptr,
               [](sqlite3_context* c, int, sqlite3_value**) { sqlite3_result_int(c, 42); }, nullptr, nullptr,
               nullptr) == SQLITE_OK;
}
bool refuseFunctions(sqlite3*) { return false; }

TEST(StoreConnection, CallersHookTheirFunctionsInAndAFailedHookFailsTheConnection) {
    TempFolder folder;
    Store::addConnectionHook(&probeFunctions);
    {
        Store store(folder.path());
        ASSERT_TRUE(store.connect());
        sqlite3_stmt* stmt = store.statement("SELECT srk_probe()");
        ASSERT_NE(stmt, nullptr);
        ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
        EXPECT_EQ(sqlite3_column_int(stmt, 0), 42);
        sqlite3_reset(stmt);
    }
    Store::removeConnectionHook(&probeFunctions);
    Store::addConnectionHook(&refuseFunctions);
    Store refused(folder.path());
    EXPECT_FALSE(refused.connect());
    Store::removeConnectionHook(&refuseFunctions);
    EXPECT_FALSE(refused.isConnected());
    EXPECT_EQ(refused.lastError().code, DriverError);
    EXPECT_TRUE(refused.connect());  // a later try, without the failing hook
}

TEST(StoreConnection, ASecondViewOfAFileNamesItsOwnerInItsDeclaration) {
    EXPECT_EQ(aSongsTable().fileLabel(), QStringLiteral("Sonorika"));
    EXPECT_EQ(aSongsTable().filePrefix(), QStringLiteral("SON"));
    EXPECT_EQ(albumTable().fileLabel(), QStringLiteral("Album"));

    // Any table may be a second view, not only the songs' one.
    TableDef albumsAgain = albumTable();
    albumsAgain.label = QStringLiteral("A_Album");
    albumsAgain.prefix = QStringLiteral("A_A");
    albumsAgain.fileOwnerLabel = QStringLiteral("Album");
    albumsAgain.fileOwnerPrefix = QStringLiteral("ALB");
    TempFolder folder;
    makeCatalogue(folder.path());
    Store store(folder.path());
    ASSERT_EQ(store.openFile(albumTable()), NoError);
    EXPECT_EQ(store.openFile(albumsAgain), NoError);
    EXPECT_TRUE(store.isOpen(albumsAgain));

    // A file the second view creates records its owner.
    QFile::remove(folder.file(QStringLiteral("srkdata.sdb")));
    Store fresh(folder.path());
    ASSERT_EQ(fresh.createFile(aSongsTable()), NoError);
    EXPECT_EQ(scalar(folder.file(QStringLiteral("srkdata.sdb")), QStringLiteral("SELECT label||'/'||prefix FROM layout")),
              QStringLiteral("Sonorika/SON"));
}

}  // namespace
