#include "AccessTestSupport.h"

#include "access/RecordRoutines.h"

using namespace srk;

namespace {

class RelationDelete : public AccessTest {};
class RelationUpdate : public AccessTest {};

const QString kDeleteRefused = QStringLiteral("Referential Integrity Delete Error");

QString deleteRefusedText(const char* child) {
    return QStringLiteral("This record is referenced from the file ") + QString::fromLatin1(child) +
           QStringLiteral(".  This record cannot be deleted while these references exist.");
}

TEST_F(RelationDelete, SongHeldByAPlaylistIsNotDeleted) {
    const Record held = song(1, QStringLiteral("F1"));
    const Record free = song(2, QStringLiteral("F1"));
    playlistLine(1, 1, 1);
    EXPECT_EQ(deleteWithRetry(access, songsTable(), held), RoutineResult::Failed);
    EXPECT_EQ(messages.titles(), (QStringList{kDeleteRefused, QStringLiteral("Record Update Error")}));
    EXPECT_EQ(messages.shown()[0].text, deleteRefusedText("PlaylistDetails"));
    EXPECT_EQ(songIds(), (QList<qint64>{1, 2}));

    messages.clear();
    EXPECT_EQ(deleteRecord(access, songsTable(), free), RoutineResult::Done);
    EXPECT_EQ(songIds(), QList<qint64>{1});
    EXPECT_EQ(messages.count(), 0);
    EXPECT_EQ(access.useCount(playlistDetailsTable()), 1);
}

TEST_F(RelationDelete, PlaylistTakesOnlyItsOwnLinesWithIt) {
    Record header(playlistMasterTable());
    header.setNumber(PLD::PlaylistID, 2);
    header = add(playlistMasterTable(), header);
    for (int seq : {1, 2, 3})
        playlistLine(2, seq, 10 + seq);
    playlistLine(1, 1, 11);
    playlistLine(3, 1, 11);
    EXPECT_EQ(deleteRecord(access, playlistMasterTable(), header), RoutineResult::Done);
    EXPECT_EQ(records(playlistMasterTable()), 0);
    EXPECT_EQ(records(playlistDetailsTable()), 2);
}

TEST_F(RelationDelete, AlbumTakesItsUnlinkedFiledSongsThenItsLinkedSongs) {
    const Record a = album(1, QStringLiteral("Post"), QStringLiteral("F1"));
    song(1, QStringLiteral("f1"));        // same file number in other letter case: the key's match, taken
    song(2, QStringLiteral("F1"));        // filed under the album, not linked
    song(3, QStringLiteral("F1"), 1, 1);  // filed and linked
    song(4, QStringLiteral("F9"), 1, 2);  // linked, other file number
    song(5, QStringLiteral("F1 "), 0);    // trailing blanks are not part of the text: taken
    song(6, QStringLiteral("F10"), 2, 1); // another album
    song(7, QStringLiteral("F1"));        // after the other-case song in the key: still taken
    song(8, QStringLiteral("F1x"));       // a longer file number: stays
    playlistLine(1, 1, 6);
    EXPECT_EQ(deleteRecord(access, albumTable(), a), RoutineResult::Done);
    EXPECT_EQ(messages.count(), 0);
    EXPECT_EQ(songIds(), (QList<qint64>{6, 8}));
    EXPECT_EQ(records(albumTable()), 0);
    // Playlist lines are not a child of songs: the line of the song that stays stays.
    EXPECT_EQ(records(playlistDetailsTable()), 1);
}

TEST_F(RelationDelete, SharedFileNumberLeavesTheOtherAlbumsSongs) {
    const Record a = album(1, QStringLiteral("Disc One"), QStringLiteral("BOX-1"));
    const Record b = album(2, QStringLiteral("Disc Two"), QStringLiteral("box-1"));
    song(1, QStringLiteral("BOX-1"), 1, 1);  // this album's
    song(2, QStringLiteral("BOX-1"), 2, 1);  // the other album's, same file number
    song(3, QStringLiteral("box-1"), 2, 2);  // the other album's, in another letter case
    song(4, QStringLiteral("Box-1"));        // no album: filed under the number, taken
    song(5, QStringLiteral("BOX-1"), 7, 1);  // an album number nobody has: still another album's
    playlistLine(1, 1, 2);                   // held songs of the other album do not stop the delete
    EXPECT_EQ(deleteRecord(access, albumTable(), a), RoutineResult::Done);
    EXPECT_EQ(messages.count(), 0);
    EXPECT_EQ(songIds(), (QList<qint64>{2, 3, 5}));
    EXPECT_EQ(records(albumTable()), 1);
    EXPECT_EQ(reread(b).number(ALB::AlbumID), 2);
    EXPECT_EQ(records(playlistDetailsTable()), 1);
}

TEST_F(RelationDelete, PlaylistLineOnAnySongTheAlbumDeleteWouldRemoveUndoesIt) {
    const Record a = album(4, QStringLiteral("Live"), QStringLiteral("F1"));
    song(1, QStringLiteral("f1"));        // reached only through the file number, in another letter case
    song(2, QStringLiteral("F1"), 4, 1);  // linked and filed under the album's number
    song(3, QStringLiteral("F2"), 4, 2);  // linked, filed elsewhere
    song(4, QStringLiteral("F1"), 5, 1);  // another album's: stays whatever happens
    for (int held : {1, 2, 3}) {
        SCOPED_TRACE(held);
        messages.clear();
        const Record line = playlistLine(1, held, held);
        EXPECT_EQ(deleteRecord(access, albumTable(), a), RoutineResult::Failed);
        ASSERT_EQ(messages.count(), 1);
        EXPECT_EQ(messages.last().title, kDeleteRefused);
        EXPECT_EQ(messages.last().text, deleteRefusedText("PlaylistDetails"));
        EXPECT_EQ(songIds(), (QList<qint64>{1, 2, 3, 4}));
        EXPECT_EQ(records(albumTable()), 1);
        EXPECT_FALSE(store.inTransaction());
        Table lines(store, playlistDetailsTable());
        ASSERT_EQ(lines.remove(reread(line)), NoError);
    }
    messages.clear();
    playlistLine(1, 9, 4);
    EXPECT_EQ(deleteRecord(access, albumTable(), a), RoutineResult::Done);
    EXPECT_EQ(messages.count(), 0);
    EXPECT_EQ(songIds(), QList<qint64>{4});
}

TEST_F(RelationDelete, LinkedSongHeldByAPlaylistUndoesTheWholeDelete) {
    const Record a = album(1, QStringLiteral("Post"), QStringLiteral("F1"));
    song(1, QStringLiteral("F1"));
    song(2, QStringLiteral("F1"), 1, 1);
    song(3, QStringLiteral("F2"), 1, 2);
    song(4, QStringLiteral("F3"), 1, 3);
    playlistLine(1, 1, 4);
    EXPECT_EQ(deleteRecord(access, albumTable(), a), RoutineResult::Failed);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, kDeleteRefused);
    EXPECT_EQ(messages.last().text, deleteRefusedText("PlaylistDetails"));
    EXPECT_EQ(songIds(), (QList<qint64>{1, 2, 3, 4}));
    EXPECT_EQ(records(albumTable()), 1);
    EXPECT_FALSE(store.inTransaction());
}

TEST_F(RelationDelete, BlankFileNumberDeletesNoSongByFileNumber) {
    const Record a = album(1, QStringLiteral("Post"), QString());
    song(1, QString());
    song(2, QString(), 1, 1);
    song(3, QStringLiteral("F1"));
    EXPECT_EQ(deleteRecord(access, albumTable(), a), RoutineResult::Done);
    EXPECT_EQ(songIds(), (QList<qint64>{1, 3}));
}

TEST_F(RelationDelete, CategoryIsHeldByAlbumsFirstThenBySongs) {
    const Record jazz = category(1, QStringLiteral("Jazz"));
    category(2, QStringLiteral("Blues"));
    Record a = album(1, QStringLiteral("Kind of Blue"), QStringLiteral("F1"), 1);
    Record s = song(1, QStringLiteral("F1"));
    s.setNumber(SON::CategoryID, 1);
    ASSERT_EQ(Table(store, songsTable()).put(s), NoError);

    EXPECT_EQ(deleteRecord(access, categoriesTable(), jazz), RoutineResult::Failed);
    EXPECT_EQ(messages.last().text, deleteRefusedText("Album"));
    a.setNumber(ALB::CategoryID, 2);
    ASSERT_EQ(Table(store, albumTable()).put(a), NoError);
    EXPECT_EQ(deleteRecord(access, categoriesTable(), jazz), RoutineResult::Failed);
    EXPECT_EQ(messages.last().text, deleteRefusedText("Sonorika"));
    s.setNumber(SON::CategoryID, 0);
    ASSERT_EQ(Table(store, songsTable()).put(s), NoError);
    EXPECT_EQ(deleteRecord(access, categoriesTable(), jazz), RoutineResult::Done);
    EXPECT_EQ(records(categoriesTable()), 1);
    EXPECT_EQ(messages.count(), 2);
}

TEST_F(RelationDelete, MediumUsedBySongIsKeptOneUsedOnlyByAnAlbumGoes) {
    const Record cd = medium(QStringLiteral("CD"));
    const Record lp = medium(QStringLiteral("LP"));
    song(1, QString()); // on "CD"
    album(1, QStringLiteral("Post"), QString());
    Record vinyl = album(2, QStringLiteral("Debut"), QString());
    vinyl.setText(ALB::Media, QStringLiteral("LP"));
    ASSERT_EQ(Table(store, albumTable()).put(vinyl), NoError);
    EXPECT_EQ(deleteRecord(access, mediaTable(), cd), RoutineResult::Failed);
    EXPECT_EQ(messages.last().text, deleteRefusedText("Sonorika"));
    EXPECT_EQ(deleteRecord(access, mediaTable(), lp), RoutineResult::Done);
    EXPECT_EQ(records(mediaTable()), 1);
}

TEST_F(RelationDelete, RecordGoneMeanwhileReportsTheRetrievalError) {
    const Record c = category(1, QStringLiteral("Jazz"));
    ASSERT_EQ(Table(store, categoriesTable()).remove(c), NoError);
    EXPECT_EQ(deleteRecord(access, categoriesTable(), c), RoutineResult::Failed);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("Error: (Record Not Found (35)) attempting to access a record from "
                             "the Categories file.  Returning to previous window."));
}

TEST_F(RelationDelete, FrameRefusedWhileAnotherStationHoldsItReportsMessage34) {
    const Record c = category(1, QStringLiteral("Jazz"));
    Store other(folder.path());
    ASSERT_TRUE(other.connect());
    ASSERT_EQ(other.openFile(categoriesTable()), NoError);
    ASSERT_EQ(other.logout(100), NoError);
    EXPECT_EQ(deleteRecord(access, categoriesTable(), c), RoutineResult::Failed);
    other.rollback();
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Transaction Framing Error"));
    EXPECT_TRUE(messages.last().text.endsWith(QStringLiteral(
        ") attempting to frame the delete transaction on Categories.  Delete transaction cancelled.")));
    EXPECT_TRUE(messages.last().text.startsWith(QStringLiteral("Error: (File Is Already Locked (32))")));
    EXPECT_EQ(records(categoriesTable()), 1);
}

TEST_F(RelationUpdate, RenamedMediumIsRenamedInEverySongButNotInAlbums) {
    const Record cd = medium(QStringLiteral("CD"));
    for (int id = 1; id <= 40; ++id)
        song(id, QStringLiteral("F%1").arg(id));
    Record lower = song(41, QString());
    lower.setText(SON::Media, QStringLiteral("cd"));
    ASSERT_EQ(Table(store, songsTable()).put(lower), NoError);
    const Record a = album(1, QStringLiteral("Post"), QString());

    Record renamed = cd;
    renamed.setText(MED::Media, QStringLiteral("Compact Disc"));
    EXPECT_EQ(updateRecord(access, mediaTable(), renamed, cd, true), RoutineResult::Done);
    EXPECT_EQ(messages.count(), 0);

    Table songs(store, songsTable());
    Record r;
    int renamedSongs = 0;
    songs.setStart(SON::KeyID);
    while (songs.next(r) == NoError) {
        if (r.text(SON::Media) == QLatin1String("Compact Disc"))
            ++renamedSongs;
        // Every renamed song carries a new change counter, so another station's watch sees the change.
        EXPECT_EQ(r.changeCount(), r.number(SON::ID) == 41 ? 2 : 1) << r.number(SON::ID);
    }
    // The song holding "cd" is found by the key as "CD" is, and renamed with the rest.
    EXPECT_EQ(renamedSongs, 41);
    EXPECT_EQ(reread(a).text(ALB::Media), QStringLiteral("CD"));
    EXPECT_EQ(reread(cd).text(MED::Media), QStringLiteral("Compact Disc"));
}

TEST_F(RelationUpdate, CategoryNumberHeldByAnAlbumIsResetAndNothingChanges) {
    const Record jazz = category(1, QStringLiteral("Jazz"));
    album(1, QStringLiteral("Kind of Blue"), QString(), 1);
    Record s = song(1, QString());
    s.setNumber(SON::CategoryID, 1);
    ASSERT_EQ(Table(store, songsTable()).put(s), NoError);

    Record changed = jazz;
    changed.setNumber(CAT::CategoryID, 7);
    changed.setText(CAT::Category, QStringLiteral("Modal Jazz"));
    EXPECT_EQ(updateRecord(access, categoriesTable(), changed, jazz, true), RoutineResult::Failed);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Referential Integrity Update Error"));
    EXPECT_EQ(messages.last().text,
              QStringLiteral(
                  "This record is referenced from the file Album.  Linking field(s) have been restricted "
                  "from change and have been reset to original values."));
    EXPECT_EQ(changed.number(CAT::CategoryID), 1);
    EXPECT_EQ(changed.text(CAT::Category), QStringLiteral("Modal Jazz"));
    EXPECT_EQ(reread(jazz).text(CAT::Category), QStringLiteral("Jazz"));
    EXPECT_EQ(reread(s).number(SON::CategoryID), 1);

    // Saving again keeps the reset number; the rename alone goes through.
    messages.clear();
    messages.addAnswer(ButtonOk);
    messages.addAnswer(ButtonYes);
    changed.setNumber(CAT::CategoryID, 7);
    EXPECT_EQ(updateWithRetry(access, categoriesTable(), changed, jazz, true), UpdateOutcome::Saved);
    EXPECT_EQ(messages.titles(), (QStringList{QStringLiteral("Referential Integrity Update Error"),
                                              QStringLiteral("Record Update Error")}));
    EXPECT_EQ(reread(jazz).text(CAT::Category), QStringLiteral("Modal Jazz"));
    EXPECT_EQ(reread(jazz).number(CAT::CategoryID), 1);
}

TEST_F(RelationUpdate, CategoryNumberUsedOnlyBySongsIsCarriedOver) {
    const Record jazz = category(1, QStringLiteral("Jazz"));
    Record s = song(1, QString());
    s.setNumber(SON::CategoryID, 1);
    ASSERT_EQ(Table(store, songsTable()).put(s), NoError);
    const Record other = song(2, QString());
    Record changed = jazz;
    changed.setNumber(CAT::CategoryID, 7);
    EXPECT_EQ(updateRecord(access, categoriesTable(), changed, jazz, true), RoutineResult::Done);
    EXPECT_EQ(reread(s).number(SON::CategoryID), 7);
    EXPECT_EQ(reread(other).number(SON::CategoryID), 0);
}

TEST_F(RelationUpdate, AlbumCarriesNewFileNumberAndNumberToItsSongs) {
    const Record a = album(1, QStringLiteral("Post"), QStringLiteral("F1"));
    const Record filed = song(1, QStringLiteral("F1"));
    const Record linked = song(2, QStringLiteral("F9"), 1, 1);
    const Record otherCase = song(3, QStringLiteral("f1"));
    const Record otherFile = song(4, QStringLiteral("F11"));
    Record changed = a;
    changed.setText(ALB::FileNumber, QStringLiteral("G7"));
    changed.setNumber(ALB::AlbumID, 8);
    EXPECT_EQ(updateRecord(access, albumTable(), changed, a, true), RoutineResult::Done);
    EXPECT_EQ(reread(filed).text(SON::FileNumber), QStringLiteral("G7"));
    EXPECT_EQ(reread(linked).number(SON::AlbumID), 8);
    EXPECT_EQ(reread(linked).text(SON::FileNumber), QStringLiteral("F9"));
    EXPECT_EQ(reread(otherCase).text(SON::FileNumber), QStringLiteral("G7"));
    EXPECT_EQ(reread(otherFile).text(SON::FileNumber), QStringLiteral("F11"));
    EXPECT_EQ(reread(a).number(ALB::AlbumID), 8);
}

TEST_F(RelationUpdate, ChangeByAnotherStationShowsTheirValues) {
    const Record a = album(1, QStringLiteral("Post"), QStringLiteral("F1"));
    Store other(folder.path());
    ASSERT_TRUE(other.connect());
    ASSERT_EQ(other.openFile(albumTable()), NoError);

    for (bool showChanges : {true, false}) {
        SCOPED_TRACE(showChanges);
        messages.clear();
        const Record mine = reread(a);
        Record theirs(albumTable());
        Table theirTable(other, albumTable());
        ASSERT_EQ(theirTable.getByPosition(theirTable.position(a), theirs), NoError);
        theirs.setText(ALB::Album,
                       showChanges ? QStringLiteral("Their Post") : QStringLiteral("Their Post 2"));
        ASSERT_EQ(theirTable.put(theirs), NoError);

        Record edited = mine;
        edited.setText(ALB::Album, QStringLiteral("My Post"));
        edited.setText(ALB::FileNumber, QStringLiteral("F2"));
        EXPECT_EQ(updateRecord(access, albumTable(), edited, mine, showChanges), RoutineResult::ChangedElsewhere);
        ASSERT_EQ(messages.count(), 1);
        if (showChanges) {
            EXPECT_EQ(messages.last().title, QStringLiteral("Record Was Not Updated"));
        } else {
            EXPECT_EQ(messages.last().title, QStringLiteral("Update Operation Error"));
            EXPECT_EQ(messages.last().text, QStringLiteral("This record was changed by another station."));
        }
        EXPECT_EQ(edited.text(ALB::Album), theirs.text(ALB::Album));
        EXPECT_EQ(edited.text(ALB::FileNumber), QStringLiteral("F1"));
        EXPECT_EQ(reread(a).text(ALB::Album), theirs.text(ALB::Album));

        // Edited again from the refreshed values, the change goes through.
        const Record refreshed = edited;
        edited.setText(ALB::Album, QStringLiteral("Mine at last"));
        EXPECT_EQ(updateRecord(access, albumTable(), edited, refreshed, showChanges), RoutineResult::Done);
        EXPECT_EQ(reread(a).text(ALB::Album), QStringLiteral("Mine at last"));
    }
}

TEST_F(RelationUpdate, FailedPutNamesTheTableAndChangesNothing) {
    album(1, QStringLiteral("Post"), QString());
    const Record b = album(2, QStringLiteral("Debut"), QString());
    Record changed = b;
    changed.setText(ALB::Album, QStringLiteral("POST"));
    messages.addAnswer(ButtonOk);
    messages.addAnswer(ButtonNo);
    EXPECT_EQ(updateWithRetry(access, albumTable(), changed, b, true), UpdateOutcome::LeaveUnsaved);
    ASSERT_EQ(messages.count(), 2);
    EXPECT_EQ(
        messages.shown()[0].text,
        QStringLiteral("An error (Creates Duplicate Key (40)) was experienced when attempting to update a "
                       "record from the file.  Probable Cause: Album."));
    EXPECT_EQ(reread(b).text(ALB::Album), QStringLiteral("Debut"));
    // Nothing changed: no write at all and no question.
    messages.clear();
    EXPECT_EQ(updateWithRetry(access, albumTable(), changed = b, b, true), UpdateOutcome::Saved);
    EXPECT_EQ(messages.count(), 0);
}

} // namespace
