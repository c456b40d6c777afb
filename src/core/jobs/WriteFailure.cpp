#include "jobs/WriteFailure.h"

#include <QDir>
#include <QFileInfo>

#include <sqlite3.h>

namespace srk {

namespace {

// A frame takes the write locks of every open file at once, so a busy frame does not say whose lock it
// met: ask each file of the folder in turn, without waiting.
QString lockedFileIn(const QString& folder) {
    const QStringList files = QDir(folder).entryList({QStringLiteral("*.sdb")}, QDir::Files, QDir::Name);
    for (const QString& name : files) {
        const QString path = QDir(folder).filePath(name);
        sqlite3* db = nullptr;
        bool locked = false;
        if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
            const int rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
            locked = (rc & 0xFF) == SQLITE_BUSY || (rc & 0xFF) == SQLITE_LOCKED;
            if (rc == SQLITE_OK)
                sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        }
        sqlite3_close(db);
        if (locked)
            return path;
    }
    return QString();
}

}  // namespace

QString writeFailureText(const StoreError& error, const QString& folder, const QString& fallbackFile) {
    const QString engine = error.displayText();
    QString file = error.fileName;
    if (file.isEmpty() && error.code == FileLocked) {
        file = lockedFileIn(folder);
        if (file.isEmpty())
            return QStringLiteral("%1: another program is writing to the catalogue and holds its lock (%2)")
                .arg(QDir::toNativeSeparators(folder), engine);
    }
    if (file.isEmpty())
        file = !fallbackFile.isEmpty() ? fallbackFile : folder;
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
