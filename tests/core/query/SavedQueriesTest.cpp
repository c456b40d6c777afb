#include "query/SavedQueries.h"
#include "support/TempFolder.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace srk;

namespace {

void writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

}  // namespace

TEST(SavedQueries, SaveChangeDeleteSurviveAReload) {
    TempFolder folder;
    {
        SavedQueries q(folder.path());
        ASSERT_TRUE(q.load());  // no file yet: an empty list
        EXPECT_TRUE(q.descriptions(QStringLiteral("SONGS")).isEmpty());
        ASSERT_TRUE(q.save(QStringLiteral("SONGS"), QStringLiteral("Björk on CD"),
                           QStringLiteral("UPPER(SON:Artist) = UPPER('björk') AND SON:Media = 'CD'")));
        // Tabs, line breaks and backslashes inside fields come back as they were.
        ASSERT_TRUE(q.save(QStringLiteral("SONGS"), QStringLiteral("odd\tname\\n"),
                           QStringLiteral("SON:Title = 'a\nb' OR SON:Title = 'c\\d'")));
        ASSERT_TRUE(q.save(QStringLiteral("ALBUMS"), QStringLiteral("Björk on CD"), QStringLiteral("ALB:Media = 'CD'")));
        EXPECT_FALSE(q.save(QStringLiteral("songs"), QStringLiteral("BJÖRK ON CD"), QStringLiteral("1 = 1")));
        EXPECT_EQ(q.error(), QStringLiteral("A query named \"BJÖRK ON CD\" is already saved"));
        EXPECT_FALSE(q.save(QStringLiteral("SONGS"), QStringLiteral("  "), QStringLiteral("1 = 1")));
    }
    SavedQueries q(folder.path());
    ASSERT_TRUE(q.load()) << q.error().toStdString();
    EXPECT_EQ(q.descriptions(QStringLiteral("Songs")),
              (QStringList{QStringLiteral("Björk on CD"), QStringLiteral("odd\tname\\n")}));
    EXPECT_EQ(q.query(QStringLiteral("SONGS"), QStringLiteral("odd\tname\\n")),
              QStringLiteral("SON:Title = 'a\nb' OR SON:Title = 'c\\d'"));
    EXPECT_EQ(q.query(QStringLiteral("ALBUMS"), QStringLiteral("björk on cd")), QStringLiteral("ALB:Media = 'CD'"));
    EXPECT_FALSE(q.query(QStringLiteral("SONGS"), QStringLiteral("nothing")).has_value());

    ASSERT_TRUE(q.change(QStringLiteral("SONGS"), QStringLiteral("Björk on CD"), QStringLiteral("Björk"),
                         QStringLiteral("SON:Artist ~= 'björk'")));
    EXPECT_FALSE(q.change(QStringLiteral("SONGS"), QStringLiteral("Björk"), QStringLiteral("ODD\tNAME\\N"),
                          QStringLiteral("1 = 1")));
    EXPECT_FALSE(q.change(QStringLiteral("SONGS"), QStringLiteral("missing"), QStringLiteral("x"), QString()));
    ASSERT_TRUE(q.remove(QStringLiteral("SONGS"), QStringLiteral("odd\tname\\n")));
    EXPECT_FALSE(q.remove(QStringLiteral("SONGS"), QStringLiteral("odd\tname\\n")));
    EXPECT_EQ(q.error(), QStringLiteral("No query named \"odd\tname\\n\" is saved"));

    SavedQueries again(folder.path());
    ASSERT_TRUE(again.load());
    EXPECT_EQ(again.descriptions(QStringLiteral("SONGS")), QStringList{QStringLiteral("Björk")});
    EXPECT_EQ(again.query(QStringLiteral("SONGS"), QStringLiteral("Björk")), QStringLiteral("SON:Artist ~= 'björk'"));
    EXPECT_EQ(again.descriptions(QStringLiteral("ALBUMS")).size(), 1);
}

TEST(SavedQueries, DamagedFilesGiveAnEmptyListAndAClearError) {
    TempFolder folder;
    const QString path = folder.file(SavedQueries::fileName());
    const QByteArray cases[] = {
        QByteArray("\x00\xff\x13garbage\x01\x02", 10),
        QByteArray("SKRQUERY 2\nSONGS\ta\tb\n"),
        QByteArray("SKRQUERY 1\nSONGS\tonly two\n"),
        QByteArray("SKRQUERY 1\nSONGS\tgood\t1 = 1\nSONGS\tbad escape\t\\q\n"),
        QByteArray("SKRQUERY 1\n\tno set\t1 = 1\n"),
        QByteArray("SKRQUERY 1\nSONGS\tbroken \xc3\x28 utf8\t1 = 1\n"),
        QByteArray(),
    };
    for (const QByteArray& data : cases) {
        writeFile(path, data);
        SavedQueries q(folder.path());
        EXPECT_FALSE(q.load()) << data.toStdString();
        EXPECT_TRUE(q.descriptions(QStringLiteral("SONGS")).isEmpty());
        EXPECT_TRUE(q.error().contains(path)) << q.error().toStdString();
    }
    writeFile(path, QByteArray("SKRQUERY 1\nSONGS\tgood\t1 = 1\nSONGS\tbad escape\t\\q\n"));
    SavedQueries q(folder.path());
    EXPECT_FALSE(q.load());
    EXPECT_EQ(q.error(), QStringLiteral("The saved queries file %1 is damaged at line 3").arg(path));
    // Saving over a damaged file starts a fresh one.
    ASSERT_TRUE(q.save(QStringLiteral("SONGS"), QStringLiteral("new"), QStringLiteral("1 = 1")));
    SavedQueries reread(folder.path());
    ASSERT_TRUE(reread.load());
    EXPECT_EQ(reread.descriptions(QStringLiteral("SONGS")), QStringList{QStringLiteral("new")});
}
