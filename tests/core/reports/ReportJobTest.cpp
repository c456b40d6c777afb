#include "ReportTestSupport.h"

#include "reports/ReportJob.h"
#include "reports/ReportMember.h"
#include "text/Picture.h"

#include <QDir>

using namespace srk;

namespace {

class ReportRun : public ReportTest {
protected:
    // Runs a member to its end and gives its pages.
    ReportJob::Outcome run(const QString& memberName, ReportRequest request = {}) {
        ReportJob job(store, memberRequest(memberName, request), pages);
        runToEnd(job);
        return job.outcome();
    }

    ReportRequest selected(const QString& prefix) {
        ReportRequest r;
        r.criteria.SelectedOrAll = QStringLiteral("Selected");
        r.criteria.ReportSelection = prefix;
        return r;
    }

    TempFolder pageBase;
    ReportPageList pages{pageBase.path()};
};

}  // namespace

TEST_F(ReportRun, SelectionBPrintsBeatlesAndBobButNotAbba) {
    for (const char* artist : {"Abba", "Beatles", "bob", "Carpenters"})
        addSong({QString::fromLatin1(artist), QStringLiteral("Song of ") + QString::fromLatin1(artist)});
    ASSERT_EQ(run(QStringLiteral("PrintSON:SongsByArtist"), selected(QStringLiteral("b"))),
              ReportJob::Outcome::Completed);
    QStringList t = allTexts(pages);
    EXPECT_TRUE(t.contains(QStringLiteral("Beatles")));
    EXPECT_TRUE(t.contains(QStringLiteral("bob")));
    EXPECT_FALSE(t.contains(QStringLiteral("Abba")));
    EXPECT_FALSE(t.contains(QStringLiteral("Carpenters")));

    pages.clear();
    ASSERT_EQ(run(QStringLiteral("PrintSON:SongsByArtist"), selected(QString())), ReportJob::Outcome::Completed);
    t = allTexts(pages);
    for (const char* artist : {"Abba", "Beatles", "bob", "Carpenters"})
        EXPECT_TRUE(t.contains(QString::fromLatin1(artist))) << artist;
    // Artist order, then the key's later fields.
    EXPECT_LT(t.indexOf(QStringLiteral("Abba")), t.indexOf(QStringLiteral("Beatles")));
    EXPECT_LT(t.indexOf(QStringLiteral("Beatles")), t.indexOf(QStringLiteral("bob")));
}

TEST_F(ReportRun, ChartSelectionOnePrintsOneTenToNineteenAndTheHundreds) {
    for (int chart : {1, 2, 9, 10, 15, 19, 20, 21, 100, 150, 199, 200, 255})
        addSong({QStringLiteral("A"), QStringLiteral("Chart %1").arg(chart), QStringLiteral("Alb"), QStringLiteral("CD"),
                 QStringLiteral("F"), chart});
    ASSERT_EQ(run(QStringLiteral("PRINTSON:SONGSBYCHART"), selected(QStringLiteral("1"))),
              ReportJob::Outcome::Completed);
    QList<int> printed;
    for (const QString& text : allTexts(pages))
        if (text.startsWith(QLatin1String("Chart ")) && text != QLatin1String("Chart #"))
            printed << text.mid(6).toInt();
    EXPECT_EQ(printed, (QList<int>{1, 10, 15, 19, 100, 150, 199}));
}

TEST_F(ReportRun, SkipMarkersOnlyInTheListsThatHaveThem) {
    category(3, QStringLiteral("Rock"));
    album(9, QStringLiteral("Best Of"), QStringLiteral("F-9"), 3);
    SongFields plain{QStringLiteral("Plain Artist"), QStringLiteral("Plain Song")};
    SongFields various{QStringLiteral("Various (*)"), QStringLiteral("Marked Artist Song")};
    SongFields skips{QStringLiteral("Skipping Artist"), QStringLiteral("Side B (Skips)")};
    for (SongFields* s : {&plain, &various, &skips}) {
        s->category = 3;
        s->albumId = 9;
        s->chart = 5;
        s->bpm = 120;
        addSong(*s);
    }
    int checked = 0;
    for (const ReportMember& m : reportMembers()) {
        if (m.driver != ReportMember::Driver::Songs)
            continue;
        ReportRequest request;
        request.categoryId = 3;
        request.albumId = 9;
        pages.clear();
        ASSERT_EQ(run(m.name, request), ReportJob::Outcome::Completed) << m.name.toStdString();
        const QStringList t = allTexts(pages);
        EXPECT_TRUE(t.contains(QStringLiteral("Plain Song"))) << m.name.toStdString();
        EXPECT_EQ(t.contains(QStringLiteral("Marked Artist Song")), !m.skipMarkers) << m.name.toStdString();
        EXPECT_EQ(t.contains(QStringLiteral("Side B (Skips)")), !m.skipMarkers) << m.name.toStdString();
        ++checked;
    }
    EXPECT_EQ(checked, 19);
    const QStringList skipping{QStringLiteral("PrintSON:SongsByArtist"), QStringLiteral("BriefSON:SongsByArtist"),
                               QStringLiteral("PrintSON:SongsByTitle"),  QStringLiteral("BriefSON:SongsByTitle"),
                               QStringLiteral("PrintSON:SongsByBPM"),    QStringLiteral("BriefSON:SongsByBPM"),
                               QStringLiteral("PrintPaperSaver"),        QStringLiteral("PrintPaperSaverTitle")};
    for (const ReportMember& m : reportMembers())
        EXPECT_EQ(m.skipMarkers, skipping.contains(m.name)) << m.name.toStdString();
}

TEST_F(ReportRun, PaperSaversPrintMinutesPastTheHourBriefListsHoursMinutesSeconds) {
    addSong({QStringLiteral("Long Player"), QStringLiteral("Long"), QStringLiteral("Alb"), QStringLiteral("CD"),
             QStringLiteral("F"), 0, 0, clock(1, 2, 3)});
    addSong({QStringLiteral("No Time"), QStringLiteral("Untimed")});
    ASSERT_EQ(run(QStringLiteral("PrintPaperSaver")), ReportJob::Outcome::Completed);
    QStringList t = allTexts(pages);
    EXPECT_TRUE(t.contains(QStringLiteral("62:03   ")));
    EXPECT_FALSE(t.contains(QStringLiteral("01:02:03")));
    pages.clear();
    ASSERT_EQ(run(QStringLiteral("BriefSON:SongsByArtist")), ReportJob::Outcome::Completed);
    t = allTexts(pages);
    EXPECT_TRUE(t.contains(QStringLiteral("01:02:03")));
    EXPECT_FALSE(t.contains(QStringLiteral("62:03   ")));
    // A zero time prints nothing: the untimed song's line has no time text at all.
    for (const QString& text : t)
        EXPECT_FALSE(text.contains(QLatin1String("00:00"))) << text.toStdString();
}

TEST_F(ReportRun, PagesAreNumberedAndCarryTheRunDate) {
    for (int i = 0; i < 120; ++i)
        addSong({QStringLiteral("Artist %1").arg(i, 3, 10, QLatin1Char('0')), QStringLiteral("Title %1").arg(i)});
    ASSERT_EQ(run(QStringLiteral("BriefSON:SongsByArtist")), ReportJob::Outcome::Completed);
    ASSERT_GE(pages.count(), 2);
    const QString runDate = format(qint64(dayNumberFromDate(QDate(2024, 3, 5))), QStringLiteral("@d4"));
    int lines = 0;
    for (int i = 0; i < pages.count(); ++i) {
        const QStringList t = texts(page(pages, i));
        EXPECT_TRUE(t.contains(format(i + 1, QStringLiteral("@pPage <<<#p")))) << i;
        EXPECT_TRUE(t.contains(runDate)) << i;
        EXPECT_EQ(t.first(), QStringLiteral("Songs by Artist"));
        lines += int(std::count_if(t.begin(), t.end(), [](const QString& s) { return s.startsWith(QLatin1String("Title ")); }));
    }
    EXPECT_EQ(lines, 120);
    EXPECT_EQ(format(2, QStringLiteral("@pPage <<<#p")).simplified(), QStringLiteral("Page 2"));
    // Paper savers have the number on top: before the first detail line.
    pages.clear();
    ASSERT_EQ(run(QStringLiteral("PrintPaperSaver")), ReportJob::Outcome::Completed);
    const QStringList t = texts(page(pages, 0));
    EXPECT_LT(t.indexOf(format(1, QStringLiteral("@pPage <<<#p"))), t.indexOf(QStringLiteral("Title 0")));
    EXPECT_GT(t.indexOf(runDate), t.indexOf(QStringLiteral("Title 0")));
}

TEST_F(ReportRun, DateColumnsTakeTheUsersPictureAndCustomFontsReplaceTheDesigned) {
    Record r = addSong({QStringLiteral("Dated"), QStringLiteral("Dated Song")});
    r.setNumber(SON::ReleaseDate, dayNumberFromDate(QDate(1985, 6, 3)));
    Table songs(store, songsTable());
    ASSERT_EQ(songs.put(r), NoError);
    ReportRequest request;
    request.datePreference = QStringLiteral("d6");
    request.useCustomFont = true;
    request.customFont = ReportFont{QStringLiteral("Courier New"), 11, 0xff, 700};
    ASSERT_EQ(run(QStringLiteral("PrintSON:SongsByArtist"), request), ReportJob::Outcome::Completed);
    const Page p = page(pages, 0);
    EXPECT_TRUE(texts(p).contains(QStringLiteral("03/06/1985")));
    // The run date keeps its own picture.
    EXPECT_TRUE(texts(p).contains(format(qint64(dayNumberFromDate(QDate(2024, 3, 5))), QStringLiteral("@d4"))));
    int fonts = 0;
    for (const PageItem& item : p.items)
        if (item.kind == PageItem::Font) {
            ++fonts;
            EXPECT_EQ(item.font.face, QStringLiteral("Courier New"));
            EXPECT_EQ(item.font.tenthsOfPoint, 110);
            EXPECT_EQ(item.font.rgb, 0xff);
            EXPECT_TRUE(item.font.flags & PageFont::Bold);
        }
    EXPECT_GT(fonts, 0);

    // Without the choice, or for a member without a font key, the designed font stays.
    pages.clear();
    request.member = nullptr;
    ASSERT_EQ(run(QStringLiteral("PRINTSON:SONGSBYCHART"), request), ReportJob::Outcome::Completed);
    for (const PageItem& item : page(pages, 0).items) {
        if (item.kind == PageItem::Font) {
            EXPECT_EQ(item.font.face, QStringLiteral("MS Sans Serif"));
        }
    }
}

TEST_F(ReportRun, CategoryAndAlbumMembersPrintOnlyTheirOwnSongs) {
    category(1, QStringLiteral("Jazz"));
    category(2, QStringLiteral("Pop"));
    SongFields jazz{QStringLiteral("Miles"), QStringLiteral("Jazz Song")};
    jazz.category = 1;
    jazz.albumId = 5;
    SongFields pop{QStringLiteral("Madonna"), QStringLiteral("Pop Song")};
    pop.category = 2;
    pop.albumId = 6;
    addSong(jazz);
    addSong(pop);
    ReportRequest request;
    request.categoryId = 1;
    request.title = QStringLiteral("Music in Jazz Category");
    ASSERT_EQ(run(QStringLiteral("PrintByCategory"), request), ReportJob::Outcome::Completed);
    QStringList t = allTexts(pages);
    EXPECT_TRUE(t.contains(QStringLiteral("Music in Jazz Category")));
    EXPECT_TRUE(t.contains(QStringLiteral("Jazz Song")));
    EXPECT_FALSE(t.contains(QStringLiteral("Pop Song")));
    pages.clear();
    request = {};
    request.albumId = 6;
    ASSERT_EQ(run(QStringLiteral("PRINTONEALBUM"), request), ReportJob::Outcome::Completed);
    t = allTexts(pages);
    EXPECT_TRUE(t.contains(QStringLiteral("Pop Song")));
    EXPECT_FALSE(t.contains(QStringLiteral("Jazz Song")));
    // The category column shows the name looked up, not the number.
    pages.clear();
    ASSERT_EQ(run(QStringLiteral("PrintSON:SongsByArtist")), ReportJob::Outcome::Completed);
    t = allTexts(pages);
    EXPECT_TRUE(t.contains(QStringLiteral("Jazz")));
    EXPECT_TRUE(t.contains(QStringLiteral("Pop")));
}

TEST_F(ReportRun, AFilterLimitsThePaperSaverAndABadOneIsReportedAndIgnored) {
    addSong({QStringLiteral("Vinyl Artist"), QStringLiteral("On Vinyl"), QStringLiteral("A"), QStringLiteral("LP")});
    addSong({QStringLiteral("Disc Artist"), QStringLiteral("On Disc"), QStringLiteral("A"), QStringLiteral("CD")});
    ReportRequest request;
    request.filterText = QStringLiteral("SON:Media = 'LP'");
    ASSERT_EQ(run(QStringLiteral("PrintPaperSaver"), request), ReportJob::Outcome::Completed);
    QStringList t = allTexts(pages);
    EXPECT_TRUE(t.contains(QStringLiteral("On Vinyl")));
    EXPECT_FALSE(t.contains(QStringLiteral("On Disc")));

    pages.clear();
    request.filterText = QStringLiteral("SON:Media = ((");
    request.member = reportMember(QStringLiteral("PrintPaperSaver"));
    ReportJob job(store, request, pages);
    while (job.step()) {
    }
    EXPECT_EQ(job.outcome(), ReportJob::Outcome::Completed);
    EXPECT_FALSE(job.filterWarning().isEmpty());
    t = allTexts(pages);
    EXPECT_TRUE(t.contains(QStringLiteral("On Vinyl")));
    EXPECT_TRUE(t.contains(QStringLiteral("On Disc")));
}

TEST_F(ReportRun, AlbumListsReadTheAlbumTable) {
    namedAlbum(1, QStringLiteral("Zappa"), QStringLiteral("Apostrophe"));
    namedAlbum(2, QStringLiteral("Abba"), QStringLiteral("Waterloo"));
    ASSERT_EQ(run(QStringLiteral("PRINTALBUMSBYARTIST")), ReportJob::Outcome::Completed);
    const QStringList t = allTexts(pages);
    EXPECT_LT(t.indexOf(QStringLiteral("Abba")), t.indexOf(QStringLiteral("Zappa")));
    EXPECT_TRUE(t.contains(QStringLiteral("Waterloo")));
    EXPECT_TRUE(t.contains(QStringLiteral("Albums by Artist")));
}

TEST_F(ReportRun, CancelledHalfwayLeavesNoPageFilesAndPartialKeepsWhatWasMade) {
    ASSERT_EQ(store.stream(), NoError);
    for (int i = 0; i < 3000; ++i)
        addSong({QStringLiteral("Artist %1").arg(i, 5, 10, QLatin1Char('0')), QStringLiteral("T%1").arg(i)});
    ASSERT_EQ(store.flush(), NoError);
    ReportRequest request;
    request.member = reportMember(QStringLiteral("BriefSON:SongsByArtist"));
    {
        ReportJob job(store, request, pages);
        while (job.step() && job.percent() < 50) {
        }
        ASSERT_GE(pages.count(), 2);
        job.cancel();
        EXPECT_FALSE(job.step());
        EXPECT_EQ(job.outcome(), ReportJob::Outcome::Cancelled);
        EXPECT_EQ(pages.count(), 0);
        EXPECT_EQ(QDir(pages.folder()).entryList(QDir::Files), QStringList{ReportPageList::markerFileName()});
    }
    {
        ReportJob job(store, request, pages);
        while (job.step() && job.percent() < 50) {
        }
        const int made = pages.count();
        ASSERT_TRUE(job.keepPartial());
        EXPECT_EQ(pages.count(), made + 1);  // the page being filled is ended too
        EXPECT_FALSE(job.step());
        EXPECT_EQ(job.outcome(), ReportJob::Outcome::Completed);
    }
    const QString folder = pages.folder();
    EXPECT_TRUE(QDir(folder).exists());
}

TEST_F(ReportRun, ARunWithNothingToPrintMakesNoPage) {
    addSong({QStringLiteral("Abba"), QStringLiteral("Waterloo")});
    ASSERT_EQ(run(QStringLiteral("PrintSON:SongsByArtist"), selected(QStringLiteral("zz"))),
              ReportJob::Outcome::Completed);
    EXPECT_EQ(pages.count(), 0);
}
