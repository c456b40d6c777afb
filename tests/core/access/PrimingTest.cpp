#include "AccessTestSupport.h"

#include "access/AutoNumber.h"
#include "access/Priming.h"

using namespace srk;

namespace {

class PrimingNumbers : public AccessTest {};
class Priming : public AccessTest {};

TEST_F(PrimingNumbers, FirstNumberIsOneAndAFreedHighestNumberIsReused) {
    qint64 n = 0;
    ASSERT_EQ(nextAutoNumber(store, categoriesTable(), Record(), n), NoError);
    EXPECT_EQ(n, 1);
    category(1, QStringLiteral("Jazz"));
    category(2, QStringLiteral("Blues"));
    const Record top = category(5, QStringLiteral("Rock"));
    ASSERT_EQ(nextAutoNumber(store, categoriesTable(), Record(), n), NoError);
    EXPECT_EQ(n, 6);
    ASSERT_EQ(Table(store, categoriesTable()).remove(top), NoError);
    ASSERT_EQ(nextAutoNumber(store, categoriesTable(), Record(), n), NoError);
    EXPECT_EQ(n, 3);

    // Songs still numbered 0 are not in the number key and do not count.
    song(0, QString());
    ASSERT_EQ(nextAutoNumber(store, songsTable(), Record(), n), NoError);
    EXPECT_EQ(n, 1);
    song(41, QString());
    ASSERT_EQ(nextAutoNumber(store, songsTable(), Record(), n), NoError);
    EXPECT_EQ(n, 42);
    ASSERT_EQ(nextAutoNumber(store, mediaTable(), Record(), n), NoError);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(autoNumberField(mediaTable()), -1);
}

TEST_F(PrimingNumbers, TracksCountWithinTheirAlbumAndStopAt255) {
    for (int t : {1, 2, 3})
        song(t, QString(), 5, t);
    song(10, QString(), 7, 9);
    qint64 track = 0;
    ASSERT_EQ(nextTrackNumber(store, 5, track), NoError);
    EXPECT_EQ(track, 4);
    // Album 6 has no songs; the record before its position belongs to album 5.
    ASSERT_EQ(nextTrackNumber(store, 6, track), NoError);
    EXPECT_EQ(track, 1);
    ASSERT_EQ(nextTrackNumber(store, 1, track), NoError);
    EXPECT_EQ(track, 1);
    ASSERT_EQ(nextTrackNumber(store, 7, track), NoError);
    EXPECT_EQ(track, 10);
    song(11, QString(), 7, 255);
    ASSERT_EQ(nextTrackNumber(store, 7, track), NoError);
    EXPECT_EQ(track, 255);
}

TEST_F(PrimingNumbers, PlaylistLinesAndWizardRowsCountWithinTheirParent) {
    playlistLine(2, 1, 100);
    playlistLine(2, 2, 101);
    Record context(playlistDetailsTable());
    qint64 n = 0;
    context.setNumber(PLA::PlaylistID, 2);
    ASSERT_EQ(nextAutoNumber(store, playlistDetailsTable(), context, n), NoError);
    EXPECT_EQ(n, 3);
    context.setNumber(PLA::PlaylistID, 3);
    ASSERT_EQ(nextAutoNumber(store, playlistDetailsTable(), context, n), NoError);
    EXPECT_EQ(n, 1);

    for (int t : {1, 2}) {
        Record row(addWizardTable());
        row.setNumber(AW::Instance, 1);
        row.setText(AW::Side, QStringLiteral("A"));
        row.setNumber(AW::Track, t);
        add(addWizardTable(), row);
    }
    Record wizard(addWizardTable());
    wizard.setNumber(AW::Instance, 1);
    wizard.setText(AW::Side, QStringLiteral("B"));
    ASSERT_EQ(nextAutoNumber(store, addWizardTable(), wizard, n), NoError);
    EXPECT_EQ(n, 1);
    // The key sees side "a" as side "A".
    wizard.setText(AW::Side, QStringLiteral("a"));
    ASSERT_EQ(nextAutoNumber(store, addWizardTable(), wizard, n), NoError);
    EXPECT_EQ(n, 3);
    wizard.setNumber(AW::Instance, 2);
    ASSERT_EQ(nextAutoNumber(store, addWizardTable(), wizard, n), NoError);
    EXPECT_EQ(n, 1);
}

TEST_F(Priming, KeepsTheFormDefaultsAndACancelledFormLeavesNothing) {
    category(1, QStringLiteral("Jazz"));
    Record r(categoriesTable());
    r.setText(CAT::Category, QStringLiteral("Blues"));
    ASSERT_EQ(prime(access, categoriesTable(), r), PrimeStatus::Primed);
    EXPECT_EQ(r.number(CAT::CategoryID), 2);
    EXPECT_EQ(r.text(CAT::Category), QStringLiteral("Blues"));
    EXPECT_GT(r.rowId(), 0);
    EXPECT_EQ(records(categoriesTable()), 2);
    EXPECT_EQ(reread(r).number(CAT::CategoryID), 2);

    ASSERT_EQ(cancelPrimed(access, categoriesTable(), r), NoError);
    EXPECT_EQ(records(categoriesTable()), 1);
    EXPECT_EQ(messages.count(), 0);
    EXPECT_EQ(access.useCount(categoriesTable()), 1);
}

TEST_F(Priming, SongOfAnAlbumGetsItsNumberAndNextTrack) {
    song(7, QString(), 3, 1);
    song(8, QString(), 3, 2);
    Record r(songsTable());
    r.setNumber(SON::AlbumID, 3);
    r.setText(SON::Media, QStringLiteral("LP"));
    ASSERT_EQ(prime(access, songsTable(), r), PrimeStatus::Primed);
    EXPECT_EQ(r.number(SON::ID), 9);
    EXPECT_EQ(r.number(SON::TrackNumber), 3);
    EXPECT_EQ(reread(r).text(SON::Media), QStringLiteral("LP"));

    // A song without an album keeps the track the form gave it.
    Record loose(songsTable());
    loose.setNumber(SON::TrackNumber, 12);
    ASSERT_EQ(prime(access, songsTable(), loose), PrimeStatus::Primed);
    EXPECT_EQ(loose.number(SON::ID), 10);
    EXPECT_EQ(loose.number(SON::TrackNumber), 12);
}

TEST_F(Priming, CompletingNamesTheDuplicatedKeyAndKeepsTheFormOpen) {
    category(1, QStringLiteral("Jazz"));
    Record r(categoriesTable());
    ASSERT_EQ(prime(access, categoriesTable(), r), PrimeStatus::Primed);
    r.setText(CAT::Category, QStringLiteral("JAZZ"));
    EXPECT_EQ(completePrimed(access, categoriesTable(), r), 1);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Duplicate Key Error"));
    EXPECT_EQ(messages.last().text,
              QStringLiteral("Adding this record creates a duplicate entry for the key:CAT:KeyCategory"));
    EXPECT_TRUE(reread(r).text(CAT::Category).isEmpty());

    r.setText(CAT::Category, QStringLiteral("Swing"));
    EXPECT_EQ(completePrimed(access, categoriesTable(), r), 0);
    EXPECT_EQ(reread(r).text(CAT::Category), QStringLiteral("Swing"));
    EXPECT_EQ(messages.count(), 1);
}

TEST_F(Priming, RepeatedFailedAddsAskToRetryThenCancel) {
    category(1, QStringLiteral("Jazz"));
    // The form's default collides with an existing category, so every add fails.
    Record r(categoriesTable());
    r.setText(CAT::Category, QStringLiteral("Jazz"));
    messages.addAnswer(ButtonRetry);
    messages.addAnswer(ButtonCancel);
    EXPECT_EQ(prime(access, categoriesTable(), r), PrimeStatus::Cancelled);
    ASSERT_EQ(messages.count(), 2);
    EXPECT_EQ(messages.titles(),
              (QStringList{QStringLiteral("Auto Increment Error"), QStringLiteral("Auto Increment Error")}));
    EXPECT_EQ(messages.last().text,
              QStringLiteral("Attempts to automatically number this record have failed.  "
                             "Error: Creates Duplicate Key (40)."));
    EXPECT_EQ(records(categoriesTable()), 1);
    EXPECT_EQ(r.rowId(), 0);
}

TEST_F(Priming, DittoCopyKeepsTheLastCompletedRecordPerForm) {
    Record first(songsTable());
    first.setText(SON::Artist, QStringLiteral("First"));
    Record second = first;
    second.setText(SON::Artist, QStringLiteral("Second"));
    access.ditto().remember(QStringLiteral("UpdateSong"), first);
    access.ditto().remember(QStringLiteral("UpdateSong"), second);
    EXPECT_EQ(access.ditto().lastCompleted(QStringLiteral("UpdateSong")).text(SON::Artist),
              QStringLiteral("Second"));
    EXPECT_EQ(
        access.ditto().dittoValue(QStringLiteral("UpdateSong"), QStringLiteral("SON:Artist")).toString(),
        QStringLiteral("Second"));
    EXPECT_FALSE(access.ditto().lastCompleted(QStringLiteral("UpdateAlbum")).isValid());
    EXPECT_FALSE(access.ditto().dittoValue(QStringLiteral("UpdateAlbum"), SON::Artist).isValid());
}

} // namespace
