#include "store/Table.h"

#include <algorithm>

#include <QFileInfo>

#include <sqlite3.h>

namespace srk {

namespace {

QString quoted(const QString& name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

QString placeholders(int n) {
    QStringList p;
    for (int i = 0; i < n; ++i)
        p << QStringLiteral("?");
    return p.join(QLatin1Char(','));
}

QVariantList keyValues(const Record& r, int key) {
    QVariantList values;
    for (int c : r.def()->keys[key].components)
        values << r.value(c);
    return values;
}

}  // namespace

KeyAnchor KeyAnchor::at(const Record& r, int key) {
    return {AtValue, key >= 0 ? keyValues(r, key) : QVariantList(), r.rowId()};
}

KeyAnchor KeyAnchor::after(const Record& r, int key) {
    return {AfterRecord, key >= 0 ? keyValues(r, key) : QVariantList(), r.rowId()};
}

KeySeek keySeek(const TableDef& def, int key, const KeyAnchor& anchor, bool forward, const QString& alias,
                int pinned) {
    KeySeek seek;
    const QString qual = alias.isEmpty() ? QString() : alias + QLatin1Char('.');
    if (key >= 0) {
        const QString presence = Store::keyPresenceCondition(def, key, alias);
        if (!presence.isEmpty())
            seek.where << presence;
    }
    QStringList cols;
    if (key >= 0)
        for (int c : def.keys[key].components)
            cols << qual + quoted(def.fields[c].name);
    QVariantList values = anchor.values;
    // Pinned components become equalities; at least one component stays ordered.
    pinned = (anchor.mode == KeyAnchor::Start || anchor.mode == KeyAnchor::End)
                 ? 0
                 : std::clamp(pinned, 0, std::min(int(cols.size()) - 1, int(values.size())));
    for (int i = 0; i < pinned; ++i) {
        seek.where << cols[i] + QStringLiteral(" = ?");
        seek.binds << values[i];
    }
    cols = cols.mid(pinned);
    values = values.mid(pinned);
    switch (anchor.mode) {
    case KeyAnchor::Start:
        seek.none = !forward;
        break;
    case KeyAnchor::End:
        seek.none = forward;
        break;
    case KeyAnchor::AtValue:
        if (key >= 0) {
            seek.where << QStringLiteral("(%1) %2 (%3)")
                              .arg(cols.join(QLatin1Char(',')), forward ? QStringLiteral(">=") : QStringLiteral("<="),
                                   placeholders(int(cols.size())));
            seek.binds << values;
        } else {
            seek.where << qual + QStringLiteral("_row %1 ?").arg(forward ? QStringLiteral(">=") : QStringLiteral("<="));
            seek.binds << anchor.row;
        }
        break;
    case KeyAnchor::AfterRecord: {
        QStringList all = cols;
        all << qual + QStringLiteral("_row");
        seek.where << QStringLiteral("(%1) %2 (%3)")
                          .arg(all.join(QLatin1Char(',')), forward ? QStringLiteral(">") : QStringLiteral("<"),
                               placeholders(int(all.size())));
        seek.binds << values << anchor.row;
        break;
    }
    }
    seek.order = Store::keyOrderColumns(def, key, !forward, alias);
    return seek;
}

Table::Table(Store& store, const TableDef& def) : m_store(&store), m_def(&def) {}

QString Table::schema() const { return quoted(Store::schemaName(*m_def)) + QStringLiteral(".records"); }

QString Table::fileName() const { return m_store->filePath(*m_def); }

QString Table::columnList(const QString& alias) const {
    const QString qual = alias.isEmpty() ? QString() : alias + QLatin1Char('.');
    QStringList cols{qual + QStringLiteral("_row"), qual + QStringLiteral("_chg")};
    for (const FieldDef& f : m_def->fields)
        cols << qual + quoted(f.name);
    return cols.join(QLatin1Char(','));
}

void Table::bindValue(sqlite3_stmt* stmt, int index, const QVariant& value) {
    if (value.typeId() == QMetaType::QString) {
        // Keys compare without trailing blanks; stored text has none.
        QString text = value.toString();
        qsizetype end = text.size();
        while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
            --end;
        const QByteArray utf8 = text.left(end).toUtf8();
        sqlite3_bind_text(stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    } else if (value.typeId() == QMetaType::Double) {
        sqlite3_bind_double(stmt, index, value.toDouble());
    } else if (!value.isValid()) {
        sqlite3_bind_null(stmt, index);
    } else {
        sqlite3_bind_int64(stmt, index, value.toLongLong());
    }
}

void Table::readRow(sqlite3_stmt* stmt, int first, Record& out) const {
    if (out.def() != m_def)
        out = Record(*m_def);
    out.setRowId(sqlite3_column_int64(stmt, first));
    out.setChangeCount(sqlite3_column_int64(stmt, first + 1));
    for (int i = 0; i < m_def->fields.size(); ++i) {
        const int col = first + 2 + i;
        if (isTextKind(m_def->fields[i].kind)) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, col));
            out.setText(i, QString::fromUtf8(text, sqlite3_column_bytes(stmt, col)));
        } else {
            out.setNumber(i, sqlite3_column_int64(stmt, col));
        }
    }
}

void Table::noteRead(Record& r) {
    if (m_watchNext) {
        m_watched.insert(r.rowId());
        m_watchNext = false;
    }
}

sqlite3_stmt* Table::cached(CachedStatement& slot, const QString& sql) {
    // Building the text and looking it up costs more than the insert itself on bulk runs.
    if (slot.stmt && slot.generation == m_store->statementGeneration()) {
        sqlite3_reset(slot.stmt);
        return slot.stmt;
    }
    slot.stmt = m_store->statement(sql.toUtf8());
    slot.generation = m_store->statementGeneration();
    return slot.stmt;
}

void Table::bindFields(sqlite3_stmt* stmt, const Record& r) {
    // Every text goes into one reused buffer that is bound in place: no allocation and no copy per
    // field, which bulk adds feel. The buffer is complete before the first bind points into it.
    const int count = int(m_def->fields.size());
    m_bindBuffer.clear();
    m_bindSpans.resize(size_t(count));
    for (int i = 0; i < count; ++i) {
        if (!isTextKind(m_def->fields[i].kind))
            continue;
        const QString text = r.text(i);
        const size_t start = m_bindBuffer.size();
        bool ascii = true;
        for (const QChar c : text) {
            if (c.unicode() >= 0x80) {
                ascii = false;
                break;
            }
            m_bindBuffer.push_back(char(c.unicode()));
        }
        if (!ascii) {
            m_bindBuffer.resize(start);
            const QByteArray utf8 = text.toUtf8();
            m_bindBuffer.append(utf8.constData(), size_t(utf8.size()));
        }
        m_bindSpans[size_t(i)] = {start, m_bindBuffer.size() - start};
    }
    for (int i = 0; i < count; ++i) {
        if (isTextKind(m_def->fields[i].kind)) {
            const auto [start, length] = m_bindSpans[size_t(i)];
            sqlite3_bind_text(stmt, i + 1, m_bindBuffer.data() + start, int(length), SQLITE_STATIC);
        } else {
            sqlite3_bind_int64(stmt, i + 1, r.number(i));
        }
    }
}

// --- positioning ---

int Table::setStart(int key) {
    m_key = key;
    m_anchor = KeyAnchor::start();
    m_ahead.clear();
    return NoError;
}

int Table::setEnd(int key) {
    m_key = key;
    m_anchor = KeyAnchor::end();
    m_ahead.clear();
    return NoError;
}

int Table::setAt(int key, const Record& keyValues) {
    m_key = key;
    m_anchor = KeyAnchor::at(keyValues, key);
    if (key < 0)
        m_anchor.mode = KeyAnchor::AtValue;
    m_ahead.clear();
    return NoError;
}

int Table::setAfter(int key, const Record& record) {
    m_key = key;
    m_anchor = KeyAnchor::after(record, key);
    m_ahead.clear();
    return NoError;
}

void Table::setFilter(const SqlCondition& filter) {
    m_filter = filter;
    m_ahead.clear();
}

int Table::next(Record& out) { return step(true, out); }
int Table::previous(Record& out) { return step(false, out); }

int Table::step(bool forward, Record& out) {
    const bool usable = !m_ahead.isEmpty() && m_aheadForward == forward && m_aheadSerial == m_store->changeSerial();
    if (!usable || m_aheadPos >= m_ahead.size()) {
        if (usable && m_ahead.size() < (m_quickScan ? 500 : 32)) {
            // The last batch was short: the key ends here.
            return m_store->setError(RecordNotAvailable, fileName());
        }
        m_ahead.clear();
        m_aheadPos = 0;
        const int rc = fetch(m_key, m_anchor, forward, m_quickScan ? 500 : 32, m_ahead);
        if (rc)
            return rc;
        m_aheadForward = forward;
        m_aheadSerial = m_store->changeSerial();
        if (m_ahead.isEmpty())
            return m_store->setError(RecordNotAvailable, fileName());
    }
    out = m_ahead[m_aheadPos++];
    m_anchor = KeyAnchor::after(out, m_key);
    noteRead(out);
    m_store->clearError();
    return NoError;
}

int Table::fetch(int key, const KeyAnchor& anchor, bool forward, int count, QVector<Record>& out) {
    return fetch(key, anchor, forward, count, SqlCondition(), out);
}

int Table::fetch(int key, const KeyAnchor& anchor, bool forward, int count, const SqlCondition& extra,
                 QVector<Record>& out) {
    KeySeek seek = keySeek(*m_def, key, anchor, forward);
    if (seek.none)
        return m_store->setError(RecordNotAvailable, fileName());
    QStringList where = seek.where;
    QVariantList binds = seek.binds;
    for (const SqlCondition* c : {static_cast<const SqlCondition*>(&m_filter), &extra}) {
        if (c->isEmpty())
            continue;
        where << QLatin1Char('(') + c->sql + QLatin1Char(')');
        binds << c->binds;
    }
    const QString& order = seek.order;
    const QString sql = QStringLiteral("SELECT %1 FROM %2%3 ORDER BY %4 LIMIT %5")
                            .arg(columnList(), schema(),
                                 where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND ")),
                                 order)
                            .arg(count);
    sqlite3_stmt* stmt = m_store->statement(sql.toUtf8());
    if (!stmt)
        return m_store->setError(m_store->lastError().code ? m_store->lastError().code : DriverError, fileName(),
                                 m_store->lastError().driverCode, m_store->lastError().driverMessage);
    for (int i = 0; i < binds.size(); ++i)
        bindValue(stmt, i + 1, binds[i]);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        Record r(*m_def);
        readRow(stmt, 0, r);
        out.push_back(std::move(r));
    }
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE)
        return m_store->setEngineError(rc, fileName());
    m_store->clearError();
    return NoError;
}

// --- direct reads ---

int Table::get(int key, Record& inOut) {
    if (key < 0 || key >= m_def->keys.size())
        return m_store->setError(RecordNotFound, fileName());
    QStringList where;
    const QString presence = Store::keyPresenceCondition(*m_def, key);
    if (!presence.isEmpty())
        where << presence;
    for (int c : m_def->keys[key].components)
        where << quoted(m_def->fields[c].name) + QStringLiteral("=?");
    const QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %4 LIMIT 1")
                            .arg(columnList(), schema(), where.join(QStringLiteral(" AND ")),
                                 Store::keyOrderColumns(*m_def, key, false));
    sqlite3_stmt* stmt = m_store->statement(sql.toUtf8());
    if (!stmt)
        return m_store->lastError().code ? m_store->lastError().code : DriverError;
    int i = 1;
    for (int c : m_def->keys[key].components)
        bindValue(stmt, i++, inOut.value(c));
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW) {
        readRow(stmt, 0, inOut);
        sqlite3_reset(stmt);
        noteRead(inOut);
        m_store->clearError();
        return NoError;
    }
    sqlite3_reset(stmt);
    if (rc == SQLITE_DONE)
        return m_store->setError(RecordNotFound, fileName());
    return m_store->setEngineError(rc, fileName());
}

QString Table::position(const Record& r) const { return QString::number(r.rowId()); }

int Table::getByPosition(const QString& position, Record& out) {
    bool ok = false;
    const qint64 row = position.toLongLong(&ok);
    if (!ok || row <= 0)
        return m_store->setError(RecordNotFound, fileName());
    const int rc = readStored(row, out);
    if (rc == NoError)
        noteRead(out);
    return rc;
}

int Table::readStored(qint64 row, Record& out) {
    sqlite3_stmt* stmt = cached(m_byRow, QStringLiteral("SELECT %1 FROM %2 WHERE _row=?").arg(columnList(), schema()));
    if (!stmt)
        return m_store->lastError().code ? m_store->lastError().code : DriverError;
    sqlite3_bind_int64(stmt, 1, row);
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW) {
        readRow(stmt, 0, out);
        sqlite3_reset(stmt);
        m_store->clearError();
        return NoError;
    }
    sqlite3_reset(stmt);
    if (rc == SQLITE_DONE)
        return m_store->setError(RecordNotFound, fileName());
    return m_store->setEngineError(rc, fileName());
}

// --- changes ---

int Table::add(Record& r) {
    QString sql;
    if (!m_insert.stmt || m_insert.generation != m_store->statementGeneration()) {
        QStringList cols;
        for (const FieldDef& f : m_def->fields)
            cols << quoted(f.name);
        sql = QStringLiteral("INSERT INTO %1(%2) VALUES(%3)")
                  .arg(schema(), cols.join(QLatin1Char(',')), placeholders(int(cols.size())));
    }
    sqlite3_stmt* stmt = cached(m_insert, sql);
    if (!stmt)
        return m_store->lastError().code ? m_store->lastError().code : DriverError;
    bindFields(stmt, r);
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE)
        return m_store->setEngineError(rc, fileName());
    r.setRowId(sqlite3_last_insert_rowid(m_store->handle()));
    r.setChangeCount(0);
    m_store->noteChange();
    m_store->clearError();
    return NoError;
}

int Table::put(Record& r) {
    if (r.rowId() <= 0)
        return m_store->setError(RecordNotFound, fileName());
    // Only the fields that differ from the stored record are written, so keys over unchanged fields
    // are left alone: a batch that changes one number does not rebuild every key entry of the row.
    Record stored(*m_def);
    if (const int rc = readStored(r.rowId(), stored))
        return rc;
    const bool checked = m_watched.contains(r.rowId());
    if (checked && stored.changeCount() != r.changeCount())
        return m_store->setError(ChangedByAnotherStation, fileName());
    // One statement per set of changed fields (and whether the change counter is checked), any field count.
    const int fieldCount = m_def->fieldCount();
    QByteArray changed(fieldCount + 1, '-');
    for (int f = 0; f < fieldCount; ++f)
        if (r.value(f) != stored.value(f))
            changed[f] = 'x';
    changed[fieldCount] = checked ? 'w' : '-';
    CachedStatement& slot = m_updates[changed];
    QString sql;
    if (!slot.stmt || slot.generation != m_store->statementGeneration()) {
        QStringList sets;
        for (int f = 0; f < fieldCount; ++f)
            if (changed[f] == 'x')
                sets << quoted(m_def->fields[f].name) + QStringLiteral("=?");
        sets << QStringLiteral("_chg=_chg+1");
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE _row=?%3")
                  .arg(schema(), sets.join(QLatin1Char(',')), checked ? QStringLiteral(" AND _chg=?") : QString());
    }
    sqlite3_stmt* stmt = cached(slot, sql);
    if (!stmt)
        return m_store->lastError().code ? m_store->lastError().code : DriverError;
    int i = 1;
    for (int f = 0; f < fieldCount; ++f)
        if (changed[f] == 'x')
            bindValue(stmt, i++, r.value(f));
    sqlite3_bind_int64(stmt, i++, r.rowId());
    if (checked)
        sqlite3_bind_int64(stmt, i++, r.changeCount());
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE)
        return m_store->setEngineError(rc, fileName());
    if (sqlite3_changes(m_store->handle()) == 0) {
        Record current(*m_def);
        const bool exists = readStored(r.rowId(), current) == NoError;
        return m_store->setError(exists ? ChangedByAnotherStation : RecordNotFound, fileName());
    }
    m_watched.remove(r.rowId());
    r.setChangeCount(r.changeCount() + 1);
    m_store->noteChange();
    m_store->clearError();
    return NoError;
}

int Table::remove(const Record& r) {
    sqlite3_stmt* stmt = cached(m_delete, QStringLiteral("DELETE FROM %1 WHERE _row=?").arg(schema()));
    if (!stmt)
        return m_store->lastError().code ? m_store->lastError().code : DriverError;
    sqlite3_bind_int64(stmt, 1, r.rowId());
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE)
        return m_store->setEngineError(rc, fileName());
    if (sqlite3_changes(m_store->handle()) == 0)
        return m_store->setError(RecordNotFound, fileName());
    m_watched.remove(r.rowId());
    m_store->noteChange();
    m_store->clearError();
    return NoError;
}

int Table::duplicateKey(const Record& r) {
    bool untested = false;
    for (int k = 0; k < m_def->keys.size(); ++k) {
        const KeyDef& key = m_def->keys[k];
        if (!key.unique)
            continue;
        QStringList where;
        const QString presence = Store::keyPresenceCondition(*m_def, k);
        if (!presence.isEmpty())
            where << presence;
        for (int c : key.components)
            where << quoted(m_def->fields[c].name) + QStringLiteral("=?");
        where << QStringLiteral("_row<>?");
        sqlite3_stmt* stmt = m_store->statement(
            QStringLiteral("SELECT 1 FROM %1 WHERE %2 LIMIT 1").arg(schema(), where.join(QStringLiteral(" AND "))).toUtf8());
        if (!stmt) {
            untested = true;
            continue;
        }
        int i = 1;
        for (int c : key.components)
            bindValue(stmt, i++, r.value(c));
        sqlite3_bind_int64(stmt, i, r.rowId());
        const int rc = sqlite3_step(stmt);
        sqlite3_reset(stmt);
        if (rc == SQLITE_ROW)
            return k;
        if (rc != SQLITE_DONE) {
            m_store->setEngineError(rc, fileName());
            untested = true;
        }
    }
    // A key that could not be read is no proof that nothing is duplicated.
    return untested ? DuplicateTestFailed : -1;
}

qint64 Table::records() {
    sqlite3_stmt* stmt = m_store->statement(QStringLiteral("SELECT count(*) FROM %1").arg(schema()).toUtf8());
    if (!stmt)
        return 0;
    const qint64 n = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : 0;
    sqlite3_reset(stmt);
    return n;
}

qint64 Table::lastRecordNumber() {
    sqlite3_stmt* stmt = m_store->statement(QStringLiteral("SELECT max(_row) FROM %1").arg(schema()).toUtf8());
    if (!stmt)
        return 0;
    const qint64 n = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : 0;
    sqlite3_reset(stmt);
    return n;
}

qint64 Table::bytes() const { return QFileInfo(fileName()).size(); }

int Table::sendCommand(const QString& command) {
    const QString c = command.trimmed().toUpper();
    if (c == QLatin1String("QUICKSCAN=ON") || c == QLatin1String("QUICKSCAN=OFF")) {
        m_quickScan = c.endsWith(QLatin1String("ON"));
        return NoError;
    }
    if (c.startsWith(QLatin1String("RECOVER=")))
        return m_store->recover(*m_def, c.mid(8).toInt());
    return m_store->setError(DriverFault, fileName());
}

}  // namespace srk
