#include "songs/AddMode.h"

#include "catalog/Tables.h"

namespace srk {

namespace {

QChar firstLetter(const QString& text) {
    const QString t = text.trimmed();
    return t.isEmpty() ? QChar() : t.at(0).toUpper();
}

} // namespace

bool isBlankSong(const Record& song) {
    for (int field : {SON::Title, SON::Artist, SON::FileNumber, SON::Album})
        if (!song.text(field).trimmed().isEmpty())
            return false;
    return true;
}

AddModeDecision decideAddMode(const QString& addModePreference, const Record& song) {
    const QChar letter = firstLetter(addModePreference);
    if (!isBlankSong(song))
        return AddModeDecision::Form;
    if (letter == u'C')
        return AddModeDecision::Compilation;
    if (letter == u'S')
        return AddModeDecision::SingleArtist;
    if (letter == u'A')
        return AddModeDecision::Ask;
    return AddModeDecision::Form;
}

AddModeDecision addModeFromChoice(const QString& choice) {
    const QChar letter = firstLetter(choice);
    if (letter == u'C')
        return AddModeDecision::Compilation;
    if (letter == u'S')
        return AddModeDecision::SingleArtist;
    return AddModeDecision::Form;
}

} // namespace srk
