#include "core/access/AccessTestSupport.h"
#include "support/RefusedReads.h"

#include "albums/AssignByFileNumber.h"

#include <sqlite3.h>

using namespace srk;

namespace {

// Refuses every write to one table's file from now on, as a full disk or a read-only file would.
class RefusedWrites {
public:
    RefusedWrites(Store& store, const TableDef& def) : m_store(store), m_schema(Store::schemaName(def).toUtf8()) {
        sqlite3_set_authorizer(m_store.handle(), &RefusedWrites::authorize, this);
    }
    ~RefusedWrites() { sqlite3_set_authorizer(m_store.handle(), nullptr, nullptr); }

private:
    static int authorize(void* self, int action, const char*, const char*, const char* schema, const char*) {
        const auto* me = static_cast<RefusedWrites*>(self);
        const bool write = action == SQLITE_INSERT || action == SQLITE_UPDATE || action == SQLITE_DELETE;
        return write && schema && me->m_schema == schema ? SQLITE_DENY : SQLITE_OK;
    }
    Store& m_store;
    QByteArray m_schema;
};

class AssignByFileNumberRun : public AccessTest {
protected:
    Record filed(int id, const QString& media, const QString& fileNumber, int albumId = 0, int track = 0) {
        Record r(songsTable());
        r.setNumber(SON::ID, id);
        r.setText(SON::Title, QStringLiteral("Song %1").arg(id));
        r.setText(SON::Media, media);
        r.setText(SON::FileNumber, fileNumber);
        r.setNumber(SON::AlbumID, albumId);
        r.setNumber(SON::TrackNumber, track);
        return add(songsTable(), r);
    }

    Record theAlbum(const QString& media, const QString& fileNumber) {
        Record a = album(7, QStringLiteral("Pink Moon"), fileNumber);
        a.setText(ALB::Media, media);
        return a;
    }

    qint64 albumOf(const Record& song) { return reread(song).number(SON::AlbumID); }
};

TEST_F(AssignByFileNumberRun, TheQuestionNamesFileNumberAndMediaInQuotesAndDefaultsToNo) {
    Record a(albumTable());
    a.setText(ALB::FileNumber, QStringLiteral("ND-3   "));
    a.setText(ALB::Media, QStringLiteral("CD"));
    messages.addAnswer(ButtonCancel);
    EXPECT_EQ(AssignByFileNumber::ask(access, a), ButtonCancel);
    ASSERT_EQ(messages.count(), 1);
    const Message& m = messages.last();
    EXPECT_EQ(m.title, QStringLiteral("Assign Songs To Album"));
    EXPECT_EQ(m.text, QStringLiteral("Do you want to assign all songs with file number \"ND-3\" and media type \"CD\" "
                                     "to this album?"));
    EXPECT_EQ(m.buttons, ButtonYes | ButtonNo | ButtonCancel);
    EXPECT_EQ(m.defaultButton, ButtonNo);
}

TEST_F(AssignByFileNumberRun, LinksOnlyTheSongsOfTheAlbumsMediumUnderItsFileNumberAndCountsThem) {
    const Record a = theAlbum(QStringLiteral("CD"), QStringLiteral("ND-3"));
    const Record cd1 = filed(1, QStringLiteral("CD"), QStringLiteral("ND-3"), 0, 4);
    const Record cd2 = filed(2, QStringLiteral("CD"), QStringLiteral("nd-3"), 9, 2);  // another album's
    const Record lp = filed(3, QStringLiteral("LP"), QStringLiteral("ND-3"));
    const Record nextNumber = filed(4, QStringLiteral("CD"), QStringLiteral("ND-4"));
    const Record before = filed(5, QStringLiteral("CD"), QStringLiteral("ND-2"));
    // Filed by the key with the album's medium whatever its letter case: linked as well.
    const Record lowerCase = filed(6, QStringLiteral("cd"), QStringLiteral("ND-3"));

    const AssignByFileNumber::Result r = AssignByFileNumber::run(access, a);
    EXPECT_EQ(r.assigned, 3);
    EXPECT_EQ(r.end, AssignByFileNumber::End::OtherFileNumber);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Process complete."));
    EXPECT_EQ(messages.last().text, QStringLiteral("3 songs assigned."));
    EXPECT_EQ(albumOf(lowerCase), 7);
    EXPECT_EQ(albumOf(cd1), 7);
    EXPECT_EQ(albumOf(cd2), 7);
    EXPECT_EQ(albumOf(lp), 0);
    EXPECT_EQ(albumOf(nextNumber), 0);
    EXPECT_EQ(albumOf(before), 0);
    // Track numbers stay as they were.
    EXPECT_EQ(reread(cd1).number(SON::TrackNumber), 4);
    EXPECT_EQ(reread(cd2).number(SON::TrackNumber), 2);
    EXPECT_FALSE(store.inTransaction());
}

TEST_F(AssignByFileNumberRun, ReportsWhyNothingWasFound) {
    filed(1, QStringLiteral("CD"), QStringLiteral("ND-3"));
    filed(2, QStringLiteral("LP"), QStringLiteral("A-1"));
    struct Case {
        QString media, fileNumber, text;
        AssignByFileNumber::End end;
    };
    const QList<Case> cases = {
        {u"Tape"_qs, u"ND-3"_qs, u"No songs with that media type and file number were found."_qs,
         AssignByFileNumber::End::EndOfTable},
        {u"CD"_qs, u"ZZ"_qs, u"No songs with that media type were found."_qs, AssignByFileNumber::End::OtherMedia},
        {u"CD"_qs, u"ND-1"_qs, u"No songs with that file number were found."_qs,
         AssignByFileNumber::End::OtherFileNumber},
    };
    for (const Case& c : cases) {
        messages.clear();
        Record a(albumTable());
        a.setNumber(ALB::AlbumID, 7);
        a.setText(ALB::Media, c.media);
        a.setText(ALB::FileNumber, c.fileNumber);
        const AssignByFileNumber::Result r = AssignByFileNumber::run(access, a);
        EXPECT_EQ(r.assigned, 0) << c.text.toStdString();
        EXPECT_EQ(r.end, c.end) << c.text.toStdString();
        ASSERT_EQ(messages.count(), 1);
        EXPECT_EQ(messages.last().title, QStringLiteral("Process failed."));
        EXPECT_EQ(messages.last().text, c.text);
    }
    for (const qint64 id : songIds()) {
        Record s(songsTable());
        s.setNumber(SON::ID, id);
        ASSERT_EQ(Table(store, songsTable()).get(SON::KeyID, s), NoError);
        EXPECT_EQ(s.number(SON::AlbumID), 0);
    }
}

TEST_F(AssignByFileNumberRun, AReadErrorCancelsTheAssignment) {
    filed(1, QStringLiteral("CD"), QStringLiteral("ND-3"));
    const Record a = theAlbum(QStringLiteral("CD"), QStringLiteral("ND-3"));
    AssignByFileNumber::Result r;
    {
        srk::testing::RefusedReads refused(store, songsTable());
        r = AssignByFileNumber::run(access, a);
    }
    EXPECT_EQ(r.end, AssignByFileNumber::End::ReadError);
    EXPECT_EQ(r.assigned, 0);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Assignment Cancelled"));
    EXPECT_TRUE(messages.last().text.startsWith(QStringLiteral("Error reading music database ")));
    EXPECT_GT(messages.last().text.size(), QStringLiteral("Error reading music database ").size());
    EXPECT_FALSE(store.inTransaction());
}

TEST_F(AssignByFileNumberRun, AWriteErrorCancelsTheAssignmentAndChangesNothing) {
    const Record s = filed(1, QStringLiteral("CD"), QStringLiteral("ND-3"));
    const Record a = theAlbum(QStringLiteral("CD"), QStringLiteral("ND-3"));
    AssignByFileNumber::Result r;
    {
        RefusedWrites refused(store, songsTable());
        r = AssignByFileNumber::run(access, a);
    }
    EXPECT_EQ(r.end, AssignByFileNumber::End::WriteError);
    EXPECT_EQ(r.assigned, 0);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Assignment Cancelled"));
    EXPECT_TRUE(messages.last().text.startsWith(QStringLiteral("Error updating song database - ")));
    EXPECT_EQ(albumOf(s), 0);
    EXPECT_FALSE(store.inTransaction());
}

TEST_F(AssignByFileNumberRun, ASongPickedByTheUserIsLinkedAsItIsNow) {
    const Record s = filed(1, QStringLiteral("LP"), QStringLiteral("X"), 9, 3);
    // Changed after it was picked: the link keeps the change.
    Record changed = reread(s);
    changed.setText(SON::Title, QStringLiteral("Renamed"));
    ASSERT_EQ(Table(store, songsTable()).put(changed), NoError);
    EXPECT_EQ(AssignByFileNumber::assignSong(access, s, 7), NoError);
    const Record now = reread(s);
    EXPECT_EQ(now.number(SON::AlbumID), 7);
    EXPECT_EQ(now.text(SON::Title), QStringLiteral("Renamed"));
    EXPECT_EQ(now.number(SON::TrackNumber), 3);
    EXPECT_EQ(messages.count(), 0);
}

} // namespace
