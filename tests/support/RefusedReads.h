#pragma once

#include "store/Store.h"
#include "store/TableDef.h"

#include <QByteArray>

#include <sqlite3.h>

namespace srk::testing {

// Refuses every read of one table's file from now on, as a damaged or vanished file would.
class RefusedReads {
public:
    RefusedReads(Store& store, const TableDef& def) : m_store(store), m_schema(Store::schemaName(def).toUtf8()) {
        sqlite3_set_authorizer(m_store.handle(), &RefusedReads::authorize, this);
    }
    ~RefusedReads() { sqlite3_set_authorizer(m_store.handle(), nullptr, nullptr); }
    RefusedReads(const RefusedReads&) = delete;
    RefusedReads& operator=(const RefusedReads&) = delete;

private:
    static int authorize(void* self, int action, const char*, const char*, const char* schema, const char*) {
        const auto* me = static_cast<RefusedReads*>(self);
        return action == SQLITE_READ && schema && me->m_schema == schema ? SQLITE_DENY : SQLITE_OK;
    }
    Store& m_store;
    QByteArray m_schema;
};

}  // namespace srk::testing
