#include "catalog/Tables.h"
#include "songs/AlbumDefaults.h"

#include <gtest/gtest.h>

using namespace srk;

namespace {

Record anAlbum() {
    Record a(albumTable());
    a.setNumber(ALB::AlbumID, 12);
    a.setText(ALB::Album, QStringLiteral("Blue Train"));
    a.setText(ALB::Artist, QStringLiteral("John Coltrane"));
    a.setText(ALB::Media, QStringLiteral("LP"));
    a.setText(ALB::FileNumber, QStringLiteral("J-101"));
    a.setNumber(ALB::ReleaseDate, 1957);
    a.setNumber(ALB::CategoryID, 3);
    a.setText(ALB::Notes, QStringLiteral("Blue Note 1577"));
    return a;
}

TEST(AlbumDefaults, AnEmptySongTakesEverythingListed) {
    Record song(songsTable());
    song.setText(SON::Title, QStringLiteral("Moment's Notice"));
    applyAlbumDefaults(song, anAlbum());
    EXPECT_EQ(song.text(SON::Album), QStringLiteral("Blue Train"));
    EXPECT_EQ(song.text(SON::Artist), QStringLiteral("John Coltrane"));
    EXPECT_EQ(song.text(SON::Media), QStringLiteral("LP"));
    EXPECT_EQ(song.text(SON::FileNumber), QStringLiteral("J-101"));
    EXPECT_EQ(song.number(SON::ReleaseDate), 1957);
    EXPECT_EQ(song.number(SON::CategoryID), 3);
    EXPECT_EQ(song.number(SON::AlbumID), 12);
    EXPECT_EQ(song.text(SON::Notes), QStringLiteral("Blue Note 1577"));
    EXPECT_EQ(song.text(SON::Title), QStringLiteral("Moment's Notice"));
}

TEST(AlbumDefaults, OwnValuesWinExceptTitleMediaAndNumber) {
    Record song(songsTable());
    song.setText(SON::Artist, QStringLiteral("Lee Morgan"));
    song.setText(SON::FileNumber, QStringLiteral("X-9"));
    song.setText(SON::Notes, QStringLiteral("solo"));
    song.setNumber(SON::ReleaseDate, 1960);
    song.setNumber(SON::CategoryID, 8);
    song.setText(SON::Album, QStringLiteral("Other"));
    song.setText(SON::Media, QStringLiteral("CD"));
    song.setNumber(SON::AlbumID, 99);
    applyAlbumDefaults(song, anAlbum());
    EXPECT_EQ(song.text(SON::Artist), QStringLiteral("Lee Morgan"));
    EXPECT_EQ(song.text(SON::FileNumber), QStringLiteral("X-9"));
    EXPECT_EQ(song.text(SON::Notes), QStringLiteral("solo"));
    EXPECT_EQ(song.number(SON::ReleaseDate), 1960);
    EXPECT_EQ(song.number(SON::CategoryID), 8);
    EXPECT_EQ(song.text(SON::Album), QStringLiteral("Blue Train"));
    EXPECT_EQ(song.text(SON::Media), QStringLiteral("LP"));
    EXPECT_EQ(song.number(SON::AlbumID), 12);
}

TEST(AlbumDefaults, ANewSongOfAnAlbumStartsFromItOnCD) {
    const Record song = newSongOfAlbum(anAlbum());
    EXPECT_EQ(song.text(SON::FileNumber), QStringLiteral("J-101"));
    EXPECT_EQ(song.text(SON::Album), QStringLiteral("Blue Train"));
    EXPECT_EQ(song.text(SON::Artist), QStringLiteral("John Coltrane"));
    EXPECT_EQ(song.number(SON::ReleaseDate), 1957);
    EXPECT_EQ(song.number(SON::AlbumID), 12);
    // Media is "CD" whatever the album holds; the category is not taken.
    EXPECT_EQ(song.text(SON::Media), QStringLiteral("CD"));
    EXPECT_EQ(song.number(SON::CategoryID), 0);
    EXPECT_TRUE(song.text(SON::Notes).isEmpty());
}

} // namespace
