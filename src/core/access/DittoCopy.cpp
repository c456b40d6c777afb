#include "access/DittoCopy.h"

namespace srk {

void DittoCopy::remember(const QString& form, const Record& record) {
    if (record.isValid())
        m_last.insert(form, record);
}

QVariant DittoCopy::dittoValue(const QString& form, int field) const {
    const auto it = m_last.constFind(form);
    if (it == m_last.constEnd())
        return QVariant();
    return it->value(field);
}

QVariant DittoCopy::dittoValue(const QString& form, const QString& fieldName) const {
    const auto it = m_last.constFind(form);
    if (it == m_last.constEnd())
        return QVariant();
    return it->value(fieldName);
}

} // namespace srk
