#include "catalog/Tables.h"
#include "store/FoldCollation.h"
#include "store/Store.h"
#include "store/Table.h"
#include "store/View.h"
#include "support/TempFolder.h"

#include <QFile>

#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace srk;

namespace {

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(store.connect());
        for (const TableDef* def : catalogTables()) {
            ASSERT_EQ(store.createFile(*def), NoError) << def->label.toStdString();
            ASSERT_EQ(store.openFile(*def), NoError) << def->label.toStdString();
        }
    }

    Record song(const QString& artist, const QString& title, int id, int album = 0, int track = 0) {
        Record r(songsTable());
        r.setText(SON::Artist, artist);
        r.setText(SON::Title, title);
        r.setNumber(SON::ID, id);
        r.setNumber(SON::AlbumID, album);
        r.setNumber(SON::TrackNumber, track);
        return r;
    }

    QStringList readAll(Table& t, int key, bool forward) {
        QStringList out;
        Record r;
        forward ? t.setStart(key) : t.setEnd(key);
        while ((forward ? t.next(r) : t.previous(r)) == NoError)
            out << r.text(SON::Artist) + QLatin1Char('/') + r.text(SON::Title);
        EXPECT_EQ(store.lastError().code, RecordNotAvailable);
        return out;
    }

    TempFolder folder;
    Store store{folder.path()};
};

TEST(TableDeclarations, RecordSizesMatchTheDeclaredLayouts) {
    EXPECT_EQ(songsTable().recordBytes(), 571);
    EXPECT_EQ(albumTable().recordBytes(), 520);
    EXPECT_EQ(categoriesTable().recordBytes(), 36);
    EXPECT_EQ(mediaTable().recordBytes(), 20);
    EXPECT_EQ(labelsTable().recordBytes(), 622);
    EXPECT_EQ(fontsTable().recordBytes(), 134);
    EXPECT_EQ(addWizardTable().recordBytes(), 73);
    EXPECT_EQ(playlistMasterTable().recordBytes(), 38);
    EXPECT_EQ(playlistDetailsTable().recordBytes(), 65);
    int keys = 0;
    for (const TableDef* t : catalogTables())
        keys += int(t->keys.size());
    EXPECT_EQ(keys, 31);
    EXPECT_EQ(songsTable().fieldIndex(QStringLiteral("SON:UserDefinedKeyField")), SON::UserDefinedKeyField);
    EXPECT_EQ(aSongsTable().keyIndex(QStringLiteral("A_S:KeyFileNumber")), SON::KeyFileNumber);
    EXPECT_EQ(songsTable().fieldIndex(QStringLiteral("ALB:Artist")), -1);
}

TEST(FoldCollation, IgnoresCaseOfAccentedLettersAndTrailingBlanks) {
    EXPECT_EQ(compareFolded(QStringLiteral("Björk"), QStringLiteral("BJÖRK")), 0);
    EXPECT_EQ(compareFolded(QStringLiteral("Émile"), QStringLiteral("émile  ")), 0);
    EXPECT_LT(compareFolded(QStringLiteral("abba"), QStringLiteral("ABBB")), 0);
    EXPECT_GT(compareFolded(QStringLiteral("abc"), QStringLiteral("AB")), 0);
    EXPECT_NE(compareFolded(QStringLiteral("e"), QStringLiteral("é")), 0);
    // Malformed bytes still compare consistently.
    EXPECT_EQ(compareFolded("\xff\xfe", 2, "\xff\xfe", 2), 0);
    EXPECT_NE(compareFolded("\xff", 1, "\xfe", 1), 0);
}

// The collation skips equal runs of plain ASCII a word at a time; its order must stay the one of
// folding letter by letter, judged here by QChar's own folding over random texts.
TEST(FoldCollation, AgreesWithLetterByLetterFoldingOnLongSharedBeginnings) {
    const auto judge = [](const QString& a, const QString& b) {
        auto folded = [](QString s) {
            while (s.endsWith(QLatin1Char(' ')))
                s.chop(1);
            QList<uint> out;
            for (const uint cp : s.toUcs4())
                out << QChar::toCaseFolded(char32_t(cp));
            return out;
        };
        const QList<uint> fa = folded(a), fb = folded(b);
        return fa < fb ? -1 : fb < fa ? 1 : 0;
    };
    const QStringList pieces{QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("b"), QStringLiteral(" "),
                             QStringLiteral("é"), QStringLiteral("É"), QStringLiteral("空"),
                             QStringLiteral("😀"), QStringLiteral("Angel Angel "), QStringLiteral("ANGEL angel ")};
    QRandomGenerator random(1997);
    const auto text = [&] {
        QString s;
        const int n = int(random.bounded(12));
        for (int i = 0; i < n; ++i)
            s += pieces[int(random.bounded(int(pieces.size())))];
        return s;
    };
    int equal = 0;
    for (int i = 0; i < 20000; ++i) {
        const QString a = text();
        // Half the pairs share a long beginning, as neighbours in a sorted key do.
        const QString b = i % 2 ? a.left(int(random.bounded(int(a.size()) + 1))) + text() : text();
        const int expected = judge(a, b);
        const int got = compareFolded(a, b);
        ASSERT_EQ((got > 0) - (got < 0), expected) << a.toStdString() << " | " << b.toStdString();
        equal += expected == 0;
    }
    EXPECT_GT(equal, 100);
    EXPECT_EQ(compareFolded(QStringLiteral("Angel Angel Blue Serenade"), QStringLiteral("ANGEL ANGEL blue serenadE  ")),
              0);
    EXPECT_LT(compareFolded(QStringLiteral("Angel Angel Blue Serenadé"), QStringLiteral("Angel Angel Blue SerenadÉz")),
              0);
}

TEST_F(StoreTest, AddedTextsComeBackWhateverTheirLettersAndOrder) {
    // Plain and wide texts side by side in one record, then a record of shorter ones after it.
    Table songs(store, songsTable());
    Record wide = song(QStringLiteral("Björk"), QStringLiteral("Plain title"), 1);
    wide.setText(SON::Album, QStringLiteral("空の記憶 😀"));
    wide.setText(SON::Media, QStringLiteral("CD"));
    wide.setText(SON::Notes, QStringLiteral("Line one\r\nLine \"two\" — ünïcode"));
    wide.setText(SON::Composer, QStringLiteral("Mäkelä"));
    Record plain = song(QStringLiteral("A"), QString(), 2);
    plain.setText(SON::Notes, QStringLiteral("n"));
    ASSERT_EQ(songs.add(wide), NoError);
    ASSERT_EQ(songs.add(plain), NoError);
    for (const Record* added : {&wide, &plain}) {
        Record back(songsTable());
        back.setNumber(SON::ID, added->number(SON::ID));
        ASSERT_EQ(songs.get(SON::KeyID, back), NoError);
        EXPECT_TRUE(back.sameValues(*added)) << back.text(SON::Album).toStdString();
    }
}

TEST(RecordValues, TextIsCutAtTheWidthWithoutSplittingACharacter) {
    Record r(songsTable());
    r.setText(SON::Side, QStringLiteral("AB"));
    EXPECT_EQ(r.text(SON::Side), QStringLiteral("A"));
    // 39 letters then a character outside the basic plane: it takes two UTF-16 units but is one character.
    const QString clef = QString::fromUcs4(U"\U0001D11E");
    r.setText(SON::Artist, QString(39, QLatin1Char('x')) + clef + QStringLiteral("yz"));
    EXPECT_EQ(r.text(SON::Artist), QString(39, QLatin1Char('x')) + clef);
    r.setText(SON::Artist, QString(40, QLatin1Char('x')) + clef);
    EXPECT_EQ(r.text(SON::Artist), QString(40, QLatin1Char('x')));
    r.setText(SON::Title, QStringLiteral("Song   "));
    EXPECT_EQ(r.text(SON::Title), QStringLiteral("Song"));
    r.setNumber(SON::TrackNumber, 300);
    EXPECT_EQ(r.number(SON::TrackNumber), 255);
    r.setNumber(SON::TrackNumber, -1);
    EXPECT_EQ(r.number(SON::TrackNumber), 0);
}

TEST_F(StoreTest, KeyedReadsFollowKeyOrderBothWays) {
    Table songs(store, songsTable());
    for (auto [a, t, id] : {std::tuple{"Zappa", "Peaches", 1}, {"abba", "Waterloo", 2}, {"ABBA", "Mamma Mia", 3},
                            {"Björk", "Joga", 4}, {"BJÖRK", "Army of Me", 5}}) {
        Record r = song(QString::fromUtf8(a), QString::fromUtf8(t), id);
        ASSERT_EQ(songs.add(r), NoError);
    }
    const QStringList forward = readAll(songs, SON::SongsByArtist, true);
    EXPECT_EQ(forward, (QStringList{QStringLiteral("ABBA/Mamma Mia"), QStringLiteral("abba/Waterloo"),
                                    QStringLiteral("BJÖRK/Army of Me"), QStringLiteral("Björk/Joga"),
                                    QStringLiteral("Zappa/Peaches")}));
    QStringList backward = readAll(songs, SON::SongsByArtist, false);
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(backward, forward);

    // Positioned at a key value: next gives the first record at or after it, previous the last at or before.
    Record probe = song(QStringLiteral("björk"), QString(), 0);
    Record r;
    songs.setAt(SON::SongsByArtist, probe);
    ASSERT_EQ(songs.next(r), NoError);
    EXPECT_EQ(r.text(SON::Title), QStringLiteral("Army of Me"));
    ASSERT_EQ(songs.next(r), NoError);
    EXPECT_EQ(r.text(SON::Title), QStringLiteral("Joga"));
    ASSERT_EQ(songs.previous(r), NoError);
    EXPECT_EQ(r.text(SON::Title), QStringLiteral("Army of Me"));

    probe.setText(SON::Title, QStringLiteral("Zzz"));
    songs.setAt(SON::SongsByArtist, probe);
    ASSERT_EQ(songs.previous(r), NoError);
    EXPECT_EQ(r.text(SON::Title), QStringLiteral("Joga"));

    Record exact = song(QStringLiteral("bjork"), QString(), 0);
    EXPECT_EQ(songs.get(SON::SongsByArtist, exact), RecordNotFound);
    exact = song(QStringLiteral("ZAPPA"), QStringLiteral("peaches"), 0);
    ASSERT_EQ(songs.get(SON::SongsByArtist, exact), NoError);
    EXPECT_EQ(exact.number(SON::ID), 1);
    EXPECT_EQ(songs.records(), 5);
}

TEST_F(StoreTest, KeysLeaveOutEmptyRecordsExceptTheFiveThatKeepAll) {
    Table songs(store, songsTable());
    for (int i = 0; i < 3; ++i) {
        Record blank(songsTable());  // ID 0, no file number, no album
        ASSERT_EQ(songs.add(blank), NoError);
    }
    Record r;
    int inKeyId = 0, inByArtist = 0, inFileNumber = 0;
    songs.setStart(SON::KeyID);
    while (songs.next(r) == NoError)
        ++inKeyId;
    songs.setStart(SON::SongsByArtist);
    while (songs.next(r) == NoError)
        ++inByArtist;
    songs.setStart(SON::KeyFileNumber);
    while (songs.next(r) == NoError)
        ++inFileNumber;
    EXPECT_EQ(inKeyId, 0);
    EXPECT_EQ(inFileNumber, 0);
    EXPECT_EQ(inByArtist, 3);

    // Unique keys accept any number of empty values but refuse a second equal one, ignoring case.
    Table albums(store, albumTable());
    Record a(albumTable()), b(albumTable());
    a.setNumber(ALB::AlbumID, 1);
    a.setText(ALB::Album, QStringLiteral("Homogenic"));
    a.setText(ALB::Artist, QStringLiteral("Björk"));
    b.setNumber(ALB::AlbumID, 2);
    b.setText(ALB::Album, QStringLiteral("HOMOGENIC"));
    b.setText(ALB::Artist, QStringLiteral("BJÖRK"));
    ASSERT_EQ(albums.add(a), NoError);
    EXPECT_EQ(albums.add(b), DuplicateKey);
    EXPECT_EQ(albums.duplicateKey(b), int(ALB::KeyAlbum));
    b.setText(ALB::Album, QStringLiteral("Post"));
    EXPECT_EQ(albums.add(b), NoError);
    EXPECT_EQ(albums.records(), 2);
}

TEST_F(StoreTest, PutAfterAnotherStationChangedTheRecordFailsWith89) {
    Store other(folder.path());
    ASSERT_TRUE(other.connect());
    ASSERT_EQ(other.openFile(songsTable()), NoError);
    Table mine(store, songsTable()), theirs(other, songsTable());
    Record r = song(QStringLiteral("Artist"), QStringLiteral("Title"), 7);
    ASSERT_EQ(mine.add(r), NoError);

    Record myCopy = song(QString(), QString(), 7);
    mine.watch();
    ASSERT_EQ(mine.get(SON::KeyID, myCopy), NoError);

    Record theirCopy = song(QString(), QString(), 7);
    ASSERT_EQ(theirs.get(SON::KeyID, theirCopy), NoError);
    theirCopy.setText(SON::Title, QStringLiteral("Their title"));
    ASSERT_EQ(theirs.put(theirCopy), NoError);

    myCopy.setText(SON::Title, QStringLiteral("My title"));
    EXPECT_EQ(mine.put(myCopy), ChangedByAnotherStation);
    Record check = song(QString(), QString(), 7);
    ASSERT_EQ(mine.get(SON::KeyID, check), NoError);
    EXPECT_EQ(check.text(SON::Title), QStringLiteral("Their title"));

    // Watched again and re-read: now the put goes through.
    mine.watch();
    ASSERT_EQ(mine.reget(mine.position(myCopy), myCopy), NoError);
    myCopy.setText(SON::Title, QStringLiteral("My title"));
    EXPECT_EQ(mine.put(myCopy), NoError);
}

TEST_F(StoreTest, TransactionFrameWaitsForTheOtherStationThenFails) {
    Store other(folder.path());
    ASSERT_TRUE(other.connect());
    ASSERT_EQ(other.openFile(songsTable()), NoError);
    ASSERT_EQ(other.logout(2000), NoError);

    // The store's waiting runs on a clock of the test's own.
    int waitedMs = 0, waits = 0;
    store.setWaitFunction([&](int ms) {
        waitedMs += ms;
        ++waits;
    });
    EXPECT_EQ(store.logout(2000), FileLocked);
    EXPECT_EQ(waitedMs, 2000);
    EXPECT_GT(waits, 1);

    // A station that ends its frame while this one waits lets it through.
    waitedMs = 0;
    store.setWaitFunction([&](int ms) {
        waitedMs += ms;
        if (waitedMs >= 500 && other.inTransaction()) {
            EXPECT_EQ(other.commit(), NoError);
        }
    });
    EXPECT_EQ(store.logout(2000), NoError);
    EXPECT_GE(waitedMs, 500);
    EXPECT_LT(waitedMs, 2000);
    EXPECT_FALSE(other.inTransaction());
    EXPECT_EQ(store.rollback(), NoError);
}

TEST_F(StoreTest, RollbackUndoesChangesInEveryTable) {
    Table songs(store, songsTable()), albums(store, albumTable());
    ASSERT_EQ(store.logout(), NoError);
    Record s = song(QStringLiteral("A"), QStringLiteral("B"), 1);
    Record a(albumTable());
    a.setNumber(ALB::AlbumID, 1);
    ASSERT_EQ(songs.add(s), NoError);
    ASSERT_EQ(albums.add(a), NoError);
    ASSERT_EQ(store.rollback(), NoError);
    EXPECT_EQ(songs.records(), 0);
    EXPECT_EQ(albums.records(), 0);
}

TEST_F(StoreTest, FilesKeepTheirLayoutVersionAndRefuseForeignFiles) {
    EXPECT_EQ(store.fileVersion(songsTable()), 2);
    EXPECT_EQ(store.fileVersion(mediaTable()), 1);
    EXPECT_EQ(store.openFile(songsTable()), FileAlreadyOpen);
    // The song file serves A_Songs too.
    EXPECT_EQ(store.openFile(aSongsTable()), NoError);
    store.closeFile(aSongsTable());
    EXPECT_TRUE(store.isOpen(songsTable()));

    store.closeFile(mediaTable());
    QFile::remove(store.filePath(mediaTable()));
    ASSERT_TRUE(QFile::copy(store.filePath(categoriesTable()), store.filePath(mediaTable())));
    EXPECT_EQ(store.openFile(mediaTable()), InvalidDataFile);
    EXPECT_EQ(store.upgradeFile(mediaTable()), LayoutDiffers);
}

}  // namespace

namespace {

TEST_F(StoreTest, ViewJoinsRelatedTablesAndFiltersInKeyOrder) {
    Table songs(store, songsTable()), categories(store, categoriesTable());
    for (auto [id, name] : {std::pair{1, "Jazz"}, {2, "Rock"}}) {
        Record c(categoriesTable());
        c.setNumber(CAT::CategoryID, id);
        c.setText(CAT::Category, QString::fromLatin1(name));
        ASSERT_EQ(categories.add(c), NoError);
    }
    for (int i = 1; i <= 40; ++i) {
        Record s = song(QStringLiteral("Artist %1").arg(i, 2, 10, QLatin1Char('0')), QStringLiteral("T"), i);
        s.setNumber(SON::CategoryID, i % 3);  // 0 = no category: still in the view, with a blank related record
        ASSERT_EQ(songs.add(s), NoError);
    }
    View view(store, songsTable(), SON::SongsByArtist);
    view.addRelated(categoriesTable(), SON::CategoryID, CAT::CategoryID);
    ASSERT_EQ(view.open(), NoError);
    QVector<ViewRow> rows;
    ASSERT_EQ(view.fetch(KeyAnchor::start(), true, 100, rows), NoError);
    ASSERT_EQ(rows.size(), 40);
    EXPECT_EQ(rows[0].related[0].text(CAT::Category), QStringLiteral("Jazz"));  // song 1
    EXPECT_EQ(rows[2].related[0].text(CAT::Category), QString());                // song 3, category 0

    view.setFilter({view.column(1, CAT::Category) + QStringLiteral(" = ?"), {QStringLiteral("ROCK")}});
    ASSERT_EQ(view.open(), NoError);
    ViewRow row;
    QStringList artists;
    view.setEnd();
    while (view.previous(row) == NoError)
        artists << row.primary.text(SON::Artist);
    ASSERT_EQ(artists.size(), 13);
    EXPECT_EQ(artists.front(), QStringLiteral("Artist 38"));
    EXPECT_EQ(artists.back(), QStringLiteral("Artist 02"));

    // A page from the middle, the way a browse reads.
    rows.clear();
    Record probe = song(QStringLiteral("Artist 20"), QString(), 0);
    ASSERT_EQ(view.fetch(KeyAnchor::at(probe, SON::SongsByArtist), true, 3, rows), NoError);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].primary.text(SON::Artist), QStringLiteral("Artist 20"));
    EXPECT_EQ(rows[1].primary.text(SON::Artist), QStringLiteral("Artist 23"));

    // A filter the engine cannot read is refused when the view opens.
    view.setFilter({QStringLiteral("no_such_column = 1"), {}});
    EXPECT_NE(view.open(), NoError);
    EXPECT_EQ(store.lastError().code, DriverError);
    EXPECT_FALSE(store.lastError().driverMessage.isEmpty());
}

}  // namespace

namespace {

TEST_F(StoreTest, StreamModeCollectsAddsUntilFlushAndQuickScanReadsTheSame) {
    Table songs(store, songsTable());
    Store other(folder.path());
    ASSERT_TRUE(other.connect());
    ASSERT_EQ(other.openFile(songsTable()), NoError);
    Table seenByOther(other, songsTable());

    ASSERT_EQ(store.stream(), NoError);
    for (int i = 1; i <= 2000; ++i) {
        Record r = song(QStringLiteral("Artist %1").arg(i % 17), QStringLiteral("Title %1").arg(i), i);
        ASSERT_EQ(songs.add(r), NoError);
    }
    EXPECT_EQ(seenByOther.records(), 0);  // nothing is visible before the flush
    ASSERT_EQ(store.flush(), NoError);
    EXPECT_EQ(seenByOther.records(), 2000);
    EXPECT_GT(songs.bytes(), 0);

    // The same walk with and without the long-read hint gives the same records in the same order.
    QVector<qint64> plain, quick;
    Record r;
    songs.setStart(SON::SongsByTitle);
    while (songs.next(r) == NoError)
        plain << r.number(SON::ID);
    ASSERT_EQ(songs.sendCommand(QStringLiteral("QUICKSCAN=on")), NoError);
    songs.setStart(SON::SongsByTitle);
    while (songs.next(r) == NoError)
        quick << r.number(SON::ID);
    EXPECT_EQ(songs.sendCommand(QStringLiteral("QUICKSCAN=off")), NoError);
    EXPECT_EQ(songs.sendCommand(QStringLiteral("FROBNICATE")), DriverFault);
    EXPECT_EQ(plain.size(), 2000);
    EXPECT_EQ(plain, quick);

    // A change made while walking is seen by the rest of the walk.
    songs.setStart(SON::KeyID);
    ASSERT_EQ(songs.next(r), NoError);
    Record last = song(QString(), QString(), 2000);
    ASSERT_EQ(songs.get(SON::KeyID, last), NoError);
    ASSERT_EQ(songs.remove(last), NoError);
    int seen = 1;
    while (songs.next(r) == NoError)
        ++seen;
    EXPECT_EQ(seen, 1999);
}

}  // namespace
