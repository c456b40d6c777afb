#include "reports/ReportMember.h"

#include "cd/DiscTime.h"
#include "text/DayNumber.h"

#include <QDate>

namespace srk {

namespace {

using Align = PageAlign;

ReportColumn col(const char* heading, const char* source, const char* picture, int line = 0, int x = -1,
                 int width = 0, Align align = Align::Left) {
    return {QString::fromLatin1(heading), QString::fromLatin1(source), QString::fromLatin1(picture), line, x, width,
            align};
}

// The standard two-line song layout: the first five columns of line one and the second line in the
// places of the artist list.
QVector<ReportColumn> standardSongColumns(const char* first, const char* firstSource, const char* second,
                                          const char* secondSource, const char* third, const char* thirdSource,
                                          const char* fourth, const char* fourthSource) {
    return {
        col(first, firstSource, "@s40", 0, 31, 1604),
        col(second, secondSource, "@s40", 0, 1646, 1531),
        col(third, thirdSource, "@s40", 0, 3208, 1552),
        col(fourth, fourthSource, "@s20", 0, 4781, 1188),
        col("Category", "CAT:Category", "@s30", 0, 5979, 979),
        col("Track", "SON:TrackNumber", "@n3b", 1, 5979, 480, Align::Right),
        col("Chart", "SON:ChartNumber", "@n3b", 1, 6521, 437, Align::Right),
        col("File Number", "SON:FileNumber", "@s20", 1, 3208, 1400),
        col("Release Date", "SON:ReleaseDate", "@d2", 1, 4781, 760),
    };
}

QVector<ReportMember> buildMembers() {
    using D = ReportMember::Driver;
    using F = ReportMember::Face;
    using S = ReportMember::Start;
    QVector<ReportMember> m;

    auto song = [&](const char* name, const char* title, const char* key, const char* noun, const char* sel,
                    const char* fontKey, bool skips, S start) {
        ReportMember r;
        r.name = QString::fromLatin1(name);
        r.title = QString::fromLatin1(title);
        r.driver = D::Songs;
        r.key = QString::fromLatin1(key);
        r.noun = QString::fromLatin1(noun);
        r.selectionField = QString::fromLatin1(sel);
        r.fontKey = QString::fromLatin1(fontKey);
        r.skipMarkers = skips;
        r.start = start;
        return r;
    };

    // Songs by Artist.
    ReportMember r = song("PrintSON:SongsByArtist", "Songs by Artist", "SON:SongsByArtist", "artists", "SON:Artist",
                          "PrintSON:SongsByArtist", true, S::Criteria);
    r.twoLines = true;
    r.columns = standardSongColumns("Artist", "SON:Artist", "Title", "SON:Title", "Album", "SON:Album", "Media",
                                    "SON:Media");
    r.briefMember = QStringLiteral("BriefSON:SongsByArtist");
    m << r;
    r = song("BriefSON:SongsByArtist", "Songs by Artist", "SON:SongsByArtist", "", "SON:Artist",
             "BriefSON:SongsByArtist", true, S::BriefOnly);
    r.columns = {col("Time", "SON:Time", "@t4b", 0, 6896, 604), col("File Number", "SON:FileNumber", "@s20", 0, 5552, 650),
                 col("Trk", "SON:TrackNumber", "@n3b", 0, 6219, 260, Align::Right),
                 col("[UDK]", "SON:UserDefinedKeyField", "@s30", 0, 6510, 373),
                 col("Artist", "SON:Artist", "@s40", 0, 42, 1885), col("Title", "SON:Title", "@s40", 0, 1938, 2135),
                 col("Album", "SON:Album", "@s40", 0, 4094, 1438)};
    m << r;

    // Songs by Title.
    r = song("PrintSON:SongsByTitle", "Songs by Title", "SON:SongsByTitle", "titles", "SON:Title",
             "PrintSON:SongsByTitle", true, S::Criteria);
    r.twoLines = true;
    r.columns = standardSongColumns("Title", "SON:Title", "Artist", "SON:Artist", "Album", "SON:Album", "Media",
                                    "SON:Media");
    r.briefMember = QStringLiteral("BriefSON:SongsByTitle");
    m << r;
    r = song("BriefSON:SongsByTitle", "Songs by Title", "SON:SongsByTitle", "", "SON:Title", "BriefSON:SongsByTitle",
             true, S::BriefOnly);
    r.columns = {col("Time", "SON:Time", "@t4b", 0, 6896, 604), col("File Number", "SON:FileNumber", "@s20", 0, 5552, 650),
                 col("Trk", "SON:TrackNumber", "@n3b", 0, 6219, 260, Align::Right),
                 col("[UDK]", "SON:UserDefinedKeyField", "@s30", 0, 6510, 373),
                 col("Title", "SON:Title", "@s40", 0, 42, 1885), col("Artist", "SON:Artist", "@s40", 0, 1938, 2135),
                 col("Album", "SON:Album", "@s40", 0, 4094, 1438)};
    m << r;

    // Songs by Album.
    r = song("PrintSON:SongsByAlbum", "Songs by Album", "SON:SongsByAlbum", "albums", "SON:Album",
             "PrintSON:SongsByAlbum", false, S::Criteria);
    r.twoLines = true;
    r.columns = standardSongColumns("Album", "SON:Album", "Artist", "SON:Artist", "Title", "SON:Title", "Media",
                                    "SON:Media");
    r.briefMember = QStringLiteral("BRIEFSON:SONGSBYALBUM");
    m << r;
    r = song("BRIEFSON:SONGSBYALBUM", "Songs by Album", "SON:SongsByAlbum", "", "SON:Album", "", false, S::BriefOnly);
    r.columns = {col("File Number", "SON:FileNumber", "@s20", 0, -1, 0), col("Album", "SON:Album", "@s40"),
                 col("Artist", "SON:Artist", "@s40"), col("Title", "SON:Title", "@s40"), col("Media", "SON:Media", "@s20")};
    m << r;

    // Songs by Media.
    r = song("PrintSON:SongsByMedia", "Songs by Media", "SON:SongsByMedia", "media", "SON:Media",
             "PrintSON:SongsByMedia", false, S::Criteria);
    r.twoLines = true;
    r.columns = standardSongColumns("Media", "SON:Media", "Title", "SON:Title", "Album", "SON:Album", "Artist",
                                    "SON:Artist");
    r.columns[0].picture = QStringLiteral("@s20");
    r.columns[3].picture = QStringLiteral("@s40");
    r.briefMember = QStringLiteral("BriefSON:SongsByMedia");
    m << r;
    r = song("BriefSON:SongsByMedia", "Songs by Media", "SON:SongsByMedia", "", "SON:Media", "BriefSON:SongsByMedia",
             false, S::BriefOnly);
    r.columns = {col("Media", "SON:Media", "@s20"), col("Artist", "SON:Artist", "@s40"),
                 col("Title", "SON:Title", "@s40"), col("Album", "SON:Album", "@s40"),
                 col("File Number", "SON:FileNumber", "@s20")};
    m << r;

    // Songs by User Defined Key.
    r = song("PrintSON:SongsByUDK", "Songs by User Defined Key", "SON:SongsByUserDefinedKey", "keys",
             "SON:UserDefinedKeyField", "PrintSON:SongsByUDK", false, S::Criteria);
    r.twoLines = true;
    r.columns = {col("Artist", "SON:Artist", "@s40"), col("Title", "SON:Title", "@s40"),
                 col("Album", "SON:Album", "@s40"), col("Media", "SON:Media", "@s20"),
                 col("[UDK]", "SON:UserDefinedKeyField", "@s30"),
                 col("Category", "CAT:Category", "@s30", 1, 31, 1500),
                 col("Track", "SON:TrackNumber", "@n3b", 1, 5979, 480, Align::Right),
                 col("Chart", "SON:ChartNumber", "@n3b", 1, 6521, 437, Align::Right),
                 col("File Number", "SON:FileNumber", "@s20", 1, 3208, 1400),
                 col("Release Date", "SON:ReleaseDate", "@d2", 1, 4781, 760)};
    r.briefMember = QStringLiteral("BRIEFSON:SONGSBYUDK");
    m << r;
    r = song("BRIEFSON:SONGSBYUDK", "Songs by User Defined Key", "SON:SongsByUserDefinedKey", "",
             "SON:UserDefinedKeyField", "", false, S::BriefOnly);
    r.columns = {col("Album", "SON:Album", "@s40"), col("Title", "SON:Title", "@s40"),
                 col("Artist", "SON:Artist", "@s40"), col("[UDK]", "SON:UserDefinedKeyField", "@s30")};
    m << r;

    // Songs by Chart Number.
    r = song("PRINTSON:SONGSBYCHART", "Songs by Chart Number", "SON:SongsByChartNumber", "chart numbers",
             "SON:ChartNumber", "", false, S::Criteria);
    r.columns = {col("Album", "SON:Album", "@s40"), col("Title", "SON:Title", "@s40"),
                 col("Artist", "SON:Artist", "@s40"),
                 col("Chart #", "SON:ChartNumber", "@n3b", 0, -1, 0, Align::Right), col("Media", "SON:Media", "@s20"),
                 col("File Number", "SON:FileNumber", "@s20"), col("Release Date", "SON:ReleaseDate", "@d2")};
    r.briefMember = QStringLiteral("BRIEFSON:SONGSBYCHART");
    m << r;
    r = song("BRIEFSON:SONGSBYCHART", "Songs by Chart Number", "SON:SongsByChartNumber", "", "SON:ChartNumber", "",
             false, S::BriefOnly);
    r.columns = {col("Album", "SON:Album", "@s40"), col("Title", "SON:Title", "@s40"),
                 col("Artist", "SON:Artist", "@s40"), col("Chart #", "SON:ChartNumber", "@n3b", 0, -1, 0, Align::Right)};
    m << r;

    // Songs by Beats Per Minute.
    r = song("PrintSON:SongsByBPM", "Songs by Beats Per Minute", "SON:KeyBeatsPerMinute", "BPMs",
             "SON:BeatsPerMinute", "PrintSON:SongsByBPM", true, S::Criteria);
    r.twoLines = true;
    r.columns = {col("Artist", "SON:Artist", "@s40"), col("BPM", "SON:BeatsPerMinute", "@n_3b", 0, -1, 0, Align::Right),
                 col("Title", "SON:Title", "@s40"), col("Album", "SON:Album", "@s40"),
                 col("Media", "SON:Media", "@s20"),
                 col("Category", "CAT:Category", "@s30", 1, 31, 1500),
                 col("Track", "SON:TrackNumber", "@n3b", 1, 5979, 480, Align::Right),
                 col("Chart", "SON:ChartNumber", "@n3b", 1, 6521, 437, Align::Right),
                 col("File Number", "SON:FileNumber", "@s20", 1, 3208, 1400),
                 col("Release Date", "SON:ReleaseDate", "@d2", 1, 4781, 760)};
    r.briefMember = QStringLiteral("BriefSON:SongsByBPM");
    m << r;
    r = song("BriefSON:SongsByBPM", "Songs by Beats Per Minute", "SON:KeyBeatsPerMinute", "", "SON:BeatsPerMinute",
             "BriefSON:SongsByBPM", true, S::BriefOnly);
    r.columns = {col("Time", "SON:Time", "@t4b", 0, -1, 0), col("File Number", "SON:FileNumber", "@s20"),
                 col("Trk", "SON:TrackNumber", "@n3b", 0, -1, 0, Align::Right),
                 col("[UDK]", "SON:UserDefinedKeyField", "@s30"), col("Artist", "SON:Artist", "@s40"),
                 col("Title", "SON:Title", "@s40"), col("Album", "SON:Album", "@s40"),
                 col("BPM", "SON:BeatsPerMinute", "@n_3b", 0, -1, 0, Align::Right)};
    m << r;

    // Songs of one category.
    r = song("PrintByCategory", "Music in Category", "SON:SongsByCategory", "artists", "SON:Artist", "PrintByCategory",
             false, S::CategoryThenCriteria);
    r.byCategory = true;
    r.twoLines = true;
    r.columns = {col("Artist", "SON:Artist", "@s30", 0, 31, 1604), col("Title", "SON:Title", "@s30", 0, 1646, 1531),
                 col("Album", "SON:Album", "@s30", 0, 3208, 1552), col("Media", "SON:Media", "@s20", 0, 4781, 1188),
                 col("File Number", "SON:FileNumber", "@s20", 1, 3208, 1400),
                 col("Release Date", "SON:ReleaseDate", "@d2", 1, 4781, 760)};
    r.briefMember = QStringLiteral("BriefByCategory");
    m << r;
    r = song("BriefByCategory", "Music in Category", "SON:SongsByCategory", "", "SON:Artist", "BriefByCategory", false,
             S::BriefOnly);
    r.byCategory = true;
    r.columns = {col("Artist", "SON:Artist", "@s30"), col("Title", "SON:Title", "@s30"), col("Album", "SON:Album", "@s30"),
                 col("Media", "SON:Media", "@s20"), col("File Number", "SON:FileNumber", "@s20")};
    m << r;

    // The songs of one album.
    r = song("PRINTONEALBUM", "Songs by Album", "SON:SongsByAlbum", "", "", "", false, S::PreviewQuestion);
    r.oneAlbum = true;
    r.columns = {col("Album", "SON:Album", "@s30"), col("Title", "SON:Title", "@s30"), col("Artist", "SON:Artist", "@s30"),
                 col("Media", "SON:Media", "@s20")};
    m << r;

    // The paper savers.
    r = song("PrintPaperSaver", "Songs by Artist", "SON:SongsByArtist", "", "SON:Artist", "PrintPaperSaver", true,
             S::PreviewQuestion);
    r.face = F::SmallFonts;
    r.paperSaver = true;
    r.wizardFilter = true;
    r.columns = {col("Time", "TimeText", "", 0, -1, 0, Align::Right),
                 col("BPM", "SON:BeatsPerMinute", "@p(<<#)pb", 0, -1, 0, Align::Right),
                 col("Trk", "SON:TrackNumber", "@n3b", 0, -1, 0, Align::Right), col("File #", "SON:FileNumber", "@s10"),
                 col("Artist", "SON:Artist", "@s40"), col("Title", "SON:Title", "@s40"), col("Album", "SON:Album", "@s40"),
                 col("[UDK]", "SON:UserDefinedKeyField", "@s30")};
    m << r;
    r.name = QStringLiteral("PrintPaperSaverTitle");
    r.title = QStringLiteral("Songs by Title");
    r.key = QStringLiteral("SON:SongsByTitle");
    r.fontKey = QStringLiteral("PrintPaperSaverTitle");
    std::swap(r.columns[4], r.columns[5]);
    m << r;

    // Album lists.
    auto album = [&](const char* name, const char* title, const char* key, const char* sel, bool brief) {
        ReportMember a;
        a.name = QString::fromLatin1(name);
        a.title = QString::fromLatin1(title);
        a.driver = D::Albums;
        a.key = QString::fromLatin1(key);
        a.noun = brief ? QString() : QStringLiteral("albums");
        a.selectionField = QString::fromLatin1(sel);
        a.start = brief ? S::BriefOnly : S::Criteria;
        a.face = brief ? F::MsSansSerif : F::Arial;
        if (brief)
            a.columns = {col("File Number", "ALB:FileNumber", "@s20"), col("Artist", "ALB:Artist", "@s40"),
                         col("Album", "ALB:Album", "@s40"), col("Media", "ALB:Media", "@s20")};
        else
            a.columns = {col("Album", "ALB:Album", "@s40"), col("Artist", "ALB:Artist", "@s40"),
                         col("Media", "ALB:Media", "@s20"), col("File Number", "ALB:FileNumber", "@s20"),
                         col("Release Date", "ALB:ReleaseDate", "@d2"),
                         col("Associated WAV File", "ALB:AssociatedWavFile", "@s128")};
        return a;
    };
    ReportMember a = album("PRINTALBUMSBYARTIST", "Albums by Artist", "ALB:KeyArtist", "ALB:Artist", false);
    std::swap(a.columns[0], a.columns[1]);
    a.briefMember = QStringLiteral("BRIEFALBUMSBYARTIST");
    m << a;
    m << album("BRIEFALBUMSBYARTIST", "Albums by Artist", "ALB:KeyArtist", "ALB:Artist", true);
    a = album("PRINTALBUMSBYALBUM", "Albums", "ALB:KeyAlbum", "ALB:Album", false);
    a.briefMember = QStringLiteral("BRIEFALBUMSBYALBUM");
    m << a;
    a = album("BRIEFALBUMSBYALBUM", "Albums by Album", "ALB:KeyAlbum", "ALB:Album", true);
    std::swap(a.columns[1], a.columns[2]);
    m << a;
    a = album("PRINTALBUMSBYFILENUMBER", "Albums by File Number", "ALB:KeyFileNumber", "ALB:FileNumber", false);
    a.noun = QStringLiteral("file numbers");
    a.briefMember = QStringLiteral("BRIEFALBUMSBYFILENUMBER");
    m << a;
    a = album("BRIEFALBUMSBYFILENUMBER", "Albums by File Number", "ALB:KeyFileNumber", "ALB:FileNumber", true);
    std::swap(a.columns[1], a.columns[2]);
    m << a;
    return m;
}

}  // namespace

QString ReportMember::faceName() const {
    switch (face) {
    case Face::Arial:
        return QStringLiteral("Arial");
    case Face::SmallFonts:
        return QStringLiteral("Small Fonts");
    case Face::MsSansSerif:
        break;
    }
    return QStringLiteral("MS Sans Serif");
}

int ReportMember::pointSize() const { return face == Face::SmallFonts ? 6 : face == Face::Arial ? 9 : 8; }

const QVector<ReportMember>& reportMembers() {
    static const QVector<ReportMember> members = buildMembers();
    return members;
}

const ReportMember* reportMember(const QString& name) {
    for (const QVector<ReportMember>* members : {&reportMembers(), &playlistPrintouts()})
        for (const ReportMember& m : *members)
            if (m.name.compare(name, Qt::CaseInsensitive) == 0)
                return &m;
    return nullptr;
}

const ReportMember& briefOf(const ReportMember& member) {
    const ReportMember* brief = member.briefMember.isEmpty() ? nullptr : reportMember(member.briefMember);
    return brief ? *brief : member;
}

QString reportTimeText(qint64 time) { return FormatMinutesSeconds(qint32(time)).leftJustified(8); }

QString djLogYear(qint64 releaseDate) {
    if (releaseDate == 0)
        return QStringLiteral(" --");
    if (isBareYear(releaseDate))
        return QString::number(releaseDate);
    const QDate date = dateFromDayNumber(releaseDate);
    return date.isValid() ? QString::number(date.year()) : QStringLiteral(" --");
}

}  // namespace srk
