#include "access/CascadeJob.h"

#include "access/Relations.h"
#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "store/FoldCollation.h"
#include "store/Table.h"

#include <QElapsedTimer>

#include <sqlite3.h>

namespace srk {

namespace {

QString quoted(const QString& name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

// The rows a step picks before it runs in slices; kept in the connection's temporary schema.
const char* const kPickedRows = "temp.srk_cascade_rows";

// The children of a relation holding value: the rows of the child key positioned at the value. The key
// leaves out records whose key fields are all empty, and its text columns compare as the key does.
QString childCondition(const Relation& rel) {
    const TableDef& child = *rel.child;
    QString where = quoted(child.fields[rel.childField].name) + QStringLiteral(" = ?");
    const QString presence = Store::keyPresenceCondition(child, rel.childKey);
    return presence.isEmpty() ? where : presence + QStringLiteral(" AND ") + where;
}

// value as the child's field holds it (cut to its width, a number clamped to its range).
QVariant asChildValue(const Relation& rel, const QVariant& value) {
    Record probe(*rel.child);
    probe.setValue(rel.childField, value);
    return probe.value(rel.childField);
}

bool sameValue(const TableDef& def, int field, const QVariant& a, const QVariant& b) {
    if (isTextKind(def.fields[field].kind))
        return a.toString() == b.toString();
    return a.toLongLong() == b.toLongLong();
}

} // namespace

QString CascadeJob::schemaOf(const TableDef& def) { return quoted(Store::schemaName(def)) + QStringLiteral(".records"); }

CascadeJob CascadeJob::forDelete(TableAccess& access, const TableDef& def, const Record& parent) {
    CascadeJob job(access);
    // Every restriction, the children's own included, is tested before anything is deleted: a refusal
    // then costs nothing, and it sees every row the delete would remove.
    QVector<Step> deletes;
    for (const Relation& rel : relationsOf(def)) {
        if (rel.onDelete == Relation::None)
            continue;
        QString where = childCondition(rel);
        QVariantList binds{asChildValue(rel, parent.value(rel.parentField))};
        if (rel.childOwnerField >= 0) {
            const QString owner = quoted(rel.child->fields[rel.childOwnerField].name);
            where += QStringLiteral(" AND (%1 = 0 OR %1 = ?)").arg(owner);
            binds << parent.value(rel.ownerParentField);
        }
        if (rel.onDelete == Relation::Restrict) {
            Step s;
            s.kind = Step::Check;
            s.table = rel.child;
            s.where = where;
            s.binds = binds;
            s.message = StdMsg::RestrictedDelete;
            job.m_steps << s;
        } else {
            job.addDeleteSteps(*rel.child, where, binds, deletes);
        }
    }
    job.m_steps << deletes;
    return job;
}

void CascadeJob::addDeleteSteps(const TableDef& def, const QString& where, const QVariantList& binds,
                                QVector<Step>& deletes) {
    // The rows about to go first pass their own relations, as a set: the grandchildren linked to any of
    // them.
    for (const Relation& rel : relationsOf(def)) {
        if (rel.onDelete == Relation::None)
            continue;
        QString nested = quoted(rel.child->fields[rel.childField].name) +
                         QStringLiteral(" IN (SELECT %1 FROM %2 WHERE %3)")
                             .arg(quoted(def.fields[rel.parentField].name), schemaOf(def), where);
        const QString presence = Store::keyPresenceCondition(*rel.child, rel.childKey);
        if (!presence.isEmpty())
            nested = presence + QStringLiteral(" AND ") + nested;
        if (rel.onDelete == Relation::Restrict) {
            Step s;
            s.kind = Step::Check;
            s.table = rel.child;
            s.where = nested;
            s.binds = binds;
            s.message = StdMsg::RestrictedDelete;
            m_steps << s;
        } else {
            addDeleteSteps(*rel.child, nested, binds, deletes);
        }
    }
    Step s;
    s.kind = Step::Delete;
    s.table = &def;
    s.where = where;
    s.binds = binds;
    s.message = StdMsg::DeleteError;
    deletes << s;
}

CascadeJob CascadeJob::forUpdate(TableAccess& access, const TableDef& def, Record& record, const Record& original) {
    CascadeJob job(access);
    job.m_record = &record;
    for (const Relation& rel : relationsOf(def)) {
        if (rel.onUpdate == Relation::None)
            continue;
        const QVariant before = original.value(rel.parentField);
        const QVariant after = record.value(rel.parentField);
        if (sameValue(def, rel.parentField, before, after))
            continue;
        Step s;
        s.table = rel.child;
        s.where = childCondition(rel);
        s.binds = {asChildValue(rel, before)};
        if (rel.onUpdate == Relation::Restrict) {
            s.kind = Step::Check;
            s.message = StdMsg::RestrictedUpdate;
            s.resetField = rel.parentField;
            s.resetValue = before;
        } else {
            s.kind = Step::Update;
            s.message = StdMsg::UpdateError;
            s.field = rel.childField;
            s.value = asChildValue(rel, after);
        }
        job.m_steps << s;
    }
    return job;
}

bool CascadeJob::step() {
    if (failed() || cancelled() || m_next >= m_steps.size())
        return false;
    Step& s = m_steps[m_next];
    m_file = m_access->store().filePath(*s.table);
    const bool ok = m_slicing ? runSlice(s) : run(s);
    if (!ok) {
        // Ends the job for the window as well; failed() tells it apart from the user's Cancel.
        cancel();
        return false;
    }
    if (!m_slicing)
        ++m_next;
    return m_next < m_steps.size();
}

int CascadeJob::percent() const {
    if (m_steps.isEmpty())
        return 100;
    double done = double(m_next);
    if (m_slicing && m_sliceTotal > 0)
        done += double(m_sliceDone) / double(m_sliceTotal);
    return int(100.0 * done / double(m_steps.size()));
}

QString CascadeJob::textLine() const {
    if (m_next >= m_steps.size())
        return QString();
    const Step& s = m_steps[m_next];
    // A_Songs is the song file seen by file number: the user knows it as the song file.
    const QString& file = s.table == &aSongsTable() ? songsTable().label : s.table->label;
    return (s.kind == Step::Delete ? QStringLiteral("Deleting from ") : QStringLiteral("Updating ")) + file;
}

bool CascadeJob::fail(const Step& s, StdMsg message, bool withError) {
    if (withError)
        m_access->saveError();
    m_failed = true;
    m_message = message;
    m_text1 = s.table->label;
    return false;
}

bool CascadeJob::exec(const QByteArray& sql, const QVariantList& binds, bool* row, qint64* value) {
    Store& store = m_access->store();
    sqlite3_stmt* stmt = store.statement(sql);
    if (!stmt)
        return false;
    for (int i = 0; i < binds.size(); ++i)
        Table::bindValue(stmt, i + 1, binds[i]);
    const int rc = sqlite3_step(stmt);
    if (row)
        *row = rc == SQLITE_ROW;
    if (value)
        *value = rc == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : 0;
    sqlite3_reset(stmt);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        store.setEngineError(rc, m_file);
        return false;
    }
    return true;
}

bool CascadeJob::run(Step& s) {
    Store& store = m_access->store();
    const QString table = schemaOf(*s.table);
    if (s.kind == Step::Check) {
        bool found = false;
        if (!exec(QStringLiteral("SELECT 1 FROM %1 WHERE %2 LIMIT 1").arg(table, s.where).toUtf8(), s.binds, &found))
            return fail(s, StdMsg::RetrievalError, true);
        if (!found)
            return true;
        if (s.resetField >= 0 && m_record)
            m_record->setValue(s.resetField, s.resetValue);
        return fail(s, s.message, false);
    }
    // Few rows go in one statement, many in slices.
    qint64 many = 0;
    if (!exec(QStringLiteral("SELECT count(*) FROM (SELECT 1 FROM %1 WHERE %2 LIMIT %3)")
                  .arg(table, s.where)
                  .arg(kSliceRows + 1)
                  .toUtf8(),
              s.binds, nullptr, &many))
        return fail(s, StdMsg::RetrievalError, true);
    if (many == 0)
        return true;
    if (many <= kSliceRows) {
        QByteArray sql;
        QVariantList binds;
        if (s.kind == Step::Delete) {
            sql = QStringLiteral("DELETE FROM %1 WHERE %2").arg(table, s.where).toUtf8();
        } else {
            sql = QStringLiteral("UPDATE %1 SET %2 = ?, _chg = _chg + 1 WHERE %3")
                      .arg(table, quoted(s.table->fields[s.field].name), s.where)
                      .toUtf8();
            binds << s.value;
        }
        binds << s.binds;
        const bool ok = exec(sql, binds);
        store.noteChange();
        if (!ok)
            return fail(s, s.message, true);
        m_touched += sqlite3_changes(store.handle());
        return true;
    }
    // Many rows: counted through the key for the progress bar, then changed a slice at a time.
    if (!exec(QStringLiteral("SELECT count(*) FROM %1 WHERE %2").arg(table, s.where).toUtf8(), s.binds, nullptr,
              &m_sliceTotal))
        return fail(s, StdMsg::RetrievalError, true);
    m_slicing = true;
    m_sliceDone = 0;
    m_lastRow = 0;
    m_wantsWindow = true;
    // A step over most of the table (a medium nearly every song holds) is cheaper in row order: the key
    // order would rewrite each page of the table many times over.
    qint64 tableRows = 0;
    if (!exec(QStringLiteral("SELECT max(_row) FROM %1").arg(table).toUtf8(), {}, nullptr, &m_lastTableRow) ||
        !exec(QStringLiteral("SELECT count(*) FROM %1").arg(table).toUtf8(), {}, nullptr, &tableRows))
        return fail(s, StdMsg::RetrievalError, true);
    m_ranges = m_sliceTotal * 4 >= tableRows;
    m_picked = false;
    m_sliceRows = kSliceRows;
    if (m_ranges)
        return true;
    // A changed row normally leaves the set, so each slice takes the first rows still in it. A rename
    // that only changes letter case keeps its rows matching: those are picked once beforehand.
    m_picked = s.kind == Step::Update && isTextKind(s.table->fields[s.field].kind) &&
               compareFolded(s.value.toString(), s.binds.value(0).toString()) == 0;
    if (!m_picked)
        return true;
    char* error = nullptr;
    int rc = sqlite3_exec(store.handle(),
                          "CREATE TEMP TABLE IF NOT EXISTS srk_cascade_rows(r INTEGER PRIMARY KEY)", nullptr,
                          nullptr, &error);
    sqlite3_free(error);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(store.handle(), "DELETE FROM temp.srk_cascade_rows", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        store.setEngineError(rc, m_file);
        return fail(s, s.message, true);
    }
    if (!exec(QStringLiteral("INSERT INTO %1(r) SELECT _row FROM %2 WHERE %3")
                  .arg(QString::fromLatin1(kPickedRows), table, s.where)
                  .toUtf8(),
              s.binds))
        return fail(s, StdMsg::RetrievalError, true);
    return true;
}

bool CascadeJob::runSlice(Step& s) {
    Store& store = m_access->store();
    const QString table = schemaOf(*s.table);
    QString rows;
    QVariantList rowBinds;
    qint64 upTo = 0;
    // NOT INDEXED keeps the engine on the row range rather than the child key.
    QString from = table;
    if (m_ranges) {
        if (m_lastRow >= m_lastTableRow) {
            m_slicing = false;
            return true;
        }
        upTo = qMin(m_lastTableRow, m_lastRow + m_sliceRows);
        from += QStringLiteral(" NOT INDEXED");
        rows = QStringLiteral("_row > ? AND _row <= ? AND (%1)").arg(s.where);
        rowBinds << m_lastRow << upTo;
        rowBinds << s.binds;
    } else if (m_picked) {
        const QString picked = QString::fromLatin1(kPickedRows);
        if (!exec(QStringLiteral("SELECT max(r) FROM (SELECT r FROM %1 WHERE r > ? ORDER BY r LIMIT ?)")
                      .arg(picked)
                      .toUtf8(),
                  {m_lastRow, m_sliceRows}, nullptr, &upTo))
            return fail(s, StdMsg::RetrievalError, true);
        if (upTo <= m_lastRow) {
            m_slicing = false;
            return true;
        }
        rows = QStringLiteral("_row IN (SELECT r FROM %1 WHERE r > ? AND r <= ?)").arg(picked);
        rowBinds << m_lastRow << upTo;
    } else {
        rows = QStringLiteral("_row IN (SELECT _row FROM %1 WHERE %2 LIMIT ?)").arg(table, s.where);
        rowBinds = s.binds;
        rowBinds << m_sliceRows;
    }
    QByteArray sql;
    QVariantList binds;
    if (s.kind == Step::Delete) {
        sql = QStringLiteral("DELETE FROM %1 WHERE %2").arg(from, rows).toUtf8();
    } else {
        sql = QStringLiteral("UPDATE %1 SET %2 = ?, _chg = _chg + 1 WHERE %3")
                  .arg(from, quoted(s.table->fields[s.field].name), rows)
                  .toUtf8();
        binds << s.value;
    }
    binds << rowBinds;
    QElapsedTimer took;
    took.start();
    const bool ok = exec(sql, binds);
    // A slice is how long the frame waits: keep it near kSliceMs whatever the machine and the disk.
    const qint64 ms = took.elapsed();
    const int asked = m_sliceRows;
    if (ms > 2 * kSliceMs)
        m_sliceRows = qMax(kSliceRows / 20, m_sliceRows / 2);
    else if (ms < kSliceMs / 2)
        m_sliceRows = qMin(kSliceRows * 10, m_sliceRows * 2);
    store.noteChange();
    if (!ok)
        return fail(s, s.message, true);
    const qint64 changed = sqlite3_changes(store.handle());
    m_touched += changed;
    m_sliceDone += changed;
    m_lastRow = upTo;
    if (!m_picked && !m_ranges && (changed < asked || changed == 0))
        m_slicing = false;
    return true;
}

}  // namespace srk
