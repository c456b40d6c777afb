#include "query/QueryFieldList.h"
#include "query/QueryParser.h"
#include "songs/SongQueryFields.h"
#include "text/Picture.h"

#include <gtest/gtest.h>

using namespace srk;

namespace {

const QChar E(QueryFieldList::EntrySeparator);
const QChar P(QueryFieldList::PartSeparator);

QString entry(const QStringList& parts) {
    return parts.join(P);
}

QString artistEntry() {
    return entry({QStringLiteral("Artist"), QStringLiteral("0"), QStringLiteral("SON:Artist"),
                  QStringLiteral("@s40"), QStringLiteral("40"), QStringLiteral("1"), QStringLiteral("1"),
                  QString()});
}

} // namespace

TEST(SongQueryFields, ListsEveryFieldInOrderWithItsKindAndPicture) {
    const QueryFieldList list = songQueryFields();
    ASSERT_TRUE(list.isValid()) << "error " << list.error() << " in entry " << list.errorEntry();
    QStringList names;
    for (const QueryField& f : list.fields())
        names << f.field;
    EXPECT_EQ(names, (QStringList{QStringLiteral("CAT:Category"),
                                  QStringLiteral("MED:Media"),
                                  QStringLiteral("SON:Artist"),
                                  QStringLiteral("SON:Title"),
                                  QStringLiteral("SON:Album"),
                                  QStringLiteral("SON:Media"),
                                  QStringLiteral("SON:FileNumber"),
                                  QStringLiteral("SON:ReleaseDate"),
                                  QStringLiteral("SON:CategoryID"),
                                  QStringLiteral("SON:ChartNumber"),
                                  QStringLiteral("SON:TrackNumber"),
                                  QStringLiteral("SON:Side"),
                                  QStringLiteral("SON:Time"),
                                  QStringLiteral("SON:UserDefinedKeyField"),
                                  QStringLiteral("SON:AdditionalInformation1"),
                                  QStringLiteral("SON:AdditionalInformation2"),
                                  QStringLiteral("SON:AdditionalInformation3"),
                                  QStringLiteral("SON:BeatsPerMinute"),
                                  QStringLiteral("SON:Style"),
                                  QStringLiteral("SON:Recording"),
                                  QStringLiteral("SON:Composer"),
                                  QStringLiteral("SON:PerformanceNotes"),
                                  QStringLiteral("SON:LastPlayed"),
                                  QStringLiteral("SON:Notes")}));

    QStringList numeric;
    for (const QueryField& f : list.fields()) {
        // The wizard's filters are checked against the catalogue, so every field must be one of it.
        EXPECT_TRUE(isCatalogueField(f.field)) << f.field.toStdString();
        EXPECT_TRUE(parsePicture(f.picture).isValid()) << f.picture.toStdString();
        if (f.numeric)
            numeric << f.field;
    }
    EXPECT_EQ(numeric, (QStringList{QStringLiteral("SON:ReleaseDate"), QStringLiteral("SON:CategoryID"),
                                    QStringLiteral("SON:ChartNumber"), QStringLiteral("SON:TrackNumber"),
                                    QStringLiteral("SON:Time"), QStringLiteral("SON:BeatsPerMinute"),
                                    QStringLiteral("SON:LastPlayed")}));

    const QueryField& side = list.at(list.indexOf(QStringLiteral("son:side")));
    EXPECT_EQ(side.caption, QStringLiteral("Side / Disc"));
    EXPECT_TRUE(side.choiceList);
    EXPECT_EQ(side.choices, (QStringList{QStringLiteral(" (N/A)"), QStringLiteral("A"), QStringLiteral("B"),
                                         QStringLiteral("1"), QStringLiteral("2")}));
    const QueryField& notes = list.at(list.indexOf(QStringLiteral("SON:Notes")));
    EXPECT_EQ(notes.caption, QStringLiteral("Notes"));
    EXPECT_EQ(notes.size, 2000);
    EXPECT_EQ(list.at(list.indexOf(QStringLiteral("SON:ReleaseDate"))).picture, QStringLiteral("@d2"));
    EXPECT_EQ(list.at(list.indexOf(QStringLiteral("SON:LastPlayed"))).caption,
              QStringLiteral("Date Last Played"));
    // Both media fields carry the same caption; the first is the media table's.
    EXPECT_EQ(list.at(1).caption, QStringLiteral("Media"));
    EXPECT_EQ(list.at(5).caption, QStringLiteral("Media"));

    // The separators are the ones the wizard splits on, and the text reads back to the same list.
    const QString text = songQueryFieldText();
    EXPECT_EQ(text.count(E), 23);
    EXPECT_EQ(QueryFieldList::parse(list.text()).text(), text);
}

TEST(QueryFieldList, ReadsEntriesAndKeepsChoiceBlanks) {
    const QString side = entry({QStringLiteral(" Side "), QStringLiteral("0"), QStringLiteral("SON:Side"),
                                QStringLiteral("@s1"), QStringLiteral("1"), QStringLiteral("1"),
                                QStringLiteral("3"), QStringLiteral(" (N/A)|A")});
    const QString chart =
        entry({QStringLiteral("Chart"), QStringLiteral("0"), QStringLiteral("SON:ChartNumber"),
               QStringLiteral("@n3"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("1")});
    // Seven parts (no choices) are enough, and a separator after the last entry does no harm.
    const QueryFieldList list = QueryFieldList::parse(artistEntry() + E + side + E + chart + E);
    ASSERT_TRUE(list.isValid()) << list.error();
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list.at(1).caption, QStringLiteral("Side"));
    EXPECT_EQ(list.at(1).choices, (QStringList{QStringLiteral(" (N/A)"), QStringLiteral("A")}));
    EXPECT_FALSE(list.at(0).choiceList);
    EXPECT_TRUE(list.at(0).choices.isEmpty());
    EXPECT_TRUE(list.at(2).numeric);
    EXPECT_EQ(list.at(2).size, 1);
    EXPECT_EQ(list.indexOf(QStringLiteral("SON:Title")), -1);
}

TEST(QueryFieldList, MalformedEntryGivesItsErrorNumberAndNoFields) {
    struct Case {
        QStringList parts;
        int error;
    };
    const QString a = QStringLiteral("Artist"), z = QStringLiteral("0"), f = QStringLiteral("SON:Artist"),
                  pic = QStringLiteral("@s40"), n = QStringLiteral("40"), one = QStringLiteral("1");
    const Case cases[] = {
        {{a, z, f, pic, n, one}, QueryFieldList::WrongPartCount},
        {{a, z, f, pic, n, one, one, QString(), QString()}, QueryFieldList::WrongPartCount},
        {{QStringLiteral("  "), z, f, pic, n, one, one}, QueryFieldList::NoCaption},
        {{a, one, f, pic, n, one, one}, QueryFieldList::BadMarker},
        {{a, z, QStringLiteral("Artist"), pic, n, one, one}, QueryFieldList::BadFieldName},
        {{a, z, QStringLiteral("SON:"), pic, n, one, one}, QueryFieldList::BadFieldName},
        {{a, z, QStringLiteral("SON:Art ist"), pic, n, one, one}, QueryFieldList::BadFieldName},
        {{a, z, f, QStringLiteral("s40"), n, one, one}, QueryFieldList::BadPicture},
        {{a, z, f, QStringLiteral("@x9"), n, one, one}, QueryFieldList::BadPicture},
        {{a, z, f, pic, QStringLiteral("0"), one, one}, QueryFieldList::BadSize},
        {{a, z, f, pic, QStringLiteral("forty"), one, one}, QueryFieldList::BadSize},
        {{a, z, f, pic, n, QStringLiteral("3"), one}, QueryFieldList::BadKind},
        {{a, z, f, pic, n, one, QStringLiteral("2")}, QueryFieldList::BadInputStyle},
        {{a, z, f, pic, n, one, QStringLiteral("3"), QString()}, QueryFieldList::NoChoices},
    };
    for (const Case& c : cases) {
        // The bad entry comes second, so the good one before it must be dropped as well.
        const QueryFieldList list = QueryFieldList::parse(artistEntry() + E + entry(c.parts));
        EXPECT_EQ(list.error(), c.error) << entry(c.parts).toStdString();
        EXPECT_EQ(list.errorEntry(), 2) << entry(c.parts).toStdString();
        EXPECT_TRUE(list.isEmpty());
        EXPECT_FALSE(list.isValid());
    }
    EXPECT_EQ(QueryFieldList::parse(QString()).error(), QueryFieldList::EmptyText);
    EXPECT_EQ(QueryFieldList::parse(artistEntry() + E + E + artistEntry()).error(),
              QueryFieldList::WrongPartCount);
}
