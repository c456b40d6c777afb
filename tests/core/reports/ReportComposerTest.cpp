#include "reports/PageCountMarker.h"
#include "reports/PageFile.h"
#include "reports/ReportComposer.h"
#include "reports/ReportPageList.h"

#include "support/TempFolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace srk;

namespace {

// A layout of the kind labels and binder pages use: a coloured heading box, a picture, "page n of m".
ReportLayout headedLayout() {
    ReportLayout layout;
    layout.pageWidth = 11000;  // landscape
    layout.pageHeight = 8500;
    LayoutItem box;
    box.kind = LayoutItem::Box;
    box.w = 5000;
    box.h = 400;
    box.fill = 0x00c0ff;
    LayoutItem logo;
    logo.kind = LayoutItem::Picture;
    logo.x = 5100;
    logo.w = 400;
    logo.h = 400;
    logo.text = QStringLiteral("/pictures/logo.png");
    LayoutItem count;
    count.kind = LayoutItem::Field;
    count.text = QStringLiteral("=PageCount");
    count.x = 6000;
    count.w = 1000;
    count.h = 200;
    layout.header.items = {box, logo, count};
    layout.header.height = 500;
    LayoutItem name;
    name.kind = LayoutItem::Field;
    name.text = QStringLiteral("SON:Title");
    name.picture = QStringLiteral("@s10");
    name.w = 3000;
    name.h = 200;
    layout.detail.items = {name};
    layout.detail.height = 1000;
    layout.footer.height = 200;
    return layout;
}

}  // namespace

TEST(ReportComposer, BandsFillPagesAndTheHeaderCarriesBoxesPicturesAndThePageCount) {
    TempFolder base;
    ReportPageList pages(base.path());
    const ReportLayout layout = headedLayout();
    // 8500 - 1000 margins - 500 header - 200 footer leaves room for six bands of 1000.
    ASSERT_EQ(layout.detailRoom(), 6800);
    ReportComposer composer(layout, pages, QDate(2024, 1, 2));
    for (int i = 0; i < 13; ++i)
        ASSERT_TRUE(composer.printDetail({QStringLiteral("Song number %1").arg(i)}));
    EXPECT_EQ(pages.count(), 2);  // the third is still open
    ASSERT_TRUE(composer.endPage());
    ASSERT_EQ(pages.count(), 3);
    EXPECT_EQ(composer.bandsPrinted(), 13);
    // Each page tells the list where its marker stands, so no page has to be searched for it.
    for (int i = 0; i < pages.count(); ++i) {
        QFile page(pages.path(i));
        ASSERT_TRUE(page.open(QIODevice::ReadOnly));
        const qint32 at = qint32(page.readAll().indexOf("~!@#$"));
        ASSERT_GT(at, 0);
        EXPECT_EQ(pages.markerAt(i), at);
    }
    EXPECT_EQ(replacePageCountMarkers(pages), 3);

    Page first;
    ASSERT_TRUE(readPage(pages.path(0), first));
    EXPECT_EQ(first.width, 11000);
    EXPECT_EQ(first.height, 8500);
    QStringList texts;
    bool filledBox = false, picture = false;
    for (const PageItem& item : first.items) {
        if (item.kind == PageItem::Text)
            texts << item.text;
        if (item.kind == PageItem::Box && item.fill == 0x00c0ff && item.x == layout.marginLeft)
            filledBox = true;
        if (item.kind == PageItem::Image && item.text == QLatin1String("/pictures/logo.png"))
            picture = true;
    }
    EXPECT_TRUE(filledBox);
    EXPECT_TRUE(picture);
    EXPECT_TRUE(texts.contains(QStringLiteral("3    ")));
    // The picture "@s10" cuts the title; six bands on a page.
    EXPECT_EQ(texts.count(QStringLiteral("Song numbe")), 6);
    Page last;
    ASSERT_TRUE(readPage(pages.path(2), last));
    int lastBands = 0;
    for (const PageItem& item : last.items)
        lastBands += item.kind == PageItem::Text && item.text == QLatin1String("Song numbe");
    EXPECT_EQ(lastBands, 1);
    // Ending again adds nothing.
    EXPECT_TRUE(composer.endPage());
    EXPECT_EQ(pages.count(), 3);
}

TEST(ReportComposer, PagesWithoutTheMarkerAreKnownToHaveNone) {
    TempFolder base;
    ReportPageList pages(base.path());
    ReportLayout layout = headedLayout();
    for (LayoutBand* band : {&layout.header, &layout.detail, &layout.footer})
        band->items.removeIf([](const LayoutItem& item) { return item.text == QLatin1String("=PageCount"); });
    ReportComposer composer(layout, pages, QDate(2024, 1, 2));
    ASSERT_TRUE(composer.printDetail({QStringLiteral("plain")}));
    // A song's own title that happens to be the marker counts as one, as the byte search would find it.
    ASSERT_TRUE(composer.printDetail({QStringLiteral("~!@#$")}));
    ASSERT_TRUE(composer.endPage());
    ASSERT_TRUE(composer.printDetail({QStringLiteral("plain")}));
    ASSERT_TRUE(composer.endPage());
    ASSERT_EQ(pages.count(), 2);
    EXPECT_GT(pages.markerAt(0), 0);
    EXPECT_EQ(pages.markerAt(1), ReportPageList::kNoMarker);
}

TEST(ReportComposer, APageThatCannotBeWrittenIsReported) {
    TempFolder base;
    ReportPageList pages(base.path());
    ReportComposer composer(headedLayout(), pages, QDate(2024, 1, 2));
    ASSERT_TRUE(composer.printDetail({QStringLiteral("x")}));
    // The run's folder vanished under it (a user clearing the temp folder).
    ASSERT_TRUE(QDir(pages.folder()).removeRecursively());
    EXPECT_FALSE(composer.endPage());
    EXPECT_FALSE(composer.errorString().isEmpty());
    EXPECT_EQ(pages.count(), 0);
}
