#pragma once

// List-box format strings: one column after another, each
//
//   [width] L|R|C|D [(indent)]  then, in any order,
//   "|" right border   "M" resizable   "/" row goes on below   "_" underline
//   "F" fixed while scrolling   "?" (kept as given)   "*" colours   "I" icon
//   "#n#" field number   "S(n)" scroll width   "T...]" tree text
//   "~header~" [L|R|C|D [(indent)]]   "@picture@"
//
// e.g. "75L(2)|M~Artist~@s40@23R(2)|M~Time~C(0)@t4b@". Anything after a column's picture up to the next
// width or justification letter still belongs to that column ("25R(1)|~Track~@n3@?").
//
// A parsed format writes back exactly as it was read: each column keeps the order its parts were given
// in. Parts added afterwards go where a designed format would have them.

#include <QChar>
#include <QList>
#include <QString>

#include <optional>

namespace srk {

// The parts of a column after its width and justification, in the order a designed format gives them.
enum class ListColumnPart : quint8 {
    RightBorder, // "|"
    Resizable,   // "M"
    Underline,   // "_"
    Fixed,       // "F"
    Colours,     // "*"
    Icon,        // "I"
    FieldNumber, // "#n#"
    Scroll,      // "S(n)"
    Tree,        // "T...]"
    Header,      // "~text~" with its own justification and indent
    Picture,     // "@picture@"
    Open,        // "?"
    NewLine,     // "/"
};

struct ListFormatColumn {
    std::optional<int> width; // dialog units
    QChar justification = u'L'; // 'L', 'R', 'C' or 'D' (decimal)
    std::optional<int> indent;

    bool rightBorder = false;
    bool resizable = false;
    bool underline = false;
    bool fixed = false;
    bool colours = false; // four more fields: the column's colours
    bool icon = false;    // one more field: the column's icon
    bool open = false;    // "?": kept and written back, no meaning of its own here
    bool newLine = false;
    std::optional<int> explicitField; // "#n#"
    std::optional<int> scrollWidth;   // "S(n)"
    std::optional<QString> tree;      // the text between "T" and "]"
    std::optional<QString> header;    // without the tildes
    QChar headerJustification;        // null: none given
    std::optional<int> headerIndent;
    std::optional<QString> picture; // with its leading "@" ("@s40"), without the closing one

    // Set by ListFormat: the row field the column shows (1-based) and, when "*" or "I" is given, the
    // first of its colour fields and its icon field (0 otherwise).
    int field = 0;
    int colourField = 0;
    int iconField = 0;

    // The parts in the order they were read; parts set later but missing here are written in the
    // order of ListColumnPart.
    QList<ListColumnPart> order;
};

class ListFormat {
public:
    ListFormat() = default;

    // Never fails outright: a string that cannot be read gives a format that is not valid, with no
    // columns and an error text naming the place.
    static ListFormat parse(const QString& text);

    bool isValid() const { return m_error.isEmpty(); }
    const QString& errorString() const { return m_error; }
    // 0-based character position of the error; -1 when valid.
    qsizetype errorPosition() const { return m_errorPosition; }

    const QList<ListFormatColumn>& columns() const { return m_columns; }
    qsizetype columnCount() const { return m_columns.size(); }

    // The format string; empty for a format that is not valid.
    QString toString() const;

    // Replace one part of one column. Return false (and change nothing) for a column out of range or a
    // value the format could not carry: a negative width, a picture or header with its own delimiter.
    bool setWidth(qsizetype column, int width);
    bool setPicture(qsizetype column, const QString& picture); // "@s40" or "s40"; blank removes it
    bool setHeader(qsizetype column, const QString& header);

    // Replaces all columns (for the column formatter) and numbers their fields anew. Returns false,
    // changing nothing, when a column could not be written so that it reads back the same.
    bool setColumns(const QList<ListFormatColumn>& columns);

private:
    void numberFields();

    QList<ListFormatColumn> m_columns;
    QString m_error;
    qsizetype m_errorPosition = -1;
};

// Writes one column (without the neighbours it may depend on).
QString listColumnText(const ListFormatColumn& column);

} // namespace srk
