// Reading a disc into an album, its songs or a wizard's rows, through the real drive layer on
// generated images and a real data folder.

#include "core/access/AccessTestSupport.h"
#include "core/cd/CdTestSupport.h"

#include "cd/DiscReading.h"

#include <QDir>
#include <QHash>

using namespace srk;
using cdtest::Sec;

namespace {

struct RecordedProgress : DiscReadingProgress {
    QString caption;
    QStringList statusLines;
    QList<int> percents;
    int letRun = 0;
    void show(const QString& c) override { caption = c; }
    void setStatusLine(const QString& text) override { statusLines << text; }
    void setSecondLine(const QString&) override {}
    void setPercent(int percent) override { percents << percent; }
    void letOthersRun() override { ++letRun; }
};

class DiscReading : public AccessTest {
protected:
    // 4:35 and 10 frames, 1:10 and 3 frames, 12 s: 5:57 and 13 frames in all.
    QString threeTracks() {
        return discimages::writeCueBin(folder.path(), QStringLiteral("three"),
                                       {(4 * 60 + 35) * Sec + 10, 70 * Sec + 3, 12 * Sec});
    }
    Record wizardRow(qint64 instance, int track, const QString& artist, const QString& title) {
        Record r(addWizardTable());
        r.setNumber(AW::Instance, instance);
        r.setNumber(AW::Track, track);
        r.setText(AW::Artist, artist);
        r.setText(AW::Title, title);
        return add(addWizardTable(), r);
    }
    // The rows of one wizard by track.
    QHash<int, Record> wizardRows(qint64 instance) {
        QHash<int, Record> rows;
        Table table(store, addWizardTable());
        Record r;
        table.setStart(AW::KeyInstance);
        while (table.next(r) == NoError)
            if (r.number(AW::Instance) == instance)
                rows.insert(int(r.number(AW::Track)), r);
        return rows;
    }
    QHash<int, Record> albumSongs(qint64 albumId) {
        QHash<int, Record> songs;
        Table table(store, songsTable());
        Record r;
        table.setStart(-1);
        while (table.next(r) == NoError)
            if (r.number(SON::AlbumID) == albumId)
                songs.insert(int(r.number(SON::TrackNumber)), r);
        return songs;
    }

    cdtest::DeviceGuard guard;
    RecordedProgress progress;
};

TEST_F(DiscReading, AWizardGetsTrackRowsAndKeepsWhatWasTyped) {
    cdtest::useImage(threeTracks());
    wizardRow(7, 2, QStringLiteral("Me"), QStringLiteral("Typed"));
    wizardRow(8, 1, QStringLiteral("Other"), QStringLiteral("Other wizard"));
    Record album(albumTable());
    album.setNumber(ALB::AlbumID, 5);  // a saved album: the wizard still gets rows, not songs

    const DiscReadingResult result = readDisc(store, album, 0, 1, 7, &progress);
    ASSERT_EQ(result.read, 1) << result.errorText.toStdString();
    EXPECT_EQ(album.text(ALB::CDIdentifier), QStringLiteral(" 3357012750170011201"));
    EXPECT_EQ(album.number(ALB::TotalTime), 35701);

    const QHash<int, Record> rows = wizardRows(7);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[1].text(AW::Artist), QStringLiteral("Various"));
    EXPECT_EQ(rows[1].text(AW::Title), QStringLiteral("Track 1"));
    EXPECT_EQ(rows[1].number(AW::Time), 27501);
    EXPECT_EQ(rows[2].text(AW::Artist), QStringLiteral("Me"));
    EXPECT_EQ(rows[2].text(AW::Title), QStringLiteral("Typed"));
    EXPECT_EQ(rows[2].number(AW::Time), 7001);
    EXPECT_EQ(rows[3].text(AW::Title), QStringLiteral("Track 3"));
    EXPECT_EQ(rows[3].number(AW::Time), 1201);
    EXPECT_EQ(wizardRows(8)[1].text(AW::Title), QStringLiteral("Other wizard"));
    EXPECT_EQ(wizardRows(8)[1].number(AW::Time), 0);
    EXPECT_EQ(records(songsTable()), 0);
    EXPECT_FALSE(mciInterpreter().isOpen());

    EXPECT_EQ(progress.caption, QStringLiteral("Reading CD"));
    EXPECT_EQ(progress.statusLines,
              (QStringList{QStringLiteral("Serial Number"), QStringLiteral("Track 1 of 3"),
                           QStringLiteral("Track 2 of 3"), QStringLiteral("Track 3 of 3")}));
    EXPECT_EQ(progress.percents, (QList<int>{5, 10, 15, 20}));
    EXPECT_EQ(progress.letRun, 3);
}

TEST_F(DiscReading, TheAlbumsArtistGoesOnNewRowsCutToThirtyCharacters) {
    cdtest::useImage(discimages::writeCueBin(folder.path(), QStringLiteral("one"), {61 * Sec}));
    Record album(albumTable());
    album.setText(ALB::Artist, QStringLiteral("The Extraordinarily Long Band Name"));
    ASSERT_EQ(readDisc(store, album, 0, 1, 3).read, 1);
    const QHash<int, Record> rows = wizardRows(3);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[1].text(AW::Artist), QStringLiteral("The Extraordinarily Long Band"));
    EXPECT_EQ(rows[1].text(AW::Title), QStringLiteral("Track 1"));
    EXPECT_EQ(rows[1].number(AW::Time), 6101);
    // One track: the count, the disc and track 1 only.
    EXPECT_EQ(album.text(ALB::CDIdentifier), QStringLiteral(" 161016101"));
}

TEST_F(DiscReading, IdentifyOnlyLeavesTheTotalTimeAndWritesNothing) {
    cdtest::useImage(threeTracks());
    Record album = this->album(5, QStringLiteral("Saved"), QStringLiteral("F1"));
    album.setNumber(ALB::TotalTime, 12345);
    const DiscReadingResult result = readDisc(store, album, 1, 0, 0, &progress);
    ASSERT_EQ(result.read, 1);
    EXPECT_EQ(album.text(ALB::CDIdentifier), QStringLiteral(" 3357012750170011201"));
    EXPECT_EQ(album.number(ALB::TotalTime), 12345);
    EXPECT_EQ(records(songsTable()), 0);
    EXPECT_EQ(records(addWizardTable()), 0);
    EXPECT_EQ(progress.statusLines, QStringList{QStringLiteral("Serial Number")});
    EXPECT_FALSE(mciInterpreter().isOpen());
}

TEST_F(DiscReading, ASavedAlbumGetsItsSongsAndKeepsTheOnesItHas) {
    cdtest::useImage(discimages::writeCueBin(folder.path(), QStringLiteral("two"), {100 * Sec, 45 * Sec + 74}));
    Record album = this->album(5, QStringLiteral("Two Songs"), QStringLiteral("F9"), 3);
    album.setNumber(ALB::ReleaseDate, 70000);
    Record kept = song(40, QStringLiteral("F9"), 5, 2);
    song(41, QStringLiteral("X"));

    ASSERT_EQ(readDisc(store, album, 0, 0, 0).read, 1);
    EXPECT_EQ(album.number(ALB::TotalTime), 14501);  // 2:25 and 74 frames
    const QHash<int, Record> songs = albumSongs(5);
    ASSERT_EQ(songs.size(), 2);
    const Record& made = songs[1];
    EXPECT_EQ(made.number(SON::ID), 42);
    EXPECT_EQ(made.text(SON::Title), QStringLiteral("Track 1"));
    EXPECT_EQ(made.number(SON::Time), 10001);
    EXPECT_EQ(made.text(SON::Artist), QStringLiteral("Artist"));
    EXPECT_EQ(made.text(SON::Album), QStringLiteral("Two Songs"));
    EXPECT_EQ(made.text(SON::Media), QStringLiteral("CD"));
    EXPECT_EQ(made.text(SON::FileNumber), QStringLiteral("F9"));
    EXPECT_EQ(made.number(SON::ReleaseDate), 70000);
    EXPECT_EQ(made.number(SON::CategoryID), 3);
    // The song that was there keeps everything but gets the track's length.
    Record after = songs[2];
    EXPECT_EQ(after.number(SON::ID), 40);
    EXPECT_EQ(after.text(SON::Title), kept.text(SON::Title));
    EXPECT_EQ(after.number(SON::Time), 4501);
    EXPECT_EQ(records(addWizardTable()), 0);
}

TEST_F(DiscReading, AnUnsavedAlbumGetsNoSongs) {
    cdtest::useImage(discimages::writeCueBin(folder.path(), QStringLiteral("one"), {30 * Sec}));
    Record album(albumTable());
    ASSERT_EQ(readDisc(store, album, 0, 0, 0).read, 1);
    EXPECT_EQ(album.number(ALB::TotalTime), 3001);
    EXPECT_EQ(records(songsTable()), 0);
    EXPECT_EQ(records(addWizardTable()), 0);
}

TEST_F(DiscReading, FailedChecksShowTheirMessageAndWriteNothing) {
    const QString good = threeTracks();
    const QString dir = folder.path();
    ASSERT_TRUE(QDir(dir).mkdir(QStringLiteral("device")));
    struct Case {
        std::function<void()> choose;
        QLatin1StringView text;
    };
    const QList<Case> cases = {
        {[&] { cdtest::useImageIn(good, true, false); }, CdDoorOpenText},
        {[&] { cdtest::useImageIn(good, false, true); }, CdNotReadyText},
        {[&] { cdtest::useImage(discimages::writeTruncatedCueBin(dir, QStringLiteral("cut"), {20 * Sec, 30 * Sec})); },
         CdNotReadyText},
        {[&] { cdtest::useImage(discimages::writeCueMissingBin(dir, QStringLiteral("gone"))); }, CdNotAvailableText},
        {[&] { cdtest::useImage(discimages::writeGarbageCue(dir, QStringLiteral("junk"))); }, CdNotAvailableText},
        {[&] { cdtest::useImage(dir + QStringLiteral("/device")); }, CdNotAvailableText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.data());
        c.choose();
        RecordedProgress shown;
        Record album = this->album(int(1 + records(albumTable())), QStringLiteral("A%1").arg(records(albumTable())),
                                   QStringLiteral("F"));
        album.setNumber(ALB::TotalTime, 777);
        const DiscReadingResult result = readDisc(store, album, 0, 1, 4, &shown);
        EXPECT_EQ(result.read, 0);
        EXPECT_EQ(result.errorText, QString(c.text));
        EXPECT_TRUE(album.text(ALB::CDIdentifier).isEmpty());
        EXPECT_EQ(album.number(ALB::TotalTime), 777);
        EXPECT_TRUE(shown.caption.isEmpty());
        EXPECT_FALSE(mciInterpreter().isOpen());
        EXPECT_EQ(records(addWizardTable()), 0);
        EXPECT_EQ(records(songsTable()), 0);
    }
}

TEST_F(DiscReading, ADriveThePlayerHoldsIsReadAndLeftOpen) {
    cdtest::useImage(threeTracks());
    ASSERT_EQ(cdtest::send("open cdaudio shareable"), QStringLiteral("1"));
    Record album(albumTable());
    ASSERT_EQ(readDisc(store, album, 1, 0, 0).read, 1);
    EXPECT_EQ(album.text(ALB::CDIdentifier), QStringLiteral(" 3357012750170011201"));
    EXPECT_TRUE(mciInterpreter().isOpen());
}

// A drive stand-in giving each track's length to the end of the disc, as some drives do.
MciSender cumulativeDrive(const QStringList& lengths, const QString& discLength) {
    return [=](const QString& command, int askMode) -> QString {
        if (askMode)
            return QStringLiteral("stopped");
        if (command == QLatin1String("open cdaudio shareable") || command == QLatin1String("status cdaudio ready"))
            return QStringLiteral("1");
        if (command == QLatin1String("status cdaudio number of tracks"))
            return QString::number(lengths.size());
        if (command == QLatin1String("status cdaudio length"))
            return discLength;
        const QString prefix = QStringLiteral("status cdaudio length track ");
        if (command.startsWith(prefix))
            return lengths.value(command.mid(prefix.size()).toInt() - 1);
        return QString();
    };
}

TEST_F(DiscReading, CumulativeTrackLengthsAreTurnedIntoTrackLengths) {
    Record album(albumTable());
    const QStringList cumulative = {QStringLiteral("50:00:00"), QStringLiteral("30:00:00"), QStringLiteral("10:00:00")};
    ASSERT_EQ(readDisc(store, album, 0, 1, 1, &progress, cumulativeDrive(cumulative, QStringLiteral("50:00:00"))).read,
              1);
    EXPECT_TRUE(progress.statusLines.contains(QStringLiteral("Enhanced CD Detected")));
    QHash<int, Record> rows = wizardRows(1);
    EXPECT_EQ(rows[1].number(AW::Time), 120001);
    EXPECT_EQ(rows[2].number(AW::Time), 120001);
    EXPECT_EQ(rows[3].number(AW::Time), 60001);

    // A long disc whose lengths add up to its own length is left as it is.
    RecordedProgress plain;
    const QStringList genuine = {QStringLiteral("31:00:00"), QStringLiteral("31:00:00"), QStringLiteral("31:00:00")};
    ASSERT_EQ(readDisc(store, album, 0, 1, 2, &plain, cumulativeDrive(genuine, QStringLiteral("93:00:40"))).read,
              1);
    EXPECT_FALSE(plain.statusLines.contains(QStringLiteral("Enhanced CD Detected")));
    rows = wizardRows(2);
    EXPECT_EQ(rows[1].number(AW::Time), 186001);
    EXPECT_EQ(rows[3].number(AW::Time), 186001);
}

}  // namespace
