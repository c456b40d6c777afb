#pragma once

#include <QString>
#include <QVariant>

namespace srk {

class BoundValues;

// The report choices of the criteria window. One set lives for the whole program run and is shared by
// every report (never written to a file): what the last criteria window left is what the next report uses.
struct ReportCriteria {
    QString ReportStyle;      // "Standard" or "Brief"; blank reads as standard
    int PreviewFlag = 0;      // 1: preview first
    int UseCustomFont = 0;
    QString SelectedOrAll;    // "All" or "Selected"
    QString ReportSelection;  // prefix, up to 30 characters

    bool brief() const;
    bool selectedOnly() const;
};

// The program's one set.
ReportCriteria& reportCriteria();

// Registers SelectedOrAll and ReportSelection with their current values for filter expressions.
void bindReportCriteria(const ReportCriteria& criteria, BoundValues& bound);

// The prefix test of a "Selected" run: the field, upper-cased, begins with the clipped, upper-cased
// selection over exactly the selection's length. Numbers are compared as their decimal text; a blank
// selection matches everything.
bool selectionMatches(const QVariant& fieldValue, const QString& selection);

// Whether a record is printed under the criteria: always unless "Selected", then the prefix test.
bool criteriaAccept(const ReportCriteria& criteria, const QVariant& fieldValue);

}  // namespace srk
