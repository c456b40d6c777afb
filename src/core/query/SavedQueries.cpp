#include "query/SavedQueries.h"

#include "store/FoldCollation.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace srk {

namespace {

const QByteArray Header = QByteArrayLiteral("SKRQUERY 1");
// Far beyond any real list; keeps a huge foreign file from being read whole.
constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;

QString escaped(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\\'))
            out += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\t'))
            out += QStringLiteral("\\t");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else
            out += c;
    }
    return out;
}

std::optional<QString> unescaped(const QString& text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\')) {
            out += c;
            continue;
        }
        if (++i >= text.size())
            return std::nullopt;
        const QChar e = text.at(i);
        if (e == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        else if (e == QLatin1Char('t'))
            out += QLatin1Char('\t');
        else if (e == QLatin1Char('n'))
            out += QLatin1Char('\n');
        else
            return std::nullopt;
    }
    return out;
}

bool sameName(const QString& a, const QString& b) { return compareFolded(a, b) == 0; }

}  // namespace

SavedQueries::SavedQueries(const QString& folder) : m_folder(folder) {}

QString SavedQueries::path() const { return QDir(m_folder).filePath(fileName()); }

bool SavedQueries::fail(const QString& message) {
    m_error = message;
    return false;
}

bool SavedQueries::load() {
    m_entries.clear();
    m_error.clear();
    QFile file(path());
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("The saved queries file %1 cannot be read: %2").arg(path(), file.errorString()));
    if (file.size() > MaxFileBytes)
        return fail(QStringLiteral("The saved queries file %1 is not a saved queries file").arg(path()));
    const QByteArray data = file.readAll();
    QList<QByteArray> lines = data.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.isEmpty() || lines.first() != Header)
        return fail(QStringLiteral("The saved queries file %1 is not a saved queries file").arg(path()));
    QVector<Entry> entries;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString line = QString::fromUtf8(lines[i]);
        const QStringList fields = line.split(QLatin1Char('\t'));
        std::optional<QString> set, description, query;
        if (fields.size() == 3 && line.toUtf8() == lines[i]) {
            set = unescaped(fields[0]);
            description = unescaped(fields[1]);
            query = unescaped(fields[2]);
        }
        if (!set || !description || !query || set->isEmpty() || description->isEmpty())
            return fail(QStringLiteral("The saved queries file %1 is damaged at line %2").arg(path()).arg(i + 1));
        entries.push_back({*set, *description, *query});
    }
    m_entries = entries;
    return true;
}

int SavedQueries::find(const QString& set, const QString& description) const {
    for (int i = 0; i < m_entries.size(); ++i) {
        if (sameName(m_entries[i].set, set) && sameName(m_entries[i].description, description))
            return i;
    }
    return -1;
}

QStringList SavedQueries::descriptions(const QString& set) const {
    QStringList out;
    for (const Entry& e : m_entries) {
        if (sameName(e.set, set))
            out << e.description;
    }
    return out;
}

std::optional<QString> SavedQueries::query(const QString& set, const QString& description) const {
    const int i = find(set, description);
    if (i < 0)
        return std::nullopt;
    return m_entries[i].query;
}

bool SavedQueries::save(const QString& set, const QString& description, const QString& query) {
    if (set.trimmed().isEmpty() || description.trimmed().isEmpty())
        return fail(QStringLiteral("A saved query needs a description"));
    if (find(set, description) >= 0)
        return fail(QStringLiteral("A query named \"%1\" is already saved").arg(description));
    m_entries.push_back({set, description, query});
    if (!write()) {
        m_entries.removeLast();
        return false;
    }
    return true;
}

bool SavedQueries::change(const QString& set, const QString& description, const QString& newDescription,
                          const QString& query) {
    const int i = find(set, description);
    if (i < 0)
        return fail(QStringLiteral("No query named \"%1\" is saved").arg(description));
    if (newDescription.trimmed().isEmpty())
        return fail(QStringLiteral("A saved query needs a description"));
    const int other = find(set, newDescription);
    if (other >= 0 && other != i)
        return fail(QStringLiteral("A query named \"%1\" is already saved").arg(newDescription));
    const Entry old = m_entries[i];
    m_entries[i].description = newDescription;
    m_entries[i].query = query;
    if (!write()) {
        m_entries[i] = old;
        return false;
    }
    return true;
}

bool SavedQueries::remove(const QString& set, const QString& description) {
    const int i = find(set, description);
    if (i < 0)
        return fail(QStringLiteral("No query named \"%1\" is saved").arg(description));
    const Entry old = m_entries[i];
    m_entries.removeAt(i);
    if (!write()) {
        m_entries.insert(i, old);
        return false;
    }
    return true;
}

bool SavedQueries::write() {
    QSaveFile file(path());
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("The saved queries file %1 cannot be written: %2").arg(path(), file.errorString()));
    QByteArray data = Header + '\n';
    for (const Entry& e : std::as_const(m_entries)) {
        data += escaped(e.set).toUtf8() + '\t' + escaped(e.description).toUtf8() + '\t' + escaped(e.query).toUtf8()
                + '\n';
    }
    file.write(data);
    if (!file.commit())
        return fail(QStringLiteral("The saved queries file %1 cannot be written: %2").arg(path(), file.errorString()));
    m_error.clear();
    return true;
}

}  // namespace srk
