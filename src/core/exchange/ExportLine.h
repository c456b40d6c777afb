#pragma once

#include "exchange/ExportSetup.h"
#include "store/Record.h"
#include "text/Picture.h"

#include <QString>
#include <QVariant>
#include <QVector>

namespace srk {

// Appends one value to an export line by its picture's type letter: text in double quotes with
// trailing blanks dropped and quotes doubled; a number plain; anything else formatted through the
// picture, in double quotes.
void appendExportField(QString& line, bool first, const QVariant& value, const QString& picture);

// Builds the lines of an export; the columns are looked up once, not for every song.
class ExportLineBuilder {
public:
    explicit ExportLineBuilder(const QVector<ExportColumn>& columns);

    // The names as text fields; a name holding "[" has "," and "[" made "_" and "]" a blank.
    QString headerLine() const;
    // A song's line; columns that name no export field are skipped.
    QString songLine(const Record& song, const QString& categoryName) const;
    // The same into a line kept from song to song.
    void songLine(const Record& song, const QString& categoryName, QString& line) const;
    // Whether any column wants the category's name (the run then looks it up).
    bool needsCategoryName() const { return m_needsCategory; }

private:
    enum Kind : char { TextKind, NumberKind, FormattedKind };
    struct Column {
        QString name;
        int songField = -1;  // -1: the category's name
        Kind kind = TextKind;
        Picture picture;
        bool skipped = false;
    };
    QVector<Column> m_columns;
    bool m_needsCategory = false;
};

}  // namespace srk
