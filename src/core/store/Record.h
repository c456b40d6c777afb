#pragma once

#include "store/TableDef.h"

#include <QString>
#include <QVariant>

#include <vector>

namespace srk {

// One record of a table, held by value. Text values are kept without trailing blanks and cut to the
// field's width in characters; numbers are clamped to the field's range.
class Record {
public:
    Record() = default;
    explicit Record(const TableDef& def);

    const TableDef* def() const { return m_def; }
    bool isValid() const { return m_def != nullptr; }

    QString text(int field) const;
    qint64 number(int field) const;
    void setText(int field, const QString& value);
    void setNumber(int field, qint64 value);
    // Sets a field from a variant: text fields take its text, number fields its number.
    void setValue(int field, const QVariant& value);
    QVariant value(int field) const;

    // Access by qualified or bare field name ("SON:Artist"); unknown names read as empty and write nothing.
    QVariant value(const QString& name) const;
    bool setValue(const QString& name, const QVariant& value);

    void clear();
    bool sameValues(const Record& other) const;
    bool sameKeyValues(int key, const Record& other) const;

    // Engine bookkeeping: the row the record was read from (0 = none) and its change counter.
    qint64 rowId() const { return m_rowId; }
    qint64 changeCount() const { return m_changeCount; }
    void setRowId(qint64 id) { m_rowId = id; }
    void setChangeCount(qint64 c) { m_changeCount = c; }

    // The largest value a number field of this kind can hold, and the smallest.
    static qint64 maxOf(FieldKind kind);
    static qint64 minOf(FieldKind kind);
    // Cuts text to width characters without splitting a surrogate pair, then drops trailing blanks.
    static QString fitText(const QString& value, int width);

private:
    struct Value {
        qint64 number = 0;
        QString text;
    };
    const TableDef* m_def = nullptr;
    std::vector<Value> m_values;
    qint64 m_rowId = 0;
    qint64 m_changeCount = 0;
};

}  // namespace srk
