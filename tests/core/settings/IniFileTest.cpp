#include "settings/IniFile.h"
#include "core/settings/IniTestFiles.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace srk;
using namespace Qt::StringLiterals;

// --- writing and rewriting ---------------------------------------------------------------------------------

TEST(IniRoundTrip, KeyNamesStandInTheFileExactlyAsWritten) {
    TempFolder temp;
    const QString path = temp.file(u"POSITION.INI"_s);
    IniFile ini(path);
    EXPECT_TRUE(ini.writeString(u"BrowseAlbums"_s, u"SRCF?Browse:1"_s, u"80L(2)|M~Album~@s40@"_s));
    EXPECT_TRUE(ini.writeString(u"Settings"_s, u"GLO:Delimiter"_s, u"."_s));
    EXPECT_TRUE(ini.writeInt(u"Main"_s, u"XPosit"_s, -12));
    ASSERT_TRUE(ini.save()) << ini.errorString().toStdString();

    EXPECT_EQ(readRaw(path), QByteArray("[BrowseAlbums]\nSRCF?Browse:1=80L(2)|M~Album~@s40@\n\n"
                                        "[Settings]\nGLO:Delimiter=.\n\n"
                                        "[Main]\nXPosit=-12\n"));
    IniFile again(path);
    EXPECT_EQ(again.readString(u"BrowseAlbums"_s, u"SRCF?Browse:1"_s), u"80L(2)|M~Album~@s40@"_s);
    EXPECT_EQ(again.readString(u"Settings"_s, u"GLO:Delimiter"_s), u"."_s);
    EXPECT_EQ(again.readInt(u"Main"_s, u"XPosit"_s), -12);
}

TEST(IniRoundTrip, LookUpIgnoresCaseAndWritingKeepsTheFirstSpelling) {
    TempFolder temp;
    const QString path = temp.file(u"a.ini"_s);
    writeRaw(path, "[Settings]\nUDKPrompt=Custom\n");
    IniFile ini(path);
    EXPECT_EQ(ini.readString(u"SETTINGS"_s, u"udkprompt"_s), u"Custom"_s);
    EXPECT_TRUE(ini.writeString(u"settings"_s, u"UDKPROMPT"_s, u"Catalogue No."_s));
    EXPECT_TRUE(ini.writeString(u"settings"_s, u"NotesLabel"_s, u"Remarks"_s));
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(readRaw(path), QByteArray("[Settings]\nUDKPrompt=Catalogue No.\nNotesLabel=Remarks\n"));
    EXPECT_EQ(ini.sections(), QStringList{u"Settings"_s});
}

TEST(IniRoundTrip, RewriteKeepsCommentsUnknownLinesAndLayout) {
    TempFolder temp;
    const QString path = temp.file(u"a.ini"_s);
    const QByteArray before = "; written by hand\n"
                              "[Main]\n"
                              "  XPosit = 10  \n"
                              "this line has no equals sign\n"
                              "; Width=999\n"
                              "YPosit=20\n"
                              "\n"
                              "[Other]\n"
                              "Key=Value\n";
    writeRaw(path, before);
    IniFile ini(path);
    EXPECT_EQ(ini.readInt(u"Main"_s, u"Width"_s, -1), -1); // the commented-out key is not read
    EXPECT_TRUE(ini.writeInt(u"Main"_s, u"YPosit"_s, 21));
    EXPECT_TRUE(ini.writeInt(u"Main"_s, u"Height"_s, 300));
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(readRaw(path), QByteArray("; written by hand\n"
                                        "[Main]\n"
                                        "  XPosit = 10  \n"
                                        "this line has no equals sign\n"
                                        "; Width=999\n"
                                        "YPosit=21\n"
                                        "Height=300\n"
                                        "\n"
                                        "[Other]\n"
                                        "Key=Value\n"));
}

TEST(IniRoundTrip, WritingTheSameValueChangesNothing) {
    TempFolder temp;
    const QString path = temp.file(u"a.ini"_s);
    writeRaw(path, "[Main]\nXPosit=10\nMaximize=No\n");
    IniFile ini(path);
    EXPECT_TRUE(ini.writeInt(u"Main"_s, u"XPosit"_s, 10));
    EXPECT_TRUE(ini.writeString(u"main"_s, u"maximize"_s, u" No "_s));
    EXPECT_FALSE(ini.isDirty());
    // A clean file is not written at all: removing it shows whether save() touched the disk.
    QFile::remove(path);
    EXPECT_TRUE(ini.save());
    EXPECT_FALSE(QFileInfo::exists(path));

    EXPECT_TRUE(ini.writeInt(u"Main"_s, u"XPosit"_s, 11));
    EXPECT_TRUE(ini.isDirty());
    EXPECT_TRUE(ini.save());
    EXPECT_FALSE(ini.isDirty());
    EXPECT_TRUE(QFileInfo::exists(path));
}

TEST(IniRoundTrip, RemoveKeyTakesEveryCopySoNoShadowedDuplicateResurfaces) {
    TempFolder temp;
    const QString path = temp.file(u"a.ini"_s);
    writeRaw(path, "[Main]\nXPosit=1\nYPosit=2\nxposit=3\n[main]\nXPOSIT=4\n");
    IniFile ini(path);
    EXPECT_TRUE(ini.removeKey(u"MAIN"_s, u"XPosit"_s));
    EXPECT_FALSE(ini.contains(u"Main"_s, u"XPosit"_s));
    EXPECT_EQ(ini.readInt(u"Main"_s, u"XPosit"_s, 77), 77);
    EXPECT_EQ(ini.readInt(u"Main"_s, u"YPosit"_s), 2);
    EXPECT_FALSE(ini.removeKey(u"Main"_s, u"XPosit"_s));
    EXPECT_FALSE(ini.removeKey(u"Nowhere"_s, u"YPosit"_s));
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(readRaw(path), QByteArray("[Main]\nYPosit=2\n[main]\n"));
}

TEST(IniRoundTrip, AutoSavePutsEachWriteOnDiskAtOnce) {
    TempFolder temp;
    const QString path = temp.file(u"sub/folder/SRKRO97.INI"_s);
    IniFile ini(path);
    ini.setAutoSave(true);
    EXPECT_TRUE(ini.writeString(u"Settings"_s, u"Logo"_s, u"/pictures/logo.png"_s));
    EXPECT_FALSE(ini.isDirty());
    EXPECT_EQ(IniFile(path).readString(u"Settings"_s, u"Logo"_s), u"/pictures/logo.png"_s);
    EXPECT_TRUE(ini.removeKey(u"Settings"_s, u"Logo"_s));
    EXPECT_FALSE(IniFile(path).contains(u"Settings"_s, u"Logo"_s));
}

// --- reading -----------------------------------------------------------------------------------------------

TEST(IniRead, ValueIsEverythingAfterTheFirstEqualsSignWithoutSurroundingBlanks) {
    TempFolder temp;
    const QString path = temp.file(u"a.ini"_s);
    writeRaw(path, "[ Query ]\n  Filter  =  UPPER(SON:Media) = 'CD'  \nEmpty=\nGLO:Delimiter==\n=orphan\n");
    IniFile ini(path);
    EXPECT_EQ(ini.readString(u"Query"_s, u"Filter"_s), u"UPPER(SON:Media) = 'CD'"_s);
    EXPECT_EQ(ini.readString(u"Query"_s, u"Empty"_s, u"default"_s), QString());
    EXPECT_TRUE(ini.contains(u"Query"_s, u"Empty"_s));
    EXPECT_EQ(ini.readString(u"Query"_s, u"GLO:Delimiter"_s), u"="_s);
    EXPECT_EQ(ini.keys(u"query"_s), (QStringList{u"Filter"_s, u"Empty"_s, u"GLO:Delimiter"_s}));
}

TEST(IniRead, FirstOfDuplicateKeysAndSectionsWins) {
    TempFolder temp;
    const QString path = temp.file(u"a.ini"_s);
    writeRaw(path, "[Main]\nWidth=100\nWIDTH=200\n[Other]\nWidth=5\n[MAIN]\nWidth=300\nHeight=400\n");
    IniFile ini(path);
    EXPECT_EQ(ini.readInt(u"Main"_s, u"Width"_s), 100);
    EXPECT_EQ(ini.readInt(u"Main"_s, u"Height"_s), 400); // only in the second copy of the section
    EXPECT_EQ(ini.sections(), (QStringList{u"Main"_s, u"Other"_s}));
    EXPECT_EQ(ini.keys(u"Main"_s), (QStringList{u"Width"_s, u"Height"_s}));
    // The write changes the copy that is read, so it reads back.
    EXPECT_TRUE(ini.writeInt(u"Main"_s, u"Width"_s, 150));
    EXPECT_EQ(ini.readInt(u"Main"_s, u"Width"_s), 150);
}

TEST(IniRead, MissingFileSectionOrKeyGivesTheDefault) {
    TempFolder temp;
    IniFile ini(temp.file(u"none.ini"_s));
    EXPECT_TRUE(ini.errorString().isEmpty());
    EXPECT_EQ(ini.readString(u"Settings"_s, u"Interface"_s, u"Standard"_s), u"Standard"_s);
    EXPECT_EQ(ini.readInt(u"Settings"_s, u"CDTimer"_s, 150), 150);
    EXPECT_TRUE(ini.sections().isEmpty());
    EXPECT_TRUE(ini.keys(u"Settings"_s).isEmpty());
    EXPECT_FALSE(ini.hasSection(u"Settings"_s));
    EXPECT_TRUE(ini.save()); // nothing changed, nothing to write
    EXPECT_FALSE(QFileInfo::exists(temp.file(u"none.ini"_s)));
}

TEST(IniRead, EmptyFileAndFileWithoutFinalLineEnd) {
    TempFolder temp;
    const QString empty = temp.file(u"empty.ini"_s);
    writeRaw(empty, "");
    IniFile a(empty);
    EXPECT_TRUE(a.sections().isEmpty());
    EXPECT_TRUE(a.writeString(u"S"_s, u"K"_s, u"V"_s));
    ASSERT_TRUE(a.save());
    EXPECT_EQ(readRaw(empty), QByteArray("[S]\nK=V\n"));

    const QString open = temp.file(u"open.ini"_s);
    writeRaw(open, "[Main]\nXPosit=10\nYPosit=20");
    IniFile b(open);
    EXPECT_EQ(b.readInt(u"Main"_s, u"YPosit"_s), 20);
    EXPECT_TRUE(b.writeInt(u"Main"_s, u"Width"_s, 30));
    ASSERT_TRUE(b.save());
    EXPECT_EQ(readRaw(open), QByteArray("[Main]\nXPosit=10\nYPosit=20\nWidth=30\n"));
}

TEST(IniRead, CrlfFilesReadCleanAndKeepTheirLineEnds) {
    TempFolder temp;
    const QString path = temp.file(u"a.ini"_s);
    writeRaw(path, "[Settings]\r\nInterface=Explorer\r\nLogo=\r\n");
    IniFile ini(path);
    EXPECT_EQ(ini.readString(u"Settings"_s, u"Interface"_s), u"Explorer"_s);
    EXPECT_EQ(ini.readString(u"Settings"_s, u"Logo"_s, u"x"_s), QString());
    EXPECT_TRUE(ini.writeString(u"Settings"_s, u"Interface"_s, u"Standard"_s));
    EXPECT_TRUE(ini.writeString(u"Fonts"_s, u"FontSizePrintByCategory"_s, u"10"_s));
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(
        readRaw(path),
        QByteArray(
            "[Settings]\r\nInterface=Standard\r\nLogo=\r\n\r\n[Fonts]\r\nFontSizePrintByCategory=10\r\n"));
}

TEST(IniRead, EncodingsAndByteOrderMark) {
    TempFolder temp;
    const QString utf8 = temp.file(u"utf8.ini"_s);
    writeRaw(utf8, "\xEF\xBB\xBF[Settings]\nUDKPrompt=Bj\xC3\xB6rk\n");
    IniFile a(utf8);
    EXPECT_EQ(a.readString(u"Settings"_s, u"UDKPrompt"_s), u"Björk"_s);
    EXPECT_TRUE(a.writeString(u"Settings"_s, u"NotesLabel"_s, u"Ñotes"_s));
    ASSERT_TRUE(a.save());
    EXPECT_EQ(readRaw(utf8),
              QByteArray("\xEF\xBB\xBF[Settings]\nUDKPrompt=Bj\xC3\xB6rk\nNotesLabel=\xC3\x91otes\n"));

    // Files from the old platform are in a single-byte code page, not UTF-8.
    const QString latin = temp.file(u"latin.ini"_s);
    writeRaw(latin, "[Settings]\nLogo=C:\\Bilder\\Caf\xE9.bmp\n");
    IniFile b(latin);
    EXPECT_EQ(b.readString(u"Settings"_s, u"Logo"_s), u"C:\\Bilder\\Café.bmp"_s);
}

TEST(IniRead, OneStrayByteCostsOneLineAndTheRewriteIsUtf8) {
    TempFolder temp;
    const QString path = temp.file(u"SRKRO97.INI"_s);
    // UTF-8 throughout but for one line typed in the Windows code page (0x80 is the euro sign there).
    writeRaw(path, "[Settings]\r\n"
                   "UDKPrompt=Bj\xC3\xB6rk\r\n"
                   "NotesLabel=Caf\xE9 \x80 5\r\n"
                   "Logo=/home/s\xC3\xB8ren/logo.png\r\n");
    IniFile ini(path);
    EXPECT_EQ(ini.readString(u"Settings"_s, u"UDKPrompt"_s), u"Björk"_s);
    EXPECT_EQ(ini.readString(u"Settings"_s, u"NotesLabel"_s), u"Café € 5"_s);
    EXPECT_EQ(ini.readString(u"Settings"_s, u"Logo"_s), u"/home/søren/logo.png"_s);

    ASSERT_TRUE(ini.writeString(u"Settings"_s, u"AddMode"_s, u"Normal"_s));
    ASSERT_TRUE(ini.save()) << ini.errorString().toStdString();
    const QByteArray written = readRaw(path);
    EXPECT_EQ(written, QByteArray("[Settings]\r\n"
                                  "UDKPrompt=Bj\xC3\xB6rk\r\n"
                                  "NotesLabel=Caf\xC3\xA9 \xE2\x82\xAC 5\r\n"
                                  "Logo=/home/s\xC3\xB8ren/logo.png\r\n"
                                  "AddMode=Normal\r\n"));
    // Read again (and again), the letters stay what they were.
    IniFile again(path);
    EXPECT_EQ(again.readString(u"Settings"_s, u"UDKPrompt"_s), u"Björk"_s);
    EXPECT_EQ(again.readString(u"Settings"_s, u"NotesLabel"_s), u"Café € 5"_s);
    ASSERT_TRUE(again.writeString(u"Settings"_s, u"AddMode"_s, u"Compilation"_s));
    ASSERT_TRUE(again.save());
    EXPECT_EQ(IniFile(path).readString(u"Settings"_s, u"UDKPrompt"_s), u"Björk"_s);
}

TEST(IniRead, WindowsCodePageLinesReadByTheirCodePage) {
    TempFolder temp;
    const QString path = temp.file(u"POSITION.INI"_s);
    // Curly quotes, a dash and the five bytes the code page leaves undefined.
    writeRaw(path, "[Main]\nA=\x93quoted\x94 \x96 \x9A" "a\n"
                   "B=\x81\x8D\x8F\x90\x9D\n"
                   "C=\xC3\xA9\n");
    IniFile ini(path);
    EXPECT_EQ(ini.readString(u"Main"_s, u"A"_s), u"\u201Cquoted\u201D \u2013 \u0161a"_s);
    EXPECT_EQ(ini.readString(u"Main"_s, u"B"_s), u"\u0081\u008D\u008F\u0090\u009D"_s);
    EXPECT_EQ(ini.readString(u"Main"_s, u"C"_s), u"é"_s);
}

TEST(IniRead, NumbersMissingGiveTheDefaultAndNonNumbersGiveZero) {
    TempFolder temp;
    const QString path = temp.file(u"a.ini"_s);
    writeRaw(path, "[N]\nblank=\nword=abc\nmixed=12abc\nspaced= 42 \nneg=-7\nplus=+5\ndecimal=3.9\n"
                   "negdec=-3.9\nhuge=99999999999\nmin=-2147483648\nmax=2147483647\nover=2147483648\n"
                   "sign=-\ndot=.\nlead=.5\n");
    IniFile ini(path);
    EXPECT_EQ(ini.readInt(u"N"_s, u"missing"_s, 150), 150);
    EXPECT_EQ(ini.readInt(u"Nowhere"_s, u"blank"_s, 1), 1);
    EXPECT_EQ(ini.readInt(u"N"_s, u"blank"_s, 1), 0);
    EXPECT_EQ(ini.readInt(u"N"_s, u"word"_s, 1), 0);
    EXPECT_EQ(ini.readInt(u"N"_s, u"mixed"_s, 1), 0);
    EXPECT_EQ(ini.readInt(u"N"_s, u"spaced"_s), 42);
    EXPECT_EQ(ini.readInt(u"N"_s, u"neg"_s), -7);
    EXPECT_EQ(ini.readInt(u"N"_s, u"plus"_s), 5);
    EXPECT_EQ(ini.readInt(u"N"_s, u"decimal"_s), 3);
    EXPECT_EQ(ini.readInt(u"N"_s, u"negdec"_s), -3);
    EXPECT_EQ(ini.readInt(u"N"_s, u"huge"_s, 1), 0);
    EXPECT_EQ(ini.readInt(u"N"_s, u"min"_s), std::numeric_limits<int>::min());
    EXPECT_EQ(ini.readInt(u"N"_s, u"max"_s), std::numeric_limits<int>::max());
    EXPECT_EQ(ini.readInt(u"N"_s, u"over"_s, 1), 0);
    EXPECT_EQ(ini.readInt(u"N"_s, u"sign"_s, 1), 0);
    EXPECT_EQ(ini.readInt(u"N"_s, u"dot"_s, 1), 0);
    EXPECT_EQ(ini.readInt(u"N"_s, u"lead"_s, 1), 0);
}

// --- bad input ---------------------------------------------------------------------------------------------

TEST(IniRobustness, NamesTheFileCannotHoldAreRefused) {
    TempFolder temp;
    IniFile ini(temp.file(u"a.ini"_s));
    EXPECT_FALSE(ini.writeString(u"Main"_s, u""_s, u"v"_s));
    EXPECT_FALSE(ini.writeString(u"Main"_s, u"   "_s, u"v"_s));
    EXPECT_FALSE(ini.writeString(u"Main"_s, u"a=b"_s, u"v"_s));
    EXPECT_FALSE(ini.writeString(u"Main"_s, u"[Evil]"_s, u"v"_s));
    EXPECT_FALSE(ini.writeString(u"Main"_s, u";note"_s, u"v"_s));
    EXPECT_FALSE(ini.writeString(u"Main"_s, u"two\nlines"_s, u"v"_s));
    EXPECT_FALSE(ini.writeString(u""_s, u"Key"_s, u"v"_s));
    EXPECT_FALSE(ini.writeString(u"a]b"_s, u"Key"_s, u"v"_s));
    EXPECT_FALSE(ini.writeString(u"a\nb"_s, u"Key"_s, u"v"_s));
    EXPECT_FALSE(ini.isDirty());
    EXPECT_TRUE(ini.sections().isEmpty());
}

TEST(IniRobustness, ValueCannotBreakOutOfItsLine) {
    TempFolder temp;
    const QString path = temp.file(u"a.ini"_s);
    IniFile ini(path);
    EXPECT_TRUE(ini.writeString(u"Settings"_s, u"Logo"_s, u"x\r\n[Evil]\nKey=v\rend"_s));
    EXPECT_TRUE(ini.writeString(u"Settings"_s, u"After"_s, u"1"_s));
    ASSERT_TRUE(ini.save());
    IniFile again(path);
    EXPECT_EQ(again.sections(), QStringList{u"Settings"_s});
    EXPECT_EQ(again.readString(u"Settings"_s, u"Logo"_s), u"x [Evil] Key=v end"_s);
    EXPECT_EQ(again.readInt(u"Settings"_s, u"After"_s), 1);
}

TEST(IniRobustness, BinaryGarbageLoadsWithoutHarmAndStaysUsable) {
    TempFolder temp;
    QRandomGenerator random(20240611);
    const char alphabet[] = "[]=;\r\n\0 \xFF\xC3\xA9xyz";
    for (int round = 0; round < 50; ++round) {
        QByteArray garbage;
        const int size = int(random.bounded(1, 4000));
        for (int i = 0; i < size; ++i)
            garbage.append(round % 2 ? char(random.bounded(256))
                                     : alphabet[random.bounded(int(sizeof alphabet) - 1)]);
        const QString path = temp.file(u"garbage%1.ini"_s.arg(round));
        writeRaw(path, garbage);
        IniFile ini(path);
        for (const QString& section : ini.sections()) {
            for (const QString& key : ini.keys(section))
                (void)ini.readInt(section, key, 0);
        }
        ASSERT_TRUE(ini.writeString(u"Main"_s, u"XPosit"_s, u"123"_s));
        ASSERT_TRUE(ini.save()) << ini.errorString().toStdString();
        IniFile again(path);
        EXPECT_EQ(again.readInt(u"Main"_s, u"XPosit"_s), 123) << "round " << round;
    }
}

TEST(IniRobustness, VeryLongLinesRoundTrip) {
    TempFolder temp;
    const QString path = temp.file(u"a.ini"_s);
    const QString longValue = QString(500000, u'x') + u'=' + QString(500000, u'y');
    const QString longKey = u"SRCF"_s + QString(20000, u'k');
    IniFile ini(path);
    EXPECT_TRUE(ini.writeString(u"Main"_s, longKey, longValue));
    ASSERT_TRUE(ini.save());
    IniFile again(path);
    EXPECT_EQ(again.readString(u"Main"_s, longKey), longValue);
}

TEST(IniRobustness, UnreadableFileIsReportedAndNeverOverwritten) {
    TempFolder temp;
    const QString path = temp.file(u"folder.ini"_s);
    ASSERT_TRUE(QDir().mkpath(path));
    IniFile ini;
    EXPECT_FALSE(ini.load(path));
    EXPECT_FALSE(ini.errorString().isEmpty());
    EXPECT_EQ(ini.readInt(u"Main"_s, u"XPosit"_s, 5), 5);
    EXPECT_TRUE(ini.writeInt(u"Main"_s, u"XPosit"_s, 1));
    EXPECT_FALSE(ini.save());
    EXPECT_FALSE(ini.errorString().isEmpty());
    EXPECT_TRUE(QFileInfo(path).isDir());
}

TEST(IniRobustness, AFileTooLargeToBeSettingsIsRefusedWithAMessageAndLeftAlone) {
    TempFolder temp;
    const QString path = temp.file(u"SRKRO97.INI"_s);
    QByteArray big = "[Settings]\nUDKPrompt=Label\n";
    const QByteArray filler = "; " + QByteArray(200, 'x') + "\n";
    while (big.size() <= IniFile::kMaxFileSize)
        big += filler;
    writeRaw(path, big);

    IniFile ini;
    EXPECT_FALSE(ini.load(path));
    EXPECT_TRUE(ini.errorString().contains(u"too large"_s)) << ini.errorString().toStdString();
    EXPECT_TRUE(ini.errorString().contains(QDir::toNativeSeparators(path))) << ini.errorString().toStdString();
    // The program goes on with the defaults...
    EXPECT_EQ(ini.readString(u"Settings"_s, u"UDKPrompt"_s, u"Custom"_s), u"Custom"_s);
    EXPECT_TRUE(ini.sections().isEmpty());
    // ...and never writes its few settings over the user's file.
    EXPECT_TRUE(ini.writeString(u"Settings"_s, u"UDKPrompt"_s, u"Other"_s));
    EXPECT_FALSE(ini.save());
    EXPECT_EQ(readRaw(path), big);

    // A file just inside the limit is still a settings file.
    big.truncate(IniFile::kMaxFileSize);
    big.chop(big.size() - big.lastIndexOf('\n') - 1);
    writeRaw(path, big);
    IniFile within;
    EXPECT_TRUE(within.load(path)) << within.errorString().toStdString();
    EXPECT_EQ(within.readString(u"Settings"_s, u"UDKPrompt"_s), u"Label"_s);
}

TEST(IniRobustness, SaveFailureIsReportedNotThrown) {
    TempFolder temp;
    writeRaw(temp.file(u"plain"_s), "a file where a folder should be");
    IniFile ini(temp.file(u"plain/sub/a.ini"_s));
    EXPECT_TRUE(ini.writeInt(u"Main"_s, u"XPosit"_s, 1));
    EXPECT_FALSE(ini.save());
    EXPECT_FALSE(ini.errorString().isEmpty());
    EXPECT_TRUE(ini.isDirty());
    EXPECT_EQ(ini.readInt(u"Main"_s, u"XPosit"_s), 1); // the value stays in memory

    ini.setAutoSave(true);
    EXPECT_FALSE(ini.writeInt(u"Main"_s, u"YPosit"_s, 2));

    IniFile nameless;
    EXPECT_TRUE(nameless.writeInt(u"Main"_s, u"XPosit"_s, 1));
    EXPECT_FALSE(nameless.save());
    EXPECT_FALSE(nameless.errorString().isEmpty());
}
