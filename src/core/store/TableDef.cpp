#include "store/TableDef.h"

namespace srk {

namespace {

QString stripPrefix(const QString& name, const QString& prefix) {
    const int colon = name.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return name;
    if (name.left(colon).compare(prefix, Qt::CaseInsensitive) != 0)
        return QString();
    return name.mid(colon + 1);
}

int byteWidth(const FieldDef& f) {
    switch (f.kind) {
    case FieldKind::Text: return f.width;
    case FieldKind::Int32:
    case FieldKind::Date:
    case FieldKind::Time: return 4;
    case FieldKind::UInt8: return 1;
    case FieldKind::Dec6: return 6;
    case FieldKind::Dec2: return 2;
    case FieldKind::Memo: return 0;
    }
    return 0;
}

}  // namespace

int TableDef::fieldIndex(const QString& name) const {
    const QString bare = stripPrefix(name, prefix);
    if (bare.isEmpty())
        return -1;
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(bare, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int TableDef::keyIndex(const QString& name) const {
    const QString bare = stripPrefix(name, prefix);
    if (bare.isEmpty())
        return -1;
    for (int i = 0; i < keys.size(); ++i)
        if (keys[i].name.compare(bare, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int TableDef::primaryKey() const {
    for (int i = 0; i < keys.size(); ++i)
        if (keys[i].primary)
            return i;
    return -1;
}

int TableDef::recordBytes() const {
    int total = 0;
    for (const FieldDef& f : fields)
        total += byteWidth(f);
    return total;
}

}  // namespace srk
