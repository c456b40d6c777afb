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

TEST(PageFile, WrittenBytesFollowTheFormatLineForLine) {
    PageWriter w(11000, 8500);
    w.font(PageFont{QStringLiteral("Small Fonts"), 60, PageFont::Italic, -1});
    w.text(-5, 0, 2147483647, 133, PageAlign::Center, QStringLiteral("a\\b\r\nc"));
    w.text(1, 2, 3, 4, PageAlign::Left, QStringLiteral("Björk \\ Sigur Rós\nTwo"));
    w.line(1, 2, 3, 4, 5);
    w.box(1, 2, 3, 4, 5, -1);
    w.image(9, 8, 7, 6, QStringLiteral("C:\\logo.png"));
    EXPECT_EQ(w.bytes(), QByteArray("SRKPAGE 1\n"
                                    "P 11000 8500\n"
                                    "F -1 60 2 Small Fonts\n"
                                    "T -5 0 2147483647 133 C a\\\\b\\nc\n"
                                    "T 1 2 3 4 L Bj\xc3\xb6rk \\\\ Sigur R\xc3\xb3s\\nTwo\n"
                                    "L 1 2 3 4 5\n"
                                    "R 1 2 3 4 5 -1\n"
                                    "I 9 8 7 6 C:\\\\logo.png\n"));
    Page p;
    ASSERT_TRUE(parsePage(w.bytes(), p));
    EXPECT_EQ(p.width, 11000);
    EXPECT_EQ(p.height, 8500);
    ASSERT_EQ(p.items.size(), 6);
    EXPECT_EQ(p.items[1].text, QStringLiteral("a\\b\nc"));
    EXPECT_EQ(p.items[2].text, QStringLiteral("Björk \\ Sigur Rós\nTwo"));
}

TEST(PageFile, SavingWhereNoFileCanBeMadeSaysWhy) {
    TempFolder folder;
    PageWriter w(8500, 11000);
    w.text(1, 2, 3, 4, PageAlign::Left, QStringLiteral("x"));
    QString why;
    EXPECT_FALSE(w.save(folder.file(QStringLiteral("missing/p.srp")), &why));
    EXPECT_FALSE(why.isEmpty());
    const QString path = folder.file(QStringLiteral("p.srp"));
    ASSERT_TRUE(w.save(path));
    // A second save replaces the file, never appends to it.
    ASSERT_TRUE(w.save(path));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), w.bytes());
}
