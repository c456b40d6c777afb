// Songs exported with the header and imported into an empty catalogue with the automatic mapping come
// back as they were, field by field.

#include "core/exchange/ExchangeTestSupport.h"

#include "exchange/ExportJob.h"
#include "exchange/ExportSetup.h"
#include "exchange/ImportJob.h"
#include "exchange/ImportMapping.h"
#include "jobs/JobRunner.h"
#include "text/Picture.h"

#include <QDate>
#include <QHash>
#include <QRandomGenerator>

using namespace srk;

namespace {

const QStringList kWords{QStringLiteral("Björk"), QStringLiteral("Sigur Rós"), QStringLiteral("東京事変"),
                         QStringLiteral("Motörhead"), QStringLiteral("say \"yes\""), QStringLiteral("a, b, c"),
                         QStringLiteral("Ça va"), QStringLiteral("Ἀθῆναι"), QStringLiteral("plain"),
                         QStringLiteral("'quoted'"), QStringLiteral("x\"\",y"), QStringLiteral("안녕")};

QString words(QRandomGenerator& rng, int count) {
    QStringList out;
    for (int i = 0; i < count; ++i)
        out << kWords[rng.bounded(int(kWords.size()))];
    return out.join(QLatin1Char(' '));
}

qint64 dayOf(int year, int month, int day) {
    return deformat(QDate(year, month, day).toString(QStringLiteral("MM/dd/yyyy")), QStringLiteral("@d2")).toLongLong();
}

}  // namespace

TEST_F(ExchangeTest, TenThousandSongsComeBackFieldByField) {
    const QStringList media{QStringLiteral("CD"), QStringLiteral("Vinyl"), QStringLiteral("Cassette (Dolby-B)"),
                            QStringLiteral("Mini Disc")};
    const QStringList categories{QStringLiteral("Rock"), QStringLiteral("Musique française"), QStringLiteral("J-Pop 日本"),
                                 QStringLiteral("Jazz, cool")};
    for (int i = 0; i < categories.size(); ++i)
        category(10 + i, categories[i]);

    QRandomGenerator rng(20261209);
    {
        Table songs(store, songsTable());
        ASSERT_EQ(store.stream(), NoError);
        for (int n = 1; n <= 10000; ++n) {
            Record s(songsTable());
            s.setNumber(SON::ID, n);
            s.setText(SON::Artist, words(rng, 2));
            s.setText(SON::Title, words(rng, 3));
            s.setText(SON::Album, words(rng, 2));
            s.setText(SON::Media, media[rng.bounded(int(media.size()))]);
            s.setText(SON::FileNumber, QStringLiteral("F-%1").arg(n));
            s.setNumber(SON::ReleaseDate, n % 5 == 0 ? 0 : dayOf(1950 + rng.bounded(70), 1 + rng.bounded(12), 1 + rng.bounded(28)));
            s.setNumber(SON::CategoryID, n % 7 == 0 ? 0 : 10 + rng.bounded(int(categories.size())));
            s.setNumber(SON::ChartNumber, rng.bounded(256));
            s.setNumber(SON::TrackNumber, rng.bounded(100));
            s.setText(SON::Side, n % 3 == 0 ? QString() : QStringLiteral("AB").mid(n % 2, 1));
            // Times as the "@t4" picture shows them: whole seconds.
            s.setNumber(SON::Time, n % 6 == 0 ? 0 : qint64(1 + rng.bounded(3 * 3600)) * 100 + 1);
            s.setText(SON::UserDefinedKeyField, QStringLiteral("K%1 ").arg(n, 5, 10, QLatin1Char('0')) + words(rng, 1));
            s.setText(SON::AdditionalInformation1, words(rng, 4));
            s.setText(SON::AdditionalInformation2, words(rng, 4));
            s.setText(SON::AdditionalInformation3, words(rng, 4));
            s.setNumber(SON::BeatsPerMinute, rng.bounded(300));
            s.setText(SON::Style, words(rng, 2));
            s.setText(SON::Composer, words(rng, 3));
            s.setNumber(SON::LastPlayed, n % 4 == 0 ? 0 : dayOf(2000 + rng.bounded(25), 1 + rng.bounded(12), 1 + rng.bounded(28)));
            s.setText(SON::Recording, words(rng, 10) + QStringLiteral("\r\nstudio ") + words(rng, 2));
            s.setText(SON::PerformanceNotes, words(rng, 8));
            s.setText(SON::Notes, words(rng, 20) + QStringLiteral("\nline two, \"quoted\"\r\n") + words(rng, 100));
            ASSERT_EQ(songs.add(s), NoError) << store.lastError().displayText().toStdString();
        }
        ASSERT_EQ(store.flush(), NoError);
    }
    const QList<Record> before = allSongs();

    const QString path = folder.file(QStringLiteral("songs.csv"));
    {
        ExportSetup setup;
        ExportJob job(access, path, setup.columns(), setup.header());
        ASSERT_TRUE(runToEnd(job)) << job.errorText().toStdString();
        ASSERT_EQ(job.songsWritten(), 10000);
    }

    // Into an empty catalogue in another folder.
    TempFolder otherFolder;
    Store other(otherFolder.path());
    ScriptedMessages otherMessages;
    TableAccess otherAccess(other, otherMessages);
    for (const TableDef* def : catalogTables())
        ASSERT_TRUE(otherAccess.openTable(*def).ok());
    ImportMapping mapping;
    ASSERT_EQ(mapping.open(path), ImportMapping::OpenResult::Ok);
    ASSERT_TRUE(mapping.header());
    ImportJob job(otherAccess, path, mapping.plan());
    ASSERT_TRUE(runToEnd(job)) << job.errorText().toStdString();
    EXPECT_EQ(otherMessages.count(), 0);
    ASSERT_EQ(job.songsAdded(), 10000);

    QHash<QString, Record> after;
    {
        Table songs(other, songsTable());
        Record r;
        songs.setStart(SON::KeyID);
        while (songs.next(r) == NoError)
            after.insert(r.text(SON::UserDefinedKeyField), r);
    }
    ASSERT_EQ(after.size(), 10000);
    auto otherCategory = [&other](qint64 id) {
        Table t(other, categoriesTable());
        Record c = t.newRecord();
        c.setNumber(CAT::CategoryID, id);
        return t.get(CAT::KeyCategoryID, c) == NoError ? c.text(CAT::Category) : QString();
    };
    QHash<qint64, QString> names;
    int mismatches = 0;
    for (const Record& b : before) {
        const auto it = after.constFind(b.text(SON::UserDefinedKeyField));
        ASSERT_NE(it, after.constEnd());
        const Record& a = it.value();
        for (int f = 0; f < songsTable().fieldCount(); ++f) {
            if (f == SON::ID || f == SON::AlbumID)
                continue;
            if (f == SON::CategoryID) {
                const qint64 id = a.number(f);
                if (!names.contains(id))
                    names.insert(id, otherCategory(id));
                EXPECT_EQ(names.value(id), categoryName(b.number(f))) << "song " << b.number(SON::ID);
                continue;
            }
            if (a.value(f) != b.value(f) && ++mismatches <= 5)
                ADD_FAILURE() << "song " << b.number(SON::ID) << " field "
                              << songsTable().qualifiedFieldName(f).toStdString() << ": "
                              << b.value(f).toString().toStdString() << " -> " << a.value(f).toString().toStdString();
        }
    }
    EXPECT_EQ(mismatches, 0);
    // Each category came over once.
    EXPECT_EQ(Table(other, categoriesTable()).records(), categories.size());
}
