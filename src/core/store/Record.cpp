#include "store/Record.h"

#include <algorithm>

namespace srk {

Record::Record(const TableDef& def) : m_def(&def), m_values(def.fields.size()) {}

QString Record::text(int field) const {
    if (field < 0 || field >= int(m_values.size()))
        return QString();
    if (isTextKind(m_def->fields[field].kind))
        return m_values[field].text;
    return QString::number(m_values[field].number);
}

qint64 Record::number(int field) const {
    if (field < 0 || field >= int(m_values.size()))
        return 0;
    if (isTextKind(m_def->fields[field].kind))
        return m_values[field].text.trimmed().toLongLong();
    return m_values[field].number;
}

qint64 Record::maxOf(FieldKind kind) {
    switch (kind) {
    case FieldKind::UInt8: return 255;
    case FieldKind::Dec6: return 99999999999LL;
    case FieldKind::Dec2: return 999;
    case FieldKind::Int32:
    case FieldKind::Date:
    case FieldKind::Time: return 2147483647LL;
    default: return 0;
    }
}

qint64 Record::minOf(FieldKind kind) {
    switch (kind) {
    case FieldKind::UInt8: return 0;
    case FieldKind::Dec6: return -99999999999LL;
    case FieldKind::Dec2: return -999;
    case FieldKind::Int32:
    case FieldKind::Date:
    case FieldKind::Time: return -2147483648LL;
    default: return 0;
    }
}

QString Record::fitText(const QString& value, int width) {
    // Width counts characters; a surrogate pair is one character. Text no longer in units than the
    // width (nearly all of it) cannot be cut.
    int chars = 0;
    qsizetype cut = value.size() <= width ? value.size() : 0;
    while (cut < value.size() && chars < width) {
        if (value.at(cut).isHighSurrogate() && cut + 1 < value.size() && value.at(cut + 1).isLowSurrogate())
            cut += 2;
        else
            cut += 1;
        ++chars;
    }
    qsizetype end = cut;
    while (end > 0 && value.at(end - 1) == QLatin1Char(' '))
        --end;
    return end == value.size() ? value : value.left(end);
}

void Record::setText(int field, const QString& value) {
    if (field < 0 || field >= int(m_values.size()))
        return;
    const FieldDef& f = m_def->fields[field];
    if (isTextKind(f.kind))
        m_values[field].text = fitText(value, f.width);
    else
        setNumber(field, value.trimmed().toLongLong());
}

void Record::setNumber(int field, qint64 value) {
    if (field < 0 || field >= int(m_values.size()))
        return;
    const FieldDef& f = m_def->fields[field];
    if (isTextKind(f.kind)) {
        m_values[field].text = fitText(QString::number(value), f.width);
        return;
    }
    m_values[field].number = std::clamp(value, minOf(f.kind), maxOf(f.kind));
}

void Record::setValue(int field, const QVariant& value) {
    if (field < 0 || field >= int(m_values.size()))
        return;
    if (isTextKind(m_def->fields[field].kind))
        setText(field, value.toString());
    else if (value.typeId() == QMetaType::QString)
        setText(field, value.toString());
    else
        setNumber(field, value.toLongLong());
}

QVariant Record::value(int field) const {
    if (field < 0 || field >= int(m_values.size()))
        return QVariant();
    if (isTextKind(m_def->fields[field].kind))
        return m_values[field].text;
    return QVariant::fromValue<qint64>(m_values[field].number);
}

QVariant Record::value(const QString& name) const { return m_def ? value(m_def->fieldIndex(name)) : QVariant(); }

bool Record::setValue(const QString& name, const QVariant& v) {
    const int field = m_def ? m_def->fieldIndex(name) : -1;
    if (field < 0)
        return false;
    setValue(field, v);
    return true;
}

void Record::clear() {
    for (Value& v : m_values) {
        v.number = 0;
        v.text.clear();
    }
    m_rowId = 0;
    m_changeCount = 0;
}

bool Record::sameValues(const Record& other) const {
    if (m_def != other.m_def && (!m_def || !other.m_def || m_def->diskName != other.m_def->diskName))
        return false;
    for (size_t i = 0; i < m_values.size(); ++i)
        if (m_values[i].number != other.m_values[i].number || m_values[i].text != other.m_values[i].text)
            return false;
    return true;
}

bool Record::sameKeyValues(int key, const Record& other) const {
    for (int c : m_def->keys[key].components)
        if (m_values[c].number != other.m_values[c].number || m_values[c].text != other.m_values[c].text)
            return false;
    return true;
}

}  // namespace srk
