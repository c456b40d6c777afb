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
