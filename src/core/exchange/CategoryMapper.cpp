#include "exchange/CategoryMapper.h"

#include "catalog/Tables.h"
#include "store/Store.h"

namespace srk {

CategoryMapper::CategoryMapper(Store& store) : m_table(std::make_unique<Table>(store, categoriesTable())) {}

int CategoryMapper::categoryId(const QString& text, qint64& id) {
    id = 0;
    if (text.isEmpty())
        return NoError;
    // A file repeats a few category texts on every line.
    if (auto it = m_asWritten.constFind(text); it != m_asWritten.constEnd()) {
        id = it.value();
        return NoError;
    }
    const int rc = lookUp(text, id);
    // Bounded, so that a file of all-different texts does not keep them all twice.
    if (rc == NoError && m_asWritten.size() < 10000)
        m_asWritten.insert(text, id);
    return rc;
}

int CategoryMapper::lookUp(const QString& text, qint64& id) {
    const QString name = text.trimmed();
    if (name.isEmpty())
        return NoError;
    const QString folded = name.toCaseFolded();
    if (auto it = m_known.constFind(folded); it != m_known.constEnd()) {
        id = it.value();
        return NoError;
    }
    Record r = m_table->newRecord();
    r.setText(CAT::Category, name);
    int rc = m_table->get(CAT::KeyCategory, r);
    if (rc == NoError) {
        id = r.number(CAT::CategoryID);
        m_known.insert(folded, id);
        return NoError;
    }
    if (rc != RecordNotFound)
        return rc;
    bool digits = true;
    for (const QChar c : name)
        digits = digits && c.isDigit() && c.unicode() < 0x80;
    if (digits && name.size() <= 10) {
        r = m_table->newRecord();
        r.setNumber(CAT::CategoryID, name.toLongLong());
        rc = m_table->get(CAT::KeyCategoryID, r);
        if (rc == NoError) {
            id = r.number(CAT::CategoryID);
            m_known.insert(folded, id);
            return NoError;
        }
        if (rc != RecordNotFound)
            return rc;
    }
    if (m_highest < 0) {
        Record last = m_table->newRecord();
        m_table->setEnd(CAT::KeyCategoryID);
        rc = m_table->previous(last);
        if (rc != NoError && rc != RecordNotAvailable)
            return rc;
        m_highest = rc == NoError ? last.number(CAT::CategoryID) : 0;
    }
    Record added = m_table->newRecord();
    added.setNumber(CAT::CategoryID, m_highest + 1);
    added.setText(CAT::Category, name);
    rc = m_table->add(added);
    if (rc != NoError)
        return rc;
    m_highest += 1;
    ++m_added;
    id = m_highest;
    m_known.insert(folded, id);
    return NoError;
}

}  // namespace srk
