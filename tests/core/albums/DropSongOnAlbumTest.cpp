#include "core/access/AccessTestSupport.h"

#include "albums/DropSongOnAlbum.h"

#include <sqlite3.h>

#include <QSet>

using namespace srk;

namespace {

class DropSongOnAlbumRun : public AccessTest {
protected:
    Record songOf(int id, int albumId, int track, const QString& title) {
        Record r(songsTable());
        r.setNumber(SON::ID, id);
        r.setNumber(SON::AlbumID, albumId);
        r.setNumber(SON::TrackNumber, track);
        r.setText(SON::Title, title);
        r.setText(SON::Media, QStringLiteral("LP"));
        r.setText(SON::Notes, QStringLiteral("Notes of %1").arg(title));
        return add(songsTable(), r);
    }
    Record byId(qint64 id) {
        Record r(songsTable());
        r.setNumber(SON::ID, id);
        if (Table(store, songsTable()).get(SON::KeyID, r) != NoError)
            return Record();
        return r;
    }
    void addIds(const QList<qint64>& ids) {
        ASSERT_EQ(store.stream(), NoError);
        for (qint64 id : ids)
            songOf(int(id), 0, 1, QStringLiteral("Filler %1").arg(id));
        ASSERT_EQ(store.flush(), NoError);
    }
    // The ids the search tries in turn when every one of them is taken, starting after `records`.
    static QList<qint64> candidates(qint64 records) {
        QList<qint64> out;
        qint64 c = records + 1;
        for (int tries = 1; tries <= DropSongOnAlbum::kMaxTries + 1; ++tries) {
            out << c;
            c += tries > DropSongOnAlbum::kSmallSteps ? 3 : 1;
        }
        return out;
    }
};

TEST_F(DropSongOnAlbumRun, ADroppedSongIsCopiedToTheAlbumAndKeepsItsOwnAlbum) {
    songOf(1, 9, 4, QStringLiteral("River Man"));
    songOf(2, 9, 5, QStringLiteral("Hazey Jane"));
    const DropSongOnAlbum::Result r = DropSongOnAlbum::run(access, 1, 7);
    EXPECT_EQ(r.outcome, DropSongOnAlbum::Outcome::Copied);
    EXPECT_EQ(messages.count(), 0);
    EXPECT_EQ(songIds(), (QList<qint64>{1, 2, 3}));
    const Record copy = byId(3);
    EXPECT_EQ(copy.number(SON::AlbumID), 7);
    EXPECT_EQ(copy.number(SON::TrackNumber), 4);
    EXPECT_EQ(copy.text(SON::Title), QStringLiteral("River Man"));
    EXPECT_EQ(copy.text(SON::Notes), QStringLiteral("Notes of River Man"));
    EXPECT_EQ(r.song.number(SON::ID), 3);
    EXPECT_EQ(byId(1).number(SON::AlbumID), 9);
}

TEST_F(DropSongOnAlbumRun, AnUnknownSongDoesNothing) {
    songOf(1, 9, 1, QStringLiteral("River Man"));
    const DropSongOnAlbum::Result r = DropSongOnAlbum::run(access, 42, 7);
    EXPECT_EQ(r.outcome, DropSongOnAlbum::Outcome::NotFound);
    EXPECT_EQ(messages.count(), 0);
    EXPECT_EQ(songIds(), QList<qint64>{1});
    EXPECT_EQ(byId(1).number(SON::AlbumID), 9);
}

TEST_F(DropSongOnAlbumRun, TheNewIdStepsPastTakenOnesByOneThenByThree) {
    // Three records: the search starts at 4, finds 4 and 5 taken and takes 6.
    addIds({1, 4, 5});
    int rc = -1;
    EXPECT_EQ(DropSongOnAlbum::newSongId(access, 1, rc), 6);
    EXPECT_EQ(rc, NoError);

    // Every candidate but the last taken: the search follows the steps of three to its very end.
    QList<qint64> taken = candidates(101);
    const qint64 last = taken.takeLast();
    taken.prepend(1);  // still 101 records
    ASSERT_EQ(taken.size(), 101);
    for (qint64 id : songIds()) {
        Record r = byId(id);
        ASSERT_EQ(Table(store, songsTable()).remove(r), NoError);
    }
    addIds(taken);
    EXPECT_EQ(DropSongOnAlbum::newSongId(access, 1, rc), last);
    EXPECT_EQ(last, 102 + 50 + 3 * 50);
}

TEST_F(DropSongOnAlbumRun, WithoutAFreeIdTheDroppedSongMovesToTheAlbum) {
    const QList<qint64> taken = candidates(101);
    ASSERT_EQ(taken.size(), 101);
    addIds(taken);
    const DropSongOnAlbum::Result r = DropSongOnAlbum::run(access, taken.first(), 7);
    EXPECT_EQ(r.outcome, DropSongOnAlbum::Outcome::Moved);
    EXPECT_EQ(records(songsTable()), 101);
    EXPECT_EQ(byId(taken.first()).number(SON::AlbumID), 7);
}

TEST_F(DropSongOnAlbumRun, AFailedWriteSaysSoAndAddsNothing) {
    songOf(1, 9, 1, QStringLiteral("River Man"));
    DropSongOnAlbum::Result r;
    {
        struct Deny {
            static int authorize(void*, int action, const char*, const char*, const char*, const char*) {
                return action == SQLITE_INSERT || action == SQLITE_UPDATE ? SQLITE_DENY : SQLITE_OK;
            }
        };
        sqlite3_set_authorizer(store.handle(), &Deny::authorize, nullptr);
        r = DropSongOnAlbum::run(access, 1, 7);
        sqlite3_set_authorizer(store.handle(), nullptr, nullptr);
    }
    EXPECT_EQ(r.outcome, DropSongOnAlbum::Outcome::Failed);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Error"));
    EXPECT_TRUE(messages.last().text.startsWith(QStringLiteral("Error updating song database - ")));
    EXPECT_EQ(songIds(), QList<qint64>{1});
    EXPECT_EQ(byId(1).number(SON::AlbumID), 9);
}

} // namespace
