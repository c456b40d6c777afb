// The lines of a playlist on a real data folder: drops, inserting after a line, the four moves, closing
// the gap a delete leaves, the total time (lines whose song is gone included), the chart roll-over
// job and the digit jump. What was written is read back from the file.

#include "core/access/AccessTestSupport.h"

#include "access/RecordRoutines.h"
#include "playlists/ChartNote.h"
#include "playlists/PlaylistLines.h"
#include "playlists/SequenceJump.h"
#include "playlists/ThisWeekToLastWeek.h"
#include "store/View.h"

#include <QMap>

#include <sqlite3.h>

using namespace srk;

namespace {

class PlaylistLinesTest : public AccessTest {
protected:
    // Song id by place of one playlist, as stored.
    QMap<qint64, qint64> places(qint64 playlist) {
        QMap<qint64, qint64> out;
        QVector<Record> all;
        Table(store, playlistDetailsTable()).fetch(PLA::KeyPlaylistID, KeyAnchor::start(), true, 10000, all);
        for (const Record& r : all)
            if (r.number(PLA::PlaylistID) == playlist)
                out.insert(r.number(PLA::PlaylistSeq), r.number(PLA::ID));
        return out;
    }

    QMap<qint64, qint64> expected(std::initializer_list<std::pair<qint64, qint64>> items) {
        QMap<qint64, qint64> out;
        for (const auto& [place, id] : items)
            out.insert(place, id);
        return out;
    }

    // Lines 1..5 of playlist 3 naming songs 11..15; playlist 4 has a line of its own.
    QVector<Record> fiveLines() {
        QVector<Record> lines;
        for (int seq = 1; seq <= 5; ++seq)
            lines << playlistLine(3, seq, 10 + seq);
        playlistLine(4, 1, 99);
        return lines;
    }

    Record timedSong(int id, qint64 time) {
        Record r(songsTable());
        r.setNumber(SON::ID, id);
        r.setText(SON::Title, QStringLiteral("Song %1").arg(id));
        r.setNumber(SON::Time, time);
        return add(songsTable(), r);
    }

    QString noteAt(qint64 playlist, qint64 seq) {
        Record r(playlistDetailsTable());
        r.setNumber(PLA::PlaylistID, playlist);
        r.setNumber(PLA::PlaylistSeq, seq);
        EXPECT_EQ(Table(store, playlistDetailsTable()).get(PLA::KeyPlaylistID, r), NoError);
        return r.text(PLA::PlaylistNotes);
    }

    void setNote(qint64 playlist, qint64 seq, const QString& note) {
        Table lines(store, playlistDetailsTable());
        Record r(playlistDetailsTable());
        r.setNumber(PLA::PlaylistID, playlist);
        r.setNumber(PLA::PlaylistSeq, seq);
        ASSERT_EQ(lines.get(PLA::KeyPlaylistID, r), NoError);
        r.setText(PLA::PlaylistNotes, note);
        ASSERT_EQ(lines.put(r), NoError);
    }
};

TEST_F(PlaylistLinesTest, DropsGoAfterTheLastLineOfTheirOwnPlaylist) {
    Record line;
    ASSERT_TRUE(PlaylistLines::append(access, 3, 21, line));
    EXPECT_EQ(line.number(PLA::PlaylistSeq), 1);
    playlistLine(5, 1, 77);
    ASSERT_TRUE(PlaylistLines::append(access, 3, 22, line));
    // The same song may stand twice.
    ASSERT_TRUE(PlaylistLines::append(access, 3, 21, line));
    EXPECT_EQ(places(3), expected({{1, 21}, {2, 22}, {3, 21}}));
    EXPECT_EQ(places(5), expected({{1, 77}}));
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(PlaylistLinesTest, InsertAfterTheSecondLineShiftsTheRestDown) {
    fiveLines();
    Record added = playlistLine(3, 6, 50);
    EXPECT_TRUE(PlaylistLines::placeAfter(access, added, 2));
    EXPECT_EQ(added.number(PLA::PlaylistSeq), 3);
    EXPECT_EQ(places(3), expected({{1, 11}, {2, 12}, {3, 50}, {4, 13}, {5, 14}, {6, 15}}));
    EXPECT_EQ(places(4), expected({{1, 99}}));
    // Already after the last line: nothing moves.
    Record last = playlistLine(3, 7, 51);
    EXPECT_TRUE(PlaylistLines::placeAfter(access, last, 6));
    EXPECT_EQ(last.number(PLA::PlaylistSeq), 7);
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(PlaylistLinesTest, TheFourMovesRenumberWithinThePlaylist) {
    QVector<Record> lines = fiveLines();
    EXPECT_TRUE(PlaylistLines::move(access, lines[3], SequenceMove::ToTop));
    EXPECT_EQ(places(3), expected({{1, 14}, {2, 11}, {3, 12}, {4, 13}, {5, 15}}));
    Record top = reread(lines[3]);
    EXPECT_TRUE(PlaylistLines::move(access, top, SequenceMove::ToBottom));
    EXPECT_EQ(places(3), expected({{1, 11}, {2, 12}, {3, 13}, {4, 15}, {5, 14}}));
    Record second = reread(lines[1]);
    EXPECT_TRUE(PlaylistLines::move(access, second, SequenceMove::DownOne));
    EXPECT_EQ(places(3), expected({{1, 11}, {2, 13}, {3, 12}, {4, 15}, {5, 14}}));
    EXPECT_TRUE(PlaylistLines::move(access, second, SequenceMove::UpOne));
    EXPECT_EQ(places(3), expected({{1, 11}, {2, 12}, {3, 13}, {4, 15}, {5, 14}}));
    // Nothing above the first line.
    Record first = reread(lines[0]);
    EXPECT_FALSE(PlaylistLines::move(access, first, SequenceMove::UpOne));
    EXPECT_EQ(places(4), expected({{1, 99}}));
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(PlaylistLinesTest, DeletingTheSecondOfFiveRenumbersTheRestWithoutGaps) {
    QVector<Record> lines = fiveLines();
    ASSERT_EQ(deleteRecord(access, playlistDetailsTable(), lines[1]), RoutineResult::Done);
    EXPECT_TRUE(PlaylistLines::closeGap(access, 3, 2));
    EXPECT_EQ(places(3), expected({{1, 11}, {2, 13}, {3, 14}, {4, 15}}));
    EXPECT_EQ(places(4), expected({{1, 99}}));
    qint64 last = 0;
    EXPECT_EQ(PlaylistLines::lastSequence(store, 3, last), NoError);
    EXPECT_EQ(last, 4);
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(PlaylistLinesTest, AFailingRenumberShowsTheSwapErrorWithItsStep) {
    fiveLines();
    // The file is read-only for a moment: the writes fail.
    ASSERT_EQ(sqlite3_exec(store.handle(),
                           "CREATE TRIGGER srkpldet.no_put BEFORE UPDATE ON records BEGIN SELECT RAISE(ABORT, 'kept'); END",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    EXPECT_FALSE(PlaylistLines::closeGap(access, 3, 2));
    ASSERT_GE(messages.count(), 1);
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("Error!"));
    EXPECT_TRUE(messages.shown()[0].text.startsWith(QStringLiteral("Record swap error: \n\n")));
    EXPECT_TRUE(messages.shown()[0].text.contains(QStringLiteral("PlaylistDetails, PLA:KeyPlaylistID\n")));
    EXPECT_TRUE(messages.shown()[0].text.contains(QStringLiteral("Key Field PLA:PlaylistID = 3\n")));
    EXPECT_TRUE(messages.shown()[0].text.endsWith(QStringLiteral("Section = Put Upd Seq\n")));
}

TEST_F(PlaylistLinesTest, TheTotalSkipsLinesWhoseSongIsGone) {
    timedSong(11, 6000);
    timedSong(12, 4500);
    playlistLine(3, 1, 11);
    playlistLine(3, 2, 404);  // no such song
    playlistLine(3, 3, 12);
    playlistLine(3, 4, 11);
    playlistLine(4, 1, 12);
    double total = -1;
    EXPECT_EQ(PlaylistLines::totalTime(store, 3, total), NoError);
    EXPECT_DOUBLE_EQ(total, 6000.0 + 4500.0 + 6000.0);
    EXPECT_EQ(PlaylistLines::totalTime(store, 9, total), NoError);
    EXPECT_DOUBLE_EQ(total, 0.0);
}

TEST_F(PlaylistLinesTest, TheLinesViewJoinsSongsOnlyThroughTheirIdKey) {
    // Older catalogues hold songs without an id (0); a line naming no song must not show one of them.
    timedSong(0, 1111);
    timedSong(11, 6000);
    playlistLine(3, 1, 11);
    playlistLine(3, 2, 0);
    View view(store, playlistDetailsTable(), PLA::KeyPlaylistID);
    view.addRelated(songsTable(), PLA::ID, SON::ID);
    view.setFilter({view.column(0, PLA::PlaylistID) + QStringLiteral(" = ?"), {3}});
    ASSERT_EQ(view.open(), NoError);
    QVector<ViewRow> rows;
    ASSERT_EQ(view.fetch(KeyAnchor::start(), true, 10, rows), NoError);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].related[0].text(SON::Title), QStringLiteral("Song 11"));
    EXPECT_EQ(rows[1].related[0].text(SON::Title), QString());
    EXPECT_EQ(rows[1].related[0].number(SON::Time), 0);
    double total = 0;
    EXPECT_EQ(PlaylistLines::totalTime(store, 3, total), NoError);
    EXPECT_DOUBLE_EQ(total, 6000.0);
}

TEST(ChartNoteTest, TheTagIsReplacedAndTheNoteCutToItsWidth) {
    EXPECT_EQ(chartNote(QStringLiteral("New entry LW:7"), 3), QStringLiteral("New entry LW:3"));
    EXPECT_EQ(chartNote(QString(), 12), QStringLiteral("LW:12"));
    // Twice in a row: one tag, the current place.
    EXPECT_EQ(chartNote(chartNote(QStringLiteral("Climber"), 5), 5), QStringLiteral("Climber LW:5"));
    const QString forty = QStringLiteral("0123456789012345678901234567890123456789");
    EXPECT_EQ(chartNote(forty, 8), forty.left(40));
    const QString thirtySix = forty.left(36);
    EXPECT_EQ(chartNote(thirtySix, 14), (thirtySix + QStringLiteral(" LW:14")).left(40));
    // The note's own "LW:" loses five characters every time.
    EXPECT_EQ(chartNote(QStringLiteral("GLW:fastest"), 2), QStringLiteral("Gstest LW:2"));
}

TEST(SequenceJumpTest, ADigitWalksThroughTheNumbersBeginningWithIt) {
    EXPECT_EQ(nextSequenceStartingWith(1, 0, 25), 1);
    EXPECT_EQ(nextSequenceStartingWith(1, 1, 25), 10);
    EXPECT_EQ(nextSequenceStartingWith(1, 10, 25), 11);
    EXPECT_EQ(nextSequenceStartingWith(1, 19, 25), 1);  // no 100: starts over
    EXPECT_EQ(nextSequenceStartingWith(2, 7, 25), 20);
    EXPECT_EQ(nextSequenceStartingWith(3, 4, 25), 3);
    EXPECT_EQ(nextSequenceStartingWith(3, 3, 25), 3);   // 30 is past the last line
    EXPECT_EQ(nextSequenceStartingWith(9, 0, 5), 0);
    EXPECT_EQ(nextSequenceStartingWith(0, 0, 500), 0);
}

TEST_F(PlaylistLinesTest, TheRollOverWritesEveryLinesPlaceAndTwiceLeavesOneTag) {
    fiveLines();
    setNote(3, 2, QStringLiteral("Up from LW:9"));
    for (int run = 0; run < 2; ++run) {
        ThisWeekToLastWeek job(access, 3);
        ASSERT_TRUE(runToEnd(job));
        EXPECT_EQ(job.linesWritten(), 5);
        EXPECT_EQ(job.percent(), 100);
    }
    EXPECT_EQ(noteAt(3, 1), QStringLiteral("LW:1"));
    EXPECT_EQ(noteAt(3, 2), QStringLiteral("Up from LW:2"));
    EXPECT_EQ(noteAt(3, 5), QStringLiteral("LW:5"));
    EXPECT_EQ(noteAt(4, 1), QString());
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(PlaylistLinesTest, TheRollOverCountsOverFiftyLinesAndCancelKeepsWhatWasWritten) {
    for (int seq = 1; seq <= 120; ++seq)
        playlistLine(6, seq, seq);
    ThisWeekToLastWeek job(access, 6);
    ASSERT_TRUE(job.step());  // begins
    ASSERT_TRUE(job.step());  // the first 50 lines
    EXPECT_EQ(job.percent(), 100);
    job.cancel();
    EXPECT_FALSE(job.step());
    EXPECT_TRUE(job.cancelled());
    EXPECT_EQ(noteAt(6, 50), QStringLiteral("LW:50"));
    EXPECT_EQ(noteAt(6, 51), QString());
}

TEST_F(PlaylistLinesTest, TheRollOverQuestionTakesOkOnly) {
    messages.addAnswer(ButtonCancel);
    EXPECT_FALSE(ThisWeekToLastWeek::confirm(access));
    messages.addAnswer(ButtonOk);
    EXPECT_TRUE(ThisWeekToLastWeek::confirm(access));
    EXPECT_EQ(messages.last().title, QStringLiteral("Warning"));
    EXPECT_EQ(messages.last().text, QStringLiteral("This will copy the current chart standings into the notes field "
                                                   "to be used as \"last week's chart positions\"."));
    EXPECT_EQ(messages.last().buttons, ButtonOk | ButtonCancel);
}

}  // namespace
