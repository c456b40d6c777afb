// The member table checked as data and on paper: each report printed by sonorika-cli into a PDF, read
// back with pdftotext.

#include "PrintedReport.h"
#include "ReportTestSupport.h"

#include "reports/MemberLayout.h"
#include "reports/ReportMember.h"
#include "text/Picture.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>

using namespace srk;

namespace {

struct Expected {
    const char* name;
    const char* title;
    const char* key;
    const char* noun;  // "" without a criteria window
    const char* sel;   // "" prints all
    const char* columns;
    const char* fontKey;
    bool skips;
};

// The catalogue report members as designed; "[UDK]" is the user-defined key column.
const Expected kTable[] = {
    {"PrintSON:SongsByArtist", "Songs by Artist", "SON:SongsByArtist", "artists", "SON:Artist",
     "Artist|Title|Album|Media|Category|Track|Chart|File Number|Release Date", "PrintSON:SongsByArtist", true},
    {"BriefSON:SongsByArtist", "Songs by Artist", "SON:SongsByArtist", "", "SON:Artist",
     "Time|File Number|Trk|[UDK]|Artist|Title|Album", "BriefSON:SongsByArtist", true},
    {"PrintSON:SongsByTitle", "Songs by Title", "SON:SongsByTitle", "titles", "SON:Title",
     "Title|Artist|Album|Media|Category|Track|Chart|File Number|Release Date", "PrintSON:SongsByTitle", true},
    {"BriefSON:SongsByTitle", "Songs by Title", "SON:SongsByTitle", "", "SON:Title",
     "Time|File Number|Trk|[UDK]|Title|Artist|Album", "BriefSON:SongsByTitle", true},
    {"PrintSON:SongsByAlbum", "Songs by Album", "SON:SongsByAlbum", "albums", "SON:Album",
     "Album|Artist|Title|Media|Category|Track|Chart|File Number|Release Date", "PrintSON:SongsByAlbum", false},
    {"BRIEFSON:SONGSBYALBUM", "Songs by Album", "SON:SongsByAlbum", "", "SON:Album",
     "File Number|Album|Artist|Title|Media", "", false},
    {"PrintSON:SongsByMedia", "Songs by Media", "SON:SongsByMedia", "media", "SON:Media",
     "Media|Title|Album|Artist|Category|Track|Chart|File Number|Release Date", "PrintSON:SongsByMedia", false},
    {"BriefSON:SongsByMedia", "Songs by Media", "SON:SongsByMedia", "", "SON:Media",
     "Media|Artist|Title|Album|File Number", "BriefSON:SongsByMedia", false},
    {"PrintSON:SongsByUDK", "Songs by User Defined Key", "SON:SongsByUserDefinedKey", "*", "SON:UserDefinedKeyField",
     "Artist|Title|Album|Media|[UDK]|Category|Track|Chart|File Number|Release Date", "PrintSON:SongsByUDK", false},
    {"BRIEFSON:SONGSBYUDK", "Songs by User Defined Key", "SON:SongsByUserDefinedKey", "", "SON:UserDefinedKeyField",
     "Album|Title|Artist|[UDK]", "", false},
    {"PRINTSON:SONGSBYCHART", "Songs by Chart Number", "SON:SongsByChartNumber", "chart numbers", "SON:ChartNumber",
     "Album|Title|Artist|Chart #|Media|File Number|Release Date", "", false},
    {"BRIEFSON:SONGSBYCHART", "Songs by Chart Number", "SON:SongsByChartNumber", "", "SON:ChartNumber",
     "Album|Title|Artist|Chart #", "", false},
    {"PrintSON:SongsByBPM", "Songs by Beats Per Minute", "SON:KeyBeatsPerMinute", "BPMs", "SON:BeatsPerMinute",
     "Artist|BPM|Title|Album|Media|Category|Track|Chart|File Number|Release Date", "PrintSON:SongsByBPM", true},
    {"BriefSON:SongsByBPM", "Songs by Beats Per Minute", "SON:KeyBeatsPerMinute", "", "SON:BeatsPerMinute",
     "Time|File Number|Trk|[UDK]|Artist|Title|Album|BPM", "BriefSON:SongsByBPM", true},
    {"PrintByCategory", "Music in Rock Category", "SON:SongsByCategory", "artists", "SON:Artist",
     "Artist|Title|Album|Media|File Number|Release Date", "PrintByCategory", false},
    {"BriefByCategory", "Music in Rock Category", "SON:SongsByCategory", "", "SON:Artist",
     "Artist|Title|Album|Media|File Number", "BriefByCategory", false},
    {"PRINTONEALBUM", "Songs by Album", "SON:SongsByAlbum", "", "", "Album|Title|Artist|Media", "", false},
    {"PrintPaperSaver", "Songs by Artist", "SON:SongsByArtist", "", "SON:Artist",
     "Time|BPM|Trk|File #|Artist|Title|Album|[UDK]", "PrintPaperSaver", true},
    {"PrintPaperSaverTitle", "Songs by Title", "SON:SongsByTitle", "", "SON:Artist",
     "Time|BPM|Trk|File #|Title|Artist|Album|[UDK]", "PrintPaperSaverTitle", true},
    {"PRINTALBUMSBYARTIST", "Albums by Artist", "ALB:KeyArtist", "albums", "ALB:Artist",
     "Artist|Album|Media|File Number|Release Date|Associated WAV File", "", false},
    {"BRIEFALBUMSBYARTIST", "Albums by Artist", "ALB:KeyArtist", "", "ALB:Artist", "File Number|Artist|Album|Media", "",
     false},
    {"PRINTALBUMSBYALBUM", "Albums", "ALB:KeyAlbum", "albums", "ALB:Album",
     "Album|Artist|Media|File Number|Release Date|Associated WAV File", "", false},
    {"BRIEFALBUMSBYALBUM", "Albums by Album", "ALB:KeyAlbum", "", "ALB:Album", "File Number|Album|Artist|Media", "",
     false},
    {"PRINTALBUMSBYFILENUMBER", "Albums by File Number", "ALB:KeyFileNumber", "file numbers", "ALB:FileNumber",
     "Album|Artist|Media|File Number|Release Date|Associated WAV File", "", false},
    {"BRIEFALBUMSBYFILENUMBER", "Albums by File Number", "ALB:KeyFileNumber", "", "ALB:FileNumber",
     "File Number|Album|Artist|Media", "", false},
};

QString s(const char* text) { return QString::fromUtf8(text); }

class MemberTable : public ReportTest {
protected:
    void SetUp() override {
        ReportTest::SetUp();
        category(3, QStringLiteral("Rock"));
        Record a(albumTable());
        a.setNumber(ALB::AlbumID, 9);
        a.setText(ALB::Artist, QStringLiteral("Beatles"));
        a.setText(ALB::Album, QStringLiteral("Rubber"));
        a.setText(ALB::Media, QStringLiteral("CD"));
        a.setText(ALB::FileNumber, QStringLiteral("F-77"));
        a.setNumber(ALB::ReleaseDate, dayNumberFromDate(QDate(1985, 6, 3)));
        a.setText(ALB::AssociatedWavFile, QStringLiteral("a.wav"));
        add(albumTable(), a);
        SongFields song{QStringLiteral("Beatles"), QStringLiteral("Help"), QStringLiteral("Rubber"), QStringLiteral("CD"),
                      QStringLiteral("F-77"), 12, 120, clock(0, 3, 25), 3, 9};
        Record r = addSong(song);
        r.setNumber(SON::TrackNumber, 7);
        r.setText(SON::UserDefinedKeyField, QStringLiteral("Mood"));
        r.setNumber(SON::ReleaseDate, dayNumberFromDate(QDate(1985, 6, 3)));
        Table songs(store, songsTable());
        ASSERT_EQ(songs.put(r), NoError);
        env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("SONORIKA_CONFIG"), config.path());
        env.remove(QStringLiteral("SONORIKA_DATA"));
    }

    // What a column shows for the one song (or album) of the catalogue.
    static QString value(const ReportMember& m, const QString& heading) {
        if (heading == QLatin1String("Artist"))
            return QStringLiteral("Beatles");
        if (heading == QLatin1String("Title"))
            return QStringLiteral("Help");
        if (heading == QLatin1String("Album"))
            return QStringLiteral("Rubber");
        if (heading == QLatin1String("Media"))
            return QStringLiteral("CD");
        if (heading == QLatin1String("Category"))
            return QStringLiteral("Rock");
        if (heading == QLatin1String("Track") || heading == QLatin1String("Trk"))
            return QStringLiteral("7");
        if (heading.startsWith(QLatin1String("Chart")))
            return QStringLiteral("12");
        if (heading.startsWith(QLatin1String("File")))
            return QStringLiteral("F-77");
        if (heading == QLatin1String("Release Date"))
            return QStringLiteral("06/03/1985");
        if (heading == QLatin1String("Time"))
            return m.paperSaver ? QStringLiteral("3:25") : QStringLiteral("00:03:25");
        if (heading == udkHeading())
            return QStringLiteral("Mood");
        if (heading == QLatin1String("BPM"))
            return m.paperSaver ? QStringLiteral("(120)") : QStringLiteral("120");
        if (heading == QLatin1String("Associated WAV File"))
            return QStringLiteral("a.wav");
        ADD_FAILURE() << heading.toStdString();
        return {};
    }

    QString pdfText(const ReportMember& m) {
        const QString pdf = pages.file(m.name.section(QLatin1Char(':'), -1) + QStringLiteral(".pdf"));
        QStringList args{QStringLiteral("--data"), folder.path(), QStringLiteral("report"), m.name, QStringLiteral("--pdf"), pdf};
        if (m.byCategory)
            args << QStringLiteral("--category") << QStringLiteral("rock");
        if (m.oneAlbum)
            args << QStringLiteral("--album") << QStringLiteral("9");
        const ProcessRun cli = process(QStringLiteral(SONORIKA_CLI), args, env);
        EXPECT_EQ(cli.exitCode, 0) << m.name.toStdString() << ": " << cli.err.toStdString();
        lastPdf = pdf;
        return pdfLayoutText(pdf);
    }

    TempFolder config;
    TempFolder pages;
    QProcessEnvironment env;
    QString lastPdf;
};

}  // namespace

TEST(ReportMembers, TheTableAsData) {
    ASSERT_EQ(reportMembers().size(), int(std::size(kTable)));
    for (const Expected& e : kTable) {
        const ReportMember* m = reportMember(s(e.name));
        ASSERT_NE(m, nullptr) << e.name;
        EXPECT_EQ(m->name, s(e.name));
        if (!m->byCategory) {
            EXPECT_EQ(m->title, s(e.title)) << e.name;
        }
        EXPECT_EQ(m->key, s(e.key)) << e.name;
        if (s(e.noun) != QLatin1String("*")) {
            EXPECT_EQ(m->noun, s(e.noun)) << e.name;
        }
        EXPECT_EQ(m->selectionField, s(e.sel)) << e.name;
        EXPECT_EQ(m->fontKey, s(e.fontKey)) << e.name;
        EXPECT_EQ(m->skipMarkers, e.skips) << e.name;
        QStringList headings;
        for (const ReportColumn& c : m->columns)
            headings << c.heading;
        EXPECT_EQ(headings.join(QLatin1Char('|')), s(e.columns)) << e.name;
        // Standard members hand over to a brief one of the same title; brief ones start only that way.
        if (!m->briefMember.isEmpty()) {
            const ReportMember& b = briefOf(*m);
            EXPECT_TRUE(b.isBrief()) << e.name;
            EXPECT_EQ(b.key, m->key) << e.name;
        }
    }
    EXPECT_EQ(reportMember(QStringLiteral("printson:songsbyartist")), reportMember(QStringLiteral("PrintSON:SongsByArtist")));
    EXPECT_EQ(reportMember(QStringLiteral("NoSuchReport")), nullptr);
    EXPECT_EQ(reportMember(QStringLiteral("PrintPaperSaver"))->faceName(), QStringLiteral("Small Fonts"));
    EXPECT_EQ(reportMember(QStringLiteral("PRINTALBUMSBYALBUM"))->faceName(), QStringLiteral("Arial"));
    EXPECT_EQ(reportMember(QStringLiteral("BRIEFALBUMSBYALBUM"))->faceName(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(reportMember(QStringLiteral("PrintSON:SongsByTitle"))->faceName(), QStringLiteral("MS Sans Serif"));
}

TEST(ReportMembers, ColumnsOfALineNeverOverlap) {
    for (const ReportMember& m : reportMembers()) {
        const ReportLayout layout = memberLayout(m, m.title, QStringLiteral("Custom"));
        QVector<const LayoutItem*> fields;
        for (const LayoutItem& item : layout.detail.items)
            fields << &item;
        for (int i = 0; i < fields.size(); ++i) {
            EXPECT_GE(fields[i]->x, 0) << m.name.toStdString();
            EXPECT_LE(fields[i]->x + fields[i]->w, layout.printableWidth()) << m.name.toStdString();
            for (int j = i + 1; j < fields.size(); ++j) {
                if (fields[i]->y != fields[j]->y)
                    continue;
                const bool apart = fields[i]->x + fields[i]->w <= fields[j]->x || fields[j]->x + fields[j]->w <= fields[i]->x;
                EXPECT_TRUE(apart) << m.name.toStdString() << " " << fields[i]->text.toStdString() << " / "
                                   << fields[j]->text.toStdString();
            }
        }
    }
    // The artist members keep their designed places.
    const ReportLayout a = memberLayout(*reportMember(QStringLiteral("PrintSON:SongsByArtist")), QString(), QString());
    EXPECT_EQ(a.detail.items[0].x, 31);
    EXPECT_EQ(a.detail.items[0].w, 1604);
    EXPECT_EQ(a.detail.items[0].y, 21);
    EXPECT_EQ(a.detail.items[8].text, QStringLiteral("SON:ReleaseDate"));
    EXPECT_EQ(a.detail.items[8].x, 4781);
    EXPECT_EQ(a.detail.items[8].y, 167);
}

TEST_F(MemberTable, EveryMemberPrintsItsTitleHeadingsAndColumnsInPlace) {
    if (!havePdfToText())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const QString today = format(qint64(dayNumberFromDate(QDate::currentDate())), QStringLiteral("@d4"));
    for (const ReportMember& m : reportMembers()) {
        SCOPED_TRACE(m.name.toStdString());
        const QString text = pdfText(m);
        const QStringList lines = text.split(QLatin1Char('\n'));
        // The category is named "rock" on the command line; the title spells it as the table does.
        const QString title = m.byCategory ? QStringLiteral("Music in Rock Category") : m.title;
        ASSERT_FALSE(lines.isEmpty());
        // The paper savers print the page number on the title's line.
        if (m.paperSaver)
            EXPECT_TRUE(lines.first().trimmed().startsWith(title + QLatin1Char(' ')));
        else
            EXPECT_EQ(lines.first().trimmed(), title);
        EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Page\\s+1\\b"))));
        EXPECT_TRUE(text.contains(today));
        // Each line of the detail band: its columns' values on one printed line, left to right.
        const ReportLayout layout = memberLayout(m, title, QStringLiteral("Custom"));
        for (int band = 0; band < 2; ++band) {
            QVector<std::pair<int, QString>> row, heads;
            for (int c = 0; c < m.columns.size(); ++c)
                if (m.columns[c].line == band) {
                    const LayoutItem& item = layout.detail.items[c];
                    row.append({item.x, QRegularExpression::escape(value(m, m.columns[c].heading))});
                    const QString heading = m.columns[c].heading == udkHeading() ? QStringLiteral("Custom")
                                                                                  : m.columns[c].heading;
                    heads.append({item.x, QRegularExpression::escape(heading.left(3))});
                }
            if (row.isEmpty())
                continue;
            std::sort(row.begin(), row.end());
            std::sort(heads.begin(), heads.end());
            QStringList rowParts, headParts;
            for (const auto& [x, v] : row)
                rowParts << v;
            for (const auto& [x, v] : heads)
                headParts << v;
            const QRegularExpression rowPattern(QStringLiteral("^\\s*") + rowParts.join(QStringLiteral("\\s+")) +
                                                QStringLiteral("\\s*$"));
            const QRegularExpression headPattern(headParts.join(QStringLiteral(".*")));
            EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const QString& l) { return rowPattern.match(l).hasMatch(); }))
                << "line " << band << " " << rowPattern.pattern().toStdString() << "\n" << text.toStdString();
            EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const QString& l) { return headPattern.match(l).hasMatch(); }))
                << "headings " << band << " " << headPattern.pattern().toStdString();
        }
    }
}

TEST_F(MemberTable, LayoutFontsBecomeInstalledFacesOfTheSameWidths) {
    if (process(QStringLiteral("pdffonts"), {QStringLiteral("-v")}).exitCode != 0)
        GTEST_SKIP() << "pdffonts (poppler-utils) is not installed";
    pdfText(*reportMember(QStringLiteral("PrintPaperSaver")));
    const QString small = process(QStringLiteral("pdffonts"), {lastPdf}).out;
    pdfText(*reportMember(QStringLiteral("PRINTALBUMSBYARTIST")));
    const QString arial = process(QStringLiteral("pdffonts"), {lastPdf}).out;
    EXPECT_TRUE(arial.contains(QLatin1String("LiberationSans"))) << arial.toStdString();
    EXPECT_TRUE(small.contains(QLatin1String("Condensed")) || small.contains(QLatin1String("Narrow"))) << small.toStdString();
}

TEST_F(MemberTable, CommandLineRefusesWhatItCannotDoWithAClearMessage) {
    const QString pdf = pages.file(QStringLiteral("x.pdf"));
    ProcessRun r = process(QStringLiteral(SONORIKA_CLI),
                    {QStringLiteral("--data"), folder.path(), QStringLiteral("report"), QStringLiteral("NoSuch"),
                     QStringLiteral("--pdf"), pdf}, env);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QLatin1String("no report named 'NoSuch'")));
    r = process(QStringLiteral(SONORIKA_CLI), {QStringLiteral("--data"), folder.path(), QStringLiteral("report"),
                                               QStringLiteral("PrintSON:SongsByArtist"), QStringLiteral("--playlist"),
                                               QStringLiteral("1"), QStringLiteral("--pdf"), pdf}, env);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QLatin1String("--playlist is for PrintPlaylist")));
    r = process(QStringLiteral(SONORIKA_CLI), {QStringLiteral("--data"), folder.path(), QStringLiteral("report"),
                                               QStringLiteral("PrintByCategory"), QStringLiteral("--category"),
                                               QStringLiteral("Polka"), QStringLiteral("--pdf"), pdf}, env);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QLatin1String("no category named 'Polka'")));
    r = process(QStringLiteral(SONORIKA_CLI), {QStringLiteral("--data"), folder.path(), QStringLiteral("report"),
                                               QStringLiteral("PrintPaperSaver"), QStringLiteral("--filter"),
                                               QStringLiteral("SON:Media = (("), QStringLiteral("--pdf"), pdf}, env);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QLatin1String("--filter")));
    EXPECT_FALSE(QFile::exists(pdf));
    r = process(QStringLiteral(SONORIKA_CLI), {QStringLiteral("--data"), folder.path(), QStringLiteral("report"),
                                               QStringLiteral("PrintSON:SongsByArtist"), QStringLiteral("--selected"),
                                               QStringLiteral("zz"), QStringLiteral("--pdf"), pdf}, env);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.contains(QLatin1String("Nothing to Print.")));
    r = process(QStringLiteral(SONORIKA_CLI), {QStringLiteral("report"), QStringLiteral("--list")}, env);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.count(QLatin1Char('\n')), reportMembers().size() + playlistPrintouts().size());

    // Brief style from the standard member prints the brief list: one line per song, its own columns.
    r = process(QStringLiteral(SONORIKA_CLI), {QStringLiteral("--data"), folder.path(), QStringLiteral("report"),
                                               QStringLiteral("PrintSON:SongsByTitle"), QStringLiteral("--style"),
                                               QStringLiteral("brief"), QStringLiteral("--pdf"), pdf}, env);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString text = process(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}).out;
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Help\\s+Beatles\\s+Rubber\\s+F-77\\s+7\\s+Mood\\s+00:03:25"))))
        << text.toStdString();
}
