#include "reports/PlaylistPrintouts.h"

#include "reports/MemberLayout.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace srk {

namespace {

using Align = PageAlign;

ReportColumn col(const char* heading, const char* source, const char* picture, Align align = Align::Left) {
    return {QString::fromLatin1(heading), QString::fromLatin1(source), QString::fromLatin1(picture), 0, -1, 0, align};
}

// A printout asks only whether to preview, then prints.
ReportMember printout(const char* name, const char* title, ReportMember::Driver driver, const char* key) {
    ReportMember r;
    r.name = QString::fromLatin1(name);
    r.title = QString::fromLatin1(title);
    r.driver = driver;
    r.key = QString::fromLatin1(key);
    r.start = ReportMember::Start::PreviewQuestion;
    r.printout = true;
    return r;
}

QVector<ReportMember> buildPrintouts() {
    using D = ReportMember::Driver;
    QVector<ReportMember> m;
    ReportMember r = printout("PrintPlaylist", "Playlist", D::PlaylistLines, "PLA:KeyPlaylistID");
    r.totalTime = true;
    r.columns = {col("Artist", "SON:Artist", "@s40"),
                 col("Title", "SON:Title", "@s40"),
                 col("Category", "CAT:Category", "@s30"),
                 col("Album", "SON:Album", "@s40"),
                 col("[UDK]", "SON:UserDefinedKeyField", "@s30"),
                 col("Date", "SON:ReleaseDate", "@D15-"),
                 col("Time", "TimeText", ""),
                 col("File Number", "SON:FileNumber", "@s20")};
    m << r;

    // The chart's own title is its playlist's description.
    r = printout("PrintPlaylistTop40", "Top 40", D::PlaylistLines, "PLA:KeyPlaylistID");
    r.chart = true;
    r.logo = true;
    r.columns = {col("Artist", "SON:Artist", "@s40"),
                 col("Title", "SON:Title", "@s40"),
                 col("Time", "TimeText", ""),
                 col("BPM", "SON:BeatsPerMinute", "@n_3b", Align::Right),
                 col("Trk", "SON:TrackNumber", "@n3b", Align::Right),
                 col("TW", "ChartPlace", "@n3", Align::Right),
                 col("LW", "ChartLastWeek", "@s2", Align::Center),
                 col("File", "SON:FileNumber", "@s20"),
                 col("", "ChartMark", "@s1")};
    m << r;

    r = printout("PrintDJList", "DJ LOG", D::Songs, "SON:SongsByMedia");
    r.wizardFilter = true;
    r.wizardWithoutMediaTable = true;
    r.columns = {col("Artist", "SON:Artist", "@s40"),
                 col("Title", "SON:Title", "@s40"),
                 col("Category", "CAT:Category", "@s30"),
                 col("Album", "SON:Album", "@s40"),
                 col("[Notes]", "SON:UserDefinedKeyField", "@s30"),
                 col("Year", "ReleaseYear", "@s4"),
                 col("File Number", "SON:FileNumber", "@s20")};
    m << r;
    return m;
}

int lineHeight(int points) { return points * 1000 * 5 / (72 * 4); }

}  // namespace

const QVector<ReportMember>& playlistPrintouts() {
    static const QVector<ReportMember> printouts = buildPrintouts();
    return printouts;
}

ReportLayout printoutLayout(const ReportMember& member, const PrintoutTexts& texts) {
    ReportMember m = member;
    for (ReportColumn& c : m.columns)
        if (c.heading == notesHeading())
            c.heading = texts.notesLabel.trimmed().isEmpty() ? QStringLiteral("Notes") : texts.notesLabel.trimmed();
    ReportLayout layout = memberLayout(m, texts.title, texts.udkLabel);
    const int width = layout.printableWidth();
    const int lh = lineHeight(m.pointSize());

    // The title keeps the middle of its line: the logo takes the left end, the date the right.
    constexpr int kSide = 1900;
    LayoutItem& title = layout.header.items[0];
    title.x = kSide;
    title.w = width - 2 * kSide;
    int top = title.h;
    LayoutItem subtitle;
    if (!texts.subtitle.trimmed().isEmpty()) {
        subtitle = title;
        subtitle.y = top;
        subtitle.text = texts.subtitle.trimmed();
        subtitle.font.tenthsOfPoint = std::max(100, title.font.tenthsOfPoint * 3 / 4);
        subtitle.h = subtitle.font.tenthsOfPoint * 1000 * 13 / (72 * 100);
        top += subtitle.h;
    }
    LayoutItem logo;
    if (m.logo && !texts.logoFile.isEmpty()) {
        logo.kind = LayoutItem::Picture;
        logo.x = 0;
        logo.y = 0;
        logo.w = kSide - 100;
        logo.h = 750;
        logo.text = texts.logoFile;
        top = std::max(top, logo.h);
    }
    const int shift = top - title.h;
    for (int i = 1; i < layout.header.items.size(); ++i)
        layout.header.items[i].y += shift;
    layout.header.height += shift;
    if (!subtitle.text.isEmpty())
        layout.header.items.append(subtitle);
    if (!logo.text.isEmpty())
        layout.header.items.append(logo);

    // Today's date in the header; the footer keeps only the page number.
    for (int i = layout.footer.items.size() - 1; i >= 0; --i)
        if (layout.footer.items[i].text == QLatin1String("=RunDate")) {
            LayoutItem date = layout.footer.items.takeAt(i);
            date.x = width - kSide + 100;
            date.w = kSide - 100;
            date.y = 0;
            date.align = Align::Right;
            layout.header.items.append(date);
        }

    if (m.totalTime) {
        // Under the time column: the label to its left, the sum (which may have hours) right-aligned on
        // the column's right edge.
        const auto time = std::find_if(layout.detail.items.cbegin(), layout.detail.items.cend(),
                                       [](const LayoutItem& i) { return i.text == QLatin1String("TimeText"); });
        const int right = time != layout.detail.items.cend() ? time->x + time->w : width;
        PageFont bold = layout.detail.items.isEmpty() ? PageFont() : layout.detail.items.first().font;
        bold.flags |= PageFont::Bold;
        constexpr int kValue = 1000;
        LayoutItem rule;
        rule.kind = LayoutItem::Line;
        rule.x = std::max(0, right - kValue - 1600);
        rule.y = 40;
        rule.w = right - rule.x;
        rule.pen = 10;
        LayoutItem label;
        label.kind = LayoutItem::Text;
        label.x = rule.x;
        label.y = 80;
        label.w = 1500;
        label.h = lh;
        label.align = Align::Right;
        label.text = QStringLiteral("Total Time");
        label.font = bold;
        LayoutItem sum = label;
        sum.kind = LayoutItem::Field;
        sum.x = right - kValue;
        sum.w = kValue;
        sum.text = QStringLiteral("TotalTime");
        sum.picture = QStringLiteral("@T4");
        layout.summary.items = {rule, label, sum};
        layout.summary.height = 80 + lh + 40;
    }
    return layout;
}

QString printoutLogoFile(const QString& preference, const QString& folder) {
    const QString name = preference.trimmed().isEmpty() ? QStringLiteral("LOGO.GIF") : preference.trimmed();
    const QFileInfo file(QDir(folder.isEmpty() ? QDir::currentPath() : folder), name);
    return file.isFile() ? file.absoluteFilePath() : QString();
}

}  // namespace srk
