#pragma once

// The song fields a comma-delimited file can carry: the import's targets and the export's fields, each
// in its fixed order, and what the pictures of both say about a column.

#include <QString>
#include <QVector>

namespace srk {

// How an import target stores the text it receives.
enum class TargetStorage { Text, Number, Category };

struct ImportTarget {
    QString name;          // "SON:Artist"
    int field;             // index in the song table
    TargetStorage storage;
};

// The 22 import targets in their order.
const QVector<ImportTarget>& importTargets();
int importTargetIndex(const QString& name);

struct ExportField {
    QString name;     // "SON:Artist", "CAT:Category"
    QString picture;  // default picture
};

// The 23 export fields with their default pictures, in order.
const QVector<ExportField>& exportFields();
int exportFieldIndex(const QString& name);
// The category's name column our own export writes; the import maps the category target to it.
QString categoryNameColumn();

// The picture's type letter: 'S' text, 'N' number, anything else is read and written through the picture.
bool isTextPicture(const QString& picture);
bool isNumberPicture(const QString& picture);
// The import list's type column ("Alpha-num", "Numeric" or the picture) and the export's type display
// ("Alpha-numeric", "Numeric" or the picture).
QString importTypeText(const QString& picture);
QString exportTypeText(const QString& picture);

// A picture typed in "Enter Picture...": empty when it is accepted, else the refusal shown.
struct PictureRefusal {
    QString title;
    QString text;
};
bool pictureEntryAccepted(const QString& entry, PictureRefusal* refusal = nullptr);

}  // namespace srk
