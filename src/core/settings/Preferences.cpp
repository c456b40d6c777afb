#include "settings/Preferences.h"

#include "settings/IniFile.h"

#include <variant>

namespace srk {

namespace {

// Program-wide texts have fixed widths; a longer value in the file is cut, never splitting a character.
QString clipped(const QString& text, int width) {
    if (width <= 0)
        return text;
    qsizetype at = 0;
    for (int counted = 0; at < text.size() && counted < width; ++counted)
        at += (text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate()) ? 2 : 1;
    return text.left(at);
}

struct Field {
    QLatin1StringView key;
    std::variant<int Preferences::*, QString Preferences::*> member;
    int width = 0; // texts only; 0 = no limit
};

// In the order of the file's table.
const Field fields[] = {
    {QLatin1StringView("SU_Albums"), &Preferences::SU_Albums},
    {QLatin1StringView("SU_Songs"), &Preferences::SU_Songs},
    {QLatin1StringView("SU_Playlists"), &Preferences::SU_Playlists},
    {QLatin1StringView("SU_Labels"), &Preferences::SU_Labels},
    {QLatin1StringView("SaveLastTab"), &Preferences::SaveLastTab},
    {QLatin1StringView("Interface"), &Preferences::Interface},
    {QLatin1StringView("DateFormat"), &Preferences::DateFormat},
    {QLatin1StringView("UDKPrompt"), &Preferences::UDKPrompt, 24},
    {QLatin1StringView("NotesLabel"), &Preferences::NotesLabel, 20},
    {QLatin1StringView("AddMode"), &Preferences::AddMode},
    {QLatin1StringView("AutoAddToAlbums"), &Preferences::AutoAddToAlbums, 20},
    {QLatin1StringView("DefaultWizardCompilation"), &Preferences::DefaultWizardCompilation},
    {QLatin1StringView("LabelArtistTitleOrder"), &Preferences::LabelArtistTitleOrder},
    {QLatin1StringView("GLO:Delimiter"), &Preferences::Delimiter, 1},
    {QLatin1StringView("AltCasFmt"), &Preferences::AltCasFmt},
    {QLatin1StringView("Logo"), &Preferences::Logo, 255},
    {QLatin1StringView("CDTimer"), &Preferences::CDTimer},
    {QLatin1StringView("CDDevice"), &Preferences::CDDevice, 255},
    {QLatin1StringView("SetupWizardComplete"), &Preferences::SetupWizardComplete},
};

void writeField(const Field& field, const Preferences& prefs, IniFile& file) {
    if (const auto* number = std::get_if<int Preferences::*>(&field.member))
        file.writeInt(SettingsSection, field.key, prefs.**number);
    else
        file.writeString(SettingsSection, field.key, prefs.*std::get<QString Preferences::*>(field.member));
}

const QLatin1StringView fontName("FontName");
const QLatin1StringView fontSize("FontSize");
const QLatin1StringView fontColor("FontColor");
const QLatin1StringView fontStyle("FontStyle");
const QLatin1StringView versionKey("Version");

} // namespace

Preferences Preferences::load(const IniFile& file) {
    Preferences prefs;
    for (const Field& field : fields) {
        if (const auto* number = std::get_if<int Preferences::*>(&field.member)) {
            prefs.** number = file.readInt(SettingsSection, field.key, prefs.**number);
        } else {
            QString& text = prefs.*std::get<QString Preferences::*>(field.member);
            text = clipped(file.readString(SettingsSection, field.key, text), field.width);
        }
    }
    return prefs;
}

void Preferences::save(IniFile& file) const {
    for (const Field& field : fields)
        writeField(field, *this, file);
}

void Preferences::save(IniFile& file, const QStringList& keys) const {
    for (const QString& key : keys) {
        for (const Field& field : fields) {
            if (key.compare(field.key, Qt::CaseInsensitive) == 0)
                writeField(field, *this, file);
        }
    }
}

QStringList Preferences::setupKeys() {
    const char* const names[] = {"AutoAddToAlbums", "AddMode",     "LabelArtistTitleOrder",
                                 "GLO:Delimiter",   "UDKPrompt",   "NotesLabel",
                                 "Interface",       "SU_Albums",   "SU_Songs",
                                 "SU_Playlists",    "SU_Labels",   "Logo",
                                 "AltCasFmt",       "SaveLastTab", "DefaultWizardCompilation"};
    QStringList keys;
    for (const char* name : names)
        keys.append(QLatin1StringView(name));
    return keys;
}

QStringList Preferences::allKeys() {
    QStringList keys;
    for (const Field& field : fields)
        keys.append(field.key);
    return keys;
}

ReportFont readReportFont(const IniFile& file, const QString& reportKey) {
    ReportFont font;
    font.name = clipped(file.readString(FontsSection, fontName + reportKey), 32);
    font.size = file.readInt(FontsSection, fontSize + reportKey);
    font.color = file.readInt(FontsSection, fontColor + reportKey);
    font.style = file.readInt(FontsSection, fontStyle + reportKey);
    return font;
}

void writeReportFont(IniFile& file, const QString& reportKey, const ReportFont& font) {
    file.writeString(FontsSection, fontName + reportKey, clipped(font.name, 32));
    file.writeInt(FontsSection, fontSize + reportKey, font.size);
    file.writeInt(FontsSection, fontColor + reportKey, font.color);
    file.writeInt(FontsSection, fontStyle + reportKey, font.style);
}

QString lastRunVersion(const IniFile& file) {
    return file.readString(GlobalSettingsSection, versionKey);
}

QString recordRunVersion(IniFile& file, const QString& currentVersion) {
    const QString last = lastRunVersion(file);
    file.writeString(GlobalSettingsSection, versionKey, currentVersion);
    return last;
}

QString frameLogo(const IniFile& file) {
    return file.readString(GlobalSettingsSection, QLatin1StringView("FrameLogo"));
}

QString toolBarPictureFile(const IniFile& file) {
    for (const QString& candidate :
         {file.readString(SettingsSection, QLatin1StringView("MainLogo")),
          file.readString(SettingsSection, QLatin1StringView("Logo")), frameLogo(file)}) {
        if (!candidate.trimmed().isEmpty())
            return candidate;
    }
    return {};
}

} // namespace srk
