#include "settings/Preferences.h"
#include "core/settings/IniTestFiles.h"
#include "settings/IniFile.h"
#include "settings/ListFormatMemory.h"
#include "settings/WindowPlacement.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace srk;
using namespace Qt::StringLiterals;

TEST(Preferences, NoSettingsFilesAtAll) {
    TempFolder temp;
    IniFile prefsFile(temp.file(u"SRKRO97.INI"_s));
    IniFile positions(temp.file(u"POSITION.INI"_s));

    const Preferences prefs = Preferences::load(prefsFile);
    EXPECT_EQ(prefs, Preferences{});
    EXPECT_EQ(prefs.SU_Albums + prefs.SU_Songs + prefs.SU_Playlists + prefs.SU_Labels, 0);
    EXPECT_EQ(prefs.SaveLastTab, 1);
    EXPECT_EQ(prefs.Interface, u"Standard"_s);
    EXPECT_EQ(prefs.DateFormat, QString());
    EXPECT_EQ(prefs.UDKPrompt, u"Custom"_s);
    EXPECT_EQ(prefs.NotesLabel, u"Notes"_s);
    EXPECT_EQ(prefs.AddMode, u"1"_s);
    EXPECT_EQ(prefs.AutoAddToAlbums, u"1"_s);
    EXPECT_EQ(prefs.LabelArtistTitleOrder, u"1"_s);
    EXPECT_EQ(prefs.Delimiter, u"."_s);
    EXPECT_EQ(prefs.Logo, QString());
    EXPECT_EQ(prefs.CDTimer, 150);
    EXPECT_EQ(prefs.SetupWizardComplete, 0); // so the setup wizard runs

    EXPECT_EQ(restorePlacement(positions, u"Main"_s, true), PlacementDecision{});
    EXPECT_EQ(restoreListFormat(positions, u"BrowseSongs"_s, u"?Browse"_s, u"designed"_s), u"designed"_s);
    EXPECT_EQ(toolBarPictureFile(prefsFile), QString());
    EXPECT_EQ(lastRunVersion(prefsFile), QString());
}

TEST(Preferences, RoundTripUnderTheFilesOwnKeyNames) {
    TempFolder temp;
    const QString path = temp.file(u"SRKRO97.INI"_s);
    Preferences prefs;
    prefs.SU_Albums = 1;
    prefs.SU_Labels = 1;
    prefs.SaveLastTab = 0;
    prefs.Interface = u"Explorer"_s;
    prefs.DateFormat = u"n4b"_s;
    prefs.UDKPrompt = u"Catalogue #"_s;
    prefs.NotesLabel = u"Plays"_s;
    prefs.AddMode = u"Ask Each Time"_s;
    prefs.AutoAddToAlbums = QString();
    prefs.DefaultWizardCompilation = 1;
    prefs.LabelArtistTitleOrder = u"Title - Artist"_s;
    prefs.Delimiter = u"="_s; // the one character that could confuse a key=value file
    prefs.AltCasFmt = 1;
    prefs.Logo = u"/home/me/logo; final.png"_s;
    prefs.CDTimer = 0;
    prefs.CDDevice = u"/home/me/rips/Disc One.cue"_s;
    prefs.SetupWizardComplete = 1;
    {
        IniFile file(path);
        prefs.save(file);
        ASSERT_TRUE(file.save());
    }
    const QByteArray raw = readRaw(path);
    EXPECT_TRUE(raw.contains("\nGLO:Delimiter==\n"));
    EXPECT_TRUE(raw.contains("\nAddMode=Ask Each Time\n"));
    EXPECT_TRUE(raw.contains("\nCDDevice=/home/me/rips/Disc One.cue\n"));
    EXPECT_TRUE(raw.startsWith("[Settings]\nSU_Albums=1\n"));

    IniFile file(path);
    EXPECT_EQ(file.keys(SettingsSection), Preferences::allKeys());
    EXPECT_EQ(Preferences::load(file), prefs);
}

TEST(Preferences, PresentButNonNumericFlagsReadAsZeroNotAsTheirDefault) {
    TempFolder temp;
    const QString path = temp.file(u"SRKRO97.INI"_s);
    writeRaw(path, "[Settings]\nSaveLastTab=yes\nCDTimer=\nSU_Songs=1\n");
    const Preferences prefs = Preferences::load(IniFile(path));
    EXPECT_EQ(prefs.SaveLastTab, 0);
    EXPECT_EQ(prefs.CDTimer, 0);
    EXPECT_EQ(prefs.SU_Songs, 1);
}

TEST(Preferences, TextsAreCutToTheirWidthsWithoutSplittingACharacter) {
    TempFolder temp;
    const QString path = temp.file(u"SRKRO97.INI"_s);
    IniFile file(path);
    const QString note = u"\U0001D11E"_s; // one character, two UTF-16 units
    file.writeString(SettingsSection, u"UDKPrompt"_s, QString(23, u'u') + note + u"tail"_s);
    file.writeString(SettingsSection, u"NotesLabel"_s, QString(30, u'n'));
    file.writeString(SettingsSection, u"GLO:Delimiter"_s, note + u"-"_s);
    file.writeString(SettingsSection, u"Logo"_s, QString(300, u'l'));
    file.writeString(SettingsSection, u"Interface"_s, u"Explorer"_s);
    const Preferences prefs = Preferences::load(file);
    EXPECT_EQ(prefs.UDKPrompt, QString(23, u'u') + note);
    EXPECT_EQ(prefs.NotesLabel, QString(20, u'n'));
    EXPECT_EQ(prefs.Delimiter, note);
    EXPECT_EQ(prefs.Logo.size(), 255);
    EXPECT_EQ(prefs.Interface, u"Explorer"_s);
}

TEST(Preferences, KeysOfOtherOwnersAreNeitherWrittenNorDisturbed) {
    TempFolder temp;
    const QString path = temp.file(u"SRKRO97.INI"_s);
    writeRaw(path, "[Settings]\nSongTab=3\nAlbumTab=2\nMainLogo=frame.bmp\nInterface=Explorer\n");
    IniFile file(path);
    Preferences prefs = Preferences::load(file);
    prefs.Interface = u"Standard"_s;
    prefs.save(file);
    EXPECT_EQ(file.readInt(SettingsSection, u"SongTab"_s), 3);
    EXPECT_EQ(file.readInt(SettingsSection, u"AlbumTab"_s), 2);
    EXPECT_EQ(file.readString(SettingsSection, u"MainLogo"_s), u"frame.bmp"_s);
    EXPECT_EQ(file.readString(SettingsSection, u"Interface"_s), u"Standard"_s);
    EXPECT_EQ(file.keys(SettingsSection).size(),
              3 + Preferences::allKeys().size()); // Interface was there already
}

TEST(Preferences, SavingChosenKeysWritesOnlyThose) {
    TempFolder temp;
    IniFile file(temp.file(u"SRKRO97.INI"_s));
    Preferences prefs;
    prefs.CDTimer = 500;
    prefs.SetupWizardComplete = 1;

    const QStringList setup = Preferences::setupKeys();
    EXPECT_EQ(setup.size(), 15);
    for (const QString& key : setup)
        EXPECT_TRUE(Preferences::allKeys().contains(key)) << key.toStdString();

    prefs.save(file, setup);
    EXPECT_EQ(file.keys(SettingsSection), setup);
    EXPECT_FALSE(file.contains(SettingsSection, u"CDTimer"_s));
    EXPECT_FALSE(file.contains(SettingsSection, u"DateFormat"_s));
    EXPECT_FALSE(file.contains(SettingsSection, u"SetupWizardComplete"_s));

    prefs.save(file, {u"cdtimer"_s, u"NoSuchKey"_s});
    EXPECT_EQ(file.readInt(SettingsSection, u"CDTimer"_s), 500);
    EXPECT_EQ(file.keys(SettingsSection).size(), 16);
}

TEST(PreferencesFonts, ReportFontUsesKeysNamedAfterTheReport) {
    TempFolder temp;
    const QString path = temp.file(u"SRKRO97.INI"_s);
    IniFile file(path);
    EXPECT_EQ(readReportFont(file, u"PrintByCategory"_s), ReportFont{});

    const ReportFont font{u"Liberation Sans"_s, 12, 0x0000FF, 700};
    writeReportFont(file, u"PrintSON:SongsByArtist"_s, font);
    ASSERT_TRUE(file.save());
    const QByteArray raw = readRaw(path);
    EXPECT_TRUE(raw.contains("[Fonts]\nFontNamePrintSON:SongsByArtist=Liberation Sans\n"
                             "FontSizePrintSON:SongsByArtist=12\nFontColorPrintSON:SongsByArtist=255\n"
                             "FontStylePrintSON:SongsByArtist=700\n"));
    const IniFile again(path);
    EXPECT_EQ(readReportFont(again, u"PrintSON:SongsByArtist"_s), font);
    EXPECT_EQ(readReportFont(again, u"BriefSON:SongsByArtist"_s), ReportFont{});
}

TEST(PreferencesGlobal, VersionIsReadThenReplacedAtEveryStart) {
    TempFolder temp;
    const QString path = temp.file(u"SRKRO97.INI"_s);
    {
        IniFile file(path);
        EXPECT_EQ(recordRunVersion(file, u"1.8d"_s), QString());
        ASSERT_TRUE(file.save());
    }
    IniFile file(path);
    EXPECT_EQ(lastRunVersion(file), u"1.8d"_s);
    EXPECT_EQ(recordRunVersion(file, u"1.9"_s), u"1.8d"_s);
    EXPECT_EQ(lastRunVersion(file), u"1.9"_s);
    EXPECT_TRUE(readRaw(path).contains("[Global Settings]\nVersion=1.8d\n"));
}

TEST(PreferencesGlobal, ToolBarPictureIsTheFirstNonBlankOfThreeKeys) {
    TempFolder temp;
    const QString path = temp.file(u"SRKRO97.INI"_s);
    writeRaw(path, "[Settings]\nMainLogo=  \nLogo=company.png\n[Global Settings]\nFrameLogo=frame.png\n");
    IniFile file(path);
    EXPECT_EQ(frameLogo(file), u"frame.png"_s);
    EXPECT_EQ(toolBarPictureFile(file), u"company.png"_s);
    file.writeString(SettingsSection, u"MainLogo"_s, u"main.png"_s);
    EXPECT_EQ(toolBarPictureFile(file), u"main.png"_s);
    file.removeKey(SettingsSection, u"MainLogo"_s);
    file.writeString(SettingsSection, u"Logo"_s, QString());
    EXPECT_EQ(toolBarPictureFile(file), u"frame.png"_s);
}
