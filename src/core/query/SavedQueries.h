#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace srk {

// The named queries the wizard saves, kept in "SKRQUERY" in the data folder, by query set ("SONGS")
// and description. Set names and descriptions ignore letter case.
//
// File format (UTF-8 text): the first line is "SKRQUERY 1"; then one query a line, three fields
// separated by a tab: set, description, query text. Inside a field "\\" stands for a backslash,
// "\t" for a tab and "\n" for a line break. Anything else makes the whole file unreadable.
class SavedQueries {
public:
    struct Entry {
        QString set;
        QString description;
        QString query;
    };

    explicit SavedQueries(const QString& folder);

    static QString fileName() { return QStringLiteral("SKRQUERY"); }
    QString path() const;

    // Reads the file. A missing file is an empty list; a damaged one gives an empty list, false and error().
    bool load();
    const QString& error() const { return m_error; }

    // Descriptions of one set, in the order saved.
    QStringList descriptions(const QString& set) const;
    std::optional<QString> query(const QString& set, const QString& description) const;

    // Each change is written at once. False (and error()) when the file cannot be written or the
    // description is empty, already taken (save, change) or unknown (change, remove).
    bool save(const QString& set, const QString& description, const QString& query);
    bool change(const QString& set, const QString& description, const QString& newDescription, const QString& query);
    bool remove(const QString& set, const QString& description);

private:
    int find(const QString& set, const QString& description) const;
    bool write();
    bool fail(const QString& message);

    QString m_folder;
    QVector<Entry> m_entries;
    QString m_error;
};

}  // namespace srk
