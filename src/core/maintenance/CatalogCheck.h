#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace srk {

// Verifies every table file of a data folder without changing anything: the engine's own integrity
// check (which also compares each key with the records) and our layout and keys.
struct TableCheck {
    QString label;
    QString fileName;
    qint64 records = 0;
    int version = 0;
    QStringList problems;  // empty when the file is sound
};

QVector<TableCheck> checkCatalog(const QString& dataFolder);

}  // namespace srk
