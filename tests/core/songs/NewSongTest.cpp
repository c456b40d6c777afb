#include "core/access/AccessTestSupport.h"

#include "songs/NewSong.h"

using namespace srk;

namespace {

class NewSong : public AccessTest {
protected:
    Record primed(qint64 albumId, const QString& media = QString()) {
        Record r(songsTable());
        r.setNumber(SON::AlbumID, albumId);
        r.setText(SON::Media, media);
        EXPECT_EQ(primeSong(access, r), PrimeStatus::Primed);
        return r;
    }
};

TEST_F(NewSong, TrackFollowsTheAlbumsHighestTrack) {
    for (int t = 1; t <= 7; ++t)
        song(t, QString(), 4, t);
    song(20, QString(), 5, 2);
    const Record r = primed(4);
    EXPECT_EQ(r.number(SON::TrackNumber), 8);
    EXPECT_EQ(r.number(SON::ID), 21);
    // The primed song is in the table at once, under its number and track.
    EXPECT_EQ(reread(r).number(SON::TrackNumber), 8);
    EXPECT_EQ(songIds().last(), 21);
    // An album without songs starts at track 1, even with album 5 sorting right before it.
    EXPECT_EQ(primed(6).number(SON::TrackNumber), 1);
}

TEST_F(NewSong, SongsWithoutAnAlbumAreNumberedAmongTheSongsOfAlbumZero) {
    EXPECT_EQ(primed(0).number(SON::TrackNumber), 1);
    song(30, QString(), 0, 3);
    song(31, QString(), 1, 9);
    EXPECT_EQ(primed(0).number(SON::TrackNumber), 4);
}

TEST_F(NewSong, TrackStartsAtZeroWhenTheNextWouldLeaveTheFormsRange) {
    song(40, QString(), 0, 98);
    EXPECT_EQ(primed(0).number(SON::TrackNumber), 99);
    // Album 0 now holds 99 (the primed song): the next would be 100, which the form refuses.
    const Record loose = primed(0);
    EXPECT_EQ(loose.number(SON::TrackNumber), 0);
    EXPECT_EQ(reread(loose).number(SON::TrackNumber), 0);
    EXPECT_EQ(primed(0).number(SON::TrackNumber), 0);
    // The same within an album that is full.
    song(50, QString(), 8, 99);
    EXPECT_EQ(primed(8).number(SON::TrackNumber), 0);
    EXPECT_EQ(primed(9).number(SON::TrackNumber), 1);
}

TEST_F(NewSong, StartsOnCDWhateverMediaItWasGiven) {
    const Record r = primed(0, QStringLiteral("LP"));
    EXPECT_EQ(r.text(SON::Media), QStringLiteral("CD"));
    EXPECT_EQ(reread(r).text(SON::Media), QStringLiteral("CD"));
}

TEST_F(NewSong, SavingReplacesThePrimedRecordAndADuplicateNumberNamesTheUniqueSongID) {
    Record r = primed(0);
    r.setText(SON::Title, QStringLiteral("Naima"));
    ASSERT_TRUE(saveNewSong(access, r));
    EXPECT_EQ(records(songsTable()), 1);
    EXPECT_EQ(reread(r).text(SON::Title), QStringLiteral("Naima"));
    EXPECT_EQ(messages.count(), 0);

    song(50, QString());
    Record other = primed(0);
    other.setNumber(SON::ID, 50);
    EXPECT_FALSE(saveNewSong(access, other));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Duplicate Key Error"));
    EXPECT_EQ(messages.last().text,
              QStringLiteral("Adding this record creates a duplicate entry for the key:Unique Song ID"));
}

} // namespace
