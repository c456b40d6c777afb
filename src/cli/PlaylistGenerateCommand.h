#pragma once

#include <QString>
#include <QStringList>

// sonorika-cli playlist-generate: a generated playlist without a display. Returns the exit code.
int commandPlaylistGenerate(const QString& folder, const QStringList& args);
