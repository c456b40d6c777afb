#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace srk {

// How the generator leans its draws: towards songs added or released lately, or long ago.
enum class PlaylistWeighting { None, RecentAddition, RecentRelease, OlderAddition, OlderRelease };

// The option texts in the order the window shows them; the chosen text is the weighting's value.
QStringList playlistWeightingTexts();
QString playlistWeightingText(PlaylistWeighting weighting);
// The weighting of an option text (letter case ignored); nothing for another text.
std::optional<PlaylistWeighting> playlistWeightingFromText(const QString& text);

}  // namespace srk
