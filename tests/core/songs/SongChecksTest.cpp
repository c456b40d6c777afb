#include "core/access/AccessTestSupport.h"

#include "songs/SongChecks.h"

using namespace srk;

namespace {

class SongChecks : public AccessTest {};

TEST_F(SongChecks, MediaTakesTheListsSpellingAndMustBeInTheMediaTable) {
    medium(QStringLiteral("Cassette (DBX)"));
    medium(QStringLiteral("CD"));
    const QStringList list = loadMediaList(access);
    EXPECT_EQ(list, (QStringList{QStringLiteral("Cassette (DBX)"), QStringLiteral("CD")}));

    QString media = QStringLiteral("cassette (dbx)");
    EXPECT_TRUE(checkMedia(access, list, media));
    EXPECT_EQ(media, QStringLiteral("Cassette (DBX)"));

    media = QStringLiteral("Wax Cylinder");
    EXPECT_FALSE(checkMedia(access, list, media));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Field Contents Error"));
    EXPECT_EQ(messages.last().text, QStringLiteral("The value for Media must be found in the Media file."));

    // A stale list does not let a removed medium through.
    ASSERT_EQ(Table(store, mediaTable()).remove(
                  [&] {
                      Record r(mediaTable());
                      r.setText(MED::Media, QStringLiteral("CD"));
                      Table t(store, mediaTable());
                      t.get(MED::KeyMedia, r);
                      return r;
                  }()),
              NoError);
    media = QStringLiteral("CD");
    EXPECT_FALSE(checkMedia(access, list, media));
    EXPECT_EQ(messages.count(), 2);
}

} // namespace
