#include "access/TableChanges.h"

#include "catalog/Tables.h"
#include "store/Store.h"

#include <QMetaObject>

#include <sqlite3.h>

namespace srk {

TableChanges::TableChanges(QObject* parent) : QObject(parent) {}

TableChanges::~TableChanges() { detach(); }

void TableChanges::attach(Store& store) {
    if (m_store == &store && m_db == store.handle())
        return;
    detach();
    m_store = &store;
    m_db = store.handle();
    if (!m_db)
        return;
    sqlite3_update_hook(m_db, &TableChanges::onRowChange, this);
    sqlite3_commit_hook(m_db, &TableChanges::onCommit, this);
    sqlite3_rollback_hook(m_db, &TableChanges::onRollback, this);
}

void TableChanges::detach() {
    if (m_db) {
        sqlite3_update_hook(m_db, nullptr, nullptr);
        sqlite3_commit_hook(m_db, nullptr, nullptr);
        sqlite3_rollback_hook(m_db, nullptr, nullptr);
    }
    m_db = nullptr;
    m_store = nullptr;
}

void TableChanges::onRowChange(void* self, int, const char* schema, const char*, long long) {
    auto* changes = static_cast<TableChanges*>(self);
    // Called for every row: a set statement over a million rows must not pay for a hash each time.
    if (changes->m_lastTouched == schema)
        return;
    changes->m_lastTouched = schema;
    changes->m_touched.insert(changes->m_lastTouched);
}

int TableChanges::onCommit(void* self) {
    static_cast<TableChanges*>(self)->frameEnded();
    return 0;
}

void TableChanges::onRollback(void* self) {
    // The rows go back to what they were, which the lists may have read meanwhile: report them too.
    static_cast<TableChanges*>(self)->frameEnded();
}

void TableChanges::frameEnded() {
    m_lastTouched.clear();
    if (m_touched.isEmpty())
        return;
    m_pending.unite(m_touched);
    m_touched.clear();
    // The engine is still inside the commit: the report comes from the event loop.
    if (!m_posted) {
        m_posted = true;
        QMetaObject::invokeMethod(this, &TableChanges::flush, Qt::QueuedConnection);
    }
}

void TableChanges::flush() {
    m_posted = false;
    const QSet<QByteArray> pending = std::exchange(m_pending, {});
    for (const QByteArray& schema : pending)
        report(QString::fromUtf8(schema));
}

int TableChanges::report(const QString& schema) {
    QVector<const TableDef*> defs = catalogTables();
    defs << &aSongsTable();
    int reported = 0;
    for (const TableDef* def : defs) {
        if (Store::schemaName(*def) == schema) {
            Q_EMIT tableChanged(def->label);
            ++reported;
        }
    }
    return reported;
}

qint64 TableChanges::dataVersion(const TableDef& def) {
    if (!m_store || !m_store->handle())
        return -1;
    sqlite3_stmt* stmt = m_store->statement(
        QStringLiteral("PRAGMA \"%1\".data_version").arg(Store::schemaName(def)).toUtf8());
    if (!stmt)
        return -1;
    const qint64 version = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : -1;
    sqlite3_reset(stmt);
    return version;
}

void TableChanges::noteOpened(const TableDef& def) {
    const QString schema = Store::schemaName(def);
    if (!m_versions.contains(schema))
        m_versions.insert(schema, dataVersion(def));
}

void TableChanges::noteClosed(const TableDef& def) { m_versions.remove(Store::schemaName(def)); }

int TableChanges::checkOtherStations(const QVector<const TableDef*>& open) {
    QSet<QString> seen;
    int reported = 0;
    for (const TableDef* def : open) {
        const QString schema = Store::schemaName(*def);
        if (seen.contains(schema))
            continue;
        seen.insert(schema);
        const qint64 version = dataVersion(*def);
        if (version < 0)
            continue;
        auto it = m_versions.find(schema);
        if (it == m_versions.end()) {
            m_versions.insert(schema, version);
            continue;
        }
        if (it.value() == version)
            continue;
        it.value() = version;
        reported += report(schema);
    }
    return reported;
}

}  // namespace srk
