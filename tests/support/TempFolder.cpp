#include "support/TempFolder.h"

#include <QDir>
#include <QTemporaryDir>

TempFolder::TempFolder() {
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/sonorika-test-XXXXXX"));
    dir.setAutoRemove(false);
    m_path = dir.path();
}

TempFolder::~TempFolder() { QDir(m_path).removeRecursively(); }

QString TempFolder::file(const QString& name) const { return m_path + QLatin1Char('/') + name; }
