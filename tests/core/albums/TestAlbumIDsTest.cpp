#include "core/access/AccessTestSupport.h"
#include "support/RefusedReads.h"

#include "albums/TestAlbumIDs.h"

#include <sqlite3.h>

using namespace srk;

namespace {

class TestAlbumIDsRun : public AccessTest {
protected:
    Record songOf(int id, const QString& artist, const QString& albumName, qint64 albumId, int title) {
        Record r(songsTable());
        r.setNumber(SON::ID, id);
        r.setText(SON::Artist, artist);
        r.setText(SON::Title, QStringLiteral("Title %1").arg(title, 5, 10, QLatin1Char('0')));
        r.setText(SON::Album, albumName);
        r.setNumber(SON::AlbumID, albumId);
        return add(songsTable(), r);
    }

    // Runs the job to its end with a bound on the number of steps, so a job that never ends fails.
    QList<int> runToEnd(TestAlbumIDs& job) {
        QList<int> shown;
        int steps = 0;
        while (job.step()) {
            shown << job.percent();
            if (++steps > 100000)
                break;
        }
        return shown;
    }

    // count songs in album-name order, song n (from 0) of album "Album n/10" by "Artist", all linked to
    // albumId.
    void addSongsInBulk(int count, qint64 albumId) {
        ASSERT_EQ(store.stream(), NoError);
        Table table(store, songsTable());
        Record r(songsTable());
        for (int i = 0; i < count; ++i) {
            r.clear();
            r.setNumber(SON::ID, i + 1);
            r.setText(SON::Artist, QStringLiteral("Artist"));
            r.setText(SON::Album, QStringLiteral("Album %1").arg(i / 10, 5, 10, QLatin1Char('0')));
            r.setText(SON::Title, QStringLiteral("Title %1").arg(i, 5, 10, QLatin1Char('0')));
            r.setNumber(SON::AlbumID, albumId);
            ASSERT_EQ(table.add(r), NoError);
        }
        ASSERT_EQ(store.flush(), NoError);
    }

    // Song numbers whose album id is albumId.
    QSet<qint64> songsLinkedTo(qint64 albumId) {
        QSet<qint64> ids;
        Table table(store, songsTable());
        Record r;
        table.setStart(-1);
        while (table.next(r) == NoError)
            if (r.number(SON::AlbumID) == albumId)
                ids.insert(r.number(SON::ID));
        return ids;
    }
};

TEST_F(TestAlbumIDsRun, RelinksUnlinksAndNumbersSongsMendingLinksToDeletedOrWrongAlbums) {
    namedAlbum(1, QStringLiteral("Simone, Nina"), QStringLiteral("Pastel Blues"));
    namedAlbum(2, QStringLiteral("Various"), QStringLiteral("Now 12"));
    namedAlbum(3, QStringLiteral("Cash, Johnny"), QStringLiteral("At Folsom Prison"));
    // Songs of one album follow each other in album-name order; the first finds the album by its key.
    const Record first = songOf(1, QStringLiteral("Simone, Nina"), QStringLiteral("Pastel Blues"), 0, 1);
    // Later songs of the same names meet that album in hand: a wrong and a dangling id are replaced.
    const Record wrong = songOf(2, QStringLiteral("Simone, Nina"), QStringLiteral("Pastel Blues"), 3, 2);
    const Record dangling = songOf(3, QStringLiteral("Simone, Nina"), QStringLiteral("Pastel Blues"), 99, 3);
    // A compilation song: its own artist has no album of that name, "Various" has.
    const Record compilation = songOf(4, QStringLiteral("Parton, Dolly"), QStringLiteral("Now 12"), 0, 4);
    // Its album is gone under both names: unlinked.
    const Record gone = songOf(9, QStringLiteral("Waits, Tom"), QStringLiteral("Rain Dogs"), 7, 5);
    // Songs without a number get the highest in use (9) + 2, then the next free ones.
    const Record unnumbered = songOf(0, QStringLiteral("Cash, Johnny"), QStringLiteral("At Folsom Prison"), 3, 6);
    const Record unnumbered2 = songOf(0, QStringLiteral("Cash, Johnny"), QStringLiteral("At Folsom Prison"), 0, 7);
    // Letter case alone differs from the album: the key still finds it.
    const Record otherCase = songOf(5, QStringLiteral("CASH, JOHNNY"), QStringLiteral("at folsom prison"), 0, 8);

    TestAlbumIDs job(access);
    EXPECT_EQ(job.title(), QStringLiteral("Processing Records"));
    EXPECT_EQ(job.textLine(), QStringLiteral("Testing Link Integrity"));
    EXPECT_EQ(job.percent(), 0);
    runToEnd(job);
    EXPECT_TRUE(job.completed());
    EXPECT_FALSE(job.cancelled());
    EXPECT_EQ(job.percent(), 100);
    EXPECT_EQ(messages.count(), 0);
    EXPECT_FALSE(store.inTransaction());

    EXPECT_EQ(reread(first).number(SON::AlbumID), 1);
    EXPECT_EQ(reread(wrong).number(SON::AlbumID), 1);
    EXPECT_EQ(reread(dangling).number(SON::AlbumID), 1);
    EXPECT_EQ(reread(compilation).number(SON::AlbumID), 2);
    EXPECT_EQ(reread(gone).number(SON::AlbumID), 0);
    EXPECT_EQ(reread(unnumbered).number(SON::AlbumID), 3);
    EXPECT_EQ(reread(unnumbered2).number(SON::AlbumID), 3);
    EXPECT_EQ(reread(otherCase).number(SON::AlbumID), 3);
    // Album-name order: "At Folsom Prison" by "CASH, JOHNNY" and "Cash, Johnny" fold alike, then title.
    EXPECT_EQ(reread(unnumbered).number(SON::ID), 11);
    EXPECT_EQ(reread(unnumbered2).number(SON::ID), 12);
    EXPECT_EQ(reread(first).number(SON::ID), 1);
    EXPECT_EQ(songIds(), (QList<qint64>{1, 2, 3, 4, 5, 9, 11, 12}));

    EXPECT_EQ(job.songsRead(), 8);
    // wrong, dangling, compilation, unnumbered2, otherCase, first
    EXPECT_EQ(job.songsRelinked(), 6);
    EXPECT_EQ(job.songsUnlinked(), 1);
    EXPECT_EQ(job.idsGiven(), 2);

    // Everything is in order now: a second run changes nothing.
    TestAlbumIDs again(access);
    runToEnd(again);
    EXPECT_TRUE(again.completed());
    EXPECT_EQ(again.songsRelinked() + again.songsUnlinked() + again.idsGiven(), 0);
    EXPECT_EQ(songIds(), (QList<qint64>{1, 2, 3, 4, 5, 9, 11, 12}));
}

TEST_F(TestAlbumIDsRun, SlicesOfTwentyFiveWithWholeRisingPercentagesFixEveryAlbum) {
    for (int a = 0; a < 100; ++a)
        namedAlbum(a + 1, QStringLiteral("Artist"), QStringLiteral("Album %1").arg(a, 5, 10, QLatin1Char('0')));
    // Every song points at a deleted album, each of its album's ten songs at the same one.
    addSongsInBulk(1000, 5000);
    TestAlbumIDs job(access);
    const QList<int> shown = runToEnd(job);
    ASSERT_TRUE(job.completed());
    // One step positions, then forty of 25 songs and one that finds the end.
    EXPECT_EQ(shown.size(), 1 + 1000 / TestAlbumIDs::kRecordsPerSlice);
    for (int i = 1; i < shown.size(); ++i) {
        EXPECT_GE(shown[i], shown[i - 1]);
        EXPECT_LE(shown[i], 100);
    }
    EXPECT_EQ(shown.value(10), 25);
    EXPECT_EQ(job.songsRelinked(), 1000);
    for (int a = 0; a < 100; ++a) {
        QSet<qint64> expected;
        for (int s = a * 10; s < a * 10 + 10; ++s)
            expected.insert(s + 1);
        EXPECT_EQ(songsLinkedTo(a + 1), expected) << a;
    }
}

TEST_F(TestAlbumIDsRun, CancelStopsBetweenSlicesAndWhatWasRewrittenStays) {
    // No album exists: every dangling link becomes 0.
    addSongsInBulk(3000, 4321);
    TestAlbumIDs job(access);
    ASSERT_TRUE(job.step());  // positions
    for (int i = 0; i < 50; ++i)
        ASSERT_TRUE(job.step());
    job.cancel();
    EXPECT_FALSE(job.step());
    EXPECT_FALSE(job.step());
    EXPECT_FALSE(job.completed());
    EXPECT_EQ(job.outcome(), TestAlbumIDs::Outcome::Cancelled);
    EXPECT_EQ(job.songsRead(), 50 * TestAlbumIDs::kRecordsPerSlice);
    EXPECT_EQ(job.percent(), 41);
    EXPECT_FALSE(store.inTransaction());

    // The first 1250 songs in album-name order (here number order) were unlinked and committed.
    QSet<qint64> first;
    for (int i = 1; i <= 1250; ++i)
        first.insert(i);
    EXPECT_EQ(songsLinkedTo(0), first);
    EXPECT_EQ(songsLinkedTo(4321).size(), 3000 - 1250);
}

TEST_F(TestAlbumIDsRun, RefusedRewriteShowsPutErrorAndRollsBackOnlyTheOpenFrame) {
    addSongsInBulk(1500, 4321);
    const QString sql = QStringLiteral(
                            "CREATE TEMP TRIGGER refuse BEFORE UPDATE ON \"%1\".records WHEN NEW.\"ID\" = 1200 "
                            "BEGIN SELECT RAISE(ABORT, 'refused'); END")
                            .arg(Store::schemaName(songsTable()));
    ASSERT_EQ(sqlite3_exec(store.handle(), sql.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);

    TestAlbumIDs job(access);
    runToEnd(job);
    EXPECT_FALSE(job.completed());
    EXPECT_TRUE(job.cancelled());
    EXPECT_FALSE(job.errorText().isEmpty());
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Process PUT Error"));
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("Process:ViewPut"))) << messages.last().text.toStdString();
    EXPECT_FALSE(store.inTransaction());
    // The first frame of 1000 was committed; the frame holding song 1200 keeps nothing.
    EXPECT_EQ(songsLinkedTo(0).size(), TestAlbumIDs::kRecordsPerFrame);
    EXPECT_FALSE(songsLinkedTo(0).contains(1001));
    EXPECT_EQ(job.songsUnlinked(), TestAlbumIDs::kRecordsPerFrame);
}

TEST_F(TestAlbumIDsRun, AlbumReadErrorNamesTheAlbumFileAndRollsBackOnlyTheOpenFrame) {
    addSongsInBulk(1500, 4321);
    TestAlbumIDs job(access);
    ASSERT_TRUE(job.step());  // positions
    // One frame committed, one slice in the next frame.
    for (int i = 0; i < TestAlbumIDs::kRecordsPerFrame / TestAlbumIDs::kRecordsPerSlice + 1; ++i)
        ASSERT_TRUE(job.step());
    {
        srk::testing::RefusedReads refused(store, albumTable());
        EXPECT_FALSE(job.step());
    }
    EXPECT_FALSE(job.step());
    EXPECT_TRUE(job.cancelled());
    EXPECT_FALSE(job.completed());
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Record Retrieval Error"));
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("from the Album file."))) << messages.last().text.toStdString();
    EXPECT_FALSE(store.inTransaction());
    EXPECT_EQ(songsLinkedTo(0).size(), TestAlbumIDs::kRecordsPerFrame);
    EXPECT_EQ(job.songsUnlinked(), TestAlbumIDs::kRecordsPerFrame);
}

TEST_F(TestAlbumIDsRun, EmptySongTableCompletesAtOnce) {
    TestAlbumIDs job(access);
    runToEnd(job);
    EXPECT_TRUE(job.completed());
    EXPECT_EQ(job.percent(), 100);
    EXPECT_EQ(job.songsRead(), 0);
    EXPECT_EQ(messages.count(), 0);
}

}  // namespace
