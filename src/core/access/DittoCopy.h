#pragma once

#include "store/Record.h"

#include <QHash>
#include <QString>
#include <QVariant>

namespace srk {

// For each insert or change form (by its name), the last record it completed during this run.
// The ditto key of a form recalls a field, or the whole record, from here.
class DittoCopy {
public:
    void remember(const QString& form, const Record& record);
    bool has(const QString& form) const { return m_last.contains(form); }
    // The last completed record; an invalid record when the form has completed none.
    Record lastCompleted(const QString& form) const { return m_last.value(form); }
    // One field of it by index or by name ("SON:Artist"); invalid when there is none.
    QVariant dittoValue(const QString& form, int field) const;
    QVariant dittoValue(const QString& form, const QString& fieldName) const;
    void clear() { m_last.clear(); }

private:
    QHash<QString, Record> m_last;
};

} // namespace srk
