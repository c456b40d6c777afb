#include "catalog/Tables.h"
#include "songs/AddMode.h"

#include <gtest/gtest.h>

using namespace srk;

namespace {

Record songWith(int field, const QString& text) {
    Record r(songsTable());
    if (field >= 0)
        r.setText(field, text);
    return r;
}

TEST(AddMode, BlankSongGoesByTheFirstLetterOfThePreference) {
    const Record blank = songWith(-1, QString());
    struct Case {
        const char* preference;
        AddModeDecision expected;
    };
    const Case cases[] = {
        {"Compilation", AddModeDecision::Compilation},   {"Single Artist", AddModeDecision::SingleArtist},
        {"Ask Each Time", AddModeDecision::Ask},         {"Normal", AddModeDecision::Form},
        {"1", AddModeDecision::Form},                    {"", AddModeDecision::Form},
        {"compilation", AddModeDecision::Compilation},   {"s", AddModeDecision::SingleArtist},
        {"  Ask", AddModeDecision::Ask},
    };
    for (const Case& c : cases)
        EXPECT_EQ(decideAddMode(QString::fromLatin1(c.preference), blank), c.expected) << c.preference;
}

TEST(AddMode, ASongWithTitleArtistFileNumberOrAlbumUsesTheForm) {
    for (int field : {SON::Title, SON::Artist, SON::FileNumber, SON::Album}) {
        const Record song = songWith(field, QStringLiteral("x"));
        EXPECT_FALSE(isBlankSong(song)) << field;
        for (const char* pref : {"Compilation", "Single Artist", "Ask Each Time"})
            EXPECT_EQ(decideAddMode(QString::fromLatin1(pref), song), AddModeDecision::Form) << field << pref;
    }
    // Other fields (a media or category pre-set by the browse) leave the song blank.
    Record preset(songsTable());
    preset.setText(SON::Media, QStringLiteral("LP"));
    preset.setNumber(SON::CategoryID, 4);
    preset.setText(SON::Title, QStringLiteral("   "));
    EXPECT_TRUE(isBlankSong(preset));
    EXPECT_EQ(decideAddMode(QStringLiteral("Compilation"), preset), AddModeDecision::Compilation);
}

TEST(AddMode, TheAnswerOfSelectAddTypeGoesByItsFirstLetter) {
    EXPECT_EQ(addModeFromChoice(QStringLiteral("Compilation")), AddModeDecision::Compilation);
    EXPECT_EQ(addModeFromChoice(QStringLiteral("Single Artist")), AddModeDecision::SingleArtist);
    EXPECT_EQ(addModeFromChoice(QStringLiteral("Normal")), AddModeDecision::Form);
    // An answer never asks again.
    EXPECT_EQ(addModeFromChoice(QStringLiteral("Ask Each Time")), AddModeDecision::Form);
    EXPECT_EQ(addModeFromChoice(QString()), AddModeDecision::Form);
}

} // namespace
