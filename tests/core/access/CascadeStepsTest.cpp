// Relation steps as the engine carries them out: children matched the way their key compares, large
// cascades in slices driven by whoever shows the progress, and all or nothing whatever stops them.

#include "AccessTestSupport.h"

#include "access/CascadeJob.h"
#include "access/RecordRoutines.h"

using namespace srk;

namespace {

// Stands in for the progress window: drives the job one slice at a time, remembering what it saw, and
// presses Cancel after a given number of slices when asked to.
class RecordingRunner : public JobRunner {
public:
    bool run(Job& job, const QString& title, const QString& textLine) override {
        ++windows;
        this->title = title;
        this->textLine = textLine;
        int slices = 0;
        while (job.step()) {
            percents << job.percent();
            if (++slices == cancelAfter)
                job.cancel();
        }
        percents << job.percent();
        return !job.cancelled();
    }
    int windows = 0;
    int cancelAfter = -1;
    QString title, textLine;
    QList<int> percents;
};

class CaseBlindRelation : public AccessTest {};

class LargeCascade : public AccessTest {
protected:
    void SetUp() override {
        AccessTest::SetUp();
        access.setJobRunner(&runner);
    }
    // count songs on a medium, numbered from firstId, in one stream.
    void songsOn(const QString& medium, int count, int firstId, const QString& fileNumber = QString(),
                 int albumId = 0) {
        Table songs(store, songsTable());
        ASSERT_EQ(store.stream(), NoError);
        for (int i = 0; i < count; ++i) {
            Record r(songsTable());
            r.setNumber(SON::ID, firstId + i);
            r.setText(SON::Title, QStringLiteral("Song %1").arg(firstId + i));
            r.setText(SON::Media, medium);
            r.setText(SON::FileNumber, fileNumber);
            r.setNumber(SON::AlbumID, albumId);
            r.setNumber(SON::TrackNumber, i % 250);
            ASSERT_EQ(songs.add(r), NoError);
        }
        ASSERT_EQ(store.flush(), NoError);
    }
    qint64 songsMatching(const QString& where, const QVariantList& binds) {
        Table songs(store, songsTable());
        songs.setFilter({where, binds});
        QVector<Record> rows;
        EXPECT_EQ(songs.fetch(-1, KeyAnchor::start(), true, 1000000, rows), NoError);
        return rows.size();
    }
    RecordingRunner runner;
};

TEST_F(CaseBlindRelation, MediumHeldOnlyInAnotherLetterCaseOrWithAccentsIsNotDeleted) {
    const Record lp = medium(QStringLiteral("LP"));
    const Record video = medium(QStringLiteral("Vidéo"));
    const Record tape = medium(QStringLiteral("Tape"));
    Record s = song(1, QString());
    s.setText(SON::Media, QStringLiteral("lp"));
    ASSERT_EQ(Table(store, songsTable()).put(s), NoError);
    Record t = song(2, QString());
    t.setText(SON::Media, QStringLiteral("VIDÉO"));
    ASSERT_EQ(Table(store, songsTable()).put(t), NoError);
    Record u = song(3, QString());
    u.setText(SON::Media, QStringLiteral("Tapes"));
    ASSERT_EQ(Table(store, songsTable()).put(u), NoError);

    for (const Record& held : {lp, video}) {
        messages.clear();
        EXPECT_EQ(deleteRecord(access, mediaTable(), held), RoutineResult::Failed) << held.text(MED::Media).toStdString();
        ASSERT_EQ(messages.count(), 1);
        EXPECT_EQ(messages.last().title, QStringLiteral("Referential Integrity Delete Error"));
        EXPECT_TRUE(messages.last().text.contains(QStringLiteral("file Sonorika.")));
    }
    // A song holding a longer name does not hold the medium.
    messages.clear();
    EXPECT_EQ(deleteRecord(access, mediaTable(), tape), RoutineResult::Done);
    EXPECT_EQ(messages.count(), 0);
    EXPECT_EQ(records(mediaTable()), 2);
}

TEST_F(CaseBlindRelation, RenameReachesEverySongTheKeyFindsAndOnlyThose) {
    const Record lp = medium(QStringLiteral("LP"));
    const QStringList held{QStringLiteral("LP"), QStringLiteral("lp"), QStringLiteral("Lp "), QStringLiteral("lP")};
    const QStringList other{QStringLiteral("LPs"), QStringLiteral("L P"), QStringLiteral("EP")};
    QList<Record> songs;
    int id = 1;
    for (const QString& m : held + other) {
        Record r = song(id++, QString());
        r.setText(SON::Media, m);
        EXPECT_EQ(Table(store, songsTable()).put(r), NoError);
        songs << r;
    }
    Record renamed = lp;
    renamed.setText(MED::Media, QStringLiteral("Vinyl"));
    EXPECT_EQ(updateRecord(access, mediaTable(), renamed, lp, true), RoutineResult::Done);
    for (qsizetype i = 0; i < songs.size(); ++i)
        EXPECT_EQ(reread(songs[i]).text(SON::Media), i < held.size() ? QStringLiteral("Vinyl") : (held + other)[i])
            << i;

    // Only the letter case changes: every song of the medium takes the new spelling.
    const Record vinyl = reread(renamed);
    Record upper = vinyl;
    upper.setText(MED::Media, QStringLiteral("VINYL"));
    EXPECT_EQ(updateRecord(access, mediaTable(), upper, vinyl, true), RoutineResult::Done);
    for (qsizetype i = 0; i < held.size(); ++i)
        EXPECT_EQ(reread(songs[i]).text(SON::Media), QStringLiteral("VINYL"));
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(LargeCascade, RenameOverManySongsRunsInSlicesThroughTheRunnerAndBumpsEveryCounter) {
    const Record cd = medium(QStringLiteral("CD"));
    const int many = CascadeJob::kSliceRows * 2 + 123;
    songsOn(QStringLiteral("CD"), many - 1, 1);
    songsOn(QStringLiteral("cd"), 1, many);
    songsOn(QStringLiteral("LP"), 50, many + 1);
    Record renamed = cd;
    renamed.setText(MED::Media, QStringLiteral("Compact Disc"));
    EXPECT_EQ(updateRecord(access, mediaTable(), renamed, cd, true), RoutineResult::Done);
    EXPECT_EQ(messages.count(), 0);
    EXPECT_EQ(runner.windows, 1);
    EXPECT_EQ(runner.textLine, QStringLiteral("Updating Sonorika"));
    // At least two slices of rows; the bar only moves forward and ends full.
    ASSERT_GE(runner.percents.size(), 2);
    EXPECT_LT(runner.percents.first(), 100);
    EXPECT_TRUE(std::is_sorted(runner.percents.begin(), runner.percents.end()));
    EXPECT_EQ(runner.percents.last(), 100);
    EXPECT_EQ(songsMatching(QStringLiteral("\"Media\" = 'Compact Disc' COLLATE BINARY AND _chg = 1"), {}), many);
    EXPECT_EQ(songsMatching(QStringLiteral("\"Media\" = 'LP' AND _chg = 0"), {}), 50);

    // A few songs need no window.
    runner.windows = 0;
    const Record lp = medium(QStringLiteral("LP"));
    Record vinyl = lp;
    vinyl.setText(MED::Media, QStringLiteral("Vinyl"));
    EXPECT_EQ(updateRecord(access, mediaTable(), vinyl, lp, true), RoutineResult::Done);
    EXPECT_EQ(runner.windows, 0);
    EXPECT_EQ(songsMatching(QStringLiteral("\"Media\" = 'Vinyl'"), {}), 50);
}

TEST_F(LargeCascade, RenameOfAMediumFewSongsHoldGoesInSlicesTooAndTouchesOnlyItsSongs) {
    // A fifth of the table: the slices follow the key rather than walking the whole table.
    const int many = CascadeJob::kSliceRows + 321;
    songsOn(QStringLiteral("LP"), many * 2, 1);
    songsOn(QStringLiteral("CD"), many, many * 2 + 1);
    songsOn(QStringLiteral("LP"), many * 2, many * 3 + 1);
    const Record cd = medium(QStringLiteral("CD"));
    Record renamed = cd;
    renamed.setText(MED::Media, QStringLiteral("Compact Disc"));
    EXPECT_EQ(updateRecord(access, mediaTable(), renamed, cd, true), RoutineResult::Done);
    EXPECT_EQ(runner.windows, 1);
    EXPECT_GE(runner.percents.size(), 2);
    EXPECT_EQ(songsMatching(QStringLiteral("\"Media\" = 'Compact Disc' COLLATE BINARY AND _chg = 1"), {}), many);
    EXPECT_EQ(songsMatching(QStringLiteral("\"Media\" = 'LP' AND _chg = 0"), {}), many * 4);
}

TEST_F(LargeCascade, CaseOnlyRenameOverManySongsEnds) {
    const Record cd = medium(QStringLiteral("cd"));
    const int many = CascadeJob::kSliceRows + 10;
    songsOn(QStringLiteral("cd"), many, 1);
    Record renamed = cd;
    renamed.setText(MED::Media, QStringLiteral("CD"));
    EXPECT_EQ(updateRecord(access, mediaTable(), renamed, cd, true), RoutineResult::Done);
    EXPECT_EQ(runner.windows, 1);
    EXPECT_EQ(songsMatching(QStringLiteral("\"Media\" = 'CD' COLLATE BINARY AND _chg = 1"), {}), many);
}

TEST_F(LargeCascade, CancelledRenameLeavesEverythingAsItWasAndAsksToSaveAgain) {
    const Record cd = medium(QStringLiteral("CD"));
    const int many = CascadeJob::kSliceRows * 3;
    songsOn(QStringLiteral("CD"), many, 1);
    runner.cancelAfter = 2;  // a slice of rows is already renamed when Cancel is pressed
    Record renamed = cd;
    renamed.setText(MED::Media, QStringLiteral("Compact Disc"));
    messages.addAnswer(ButtonNo);
    EXPECT_EQ(updateWithRetry(access, mediaTable(), renamed, cd, true), UpdateOutcome::LeaveUnsaved);
    // Cancel is the user's own choice: no error, only the question whether to save again.
    EXPECT_EQ(messages.titles(), QStringList{QStringLiteral("Record Update Error")});
    EXPECT_EQ(songsMatching(QStringLiteral("\"Media\" = 'CD' AND _chg = 0"), {}), many);
    EXPECT_EQ(reread(cd).text(MED::Media), QStringLiteral("CD"));
    EXPECT_FALSE(store.inTransaction());
}

TEST_F(LargeCascade, AlbumDeleteOverManySongsKeepsThePlaylistRestrictionForEveryOne) {
    const Record a = album(1, QStringLiteral("Box Set"), QStringLiteral("BOX"));
    const int filed = CascadeJob::kSliceRows + 7;
    const int linked = CascadeJob::kSliceRows + 3;
    songsOn(QStringLiteral("CD"), filed, 1, QStringLiteral("box"));                // by file number, any case
    songsOn(QStringLiteral("CD"), linked, filed + 1, QStringLiteral("OTHER"), 1);  // by album number
    songsOn(QStringLiteral("CD"), 10, filed + linked + 1, QStringLiteral("KEEP"), 2);
    // A song of another album in a playlist does not matter; the last linked song in a playlist stops
    // everything.
    playlistLine(1, 1, filed + linked + 1);
    playlistLine(1, 2, filed + linked);
    EXPECT_EQ(deleteRecord(access, albumTable(), a), RoutineResult::Failed);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("This record is referenced from the file PlaylistDetails.  This record cannot be "
                             "deleted while these references exist."));
    EXPECT_EQ(records(songsTable()), filed + linked + 10);
    EXPECT_EQ(records(albumTable()), 1);

    // So does the last song filed under the album's number, unlinked, reached only through it.
    playlistLine(1, 3, filed);
    Table lines(store, playlistDetailsTable());
    Record line(playlistDetailsTable());
    line.setNumber(PLA::ID, filed + linked);
    ASSERT_EQ(lines.get(PLA::KeyID, line), NoError);
    ASSERT_EQ(lines.remove(line), NoError);
    messages.clear();
    EXPECT_EQ(deleteRecord(access, albumTable(), a), RoutineResult::Failed);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("This record is referenced from the file PlaylistDetails.  This record cannot be "
                             "deleted while these references exist."));
    EXPECT_EQ(records(songsTable()), filed + linked + 10);

    // Without the lines, both cascades go through, the first in slices.
    line.setNumber(PLA::ID, filed);
    ASSERT_EQ(lines.get(PLA::KeyID, line), NoError);
    ASSERT_EQ(lines.remove(line), NoError);
    messages.clear();
    runner.windows = 0;
    EXPECT_EQ(deleteRecord(access, albumTable(), a), RoutineResult::Done);
    EXPECT_EQ(messages.count(), 0);
    EXPECT_EQ(runner.windows, 1);
    EXPECT_EQ(records(songsTable()), 10);
    EXPECT_EQ(records(albumTable()), 0);
    EXPECT_EQ(records(playlistDetailsTable()), 1);
}

} // namespace
