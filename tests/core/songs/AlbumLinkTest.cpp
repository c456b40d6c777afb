#include "core/access/AccessTestSupport.h"

#include "songs/AlbumLink.h"

#include <sqlite3.h>

using namespace srk;

namespace {

class AlbumLink : public AccessTest {
protected:
    Record newSong(const QString& album, const QString& artist) {
        Record s(songsTable());
        s.setText(SON::Album, album);
        s.setText(SON::Artist, artist);
        s.setText(SON::Media, QStringLiteral("LP"));
        s.setText(SON::FileNumber, QStringLiteral("F-7"));
        s.setNumber(SON::ReleaseDate, 1971);
        s.setNumber(SON::CategoryID, 2);
        s.setText(SON::Notes, QStringLiteral("gatefold"));
        return s;
    }
    QVector<Record> albums() {
        QVector<Record> out;
        Table(store, albumTable()).fetch(ALB::KeyAlbumID, KeyAnchor::start(), true, 100, out);
        return out;
    }
};

TEST_F(AlbumLink, AnExistingAlbumOfTheSameTitleAndArtistIsLinkedWhateverTheCase) {
    album(4, QStringLiteral("What's Going On"), QStringLiteral("M-1"));
    Record s = newSong(QStringLiteral("WHAT'S GOING ON"), QStringLiteral("artist"));
    EXPECT_EQ(linkSongToAlbum(access, QStringLiteral("1"), s), AlbumLinkResult::Found);
    EXPECT_EQ(s.number(SON::AlbumID), 4);
    EXPECT_EQ(albums().size(), 1);
}

TEST_F(AlbumLink, WithoutOneANewAlbumIsMadeFromTheSongUnderTheNextNumber) {
    album(9, QStringLiteral("Other"), QStringLiteral("O-1"));
    Record s = newSong(QStringLiteral("Hunky Dory"), QStringLiteral("David Bowie"));
    EXPECT_EQ(linkSongToAlbum(access, QStringLiteral("Yes"), s), AlbumLinkResult::Created);
    EXPECT_EQ(s.number(SON::AlbumID), 10);
    const QVector<Record> all = albums();
    ASSERT_EQ(all.size(), 2);
    const Record& a = all.last();
    EXPECT_EQ(a.number(ALB::AlbumID), 10);
    EXPECT_EQ(a.text(ALB::Album), QStringLiteral("Hunky Dory"));
    EXPECT_EQ(a.text(ALB::Artist), QStringLiteral("David Bowie"));
    EXPECT_EQ(a.text(ALB::Media), QStringLiteral("LP"));
    EXPECT_EQ(a.text(ALB::FileNumber), QStringLiteral("F-7"));
    EXPECT_EQ(a.number(ALB::ReleaseDate), 1971);
    EXPECT_EQ(a.number(ALB::CategoryID), 2);
    EXPECT_EQ(a.text(ALB::Notes), QStringLiteral("gatefold"));

    // The next song of that album finds it.
    Record next = newSong(QStringLiteral("Hunky Dory"), QStringLiteral("David Bowie"));
    EXPECT_EQ(linkSongToAlbum(access, QStringLiteral("1"), next), AlbumLinkResult::Found);
    EXPECT_EQ(next.number(SON::AlbumID), 10);
    EXPECT_EQ(albums().size(), 2);
}

TEST_F(AlbumLink, NothingHappensWhenOffOrAlreadyLinked) {
    Record s = newSong(QStringLiteral("Low"), QStringLiteral("David Bowie"));
    EXPECT_EQ(linkSongToAlbum(access, QStringLiteral("  "), s), AlbumLinkResult::Off);
    EXPECT_EQ(s.number(SON::AlbumID), 0);
    s.setNumber(SON::AlbumID, 77);
    EXPECT_EQ(linkSongToAlbum(access, QStringLiteral("1"), s), AlbumLinkResult::AlreadyLinked);
    EXPECT_EQ(s.number(SON::AlbumID), 77);
    EXPECT_TRUE(albums().isEmpty());
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(AlbumLink, ASongWithNeitherArtistNorAlbumStaysUnlinkedInsteadOfPilingUpBlankAlbums) {
    for (int save = 0; save < 3; ++save) {
        Record s = newSong(QString(), QString());
        EXPECT_EQ(linkSongToAlbum(access, QStringLiteral("1"), s), AlbumLinkResult::Nameless);
        EXPECT_EQ(s.number(SON::AlbumID), 0);
    }
    EXPECT_TRUE(albums().isEmpty());
    // Either name alone is enough to make an album.
    Record artistOnly = newSong(QString(), QStringLiteral("Nico"));
    EXPECT_EQ(linkSongToAlbum(access, QStringLiteral("1"), artistOnly), AlbumLinkResult::Created);
    Record albumOnly = newSong(QStringLiteral("Chelsea Girl"), QString());
    EXPECT_EQ(linkSongToAlbum(access, QStringLiteral("1"), albumOnly), AlbumLinkResult::Created);
    EXPECT_EQ(albums().size(), 2);
}

TEST_F(AlbumLink, ARefusedAlbumAddLeavesTheSongUnlinked) {
    const QString sql = QStringLiteral("CREATE TEMP TRIGGER refuse BEFORE INSERT ON \"%1\".records "
                                       "BEGIN SELECT RAISE(ABORT, 'refused'); END")
                            .arg(Store::schemaName(albumTable()));
    ASSERT_EQ(sqlite3_exec(store.handle(), sql.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    Record s = newSong(QStringLiteral("Low"), QStringLiteral("David Bowie"));
    EXPECT_EQ(linkSongToAlbum(access, QStringLiteral("1"), s), AlbumLinkResult::AddFailed);
    EXPECT_EQ(s.number(SON::AlbumID), 0);
    EXPECT_TRUE(albums().isEmpty());
}

} // namespace
