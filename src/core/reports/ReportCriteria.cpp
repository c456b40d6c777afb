#include "reports/ReportCriteria.h"

#include "query/BoundValues.h"

namespace srk {

bool ReportCriteria::brief() const { return ReportStyle.trimmed().compare(QLatin1String("Brief"), Qt::CaseInsensitive) == 0; }

bool ReportCriteria::selectedOnly() const {
    return SelectedOrAll.trimmed().compare(QLatin1String("Selected"), Qt::CaseInsensitive) == 0;
}

ReportCriteria& reportCriteria() {
    static ReportCriteria criteria;
    return criteria;
}

void bindReportCriteria(const ReportCriteria& criteria, BoundValues& bound) {
    bound.set(QStringLiteral("SelectedOrAll"), criteria.SelectedOrAll);
    bound.set(QStringLiteral("ReportSelection"), criteria.ReportSelection);
}

bool selectionMatches(const QVariant& fieldValue, const QString& selection) {
    // Clipped: trailing blanks go, leading ones count.
    QString prefix = selection.left(30).toUpper();
    while (!prefix.isEmpty() && prefix.back().isSpace())
        prefix.chop(1);
    if (prefix.isEmpty())
        return true;
    const bool numeric = fieldValue.typeId() == QMetaType::LongLong || fieldValue.typeId() == QMetaType::Int ||
                         fieldValue.typeId() == QMetaType::Double;
    const QString text = numeric ? QString::number(fieldValue.toLongLong()) : fieldValue.toString();
    return text.toUpper().startsWith(prefix);
}

bool criteriaAccept(const ReportCriteria& criteria, const QVariant& fieldValue) {
    return !criteria.selectedOnly() || selectionMatches(fieldValue, criteria.ReportSelection);
}

}  // namespace srk
