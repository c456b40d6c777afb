#include "reports/ReportFont.h"

#include "settings/IniFile.h"

namespace srk {

QString reportFontSection() { return QStringLiteral("Fonts"); }

PageFont ReportFont::pageFont() const {
    PageFont f;
    f.face = typeface.trimmed();
    f.tenthsOfPoint = (size > 0 ? size : 8) * 10;
    f.rgb = colour;
    const int weight = style & 0x0fff;
    if (weight >= 600)
        f.flags |= PageFont::Bold;
    if (style & kItalic)
        f.flags |= PageFont::Italic;
    if (style & kUnderline)
        f.flags |= PageFont::Underline;
    if (style & kStrikeOut)
        f.flags |= PageFont::StrikeOut;
    return f;
}

ReportFont readReportFont(const IniFile& ini, const QString& fontKey) {
    const QString s = reportFontSection();
    ReportFont f;
    f.typeface = ini.readString(s, QStringLiteral("FontName") + fontKey).left(32);
    f.size = ini.readInt(s, QStringLiteral("FontSize") + fontKey);
    f.colour = ini.readInt(s, QStringLiteral("FontColor") + fontKey);
    f.style = ini.readInt(s, QStringLiteral("FontStyle") + fontKey);
    return f;
}

bool writeReportFont(IniFile& ini, const QString& fontKey, const ReportFont& font) {
    const QString s = reportFontSection();
    bool ok = ini.writeString(s, QStringLiteral("FontName") + fontKey, font.typeface.left(32));
    ok = ini.writeInt(s, QStringLiteral("FontSize") + fontKey, font.size) && ok;
    ok = ini.writeInt(s, QStringLiteral("FontColor") + fontKey, font.colour) && ok;
    ok = ini.writeInt(s, QStringLiteral("FontStyle") + fontKey, font.style) && ok;
    return ok;
}

}  // namespace srk
