#include "settings/ListFormatMemory.h"

#include "settings/IniFile.h"

namespace srk {

namespace {
QString userKey(const QString& listName) {
    return QStringLiteral("SRCF") + listName;
}
QString originalKey(const QString& listName) {
    return QStringLiteral("SRCFOriginal") + listName;
}
} // namespace

QString restoreListFormat(IniFile& positions, const QString& procedureName, const QString& listName,
                          const QString& currentFormat) {
    const QString original = positions.readString(procedureName, originalKey(listName));
    if (original.trimmed() != currentFormat.trimmed()) {
        positions.writeString(procedureName, originalKey(listName), currentFormat);
        return currentFormat;
    }
    const QString saved = positions.readString(procedureName, userKey(listName), currentFormat);
    return saved.trimmed().isEmpty() ? currentFormat : saved;
}

void saveListFormat(IniFile& positions, const QString& procedureName, const QString& listName,
                    const QString& format) {
    positions.writeString(procedureName, userKey(listName), format);
}

} // namespace srk
