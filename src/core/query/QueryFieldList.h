#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace srk {

// One field the query wizard offers: what the user sees, the field the filter names, and how a value
// for it is typed.
struct QueryField {
    QString caption;         // "Release"
    QString field;           // "SON:ReleaseDate"
    QString picture;         // "@d2": values are typed through it and stored deformatted
    int size = 0;            // bytes the field holds
    bool numeric = false;    // kind 2; kind 1 is text
    bool choiceList = false; // input style 3: the value is picked from choices
    QStringList choices;     // " (N/A)", "A", ...
};

// The fields of a query wizard, read from one constant text: entries separated by U+00AB, each entry's
// parts by U+00A6 - caption, 0, field name, picture, size, kind (1 text, 2 number), input style
// (1 typed, 3 choice list) and, last, the choice values separated by "|".
class QueryFieldList {
public:
    // Why a text could not be read; the number is what the user is shown.
    enum Error {
        NoError = 0,
        EmptyText = 1,
        WrongPartCount = 2,
        NoCaption = 3,
        BadMarker = 4,
        BadFieldName = 5,
        BadPicture = 6,
        BadSize = 7,
        BadKind = 8,
        BadInputStyle = 9,
        NoChoices = 10,
    };

    static constexpr char16_t EntrySeparator = 0xAB;
    static constexpr char16_t PartSeparator = 0xA6;

    // A malformed entry leaves the list empty, with error() and errorEntry() (1-based) telling why.
    static QueryFieldList parse(const QString& text);
    // The constant text of a list: parse(fields.text()) gives the same list back.
    QString text() const;

    void add(const QueryField& field) { m_fields.append(field); }

    int error() const { return m_error; }
    int errorEntry() const { return m_errorEntry; }
    bool isValid() const { return m_error == NoError; }

    const QVector<QueryField>& fields() const { return m_fields; }
    qsizetype size() const { return m_fields.size(); }
    bool isEmpty() const { return m_fields.isEmpty(); }
    const QueryField& at(qsizetype i) const { return m_fields.at(i); }
    // Position of the first entry naming this field (letter case ignored), -1 when none does.
    int indexOf(const QString& field) const;

private:
    QVector<QueryField> m_fields;
    int m_error = NoError;
    int m_errorEntry = 0;
};

} // namespace srk
