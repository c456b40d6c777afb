#include "reports/PageCountMarker.h"
#include "reports/ReportPageList.h"

#include "support/TempFolder.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace srk;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

}  // namespace

TEST(PageCountMarker, CountIsLeftAlignedAndPaddedToFive) {
    EXPECT_EQ(pageCountText(7), QByteArray("7    "));
    EXPECT_EQ(pageCountText(1234), QByteArray("1234 "));
    EXPECT_EQ(pageCountText(12345), QByteArray("12345"));
}

TEST(PageCountMarker, OnlyTheFirstMarkerOfAPageIsReplaced) {
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("p"));
    writeAll(path, "T 1 1 1 1 L Page 3 of ~!@#$\nT 1 1 1 1 L again ~!@#$\n");
    EXPECT_TRUE(replacePageCountMarker(path, 7));
    EXPECT_EQ(readAll(path), QByteArray("T 1 1 1 1 L Page 3 of 7    \nT 1 1 1 1 L again ~!@#$\n"));
    // A second pass finds the one left, as a page with two markers would by design only once.
    EXPECT_TRUE(replacePageCountMarker(path, 7));
    EXPECT_FALSE(replacePageCountMarker(path, 7));
}

TEST(PageCountMarker, FoundAcrossEveryWindowEdgeAndFarIntoTheFile) {
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("p"));
    // Every start from just before the first window's end to past the second window's start, and far on.
    QList<int> starts;
    for (int at = 240; at <= 262; ++at)
        starts << at;
    starts << 490 << 499 << 500 << 735 << 4000;
    for (int at : starts) {
        QByteArray bytes(at, 'x');
        bytes += "~!@#$";
        bytes += QByteArray(300, 'y');
        writeAll(path, bytes);
        ASSERT_TRUE(replacePageCountMarker(path, 42)) << at;
        QByteArray expected(at, 'x');
        expected += "42   ";
        expected += QByteArray(300, 'y');
        EXPECT_EQ(readAll(path), expected) << at;
    }
}

TEST(PageCountMarker, PagesWithoutMarkerOrUnreadableAreLeftAlone) {
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("p"));
    const QByteArray bytes(1000, 'z');
    writeAll(path, bytes);
    EXPECT_FALSE(replacePageCountMarker(path, 3));
    EXPECT_EQ(readAll(path), bytes);
    EXPECT_FALSE(replacePageCountMarker(folder.file(QStringLiteral("missing")), 3));
}

TEST(PageCountMarker, EveryPageOfAListGetsTheListsCount) {
    TempFolder folder;
    ReportPageList pages(folder.path());
    ASSERT_TRUE(pages.isUsable());
    for (int i = 0; i < 7; ++i) {
        writeAll(pages.nextPagePath(), i == 3 ? QByteArray("no marker here") : QByteArray("of ~!@#$ pages"));
        pages.append();
    }
    EXPECT_EQ(replacePageCountMarkers(pages), 6);
    EXPECT_EQ(readAll(pages.path(0)), QByteArray("of 7     pages"));
    EXPECT_EQ(readAll(pages.path(3)), QByteArray("no marker here"));
}

// Starting the search at an offset known to hold no earlier marker gives what the search from the
// file's start gives, wherever the marker stands and wherever the known offset lies before it.
TEST(PageCountMarker, ASearchStartedAtAKnownOffsetChangesWhatTheWholeSearchChanges) {
    TempFolder folder;
    const QString whole = folder.file(QStringLiteral("whole"));
    const QString known = folder.file(QStringLiteral("known"));
    for (int at : {0, 5, 244, 245, 250, 251, 252, 256, 489, 490, 496, 497, 735, 2000, 4321}) {
        QByteArray bytes;
        for (int i = 0; i < at; ++i)
            bytes += char('a' + i % 26);
        bytes += "~!@#$ and again ~!@#$";
        bytes += QByteArray(at % 700, 'q');
        for (int from : {0, at / 2, at - 1, at}) {
            if (from < 0)
                continue;
            writeAll(whole, bytes);
            writeAll(known, bytes);
            ASSERT_TRUE(replacePageCountMarker(whole, 3847));
            ASSERT_TRUE(replacePageCountMarker(known, 3847, from)) << at << " from " << from;
            EXPECT_EQ(readAll(known), readAll(whole)) << at << " from " << from;
        }
    }
}

TEST(PageCountMarker, OnlyPagesToldToHoldAMarkerAreOpenedAndEachOnlyOnce) {
    TempFolder folder;
    ReportPageList pages(folder.path());
    ASSERT_TRUE(pages.isUsable());
    const QByteArray marked("T 1 1 1 1 L Page 1 of ~!@#$ and ~!@#$\n");
    // Told: at offset 22. Told none (its writer knows better than the bytes: the file is left alone).
    // Not told: searched from the start.
    writeAll(pages.nextPagePath(), marked);
    pages.append(pageCountMarkerOffset(marked));
    writeAll(pages.nextPagePath(), marked);
    pages.append(ReportPageList::kNoMarker);
    writeAll(pages.nextPagePath(), marked);
    pages.append();
    EXPECT_EQ(pages.markerAt(0), 22);
    EXPECT_EQ(pages.markerAt(2), ReportPageList::kMarkerUnknown);

    EXPECT_EQ(replacePageCountMarkers(pages), 2);
    const QByteArray replaced("T 1 1 1 1 L Page 1 of 3     and ~!@#$\n");
    EXPECT_EQ(readAll(pages.path(0)), replaced);
    EXPECT_EQ(readAll(pages.path(1)), marked);
    EXPECT_EQ(readAll(pages.path(2)), replaced);
    // A second pass (the preview opened again) leaves the pages' own second markers alone.
    EXPECT_EQ(replacePageCountMarkers(pages), 0);
    EXPECT_EQ(readAll(pages.path(0)), replaced);
    EXPECT_EQ(readAll(pages.path(2)), replaced);
}

TEST(PageCountMarker, WhatThePageListKnowsFollowsItsPagesWhenSomeAreDropped) {
    TempFolder folder;
    ReportPageList pages(folder.path());
    ASSERT_TRUE(pages.isUsable());
    for (int i = 0; i < 6; ++i) {
        const QByteArray bytes = QByteArray(i * 10, 'x') + (i % 2 ? QByteArray("~!@#$") : QByteArray("none"));
        writeAll(pages.nextPagePath(), bytes);
        pages.append(pageCountMarkerOffset(bytes));
    }
    EXPECT_EQ(pageCountMarkerOffset("none"), -1);
    pages.removeAt(0);                 // 1..5 left
    pages.keepOnly({0, 2, 3, 4});      // 1, 3, 4, 5 left
    ASSERT_EQ(pages.count(), 4);
    EXPECT_EQ(pages.markerAt(0), 10);
    EXPECT_EQ(pages.markerAt(1), 30);
    EXPECT_EQ(pages.markerAt(2), ReportPageList::kNoMarker);
    EXPECT_EQ(pages.markerAt(3), 50);
    EXPECT_EQ(replacePageCountMarkers(pages), 3);
    EXPECT_EQ(readAll(pages.path(3)), QByteArray(50, 'x') + "4    ");
    pages.clear();
    writeAll(pages.nextPagePath(), "~!@#$");
    pages.append(0);
    EXPECT_EQ(pages.markerAt(0), 0);
}
