#pragma once

// Sets up a list's columns from its format string (see text/ListFormat.h) and keeps them: widths in
// dialog units, justification, headers, which columns the user may resize, borders and underlines,
// and each cell shown through its column's picture.
//
// View column i is format column i. The view's model hands raw values in Qt::DisplayRole (a day
// number for a date, a time value, a number); the list shows them through the column's picture. A
// text value in a column whose picture is not text is taken as already shown and left as it is.
// Header texts and alignments are written to the model with setHeaderData(); a model that does not
// take them answers headerData() from header() and headerAlignment().
//
// A designed width is a minimum: a column is never narrower than its header and, for dates, times and
// numbers, the widest text its picture makes in the list's font. A shown list wider than its columns
// gives the free width to its text columns; that share is not part of the layout the user keeps.
//
// The list installs its own item delegate on the view.

#include "text/ListFormat.h"

#include <QList>
#include <QString>
#include <Qt>

#include <memory>

class QFont;
class QTableView;
class QVariant;

namespace srk {

class IniFile;

class ListColumns {
public:
    ListColumns();
    ~ListColumns();
    ListColumns(const ListColumns&) = delete;
    ListColumns& operator=(const ListColumns&) = delete;

    // Lays the view's columns out from `format`. A format that cannot be read changes nothing and
    // returns false (see errorString()). Columns the model gains later (a model set afterwards) are
    // laid out as they appear.
    bool apply(QTableView* view, const QString& format);

    // When the window opens: the designed format with the preferred date picture in its date columns,
    // then the user's saved layout from the position file if it was based on that same design (a
    // changed design drops it once). A saved layout that cannot be read gives way to the design.
    // Returns false only when the design itself cannot be read.
    bool restore(QTableView* view, IniFile& positions, const QString& procedureName, const QString& listName,
                 const QString& designedFormat, const QString& datePreference);
    // When the window closes: records the layout as the user left it, under the names given to
    // restore(). Does nothing when restore() never succeeded.
    void save(IniFile& positions) const;

    // The format with the widths the user has given the columns since.
    QString currentFormat() const;
    const ListFormat& format() const;
    QString errorString() const;

    // The columns (0-based) that show release dates: a bare year there shows as the year whatever the
    // picture, and the "Year Only" preference changes only these. Set before restore().
    void setReleaseDateColumns(const QList<int>& columns);

    QString display(int column, const QVariant& value) const;
    QString header(int column) const;
    Qt::Alignment alignment(int column) const;
    Qt::Alignment headerAlignment(int column) const;
    // The row field the column shows (1-based, see ListFormat); 0 for a column out of range.
    int field(int column) const;

    // Dialog units across, in the given font: a quarter of its average character width.
    static int toPixels(const QFont& font, int dialogUnits);
    static int toDialogUnits(const QFont& font, int pixels);

    struct State;

private:
    std::shared_ptr<State> m_state;
};

} // namespace srk
