#include "exchange/CsvWriter.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace srk {

namespace {

constexpr qsizetype kFlushAt = 256 * 1024;

}  // namespace

CsvWriter::~CsvWriter() {
    if (m_fd >= 0)
        ::close(m_fd);
}

void CsvWriter::setError(int code) {
    m_errorCode = code;
    m_errorText = QString::fromLocal8Bit(std::strerror(code));
}

bool CsvWriter::create(const QString& path) {
    m_path = path;
    m_errorCode = 0;
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        setError(errno);
        return false;
    }
    ::close(fd);
    return true;
}

bool CsvWriter::open() {
    const QByteArray name = QFile::encodeName(m_path);
    m_fd = ::open(name.constData(), O_WRONLY | O_CLOEXEC);
    if (m_fd < 0) {
        setError(errno);
        QFile::remove(m_path);
        return false;
    }
    m_written = 0;
    m_pending.clear();
    return true;
}

bool CsvWriter::addLine(QStringView line) {
    // Plain ASCII, most lines, goes straight into the buffer; anything else through the encoder.
    const qsizetype start = m_pending.size();
    m_pending.resize(start + line.size());
    char* out = m_pending.data() + start;
    bool ascii = true;
    for (const QChar c : line) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
        *out++ = char(c.unicode());
    }
    if (!ascii) {
        m_pending.resize(start);
        m_pending.append(line.toUtf8());
    }
    m_pending.append("\r\n", 2);
    return m_pending.size() < kFlushAt || flush();
}

bool CsvWriter::flush() {
    if (m_fd < 0 || m_pending.isEmpty())
        return true;
    qsizetype done = 0;
    while (done < m_pending.size()) {
        const ssize_t n = ::write(m_fd, m_pending.constData() + done, size_t(m_pending.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            setError(n < 0 ? errno : ENOSPC);
            // What went out of this buffer may end mid-line: the file goes back to its last whole line.
            if (::ftruncate(m_fd, m_written) == 0 || done == 0)
                ::lseek(m_fd, m_written, SEEK_SET);
            return false;
        }
        done += n;
    }
    m_written += m_pending.size();
    m_pending.clear();
    return true;
}

void CsvWriter::dropPending() { m_pending.clear(); }

bool CsvWriter::close() {
    if (m_fd < 0)
        return true;
    bool ok = flush();
    if (!ok) {
        dropPending();
    }
    if (::close(m_fd) != 0 && ok) {
        setError(errno);
        ok = false;
    }
    m_fd = -1;
    return ok;
}

}  // namespace srk
