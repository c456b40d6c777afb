#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace srk {

// Verifies every file of a data folder without changing anything: the anchor file that ties commits
// over several files together, each table file (the engine's own integrity check, which also compares
// each key with the records, and our layout and keys), then the links between the tables: songs
// pointing at missing albums, playlist lines pointing at missing songs or playlists.
struct TableCheck {
    QString label;
    QString fileName;
    qint64 records = 0;
    int version = 0;
    QStringList problems;  // empty when the file is sound
};

// The first entry is the anchor file ("Store"), then one per table.
QVector<TableCheck> checkCatalog(const QString& dataFolder);

}  // namespace srk
