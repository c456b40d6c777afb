#pragma once

#include <QString>

namespace srk {

class IniFile;

// Remembers a list's column format in the position file, in the section of the window's procedure, under
// "SRCF" + list name (the user's format) and "SRCFOriginal" + list name (the designed format it was based
// on), for example "SRCF?Browse:1".

// On opening: returns the format the list is to use. When the designed format `currentFormat` is not the one
// the saved format was based on, the saved one is dropped (the new design is recorded and used); otherwise a
// non-blank saved format wins. Formats are compared without surrounding blanks, which the file drops anyway.
QString restoreListFormat(IniFile& positions, const QString& procedureName, const QString& listName,
                          const QString& currentFormat);

// On closing: records the list's format as the user left it.
void saveListFormat(IniFile& positions, const QString& procedureName, const QString& listName,
                    const QString& format);

} // namespace srk
