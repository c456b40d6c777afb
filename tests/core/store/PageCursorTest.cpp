#include "store/PageCursor.h"
#include "catalog/Tables.h"
#include "store/Store.h"
#include "store/Table.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <random>

using namespace srk;

namespace {

constexpr int kSongs = 500;
constexpr int kPage = 10;

QString artistOf(int i) {
    return QStringLiteral("Artist %1").arg(i, 3, 10, QLatin1Char('0'));
}

class PageCursorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(store.connect());
        for (const TableDef* def : catalogTables()) {
            ASSERT_EQ(store.createFile(*def), NoError);
            ASSERT_EQ(store.openFile(*def), NoError);
        }
    }

    // Songs 1..n: artists in number order, titles in the reverse order, categories 1 Jazz, 2 Rock,
    // 0 none (by i % 3).
    void addSongs(int n) {
        Table categories(store, categoriesTable());
        for (auto [id, name] : {std::pair{1, "Jazz"}, {2, "Rock"}}) {
            Record c(categoriesTable());
            c.setNumber(CAT::CategoryID, id);
            c.setText(CAT::Category, QString::fromLatin1(name));
            ASSERT_EQ(categories.add(c), NoError);
        }
        ASSERT_EQ(store.stream(), NoError);
        for (int i = 1; i <= n; ++i) {
            Record s(songsTable());
            s.setText(SON::Artist, artistOf(i));
            s.setText(SON::Title, QStringLiteral("Title %1").arg(n + 1 - i, 3, 10, QLatin1Char('0')));
            s.setNumber(SON::ID, i);
            s.setNumber(SON::CategoryID, i % 3);
            ASSERT_EQ(songs.add(s), NoError);
        }
        ASSERT_EQ(store.flush(), NoError);
    }

    void openCursor(int key = SON::SongsByArtist) {
        cursor = std::make_unique<PageCursor>(store, songsTable(), key);
        cursor->addRelated(categoriesTable(), SON::CategoryID, CAT::CategoryID);
        ASSERT_EQ(cursor->open(), NoError);
        ASSERT_EQ(cursor->setPageSize(kPage), NoError);
    }

    Record songById(int id) {
        Record r = songs.newRecord();
        r.setNumber(SON::ID, id);
        EXPECT_EQ(songs.get(SON::KeyID, r), NoError) << id;
        return r;
    }

    // The whole order as row ids, read the slow way, to check pages against.
    QVector<qint64> order(int key, const SqlCondition& filter = SqlCondition()) {
        Table t(store, songsTable());
        t.setFilter(filter);
        QVector<qint64> ids;
        Record r;
        t.setStart(key);
        while (t.next(r) == NoError)
            ids << r.rowId();
        return ids;
    }

    QStringList artists() const {
        QStringList out;
        for (const PageRow& row : cursor->rows())
            out << row.primary().text(SON::Artist);
        return out;
    }

    QString highlightedArtist() const { return cursor->highlightedRecord().text(SON::Artist); }

    // The page is a run of whole rows of the order, as full as the order allows, with the highlight on it.
    void expectContiguousPage(const QVector<qint64>& all) {
        const QVector<PageRow>& rows = cursor->rows();
        ASSERT_EQ(rows.size(), std::min<qsizetype>(kPage, all.size()));
        if (rows.isEmpty())
            return;
        const qsizetype first = all.indexOf(rows.front().rowId());
        ASSERT_GE(first, 0);
        for (int i = 0; i < rows.size(); ++i)
            ASSERT_EQ(rows[i].rowId(), all[first + i]) << "row " << i;
        ASSERT_GE(cursor->highlight(), 0);
        ASSERT_LT(cursor->highlight(), rows.size());
    }

    TempFolder folder;
    Store store{folder.path()};
    Table songs{store, songsTable()};
    std::unique_ptr<PageCursor> cursor;
};

TEST_F(PageCursorTest, LinesAndPagesMoveTheHighlightTheWayTheListScrolls) {
    addSongs(kSongs);
    openCursor();

    ASSERT_EQ(cursor->rebuildAt(songById(250)), NoError);
    EXPECT_EQ(highlightedArtist(), artistOf(250));
    EXPECT_EQ(cursor->rows().front().primary().text(SON::Artist), artistOf(250));
    EXPECT_TRUE(cursor->lastChange().replaced);

    // Within the page only the highlight moves.
    for (int i = 0; i < kPage - 1; ++i)
        ASSERT_EQ(cursor->lineDown(), NoError);
    EXPECT_EQ(cursor->highlight(), kPage - 1);
    EXPECT_FALSE(cursor->lastChange().rowsChanged());
    EXPECT_TRUE(cursor->lastChange().highlightChanged());

    // At the last row one record is read and the page scrolls by one.
    ASSERT_EQ(cursor->lineDown(), NoError);
    EXPECT_EQ(cursor->highlight(), kPage - 1);
    EXPECT_EQ(highlightedArtist(), artistOf(260));
    EXPECT_EQ(artists().front(), artistOf(251));
    EXPECT_EQ(cursor->lastChange().removedTop, 1);
    EXPECT_EQ(cursor->lastChange().addedBottom, 1);
    EXPECT_FALSE(cursor->lastChange().replaced);

    // The same upwards.
    for (int i = 0; i < kPage; ++i)
        ASSERT_EQ(cursor->lineUp(), NoError);
    EXPECT_EQ(cursor->highlight(), 0);
    EXPECT_EQ(highlightedArtist(), artistOf(250));
    EXPECT_EQ(cursor->lastChange().removedBottom, 1);
    EXPECT_EQ(cursor->lastChange().addedTop, 1);

    // A whole page keeps the highlight's row.
    ASSERT_EQ(cursor->lineDown(), NoError);
    ASSERT_EQ(cursor->lineDown(), NoError);
    ASSERT_EQ(cursor->pageDown(), NoError);
    EXPECT_EQ(cursor->highlight(), 2);
    EXPECT_EQ(highlightedArtist(), artistOf(262));
    ASSERT_EQ(cursor->pageUp(), NoError);
    EXPECT_EQ(cursor->highlight(), 2);
    EXPECT_EQ(highlightedArtist(), artistOf(252));
}

TEST_F(PageCursorTest, NearTheEndsThePageStopsAndTheHighlightMovesByWhatIsMissing) {
    addSongs(kSongs);
    openCursor();

    ASSERT_EQ(cursor->rebuildAt(songById(488)), NoError);
    ASSERT_EQ(cursor->highlight(), 0);
    // Three records remain below the page: the page scrolls by three, the highlight moves by seven.
    ASSERT_EQ(cursor->pageDown(), NoError);
    EXPECT_EQ(artists().front(), artistOf(491));
    EXPECT_EQ(cursor->highlight(), 7);
    EXPECT_EQ(highlightedArtist(), artistOf(498));
    EXPECT_EQ(cursor->lastChange().removedTop, 3);
    EXPECT_EQ(cursor->lastChange().addedBottom, 3);
    EXPECT_TRUE(cursor->atEnd());
    // Nothing left: the highlight goes to the last row, not beyond.
    ASSERT_EQ(cursor->pageDown(), NoError);
    EXPECT_EQ(cursor->highlight(), kPage - 1);
    EXPECT_EQ(highlightedArtist(), artistOf(500));
    // At the very end nothing changes.
    const QStringList before = artists();
    ASSERT_EQ(cursor->lineDown(), NoError);
    ASSERT_EQ(cursor->pageDown(), NoError);
    EXPECT_TRUE(cursor->lastChange().isEmpty());
    EXPECT_EQ(artists(), before);
    EXPECT_EQ(cursor->highlight(), kPage - 1);

    // The same at the start.
    ASSERT_EQ(cursor->rebuildAt(songById(4)), NoError);
    EXPECT_EQ(artists().front(), artistOf(4));
    ASSERT_EQ(cursor->lineDown(), NoError); // on 5
    ASSERT_EQ(cursor->pageUp(), NoError);
    EXPECT_EQ(artists().front(), artistOf(1));
    EXPECT_EQ(cursor->highlight(), 0);
    EXPECT_TRUE(cursor->atStart());
    ASSERT_EQ(cursor->lineUp(), NoError);
    EXPECT_TRUE(cursor->lastChange().isEmpty());
    EXPECT_EQ(highlightedArtist(), artistOf(1));
}

TEST_F(PageCursorTest, TopBottomAndRebuildsNearTheEndFillTheWholePage) {
    addSongs(kSongs);
    openCursor();

    ASSERT_EQ(cursor->bottom(), NoError);
    EXPECT_EQ(artists().front(), artistOf(491));
    EXPECT_EQ(highlightedArtist(), artistOf(500));
    EXPECT_EQ(cursor->highlight(), kPage - 1);
    ASSERT_EQ(cursor->top(), NoError);
    EXPECT_EQ(artists().front(), artistOf(1));
    EXPECT_EQ(cursor->highlight(), 0);
    EXPECT_TRUE(cursor->atStart());

    // Forward gives six records, the other four are read backward; the target stays highlighted.
    ASSERT_EQ(cursor->rebuildAt(songById(495)), NoError);
    EXPECT_EQ(artists().size(), kPage);
    EXPECT_EQ(artists().front(), artistOf(491));
    EXPECT_EQ(cursor->highlight(), 4);
    EXPECT_EQ(highlightedArtist(), artistOf(495));

    // Located key values (no record): the first record at or after them is highlighted.
    Record probe = songs.newRecord();
    probe.setText(SON::Artist, QStringLiteral("artist 4985")); // between 498 and 499, any case
    ASSERT_EQ(cursor->rebuildAt(probe), NoError);
    EXPECT_EQ(artists().front(), artistOf(491));
    EXPECT_EQ(highlightedArtist(), artistOf(499));
    // Past the last value: the page is the last one and the highlight its last row.
    probe.setText(SON::Artist, QStringLiteral("ZZZ"));
    ASSERT_EQ(cursor->rebuildAt(probe), NoError);
    EXPECT_EQ(artists().size(), kPage);
    EXPECT_EQ(highlightedArtist(), artistOf(500));
}

TEST_F(PageCursorTest, RebuildFindsTheRecordItselfAmongEqualKeys) {
    Table t(store, songsTable());
    QVector<Record> twins;
    for (int i = 0; i < 25; ++i) {
        Record s(songsTable());
        s.setText(SON::Artist, QStringLiteral("Same"));
        s.setText(SON::Title, QStringLiteral("Same"));
        s.setNumber(SON::ID, i + 1);
        ASSERT_EQ(t.add(s), NoError);
        twins << s;
    }
    openCursor();
    ASSERT_EQ(cursor->rebuildAt(twins[12]), NoError);
    EXPECT_EQ(cursor->highlightedRecord().rowId(), twins[12].rowId());
    EXPECT_EQ(cursor->rows().front().rowId(), twins[12].rowId());
    ASSERT_EQ(cursor->rebuildAt(twins[20]), NoError); // near the end: filled backward
    EXPECT_EQ(cursor->highlightedRecord().rowId(), twins[20].rowId());
    EXPECT_EQ(cursor->rows().back().rowId(), twins[24].rowId());
    EXPECT_EQ(cursor->rows().front().rowId(), twins[15].rowId());
}

TEST_F(PageCursorTest, RandomWalkKeepsOneWholePageAndMovesTheHighlightByRecords) {
    addSongs(kSongs);
    openCursor();
    const QVector<qint64> all = order(SON::SongsByArtist);
    ASSERT_EQ(all.size(), kSongs);
    ASSERT_EQ(cursor->top(), NoError);
    int expected = 0;
    std::mt19937 random(7);
    for (int step = 0; step < 400; ++step) {
        const int move = int(random() % 7);
        switch (move) {
        case 0:
            ASSERT_EQ(cursor->lineDown(), NoError);
            expected = std::min(expected + 1, kSongs - 1);
            break;
        case 1:
            ASSERT_EQ(cursor->lineUp(), NoError);
            expected = std::max(expected - 1, 0);
            break;
        case 2:
            ASSERT_EQ(cursor->pageDown(), NoError);
            expected = std::min(expected + kPage, kSongs - 1);
            break;
        case 3:
            ASSERT_EQ(cursor->pageUp(), NoError);
            expected = std::max(expected - kPage, 0);
            break;
        case 4:
            if (random() % 8 == 0) {
                ASSERT_EQ(cursor->bottom(), NoError);
                expected = kSongs - 1;
            } else {
                ASSERT_EQ(cursor->pageDown(), NoError);
                expected = std::min(expected + kPage, kSongs - 1);
            }
            break;
        case 5:
            if (random() % 8 == 0) {
                ASSERT_EQ(cursor->top(), NoError);
                expected = 0;
            } else {
                ASSERT_EQ(cursor->pageUp(), NoError);
                expected = std::max(expected - kPage, 0);
            }
            break;
        default: {
            const int target = int(random() % kSongs);
            ASSERT_EQ(cursor->rebuildAt(songById(target + 1)), NoError);
            expected = target;
        }
        }
        expectContiguousPage(all);
        ASSERT_EQ(cursor->highlightedRecord().rowId(), all[expected]) << "step " << step << " move " << move;
    }
}

TEST_F(PageCursorTest, FilterLimitsTheRowsAndARefusedFilterFallsBackToAll) {
    addSongs(kSongs);
    openCursor();
    const SqlCondition rock{cursor->column(1, CAT::Category) + QStringLiteral(" = ?"),
                            {QStringLiteral("ROCK")}};
    ASSERT_EQ(cursor->setFilter(rock, PageCursor::Placement::AtStart), NoError);
    const QVector<qint64> rockSongs = order(SON::SongsByArtist, {QStringLiteral("\"CategoryID\" = 2"), {}});
    ASSERT_EQ(rockSongs.size(), 167); // 2, 5, ... 500
    for (int i = 0; i < 30; ++i) {
        expectContiguousPage(rockSongs);
        for (const PageRow& row : cursor->rows()) {
            ASSERT_EQ(row.view.related.size(), 1);
            ASSERT_EQ(row.view.related[0].text(CAT::Category), QStringLiteral("Rock"));
        }
        ASSERT_EQ(cursor->pageDown(), NoError);
    }
    EXPECT_EQ(highlightedArtist(), artistOf(500));

    ViewRow first, last;
    ASSERT_EQ(cursor->readFirst(first), NoError);
    ASSERT_EQ(cursor->readLast(last), NoError);
    EXPECT_EQ(first.primary.text(SON::Artist), artistOf(2));
    EXPECT_EQ(last.primary.text(SON::Artist), artistOf(500));

    // Changing the filter keeps the highlighted song when it passes the new one.
    ASSERT_EQ(cursor->rebuildAt(songById(302)), NoError);
    ASSERT_EQ(cursor->setFilter(SqlCondition()), NoError);
    EXPECT_EQ(highlightedArtist(), artistOf(302));
    EXPECT_EQ(artists().front(), artistOf(302));

    const int rc = cursor->setFilter({QStringLiteral("no_such_column = 1"), {}});
    EXPECT_NE(rc, NoError);
    EXPECT_TRUE(cursor->filterRefused());
    EXPECT_TRUE(cursor->isOpen());
    EXPECT_TRUE(cursor->filter().isEmpty());
    EXPECT_FALSE(cursor->lastError().driverMessage.isEmpty());
    EXPECT_EQ(highlightedArtist(), artistOf(302));
    expectContiguousPage(order(SON::SongsByArtist));
}

TEST_F(PageCursorTest, APinnedRangeReadsOnlyItsPartOfTheKeyFromEveryPosition) {
    // Media by thirds: "CD", "LP" and "Tape"; file numbers rise with the song number.
    ASSERT_EQ(store.stream(), NoError);
    for (int i = 1; i <= 300; ++i) {
        Record s(songsTable());
        s.setNumber(SON::ID, i);
        s.setText(SON::Media, i % 3 == 0 ? QStringLiteral("CD") : i % 3 == 1 ? QStringLiteral("LP") : QStringLiteral("Tape"));
        s.setText(SON::FileNumber, QStringLiteral("F%1").arg(i, 3, 10, QLatin1Char('0')));
        s.setText(SON::Title, QStringLiteral("T"));
        ASSERT_EQ(songs.add(s), NoError);
    }
    ASSERT_EQ(store.flush(), NoError);
    openCursor(SON::SongsByArtist);
    ASSERT_EQ(cursor->rebuildAt(songById(100)), NoError);  // an LP song highlighted
    ASSERT_EQ(cursor->highlightedRecord().text(SON::Media), QStringLiteral("LP"));

    const SqlCondition lp{cursor->column(0, SON::Media) + QStringLiteral(" = ? COLLATE SRK"), {QStringLiteral("lp")}};
    const QVector<qint64> lpSongs = order(SON::SongsByMedia, {QStringLiteral("\"Media\" = 'LP'"), {}});
    ASSERT_EQ(lpSongs.size(), 100);
    // Pinned to "lp", in any letter case, the order change stays on the highlighted song.
    cursor->setPinned({QStringLiteral("lp")});
    ASSERT_EQ(cursor->setOrder(SON::SongsByMedia, lp), NoError);
    EXPECT_EQ(cursor->highlightedRecord().number(SON::ID), 100);
    expectContiguousPage(lpSongs);

    // A locate past the last file number of the range lands on the range's last page, not on another medium.
    Record target(songsTable());
    target.setText(SON::Media, QStringLiteral("LP"));
    target.setText(SON::FileNumber, QStringLiteral("Z"));
    ASSERT_EQ(cursor->rebuildAt(target), NoError);
    expectContiguousPage(lpSongs);
    EXPECT_EQ(cursor->highlightedRecord().text(SON::FileNumber), QStringLiteral("F298"));
    // Pages move inside the range up to its ends.
    ASSERT_EQ(cursor->top(), NoError);
    EXPECT_EQ(cursor->highlightedRecord().text(SON::FileNumber), QStringLiteral("F001"));
    for (int i = 0; i < 12; ++i) {
        ASSERT_EQ(cursor->pageDown(), NoError);
        expectContiguousPage(lpSongs);
    }
    EXPECT_EQ(cursor->highlightedRecord().text(SON::FileNumber), QStringLiteral("F298"));

    // From a song of another medium the range's value takes the place of the song's own.
    cursor->setPinned({QStringLiteral("CD")});
    const SqlCondition cd{cursor->column(0, SON::Media) + QStringLiteral(" = ? COLLATE SRK"), {QStringLiteral("CD")}};
    ASSERT_EQ(cursor->setFilter(cd), NoError);
    EXPECT_EQ(cursor->highlightedRecord().text(SON::Media), QStringLiteral("CD"));
    EXPECT_EQ(cursor->highlightedRecord().text(SON::FileNumber), QStringLiteral("F300"));
    expectContiguousPage(order(SON::SongsByMedia, {QStringLiteral("\"Media\" = 'CD'"), {}}));
}

TEST_F(PageCursorTest, OrderChangeKeepsTheHighlightedSong) {
    addSongs(kSongs);
    openCursor();
    ASSERT_EQ(cursor->rebuildAt(songById(123)), NoError);
    ASSERT_EQ(cursor->lineDown(), NoError);
    ASSERT_EQ(highlightedArtist(), artistOf(124));

    ASSERT_EQ(cursor->setKey(SON::SongsByTitle), NoError);
    EXPECT_EQ(cursor->key(), int(SON::SongsByTitle));
    EXPECT_EQ(highlightedArtist(), artistOf(124));
    expectContiguousPage(order(SON::SongsByTitle));
    // Titles run the other way, so the next line down is the song before.
    ASSERT_EQ(cursor->lineDown(), NoError);
    EXPECT_EQ(highlightedArtist(), artistOf(123));

    ASSERT_EQ(cursor->setKey(SON::SongsByArtist, PageCursor::Placement::AtStart), NoError);
    EXPECT_EQ(highlightedArtist(), artistOf(1));
    EXPECT_NE(cursor->setKey(99), NoError);
    EXPECT_EQ(highlightedArtist(), artistOf(1));
}

TEST_F(PageCursorTest, DeleteAndReloadKeepTheHighlightNearby) {
    addSongs(kSongs);
    openCursor();
    ASSERT_EQ(cursor->rebuildAt(songById(250)), NoError);
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(cursor->lineDown(), NoError);
    ASSERT_EQ(songs.remove(cursor->highlightedRecord()), NoError);
    ASSERT_EQ(cursor->removeHighlighted(), NoError);
    EXPECT_EQ(highlightedArtist(), artistOf(254));
    EXPECT_EQ(cursor->highlight(), 3);
    EXPECT_EQ(artists().size(), kPage);
    EXPECT_FALSE(artists().contains(artistOf(253)));

    // The first row deleted: the page starts at the song after it.
    ASSERT_EQ(cursor->top(), NoError);
    ASSERT_EQ(songs.remove(cursor->highlightedRecord()), NoError);
    ASSERT_EQ(cursor->removeHighlighted(), NoError);
    EXPECT_EQ(highlightedArtist(), artistOf(2));
    EXPECT_EQ(cursor->highlight(), 0);

    // The last song deleted: the song before it takes the highlight, the page stays full.
    ASSERT_EQ(cursor->bottom(), NoError);
    ASSERT_EQ(songs.remove(cursor->highlightedRecord()), NoError);
    ASSERT_EQ(cursor->removeHighlighted(), NoError);
    EXPECT_EQ(highlightedArtist(), artistOf(499));
    EXPECT_EQ(cursor->highlight(), kPage - 1);
    EXPECT_EQ(artists().size(), kPage);
    expectContiguousPage(order(SON::SongsByArtist));

    // A reload shows changed values and keeps the highlight on the same song.
    ASSERT_EQ(cursor->rebuildAt(songById(100)), NoError);
    ASSERT_EQ(cursor->lineDown(), NoError);
    Record changed = cursor->highlightedRecord();
    changed.setText(SON::Album, QStringLiteral("New Album"));
    ASSERT_EQ(songs.put(changed), NoError);
    ASSERT_EQ(cursor->reload(), NoError);
    EXPECT_EQ(cursor->highlight(), 1);
    EXPECT_EQ(cursor->highlightedRecord().text(SON::Album), QStringLiteral("New Album"));
}

TEST_F(PageCursorTest, PageSizeChangesKeepTheHighlightInView) {
    addSongs(kSongs);
    openCursor();
    ASSERT_EQ(cursor->rebuildAt(songById(200)), NoError);
    for (int i = 0; i < 8; ++i)
        ASSERT_EQ(cursor->lineDown(), NoError); // on 208, row 8
    ASSERT_EQ(cursor->setPageSize(4), NoError);
    EXPECT_EQ(artists(), (QStringList{artistOf(205), artistOf(206), artistOf(207), artistOf(208)}));
    EXPECT_EQ(cursor->highlight(), 3);
    EXPECT_EQ(cursor->lastChange().removedBottom, 1);
    EXPECT_EQ(cursor->lastChange().removedTop, 5);
    ASSERT_EQ(cursor->setPageSize(6), NoError);
    EXPECT_EQ(artists().front(), artistOf(205));
    EXPECT_EQ(artists().back(), artistOf(210));
    EXPECT_EQ(cursor->lastChange().addedBottom, 2);

    // Growing at the end takes the rows from above.
    ASSERT_EQ(cursor->bottom(), NoError);
    ASSERT_EQ(cursor->setPageSize(kPage), NoError);
    EXPECT_EQ(artists().front(), artistOf(491));
    EXPECT_EQ(highlightedArtist(), artistOf(500));
    EXPECT_EQ(cursor->lastChange().addedTop, 4);
    EXPECT_EQ(cursor->setPageSize(0), NoError);
    EXPECT_EQ(cursor->rows().size(), 1);
    EXPECT_EQ(highlightedArtist(), artistOf(500));
}

TEST_F(PageCursorTest, EmptyTableGivesAnEmptyPageAndMovesDoNothing) {
    openCursor();
    ASSERT_EQ(cursor->top(), NoError);
    EXPECT_TRUE(cursor->isEmpty());
    EXPECT_EQ(cursor->highlight(), -1);
    EXPECT_EQ(cursor->highlightedRow(), nullptr);
    EXPECT_TRUE(cursor->highlightedRecord().isValid());
    EXPECT_EQ(cursor->highlightedRecord().rowId(), 0);
    for (auto move : {&PageCursor::lineDown, &PageCursor::lineUp, &PageCursor::pageDown, &PageCursor::pageUp,
                      &PageCursor::bottom, &PageCursor::reload, &PageCursor::removeHighlighted}) {
        ASSERT_EQ(((*cursor).*move)(), NoError);
        EXPECT_TRUE(cursor->isEmpty());
        EXPECT_EQ(cursor->highlight(), -1);
    }
    ASSERT_EQ(cursor->rebuildAt(songs.newRecord()), NoError);
    EXPECT_TRUE(cursor->isEmpty());
    ViewRow row;
    EXPECT_EQ(cursor->readFirst(row), RecordNotAvailable);
    EXPECT_EQ(cursor->readLast(row), RecordNotAvailable);
    // A record of another table is no target.
    EXPECT_EQ(cursor->rebuildAt(Record(albumTable())), RecordNotFound);
}

TEST_F(PageCursorTest, ReadErrorLeavesThePageAsItWas) {
    addSongs(30);
    openCursor();
    ASSERT_EQ(cursor->top(), NoError);
    for (int i = 0; i < kPage - 1; ++i)
        ASSERT_EQ(cursor->lineDown(), NoError);
    const QStringList before = artists();
    store.closeFile(songsTable());
    const int rc = cursor->lineDown();
    EXPECT_NE(rc, NoError);
    EXPECT_NE(rc, RecordNotAvailable);
    EXPECT_EQ(cursor->lastError().code, rc);
    EXPECT_FALSE(cursor->lastChange().rowsChanged());
    EXPECT_EQ(artists(), before);
    EXPECT_EQ(cursor->highlight(), kPage - 1);
}

} // namespace
