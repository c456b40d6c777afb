#include "settings/ListFormatMemory.h"
#include "core/settings/IniTestFiles.h"
#include "settings/IniFile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace srk;
using namespace Qt::StringLiterals;

namespace {
const QString designA = u"60L(2)|M~Artist~@s40@#1#60L(2)|M~Title~@s40@#2#"_s;
const QString designB = u"60L(2)|M~Artist~@s40@#1#80L(2)|M~Album~@s40@#3#"_s;
const QString userA = u"90L(2)|M~Artist~@s40@#1#40L(2)|M~Title~@s40@#2#"_s;
const QString list = u"?Browse:1"_s;
const QString window = u"BrowseAlbums"_s;
} // namespace

TEST(ListFormat, FirstOpeningRecordsTheDesignAndUsesIt) {
    TempFolder temp;
    const QString path = temp.file(u"POSITION.INI"_s);
    IniFile positions(path);
    EXPECT_EQ(restoreListFormat(positions, window, list, designA), designA);
    ASSERT_TRUE(positions.save());
    EXPECT_EQ(readRaw(path), (u"[BrowseAlbums]\nSRCFOriginal?Browse:1="_s + designA + u'\n').toUtf8());
}

TEST(ListFormat, UserColumnsComeBackWhileTheDesignIsUnchanged) {
    TempFolder temp;
    const QString path = temp.file(u"POSITION.INI"_s);
    {
        IniFile positions(path);
        restoreListFormat(positions, window, list, designA);
        saveListFormat(positions, window, list, userA);
        ASSERT_TRUE(positions.save());
    }
    EXPECT_TRUE(readRaw(path).contains(("\nSRCF?Browse:1=" + userA.toUtf8() + "\n")));
    IniFile positions(path);
    EXPECT_EQ(restoreListFormat(positions, window, list, designA), userA);
    EXPECT_FALSE(positions.isDirty());
    // Another list of the same window has its own keys.
    EXPECT_EQ(restoreListFormat(positions, window, u"?Browse:2"_s, designB), designB);
}

TEST(ListFormat, ChangedDesignDropsTheUserColumnsOnce) {
    TempFolder temp;
    IniFile positions(temp.file(u"POSITION.INI"_s));
    restoreListFormat(positions, window, list, designA);
    saveListFormat(positions, window, list, userA);

    // A new program version designs the list differently.
    EXPECT_EQ(restoreListFormat(positions, window, list, designB), designB);
    EXPECT_EQ(positions.readString(window, u"SRCFOriginal"_s + list), designB);
    const QString userB = designB + u"x"_s;
    saveListFormat(positions, window, list, userB);

    // From then on the user's columns are kept again.
    EXPECT_EQ(restoreListFormat(positions, window, list, designB), userB);
}

TEST(ListFormat, BlankSavedFormatKeepsTheDesignAndBlanksDoNotCountAsChange) {
    TempFolder temp;
    IniFile positions(temp.file(u"POSITION.INI"_s));
    positions.writeString(window, u"SRCFOriginal"_s + list, designA);
    positions.writeString(window, u"SRCF"_s + list, u"   "_s);
    EXPECT_EQ(restoreListFormat(positions, window, list, designA), designA);

    // The file drops surrounding blanks, so a design ending in one must still match what was stored.
    positions.writeString(window, u"SRCF"_s + list, userA);
    EXPECT_EQ(restoreListFormat(positions, window, list, designA + u"  "_s), userA);
}
