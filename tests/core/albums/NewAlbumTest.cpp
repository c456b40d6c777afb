#include "core/access/AccessTestSupport.h"
#include "support/RefusedReads.h"

#include "albums/NewAlbum.h"

using namespace srk;

namespace {

class NewAlbum : public AccessTest {};

TEST_F(NewAlbum, ACopyIsNamedAfterItsSourceAndLosesTheDiscIdentifierOnly) {
    Record live(albumTable());
    live.setNumber(ALB::AlbumID, 7);
    live.setText(ALB::Artist, QStringLiteral("Keith Jarrett"));
    live.setText(ALB::Album, QStringLiteral("  Live   "));
    live.setText(ALB::CDIdentifier, QStringLiteral("ECM 1064"));
    live.setText(ALB::XCCD, QStringLiteral("a50b1c0d"));
    live.setText(ALB::Notes, QStringLiteral("Cologne"));
    const Record copy = albumToPrime(live);
    // Only trailing blanks are clipped from the name.
    EXPECT_EQ(copy.text(ALB::Album), QStringLiteral("  Live - Copy"));
    EXPECT_TRUE(copy.text(ALB::CDIdentifier).isEmpty());
    Record expected = live;
    expected.setText(ALB::Album, QStringLiteral("  Live - Copy"));
    expected.setText(ALB::CDIdentifier, QString());
    EXPECT_TRUE(copy.sameValues(expected));

    // A long name keeps what fits of the name and its suffix in the field.
    live.setText(ALB::Album, QString(38, u'x'));
    EXPECT_EQ(albumToPrime(live).text(ALB::Album), QString(38, u'x') + QStringLiteral(" -"));

    // A blank name is a new album: nothing is renamed or cleared.
    Record blank(albumTable());
    blank.setText(ALB::CDIdentifier, QStringLiteral("kept"));
    EXPECT_TRUE(albumToPrime(blank).sameValues(blank));
    EXPECT_TRUE(albumToPrime(Record()).sameValues(Record(albumTable())));
}

TEST_F(NewAlbum, TheNewNumberFollowsTheHighestAndTheAlbumIsAddedAtOnce) {
    Record first(albumTable());
    ASSERT_EQ(primeAlbum(access, first), PrimeStatus::Primed);
    EXPECT_EQ(first.number(ALB::AlbumID), 1);
    EXPECT_EQ(records(albumTable()), 1);
    EXPECT_TRUE(reread(first).sameValues(first));

    album(9, QStringLiteral("Nine"), QString());
    album(3, QStringLiteral("Three"), QString());
    Record copy = reread(album(5, QStringLiteral("Live"), QString()));
    ASSERT_EQ(primeAlbum(access, copy), PrimeStatus::Primed);
    EXPECT_EQ(copy.number(ALB::AlbumID), 10);
    EXPECT_EQ(reread(copy).text(ALB::Album), QStringLiteral("Live - Copy"));
    EXPECT_EQ(records(albumTable()), 5);
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(NewAlbum, AddsThatKeepFailingAskAfterEveryThirdAndRetryTriesThreeMore) {
    Record live = album(1, QStringLiteral("Live"), QString());
    album(2, QStringLiteral("Live - Copy"), QString());
    messages.addAnswer(ButtonRetry);
    messages.addAnswer(ButtonRetry);
    messages.addAnswer(ButtonCancel);
    Record copy = live;
    EXPECT_EQ(primeAlbum(access, copy), PrimeStatus::Cancelled);
    EXPECT_EQ(messages.titles(), (QStringList{QStringLiteral("Auto Increment Error"), QStringLiteral("Auto Increment Error"),
                                              QStringLiteral("Auto Increment Error")}));
    EXPECT_EQ(records(albumTable()), 2);
    // The caller's album is left as it was.
    EXPECT_TRUE(copy.sameValues(live));
}

TEST_F(NewAlbum, AnUnreadableAlbumFileShowsTheRetrievalErrorForAlbum) {
    album(1, QStringLiteral("One"), QString());
    Record fresh(albumTable());
    {
        srk::testing::RefusedReads refused(store, albumTable());
        EXPECT_EQ(primeAlbum(access, fresh), PrimeStatus::Failed);
    }
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Record Retrieval Error"));
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral(" Album file"))) << messages.last().text.toStdString();
    EXPECT_EQ(records(albumTable()), 1);
}

} // namespace
