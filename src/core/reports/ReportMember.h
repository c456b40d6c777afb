#pragma once

#include "reports/PageFile.h"

#include <QString>
#include <QVector>

namespace srk {

// One column of a catalogue report: heading, the field it shows and how.
struct ReportColumn {
    QString heading;  // "[UDK]" and "[Notes]" are replaced by the user's names for those columns
    // "SON:Artist", "CAT:Category" (looked up), "TimeText" (minutes and seconds), "ReleaseYear" (the DJ
    // log's year), "ChartPlace", "ChartLastWeek", "ChartMark" (the chart's places and movement mark)
    QString source;
    QString picture;
    int line = 0;     // 0 the first detail line, 1 the second
    int x = -1;       // thousandths from the left margin; -1 placed with the others of its line
    int width = 0;    // thousandths; 0 takes its share of the line
    PageAlign align = PageAlign::Left;
};

// A member of the catalogue report family, as data: everything in which one report differs from another.
struct ReportMember {
    enum class Driver { Songs, Albums, PlaylistLines };
    enum class Face { MsSansSerif, Arial, SmallFonts };
    enum class Start { Criteria, PreviewQuestion, CategoryThenCriteria, BriefOnly };

    QString name;           // the procedure's name, "PrintSON:SongsByArtist"
    QString title;          // "Songs by Artist"; the category members build theirs
    Driver driver = Driver::Songs;
    QString key;            // the key read in order, "SON:SongsByArtist"
    QString noun;           // shown in the criteria prompt; empty without a criteria window
    QString selectionField; // empty: every record prints
    QString fontKey;        // empty: no custom font
    bool skipMarkers = false;
    QString briefMember;    // the member printing this report in the brief style
    Face face = Face::MsSansSerif;
    Start start = Start::Criteria;
    bool paperSaver = false;
    bool twoLines = false;
    bool byCategory = false;  // limited to one category
    bool oneAlbum = false;    // limited to one album
    bool wizardFilter = false;
    bool wizardWithoutMediaTable = false;  // the wizard's song fields less the media table's name
    // The playlist printouts: today's date (and the playlist's name) in the page header instead of the
    // run date in the footer.
    bool printout = false;
    bool chart = false;      // this week's and last week's places; the running order closed up
    bool totalTime = false;  // "Total Time" after the last line
    bool logo = false;       // the user's logo picture in the page header
    QVector<ReportColumn> columns;

    bool isBrief() const { return start == Start::BriefOnly; }
    QString faceName() const;
    int pointSize() const;
};

// Every catalogue member, standard members each followed by their brief one.
const QVector<ReportMember>& reportMembers();
// The playlist printouts: "PrintPlaylist", "PrintPlaylistTop40" and "PrintDJList".
const QVector<ReportMember>& playlistPrintouts();
// By name, ignoring case, among both; nullptr when there is none.
const ReportMember* reportMember(const QString& name);
// The member that prints `member` in the brief style (itself when it has none).
const ReportMember& briefOf(const ReportMember& member);

// The song time as minutes (hours folded in, at most two digits) and two-digit seconds in eight
// characters; blank for a zero time.
QString reportTimeText(qint64 time);

// The DJ log's year: " --" without a date, a bare year as it stands, a full date's year.
QString djLogYear(qint64 releaseDate);

// The headings standing for the user-defined key column and for the DJ log's notes column.
inline QString udkHeading() { return QStringLiteral("[UDK]"); }
inline QString notesHeading() { return QStringLiteral("[Notes]"); }

}  // namespace srk
