#include "core/access/AccessTestSupport.h"
#include "support/RefusedReads.h"

#include "albums/ConvertAlbumDateToYear.h"
#include "albums/ConvertDateToYear.h"
#include "text/DayNumber.h"

#include <sqlite3.h>

using namespace srk;

namespace {

class ConvertDates : public AccessTest {
protected:
    static qint64 day(int y, int m, int d) { return dayNumberFromDate(QDate(y, m, d)); }

    Record songDated(int id, qint64 date) {
        Record r(songsTable());
        r.setNumber(SON::ID, id);
        r.setText(SON::Title, QStringLiteral("Title %1").arg(id));
        r.setNumber(SON::ReleaseDate, date);
        return add(songsTable(), r);
    }

    Record albumDated(int id, qint64 date) {
        Record r(albumTable());
        r.setNumber(ALB::AlbumID, id);
        r.setText(ALB::Artist, QStringLiteral("Artist"));
        r.setText(ALB::Album, QStringLiteral("Album %1").arg(id));
        r.setNumber(ALB::ReleaseDate, date);
        return add(albumTable(), r);
    }

    int runToEnd(ReleaseDateToYear& job) {
        int steps = 0;
        while (job.step())
            if (++steps > 100000)
                break;
        return steps;
    }

    // Songs 1..count, song n dated 1 March of year 1900 + n % 100.
    void addDatedSongs(int count) {
        ASSERT_EQ(store.stream(), NoError);
        Table table(store, songsTable());
        Record r(songsTable());
        for (int i = 1; i <= count; ++i) {
            r.clear();
            r.setNumber(SON::ID, i);
            r.setNumber(SON::ReleaseDate, day(1900 + i % 100, 3, 1));
            ASSERT_EQ(table.add(r), NoError);
        }
        ASSERT_EQ(store.flush(), NoError);
    }

    // Song numbers whose release date is a bare year.
    QSet<qint64> songsWithYears() {
        QSet<qint64> ids;
        Table table(store, songsTable());
        Record r;
        table.setStart(-1);
        while (table.next(r) == NoError)
            if (isBareYear(r.number(SON::ReleaseDate)))
                ids.insert(r.number(SON::ID));
        return ids;
    }
};

TEST_F(ConvertDates, FullDatesBecomeYearsAndASecondRunChangesNothing) {
    const Record full = songDated(1, day(1997, 3, 21));
    const Record early = songDated(2, day(1810, 1, 2));
    const Record none = songDated(3, 0);
    const Record year = songDated(4, 1985);
    const Record late = songDated(5, day(2024, 12, 31));
    const Record album = albumDated(1, day(1969, 7, 20));
    const Record albumYear = albumDated(2, 1971);
    const Record albumNone = albumDated(3, 0);

    ConvertDateToYear songs(access);
    EXPECT_EQ(songs.title(), QStringLiteral("Processing Records"));
    EXPECT_EQ(songs.textLine(), QStringLiteral("Converting Song Dates"));
    EXPECT_EQ(songs.recordsPerSlice(), 25);
    runToEnd(songs);
    EXPECT_TRUE(songs.completed());
    EXPECT_EQ(songs.percent(), 100);
    EXPECT_EQ(songs.recordsRead(), 5);
    EXPECT_EQ(songs.datesConverted(), 3);

    ConvertAlbumDateToYear albums(access);
    EXPECT_EQ(albums.textLine(), QStringLiteral("Converting Album Dates"));
    EXPECT_EQ(albums.recordsPerSlice(), 1000);
    runToEnd(albums);
    EXPECT_TRUE(albums.completed());
    EXPECT_EQ(albums.datesConverted(), 1);
    EXPECT_EQ(messages.count(), 0);
    EXPECT_FALSE(store.inTransaction());

    EXPECT_EQ(reread(full).number(SON::ReleaseDate), 1997);
    EXPECT_EQ(reread(early).number(SON::ReleaseDate), 1810);
    EXPECT_EQ(reread(none).number(SON::ReleaseDate), 0);
    EXPECT_EQ(reread(year).number(SON::ReleaseDate), 1985);
    EXPECT_EQ(reread(late).number(SON::ReleaseDate), 2024);
    EXPECT_EQ(reread(album).number(ALB::ReleaseDate), 1969);
    EXPECT_EQ(reread(albumYear).number(ALB::ReleaseDate), 1971);
    EXPECT_EQ(reread(albumNone).number(ALB::ReleaseDate), 0);

    ConvertDateToYear songsAgain(access);
    runToEnd(songsAgain);
    ConvertAlbumDateToYear albumsAgain(access);
    runToEnd(albumsAgain);
    EXPECT_TRUE(songsAgain.completed() && albumsAgain.completed());
    EXPECT_EQ(songsAgain.recordsRead(), 5);
    EXPECT_EQ(songsAgain.datesConverted() + albumsAgain.datesConverted(), 0);
    EXPECT_EQ(reread(full).number(SON::ReleaseDate), 1997);
    EXPECT_EQ(reread(album).number(ALB::ReleaseDate), 1969);
}

TEST_F(ConvertDates, CancelStopsBetweenSlicesAndWhatWasConvertedStays) {
    addDatedSongs(3000);
    ConvertDateToYear job(access);
    ASSERT_TRUE(job.step());  // positions
    for (int i = 0; i < 50; ++i)
        ASSERT_TRUE(job.step());
    EXPECT_EQ(job.percent(), 41);
    job.cancel();
    EXPECT_FALSE(job.step());
    EXPECT_FALSE(job.step());
    EXPECT_FALSE(job.completed());
    EXPECT_EQ(job.outcome(), ReleaseDateToYear::Outcome::Cancelled);
    EXPECT_EQ(job.recordsRead(), 50 * ConvertDateToYear::kRecordsPerSlice);
    EXPECT_FALSE(store.inTransaction());

    QSet<qint64> first;
    for (int i = 1; i <= 1250; ++i)
        first.insert(i);
    EXPECT_EQ(songsWithYears(), first);
}

TEST_F(ConvertDates, RefusedRewriteShowsPutErrorAndRollsBackOnlyTheOpenFrame) {
    const int frame = ReleaseDateToYear::kRecordsPerFrame;
    addDatedSongs(frame + 500);
    // The song refused sits in the second frame.
    const QString sql = QStringLiteral(
                            "CREATE TEMP TRIGGER refuse BEFORE UPDATE ON \"%1\".records WHEN NEW.\"ID\" = %2 "
                            "BEGIN SELECT RAISE(ABORT, 'refused'); END")
                            .arg(Store::schemaName(songsTable()))
                            .arg(frame + 200);
    ASSERT_EQ(sqlite3_exec(store.handle(), sql.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);

    ConvertDateToYear job(access);
    runToEnd(job);
    EXPECT_TRUE(job.cancelled());
    EXPECT_FALSE(job.completed());
    EXPECT_FALSE(job.errorText().isEmpty());
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Process PUT Error"));
    EXPECT_FALSE(store.inTransaction());
    EXPECT_EQ(songsWithYears().size(), ReleaseDateToYear::kRecordsPerFrame);
    EXPECT_EQ(job.datesConverted(), ReleaseDateToYear::kRecordsPerFrame);
}

TEST_F(ConvertDates, ReadErrorShowsRecordRetrievalErrorAndRollsBackTheOpenFrame) {
    addDatedSongs(300);
    ConvertDateToYear job(access);
    ASSERT_TRUE(job.step());  // positions
    ASSERT_TRUE(job.step());
    ASSERT_TRUE(job.step());
    {
        srk::testing::RefusedReads refused(store, songsTable());
        EXPECT_FALSE(job.step());
    }
    EXPECT_FALSE(job.step());
    EXPECT_TRUE(job.cancelled());
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Record Retrieval Error"));
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("from the Sonorika file."))) << messages.last().text.toStdString();
    EXPECT_FALSE(store.inTransaction());
    // The two slices read were in the open frame: nothing of them stays.
    EXPECT_TRUE(songsWithYears().isEmpty());
    EXPECT_EQ(job.datesConverted(), 0);
}

}  // namespace
