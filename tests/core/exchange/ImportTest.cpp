// The import: the column list and its mapping as the import window shows them, and the run that adds
// the songs, with its messages.

#include "core/exchange/ExchangeTestSupport.h"

#include "exchange/CategoryMapper.h"
#include "exchange/ImportJob.h"
#include "exchange/ImportLine.h"
#include "exchange/ImportMapping.h"
#include "jobs/JobRunner.h"
#include "text/Picture.h"

using namespace srk;

namespace {

int target(const char* name) { return importTargetIndex(QString::fromLatin1(name)); }

}  // namespace

TEST_F(ExchangeTest, MappingListsColumnsDetectsNumbersAndAssignsByHeader) {
    const QString path = writeFile(QStringLiteral("songs.csv"),
                                   "\"SON:Title\",\"SON:Artist\",\"SON:ChartNumber\",\"SON:CategoryID\",\"SON:ReleaseDate\","
                                   "\"CAT:Category\"\r\n"
                                   "\"Hey\",\"Ann\",7,3,\"10/31/1959\",\"Rock\"\r\n"
                                   "\"Ho\",\"Bob\",8,4,\"\",\"Pop\"\r\n");
    ImportMapping m;
    ASSERT_EQ(m.open(path), ImportMapping::OpenResult::Ok);
    ASSERT_EQ(m.columns().size(), 6);
    EXPECT_EQ(m.columns()[0].name, QStringLiteral("Field_1"));
    EXPECT_EQ(m.columns()[0].value, QStringLiteral("SON:Title"));
    EXPECT_EQ(m.columns()[0].type(), QStringLiteral("Alpha-num"));
    // Unquoted in the second line: numbers.
    EXPECT_EQ(m.columns()[2].picture, QStringLiteral("@N30.9"));
    EXPECT_EQ(m.columns()[2].type(), QStringLiteral("Numeric"));
    // Opening assigned by the header and ticked the header box.
    EXPECT_TRUE(m.header());
    EXPECT_EQ(m.assignedColumn(target("SON:Title")), 0);
    EXPECT_EQ(m.assignedColumn(target("SON:Artist")), 1);
    EXPECT_EQ(m.assignedColumn(target("SON:ChartNumber")), 2);
    // The category target takes the name column, not the numbers.
    EXPECT_EQ(m.assignedColumn(target("SON:CategoryID")), 5);
    // A date column found by its name is read through the picture it was written with.
    EXPECT_EQ(m.columns()[4].picture, QStringLiteral("@d2"));
    EXPECT_EQ(m.columns()[4].type(), QStringLiteral("@d2"));
    EXPECT_EQ(m.assignedColumn(target("SON:Album")), -1);
    EXPECT_EQ(m.firstTargetOf(1), target("SON:Artist"));

    // "&Next" shows each line's values, "A&uto" goes grey after it, "&Next" on the last line.
    EXPECT_TRUE(m.autoEnabled());
    ASSERT_TRUE(m.next());
    EXPECT_EQ(m.record(), 2);
    EXPECT_EQ(m.columns()[0].value, QStringLiteral("Hey"));
    EXPECT_FALSE(m.autoEnabled());
    EXPECT_TRUE(m.nextEnabled());
    ASSERT_TRUE(m.next());
    EXPECT_EQ(m.columns()[1].value, QStringLiteral("Bob"));
    EXPECT_FALSE(m.nextEnabled());
    EXPECT_FALSE(m.next());
    EXPECT_EQ(m.record(), 3);

    // By hand: assign, unassign, a picture; a blank or "@"-less picture changes nothing.
    EXPECT_TRUE(m.assign(0, target("SON:Album")));
    EXPECT_EQ(m.assignedColumn(target("SON:Album")), 0);
    EXPECT_TRUE(m.unassign(target("SON:Title")));
    EXPECT_EQ(m.assignedColumn(target("SON:Title")), -1);
    EXPECT_FALSE(m.assign(9, target("SON:Album")));
    EXPECT_FALSE(m.setPicture(1, QString()));
    EXPECT_FALSE(m.setPicture(1, QStringLiteral("d2")));
    EXPECT_TRUE(m.setPicture(1, QStringLiteral("@t4")));
    EXPECT_EQ(m.columns()[1].type(), QStringLiteral("@t4"));
    PictureRefusal refusal;
    EXPECT_FALSE(pictureEntryAccepted(QStringLiteral("s20"), &refusal));
    EXPECT_EQ(refusal.title, QStringLiteral("Invalid Picture!"));
    EXPECT_EQ(refusal.text, QStringLiteral("Pictures must begin with \"@\""));

    const ImportPlan plan = m.plan();
    EXPECT_TRUE(plan.header);
    EXPECT_EQ(plan.targets[0], (QVector<int>{target("SON:Album")}));
}

TEST_F(ExchangeTest, MappingRefusalsAndFilesThatCannotBeUsed) {
    ImportMapping one;
    ASSERT_EQ(one.open(writeFile(QStringLiteral("one.csv"), "a,12,\"b\"")), ImportMapping::OpenResult::Ok);
    // One line: no numeric detection; nothing matched, yet the header box is ticked by "A&uto".
    for (const ImportColumn& c : one.columns())
        EXPECT_EQ(c.picture, QStringLiteral("@S1000"));
    EXPECT_TRUE(one.header());
    EXPECT_FALSE(one.nextEnabled());
    QString title, text;
    ASSERT_TRUE(one.okRefused(&title, &text));
    EXPECT_EQ(title, QStringLiteral("No Fields Selected for Import!"));
    EXPECT_EQ(text, QStringLiteral("You must select one or more fields to import."));
    one.assign(1, target("SON:Title"));
    EXPECT_FALSE(one.okRefused());

    ImportMapping empty;
    ASSERT_EQ(empty.open(writeFile(QStringLiteral("empty.csv"), QByteArray())), ImportMapping::OpenResult::Empty);
    EXPECT_EQ(empty.failureTitle(), QStringLiteral("Attention!"));
    EXPECT_EQ(empty.failureText(), QStringLiteral("That file is empty!  Please pick another file."));

    ImportMapping missing;
    const QString none = folder.file(QStringLiteral("none.csv"));
    ASSERT_EQ(missing.open(none), ImportMapping::OpenResult::CannotOpen);
    EXPECT_EQ(missing.failureTitle(), QStringLiteral("Cannot OPEN ") + none);
    EXPECT_TRUE(missing.failureText().startsWith(QStringLiteral("Error #")));
}

TEST_F(ExchangeTest, LineStepsReadNumbersDatesAndTimes) {
    EXPECT_EQ(leadingNumber(QStringLiteral(" 12abc")), 12);
    EXPECT_EQ(leadingNumber(QStringLiteral("-3.5")), -3.5);
    EXPECT_EQ(leadingNumber(QStringLiteral("Björk")), 0);
    EXPECT_EQ(leadingNumber(QStringLiteral(".")), 0);
    EXPECT_EQ(throughPicture(QStringLiteral("10/31/1959"), QStringLiteral("@d2")),
              deformat(QStringLiteral("10/31/1959"), QStringLiteral("@d2")).toString());
    EXPECT_EQ(throughPicture(QStringLiteral("10/31/1959"), QStringLiteral("@S1000")), QStringLiteral("10/31/1959"));
    EXPECT_EQ(throughPicture(QStringLiteral("3:25"), QStringLiteral("@t1")),
              QString::number(deformat(QStringLiteral("3:25"), QStringLiteral("@t1")).toLongLong()));

    // A length shown as midnight is no length; any other time is kept.
    ImportPlan plan;
    plan.pictures = {QStringLiteral("@t4"), QStringLiteral("@t4")};
    plan.targets = {{importTargetIndex(QStringLiteral("SON:Time"))}, {importTargetIndex(QStringLiteral("SON:Time"))}};
    CategoryMapper categories(store);
    Record song(songsTable());
    song.setNumber(SON::Time, 5);
    ASSERT_EQ(assignImportLine(QStringLiteral("\"00:00:00\""), plan, categories, song), NoError);
    EXPECT_EQ(song.number(SON::Time), 0);
    ASSERT_EQ(assignImportLine(QStringLiteral("\"00:00:00\",\"00:03:25\""), plan, categories, song), NoError);
    EXPECT_EQ(song.number(SON::Time), 20501);
}

TEST_F(ExchangeTest, ImportAddsClearedNumberedSongsMakesCategoriesOnceAndWidensMedia) {
    category(4, QStringLiteral("Jazz"));
    song(41, QStringLiteral("F1"));
    // Columns: artist, media, category, date (a date picture), chart; line 2 leaves the chart out.
    const QString path = writeFile(QStringLiteral("in.csv"),
                                   "\"Ann\",\"D\",\"Rock\",\"10/31/1959\",12\r\n"
                                   "\"Bob\",\"C\",\"rock\",\"\"\r\n"
                                   "\"Cy\",\"B\",\"jazz\",\"01/02/2003\",3\r\n"
                                   "\r\n"
                                   "\"Di\",\"d\",\"4\",\"\",1\r\n"
                                   "\"Ed\",\"CD\",\"77\",\"\",1");
    ImportMapping m;
    ASSERT_EQ(m.open(path), ImportMapping::OpenResult::Ok);
    m.setHeader(false);
    m.assign(0, target("SON:Artist"));
    m.assign(1, target("SON:Media"));
    m.assign(2, target("SON:CategoryID"));
    m.assign(3, target("SON:ReleaseDate"));
    m.assign(4, target("SON:ChartNumber"));
    m.assign(4, target("SON:TrackNumber"));
    ASSERT_TRUE(m.setPicture(3, QStringLiteral("@d2")));

    ImportJob job(access, path, m.plan());
    EXPECT_EQ(job.title(), QStringLiteral("Importing Records"));
    EXPECT_EQ(job.statusText(), QStringLiteral("0% Completed"));
    int lastPercent = 0, steps = 0;
    while (job.step()) {
        EXPECT_GE(job.percent(), lastPercent);
        lastPercent = job.percent();
        ++steps;
    }
    ASSERT_TRUE(job.completed()) << job.errorText().toStdString();
    EXPECT_EQ(job.statusText(), QStringLiteral("Process Completed"));
    EXPECT_EQ(job.percent(), 100);
    EXPECT_EQ(job.songsAdded(), 5);  // the blank line adds nothing
    EXPECT_EQ(messages.count(), 0);

    const QList<Record> songs = allSongs();
    ASSERT_EQ(songs.size(), 6);
    // The next free numbers after the song already there.
    for (int i = 1; i < 6; ++i)
        EXPECT_EQ(songs[i].number(SON::ID), 41 + i);
    EXPECT_EQ(songs[1].text(SON::Media), QStringLiteral("Cassette (DBX)"));
    EXPECT_EQ(songs[2].text(SON::Media), QStringLiteral("Cassette (Dolby-C)"));
    EXPECT_EQ(songs[3].text(SON::Media), QStringLiteral("Cassette (Dolby-B)"));
    EXPECT_EQ(songs[4].text(SON::Media), QStringLiteral("d"));
    // "Rock" made once (number 5, after Jazz's 4), found again as "rock"; "jazz" and the digits "4" find Jazz;
    // "77" names no category and no number: it becomes a category of that name.
    EXPECT_EQ(songs[1].number(SON::CategoryID), 5);
    EXPECT_EQ(categoryName(5), QStringLiteral("Rock"));
    EXPECT_EQ(songs[2].number(SON::CategoryID), 5);
    EXPECT_EQ(songs[3].number(SON::CategoryID), 4);
    EXPECT_EQ(songs[4].number(SON::CategoryID), 4);
    EXPECT_EQ(categoryName(songs[5].number(SON::CategoryID)), QStringLiteral("77"));
    EXPECT_EQ(records(categoriesTable()), 3);
    EXPECT_EQ(songs[1].number(SON::ReleaseDate), deformat(QStringLiteral("10/31/1959"), QStringLiteral("@d2")).toLongLong());
    EXPECT_EQ(songs[1].number(SON::ChartNumber), 12);
    EXPECT_EQ(songs[1].number(SON::TrackNumber), 12);
    // Line 2 had no chart column: the song starts cleared, nothing carried over from line 1.
    EXPECT_EQ(songs[2].number(SON::ChartNumber), 0);
    EXPECT_EQ(songs[2].number(SON::ReleaseDate), 0);
    EXPECT_TRUE(songs[2].text(SON::Title).isEmpty());
}

TEST_F(ExchangeTest, HeaderOnlyFileImportsNothing) {
    const QString path = writeFile(QStringLiteral("h.csv"), "\"SON:Artist\",\"SON:Title\"\r\n");
    ImportMapping m;
    ASSERT_EQ(m.open(path), ImportMapping::OpenResult::Ok);
    ASSERT_TRUE(m.header());
    ImportJob job(access, path, m.plan());
    EXPECT_TRUE(runToEnd(job));
    EXPECT_TRUE(job.completed());
    EXPECT_EQ(records(songsTable()), 0);
}

TEST_F(ExchangeTest, ImportFailingOnLine5000KeepsTheLinesBeforeAndNamesIt) {
    QByteArray bytes;
    for (int i = 1; i <= 6000; ++i)
        bytes += QStringLiteral("\"Artist %1\",\"Title %1\"\r\n").arg(i).toUtf8();
    const QString path = writeFile(QStringLiteral("big.csv"), bytes);
    ImportMapping m;
    ASSERT_EQ(m.open(path), ImportMapping::OpenResult::Ok);
    m.setHeader(false);
    m.assign(0, target("SON:Artist"));
    m.assign(1, target("SON:Title"));
    refuseSongsFrom(5000);
    ImportJob job(access, path, m.plan());
    EXPECT_FALSE(runToEnd(job));
    EXPECT_FALSE(job.completed());
    EXPECT_EQ(job.failedLine(), 5000);
    EXPECT_TRUE(job.errorText().contains(QStringLiteral("line 5000"))) << job.errorText().toStdString();
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Cannot ADD to Sonorika!"));
    EXPECT_TRUE(messages.last().text.startsWith(QStringLiteral("Error #"))) << messages.last().text.toStdString();
    const QList<Record> songs = allSongs();
    ASSERT_EQ(songs.size(), 4999);
    EXPECT_EQ(songs.last().text(SON::Artist), QStringLiteral("Artist 4999"));
    // The keys were built for what was kept: the artist order finds the songs.
    Table table(store, songsTable());
    Record first;
    table.setStart(SON::SongsByArtist);
    ASSERT_EQ(table.next(first), NoError);
    EXPECT_EQ(first.text(SON::Artist), QStringLiteral("Artist 1"));
}

// The file is read ahead of the store in batches: the header, blank lines and the line that stops the run
// must come out in their places however the batches fall.
TEST_F(ExchangeTest, ImportReadAheadKeepsLineOrderNumbersAndTheStoppingLineAcrossBatches) {
    QByteArray bytes = "\"SON:Title\"\r\n";
    int titles = 0;
    for (int line = 2; line < 1000; ++line)
        bytes += line % 97 == 0 ? QByteArray("  \r\n") : QStringLiteral("\"T%1\"\r\n").arg(++titles).toUtf8();
    bytes += QByteArray(16001, 'x') + "\r\n\"after\"\r\n";
    const QString path = writeFile(QStringLiteral("batches.csv"), bytes);
    ImportMapping m;
    ASSERT_EQ(m.open(path), ImportMapping::OpenResult::Ok);
    ASSERT_TRUE(m.header());
    m.assign(0, target("SON:Title"));
    ImportJob job(access, path, m.plan());
    EXPECT_FALSE(runToEnd(job));
    EXPECT_EQ(job.failedLine(), 1000);
    EXPECT_EQ(job.songsAdded(), titles);
    const QList<Record> songs = allSongs();
    ASSERT_EQ(songs.size(), titles);
    for (int i = 0; i < songs.size(); ++i) {
        ASSERT_EQ(songs[i].text(SON::Title), QStringLiteral("T%1").arg(i + 1));
        ASSERT_EQ(songs[i].number(SON::ID), i + 1);
    }
}

TEST_F(ExchangeTest, ImportStopsAtALineTooLongAndCancelKeepsWhatWasAdded) {
    QByteArray bytes = "\"a\"\r\n\"b\"\r\n";
    bytes += "\"" + QByteArray(16001, 'x') + "\"\r\n\"c\"\r\n";
    const QString path = writeFile(QStringLiteral("long.csv"), bytes);
    ImportPlan plan;
    plan.pictures = {QStringLiteral("@S1000")};
    plan.targets = {{target("SON:Title")}};
    {
        ImportJob job(access, path, plan);
        EXPECT_FALSE(runToEnd(job));
        EXPECT_EQ(job.failedLine(), 3);
        ASSERT_EQ(messages.count(), 1);
        EXPECT_TRUE(messages.last().text.contains(QStringLiteral("Line 3 "))) << messages.last().text.toStdString();
        EXPECT_EQ(records(songsTable()), 2);
    }
    QByteArray many;
    for (int i = 0; i < 200; ++i)
        many += "\"t\"\r\n";
    ImportJob cancelled(access, writeFile(QStringLiteral("many.csv"), many), plan);
    ASSERT_TRUE(cancelled.step());  // begins
    ASSERT_TRUE(cancelled.step());  // one slice
    cancelled.cancel();
    EXPECT_FALSE(cancelled.step());
    EXPECT_FALSE(cancelled.completed());
    EXPECT_EQ(records(songsTable()), 2 + ImportJob::kLinesPerSlice);
}

TEST_F(ExchangeTest, OneAssignerFillsLineAfterLineWithoutCarryingValuesOver) {
    // The pictures are read once for the run; each line's values are its own.
    ImportPlan plan;
    plan.pictures = {QStringLiteral("@S1000"), QStringLiteral("@N30.9"), QStringLiteral("@d2"), QStringLiteral("@t4"),
                     QStringLiteral("@S1000")};
    plan.targets = {{target("SON:Title")},
                    {target("SON:BeatsPerMinute")},
                    {target("SON:ReleaseDate"), target("SON:Composer")},
                    {target("SON:Time")},
                    {target("SON:CategoryID")}};
    CategoryMapper categories(store);
    ImportLineAssigner assigner(plan);
    Record song(songsTable());
    ASSERT_EQ(assigner.assign(QStringLiteral("\"say \"\"hi\"\"\",120,\"10/31/1959\",\"00:03:25\",\"Rock\""), categories,
                              song),
              NoError);
    EXPECT_EQ(song.text(SON::Title), QStringLiteral("say \"hi\""));
    EXPECT_EQ(song.number(SON::BeatsPerMinute), 120);
    const qint64 halloween = deformat(QStringLiteral("10/31/1959"), QStringLiteral("@d2")).toLongLong();
    EXPECT_EQ(song.number(SON::ReleaseDate), halloween);
    // A text target of a date column takes the day number as text, as the picture step gives it.
    EXPECT_EQ(song.text(SON::Composer), QString::number(halloween));
    EXPECT_EQ(song.number(SON::Time), 20501);
    const qint64 rock = song.number(SON::CategoryID);
    EXPECT_GT(rock, 0);

    song.clear();
    ASSERT_EQ(assigner.assign(QStringLiteral("plain,-7.6,\"\",\"00:00:00\",\" rock \""), categories, song), NoError);
    EXPECT_EQ(song.text(SON::Title), QStringLiteral("plain"));
    EXPECT_EQ(song.number(SON::BeatsPerMinute), -8);
    EXPECT_EQ(song.number(SON::ReleaseDate), 0);
    EXPECT_EQ(song.text(SON::Composer), QStringLiteral("0"));
    EXPECT_EQ(song.number(SON::Time), 0);
    EXPECT_EQ(song.number(SON::CategoryID), rock);
    EXPECT_EQ(categories.categoriesAdded(), 1);

    // Whole numbers read without the parser agree with it, up to the longest.
    EXPECT_EQ(leadingNumber(QStringLiteral("123456789012345678")), 123456789012345678.0);
    EXPECT_EQ(leadingNumber(QStringLiteral("9223372036854775807")), 9223372036854775807.0);
    EXPECT_EQ(leadingNumber(QStringLiteral("  +42 songs")), 42);
    EXPECT_EQ(leadingNumber(QStringLiteral("-0")), 0);
    EXPECT_EQ(leadingNumber(QStringLiteral("12.")), 12);
    EXPECT_EQ(leadingNumber(QStringLiteral("-")), 0);
    EXPECT_FALSE(lineHasFields(QStringLiteral("   ")));
    EXPECT_TRUE(lineHasFields(QStringLiteral("  ,")));
}

TEST_F(ExchangeTest, CancelBetweenSlicesKeepsExactlyTheLinesBeforeIt) {
    ImportPlan plan;
    plan.pictures = {QStringLiteral("@S1000")};
    plan.targets = {{target("SON:Artist")}};
    const auto lines = [](int count) {
        QByteArray bytes;
        for (int i = 1; i <= count; ++i)
            bytes += "\"Line " + QByteArray::number(i) + "\"\r\n";
        return bytes;
    };
    // Into an empty catalogue (one frame, keys built at the end): three slices, then Cancel.
    {
        ImportJob job(access, writeFile(QStringLiteral("empty.csv"), lines(200)), plan);
        ASSERT_TRUE(job.step());  // begins
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(job.step());
        job.cancel();
        EXPECT_FALSE(job.step());
        EXPECT_FALSE(job.completed());
        EXPECT_EQ(job.songsAdded(), 3 * ImportJob::kLinesPerSlice);
    }
    EXPECT_FALSE(store.inTransaction());
    QList<Record> kept = allSongs();
    ASSERT_EQ(kept.size(), 3 * ImportJob::kLinesPerSlice);
    EXPECT_EQ(kept.last().text(SON::Artist), QStringLiteral("Line %1").arg(3 * ImportJob::kLinesPerSlice));
    // The keys came back with the songs: a keyed read finds them in artist order.
    Table songs(store, songsTable());
    Record r(songsTable());
    songs.setStart(SON::SongsByArtist);
    ASSERT_EQ(songs.next(r), NoError);
    EXPECT_EQ(r.text(SON::Artist), QStringLiteral("Line 1"));

    // Into a catalogue that has songs (frames of kLinesPerFrame): Cancel just past a frame's end.
    const int slices = ImportJob::kLinesPerFrame / ImportJob::kLinesPerSlice + 2;
    const qint64 before = records(songsTable());
    {
        ImportJob job(access, writeFile(QStringLiteral("more.csv"), lines(ImportJob::kLinesPerFrame + 500)), plan);
        ASSERT_TRUE(job.step());
        for (int i = 0; i < slices; ++i)
            ASSERT_TRUE(job.step());
        job.cancel();
        EXPECT_FALSE(job.step());
        EXPECT_EQ(job.songsAdded(), slices * ImportJob::kLinesPerSlice);
    }
    EXPECT_FALSE(store.inTransaction());
    kept = allSongs();
    ASSERT_EQ(kept.size(), before + slices * ImportJob::kLinesPerSlice);
    EXPECT_EQ(kept.last().text(SON::Artist), QStringLiteral("Line %1").arg(slices * ImportJob::kLinesPerSlice));
    EXPECT_EQ(kept.last().number(SON::ID), before + slices * ImportJob::kLinesPerSlice);
}

TEST_F(ExchangeTest, MappingRefusesAFirstLineTooLongNamingIt) {
    ImportMapping m;
    const QString path = writeFile(QStringLiteral("wide.csv"), QByteArray(16001, 'x') + "\r\nb\r\n");
    ASSERT_EQ(m.open(path), ImportMapping::OpenResult::Unreadable);
    EXPECT_EQ(m.failureTitle(), QStringLiteral("Cannot OPEN ") + path);
    EXPECT_EQ(m.failureText(), QStringLiteral("Line 1 is longer than 16000 characters."));
}
