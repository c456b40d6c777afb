#include "query/QueryFieldList.h"

#include "text/Picture.h"

namespace srk {

namespace {

// "PREFIX:Name": letters, digits and "_" on both sides of one colon.
bool isFieldName(const QString& name) {
    const qsizetype colon = name.indexOf(QLatin1Char(':'));
    if (colon <= 0 || colon == name.size() - 1 || name.indexOf(QLatin1Char(':'), colon + 1) >= 0)
        return false;
    for (QChar c : name)
        if (c != QLatin1Char(':') && c != QLatin1Char('_') && !(c.unicode() < 0x80 && c.isLetterOrNumber()))
            return false;
    return true;
}

int readEntry(const QString& entry, QueryField& out) {
    const QStringList parts = entry.split(QChar(QueryFieldList::PartSeparator));
    // The choice values may be left off altogether.
    if (parts.size() != 7 && parts.size() != 8)
        return QueryFieldList::WrongPartCount;
    out.caption = parts[0].trimmed();
    if (out.caption.isEmpty())
        return QueryFieldList::NoCaption;
    if (parts[1].trimmed() != QLatin1String("0"))
        return QueryFieldList::BadMarker;
    out.field = parts[2].trimmed();
    if (!isFieldName(out.field))
        return QueryFieldList::BadFieldName;
    out.picture = parts[3].trimmed();
    if (!out.picture.startsWith(QLatin1Char('@')) || !parsePicture(out.picture).isValid())
        return QueryFieldList::BadPicture;
    bool ok = false;
    out.size = parts[4].trimmed().toInt(&ok);
    if (!ok || out.size <= 0)
        return QueryFieldList::BadSize;
    const int kind = parts[5].trimmed().toInt(&ok);
    if (!ok || (kind != 1 && kind != 2))
        return QueryFieldList::BadKind;
    out.numeric = kind == 2;
    const int style = parts[6].trimmed().toInt(&ok);
    if (!ok || (style != 1 && style != 3))
        return QueryFieldList::BadInputStyle;
    out.choiceList = style == 3;
    // Choices keep their blanks: " (N/A)" stands for a blank one-character value.
    if (parts.size() == 8 && !parts[7].isEmpty())
        out.choices = parts[7].split(QLatin1Char('|'));
    if (out.choiceList && out.choices.isEmpty())
        return QueryFieldList::NoChoices;
    return QueryFieldList::NoError;
}

} // namespace

QueryFieldList QueryFieldList::parse(const QString& text) {
    QueryFieldList list;
    QStringList entries = text.split(QChar(EntrySeparator));
    // A separator after the last entry is harmless.
    if (entries.size() > 1 && entries.last().trimmed().isEmpty())
        entries.removeLast();
    if (text.trimmed().isEmpty()) {
        list.m_error = EmptyText;
        return list;
    }
    for (qsizetype i = 0; i < entries.size(); ++i) {
        QueryField field;
        const int error = readEntry(entries[i], field);
        if (error != NoError) {
            list.m_fields.clear();
            list.m_error = error;
            list.m_errorEntry = int(i) + 1;
            return list;
        }
        list.m_fields.append(field);
    }
    return list;
}

QString QueryFieldList::text() const {
    QStringList entries;
    for (const QueryField& f : m_fields) {
        const QStringList parts{f.caption,
                                QStringLiteral("0"),
                                f.field,
                                f.picture,
                                QString::number(f.size),
                                QString::number(f.numeric ? 2 : 1),
                                QString::number(f.choiceList ? 3 : 1),
                                f.choices.join(QLatin1Char('|'))};
        entries << parts.join(QChar(PartSeparator));
    }
    return entries.join(QChar(EntrySeparator));
}

int QueryFieldList::indexOf(const QString& field) const {
    for (qsizetype i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].field.compare(field, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

} // namespace srk
