#pragma once

#include <QString>
#include <QStringList>

namespace srk {

class IniFile;

// Sections of the preferences file "SRKRO97.INI".
inline constexpr QLatin1StringView SettingsSection{"Settings"};
inline constexpr QLatin1StringView FontsSection{"Fonts"};
inline constexpr QLatin1StringView GlobalSettingsSection{"Global Settings"};

// The program-wide preferences: section "Settings" of the preferences file, read once at start-up and
// written back by the preferences window, the setup wizard and the CD player set-up. "SongTab", "AlbumTab"
// and "MainLogo" are not here: their readers go to the file themselves.
struct Preferences {
    int SU_Albums = 0; // 1 = open that browser when the splash closes
    int SU_Songs = 0;
    int SU_Playlists = 0;
    int SU_Labels = 0;
    int SaveLastTab = 1;
    QString Interface = QStringLiteral("Standard"); // "Standard" or "Explorer"
    QString DateFormat;                             // date picture without "@"; blank = each window's own
    QString UDKPrompt = QStringLiteral("Custom");   // up to 24 characters
    QString NotesLabel = QStringLiteral("Notes");   // up to 20 characters
    // "Normal", "Compilation", "Single Artist" or "Ask Each Time"; the default "1" is none of them and its
    // readers go by the first letter.
    QString AddMode = QStringLiteral("1");
    QString AutoAddToAlbums = QStringLiteral("1"); // non-blank = on; up to 20 characters
    int DefaultWizardCompilation = 0;
    // "Artist - Title" or "Title - Artist"; the default "1" is neither and, not starting with "A", puts the
    // title first.
    QString LabelArtistTitleOrder = QStringLiteral("1");
    QString Delimiter = QStringLiteral("."); // key "GLO:Delimiter"; one character
    int AltCasFmt = 0;
    QString Logo;      // company logo picture file, up to 255 characters
    int CDTimer = 150; // hundredths of a second; 0 = do not poll
    QString CDDevice;  // drive device or disc image path, up to 255 characters; blank = the default drive
    int SetupWizardComplete = 0;

    // Every key from section "Settings"; a missing key keeps its default, texts are cut to their widths.
    static Preferences load(const IniFile& file);
    // Writes every key to section "Settings".
    void save(IniFile& file) const;
    // Writes only the named keys (spelled as in the file, for example "GLO:Delimiter"); unknown names are
    // skipped.
    void save(IniFile& file, const QStringList& keys) const;

    // The keys the preferences window and the setup wizard write on confirmation, in their order; the
    // date format and the wizard's completion flag are written separately.
    static QStringList setupKeys();
    // Every key of the struct, in the order of the file's table.
    static QStringList allKeys();

    bool operator==(const Preferences&) const = default;
};

// A report's custom typeface from section "Fonts": keys "FontName", "FontSize", "FontColor" and "FontStyle",
// each followed by the report's key (for example "FontNamePrintSON:SongsByArtist").
struct ReportFont {
    QString name; // up to 32 characters
    int size = 0;
    int color = 0; // RGB, red in the low byte
    int style = 0; // weight and attribute bits as the font dialogue gives them

    bool operator==(const ReportFont&) const = default;
};

ReportFont readReportFont(const IniFile& file, const QString& reportKey);
void writeReportFont(IniFile& file, const QString& reportKey, const ReportFont& font);

// Section "Global Settings": "Version" is the program version that ran last (blank on a first start).
QString lastRunVersion(const IniFile& file);
// Reads the version that ran last, then records `currentVersion` in its place; returns the former.
QString recordRunVersion(IniFile& file, const QString& currentVersion);
// "FrameLogo" of "Global Settings"; never written by the program.
QString frameLogo(const IniFile& file);
// The tool-bar picture: the first non-blank of "MainLogo" and "Logo" (section "Settings") and "FrameLogo";
// blank when all are blank, which keeps the built-in picture.
QString toolBarPictureFile(const IniFile& file);

} // namespace srk
