#include "reports/CustomFont.h"

namespace srk {

namespace {
constexpr int kItalic = 0x1000;
constexpr int kUnderline = 0x2000;
constexpr int kStrikeOut = 0x4000;
}  // namespace

PageFont pageFontOf(const ReportFont& font) {
    PageFont f;
    f.face = font.name.trimmed();
    f.tenthsOfPoint = (font.size > 0 ? font.size : 8) * 10;
    f.rgb = font.color;
    if ((font.style & 0x0fff) >= 600)
        f.flags |= PageFont::Bold;
    if (font.style & kItalic)
        f.flags |= PageFont::Italic;
    if (font.style & kUnderline)
        f.flags |= PageFont::Underline;
    if (font.style & kStrikeOut)
        f.flags |= PageFont::StrikeOut;
    return f;
}

bool isBlankFont(const ReportFont& font) { return font.name.trimmed().isEmpty() && font.size == 0; }

}  // namespace srk
