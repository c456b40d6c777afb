#pragma once

#include "access/TableAccess.h"

#include <QVector>

namespace srk {

// Holds a use of each table it opened through the access layer and gives them back when it goes.
// Routines that reach tables besides their own use it so that those are open for as long as they run.
class TableUse {
public:
    explicit TableUse(TableAccess& access) : m_access(&access) {}
    ~TableUse();
    TableUse(const TableUse&) = delete;
    TableUse& operator=(const TableUse&) = delete;

    // Opens (or raises the count of) the table; false when the open failed and its message was shown.
    bool open(const TableDef& def);
    // Whether any open failed in a way that must end the program, and the text to end it with.
    bool fatal() const { return m_fatal.fatal; }
    const AccessResult& failure() const { return m_fatal; }

private:
    TableAccess* m_access;
    QVector<const TableDef*> m_used;
    AccessResult m_fatal;
};

} // namespace srk
