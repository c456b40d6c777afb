#pragma once

#include <QString>
#include <QStringList>

namespace srk {

// The pages a report run has made, in order: one page file each in a folder of the run's own under the
// system temp folder. An entry is the page file's name within that folder (never longer than 80
// characters). Dropping an entry deletes its file; the folder goes when the list is destroyed.
//
// The folder carries its owner's process id (in its name and in a marker file), so a later start can
// remove the folders of processes that died in the middle of a run without touching a running one's.
class ReportPageList {
public:
    static constexpr int kMaxEntryLength = 80;

    // `base` is the folder holding every run's folder; empty means the default one.
    explicit ReportPageList(const QString& base = QString());
    ~ReportPageList();
    ReportPageList(const ReportPageList&) = delete;
    ReportPageList& operator=(const ReportPageList&) = delete;

    // False when the run's folder could not be made (errorString says why).
    bool isUsable() const { return !m_folder.isEmpty(); }
    const QString& errorString() const { return m_error; }
    const QString& folder() const { return m_folder; }

    int count() const { return int(m_entries.size()); }
    bool isEmpty() const { return m_entries.isEmpty(); }
    const QString& entry(int index) const { return m_entries.at(index); }
    QString path(int index) const;

    // Where the page-count marker first stands in a page file, as its writer tells the list.
    static constexpr qint32 kNoMarker = -1;       // none, or already replaced
    static constexpr qint32 kMarkerUnknown = -2;  // not told: the file has to be searched

    // The path the next page is to be written to; the page counts once append() is called, with the
    // byte offset of the page's first page-count marker when the writer knows it.
    QString nextPagePath() const;
    void append(qint32 markerAt = kMarkerUnknown);
    qint32 markerAt(int index) const { return m_markers.at(index); }
    void setMarkerAt(int index, qint32 markerAt) { m_markers[index] = markerAt; }

    // Deletes the page's file and drops its entry; later pages move up.
    void removeAt(int index);
    // Keeps only the pages whose positions (0-based) are listed, in their order; the others are deleted.
    void keepOnly(const QList<int>& indexes);
    void clear();

    // The default base folder: "sonorika-reports" in the system temp folder.
    static QString defaultBase();
    // Removes the run folders under `base` whose owner process is no longer running. Returns how many.
    static int removeStaleFolders(const QString& base = QString());
    // Whether a process with that id and marker text (see ownerMarker) is running now.
    static bool ownerIsRunning(const QString& markerText);
    // The marker text of a process: its id and, where the system tells it, its start time, so that a
    // later process given the same id is not taken for the owner.
    static QString ownerMarker(qint64 pid);
    static QString markerFileName() { return QStringLiteral("owner.pid"); }

private:
    QString m_folder;
    QString m_error;
    QStringList m_entries;
    QList<qint32> m_markers;  // one per entry
    int m_serial = 0;
};

}  // namespace srk
