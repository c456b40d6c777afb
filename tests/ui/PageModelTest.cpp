#include "ui/services/PageModel.h"
#include "catalog/Tables.h"
#include "store/PageCursor.h"
#include "store/Store.h"
#include "store/Table.h"
#include "support/TempFolder.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace srk;

namespace {

constexpr int kSongs = 60;
constexpr int kPage = 8;

QStringList g_testerFailures;

void collectTesterFailures(QtMsgType, const QMessageLogContext& context, const QString& message) {
    if (context.category && QLatin1String(context.category) == QLatin1String("qt.modeltest"))
        g_testerFailures << message;
}

// Song i: artist "Artist NN", time i minutes 45 seconds, chart i, 120 BPM on even songs only,
// category Jazz on odd songs and none on even ones.
class PageModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_testerFailures.clear();
        previousHandler = qInstallMessageHandler(collectTesterFailures);
        ASSERT_TRUE(store.connect());
        for (const TableDef* def : catalogTables()) {
            ASSERT_EQ(store.createFile(*def), NoError);
            ASSERT_EQ(store.openFile(*def), NoError);
        }
        Table categories(store, categoriesTable());
        Record jazz(categoriesTable());
        jazz.setNumber(CAT::CategoryID, 1);
        jazz.setText(CAT::Category, QStringLiteral("Jazz"));
        ASSERT_EQ(categories.add(jazz), NoError);
        Table songs(store, songsTable());
        for (int i = 1; i <= kSongs; ++i) {
            Record s(songsTable());
            s.setText(SON::Artist, QStringLiteral("Artist %1").arg(i, 2, 10, QLatin1Char('0')));
            s.setNumber(SON::ID, i);
            s.setNumber(SON::Time, 1 + (i * 60 + 45) * 100);
            s.setNumber(SON::ChartNumber, i);
            s.setNumber(SON::BeatsPerMinute, i % 2 ? 0 : 120);
            s.setNumber(SON::CategoryID, i % 2);
            ASSERT_EQ(songs.add(s), NoError);
        }
        cursor.addRelated(categoriesTable(), SON::CategoryID, CAT::CategoryID);
        model.setColumns({
            {0, SON::Artist, QStringLiteral("@s40"), QStringLiteral("Artist")},
            {1, CAT::Category, QStringLiteral("@s30"), QStringLiteral("Category")},
            {0, SON::Time, QStringLiteral("@t4b"), QStringLiteral("Time")},
            {0, SON::ChartNumber, QStringLiteral("@n3"), QStringLiteral("Chart")},
            {0, SON::BeatsPerMinute, QStringLiteral("@n_4b"), QStringLiteral("BPM"),
             Qt::AlignRight | Qt::AlignVCenter},
        });
        ASSERT_EQ(model.open(), NoError);
        ASSERT_EQ(model.setPageSize(kPage), NoError);
    }

    void TearDown() override { qInstallMessageHandler(previousHandler); }

    QString text(int row, int column) const { return model.index(row, column).data().toString(); }

    // The model shows exactly the cursor's page, with the highlight role on the cursor's highlight.
    void expectModelMatchesCursor() {
        const QVector<PageRow>& rows = cursor.rows();
        ASSERT_EQ(model.rowCount(), rows.size());
        ASSERT_LE(model.rowCount(), kPage);
        for (int i = 0; i < rows.size(); ++i) {
            ASSERT_EQ(model.index(i, 0).data(PageModel::PositionRole).toString(), rows[i].position) << i;
            ASSERT_EQ(text(i, 0), rows[i].primary().text(SON::Artist)) << i;
            ASSERT_EQ(model.index(i, 0).data(PageModel::HighlightRole).toBool(), i == cursor.highlight())
                << i;
        }
    }

    QtMessageHandler previousHandler = nullptr;
    TempFolder folder;
    Store store{folder.path()};
    PageCursor cursor{store, songsTable(), SON::SongsByArtist};
    PageModel model{cursor};
};

TEST_F(PageModelTest, ModelStaysConsistentThroughEveryMove) {
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    ASSERT_EQ(model.top(), NoError);
    expectModelMatchesCursor();
    EXPECT_EQ(model.rowCount(), kPage);

    for (int i = 0; i < 12; ++i) {
        ASSERT_EQ(model.lineDown(), NoError);
        expectModelMatchesCursor();
    }
    for (int i = 0; i < 9; ++i) {
        ASSERT_EQ(model.pageDown(), NoError); // runs into the end
        expectModelMatchesCursor();
    }
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(model.pageUp(), NoError);
        expectModelMatchesCursor();
        ASSERT_EQ(model.lineUp(), NoError);
        expectModelMatchesCursor();
    }
    ASSERT_EQ(model.bottom(), NoError);
    expectModelMatchesCursor();
    ASSERT_EQ(model.setPageSize(3), NoError);
    expectModelMatchesCursor();
    ASSERT_EQ(model.setPageSize(kPage), NoError);
    expectModelMatchesCursor();
    model.setHighlight(2);
    expectModelMatchesCursor();

    Table songs(store, songsTable());
    ASSERT_EQ(songs.remove(cursor.highlightedRecord()), NoError);
    ASSERT_EQ(model.removeHighlighted(), NoError);
    expectModelMatchesCursor();
    EXPECT_EQ(model.rowCount(), kPage);

    ASSERT_EQ(model.setFilter({cursor.column(1, CAT::Category) + QStringLiteral(" = 'Jazz'"), {}}), NoError);
    expectModelMatchesCursor();
    ASSERT_EQ(model.setKey(SON::SongsByChartNumber), NoError);
    expectModelMatchesCursor();
    for (int i = 0; i < model.rowCount(); ++i)
        EXPECT_EQ(text(i, 1), QStringLiteral("Jazz"));

    EXPECT_TRUE(g_testerFailures.isEmpty()) << g_testerFailures.join(QLatin1Char('\n')).toStdString();
}

TEST_F(PageModelTest, ScrollsReportRowsAndOnlyRebuildsReset) {
    ASSERT_EQ(model.top(), NoError);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy highlight(&model, &PageModel::highlightChanged);

    // Within the page: no structural change, the highlight moves.
    ASSERT_EQ(model.lineDown(), NoError);
    EXPECT_EQ(resets.count() + removed.count() + inserted.count(), 0);
    ASSERT_EQ(highlight.count(), 1);
    EXPECT_EQ(highlight.takeFirst().at(0).toInt(), 1);

    // At the last row: one row leaves at the top, one comes in at the bottom.
    for (int i = 0; i < kPage - 1; ++i)
        ASSERT_EQ(model.lineDown(), NoError);
    EXPECT_EQ(removed.count(), 1);
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(removed.first().at(1).toInt(), 0);
    EXPECT_EQ(inserted.first().at(1).toInt(), kPage - 1);
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(text(kPage - 1, 0), QStringLiteral("Artist 09"));

    // Nothing to read at the end: no signal at all.
    ASSERT_EQ(model.bottom(), NoError);
    EXPECT_EQ(resets.count(), 1);
    highlight.clear();
    removed.clear();
    inserted.clear();
    ASSERT_EQ(model.lineDown(), NoError);
    EXPECT_EQ(removed.count() + inserted.count() + highlight.count(), 0);
}

TEST_F(PageModelTest, CellsShowTheirValuesThroughThePictures) {
    ASSERT_EQ(model.top(), NoError);
    EXPECT_EQ(model.columnCount(), 5);
    EXPECT_EQ(model.headerData(4, Qt::Horizontal).toString(), QStringLiteral("BPM"));

    // Row 0 is song 1 (Jazz, odd: no BPM); row 1 is song 2 (no category, 120 BPM).
    EXPECT_EQ(text(0, 0), QStringLiteral("Artist 01"));
    EXPECT_EQ(text(0, 1), QStringLiteral("Jazz"));
    EXPECT_EQ(text(0, 2), QStringLiteral("00:01:45"));
    EXPECT_EQ(text(0, 3), QStringLiteral("1"));
    EXPECT_EQ(text(0, 4), QString());
    EXPECT_EQ(text(1, 1), QString());
    EXPECT_EQ(text(1, 4), QStringLiteral("120"));
    EXPECT_EQ(model.index(1, 4).data(PageModel::ValueRole).toLongLong(), 120);

    EXPECT_EQ(model.index(0, 4).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(model.index(0, 0).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignLeft | Qt::AlignVCenter);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.setColumnAlignment(0, Qt::AlignHCenter);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(model.index(3, 0).data(Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignHCenter);

    // A zero time is blank with "b" and midnight without.
    Table songs(store, songsTable());
    Record song = cursor.highlightedRecord();
    song.setNumber(SON::Time, 0);
    ASSERT_EQ(songs.put(song), NoError);
    ASSERT_EQ(model.reload(), NoError);
    EXPECT_EQ(text(0, 2), QString());
    model.setColumnPicture(2, QStringLiteral("@t4"));
    EXPECT_EQ(text(0, 2), QStringLiteral("00:00:00"));

    // Outside the page there is nothing.
    EXPECT_FALSE(model.index(kPage, 0).isValid());
    EXPECT_EQ(model.pageRow(kPage), nullptr);
}

TEST_F(PageModelTest, RefusedFilterAndReadFailuresAreSignalled) {
    ASSERT_EQ(model.top(), NoError);
    QSignalSpy refused(&model, &PageModel::filterRefused);
    QSignalSpy failed(&model, &PageModel::readFailed);
    EXPECT_NE(model.setFilter({QStringLiteral("nonsense ((("), {}}), NoError);
    EXPECT_EQ(refused.count(), 1);
    EXPECT_EQ(failed.count(), 0);
    EXPECT_EQ(model.rowCount(), kPage); // unfiltered page

    for (int i = 0; i < kPage; ++i)
        model.lineDown();
    failed.clear();
    store.closeFile(songsTable());
    const int before = model.rowCount();
    EXPECT_NE(model.pageDown(), NoError);
    EXPECT_EQ(failed.count(), 1);
    EXPECT_EQ(refused.count(), 1);
    EXPECT_EQ(model.rowCount(), before);
}

TEST_F(PageModelTest, EmptyPageHasNoRows) {
    ASSERT_EQ(model.setFilter({cursor.column(0, SON::ID) + QStringLiteral(" < 0"), {}},
                              PageCursor::Placement::AtStart),
              NoError);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.highlight(), -1);
    ASSERT_EQ(model.pageDown(), NoError);
    ASSERT_EQ(model.lineUp(), NoError);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_TRUE(g_testerFailures.isEmpty()) << g_testerFailures.join(QLatin1Char('\n')).toStdString();
}

} // namespace

namespace {

TEST_F(PageModelTest, RefreshShowsNewValuesInPlaceAndFollowsTheHighlightedRecord) {
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    ASSERT_EQ(model.top(), NoError);
    ASSERT_EQ(model.pageDown(), NoError);
    model.setHighlight(3);
    const Record highlighted = cursor.highlightedRecord();
    const QString firstShown = text(0, 0);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    // A value changes (elsewhere) but the records stay where they were: cells change, the view keeps its
    // place and the highlight.
    Table songs(store, songsTable());
    Record r = highlighted;
    r.setNumber(SON::ChartNumber, 99);
    ASSERT_EQ(songs.put(r), NoError);
    EXPECT_EQ(text(3, 3), QString::number(highlighted.number(SON::ChartNumber)));
    ASSERT_EQ(model.refresh(), NoError);
    EXPECT_EQ(text(3, 3), QStringLiteral("99"));
    EXPECT_EQ(resets.count(), 0);
    EXPECT_GE(changed.count(), 1);
    EXPECT_EQ(cursor.highlightedRecord().rowId(), highlighted.rowId());
    EXPECT_EQ(text(0, 0), firstShown);
    expectModelMatchesCursor();

    // The highlighted song sorts elsewhere now: the page follows it there.
    r = cursor.highlightedRecord();
    r.setText(SON::Artist, QStringLiteral("Artist 55b"));
    ASSERT_EQ(songs.put(r), NoError);
    ASSERT_EQ(model.refresh(), NoError);
    EXPECT_EQ(cursor.highlightedRecord().rowId(), highlighted.rowId());
    EXPECT_EQ(cursor.highlightedRecord().text(SON::Artist), QStringLiteral("Artist 55b"));
    expectModelMatchesCursor();

    // It is gone: the highlight stays on the row it was on, over what is there now.
    ASSERT_EQ(songs.remove(cursor.highlightedRecord()), NoError);
    ASSERT_EQ(model.refresh(), NoError);
    EXPECT_NE(cursor.highlightedRecord().rowId(), highlighted.rowId());
    expectModelMatchesCursor();
    EXPECT_TRUE(g_testerFailures.isEmpty()) << g_testerFailures.join(QLatin1Char('\n')).toStdString();
}

} // namespace
