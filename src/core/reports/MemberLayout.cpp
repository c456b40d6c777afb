#include "reports/MemberLayout.h"

#include "text/Picture.h"

#include <algorithm>

namespace srk {

namespace {

constexpr int kGap = 40;

// How many characters a column wants, for sharing a line's width.
int wantedCharacters(const ReportColumn& c) {
    if (c.source == QLatin1String("TimeText"))
        return 6;
    const Picture p = parsePicture(c.picture);
    switch (p.kind) {
    case PictureKind::Text:
        return std::clamp(p.width, 4, 40);
    case PictureKind::Number:
        return std::max(p.width, 3) + 1;
    case PictureKind::Date:
        return 11;
    case PictureKind::Time:
        return 9;
    case PictureKind::Pattern:
        return int(p.pattern.size()) + 1;
    case PictureKind::Invalid:
        break;
    }
    return 10;
}

int lineHeight(int points) { return points * 1000 * 5 / (72 * 4); }  // 1.25 lines

// Places the columns of one line that have no place of their own in the room the placed ones leave.
void placeLine(QVector<ReportColumn>& columns, int line, int width) {
    int total = 0;
    int free = 0;
    for (const ReportColumn& c : columns)
        if (c.line == line && c.x < 0) {
            total += wantedCharacters(c);
            ++free;
        }
    if (free == 0)
        return;
    // Columns with a place of their own keep it; the rest share the width to the first such place.
    int end = width;
    for (const ReportColumn& c : columns)
        if (c.line == line && c.x >= 0)
            end = std::min(end, c.x);
    int x = 0;
    const int room = end - kGap * free;
    for (ReportColumn& c : columns) {
        if (c.line != line || c.x >= 0)
            continue;
        c.x = x;
        c.width = std::max(200, room * wantedCharacters(c) / total);
        x += c.width + kGap;
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
    placeLine(columns, 0, width);
    placeLine(columns, 1, width);

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
