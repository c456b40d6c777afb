#include "catalog/Tables.h"
#include "query/QueryParser.h"
#include "songs/SongOrders.h"
#include "songs/SongThumb.h"

#include <gtest/gtest.h>

using namespace srk;

namespace {

TEST(SongOrders, FiltersJoinTheRangeAndTheQueryAndAllParse) {
    EXPECT_EQ(songOrderFilter(1, QString()), QString());
    EXPECT_EQ(songOrderFilter(2, QStringLiteral("SON:ChartNumber > 3")), QStringLiteral("SON:ChartNumber > 3"));
    EXPECT_EQ(songOrderFilter(4, QString()), QStringLiteral("UPPER(SON:Media) = UPPER(BRW1::Sort3:Reset:MED:Media)"));
    EXPECT_EQ(songOrderFilter(4, QStringLiteral("SON:ChartNumber > 3")),
              QStringLiteral("(UPPER(SON:Media) = UPPER(BRW1::Sort3:Reset:MED:Media)) AND (SON:ChartNumber > 3)"));
    EXPECT_TRUE(songOrderFilter(5, QStringLiteral("SON:Time < 100"))
                    .startsWith(QStringLiteral("(SON:CategoryID = BRW1::Sort4:Reset:CAT:CategoryID) AND (")));
    for (int order = 1; order <= kSongOrderCount; ++order)
        EXPECT_TRUE(parseQuery(songOrderFilter(order, QStringLiteral("SON:Artist = 'A'"))).ok()) << order;
    // Out-of-range orders behave as the first.
    EXPECT_EQ(songOrder(0).key, SON::SongsByArtist);
    EXPECT_EQ(songOrder(9).key, SON::SongsByArtist);
    EXPECT_EQ(songOrder(7).key, SON::KeyBeatsPerMinute);
}

TEST(SongOrders, OnlyTheMediaAndCategoryTabsHaveARangeAndTheirFiltersNameIt) {
    for (int order = 1; order <= kSongOrderCount; ++order) {
        const SongOrder& o = songOrder(order);
        switch (o.range) {
        case SongRange::None:
            EXPECT_TRUE(o.rangeFilter.isEmpty()) << order;
            break;
        case SongRange::Media:
            EXPECT_EQ(o.tabText, QStringLiteral("By Media"));
            EXPECT_TRUE(o.rangeFilter.contains(kMediaRangeName)) << order;
            break;
        case SongRange::Category:
            EXPECT_EQ(o.tabText, QStringLiteral("By Category"));
            EXPECT_TRUE(o.rangeFilter.contains(kCategoryRangeName)) << order;
            break;
        }
    }
    // A locate in a ranged order starts in the chosen range, whatever the record held.
    Record base(songsTable());
    base.setText(SON::Media, QStringLiteral("LP"));
    base.setNumber(SON::CategoryID, 9);
    EXPECT_EQ(songLocateTarget(4, base, QStringLiteral("A"), QStringLiteral("CD"), 3).text(SON::Media),
              QStringLiteral("CD"));
    EXPECT_EQ(songLocateTarget(5, base, QStringLiteral("A"), QStringLiteral("CD"), 3).number(SON::CategoryID), 3);
    EXPECT_EQ(songLocateTarget(1, base, QStringLiteral("A"), QStringLiteral("CD"), 3).text(SON::Media),
              QStringLiteral("LP"));
}

TEST(SongOrders, LocatorNumbersReadTheTextOrZero) {
    EXPECT_EQ(locatorNumber(QStringLiteral("42"), 255), 42);
    EXPECT_EQ(locatorNumber(QStringLiteral("abc"), 255), 0);
    EXPECT_EQ(locatorNumber(QString(), 255), 0);
    EXPECT_EQ(locatorNumber(QStringLiteral("999"), 255), 255);
    EXPECT_EQ(locatorNumber(QStringLiteral("-5"), 255), 0);
    EXPECT_EQ(locatorNumber(QStringLiteral("12.7"), 255), 12);
}

TEST(SongOrders, LocatorTextsThatReadAsNaNOrInfinityAreNoNumber) {
    // These parse as doubles; none of them may reach the integer conversion.
    for (const char* text : {"nan", "NaN", "-nan", "inf", "+inf", "-inf", "Infinity", "1e999"}) {
        EXPECT_EQ(locatorNumber(QString::fromLatin1(text), 255), 0) << text;
        EXPECT_EQ(locatorNumber(QString::fromLatin1(text), 9999), 0) << text;
    }
    EXPECT_EQ(locatorNumber(QStringLiteral("1e300"), 9999), 9999);
    for (int order : {6, 7}) {
        const Record target = songLocateTarget(order, Record(songsTable()), QStringLiteral("nan"), QString(), 0);
        EXPECT_EQ(target.number(songOrder(order).located), 0) << order;
    }
}

TEST(SongOrders, LocateTargetsSetTheLocatedFieldAndClearTheLaterOnes) {
    Record base(songsTable());
    base.setText(SON::Artist, QStringLiteral("Zed"));
    base.setText(SON::Title, QStringLiteral("Tune"));
    base.setText(SON::Album, QStringLiteral("Disc"));
    base.setText(SON::FileNumber, QStringLiteral("F1"));
    base.setNumber(SON::TrackNumber, 7);
    base.setRowId(12);

    const Record byAlbum = songLocateTarget(3, base, QStringLiteral("Bl"), QString(), 0);
    EXPECT_EQ(byAlbum.text(SON::Album), QStringLiteral("Bl"));
    EXPECT_EQ(byAlbum.text(SON::Artist), QString());
    EXPECT_EQ(byAlbum.number(SON::TrackNumber), 0);
    EXPECT_EQ(byAlbum.text(SON::Title), QString());
    EXPECT_EQ(byAlbum.rowId(), 0) << "a locate must not go to the record the values came from";

    const QString longText = QString(30, QChar(u'9'));
    const Record byMedia = songLocateTarget(4, base, longText, QStringLiteral("LP"), 0);
    EXPECT_EQ(byMedia.text(SON::Media), QStringLiteral("LP"));
    EXPECT_EQ(byMedia.text(SON::FileNumber), QString(20, QChar(u'9')));
    EXPECT_EQ(byMedia.text(SON::Title), QString());

    const Record byCategory = songLocateTarget(5, base, QStringLiteral("M"), QString(), 6);
    EXPECT_EQ(byCategory.number(SON::CategoryID), 6);
    EXPECT_EQ(byCategory.text(SON::Artist), QStringLiteral("M"));
    EXPECT_EQ(byCategory.text(SON::Album), QString());

    const Record byChart = songLocateTarget(6, base, QStringLiteral("12"), QString(), 0);
    EXPECT_EQ(byChart.number(SON::ChartNumber), 12);
    EXPECT_EQ(byChart.text(SON::Artist), QString());
    const Record byBpm = songLocateTarget(7, base, QStringLiteral("x"), QString(), 0);
    EXPECT_EQ(byBpm.number(SON::BeatsPerMinute), 0);
}

TEST(SongThumb, SamplesFollowTheOrdersLocatedField) {
    Record first(songsTable());
    Record last(songsTable());
    first.setNumber(SON::BeatsPerMinute, 60);
    last.setNumber(SON::BeatsPerMinute, 159);
    first.setText(SON::Title, QStringLiteral("Zzz"));  // not the located field of order 7
    SongThumb thumb;
    thumb.rebuild(7, &first, &last);
    ASSERT_EQ(thumb.numbers().size(), 100);
    EXPECT_EQ(thumb.sampleText(0), QStringLiteral("60"));
    EXPECT_EQ(thumb.sampleText(99), QStringLiteral("159"));
    Record mid(songsTable());
    mid.setNumber(SON::BeatsPerMinute, 110);
    EXPECT_EQ(thumb.position(mid), 50);

    first.setText(SON::Artist, QStringLiteral("ABBA"));
    last.setText(SON::Artist, QStringLiteral("ZZ Top"));
    thumb.rebuild(1, &first, &last);
    ASSERT_EQ(thumb.texts().size(), 100);
    EXPECT_TRUE(thumb.numbers().isEmpty());
    EXPECT_EQ(thumb.sampleText(0), QStringLiteral("ABBA"));
    mid.setText(SON::Artist, QStringLiteral("madonna"));
    const int p = thumb.position(mid);
    EXPECT_GT(p, 40);
    EXPECT_LT(p, 60);
    // Positions stay within the samples either way.
    EXPECT_EQ(thumb.sampleText(-4), thumb.sampleText(0));
    EXPECT_EQ(thumb.sampleText(400), thumb.sampleText(99));

    thumb.rebuild(1, nullptr, nullptr);
    EXPECT_TRUE(thumb.isEmpty());
    EXPECT_EQ(thumb.position(mid), 0);
}

} // namespace
