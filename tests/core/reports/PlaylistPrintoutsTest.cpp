// The playlist printouts: the chart's places, marks and renumbering, the DJ log's years, the running
// order's total, and the three printed by sonorika-cli into PDFs read back with pdftotext.

#include "PrintedReport.h"
#include "ReportTestSupport.h"

#include "playlists/ChartNote.h"
#include "playlists/ChartPlaces.h"
#include "reports/PlaylistPrintouts.h"
#include "reports/ReportJob.h"
#include "reports/ReportMember.h"
#include "songs/SongQueryFields.h"
#include "text/Picture.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

using namespace srk;

namespace {

// A one-pixel GIF standing for the user's logo, written into the folder; its path, or empty on failure.
QString writeLogo(const TempFolder& folder) {
    QFile logo(folder.file(QStringLiteral("LOGO.GIF")));
    if (!logo.open(QIODevice::WriteOnly))
        return QString();
    logo.write(QByteArray::fromHex(
        "47494638396101000100800000000000ffffff21f90401000000002c00000000010001000002024401003b"));
    return logo.fileName();
}

QStringList L(std::initializer_list<const char*> texts) {
    QStringList out;
    for (const char* t : texts)
        out << QString::fromUtf8(t);
    return out;
}

class PlaylistPrintout : public ReportTest {
protected:
    ReportJob::Outcome run(const QString& memberName, ReportRequest request = {}) {
        ReportJob job(store, memberRequest(memberName, request), pages);
        runToEnd(job);
        EXPECT_TRUE(job.writeWarning().isEmpty()) << job.writeWarning().toStdString();
        renumbered = job.linesRenumbered();
        title = job.title();
        return job.outcome();
    }

    ReportRequest ofPlaylist(qint64 id) {
        ReportRequest r;
        r.playlistId = id;
        return r;
    }

    Record playlist(int id, const QString& description) {
        Record r(playlistMasterTable());
        r.setNumber(PLD::PlaylistID, id);
        r.setText(PLD::PlaylistDescription, description);
        return add(playlistMasterTable(), r);
    }

    Record taggedLine(int playlist, int seq, int songId, const QString& note) {
        Record line = playlistLine(playlist, seq, songId);
        line.setText(PLA::PlaylistNotes, note);
        Table lines(store, playlistDetailsTable());
        EXPECT_EQ(lines.put(line), NoError);
        return line;
    }

    // The numbers of the playlist's lines in running order, each with its song.
    QList<QPair<qint64, qint64>> runningOrder(int playlist) {
        QList<QPair<qint64, qint64>> out;
        Table lines(store, playlistDetailsTable());
        Record r;
        lines.setStart(PLA::KeyPlaylistID);
        while (lines.next(r) == NoError)
            if (r.number(PLA::PlaylistID) == playlist)
                out << qMakePair(r.number(PLA::PlaylistSeq), r.number(PLA::ID));
        return out;
    }

    // The detail texts drawn on one line of the first page, left to right.
    QStringList lineHolding(const QString& text) {
        const Page p = page(pages, 0);
        int y = -1;
        for (const PageItem& item : p.items)
            if (item.kind == PageItem::Text && item.text == text)
                y = item.y;
        QList<QPair<int, QString>> row;
        for (const PageItem& item : p.items)
            if (item.kind == PageItem::Text && item.y == y)
                row << qMakePair(item.x, item.text);
        std::sort(row.begin(), row.end());
        QStringList out;
        for (const auto& cell : row)
            out << cell.second;
        return out;
    }

    TempFolder pageBase;
    ReportPageList pages{pageBase.path()};
    int renumbered = 0;
    QString title;
};

}  // namespace

TEST(ChartPlaces, LastWeekTagsAndMarksAtPlaceThree) {
    // The tags as the chart roll-over writes them.
    EXPECT_EQ(lastWeekPlace(chartNote(QString(), 15)), QStringLiteral("15"));
    EXPECT_EQ(lastWeekPlace(chartNote(QStringLiteral("hot"), 5)).trimmed(), QStringLiteral("5"));
    EXPECT_EQ(lastWeekPlace(QStringLiteral("no tag here")), QStringLiteral("--"));
    EXPECT_EQ(movementMark(3, lastWeekPlace(chartNote(QString(), 15))), QStringLiteral("*"));
    EXPECT_EQ(movementMark(3, lastWeekPlace(chartNote(QString(), 5))), QStringLiteral("^"));
    EXPECT_EQ(movementMark(3, lastWeekPlace(chartNote(QString(), 3))), QStringLiteral("="));
    EXPECT_EQ(movementMark(3, lastWeekPlace(chartNote(QString(), 2))), QStringLiteral(" "));
    EXPECT_EQ(movementMark(3, QStringLiteral("--")), QStringLiteral(" "));
    // Exactly ten places up is a climb, not a leap.
    EXPECT_EQ(movementMark(3, QStringLiteral("13")), QStringLiteral("^"));
    EXPECT_EQ(movementMark(3, QStringLiteral("14")), QStringLiteral("*"));
}

TEST(DJLogYear, TheWizardListIsTheSongBrowsersWithoutTheMediaTable) {
    const QueryFieldList songs = songQueryFields();
    const QueryFieldList dj = djLogQueryFields();
    ASSERT_TRUE(dj.isValid());
    ASSERT_EQ(dj.size(), songs.size() - 1);
    EXPECT_EQ(songs.at(1).field, QStringLiteral("MED:Media"));
    EXPECT_EQ(dj.indexOf(QStringLiteral("MED:Media")), -1);
    for (qsizetype i = 0; i < dj.size(); ++i)
        EXPECT_EQ(dj.at(i).field, songs.at(i < 1 ? i : i + 1).field) << i;
    EXPECT_EQ(dj.at(dj.indexOf(QStringLiteral("SON:Side"))).choices.join(QLatin1Char('|')), QStringLiteral(" (N/A)|A|B|1|2"));
}

TEST(DJLogYear, BareYearFullDateAndNone) {
    EXPECT_EQ(djLogYear(1997), QStringLiteral("1997"));
    EXPECT_EQ(djLogYear(dayNumberFromDate(QDate(1985, 6, 3))), QStringLiteral("1985"));
    EXPECT_EQ(djLogYear(0), QStringLiteral(" --"));
}

TEST_F(PlaylistPrintout, ChartOfLinesOneTwoFiveSevenPrintsPlacesOneToFourAndRenumbersTheTable) {
    playlist(4, QStringLiteral("Hot Forty"));
    const char* artists[] = {"Ace", "Bee", "Cee", "Dee"};
    const int seqs[] = {1, 2, 5, 7};
    const QString notes[] = {chartNote(QString(), 15), chartNote(QString(), 5), chartNote(QString(), 2), QString()};
    for (int i = 0; i < 4; ++i) {
        addSong({QString::fromLatin1(artists[i]), QStringLiteral("Song %1").arg(i + 1)});
        taggedLine(4, seqs[i], int(m_lastId), notes[i]);
    }
    // A line of another playlist stays out and keeps its number.
    addSong({QStringLiteral("Other"), QStringLiteral("Elsewhere")});
    playlistLine(5, 9, int(m_lastId));

    ASSERT_EQ(run(QStringLiteral("PrintPlaylistTop40"), ofPlaylist(4)), ReportJob::Outcome::Completed);
    EXPECT_EQ(renumbered, 2);
    EXPECT_EQ(title, QStringLiteral("Hot Forty"));
    EXPECT_EQ(runningOrder(4), (QList<QPair<qint64, qint64>>{{1, 1}, {2, 2}, {3, 3}, {4, 4}}));
    EXPECT_EQ(runningOrder(5), (QList<QPair<qint64, qint64>>{{9, 5}}));
    const QStringList all = allTexts(pages);
    EXPECT_TRUE(all.contains(QStringLiteral("Hot Forty")));
    EXPECT_FALSE(all.contains(QStringLiteral("Elsewhere")));
    // Artist, title, track, TW, LW, file and the mark of each place (no time, no BPM).
    EXPECT_EQ(lineHolding(QStringLiteral("Ace")), L({"Ace", "Song 1", "2", "1", "15", "F-1", "*"}));
    EXPECT_EQ(lineHolding(QStringLiteral("Bee")), L({"Bee", "Song 2", "3", "2", "5 ", "F-1", "^"}));
    EXPECT_EQ(lineHolding(QStringLiteral("Cee")), L({"Cee", "Song 3", "4", "3", "2 ", "F-1"}));
    EXPECT_EQ(lineHolding(QStringLiteral("Dee")), L({"Dee", "Song 4", "5", "4", "--", "F-1"}));

    // Printed again, the chart is already in order: nothing more to write.
    pages.clear();
    ASSERT_EQ(run(QStringLiteral("PrintPlaylistTop40"), ofPlaylist(4)), ReportJob::Outcome::Completed);
    EXPECT_EQ(renumbered, 0);
}

TEST_F(PlaylistPrintout, RunningOrderPrintsEveryLineAndTheTotalTime) {
    category(3, QStringLiteral("Rock"));
    playlist(2, QStringLiteral("Friday Set"));
    SongFields one{QStringLiteral("Ace"), QStringLiteral("First"), QStringLiteral("Alb"), QStringLiteral("CD"),
                   QStringLiteral("F-1"), 0, 0, clock(0, 3, 25), 3};
    SongFields two{QStringLiteral("Bee"), QStringLiteral("Second"), QStringLiteral("Alb"), QStringLiteral("CD"),
                   QStringLiteral("F-2"), 0, 0, clock(1, 4, 10), 3};
    addSong(one);
    playlistLine(2, 3, int(m_lastId));
    addSong(two);
    playlistLine(2, 1, int(m_lastId));
    playlistLine(2, 2, 999);  // its song was deleted: a blank line, nothing added

    ASSERT_EQ(run(QStringLiteral("PrintPlaylist"), ofPlaylist(2)), ReportJob::Outcome::Completed);
    const QStringList t = allTexts(pages);
    EXPECT_TRUE(t.contains(QStringLiteral("Playlist")));
    EXPECT_TRUE(t.contains(QStringLiteral("Friday Set")));
    EXPECT_LT(t.indexOf(QStringLiteral("Second")), t.indexOf(QStringLiteral("First")));
    EXPECT_EQ(lineHolding(QStringLiteral("Ace")),
              (L({"Ace", "First", "Rock", "Alb"}) << reportTimeText(clock(0, 3, 25)) << QStringLiteral("F-1")));
    EXPECT_TRUE(t.contains(QStringLiteral("Total Time")));
    EXPECT_EQ(lineHolding(QStringLiteral("Total Time")), L({"Total Time", "01:07:35"}));
    // The running order is printed as it stands.
    EXPECT_EQ(renumbered, 0);
    EXPECT_EQ(runningOrder(2).size(), 3);
}

TEST_F(PlaylistPrintout, ProgressCountsThePlaylistsOwnLines) {
    addSong({QStringLiteral("Ace"), QStringLiteral("Song")});
    for (int seq = 1; seq <= 50; ++seq)
        playlistLine(1, seq, 1);
    for (int seq = 1; seq <= 150; ++seq)
        playlistLine(2, seq, 1);
    ReportRequest request = ofPlaylist(1);
    request.member = reportMember(QStringLiteral("PrintPlaylist"));
    ReportJob job(store, request, pages);
    ASSERT_TRUE(job.step());  // opens the run
    ASSERT_TRUE(job.step());  // the first slice of lines
    EXPECT_EQ(job.recordsTotal(), 50);
    EXPECT_EQ(job.percent(), 50);
    for (int steps = 0; steps < 1000 && job.step(); ++steps) {
    }
    EXPECT_EQ(job.outcome(), ReportJob::Outcome::Completed);
    EXPECT_EQ(job.linesPrinted(), 50);
}

TEST_F(PlaylistPrintout, EmptyPlaylistAndUnknownOnesPrintNothing) {
    playlist(6, QStringLiteral("Empty"));
    addSong({QStringLiteral("Ace"), QStringLiteral("Song")});
    for (const char* member : {"PrintPlaylist", "PrintPlaylistTop40"}) {
        for (qint64 id : {6, 77}) {
            ASSERT_EQ(run(QString::fromLatin1(member), ofPlaylist(id)), ReportJob::Outcome::Completed) << member;
            EXPECT_TRUE(pages.isEmpty()) << member << " " << id;
        }
    }
}

TEST_F(PlaylistPrintout, DJLogPrintsYearsInMediaOrderUnderTheFilter) {
    category(3, QStringLiteral("Rock"));
    category(4, QStringLiteral("Jazz"));
    Record a = addSong({QStringLiteral("Ace"), QStringLiteral("Bare Year"), QStringLiteral("Alb"), QStringLiteral("Vinyl"),
                        QStringLiteral("F-1"), 0, 0, 0, 3});
    a.setNumber(SON::ReleaseDate, 1997);
    a.setText(SON::UserDefinedKeyField, QStringLiteral("Floor filler"));
    Record b = addSong({QStringLiteral("Bee"), QStringLiteral("Full Date"), QStringLiteral("Alb"), QStringLiteral("CD"),
                        QStringLiteral("F-2"), 0, 0, 0, 3});
    b.setNumber(SON::ReleaseDate, dayNumberFromDate(QDate(1985, 6, 3)));
    Table songs(store, songsTable());
    ASSERT_EQ(songs.put(a), NoError);
    ASSERT_EQ(songs.put(b), NoError);
    addSong({QStringLiteral("Cee"), QStringLiteral("No Date"), QStringLiteral("Alb"), QStringLiteral("CD"),
             QStringLiteral("F-3"), 0, 0, 0, 4});

    ReportRequest request;
    request.notesLabel = QStringLiteral("Crowd");
    ASSERT_EQ(run(QStringLiteral("PrintDJList"), request), ReportJob::Outcome::Completed);
    QStringList t = allTexts(pages);
    EXPECT_TRUE(t.contains(QStringLiteral("DJ LOG")));
    EXPECT_TRUE(t.contains(QStringLiteral("Crowd")));
    EXPECT_EQ(lineHolding(QStringLiteral("Bare Year")), L({"Ace", "Bare Year", "Rock", "Alb", "Floor filler", "1997", "F-1"}));
    EXPECT_EQ(lineHolding(QStringLiteral("Full Date")), L({"Bee", "Full Date", "Rock", "Alb", "1985", "F-2"}));
    EXPECT_EQ(lineHolding(QStringLiteral("No Date")), L({"Cee", "No Date", "Jazz", "Alb", " --", "F-3"}));
    // Media order: CD before Vinyl.
    EXPECT_LT(t.indexOf(QStringLiteral("Full Date")), t.indexOf(QStringLiteral("Bare Year")));

    // The wizard's filter may name the joined category.
    pages.clear();
    request.filterText = QStringLiteral("UPPER(CAT:Category) = 'JAZZ'");
    ASSERT_EQ(run(QStringLiteral("PrintDJList"), request), ReportJob::Outcome::Completed);
    t = allTexts(pages);
    EXPECT_TRUE(t.contains(QStringLiteral("No Date")));
    EXPECT_FALSE(t.contains(QStringLiteral("Full Date")));
    EXPECT_FALSE(t.contains(QStringLiteral("Bare Year")));
}

TEST(PlaylistPrintouts, LayoutsKeepColumnsAndHeaderItemsApart) {
    TempFolder folder;
    const QString logo = writeLogo(folder);
    ASSERT_FALSE(logo.isEmpty());
    EXPECT_EQ(printoutLogoFile(QString(), folder.path()), logo);
    EXPECT_EQ(printoutLogoFile(QStringLiteral("missing.gif"), folder.path()), QString());

    for (const ReportMember& m : playlistPrintouts()) {
        SCOPED_TRACE(m.name.toStdString());
        PrintoutTexts texts{m.title, QStringLiteral("A Rather Long Playlist Description For The Header"),
                            QStringLiteral("Custom"), QStringLiteral("Notes"), logo};
        const ReportLayout layout = printoutLayout(m, texts);
        for (const LayoutBand* band : {&layout.header, &layout.detail, &layout.summary}) {
            for (int i = 0; i < band->items.size(); ++i) {
                const LayoutItem& a = band->items[i];
                EXPECT_GE(a.x, 0);
                EXPECT_LE(a.x + a.w, layout.printableWidth()) << a.text.toStdString();
                if (a.kind == LayoutItem::Line)
                    continue;
                for (int j = i + 1; j < band->items.size(); ++j) {
                    const LayoutItem& b = band->items[j];
                    if (b.kind == LayoutItem::Line)
                        continue;
                    const bool apart = a.x + a.w <= b.x || b.x + b.w <= a.x || a.y + a.h <= b.y || b.y + b.h <= a.y;
                    EXPECT_TRUE(apart) << a.text.toStdString() << " / " << b.text.toStdString();
                }
            }
        }
        int pictures = 0;
        for (const LayoutItem& item : layout.header.items)
            pictures += item.kind == LayoutItem::Picture;
        EXPECT_EQ(pictures, m.logo ? 1 : 0);
        EXPECT_EQ(layout.summary.items.isEmpty(), !m.totalTime);
        // The date of the run stands in the header, not the footer.
        for (const LayoutItem& item : layout.footer.items)
            EXPECT_NE(item.text, QStringLiteral("=RunDate"));
    }
}

namespace {

class PrintoutPdf : public PlaylistPrintout {
protected:
    void SetUp() override {
        PlaylistPrintout::SetUp();
        env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("SONORIKA_CONFIG"), config.path());
        env.remove(QStringLiteral("SONORIKA_DATA"));
    }

    // The printout as sonorika-cli makes it, read back as laid-out text; empty when it failed.
    QString pdfText(const QStringList& args, int expectedExit = 0) {
        const QString pdf = out.file(QStringLiteral("printout.pdf"));
        QFile::remove(pdf);
        const ProcessRun cli = process(QStringLiteral(SONORIKA_CLI),
                                       QStringList{QStringLiteral("--data"), folder.path(), QStringLiteral("report")} + args +
                                           QStringList{QStringLiteral("--pdf"), pdf},
                                       env);
        EXPECT_EQ(cli.exitCode, expectedExit) << cli.err.toStdString();
        cliOut = cli.out;
        if (cli.exitCode != 0)
            return {};
        images = process(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).out;
        return pdfLayoutText(pdf);
    }

    TempFolder config;
    TempFolder out;
    QProcessEnvironment env;
    QString cliOut, images;
};

// A line of the laid-out text holding all the words, in order.
bool hasLine(const QString& text, const QStringList& words) {
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        qsizetype at = 0;
        bool all = true;
        for (const QString& w : words) {
            at = line.indexOf(w, at);
            if (at < 0) {
                all = false;
                break;
            }
            at += w.size();
        }
        if (all)
            return true;
    }
    return false;
}

}  // namespace

TEST_F(PrintoutPdf, TheThreePrintoutsOnPaper) {
    if (!havePdfToText())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    category(3, QStringLiteral("Rock"));
    playlist(1, QStringLiteral("Saturday Night"));
    Record s = addSong({QStringLiteral("Beatles"), QStringLiteral("Help"), QStringLiteral("Rubber"), QStringLiteral("CD"),
                        QStringLiteral("F-77"), 0, 120, clock(0, 3, 25), 3});
    s.setNumber(SON::ReleaseDate, 1965);
    s.setText(SON::UserDefinedKeyField, QStringLiteral("Mood"));
    Table songs(store, songsTable());
    ASSERT_EQ(songs.put(s), NoError);
    taggedLine(1, 4, int(m_lastId), chartNote(QString(), 9));
    addSong({QStringLiteral("Kinks"), QStringLiteral("Lola"), QStringLiteral("Arthur"), QStringLiteral("CD"),
             QStringLiteral("F-78"), 0, 0, clock(0, 4, 0), 3});
    playlistLine(1, 8, int(m_lastId));
    playlist(2, QStringLiteral("Nothing Yet"));
    const QString today = format(qint64(dayNumberFromDate(QDate::currentDate())), QStringLiteral("@d4"));

    QString text = pdfText({QStringLiteral("PrintPlaylist"), QStringLiteral("--playlist"), QStringLiteral("1")});
    EXPECT_TRUE(hasLine(text, L({"Playlist"}) << today)) << text.toStdString();
    EXPECT_TRUE(hasLine(text, L({"Saturday Night"})));
    EXPECT_TRUE(hasLine(text, L({"Artist", "Title", "Category", "Album", "Custom", "Date", "Time", "File Number"})));
    EXPECT_TRUE(hasLine(text, L({"Beatles", "Help", "Rock", "Rubber", "Mood", "1965", "3:25", "F-77"})));
    EXPECT_TRUE(hasLine(text, L({"Total Time", "00:07:25"})));
    EXPECT_TRUE(hasLine(text, L({"Page", "1"}))) << text.toStdString();
    EXPECT_TRUE(images.count(QLatin1Char('\n')) <= 2) << images.toStdString();  // the list's heading only

    // The chart with the logo from the data folder.
    ASSERT_FALSE(writeLogo(folder).isEmpty());
    text = pdfText({QStringLiteral("PrintPlaylistTop40"), QStringLiteral("--playlist"), QStringLiteral("1")});
    EXPECT_TRUE(hasLine(text, L({"Saturday Night"}) << today)) << text.toStdString();
    EXPECT_TRUE(hasLine(text, L({"Artist", "Title", "Time", "BPM", "Trk", "TW", "LW", "File"})));
    EXPECT_TRUE(hasLine(text, L({"Beatles", "Help", "3:25", "120", "1", "9", "F-77", "^"})));
    EXPECT_TRUE(hasLine(text, L({"Kinks", "Lola", "4:00", "2", "--", "F-78"})));
    EXPECT_GT(images.count(QLatin1Char('\n')), 2) << images.toStdString();
    EXPECT_EQ(runningOrder(1), (QList<QPair<qint64, qint64>>{{1, 1}, {2, 2}}));

    text = pdfText({QStringLiteral("PrintDJList"), QStringLiteral("--filter"), QStringLiteral("SON:Artist = 'Beatles'")});
    EXPECT_TRUE(hasLine(text, L({"DJ LOG"}) << today)) << text.toStdString();
    EXPECT_TRUE(hasLine(text, L({"Artist", "Title", "Category", "Album", "Notes", "Year", "File Number"})));
    EXPECT_TRUE(hasLine(text, L({"Beatles", "Help", "Rock", "Rubber", "Mood", "1965", "F-77"})));
    EXPECT_FALSE(text.contains(QLatin1String("Lola")));

    // An empty playlist, and what the command line refuses.
    pdfText({QStringLiteral("PrintPlaylist"), QStringLiteral("--playlist"), QStringLiteral("2")}, 1);
    EXPECT_TRUE(cliOut.contains(QLatin1String("Nothing to Print.")));
    pdfText({QStringLiteral("PrintPlaylistTop40")}, 2);
    pdfText({QStringLiteral("PrintPlaylist"), QStringLiteral("--playlist"), QStringLiteral("x")}, 2);
}
