#include "playlists/PlaylistWeighting.h"

namespace srk {

QStringList playlistWeightingTexts() {
    return {QStringLiteral("No Weighting"), QStringLiteral("Recent Addition"), QStringLiteral("Recent Release"),
            QStringLiteral("Older Addition"), QStringLiteral("Older Release")};
}

QString playlistWeightingText(PlaylistWeighting weighting) {
    return playlistWeightingTexts().value(int(weighting));
}

std::optional<PlaylistWeighting> playlistWeightingFromText(const QString& text) {
    const QStringList texts = playlistWeightingTexts();
    for (int i = 0; i < texts.size(); ++i)
        if (texts[i].compare(text.trimmed(), Qt::CaseInsensitive) == 0)
            return PlaylistWeighting(i);
    return std::nullopt;
}

}  // namespace srk
