#pragma once

// One record of a comma-delimited file split into fields, and fields joined back into a record.

#include <QString>
#include <QStringView>
#include <QVector>

namespace srk {

enum class CsvFieldKind { None = 0, Quoted = 1, Unquoted = 2 };

struct CsvField {
    QString value;
    CsvFieldKind kind = CsvFieldKind::None;
};

// Walks a record field by field. A quoted field runs to its closing quote ("" inside is one quote, and it
// may hold commas and line breaks); the character after the closing quote (the comma) is skipped. An
// unquoted field runs to the next comma. Without a closing quote the field is the rest of the record.
// Nothing but blanks left means no further field, so a record ending in a comma has no empty last field.
class CsvLineSplitter {
public:
    explicit CsvLineSplitter(QStringView line) : m_line(line) {}
    // The next field; kind None (and a blank value) once the record is used up.
    CsvField next();
    // The same without copying: the value is a view into the record, or into `scratch` when doubled
    // quotes had to be undone. The view lasts until the next call.
    CsvFieldKind next(QStringView& value, QString& scratch);
    void rewind() { m_pos = 0; }

private:
    QStringView m_line;
    qsizetype m_pos = 0;
};

QVector<CsvField> splitCsvLine(QStringView line);

// The value in double quotes with every double quote doubled; nothing trimmed.
QString quoteCsvField(const QString& value);
// Appends a field to a line being built, with a comma before every field but the first.
void appendCsvField(QString& line, bool first, const QString& text, bool quoted);

}  // namespace srk
