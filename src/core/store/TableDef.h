#pragma once

#include "store/FieldKind.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace srk {

struct FieldDef {
    QString name;     // without prefix: "Artist"
    FieldKind kind;
    int width;        // characters for text and memo; 0 for numbers
    QString picture;  // display picture, may be empty
};

struct KeyDef {
    QString name;             // without prefix: "SongsByArtist"
    QVector<int> components;  // field indexes, in comparison order
    bool unique = false;
    bool primary = false;
    // Most keys leave out records whose key fields are all empty; a few keep every record.
    bool keepsEmpty = false;
};

// Declaration of one table: its label, field prefix, file, layout version, fields (memos last) and keys.
struct TableDef {
    QString label;     // "Sonorika"
    QString prefix;    // "SON"
    QString diskName;  // "srkdata"
    int version = 1;
    QVector<FieldDef> fields;  // declared fields then memos
    int memoCount = 0;
    QVector<KeyDef> keys;
    // A second view of another table's file (A_Songs over the song file) names that table here: the
    // file records its owner's label and prefix. Empty for a table with a file of its own.
    QString fileOwnerLabel = {};
    QString fileOwnerPrefix = {};

    QString fileLabel() const { return fileOwnerLabel.isEmpty() ? label : fileOwnerLabel; }
    QString filePrefix() const { return fileOwnerPrefix.isEmpty() ? prefix : fileOwnerPrefix; }
    int fieldCount() const { return int(fields.size()); }
    int plainFieldCount() const { return fieldCount() - memoCount; }
    // "SON:Artist" or "Artist" -> index, -1 when unknown. Case-insensitive.
    int fieldIndex(const QString& name) const;
    // "SON:SongsByArtist" or "SongsByArtist" -> index, -1 when unknown. Case-insensitive.
    int keyIndex(const QString& name) const;
    QString qualifiedFieldName(int field) const { return prefix + QLatin1Char(':') + fields[field].name; }
    QString qualifiedKeyName(int key) const { return prefix + QLatin1Char(':') + keys[key].name; }
    int primaryKey() const;
    // Sum of the fixed field widths in bytes (memos not counted).
    int recordBytes() const;
};

}  // namespace srk
