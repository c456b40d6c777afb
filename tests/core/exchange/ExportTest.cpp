// The export: the two field lists with their marking rules, the lines written, and the run with its
// failures.

#include "core/exchange/ExchangeTestSupport.h"

#include "exchange/CsvLine.h"
#include "exchange/ExchangeFields.h"
#include "exchange/ExportJob.h"
#include "exchange/ExportLine.h"
#include "exchange/ExportSetup.h"
#include "jobs/JobRunner.h"
#include "text/Picture.h"

using namespace srk;

namespace {

QStringList markedNames(const MarkedList& list) {
    QStringList out;
    for (int row : list.markedRows())
        out << list.rows()[row].name;
    return out;
}

QStringList names(const MarkedList& list) {
    QStringList out;
    for (const FieldRow& r : list.rows())
        out << r.name;
    return out;
}

}  // namespace

TEST(ExportSetup, MarkingRulesOfBothLists) {
    ExportSetup setup;
    MarkedList& all = setup.allFields();
    ASSERT_EQ(all.size(), 23);
    EXPECT_EQ(setup.exportFields().size(), 23);
    EXPECT_TRUE(setup.header());

    all.click(2);
    EXPECT_EQ(markedNames(all), QStringList{QStringLiteral("SON:Album")});
    all.ctrlClick(4);
    EXPECT_EQ(markedNames(all), (QStringList{QStringLiteral("SON:Album"), QStringLiteral("SON:FileNumber")}));
    // The anchor is now row 4: Shift+click marks 4..1 and nothing else.
    all.shiftClick(1);
    EXPECT_EQ(all.markedRows(), (QVector<int>{1, 2, 3, 4}));
    EXPECT_EQ(all.current(), 1);
    // Space toggles the current row and moves the anchor there; Shift+Down then marks from it.
    all.space();
    EXPECT_EQ(all.markedRows(), (QVector<int>{2, 3, 4}));
    all.key(MarkedList::Key::Down, true);
    EXPECT_EQ(all.markedRows(), (QVector<int>{1, 2}));
    all.key(MarkedList::Key::End, true);
    EXPECT_EQ(all.markedRows().size(), 22);
    // A move without Shift leaves the marks as they are.
    all.key(MarkedList::Key::Home, false);
    EXPECT_EQ(all.current(), 0);
    EXPECT_EQ(all.markedRows().size(), 22);
    // Without an anchor Shift behaves as a plain click.
    MarkedList& out = setup.exportFields();
    out.clearAnchor();
    out.shiftClick(5);
    EXPECT_EQ(out.markedRows(), QVector<int>{5});
}

TEST(ExportSetup, ButtonsAddRemoveShiftAndPicture) {
    ExportSetup setup;
    MarkedList& all = setup.allFields();
    MarkedList& out = setup.exportFields();
    // Remove everything: "&OK" refuses, "&Picture" sends the focus to All Fields.
    out.click(0);
    out.key(MarkedList::Key::End, true);
    setup.remove();
    EXPECT_EQ(out.size(), 0);
    QString title, text;
    ASSERT_TRUE(setup.okRefused(&title, &text));
    EXPECT_EQ(title, QStringLiteral("No Fields Selected for Export!"));
    EXPECT_EQ(text, QStringLiteral("You must select one or more fields to export."));
    EXPECT_EQ(setup.pictureTarget(), ExportSetup::PictureTarget::FocusAllFields);

    all.click(1);
    all.ctrlClick(22);
    setup.add();
    EXPECT_EQ(names(out), (QStringList{QStringLiteral("SON:Title"), QStringLiteral("CAT:Category")}));
    EXPECT_EQ(out.current(), 0);
    // Adding a field already there only marks it.
    out.click(1);
    all.click(1);
    setup.add();
    EXPECT_EQ(out.size(), 2);
    EXPECT_EQ(markedNames(out), (QStringList{QStringLiteral("SON:Title"), QStringLiteral("CAT:Category")}));

    out.setCurrent(0);
    setup.shiftUp();
    EXPECT_EQ(out.current(), 0);
    setup.shiftDown();
    EXPECT_EQ(names(out), (QStringList{QStringLiteral("CAT:Category"), QStringLiteral("SON:Title")}));
    EXPECT_EQ(out.current(), 1);
    setup.shiftDown();
    EXPECT_EQ(out.current(), 1);

    EXPECT_EQ(setup.typeDisplay(), QStringLiteral("Alpha-numeric"));
    EXPECT_FALSE(setup.setPicture(QString()));
    EXPECT_TRUE(setup.setPicture(QStringLiteral("@n3")));
    EXPECT_EQ(setup.typeDisplay(), QStringLiteral("Numeric"));
    EXPECT_TRUE(setup.setPicture(QStringLiteral("@d2")));
    EXPECT_EQ(setup.typeDisplay(), QStringLiteral("@d2"));
    out.setCurrent(-1);
    EXPECT_EQ(setup.pictureTarget(), ExportSetup::PictureTarget::Row);
    EXPECT_EQ(out.current(), 0);
    EXPECT_FALSE(setup.okRefused());
}

TEST(ExportLine, FieldsAreWrittenByPictureLetter) {
    const QVector<ExportColumn> columns{{QStringLiteral("SON:Title"), QStringLiteral("@s40")},
                                        {QStringLiteral("SON:ChartNumber"), QStringLiteral("@n3")},
                                        {QStringLiteral("SON:ReleaseDate"), QStringLiteral("@d2")},
                                        {QStringLiteral("SON:Artist"), QStringLiteral("@n3")},
                                        {QStringLiteral("SON:Nothing"), QStringLiteral("@s3")},
                                        {QStringLiteral("CAT:Category"), QStringLiteral("@s30")}};
    Record song(songsTable());
    song.setText(SON::Title, QStringLiteral("Say \"hi\"   "));
    song.setText(SON::Artist, QStringLiteral("Abba"));
    const qint64 day = deformat(QStringLiteral("10/31/1959"), QStringLiteral("@d2")).toLongLong();
    song.setNumber(SON::ReleaseDate, day);
    ExportLineBuilder builder(columns);
    const QString line = builder.songLine(song, QStringLiteral("Rock, Pop"));
    EXPECT_EQ(line, QStringLiteral("\"Say \"\"hi\"\"\",0,\"10/31/1959\",0,\"Rock, Pop\""));
    EXPECT_EQ(splitCsvLine(line)[0].value, QStringLiteral("Say \"hi\""));

    ExportLineBuilder odd({{QStringLiteral("A[1,2]"), QStringLiteral("@s3")}, {QStringLiteral("SON:Side"), QStringLiteral("@s1")}});
    EXPECT_EQ(odd.headerLine(), QStringLiteral("\"A_1_2\",\"SON:Side\""));
}

TEST_F(ExchangeTest, ExportWritesHeaderAndSongsInArtistOrder) {
    category(3, QStringLiteral("Rock"));
    Record a(songsTable());
    a.setText(SON::Artist, QStringLiteral("Zed"));
    a.setNumber(SON::ID, 1);
    a.setNumber(SON::CategoryID, 3);
    add(songsTable(), a);
    Record b(songsTable());
    b.setText(SON::Artist, QStringLiteral("Amy"));
    b.setText(SON::Notes, QStringLiteral("two\r\nlines"));
    b.setNumber(SON::ID, 2);
    add(songsTable(), b);

    ExportSetup setup;
    const QString path = folder.file(QStringLiteral("out.csv"));
    ExportJob job(access, path, setup.columns(), setup.header());
    EXPECT_EQ(job.title(), QStringLiteral("Exporting Records"));
    EXPECT_TRUE(runToEnd(job)) << job.errorText().toStdString();
    EXPECT_EQ(job.statusText(), QStringLiteral("Process Completed"));
    EXPECT_EQ(job.songsWritten(), 2);
    const QByteArray bytes = readFile(path);
    QStringList header;
    for (const ExportField& f : exportFields())
        header << QLatin1Char('"') + f.name + QLatin1Char('"');
    EXPECT_TRUE(bytes.startsWith((header.join(QLatin1Char(',')) + QStringLiteral("\r\n")).toUtf8()));
    const QList<QByteArray> lines = bytes.split('\n');
    ASSERT_EQ(lines.size(), 5);  // header, Amy over two lines, Zed, and the empty rest
    EXPECT_TRUE(lines[1].startsWith("\"Amy\""));
    EXPECT_TRUE(lines[2].startsWith("lines\""));
    EXPECT_TRUE(lines[3].startsWith("\"Zed\""));
    EXPECT_TRUE(lines[3].endsWith(",\"Rock\"\r"));
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
}

TEST_F(ExchangeTest, ExportToAFullDiskAsksAbortOrRetryAndLeavesNoHalfLine) {
    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    for (int i = 1; i <= 3; ++i)
        song(i, QStringLiteral("F%1").arg(i));
    messages.addAnswer(ButtonRetry);
    messages.addAnswer(ButtonAbort);
    ExportSetup setup;
    ExportJob job(access, QStringLiteral("/dev/full"), setup.columns(), true);
    EXPECT_FALSE(runToEnd(job));
    EXPECT_FALSE(job.completed());
    ASSERT_EQ(messages.count(), 2);
    EXPECT_EQ(messages.last().title, QStringLiteral("Cannot ADD to /dev/full"));
    EXPECT_EQ(messages.last().buttons, ButtonAbort | ButtonRetry);
    EXPECT_EQ(messages.last().defaultButton, ButtonAbort);
    EXPECT_TRUE(messages.last().text.startsWith(QStringLiteral("Error #")));
    EXPECT_FALSE(job.errorText().isEmpty());

    // A folder that does not exist: the file cannot be made.
    const QString dir = folder.file(QStringLiteral("missing-folder/x.csv"));
    messages.clear();
    ExportJob nowhere(access, dir, setup.columns(), true);
    EXPECT_FALSE(runToEnd(nowhere));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Cannot CREATE ") + dir);
}
