#include "jobs/WriteFailure.h"

#include <QDir>
#include <QFileInfo>

#include <sqlite3.h>

namespace srk {

QString writeFailureText(const StoreError& error, const QString& folder, const QString& fallbackFile) {
    const QString engine = error.displayText();
    // A frame locks every file of the folder at once: a busy lock names no single file.
    if (error.code == FileLocked && error.fileName.isEmpty())
        return QStringLiteral("%1: another program is writing to the catalogue and holds its lock (%2)")
            .arg(QDir::toNativeSeparators(folder), engine);
    const QString file = !error.fileName.isEmpty() ? error.fileName : !fallbackFile.isEmpty() ? fallbackFile : folder;
    QString cause;
    const QFileInfo info(file);
    const QFileInfo dir(info.isDir() ? file : info.absolutePath());
    if (error.code == FileLocked)
        cause = QStringLiteral("another program is writing to it and holds its lock (%1)").arg(engine);
    else if (info.isFile() && !info.isWritable())
        cause = QStringLiteral("the file is read-only (%1)").arg(engine);
    else if (dir.isDir() && !dir.isWritable())
        cause = QStringLiteral("the folder %1 is read-only, so no journal can be made for the change (%2)")
                    .arg(QDir::toNativeSeparators(dir.absoluteFilePath()), engine);
    else if ((error.driverCode & 0xFF) == SQLITE_READONLY)
        cause = QStringLiteral("the file cannot be written (%1)").arg(engine);
    else
        cause = engine;
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(file), cause);
}

}  // namespace srk
