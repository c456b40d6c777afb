// Which tables changed, as the windows of this process hear it: writes of this process once their
// frame has ended (never from inside it), and commits of another station once its data version is
// checked.

#include "AccessTestSupport.h"

#include "access/RecordRoutines.h"

#include <QCoreApplication>

using namespace srk;

namespace {

class TableChangesTest : public AccessTest {
protected:
    void SetUp() override {
        AccessTest::SetUp();
        QObject::connect(&access.changes(), &TableChanges::tableChanged,
                         [this](const QString& label) { heard << label; });
        QCoreApplication::processEvents();
        heard.clear();
    }
    // What the windows hear once the event loop has turned, sorted.
    QStringList afterEventLoop() {
        QCoreApplication::processEvents();
        QStringList out = heard;
        out.sort();
        heard.clear();
        return out;
    }
    QStringList heard;
};

TEST_F(TableChangesTest, WritesAreReportedFromTheEventLoopOnceTheirFrameHasEnded) {
    const Record cd = medium(QStringLiteral("CD"));
    song(1, QString());
    EXPECT_TRUE(heard.isEmpty()) << "reported from inside the write";
    EXPECT_EQ(afterEventLoop(), (QStringList{QStringLiteral("A_Songs"), QStringLiteral("Media"),
                                              QStringLiteral("Sonorika")}));

    // A frame is reported when it commits, with every table its routine wrote.
    Record renamed = cd;
    renamed.setText(MED::Media, QStringLiteral("Compact Disc"));
    ASSERT_EQ(store.logout(), NoError);
    ASSERT_EQ(updateRecord(access, mediaTable(), renamed, cd, true), RoutineResult::Done);  // nested in the open frame
    EXPECT_TRUE(afterEventLoop().isEmpty()) << "reported before the frame ended";
    ASSERT_EQ(store.commit(), NoError);
    EXPECT_EQ(afterEventLoop(), (QStringList{QStringLiteral("A_Songs"), QStringLiteral("Media"),
                                              QStringLiteral("Sonorika")}));

    // Rolled back rows are back as they were, which a list may have read meanwhile: reported too.
    ASSERT_EQ(store.logout(), NoError);
    category(1, QStringLiteral("Jazz"));
    ASSERT_EQ(store.rollback(), NoError);
    EXPECT_EQ(afterEventLoop(), QStringList{QStringLiteral("Categories")});

    // Reads report nothing.
    Table songs(store, songsTable());
    Record r;
    songs.setStart(SON::KeyID);
    ASSERT_EQ(songs.next(r), NoError);
    EXPECT_TRUE(afterEventLoop().isEmpty());
}

TEST_F(TableChangesTest, AnotherStationsCommitIsFoundByTheDataVersion) {
    song(1, QString());
    category(1, QStringLiteral("Jazz"));
    afterEventLoop();
    // Nothing changed elsewhere: nothing to report, however often it is checked.
    EXPECT_EQ(access.checkOtherStations(), 0);
    EXPECT_TRUE(afterEventLoop().isEmpty());

    Store other(folder.path());
    ASSERT_TRUE(other.connect());
    ASSERT_EQ(other.openFile(songsTable()), NoError);
    Table theirs(other, songsTable());
    Record s(songsTable());
    s.setNumber(SON::ID, 1);
    ASSERT_EQ(theirs.get(SON::KeyID, s), NoError);
    s.setText(SON::Title, QStringLiteral("Their title"));
    ASSERT_EQ(theirs.put(s), NoError);

    EXPECT_EQ(access.checkOtherStations(), 2);
    EXPECT_EQ(afterEventLoop(), (QStringList{QStringLiteral("A_Songs"), QStringLiteral("Sonorika")}));
    EXPECT_EQ(access.checkOtherStations(), 0);

    // This station's own commits do not count as another's.
    song(2, QString());
    afterEventLoop();
    EXPECT_EQ(access.checkOtherStations(), 0);
    EXPECT_TRUE(afterEventLoop().isEmpty());
}

} // namespace
