#pragma once

#include "store/Record.h"

#include <QString>

namespace srk {

// What a call of the song form does before it shows: use the form, hand the new song to one of the
// add-album wizards, or first ask which (SelectAddType).
enum class AddModeDecision { Form, Compilation, SingleArtist, Ask };

// A song whose title, artist, file number and album are all blank: a fresh add.
bool isBlankSong(const Record& song);

// The "AddMode" preference read by its first letter ("C", "S", "A"; anything else is Normal). Only a
// blank song goes to a wizard or to the question; any other song is edited in the form.
AddModeDecision decideAddMode(const QString& addModePreference, const Record& song);

// The answer of SelectAddType ("Compilation", "Single Artist", "Normal") by its first letter.
AddModeDecision addModeFromChoice(const QString& choice);

} // namespace srk
