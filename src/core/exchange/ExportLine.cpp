#include "exchange/ExportLine.h"

#include "catalog/Tables.h"
#include "exchange/CsvLine.h"
#include "exchange/ExchangeFields.h"
#include "exchange/ImportLine.h"
#include "text/Picture.h"

namespace srk {

namespace {

QString withoutTrailingBlanks(const QString& text) {
    qsizetype n = text.size();
    while (n > 0 && text[n - 1] == QLatin1Char(' '))
        --n;
    return text.left(n);
}

QString plainNumber(const QVariant& value) {
    if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int)
        return QString::number(value.toLongLong());
    // A text read as a number: its leading numeric part, 0 for ordinary names.
    const double number = leadingNumber(value.toString());
    if (number == double(qint64(number)))
        return QString::number(qint64(number));
    return QString::number(number, 'g', 15);
}

}  // namespace

void appendExportField(QString& line, bool first, const QVariant& value, const QString& picture) {
    if (isTextPicture(picture))
        appendCsvField(line, first, withoutTrailingBlanks(value.toString()), true);
    else if (isNumberPicture(picture))
        appendCsvField(line, first, plainNumber(value), false);
    else
        appendCsvField(line, first, format(value, picture), true);
}

ExportLineBuilder::ExportLineBuilder(const QVector<ExportColumn>& columns) {
    const TableDef& songs = songsTable();
    for (const ExportColumn& c : columns) {
        Column col;
        col.name = c.name;
        col.picture = parsePicture(c.picture);
        col.kind = isTextPicture(c.picture) ? TextKind : isNumberPicture(c.picture) ? NumberKind : FormattedKind;
        if (c.name.compare(categoryNameColumn(), Qt::CaseInsensitive) == 0)
            m_needsCategory = true;
        else if (exportFieldIndex(c.name) >= 0)
            col.songField = songs.fieldIndex(c.name);
        else
            col.skipped = true;
        m_columns.push_back(col);
    }
}

QString ExportLineBuilder::headerLine() const {
    QString line;
    bool first = true;
    for (const Column& c : m_columns) {
        QString name = c.name;
        if (name.contains(QLatin1Char('['))) {
            name.replace(QLatin1Char(','), QLatin1Char('_'));
            name.replace(QLatin1Char('['), QLatin1Char('_'));
            name.replace(QLatin1Char(']'), QLatin1Char(' '));
        }
        appendCsvField(line, first, withoutTrailingBlanks(name), true);
        first = false;
    }
    return line;
}

QString ExportLineBuilder::songLine(const Record& song, const QString& categoryName) const {
    QString line;
    songLine(song, categoryName, line);
    return line;
}

void ExportLineBuilder::songLine(const Record& song, const QString& categoryName, QString& line) const {
    // Emptied, not freed: a run builds every line in the same buffer.
    line.resize(0);
    line.reserve(512);
    bool first = true;
    const TableDef& def = *song.def();
    for (const Column& c : m_columns) {
        if (c.skipped)
            continue;
        // Text and numbers straight from the record: no variant for the common columns.
        const bool textField = c.songField < 0 || isTextKind(def.fields[c.songField].kind);
        switch (c.kind) {
        case TextKind: {
            const QString text = c.songField < 0 ? categoryName
                                 : textField    ? song.text(c.songField)
                                                : QString::number(song.number(c.songField));
            appendCsvField(line, first, withoutTrailingBlanks(text), true);
            break;
        }
        case NumberKind:
            appendCsvField(line, first,
                           textField ? plainNumber(c.songField < 0 ? categoryName : song.text(c.songField))
                                     : QString::number(song.number(c.songField)),
                           false);
            break;
        case FormattedKind:
            appendCsvField(line, first,
                           format(c.songField < 0 ? QVariant(categoryName) : song.value(c.songField), c.picture), true);
            break;
        }
        first = false;
    }
}

}  // namespace srk
