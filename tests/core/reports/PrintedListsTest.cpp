// The category lists and the paper savers as they come out on paper: printed by sonorika-cli into a
// PDF and read back with pdftotext -layout, over a small catalogue made for the test.

#include "PrintedReport.h"
#include "ReportTestSupport.h"

#include "reports/ReportMember.h"

#include <QFile>
#include <QRegularExpression>

using namespace srk;

namespace {

class PrintedLists : public ReportTest {
protected:
    void SetUp() override {
        ReportTest::SetUp();
        if (!havePdfToText())
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
        category(3, QStringLiteral("Rock"));
        category(5, QStringLiteral("Jazz"));
        // Jazz, added out of artist order.
        addSong({QStringLiteral("Miles Davis"), QStringLiteral("So What"), QStringLiteral("Kind of Blue"),
                 QStringLiteral("LP"), QStringLiteral("J-2"), 0, 136, clock(0, 9, 22), 5});
        addSong({QStringLiteral("Coltrane"), QStringLiteral("Naima"), QStringLiteral("Giant Steps"), QStringLiteral("CD"),
                 QStringLiteral("J-1"), 0, 0, clock(0, 4, 21), 5});
        // Rock, the marked songs among them: the category lists keep them, the paper savers leave them out.
        addSong({QStringLiteral("Beatles"), QStringLiteral("Help"), QStringLiteral("Rubber"), QStringLiteral("CD"),
                 QStringLiteral("R-1"), 0, 95, clock(0, 2, 18), 3});
        addSong({QStringLiteral("Various (*)"), QStringLiteral("Medley"), QStringLiteral("Mixed"), QStringLiteral("CD"),
                 QStringLiteral("R-2"), 0, 0, 0, 3});
        addSong({QStringLiteral("Abba"), QStringLiteral("Side B (Skips)"), QStringLiteral("Arrival"),
                 QStringLiteral("CD"), QStringLiteral("R-3"), 0, 0, 0, 3});
        // No category; over an hour long, a file number wider than the paper savers' ten characters.
        Record longOne = addSong({QStringLiteral("Long Player"), QStringLiteral("Endless"), QStringLiteral("Marathon"),
                                  QStringLiteral("CD"), QStringLiteral("ABCDEFGHIJKLMN"), 0, 120, clock(1, 2, 3), 0});
        longOne.setText(SON::UserDefinedKeyField, QStringLiteral("Mood"));
        longTrack = int(longOne.number(SON::TrackNumber));
        Table songs(store, songsTable());
        ASSERT_EQ(songs.put(longOne), NoError);
        addSong({QStringLiteral("Quiet One"), QStringLiteral("Untimed"), QStringLiteral("Silence"), QStringLiteral("CD"),
                 QStringLiteral("Q-1"), 0, 0, 0, 0});
        env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("SONORIKA_CONFIG"), config.path());
        env.remove(QStringLiteral("SONORIKA_DATA"));
    }

    QStringList printed(const QString& member, const QStringList& more = {}) {
        const QString pdf = out.file(QStringLiteral("list.pdf"));
        QFile::remove(pdf);
        const ProcessRun cli = process(QStringLiteral(SONORIKA_CLI),
                                       QStringList{QStringLiteral("--data"), folder.path(), QStringLiteral("report"),
                                                   member, QStringLiteral("--pdf"), pdf} + more,
                                       env);
        EXPECT_EQ(cli.exitCode, 0) << member.toStdString() << ": " << cli.err.toStdString();
        QStringList lines = pdfLayoutText(pdf).split(QLatin1Char('\n'));
        lines.removeIf([](const QString& l) { return l.trimmed().isEmpty(); });
        return lines;
    }

    // The line holding `text`, empty when none does.
    static QString lineWith(const QStringList& lines, const QString& text) {
        for (const QString& l : lines)
            if (l.contains(text))
                return l;
        return {};
    }

    // Every line holding one of `texts`, as the index of the text it holds, in printed order.
    static QList<int> order(const QStringList& lines, const QStringList& texts) {
        QList<int> found;
        for (const QString& l : lines)
            for (int i = 0; i < texts.size(); ++i)
                if (l.contains(texts[i]))
                    found << i;
        return found;
    }

    // Whether the line holds exactly these texts, left to right, with blanks between them.
    static bool holdsExactly(const QString& line, const QStringList& texts) {
        QStringList escaped;
        for (const QString& t : texts)
            escaped << QRegularExpression::escape(t);
        const QRegularExpression pattern(QStringLiteral("^\\s*") + escaped.join(QStringLiteral("\\s+")) +
                                         QStringLiteral("\\s*$"));
        return pattern.match(line).hasMatch();
    }

    TempFolder config, out;
    int longTrack = 0;
    QProcessEnvironment env;
};

}  // namespace

TEST_F(PrintedLists, ACategoryListPrintsOnlyThatCategoryUnderItsOwnHeadingInArtistOrder) {
    // Named as the user types it; the title spells it as the table does.
    QStringList lines = printed(QStringLiteral("PrintByCategory"), {QStringLiteral("--category"), QStringLiteral("jAZZ")});
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.first().trimmed(), QStringLiteral("Music in Jazz Category"));
    // Two heading lines over two lines a song, as the standard lists print.
    ASSERT_GE(lines.size(), 3);
    EXPECT_TRUE(holdsExactly(lines[1], {QStringLiteral("Artist"), QStringLiteral("Title"), QStringLiteral("Album"),
                                        QStringLiteral("Media")}))
        << lines[1].toStdString();
    EXPECT_TRUE(holdsExactly(lines[2], {QStringLiteral("File Number"), QStringLiteral("Release Date")}))
        << lines[2].toStdString();
    EXPECT_EQ(order(lines, {QStringLiteral("Coltrane"), QStringLiteral("Miles Davis")}), (QList<int>{0, 1}));
    const qsizetype miles = lines.indexOf(lineWith(lines, QStringLiteral("Miles Davis")));
    ASSERT_TRUE(miles > 0 && miles + 1 < lines.size());
    EXPECT_TRUE(holdsExactly(lines[miles], {QStringLiteral("Miles Davis"), QStringLiteral("So What"),
                                            QStringLiteral("Kind of Blue"), QStringLiteral("LP")}))
        << lines[miles].toStdString();
    EXPECT_TRUE(holdsExactly(lines[miles + 1], {QStringLiteral("J-2")})) << lines[miles + 1].toStdString();
    for (const char* other : {"Beatles", "Various", "Long Player", "Quiet One", "Rock"})
        EXPECT_TRUE(lineWith(lines, QString::fromLatin1(other)).isEmpty()) << other;

    // The other category, with its marked songs kept: category lists have no skip markers.
    lines = printed(QStringLiteral("PrintByCategory"), {QStringLiteral("--category"), QStringLiteral("Rock")});
    EXPECT_EQ(lines.first().trimmed(), QStringLiteral("Music in Rock Category"));
    EXPECT_EQ(order(lines, {QStringLiteral("Abba"), QStringLiteral("Beatles"), QStringLiteral("Various (*)")}),
              (QList<int>{0, 1, 2}));
    EXPECT_FALSE(lineWith(lines, QStringLiteral("Side B (Skips)")).isEmpty());
    EXPECT_TRUE(lineWith(lines, QStringLiteral("Coltrane")).isEmpty());

    // The brief list: same title and songs, one column fewer.
    lines = printed(QStringLiteral("PrintByCategory"),
                    {QStringLiteral("--category"), QStringLiteral("jazz"), QStringLiteral("--style"), QStringLiteral("brief")});
    EXPECT_EQ(lines.first().trimmed(), QStringLiteral("Music in Jazz Category"));
    // One line a song, the file number beside the media.
    EXPECT_TRUE(holdsExactly(lines.value(1), {QStringLiteral("Artist"), QStringLiteral("Title"), QStringLiteral("Album"),
                                              QStringLiteral("Media"), QStringLiteral("File Number")}))
        << lines.value(1).toStdString();
    EXPECT_TRUE(holdsExactly(lineWith(lines, QStringLiteral("Miles Davis")),
                             {QStringLiteral("Miles Davis"), QStringLiteral("So What"), QStringLiteral("Kind of Blue"),
                              QStringLiteral("LP"), QStringLiteral("J-2")}));
    EXPECT_EQ(order(lines, {QStringLiteral("Coltrane"), QStringLiteral("Miles Davis")}), (QList<int>{0, 1}));
    EXPECT_TRUE(lineWith(lines, QStringLiteral("Beatles")).isEmpty());

    // The selection prefix works inside the category.
    lines = printed(QStringLiteral("PrintByCategory"),
                    {QStringLiteral("--category"), QStringLiteral("jazz"), QStringLiteral("--selected"), QStringLiteral("m")});
    EXPECT_FALSE(lineWith(lines, QStringLiteral("Miles Davis")).isEmpty());
    EXPECT_TRUE(lineWith(lines, QStringLiteral("Coltrane")).isEmpty());
}

TEST_F(PrintedLists, PaperSaversPrintMinutesPastTheHourInTheirOwnColumns) {
    QStringList lines = printed(QStringLiteral("PrintPaperSaver"));
    ASSERT_FALSE(lines.isEmpty());
    // Title and page number share the first line.
    EXPECT_TRUE(lines.first().trimmed().startsWith(QStringLiteral("Songs by Artist"))) << lines.first().toStdString();
    EXPECT_TRUE(lines.first().contains(QRegularExpression(QStringLiteral("Page\\s+1$"))));
    EXPECT_TRUE(holdsExactly(lineWith(lines, QStringLiteral("Time")), {QStringLiteral("Time"), QStringLiteral("BPM"), QStringLiteral("Trk"), QStringLiteral("File #"),
                           QStringLiteral("Artist"), QStringLiteral("Title"), QStringLiteral("Album"), QStringLiteral("Custom")})) << lineWith(lines, QStringLiteral("Time")).toStdString();
    // 62:03, the BPM in parentheses, the track, the file number cut to ten characters, the texts, the key.
    const QString longLine = lineWith(lines, QStringLiteral("Long Player"));
    const QString track = QString::number(longTrack);
    EXPECT_TRUE(holdsExactly(longLine, {QStringLiteral("62:03"), QStringLiteral("(120)"), track, QStringLiteral("ABCDEFGHIJ"),
                                        QStringLiteral("Long Player"), QStringLiteral("Endless"), QStringLiteral("Marathon"),
                                        QStringLiteral("Mood")}))
        << longLine.toStdString();
    EXPECT_FALSE(longLine.contains(QStringLiteral("01:02:03")));
    EXPECT_TRUE(lineWith(lines, QStringLiteral("1:02:03")).isEmpty());
    EXPECT_FALSE(lineWith(lines, QStringLiteral("9:22")).isEmpty());
    // No time, no BPM: the line starts with the track.
    EXPECT_FALSE(lineWith(lines, QStringLiteral("Quiet One")).contains(QLatin1Char(':')));
    EXPECT_FALSE(lineWith(lines, QStringLiteral("Quiet One")).contains(QLatin1Char('(')));
    // The marked songs are left out; the others come in artist order.
    EXPECT_TRUE(lineWith(lines, QStringLiteral("Various")).isEmpty());
    EXPECT_TRUE(lineWith(lines, QStringLiteral("Skips")).isEmpty());
    EXPECT_EQ(order(lines, {QStringLiteral("Beatles"), QStringLiteral("Coltrane"), QStringLiteral("Long Player"),
                            QStringLiteral("Miles Davis"), QStringLiteral("Quiet One")}),
              (QList<int>{0, 1, 2, 3, 4}));

    // The title paper saver: title before artist, title order.
    lines = printed(QStringLiteral("PrintPaperSaverTitle"));
    EXPECT_TRUE(lines.first().trimmed().startsWith(QStringLiteral("Songs by Title")));
    EXPECT_TRUE(holdsExactly(lineWith(lines, QStringLiteral("Time")), {QStringLiteral("Time"), QStringLiteral("BPM"), QStringLiteral("Trk"), QStringLiteral("File #"),
                           QStringLiteral("Title"), QStringLiteral("Artist"), QStringLiteral("Album"), QStringLiteral("Custom")})) << lineWith(lines, QStringLiteral("Time")).toStdString();
    const QString endless = lineWith(lines, QStringLiteral("Endless"));
    EXPECT_TRUE(holdsExactly(endless, {QStringLiteral("62:03"), QStringLiteral("(120)"), track, QStringLiteral("ABCDEFGHIJ"),
                                       QStringLiteral("Endless"), QStringLiteral("Long Player"), QStringLiteral("Marathon"),
                                       QStringLiteral("Mood")}))
        << endless.toStdString();
    EXPECT_EQ(order(lines, {QStringLiteral("Endless"), QStringLiteral("Help"), QStringLiteral("Naima"),
                            QStringLiteral("So What"), QStringLiteral("Untimed")}),
              (QList<int>{0, 1, 2, 3, 4}));
    EXPECT_TRUE(lineWith(lines, QStringLiteral("Medley")).isEmpty());

    // The brief list prints the same song's time as hours, minutes and seconds.
    lines = printed(QStringLiteral("PrintSON:SongsByArtist"), {QStringLiteral("--style"), QStringLiteral("brief")});
    EXPECT_TRUE(lineWith(lines, QStringLiteral("Long Player")).contains(QStringLiteral("01:02:03")));
    EXPECT_TRUE(lineWith(lines, QStringLiteral("62:03")).isEmpty());
}
