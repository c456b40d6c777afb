#include "core/access/AccessTestSupport.h"

#include "playlists/GeneratePlaylist.h"
#include "text/DayNumber.h"

#include <QDate>
#include <QMap>
#include <QSet>

using namespace srk;

namespace {

// A fixed day, so that "this year" and "the last 90 days" do not move under the tests.
const qint32 kToday = dayNumberFromDate(QDate(2026, 6, 15));

class GeneratePlaylistTest : public AccessTest {
protected:
    // Songs numbered 1..count in record order, so a line's song number is the record number drawn.
    void songs(int count, qint64 releaseDate = 0, qint64 categoryId = 0) {
        for (int i = 1; i <= count; ++i)
            releasedSong(i, releaseDate, categoryId);
    }

    Record releasedSong(int id, qint64 releaseDate, qint64 categoryId = 0) {
        Record r(songsTable());
        r.setNumber(SON::ID, id);
        r.setText(SON::Title, QStringLiteral("Song %1").arg(id));
        r.setNumber(SON::ReleaseDate, releaseDate);
        r.setNumber(SON::CategoryID, categoryId);
        return add(songsTable(), r);
    }

    void removeSongAt(qint64 recordNumber) {
        Table table(store, songsTable());
        Record r;
        ASSERT_EQ(table.getByPosition(QString::number(recordNumber), r), NoError);
        ASSERT_EQ(table.remove(r), NoError);
    }

    Record header(int id, const QString& description) {
        Record r(playlistMasterTable());
        r.setNumber(PLD::PlaylistID, id);
        r.setText(PLD::PlaylistDescription, description);
        return add(playlistMasterTable(), r);
    }

    PlaylistOutcome generate(const PlaylistRequest& request, quint64 seed) {
        PlaylistRandom random(seed);
        return GeneratePlaylist(access, request, random, kToday);
    }

    // The lines of a playlist in sequence order: sequence -> song number.
    QMap<qint64, qint64> lines(qint64 playlist) {
        QMap<qint64, qint64> out;
        Table table(store, playlistDetailsTable());
        table.setStart(PLA::KeyPlaylistID);
        Record r;
        while (table.next(r) == NoError)
            if (r.number(PLA::PlaylistID) == playlist)
                out.insert(r.number(PLA::PlaylistSeq), r.number(PLA::ID));
        return out;
    }

    // How often each song stands on the playlists made by `runs` runs of 99 songs.
    QMap<qint64, int> songCounts(PlaylistRequest request, int runs) {
        QMap<qint64, int> counts;
        request.size = 99;
        for (int run = 0; run < runs; ++run) {
            const PlaylistOutcome o = generate(request, 1000 + quint64(run));
            EXPECT_EQ(o.status, PlaylistOutcome::Generated);
            for (qint64 id : lines(o.playlistId))
                ++counts[id];
        }
        return counts;
    }

    static int total(const QMap<qint64, int>& counts, qint64 from, qint64 to) {
        int n = 0;
        for (auto it = counts.begin(); it != counts.end(); ++it)
            if (it.key() >= from && it.key() <= to)
                n += it.value();
        return n;
    }
};

TEST_F(GeneratePlaylistTest, SizeZeroAddsTheFirstPlaylistWithNoLines) {
    songs(3);
    const PlaylistOutcome o = generate({}, 1);
    EXPECT_EQ(o.status, PlaylistOutcome::Generated);
    EXPECT_TRUE(o.headerAdded);
    EXPECT_EQ(o.draws, 0);
    EXPECT_EQ(records(playlistMasterTable()), 1);
    EXPECT_EQ(records(playlistDetailsTable()), 0);
    Table master(store, playlistMasterTable());
    Record stored(playlistMasterTable());
    stored.setNumber(PLD::PlaylistID, 1);
    ASSERT_EQ(master.get(PLD::KeyPlaylistID, stored), NoError);
    EXPECT_EQ(stored.text(PLD::PlaylistDescription), QStringLiteral("Play List #1"));
    EXPECT_EQ(stored.number(PLD::LastEditDate), kToday);
    EXPECT_EQ(stored.text(PLD::Notes), QString());
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(GeneratePlaylistTest, AnEmptySongTableIsReportedAndNothingIsAdded) {
    PlaylistRequest request;
    request.size = 10;
    const PlaylistOutcome o = generate(request, 1);
    EXPECT_EQ(o.status, PlaylistOutcome::NoSongs);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Error"));
    EXPECT_EQ(messages.last().text, QStringLiteral("There are no songs to select from"));
    EXPECT_EQ(records(playlistMasterTable()), 0);
    EXPECT_EQ(records(playlistDetailsTable()), 0);
}

TEST_F(GeneratePlaylistTest, TheNumberIsRaisedUntilBothIdAndDescriptionAreFree) {
    songs(2);
    // The next number is 3, but the descriptions of 3 and 4 are taken (letter case aside).
    header(1, QStringLiteral("PLAY LIST #3"));
    header(2, QStringLiteral("Play List #4"));
    const PlaylistOutcome o = generate({}, 1);
    EXPECT_TRUE(o.headerAdded);
    EXPECT_EQ(o.playlistId, 5);
    EXPECT_EQ(o.description, QStringLiteral("Play List #5"));
    EXPECT_EQ(records(playlistMasterTable()), 3);
    EXPECT_EQ(messages.count(), 0);
    // A second run follows on from the highest number.
    EXPECT_EQ(generate({}, 2).description, QStringLiteral("Play List #6"));
}

TEST_F(GeneratePlaylistTest, LinesAreNumberedFromOneAndHoldDrawnSongs) {
    songs(10);
    PlaylistRequest request;
    request.size = 7;
    const PlaylistOutcome o = generate(request, 42);
    EXPECT_EQ(o.linesAdded, 7);
    const QMap<qint64, qint64> got = lines(o.playlistId);
    EXPECT_EQ(got.keys(), (QList<qint64>{1, 2, 3, 4, 5, 6, 7}));
    for (qint64 id : got)
        EXPECT_TRUE(id >= 1 && id <= 10) << id;
    // The same seed makes the same playlist.
    const PlaylistOutcome again = generate(request, 42);
    EXPECT_EQ(lines(again.playlistId), got);
}

TEST_F(GeneratePlaylistTest, RecentAdditionDrawsHalfOfTheTimeFromTheLaterHalf) {
    songs(10);
    PlaylistRequest request;
    const QMap<qint64, int> plain = songCounts(request, 20);
    request.weighting = PlaylistWeighting::RecentAddition;
    const QMap<qint64, int> recent = songCounts(request, 20);
    const double lines = 20 * 99;
    // Records 1-4 come only from the plain draw: 4 in 10 unweighted, half of that weighted;
    // records 5-10 are the rest (INT(10 / 2) = 5 is in the later half).
    EXPECT_NEAR(total(plain, 1, 4) / lines, 0.4, 0.05);
    EXPECT_NEAR(total(recent, 1, 4) / lines, 0.2, 0.05);
    EXPECT_NEAR(total(recent, 5, 10) / lines, 0.8, 0.05);
    // Within the later half every record is equally likely.
    for (qint64 r = 5; r <= 10; ++r)
        EXPECT_NEAR(recent.value(r) / lines, 0.8 / 6, 0.04) << r;
}

TEST_F(GeneratePlaylistTest, OlderAdditionDrawsHalfOfTheTimeFromTheEarlierHalf) {
    songs(10);
    PlaylistRequest request;
    request.weighting = PlaylistWeighting::OlderAddition;
    const QMap<qint64, int> older = songCounts(request, 20);
    const double lines = 20 * 99;
    EXPECT_NEAR(total(older, 1, 5) / lines, 0.75, 0.05);
    EXPECT_NEAR(total(older, 6, 10) / lines, 0.25, 0.05);
}

TEST_F(GeneratePlaylistTest, OlderReleaseKeepsASongOfThisYearAboutHalfOfTheTime) {
    releasedSong(1, releaseYear(kToday));   // this year, stored as a year
    releasedSong(2, 1970);                  // an old year: always kept
    releasedSong(3, 0);                     // no release date: always kept
    PlaylistRequest request;
    request.weighting = PlaylistWeighting::OlderRelease;
    const QMap<qint64, int> counts = songCounts(request, 20);
    // Drawn equally often, song 1 is kept half as often as the others.
    ASSERT_GT(counts.value(2), 300);
    EXPECT_NEAR(double(counts.value(1)) / counts.value(2), 0.5, 0.12);
    EXPECT_NEAR(double(counts.value(3)) / counts.value(2), 1.0, 0.2);
}

TEST_F(GeneratePlaylistTest, RecentReleaseKeepsAnOldDateAboutHalfOfTheTime) {
    releasedSong(1, kToday - 91);   // just older than 90 days
    releasedSong(2, kToday - 90);   // 90 days ago counts as recent
    releasedSong(3, 1970);          // a year before this one
    PlaylistRequest request;
    request.weighting = PlaylistWeighting::RecentRelease;
    const QMap<qint64, int> counts = songCounts(request, 20);
    ASSERT_GT(counts.value(2), 300);
    EXPECT_NEAR(double(counts.value(1)) / counts.value(2), 0.5, 0.12);
    EXPECT_NEAR(double(counts.value(3)) / counts.value(2), 0.5, 0.12);
}

TEST_F(GeneratePlaylistTest, AnImpossibleDateRangeEndsAfter1001DrawsWithNoLines) {
    songs(10, dayNumberFromDate(QDate(1990, 1, 1)));
    PlaylistRequest request;
    request.size = 50;
    request.startDate = dayNumberFromDate(QDate(2000, 1, 1));
    request.endDate = dayNumberFromDate(QDate(2001, 1, 1));
    const PlaylistOutcome o = generate(request, 3);
    EXPECT_EQ(o.status, PlaylistOutcome::Generated);
    EXPECT_EQ(o.draws, 1001);
    EXPECT_EQ(o.linesAdded, 0);
    // The playlist stays, empty.
    EXPECT_EQ(records(playlistMasterTable()), 1);
    EXPECT_EQ(records(playlistDetailsTable()), 0);
}

TEST_F(GeneratePlaylistTest, TheDateRangeAndCategoryKeepOnlyMatchingSongs) {
    category(1, QStringLiteral("Jazz"));
    category(2, QStringLiteral("Rock"));
    const qint64 in = dayNumberFromDate(QDate(1995, 5, 5));
    const qint64 out = dayNumberFromDate(QDate(1985, 5, 5));
    releasedSong(1, in, 1);
    releasedSong(2, in, 2);
    releasedSong(3, out, 1);
    releasedSong(4, in, 1);
    PlaylistRequest request;
    request.size = 40;
    request.startDate = dayNumberFromDate(QDate(1990, 1, 1));
    request.endDate = dayNumberFromDate(QDate(1999, 12, 31));
    request.category = QStringLiteral("jazz");
    const PlaylistOutcome o = generate(request, 9);
    EXPECT_EQ(o.linesAdded, 40);
    QSet<qint64> seen;
    for (qint64 id : lines(o.playlistId))
        seen.insert(id);
    EXPECT_EQ(seen, (QSet<qint64>{1, 4}));

    request.category = QStringLiteral("Polka");
    EXPECT_EQ(generate(request, 9).status, PlaylistOutcome::UnknownCategory);
    EXPECT_EQ(records(playlistMasterTable()), 1);
}

TEST_F(GeneratePlaylistTest, HolesNeverProduceLines) {
    songs(4);
    // Song 2 deleted: record numbers 1 to 4 are still drawn, and 2 is a hole.
    removeSongAt(2);
    int draws = 0, linesSeen = 0;
    for (quint64 seed = 1; seed <= 30; ++seed) {
        PlaylistRequest request;
        request.size = 10;
        const PlaylistOutcome o = generate(request, seed);
        const QMap<qint64, qint64> got = lines(o.playlistId);
        ASSERT_EQ(got.size(), 10);
        draws += o.draws;
        linesSeen += int(got.size());
        // Only songs at drawn record numbers; sequences run without gaps.
        for (auto it = got.begin(); it != got.end(); ++it) {
            EXPECT_TRUE(it.value() == 1 || it.value() == 3 || it.value() == 4) << it.value();
            EXPECT_EQ(it.key(), std::distance(got.begin(), it) + 1);
        }
    }
    // A quarter of the draws found the hole and added nothing.
    EXPECT_NEAR(double(linesSeen) / draws, 3.0 / 4.0, 0.06);
}

TEST_F(GeneratePlaylistTest, SongsAfterDeletedOnesAreStillDrawn) {
    songs(3);
    // One record left, at number 3: numbers 1 and 2 are holes, and 3 is still drawn.
    removeSongAt(1);
    removeSongAt(2);
    PlaylistRequest request;
    request.size = 5;
    const PlaylistOutcome o = generate(request, 8);
    EXPECT_EQ(lines(o.playlistId).values(), QList<qint64>(5, 3));
    EXPECT_EQ(o.holes, o.draws - 5);
    EXPECT_GT(o.holes, 0);
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(GeneratePlaylistTest, AFailedLineIsReportedAndItsSequenceIsUsedUp) {
    songs(3);
    // Lines left behind by an older catalogue for a playlist number that has no header any more.
    playlistLine(1, 1, 2);
    playlistLine(1, 2, 2);
    PlaylistRequest request;
    request.size = 4;
    const PlaylistOutcome o = generate(request, 5);
    EXPECT_EQ(o.playlistId, 1);
    EXPECT_EQ(o.linesAdded, 2);
    ASSERT_EQ(messages.count(), 2);
    EXPECT_EQ(messages.last().title, QStringLiteral("Error"));
    EXPECT_EQ(messages.last().text,
              QStringLiteral("There was an error (40 - Creates Duplicate Key) adding to the Play List Details file"));
    const QMap<qint64, qint64> got = lines(1);
    EXPECT_EQ(got.keys(), (QList<qint64>{1, 2, 3, 4}));
}

}  // namespace
