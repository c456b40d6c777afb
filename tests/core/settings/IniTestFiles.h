#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Raw file access for the settings tests: what is on disk, byte for byte.
inline void writeRaw(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

inline QByteArray readRaw(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
