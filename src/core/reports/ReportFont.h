#pragma once

#include "reports/PageFile.h"

#include <QString>

namespace srk {

class IniFile;

// A report's custom font as the font dialog gives it and "SRKRO97.INI" keeps it, section "Fonts", keys
// "FontName", "FontSize", "FontColor" and "FontStyle" followed by the report's font key.
// Style: the weight in the low bits, 0x1000 italic, 0x2000 underline, 0x4000 strike-out.
struct ReportFont {
    QString typeface;  // up to 32 characters
    int size = 0;      // points
    int colour = 0;    // rgb, red in the low byte
    int style = 0;

    static constexpr int kItalic = 0x1000;
    static constexpr int kUnderline = 0x2000;
    static constexpr int kStrikeOut = 0x4000;

    bool isBlank() const { return typeface.trimmed().isEmpty() && size == 0; }
    PageFont pageFont() const;
};

QString reportFontSection();
// Absent keys give a blank typeface and zeros.
ReportFont readReportFont(const IniFile& ini, const QString& fontKey);
// False when a key could not be written.
bool writeReportFont(IniFile& ini, const QString& fontKey, const ReportFont& font);

}  // namespace srk
