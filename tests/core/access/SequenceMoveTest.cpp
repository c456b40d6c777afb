#include "core/access/AccessTestSupport.h"

#include "access/SequenceMove.h"

#include <QMap>

using namespace srk;

namespace {

class SequenceMoves : public AccessTest {
protected:
    SequenceTable rowsTable() { return {&addWizardTable(), AW::KeyInstance, {AW::Instance, AW::Track}}; }

    Record row(qint64 instance, qint64 track, const QString& title) {
        Record r(addWizardTable());
        r.setNumber(AW::Instance, instance);
        r.setNumber(AW::Track, track);
        r.setText(AW::Title, title);
        return add(addWizardTable(), r);
    }

    // Title by track of one instance.
    QMap<qint64, QString> tracks(qint64 instance) {
        QMap<qint64, QString> out;
        QVector<Record> all;
        Table(store, addWizardTable()).fetch(AW::KeyInstance, KeyAnchor::start(), true, 1000, all);
        for (const Record& r : all)
            if (r.number(AW::Instance) == instance)
                out.insert(r.number(AW::Track), r.text(AW::Title));
        return out;
    }

    QVector<Record> fiveRows(qint64 instance) {
        QVector<Record> rows;
        for (int t = 1; t <= 5; ++t)
            rows << row(instance, t, QStringLiteral("T%1").arg(t));
        return rows;
    }

    QMap<qint64, QString> expected(std::initializer_list<std::pair<qint64, const char*>> items) {
        QMap<qint64, QString> out;
        for (const auto& [track, title] : items)
            out.insert(track, QString::fromLatin1(title));
        return out;
    }
};

TEST_F(SequenceMoves, ToTheTopShiftsTheRowsAboveDownOnePlace) {
    QVector<Record> rows = fiveRows(7);
    row(8, 1, QStringLiteral("other"));
    EXPECT_TRUE(moveInSequence(access, rowsTable(), rows[3], SequenceMove::ToTop));
    EXPECT_EQ(rows[3].number(AW::Track), 1);
    EXPECT_EQ(tracks(7), expected({{1, "T4"}, {2, "T1"}, {3, "T2"}, {4, "T3"}, {5, "T5"}}));
    EXPECT_EQ(tracks(8), expected({{1, "other"}}));
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(SequenceMoves, ToTheBottomAndOnePlaceEitherWay) {
    QVector<Record> rows = fiveRows(1);
    EXPECT_TRUE(moveInSequence(access, rowsTable(), rows[1], SequenceMove::ToBottom));
    EXPECT_EQ(tracks(1), expected({{1, "T1"}, {2, "T3"}, {3, "T4"}, {4, "T5"}, {5, "T2"}}));
    EXPECT_TRUE(moveInSequence(access, rowsTable(), rows[1], SequenceMove::UpOne));
    EXPECT_EQ(rows[1].number(AW::Track), 4);
    EXPECT_EQ(tracks(1), expected({{1, "T1"}, {2, "T3"}, {3, "T4"}, {4, "T2"}, {5, "T5"}}));
    EXPECT_TRUE(moveInSequence(access, rowsTable(), rows[0], SequenceMove::DownOne));
    EXPECT_EQ(tracks(1), expected({{1, "T3"}, {2, "T1"}, {3, "T4"}, {4, "T2"}, {5, "T5"}}));
}

TEST_F(SequenceMoves, TheFirstRowUpAndTheLastDownChangeNothing) {
    QVector<Record> rows = fiveRows(3);
    row(2, 9, QStringLiteral("before"));
    row(4, 0, QStringLiteral("after"));
    const QMap<qint64, QString> before = tracks(3);
    EXPECT_FALSE(moveInSequence(access, rowsTable(), rows[0], SequenceMove::UpOne));
    EXPECT_FALSE(moveInSequence(access, rowsTable(), rows[0], SequenceMove::ToTop));
    EXPECT_FALSE(moveInSequence(access, rowsTable(), rows[4], SequenceMove::DownOne));
    EXPECT_FALSE(moveInSequence(access, rowsTable(), rows[4], SequenceMove::ToBottom));
    EXPECT_EQ(tracks(3), before);
    EXPECT_EQ(rows[0].number(AW::Track), 1);
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(SequenceMoves, GapsAreKept) {
    Record a = row(5, 2, QStringLiteral("a"));
    Record b = row(5, 5, QStringLiteral("b"));
    Record c = row(5, 9, QStringLiteral("c"));
    row(5, 20, QStringLiteral("d"));
    EXPECT_TRUE(moveInSequence(access, rowsTable(), c, SequenceMove::ToTop));
    EXPECT_EQ(tracks(5), expected({{2, "c"}, {5, "a"}, {9, "b"}, {20, "d"}}));
    EXPECT_TRUE(moveInSequence(access, rowsTable(), c, SequenceMove::DownOne));
    EXPECT_EQ(tracks(5), expected({{2, "a"}, {5, "c"}, {9, "b"}, {20, "d"}}));
}

TEST_F(SequenceMoves, ARowAtTheHighestNumberStillFindsAParkingPlace) {
    Record low = row(1, 998, QStringLiteral("low"));
    Record high = row(1, 999, QStringLiteral("high"));
    EXPECT_TRUE(moveInSequence(access, rowsTable(), high, SequenceMove::UpOne));
    EXPECT_EQ(tracks(1), expected({{998, "high"}, {999, "low"}}));
}

TEST_F(SequenceMoves, ARecordErrorShowsTheStepAndTheMoveGoesOn) {
    QVector<Record> rows = fiveRows(6);
    // The row was taken away by another window since the list was read: re-reading it fails.
    Record gone = rows[2];
    ASSERT_EQ(Table(store, addWizardTable()).remove(gone), NoError);
    EXPECT_TRUE(moveInSequence(access, rowsTable(), gone, SequenceMove::UpOne));
    ASSERT_GE(messages.count(), 1);
    EXPECT_EQ(messages.shown().first().title, QStringLiteral("Error!"));
    const QString text = messages.shown().first().text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("Record swap error: \n\n"))) << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("\nAddWizard, AW:KeyInstance\nKey Field AW:Instance = 6\n"
                                             "Key Field AW:Track = 3\nSection = Get Orig\n")))
        << text.toStdString();
    EXPECT_EQ(messages.shown().last().text.section(QStringLiteral("Section = "), 1),
              QStringLiteral("Get Orig After\n"));
    // The neighbour still took the freed number.
    EXPECT_EQ(tracks(6), expected({{1, "T1"}, {3, "T2"}, {4, "T4"}, {5, "T5"}}));
}

TEST(SequenceMoveText, NamesTheTableKeyFieldsAndStep) {
    Record r(addWizardTable());
    r.setNumber(AW::Instance, 12);
    r.setNumber(AW::Track, 4);
    const SequenceTable t{&addWizardTable(), AW::KeyInstance, {AW::Instance, AW::Track}};
    EXPECT_EQ(sequenceMoveErrorText(t, r, QStringLiteral("Record Not Found (35)"), QStringLiteral("Put Swap")),
              QStringLiteral("Record swap error: \n\nRecord Not Found (35)\nAddWizard, AW:KeyInstance\n"
                             "Key Field AW:Instance = 12\nKey Field AW:Track = 4\nSection = Put Swap\n"));
}

}  // namespace
