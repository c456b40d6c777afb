#include "reports/ReportPageList.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <csignal>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <sys/types.h>
#include <signal.h>
#endif
#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace srk {

namespace {

QAtomicInt g_runSerial;

// Field 22 of /proc/<pid>/stat: the process's start time in clock ticks after boot. Empty elsewhere.
QString startTimeOf(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray text = stat.readAll();
    // The command name in parentheses may hold blanks; count fields after its closing parenthesis.
    const qsizetype close = text.lastIndexOf(')');
    if (close < 0)
        return {};
    const QList<QByteArray> fields = text.mid(close + 2).split(' ');
    // Fields after the name start at field 3.
    return fields.size() > 19 ? QString::fromLatin1(fields[19]) : QString();
}

bool processExists(qint64 pid) {
    if (pid <= 0)
        return false;
#ifdef Q_OS_UNIX
    if (::kill(pid_t(pid), 0) == 0)
        return true;
    return errno == EPERM;
#else
    return true;
#endif
}

// Marks the folder holding the run folders as the top of unrelated trees, so that the file system
// places each run's folder (and with it its pages) away from its siblings. Without it, on file systems
// that avoid reusing just-freed file entries, a run made soon after another one deleted its pages
// searches past all of them for every page it creates, which can cost a millisecond a page. A hint
// only: where it cannot be set nothing changes.
void spreadRunFolders(const QString& root) {
#ifdef Q_OS_LINUX
    const int fd = ::open(QFile::encodeName(root).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    int flags = 0;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && !(flags & FS_TOPDIR_FL)) {
        flags |= FS_TOPDIR_FL;
        ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
    }
    ::close(fd);
#else
    Q_UNUSED(root);
#endif
}

}  // namespace

QString ReportPageList::defaultBase() { return QDir::tempPath() + QStringLiteral("/sonorika-reports"); }

QString ReportPageList::ownerMarker(qint64 pid) {
    const QString start = startTimeOf(pid);
    return start.isEmpty() ? QString::number(pid) : QString::number(pid) + QLatin1Char(' ') + start;
}

bool ReportPageList::ownerIsRunning(const QString& markerText) {
    const QStringList parts = markerText.simplified().split(QLatin1Char(' '));
    bool ok = false;
    const qint64 pid = parts.value(0).toLongLong(&ok);
    if (!ok || !processExists(pid))
        return false;
    if (parts.size() < 2)
        return true;
    const QString start = startTimeOf(pid);
    return start.isEmpty() || start == parts[1];
}

ReportPageList::ReportPageList(const QString& base) {
    const QString root = base.isEmpty() ? defaultBase() : base;
    const qint64 pid = QCoreApplication::applicationPid();
    QDir dir;
    if (!dir.mkpath(root)) {
        m_error = QStringLiteral("Cannot create the folder %1").arg(QDir::toNativeSeparators(root));
        return;
    }
    spreadRunFolders(root);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString folder =
            QStringLiteral("%1/run-%2-%3").arg(root).arg(pid).arg(g_runSerial.fetchAndAddRelaxed(1) + 1);
        if (QDir(folder).exists() || !dir.mkdir(folder))
            continue;
        QFile marker(folder + QLatin1Char('/') + markerFileName());
        if (!marker.open(QIODevice::WriteOnly) || marker.write(ownerMarker(pid).toUtf8()) < 0) {
            m_error = marker.errorString();
            QDir(folder).removeRecursively();
            return;
        }
        m_folder = folder;
        return;
    }
    m_error = QStringLiteral("Cannot create a report folder in %1").arg(QDir::toNativeSeparators(root));
}

ReportPageList::~ReportPageList() {
    if (!m_folder.isEmpty())
        QDir(m_folder).removeRecursively();
}

QString ReportPageList::path(int index) const { return m_folder + QLatin1Char('/') + m_entries.at(index); }

QString ReportPageList::nextPagePath() const {
    return m_folder + QStringLiteral("/page%1.srp").arg(m_serial + 1, 6, 10, QLatin1Char('0'));
}

void ReportPageList::append(qint32 markerAt) {
    ++m_serial;
    m_entries.append(QStringLiteral("page%1.srp").arg(m_serial, 6, 10, QLatin1Char('0')));
    m_markers.append(markerAt < 0 ? (markerAt == kNoMarker ? kNoMarker : kMarkerUnknown) : markerAt);
}

void ReportPageList::removeAt(int index) {
    if (index < 0 || index >= m_entries.size())
        return;
    QFile::remove(path(index));
    m_entries.removeAt(index);
    m_markers.removeAt(index);
}

void ReportPageList::keepOnly(const QList<int>& indexes) {
    QStringList kept;
    QList<qint32> keptMarkers;
    QList<bool> keep(m_entries.size(), false);
    for (int i : indexes)
        if (i >= 0 && i < m_entries.size() && !keep[i]) {
            keep[i] = true;
            kept.append(m_entries[i]);
            keptMarkers.append(m_markers[i]);
        }
    for (int i = 0; i < m_entries.size(); ++i)
        if (!keep[i])
            QFile::remove(path(i));
    m_entries = kept;
    m_markers = keptMarkers;
}

void ReportPageList::clear() {
    for (int i = 0; i < m_entries.size(); ++i)
        QFile::remove(path(i));
    m_entries.clear();
    m_markers.clear();
}

int ReportPageList::removeStaleFolders(const QString& base) {
    const QDir root(base.isEmpty() ? defaultBase() : base);
    int removed = 0;
    const QStringList folders = root.entryList({QStringLiteral("run-*")}, QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : folders) {
        const QString folder = root.filePath(name);
        QFile marker(folder + QLatin1Char('/') + markerFileName());
        QString owner;
        if (marker.open(QIODevice::ReadOnly))
            owner = QString::fromUtf8(marker.readAll()).trimmed();
        // Made but not yet marked, or its marker still being written: the id in its name decides.
        if (owner.isEmpty())
            owner = name.section(QLatin1Char('-'), 1, 1);
        if (ownerIsRunning(owner))
            continue;
        if (QDir(folder).removeRecursively())
            ++removed;
    }
    return removed;
}

}  // namespace srk
