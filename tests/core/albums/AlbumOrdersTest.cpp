#include "albums/AlbumOrders.h"
#include "catalog/BrowseThumb.h"
#include "catalog/Tables.h"
#include "query/QueryParser.h"
#include "songs/SongOrders.h"

#include <gtest/gtest.h>

using namespace srk;

namespace {

TEST(AlbumOrders, TabsKeysAndRangesOfTheFiveOrders) {
    const QStringList tabs = {QStringLiteral("Album"), QStringLiteral("Artist"), QStringLiteral("File #"),
                              QStringLiteral("Category"), QStringLiteral("Cat/Art")};
    const QVector<int> keys = {ALB::KeyAlbum, ALB::KeyArtist, ALB::KeyFileNumber, ALB::KeyCategory,
                               ALB::KeyCategoryArtist};
    for (int order = 1; order <= kAlbumOrderCount; ++order) {
        const BrowseOrder& o = albumOrder(order);
        EXPECT_EQ(o.number, order);
        EXPECT_EQ(o.tabText, tabs[order - 1]) << order;
        EXPECT_EQ(o.key, keys[order - 1]) << order;
        EXPECT_FALSE(o.numeric) << order;
        // Every filter an order may read with parses.
        EXPECT_TRUE(browseOrderFilter(o, QString()).isEmpty() || parseQuery(browseOrderFilter(o, QString())).ok())
            << order;
    }
    EXPECT_EQ(albumOrder(4).range, BrowseRange::Category);
    EXPECT_EQ(albumOrder(5).range, BrowseRange::Category);
    EXPECT_EQ(albumOrder(4).rangeFilter, QStringLiteral("ALB:CategoryID = BRW1::Sort3:Reset:CAT:CategoryID"));
    EXPECT_EQ(albumOrder(5).rangeFilter, QStringLiteral("ALB:CategoryID = BRW1::Sort4:Reset:CAT:CategoryID"));
    EXPECT_TRUE(albumOrder(4).rangeFilter.contains(albumOrder(4).rangeName));
    EXPECT_TRUE(albumOrder(5).rangeFilter.contains(albumOrder(5).rangeName));
    EXPECT_NE(albumOrder(4).rangeName, albumOrder(5).rangeName);
    for (int order : {1, 2, 3})
        EXPECT_EQ(albumOrder(order).range, BrowseRange::None) << order;
    // Out-of-range orders behave as the first.
    EXPECT_EQ(albumOrder(0).key, ALB::KeyAlbum);
    EXPECT_EQ(albumOrder(6).key, ALB::KeyAlbum);
}

TEST(AlbumOrders, LocateSetsTheLocatedFieldClearsTheLaterOnesAndKeepsTheCategoryRange) {
    Record base(albumTable());
    base.setText(ALB::Artist, QStringLiteral("Zed"));
    base.setText(ALB::Album, QStringLiteral("Zulu"));
    base.setText(ALB::FileNumber, QStringLiteral("F9"));
    base.setNumber(ALB::CategoryID, 9);
    base.setRowId(12);

    const Record byAlbum = albumLocateTarget(1, base, QStringLiteral("Abb"), 3);
    EXPECT_EQ(byAlbum.text(ALB::Album), QStringLiteral("Abb"));
    EXPECT_EQ(byAlbum.text(ALB::Artist), QString());
    EXPECT_EQ(byAlbum.number(ALB::CategoryID), 9);
    EXPECT_EQ(byAlbum.rowId(), 0);

    const Record byArtist = albumLocateTarget(2, base, QStringLiteral("Mad"), 3);
    EXPECT_EQ(byArtist.text(ALB::Artist), QStringLiteral("Mad"));
    EXPECT_EQ(byArtist.text(ALB::Album), QString());

    // The file number takes the locator's first 20 characters.
    const QString thirty = QStringLiteral("123456789012345678901234567890");
    const Record byFile = albumLocateTarget(3, base, thirty, 3);
    EXPECT_EQ(byFile.text(ALB::FileNumber), thirty.left(20));
    EXPECT_EQ(byFile.text(ALB::Artist), QStringLiteral("Zed"));

    const Record byCategory = albumLocateTarget(4, base, QStringLiteral("Li"), 3);
    EXPECT_EQ(byCategory.number(ALB::CategoryID), 3);
    EXPECT_EQ(byCategory.text(ALB::Album), QStringLiteral("Li"));
    EXPECT_EQ(byCategory.text(ALB::Artist), QString());

    const Record byCatArtist = albumLocateTarget(5, base, QStringLiteral("Bo"), 7);
    EXPECT_EQ(byCatArtist.number(ALB::CategoryID), 7);
    EXPECT_EQ(byCatArtist.text(ALB::Artist), QStringLiteral("Bo"));
    EXPECT_EQ(byCatArtist.text(ALB::Album), QString());

    // A cleared record stands in for an invalid base.
    EXPECT_EQ(albumLocateTarget(1, Record(), QStringLiteral("A"), 0).text(ALB::Album), QStringLiteral("A"));
}

TEST(AlbumOrders, ThumbSamplesFollowTheAlbumOrdersLocatedField) {
    Record first(albumTable());
    Record last(albumTable());
    first.setText(ALB::FileNumber, QStringLiteral("A100"));
    last.setText(ALB::FileNumber, QStringLiteral("Z999"));
    first.setText(ALB::Album, QStringLiteral("zzz")); // not located in order 3
    BrowseThumb thumb;
    thumb.rebuild(albumOrder(3), &first, &last);
    ASSERT_EQ(thumb.texts().size(), 100);
    EXPECT_EQ(thumb.order(), 3);
    EXPECT_EQ(thumb.sampleText(0), QStringLiteral("A100"));
    // The file number is 20 wide: the high end is padded to that width.
    EXPECT_EQ(thumb.texts().last().left(4), QStringLiteral("Z999"));
    Record mid(albumTable());
    mid.setText(ALB::FileNumber, QStringLiteral("m5"));
    EXPECT_GT(thumb.position(mid), 30);
    EXPECT_LT(thumb.position(mid), 70);

    // The same samples as the song browser makes for a field of the same width.
    Record songFirst(songsTable());
    Record songLast(songsTable());
    songFirst.setText(SON::Artist, QStringLiteral("ABBA"));
    songLast.setText(SON::Artist, QStringLiteral("ZZ Top"));
    first.setText(ALB::Artist, QStringLiteral("ABBA"));
    last.setText(ALB::Artist, QStringLiteral("ZZ Top"));
    BrowseThumb songs;
    songs.rebuild(songOrder(1), &songFirst, &songLast);
    thumb.rebuild(albumOrder(2), &first, &last);
    EXPECT_EQ(thumb.texts(), songs.texts());

    thumb.rebuild(albumOrder(1), nullptr, nullptr);
    EXPECT_TRUE(thumb.isEmpty());
    EXPECT_EQ(thumb.position(mid), 0);
}

} // namespace
