#include "core/access/AccessTestSupport.h"
#include "support/RefusedReads.h"

#include "albums/CopyToAlbum.h"

#include <sqlite3.h>

using namespace srk;

namespace {

class CopyToAlbumRun : public AccessTest {
protected:
    // A song that is not linked to any album yet.
    Record looseSong(int id, const QString& artist, const QString& albumName, qint64 albumId = 0) {
        Record r(songsTable());
        r.setNumber(SON::ID, id);
        r.setText(SON::Artist, artist);
        r.setText(SON::Title, QStringLiteral("Title %1").arg(id));
        r.setText(SON::Album, albumName);
        r.setNumber(SON::AlbumID, albumId);
        return add(songsTable(), r);
    }

    // Runs the job to its end with a bound on the number of steps, so a job that never ends fails.
    int runToEnd(CopyToAlbum& job) {
        int steps = 0;
        while (job.step())
            if (++steps > 100000)
                break;
        return steps;
    }

    QList<Record> allAlbums() {
        QList<Record> albums;
        Table table(store, albumTable());
        Record r;
        table.setStart(ALB::KeyAlbumID);
        while (table.next(r) == NoError)
            albums << r;
        return albums;
    }

    // The song file in record order.
    QList<Record> allSongs() {
        QList<Record> songs;
        Table table(store, songsTable());
        Record r;
        table.setStart(-1);
        while (table.next(r) == NoError)
            songs << r;
        return songs;
    }

    void addSongsInBulk(int count, const std::function<void(int, Record&)>& fill) {
        ASSERT_EQ(store.stream(), NoError);
        Table table(store, songsTable());
        Record r(songsTable());
        for (int i = 0; i < count; ++i) {
            r.clear();
            r.setNumber(SON::ID, i + 1);
            fill(i, r);
            ASSERT_EQ(table.add(r), NoError);
        }
        ASSERT_EQ(store.flush(), NoError);
    }
};

TEST_F(CopyToAlbumRun, TenSongsOfOneAlbumMakeOneAlbumTakingTheFirstSongsFields) {
    for (int i = 1; i <= 10; ++i) {
        Record r(songsTable());
        r.setNumber(SON::ID, i);
        r.setText(SON::Artist, QStringLiteral("Björk"));
        r.setText(SON::Album, QStringLiteral("Homogenic"));
        r.setText(SON::Media, i == 1 ? QStringLiteral("CD") : QStringLiteral("LP"));
        r.setText(SON::FileNumber, QStringLiteral("F-%1").arg(i));
        r.setNumber(SON::ReleaseDate, 71000 + i);
        r.setNumber(SON::CategoryID, i);
        r.setText(SON::Notes, QStringLiteral("Notes of song %1").arg(i));
        // Letter case differs from the first song: the key still finds the album made for it.
        if (i == 7)
            r.setText(SON::Album, QStringLiteral("HOMOGENIC"));
        add(songsTable(), r);
    }

    CopyToAlbum job(access);
    EXPECT_EQ(job.title(), QStringLiteral("Processing Records"));
    EXPECT_EQ(job.textLine(), QStringLiteral("Copying..."));
    EXPECT_EQ(job.percent(), 0);
    runToEnd(job);

    EXPECT_TRUE(job.completed());
    EXPECT_FALSE(job.cancelled());
    EXPECT_EQ(job.percent(), 100);
    EXPECT_EQ(job.albumsMade(), 1);
    EXPECT_EQ(job.songsLinked(), 10);
    EXPECT_EQ(messages.count(), 0);

    const QList<Record> albums = allAlbums();
    ASSERT_EQ(albums.size(), 1);
    const Record& a = albums.first();
    EXPECT_EQ(a.number(ALB::AlbumID), 1);
    EXPECT_EQ(a.text(ALB::Artist), QStringLiteral("Björk"));
    EXPECT_EQ(a.text(ALB::Album), QStringLiteral("Homogenic"));
    EXPECT_EQ(a.text(ALB::Media), QStringLiteral("CD"));
    EXPECT_EQ(a.text(ALB::FileNumber), QStringLiteral("F-1"));
    EXPECT_EQ(a.number(ALB::ReleaseDate), 71001);
    EXPECT_EQ(a.number(ALB::CategoryID), 1);
    EXPECT_EQ(a.text(ALB::Notes), QStringLiteral("Notes of song 1"));
    for (const Record& s : allSongs())
        EXPECT_EQ(s.number(SON::AlbumID), 1) << s.number(SON::ID);
}

TEST_F(CopyToAlbumRun, LooksUpOwnArtistThenVariousThenNumbersAfterTheHighestAlbum) {
    namedAlbum(4, QStringLiteral("Various"), QStringLiteral("Now 12"));
    namedAlbum(9, QStringLiteral("Cash, Johnny"), QStringLiteral("At Folsom Prison"));
    namedAlbum(12, QStringLiteral("Cash, Johnny"), QStringLiteral("Now 12"));
    // A compilation song: its artist has no album of that name, "Various" has.
    const Record compilation = looseSong(1, QStringLiteral("Parton, Dolly"), QStringLiteral("Now 12"));
    // Its own artist's album comes before "Various".
    const Record own = looseSong(2, QStringLiteral("Cash, Johnny"), QStringLiteral("Now 12"));
    const Record prison = looseSong(3, QStringLiteral("cash, johnny"), QStringLiteral("at folsom prison"));
    // Nothing under either name: a new album numbered after the highest (12), not after the count.
    const Record fresh = looseSong(4, QStringLiteral("Simone, Nina"), QStringLiteral("Pastel Blues"));

    CopyToAlbum job(access);
    runToEnd(job);
    ASSERT_TRUE(job.completed());
    EXPECT_EQ(reread(compilation).number(SON::AlbumID), 4);
    EXPECT_EQ(reread(own).number(SON::AlbumID), 12);
    EXPECT_EQ(reread(prison).number(SON::AlbumID), 9);
    EXPECT_EQ(reread(fresh).number(SON::AlbumID), 13);
    EXPECT_EQ(job.albumsMade(), 1);
    EXPECT_EQ(records(albumTable()), 4);
}

TEST_F(CopyToAlbumRun, LinkedSongsKeepTheirAlbumAndASecondRunChangesNothing) {
    namedAlbum(3, QStringLiteral("Gaye, Marvin"), QStringLiteral("What's Going On"));
    // Linked to album 3 although its name says otherwise: the link is left as it is.
    const Record linked = looseSong(1, QStringLiteral("Franklin, Aretha"), QStringLiteral("Lady Soul"), 3);
    const Record loose = looseSong(2, QStringLiteral("Franklin, Aretha"), QStringLiteral("Lady Soul"));

    {
        CopyToAlbum job(access);
        runToEnd(job);
        ASSERT_TRUE(job.completed());
        EXPECT_EQ(job.songsRead(), 2);
        EXPECT_EQ(job.songsLinked(), 1);
    }
    const Record linkedAfter = reread(linked);
    EXPECT_EQ(linkedAfter.number(SON::AlbumID), 3);
    EXPECT_TRUE(linkedAfter.sameValues(linked));
    EXPECT_EQ(reread(loose).number(SON::AlbumID), 4);

    CopyToAlbum again(access);
    runToEnd(again);
    EXPECT_TRUE(again.completed());
    EXPECT_EQ(again.songsLinked(), 0);
    EXPECT_EQ(again.albumsMade(), 0);
    EXPECT_EQ(records(albumTable()), 2);
}

TEST_F(CopyToAlbumRun, SongsWithNeitherArtistNorAlbumStayUnlinkedInsteadOfMakingNamelessAlbums) {
    const Record nameless1 = looseSong(1, QString(), QString());
    const Record nameless2 = looseSong(2, QString(), QString());
    const Record single = looseSong(3, QStringLiteral("Cash, Johnny"), QString());
    CopyToAlbum job(access);
    runToEnd(job);
    ASSERT_TRUE(job.completed());
    EXPECT_EQ(reread(nameless1).number(SON::AlbumID), 0);
    EXPECT_EQ(reread(nameless2).number(SON::AlbumID), 0);
    // An artist without an album title still gets the album the algorithm makes for it.
    EXPECT_NE(reread(single).number(SON::AlbumID), 0);
    EXPECT_EQ(records(albumTable()), 1);
}

TEST_F(CopyToAlbumRun, ManySlicesLinkEveryAlbumOnceWithWholeRisingPercentages) {
    // 2500 songs of 50 albums, interleaved so that each album's songs lie in several slices.
    addSongsInBulk(2500, [](int i, Record& r) {
        r.setText(SON::Artist, QStringLiteral("Artist %1").arg(i % 50));
        r.setText(SON::Album, QStringLiteral("Album %1").arg(i % 50));
    });

    CopyToAlbum job(access);
    QList<int> seen;
    int steps = 0;
    while (job.step()) {
        seen << job.percent();
        ASSERT_LT(++steps, 100);
    }
    seen << job.percent();
    // The positioning step, two full slices and the short last one that ends the run.
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(seen, (QList<int>{0, 40, 80, 100}));
    EXPECT_TRUE(job.completed());
    EXPECT_EQ(job.songsRead(), 2500);
    EXPECT_EQ(job.albumsMade(), 50);
    EXPECT_EQ(records(albumTable()), 50);

    QHash<QString, qint64> idOfAlbum;
    for (const Record& s : allSongs()) {
        const qint64 id = s.number(SON::AlbumID);
        ASSERT_GT(id, 0);
        const QString name = s.text(SON::Album);
        if (!idOfAlbum.contains(name))
            idOfAlbum.insert(name, id);
        EXPECT_EQ(idOfAlbum.value(name), id) << name.toStdString();
    }
    EXPECT_EQ(idOfAlbum.size(), 50);
}

TEST_F(CopyToAlbumRun, CancelBetweenSlicesKeepsWhatWasDoneAndStopsReading) {
    addSongsInBulk(2500, [](int i, Record& r) {
        r.setText(SON::Artist, QStringLiteral("Artist"));
        r.setText(SON::Album, QStringLiteral("Album %1").arg(i / 10));
    });

    CopyToAlbum job(access);
    ASSERT_TRUE(job.step());  // positions
    ASSERT_TRUE(job.step());  // first slice
    job.cancel();
    EXPECT_FALSE(job.step());
    EXPECT_FALSE(job.step());
    EXPECT_FALSE(job.completed());
    EXPECT_EQ(job.outcome(), CopyToAlbum::Outcome::Cancelled);
    EXPECT_EQ(job.songsRead(), CopyToAlbum::kRecordsPerSlice);
    EXPECT_EQ(job.percent(), 40);

    const QList<Record> songs = allSongs();
    ASSERT_EQ(songs.size(), 2500);
    for (int i = 0; i < songs.size(); ++i)
        EXPECT_EQ(songs[i].number(SON::AlbumID) != 0, i < CopyToAlbum::kRecordsPerSlice) << i;
    EXPECT_EQ(records(albumTable()), 100);
    EXPECT_FALSE(store.inTransaction());
}

TEST_F(CopyToAlbumRun, RefusedWriteShowsProcessPutErrorAndEndsCancelledKeepingEarlierLinks) {
    addSongsInBulk(1500, [](int i, Record& r) {
        r.setText(SON::Artist, QStringLiteral("Artist"));
        r.setText(SON::Album, QStringLiteral("Album %1").arg(i / 100));
    });
    // The engine refuses to rewrite song 1200.
    const QString sql = QStringLiteral(
                            "CREATE TEMP TRIGGER refuse BEFORE UPDATE ON \"%1\".records WHEN NEW.\"ID\" = 1200 "
                            "BEGIN SELECT RAISE(ABORT, 'refused'); END")
                            .arg(Store::schemaName(songsTable()));
    ASSERT_EQ(sqlite3_exec(store.handle(), sql.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);

    CopyToAlbum job(access);
    runToEnd(job);
    EXPECT_FALSE(job.completed());
    EXPECT_TRUE(job.cancelled());
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Process PUT Error"));
    EXPECT_TRUE(messages.last().text.startsWith(
        QStringLiteral("An error was experienced when making changes to the Process:ViewPut file.  Error: ")))
        << messages.last().text.toStdString();
    EXPECT_FALSE(store.inTransaction());

    for (const Record& s : allSongs()) {
        const qint64 id = s.number(SON::ID);
        // The first slice was committed; the slice of the refused song (1001-2000) keeps nothing.
        EXPECT_EQ(s.number(SON::AlbumID) != 0, id <= 1000) << id;
    }
    EXPECT_EQ(job.songsLinked(), 1000);
    EXPECT_EQ(job.albumsMade(), 10);
    EXPECT_EQ(records(albumTable()), 10);
}

TEST_F(CopyToAlbumRun, RefusedAlbumAddStopsTheRunWithTheSongUnlinkedAndNamesTheAlbumFile) {
    addSongsInBulk(30, [](int i, Record& r) {
        r.setText(SON::Artist, QStringLiteral("Artist"));
        r.setText(SON::Album, QStringLiteral("Album %1").arg(i / 10));
    });
    // The album file takes the first album, then refuses the second, as a file turned read-only would.
    const QString sql = QStringLiteral(
                            "CREATE TEMP TRIGGER refuse BEFORE INSERT ON \"%1\".records WHEN NEW.\"AlbumID\" = 2 "
                            "BEGIN SELECT RAISE(ABORT, 'attempt to write a readonly database'); END")
                            .arg(Store::schemaName(albumTable()));
    ASSERT_EQ(sqlite3_exec(store.handle(), sql.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);

    CopyToAlbum job(access);
    runToEnd(job);
    EXPECT_FALSE(job.completed());
    EXPECT_TRUE(job.cancelled());
    // The failure rolls back its slice: the album made for songs 1-10 and their links go with it.
    EXPECT_EQ(job.albumsMade(), 0);
    EXPECT_EQ(job.songsLinked(), 0);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Process PUT Error"));
    EXPECT_TRUE(messages.last().text.startsWith(
        QStringLiteral("An error was experienced when making changes to the Album file.  Error: attempt to write")))
        << messages.last().text.toStdString();
    EXPECT_TRUE(job.errorText().startsWith(store.filePath(albumTable()) + QStringLiteral(": ")))
        << job.errorText().toStdString();
    EXPECT_TRUE(job.errorText().contains(QStringLiteral("readonly")));
    EXPECT_FALSE(store.inTransaction());

    // No song points at an album that does not exist.
    EXPECT_TRUE(allAlbums().isEmpty());
    for (const Record& s : allSongs())
        EXPECT_EQ(s.number(SON::AlbumID), 0) << s.number(SON::ID);
}

TEST_F(CopyToAlbumRun, SongReadErrorShowsRecordRetrievalErrorAndEndsTheRun) {
    addSongsInBulk(2500, [](int i, Record& r) { r.setText(SON::Album, QStringLiteral("Album %1").arg(i / 10)); });
    CopyToAlbum job(access);
    ASSERT_TRUE(job.step());
    ASSERT_TRUE(job.step());
    {
        srk::testing::RefusedReads refused(store, songsTable());
        EXPECT_FALSE(job.step());
    }
    EXPECT_FALSE(job.step());
    EXPECT_FALSE(job.completed());
    EXPECT_TRUE(job.cancelled());
    EXPECT_EQ(job.songsRead(), 1000);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Record Retrieval Error"));
    EXPECT_TRUE(messages.last().text.endsWith(
        QStringLiteral(") attempting to access a record from the Sonorika file.  Returning to previous window.")))
        << messages.last().text.toStdString();
    EXPECT_FALSE(store.inTransaction());
}

TEST_F(CopyToAlbumRun, AlbumReadErrorNamesTheAlbumTableAndLinksNothingWrongly) {
    looseSong(1, QStringLiteral("Artist"), QStringLiteral("First"));
    looseSong(2, QStringLiteral("Artist"), QStringLiteral("Second"));
    CopyToAlbum job(access);
    ASSERT_TRUE(job.step());
    {
        srk::testing::RefusedReads refused(store, albumTable());
        EXPECT_FALSE(job.step());
    }
    EXPECT_TRUE(job.cancelled());
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Record Retrieval Error"));
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("from the Album file.")));
    for (const Record& s : allSongs())
        EXPECT_EQ(s.number(SON::AlbumID), 0);
    EXPECT_EQ(records(albumTable()), 0);
}

TEST_F(CopyToAlbumRun, EmptySongTableCompletesAtOnceAndClosesItsTables) {
    const int songUses = access.useCount(songsTable());
    const int albumUses = access.useCount(albumTable());
    {
        CopyToAlbum job(access);
        EXPECT_EQ(access.useCount(songsTable()), songUses + 1);
        EXPECT_EQ(access.useCount(albumTable()), albumUses + 1);
        EXPECT_LE(runToEnd(job), 1);
        EXPECT_TRUE(job.completed());
        EXPECT_EQ(job.percent(), 100);
    }
    EXPECT_EQ(access.useCount(songsTable()), songUses);
    EXPECT_EQ(access.useCount(albumTable()), albumUses);
    EXPECT_EQ(records(albumTable()), 0);
}

}  // namespace
