#include "reports/MemberLayout.h"

#include "text/Picture.h"

#include <algorithm>

namespace srk {

namespace {

constexpr int kGap = 40;

// The characters a column's widest value takes, and whether it is text that may take more room.
int valueCharacters(const ReportColumn& c, bool& text) {
    text = false;
    if (c.source == QLatin1String("TimeText"))
        return 5;
    const Picture p = parsePicture(c.picture);
    switch (p.kind) {
    case PictureKind::Text:
        text = true;
        return std::min(p.width, 40);
    case PictureKind::Number:
        return p.width + (p.grouping ? p.width / 3 : 0);
    case PictureKind::Date:
        return p.layout == 4 || p.layout == 18 ? 18 : 10;
    case PictureKind::Time:
        return 8;
    case PictureKind::Pattern:
        return int(p.pattern.size());
    case PictureKind::Invalid:
        break;
    }
    text = true;
    return 10;
}

int lineHeight(int points) { return points * 1000 * 5 / (72 * 4); }  // 1.25 lines

// Places the columns of one line that have no place of their own, left of the first that has one (or
// across the line). Every column gets at least its heading's and its widest value's width (numbers,
// dates and times are never cut); the room left goes to the text columns by their widths.
void placeLine(QVector<ReportColumn>& columns, int line, int width, int points) {
    // A generous average character width of the report font (bold headings are wider).
    const int charWidth = points * 1000 * 62 / (72 * 100);
    int end = width;
    for (const ReportColumn& c : columns)
        if (c.line == line && c.x >= 0)
            end = std::min(end, c.x);
    QVector<int> minimum(columns.size(), 0), weight(columns.size(), 0);
    int needed = 0, weights = 0, count = 0;
    for (int i = 0; i < columns.size(); ++i) {
        const ReportColumn& c = columns[i];
        if (c.line != line || c.x >= 0)
            continue;
        bool text = false;
        const int chars = valueCharacters(c, text);
        // Headings are bold: three quarters of an em a character, capitals (as in "BPM") nearly a whole one.
        int hundredths = 0;
        for (const QChar ch : c.heading)
            hundredths += ch.isUpper() ? 95 : 75;
        const int heading = hundredths * points * 1000 / (72 * 100);
        // Short texts (a mark, a two-character place) keep room for what they hold.
        minimum[i] = std::max(heading, (text ? std::min(chars, 4) : chars) * charWidth);
        if (text)
            weight[i] = chars;
        needed += minimum[i];
        weights += weight[i];
        ++count;
    }
    if (count == 0)
        return;
    const int room = end - kGap * count;
    const int spare = std::max(0, room - needed);
    int x = 0;
    for (int i = 0; i < columns.size(); ++i) {
        ReportColumn& c = columns[i];
        if (c.line != line || c.x >= 0)
            continue;
        int w = minimum[i] + (weights > 0 ? int(qint64(spare) * weight[i] / weights) : 0);
        if (needed > room)  // too many columns: all shrink alike, none leaves the line
            w = int(qint64(minimum[i]) * room / needed);
        c.x = x;
        c.width = w;
        x += w + kGap;
    }
}

}  // namespace

ReportLayout memberLayout(const ReportMember& member, const QString& title, const QString& udkLabel) {
    ReportLayout layout;
    const int width = layout.printableWidth();
    PageFont font;
    font.face = member.faceName();
    font.tenthsOfPoint = member.pointSize() * 10;
    PageFont bold = font;
    bold.flags = PageFont::Bold;
    PageFont titleFont = bold;
    titleFont.tenthsOfPoint = member.paperSaver ? 100 : 140;
    const int lh = lineHeight(member.pointSize());

    QVector<ReportColumn> columns = member.columns;
    for (ReportColumn& c : columns)
        if (c.heading == udkHeading())
            c.heading = udkLabel.trimmed().isEmpty() ? QStringLiteral("User Defined Key") : udkLabel.trimmed();
    placeLine(columns, 0, width, member.pointSize());
    placeLine(columns, 1, width, member.pointSize());

    // Page header: title, headings, a rule.
    const int titleHeight = titleFont.tenthsOfPoint * 1000 * 13 / (72 * 100);
    LayoutItem t;
    t.kind = LayoutItem::Text;
    t.x = 0;
    t.y = 0;
    t.w = width;
    t.h = titleHeight;
    t.align = PageAlign::Center;
    t.text = title;
    t.font = titleFont;
    layout.header.items.append(t);
    const int headingTop = titleHeight + lh / 2;
    const int lines = member.twoLines ? 2 : 1;
    for (const ReportColumn& c : columns) {
        LayoutItem h;
        h.kind = LayoutItem::Text;
        h.x = c.x;
        h.y = headingTop + c.line * lh;
        h.w = c.width;
        h.h = lh;
        h.align = c.align;
        h.text = c.heading;
        h.font = bold;
        layout.header.items.append(h);
    }
    LayoutItem rule;
    rule.kind = LayoutItem::Line;
    rule.x = 0;
    rule.y = headingTop + lines * lh + 20;
    rule.w = width;
    rule.h = 0;
    rule.pen = 10;
    layout.header.items.append(rule);
    layout.header.height = rule.y + 60;

    // Detail band: one or two lines per record.
    const int secondLine = member.twoLines ? 167 : 0;
    const int firstLine = member.twoLines ? 21 : 0;
    for (const ReportColumn& c : columns) {
        LayoutItem f;
        f.kind = LayoutItem::Field;
        f.x = c.x;
        f.y = c.line == 0 ? firstLine : secondLine;
        f.w = c.width;
        f.h = lh;
        f.align = c.align;
        f.text = c.source;
        f.picture = c.picture;
        f.font = font;
        layout.detail.items.append(f);
    }
    layout.detail.height = member.twoLines ? std::max(secondLine + lh + 40, 2 * lh + 60) : lh;

    // Page number and run date.
    LayoutItem page;
    page.kind = LayoutItem::Field;
    page.text = QStringLiteral("=Page");
    page.picture = QStringLiteral("@pPage <<<#p");
    page.align = PageAlign::Right;
    page.w = 1500;
    page.x = width - page.w;
    page.h = lh;
    page.font = font;
    LayoutItem date = page;
    date.text = QStringLiteral("=RunDate");
    date.picture = QStringLiteral("@d4");
    date.align = PageAlign::Left;
    date.x = 0;
    date.w = 2500;
    if (member.paperSaver) {
        page.y = 0;
        layout.header.items.append(page);
    }
    date.y = 60;
    page.y = 60;
    layout.footer.items.append(date);
    if (!member.paperSaver)
        layout.footer.items.append(page);
    layout.footer.height = lh + 60;
    return layout;
}

}  // namespace srk
