#include "exchange/ImportMapping.h"

#include "exchange/CsvLine.h"

namespace srk {

bool ImportPlan::isEmpty() const {
    for (const QVector<int>& t : targets)
        if (!t.isEmpty())
            return false;
    return true;
}

ImportMapping::OpenResult ImportMapping::open(const QString& path) {
    m_path = path;
    m_columns.clear();
    m_assigned = QVector<int>(importTargets().size(), -1);
    m_record = 1;
    m_atEnd = false;
    m_header = false;
    if (!m_reader.open(path)) {
        m_failureTitle = QStringLiteral("Cannot OPEN ") + path;
        m_failureText = QStringLiteral("Error #%1 - %2").arg(m_reader.errorCode()).arg(m_reader.errorText());
        return OpenResult::CannotOpen;
    }
    if (m_reader.size() == 0) {
        m_failureTitle = QStringLiteral("Attention!");
        m_failureText = QStringLiteral("That file is empty!  Please pick another file.");
        return OpenResult::Empty;
    }
    QString first;
    if (const CsvReader::Status status = m_reader.next(first); status != CsvReader::Status::Record) {
        m_failureTitle = QStringLiteral("Cannot OPEN ") + path;
        m_failureText = status == CsvReader::Status::TooLong
                            ? QStringLiteral("Line %1 is longer than %2 characters.")
                                  .arg(m_reader.lineNumber())
                                  .arg(CsvReader::kMaxRecordCharacters)
                            : QStringLiteral("Error #%1 - %2").arg(m_reader.errorCode()).arg(m_reader.errorText());
        return OpenResult::Unreadable;
    }
    const QVector<CsvField> fields = splitCsvLine(first);
    for (int i = 0; i < fields.size(); ++i)
        m_columns.push_back({QStringLiteral("Field_%1").arg(i + 1), QString::fromLatin1(kDefaultPicture), fields[i].value});
    // A column whose second-line value stands without quotes holds numbers.
    QString second;
    if (m_reader.next(second) == CsvReader::Status::Record) {
        CsvLineSplitter splitter(second);
        for (ImportColumn& column : m_columns) {
            const CsvField f = splitter.next();
            if (f.kind == CsvFieldKind::None)
                break;
            if (f.kind == CsvFieldKind::Unquoted)
                column.picture = QString::fromLatin1(kNumericPicture);
        }
    }
    m_reader.rewind();
    QString again;
    m_reader.next(again);
    readAhead();
    autoAssign();
    return OpenResult::Ok;
}

int ImportMapping::firstTargetOf(int column) const {
    for (int t = 0; t < m_assigned.size(); ++t)
        if (m_assigned[t] == column)
            return t;
    return -1;
}

void ImportMapping::autoAssign() {
    const QVector<ImportTarget>& targets = importTargets();
    auto columnNamed = [this](const QString& name) {
        for (int c = 0; c < m_columns.size(); ++c)
            if (m_columns[c].value.trimmed() == name)
                return c;
        return -1;
    };
    const int categoryTarget = importTargetIndex(QStringLiteral("SON:CategoryID"));
    for (int t = 0; t < targets.size(); ++t) {
        if (m_assigned[t] >= 0)
            continue;
        int column = -1;
        // Our own export writes the category's number and its name: the name is what carries over.
        if (t == categoryTarget)
            column = columnNamed(categoryNameColumn());
        if (column < 0)
            column = columnNamed(targets[t].name);
        if (column < 0)
            continue;
        m_assigned[t] = column;
        // A column of dates or times written by the export is read back through the picture it was
        // written with, unless the user gave it one.
        ImportColumn& c = m_columns[column];
        const int exported = exportFieldIndex(targets[t].name);
        if (t != categoryTarget && exported >= 0 && (isTextPicture(c.picture) || isNumberPicture(c.picture))) {
            const QString written = exportFields()[exported].picture;
            if (!isTextPicture(written) && !isNumberPicture(written))
                c.picture = written;
        }
    }
    m_header = true;
}

bool ImportMapping::assign(int column, int target) {
    if (column < 0 || column >= m_columns.size() || target < 0 || target >= m_assigned.size())
        return false;
    m_assigned[target] = column;
    return true;
}

bool ImportMapping::unassign(int target) {
    if (target < 0 || target >= m_assigned.size())
        return false;
    m_assigned[target] = -1;
    return true;
}

bool ImportMapping::setPicture(int column, const QString& picture) {
    if (column < 0 || column >= m_columns.size() || picture.isEmpty() || !pictureEntryAccepted(picture))
        return false;
    m_columns[column].picture = picture;
    return true;
}

void ImportMapping::showValues(const QString& line) {
    CsvLineSplitter splitter(line);
    for (ImportColumn& column : m_columns)
        column.value = splitter.next().value;
}

void ImportMapping::readAhead() {
    // "&Next" goes grey on the last line, not one press later.
    m_atEnd = m_reader.next(m_ahead) != CsvReader::Status::Record;
}

bool ImportMapping::next() {
    if (m_atEnd)
        return false;
    ++m_record;
    showValues(m_ahead);
    readAhead();
    return true;
}

bool ImportMapping::okRefused(QString* title, QString* text) const {
    for (int column : m_assigned)
        if (column >= 0)
            return false;
    if (title)
        *title = QStringLiteral("No Fields Selected for Import!");
    if (text)
        *text = QStringLiteral("You must select one or more fields to import.");
    return true;
}

ImportPlan ImportMapping::plan() const {
    ImportPlan plan;
    plan.header = m_header;
    for (const ImportColumn& c : m_columns) {
        plan.pictures.push_back(c.picture);
        plan.targets.push_back({});
    }
    for (int t = 0; t < m_assigned.size(); ++t)
        if (m_assigned[t] >= 0)
            plan.targets[m_assigned[t]].push_back(t);
    return plan;
}

}  // namespace srk
