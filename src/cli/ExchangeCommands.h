#pragma once

#include <QString>
#include <QStringList>

// The import and export commands of sonorika-cli. Each returns the process's exit code.
int commandImport(const QString& folder, const QStringList& args);
int commandExport(const QString& folder, const QStringList& args);
