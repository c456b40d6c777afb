#pragma once

#include "exchange/CsvReader.h"
#include "exchange/ExchangeFields.h"

#include <QString>
#include <QVector>

namespace srk {

// One column of the import file as the import window lists it.
struct ImportColumn {
    QString name;     // "Field_1", ...
    QString picture;  // "@S1000" unless numeric detection or the user chose another
    QString value;    // its text in the line shown
    QString type() const { return importTypeText(picture); }
};

// What the import runs with: per column its picture and the targets it fills, and whether the first
// line is a header.
struct ImportPlan {
    QVector<QString> pictures;       // per column
    QVector<QVector<int>> targets;   // per column, indexes into importTargets()
    bool header = false;
    bool isEmpty() const;
};

// The import window's state without the window: the columns of the file, the 22 targets and their
// assignments, the line shown ("Rec#") and the header box. The window and the command line both
// drive it; the run takes plan().
class ImportMapping {
public:
    static constexpr const char* kDefaultPicture = "@S1000";
    static constexpr const char* kNumericPicture = "@N30.9";

    enum class OpenResult { Ok, CannotOpen, Empty, Unreadable };
    // Reads the first line (columns and values) and the second (numeric detection), then assigns
    // automatically as the window does when it opens.
    OpenResult open(const QString& path);
    const QString& path() const { return m_path; }
    // The open failure as the window shows it ("Cannot OPEN " + file, "Error #..."), or the empty file's.
    QString failureTitle() const { return m_failureTitle; }
    QString failureText() const { return m_failureText; }

    const QVector<ImportColumn>& columns() const { return m_columns; }
    // The column assigned to a target, -1 when none.
    int assignedColumn(int target) const { return m_assigned.value(target, -1); }
    // The first target a column is assigned to, -1 when none (selecting a column highlights it).
    int firstTargetOf(int column) const;

    // "A&uto": every unassigned target takes the first column whose shown value is its name; the
    // category target takes the category's name column when there is one. Ticks the header box.
    void autoAssign();
    bool autoEnabled() const { return m_record == 1; }
    bool assign(int column, int target);
    bool unassign(int target);
    // A blank picture changes nothing.
    bool setPicture(int column, const QString& picture);

    // "&Next": shows the next line's values; false at the end of the file.
    bool next();
    bool nextEnabled() const { return !m_atEnd; }
    int record() const { return m_record; }

    bool header() const { return m_header; }
    void setHeader(bool on) { m_header = on; }

    // "&OK" with no target assigned is refused with this message; empty text when it may run.
    bool okRefused(QString* title = nullptr, QString* text = nullptr) const;
    ImportPlan plan() const;

private:
    void showValues(const QString& line);
    void readAhead();

    QString m_path;
    QString m_failureTitle;
    QString m_failureText;
    CsvReader m_reader;
    QVector<ImportColumn> m_columns;
    QVector<int> m_assigned;  // per target, -1 when unassigned
    int m_record = 1;
    QString m_ahead;
    bool m_atEnd = false;
    bool m_header = false;
};

}  // namespace srk
