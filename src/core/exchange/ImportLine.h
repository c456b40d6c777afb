#pragma once

#include "exchange/ImportMapping.h"
#include "exchange/ImportValue.h"
#include "store/Record.h"
#include "text/Picture.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVector>

namespace srk {

class CategoryMapper;

// Fills songs from lines of the file by one plan; the song should be cleared before each line. The
// plan's pictures are read once here rather than for every line. Returns NoError or the store's error
// when the category could not be found or made. Media "D", "C" and "B" are widened to the cassette names.
class ImportLineAssigner {
public:
    explicit ImportLineAssigner(const ImportPlan& plan);
    int assign(QStringView line, CategoryMapper& categories, Record& song);
    // The same in two halves, the first of which needs no store: the song filled but for its category,
    // whose texts are left in column order; then the category looked up (or made) from them.
    void fill(QStringView line, Record& song, QStringList& categories);
    static int setCategory(const QStringList& categories, CategoryMapper& mapper, Record& song);

private:
    struct Column {
        bool throughPicture = false;  // neither a text nor a number picture
        Picture picture;
        QVector<int> targets;
    };
    QVector<Column> m_columns;
    QString m_scratch;
};

// The same for a single line.
int assignImportLine(const QString& line, const ImportPlan& plan, CategoryMapper& categories, Record& song);

// Fields a line yields (none for a blank line).
bool lineHasFields(QStringView line);

}  // namespace srk
