#include "access/SequenceMove.h"

#include "access/TableAccess.h"
#include "store/Table.h"

namespace srk {

namespace {

constexpr int kBatch = 128;

int orderField(const SequenceTable& t) {
    return t.def->keys[t.key].components.last();
}

bool sameParent(const SequenceTable& t, const Record& a, const Record& b) {
    const QVector<int>& parts = t.def->keys[t.key].components;
    for (int i = 0; i + 1 < parts.size(); ++i) {
        const int f = parts[i];
        // As the key sees it: text without regard to case.
        const bool same = isTextKind(t.def->fields[f].kind) ? a.text(f).compare(b.text(f), Qt::CaseInsensitive) == 0
                                                           : a.number(f) == b.number(f);
        if (!same)
            return false;
    }
    return true;
}

// One move's state: the table handle, the record as first read and the report of a failed step.
class Mover {
public:
    Mover(TableAccess& access, const SequenceTable& t, const Record& record)
        : m_access(access), m_t(t), m_table(access.store(), *t.def), m_original(record) {}

    void report(const QString& step) {
        const QString error = m_access.store().lastError().displayText();
        m_access.ask({QStringLiteral("Error!"), sequenceMoveErrorText(m_t, m_original, error, step), ButtonOk,
                      ButtonOk});
    }

    // The records of the parent past the moved one in the direction of the move, nearest first;
    // false after a read error.
    bool rowsBeyond(bool forward, bool all, int limit, QVector<Record>& out) {
        KeyAnchor anchor = KeyAnchor::after(m_original, m_t.key);
        for (;;) {
            QVector<Record> batch;
            const int rc = m_table.fetch(m_t.key, anchor, forward, all ? kBatch : 1, batch);
            if (rc == RecordNotAvailable)
                return true;
            if (rc != NoError) {
                report(QStringLiteral("Test Range"));
                return false;
            }
            for (const Record& r : batch) {
                if (!sameParent(m_t, r, m_original))
                    return true;
                out << r;
                if (!all || (limit > 0 && out.size() >= limit))
                    return true;
            }
            if (batch.size() < kBatch)
                return true;
            anchor = KeyAnchor::after(batch.last(), m_t.key);
        }
    }

    // A number no record of the parent holds, above the highest (below all when the field is full).
    bool parkingNumber(qint64& number) {
        const int field = orderField(m_t);
        const FieldKind kind = m_t.def->fields[field].kind;
        Record probe = m_original;
        probe.setNumber(field, Record::maxOf(kind));
        QVector<Record> last;
        const int rc = m_table.fetch(m_t.key, KeyAnchor::at(probe, m_t.key), false, 1, last);
        if (rc != NoError && rc != RecordNotAvailable) {
            report(QStringLiteral("Test Range"));
            return false;
        }
        qint64 highest = m_original.number(field);
        if (!last.isEmpty() && sameParent(m_t, last.first(), m_original))
            highest = std::max(highest, last.first().number(field));
        number = highest < Record::maxOf(kind) ? highest + 1 : Record::minOf(kind);
        for (;;) {
            probe.setNumber(field, number);
            Record found = probe;
            const int got = m_table.get(m_t.key, found);
            if (got == RecordNotFound || got == RecordNotAvailable)
                return true;
            if (got != NoError) {
                report(QStringLiteral("Test Range"));
                return false;
            }
            ++number;
        }
    }

    bool putNumber(Record& r, qint64 number, const QString& step) {
        r.setNumber(orderField(m_t), number);
        if (m_table.put(r) == NoError)
            return true;
        report(step);
        return false;
    }

    bool reread(Record& r, const QString& step) {
        if (m_table.getByPosition(m_table.position(m_original), r) == NoError)
            return true;
        report(step);
        return false;
    }

    Table& table() { return m_table; }

private:
    TableAccess& m_access;
    const SequenceTable& m_t;
    Table m_table;
    Record m_original;
};

}  // namespace

QString sequenceMoveErrorText(const SequenceTable& table, const Record& record, const QString& errorText,
                              const QString& step) {
    const TableDef& def = *table.def;
    QString text = QStringLiteral("Record swap error: \n\n") + errorText + QLatin1Char('\n') + def.label +
                   QStringLiteral(", ") + def.qualifiedKeyName(table.key) + QLatin1Char('\n');
    for (int field : table.namedFields)
        text += QStringLiteral("Key Field ") + def.qualifiedFieldName(field) + QStringLiteral(" = ") +
                record.value(field).toString() + QLatin1Char('\n');
    text += QStringLiteral("Section = ") + step + QLatin1Char('\n');
    return text;
}

bool moveInSequence(TableAccess& access, const SequenceTable& t, Record& record, SequenceMove move, int limit) {
    const bool forward = move == SequenceMove::DownOne || move == SequenceMove::ToBottom;
    const bool toEnd = move == SequenceMove::ToTop || move == SequenceMove::ToBottom;
    const int field = orderField(t);
    Mover mover(access, t, record);

    QVector<Record> rows;
    if (!mover.rowsBeyond(forward, toEnd, limit, rows) || rows.isEmpty())
        return false;
    qint64 parking = 0;
    if (!mover.parkingNumber(parking))
        return false;

    Store& store = access.store();
    store.stream();
    Record moved;
    if (mover.reread(moved, QStringLiteral("Get Orig")))
        mover.putNumber(moved, parking, QStringLiteral("Put Swap Out"));
    qint64 freed = record.number(field);
    for (Record& row : rows) {
        const qint64 old = row.number(field);
        mover.putNumber(row, freed, QStringLiteral("Put Swap"));
        freed = old;
    }
    if (mover.reread(moved, QStringLiteral("Get Orig After")) &&
        mover.putNumber(moved, freed, QStringLiteral("Final Put")))
        record = moved;
    if (store.flush() != NoError)
        mover.report(QStringLiteral("Final Put"));
    return true;
}

}  // namespace srk
