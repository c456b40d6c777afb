#include "access/TableUse.h"

namespace srk {

TableUse::~TableUse() {
    for (auto it = m_used.crbegin(); it != m_used.crend(); ++it)
        m_access->closeTable(**it);
}

bool TableUse::open(const TableDef& def) {
    const AccessResult result = m_access->openTable(def);
    m_used.append(&def);
    if (!result.ok() && !m_fatal.fatal)
        m_fatal = result;
    return result.ok();
}

} // namespace srk
