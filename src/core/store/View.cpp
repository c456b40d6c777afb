#include "store/View.h"

#include <sqlite3.h>

namespace srk {

namespace {

QString alias(int table) { return QStringLiteral("t%1").arg(table); }

}  // namespace

View::View(Store& store, const TableDef& primary, int key) : m_store(&store), m_primary(&primary), m_key(key) {}

void View::addRelated(const TableDef& related, int primaryField, int relatedField) {
    m_related.push_back({&related, primaryField, relatedField});
}

QString View::column(int table, int field) const {
    const TableDef* def = table == 0 ? m_primary : m_related.value(table - 1).def;
    if (!def || field < 0 || field >= def->fields.size())
        return QString();
    return alias(table) + QStringLiteral(".\"") + def->fields[field].name + QLatin1Char('"');
}

QString View::selectSql(const KeySeek& seek, int count) const {
    QStringList columns{Table(*m_store, *m_primary).columnList(alias(0))};
    QString from = QStringLiteral("%1 %2").arg(Table(*m_store, *m_primary).schema(), alias(0));
    for (int i = 0; i < m_related.size(); ++i) {
        const Related& r = m_related[i];
        Table related(*m_store, *r.def);
        columns << related.columnList(alias(i + 1));
        from += QStringLiteral(" LEFT JOIN %1 %2 ON %3 = %4")
                    .arg(related.schema(), alias(i + 1), column(0, r.primaryField), column(i + 1, r.relatedField));
        // A key on the joined field that leaves out empty values is only used when the join says so too;
        // without it the engine builds a throwaway index over the whole related table on every read.
        for (int k = 0; k < r.def->keys.size(); ++k) {
            const KeyDef& key = r.def->keys[k];
            if (key.components.size() != 1 || key.components.first() != r.relatedField)
                continue;
            const QString presence = Store::keyPresenceCondition(*r.def, k, alias(i + 1));
            if (!presence.isEmpty()) {
                from += QStringLiteral(" AND ") + presence;
                break;
            }
        }
    }
    QStringList where = seek.where;
    if (!m_filter.isEmpty())
        where << QLatin1Char('(') + m_filter.sql + QLatin1Char(')');
    return QStringLiteral("SELECT %1 FROM %2%3 ORDER BY %4 LIMIT %5")
        .arg(columns.join(QLatin1Char(',')), from,
             where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND ")), seek.order)
        .arg(count);
}

int View::open() {
    if (!m_store->isOpen(*m_primary))
        return m_store->setError(FileNotFound, m_store->filePath(*m_primary));
    for (const Related& r : std::as_const(m_related))
        if (!m_store->isOpen(*r.def))
            return m_store->setError(FileNotFound, m_store->filePath(*r.def));
    // Preparing the statement checks the filter.
    const KeySeek seek = keySeek(*m_primary, m_key, KeyAnchor::start(), true, alias(0));
    sqlite3_stmt* stmt = m_store->statement(selectSql(seek, 1).toUtf8());
    if (!stmt) {
        const StoreError e = m_store->lastError();
        return m_store->setError(e.code ? e.code : DriverError, m_store->filePath(*m_primary), e.driverCode,
                                 e.driverMessage);
    }
    m_open = true;
    m_anchor = KeyAnchor::start();
    m_store->clearError();
    return NoError;
}

int View::setStart() {
    m_anchor = KeyAnchor::start();
    return NoError;
}

int View::setEnd() {
    m_anchor = KeyAnchor::end();
    return NoError;
}

int View::setAt(const Record& keyValues) {
    m_anchor = KeyAnchor::at(keyValues, m_key);
    return NoError;
}

int View::next(ViewRow& out) { return step(true, out); }
int View::previous(ViewRow& out) { return step(false, out); }

int View::step(bool forward, ViewRow& out) {
    QVector<ViewRow> rows;
    if (const int rc = fetch(m_anchor, forward, 1, rows))
        return rc;
    if (rows.isEmpty())
        return m_store->setError(RecordNotAvailable, m_store->filePath(*m_primary));
    out = rows.front();
    m_anchor = KeyAnchor::after(out.primary, m_key);
    return NoError;
}

int View::fetch(const KeyAnchor& anchor, bool forward, int count, QVector<ViewRow>& out) {
    if (!m_open)
        return m_store->setError(FileNotFound, m_store->filePath(*m_primary));
    const KeySeek seek = keySeek(*m_primary, m_key, anchor, forward, alias(0), m_pinned);
    if (seek.none)
        return m_store->setError(RecordNotAvailable, m_store->filePath(*m_primary));
    sqlite3_stmt* stmt = m_store->statement(selectSql(seek, count).toUtf8());
    if (!stmt)
        return m_store->lastError().code ? m_store->lastError().code : DriverError;
    QVariantList binds = seek.binds;
    binds << m_filter.binds;
    for (int i = 0; i < binds.size(); ++i)
        Table::bindValue(stmt, i + 1, binds[i]);
    Table primary(*m_store, *m_primary);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        ViewRow row;
        primary.readRow(stmt, 0, row.primary);
        int column = 2 + int(m_primary->fields.size());
        for (const Related& r : std::as_const(m_related)) {
            Record related(*r.def);
            if (sqlite3_column_type(stmt, column) != SQLITE_NULL)
                Table(*m_store, *r.def).readRow(stmt, column, related);
            row.related.push_back(related);
            column += 2 + int(r.def->fields.size());
        }
        out.push_back(std::move(row));
    }
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE)
        return m_store->setEngineError(rc, m_store->filePath(*m_primary));
    m_store->clearError();
    return NoError;
}

}  // namespace srk
