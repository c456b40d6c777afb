#include "reports/PageFile.h"

#include "support/TempFolder.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace srk;

TEST(PageFile, WhatIsWrittenReadsBackItemForItem) {
    TempFolder folder;
    PageWriter w(8500, 11000);
    PageFont bold{QStringLiteral("MS Sans Serif"), 80, PageFont::Bold, 0x0000ff};
    w.font(bold);
    w.text(531, 700, 1604, 133, PageAlign::Left, QStringLiteral("Beatles, The"));
    w.text(10, 20, 300, 40, PageAlign::Right, QStringLiteral("two  blanks \\ back\nslash & Åsa"));
    w.font(bold);  // the same font again writes nothing
    w.line(0, 1, 7500, 1, 10);
    w.box(5, 6, 70, 80, 3, 0x00ff00);
    w.image(1, 2, 3, 4, QStringLiteral("/tmp/logo with blank.png"));
    const QString path = folder.file(QStringLiteral("p.srp"));
    ASSERT_TRUE(w.save(path));

    Page p;
    ASSERT_TRUE(readPage(path, p));
    EXPECT_EQ(p.width, 8500);
    EXPECT_EQ(p.height, 11000);
    ASSERT_EQ(p.items.size(), 6);
    EXPECT_EQ(p.items[0].kind, PageItem::Font);
    EXPECT_EQ(p.items[0].font, bold);
    EXPECT_EQ(p.items[1].kind, PageItem::Text);
    EXPECT_EQ(p.items[1].text, QStringLiteral("Beatles, The"));
    EXPECT_EQ(p.items[1].x, 531);
    EXPECT_EQ(p.items[1].w, 1604);
    EXPECT_EQ(p.items[2].text, QStringLiteral("two  blanks \\ back\nslash & Åsa"));
    EXPECT_EQ(p.items[2].align, PageAlign::Right);
    EXPECT_EQ(p.items[3].kind, PageItem::Line);
    EXPECT_EQ(p.items[3].w, 7500);
    EXPECT_EQ(p.items[3].pen, 10);
    EXPECT_EQ(p.items[4].kind, PageItem::Box);
    EXPECT_EQ(p.items[4].fill, 0x00ff00);
    EXPECT_EQ(p.items[5].kind, PageItem::Image);
    EXPECT_EQ(p.items[5].text, QStringLiteral("/tmp/logo with blank.png"));

    // One item per line, and a text never spreads over two.
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().count('\n'), 8);
}

TEST(PageFile, UnknownLinesAreSkippedAndOtherFilesRefused) {
    Page p;
    ASSERT_TRUE(parsePage("SRKPAGE 1\nP 100 200\nZ what is this\nT 1 2 3 4 L hello\nT x 2 3 4 L bad number\n", p));
    ASSERT_EQ(p.items.size(), 1);
    EXPECT_EQ(p.items[0].text, QStringLiteral("hello"));
    EXPECT_EQ(p.height, 200);
    QString why;
    EXPECT_FALSE(parsePage("%PDF-1.4\n", p, &why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_FALSE(readPage(QStringLiteral("/nonexistent/page.srp"), p));
}
