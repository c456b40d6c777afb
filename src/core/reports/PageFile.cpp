#include "reports/PageFile.h"

#include <QFile>

#include <charconv>
#include <cstring>
#include <initializer_list>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace srk {

namespace {

const char kMagic[] = "SRKPAGE 1";

QString unescaped(QByteArrayView bytes) {
    if (!bytes.contains('\\'))
        return QString::fromUtf8(bytes);
    QByteArray out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\\' && i + 1 < bytes.size()) {
            ++i;
            out += bytes[i] == 'n' ? '\n' : bytes[i];
        } else {
            out += bytes[i];
        }
    }
    return QString::fromUtf8(out);
}

char alignLetter(PageAlign a) { return a == PageAlign::Center ? 'C' : a == PageAlign::Right ? 'R' : 'L'; }

// Splits off `count` blank-separated numbers or words; the rest of the line is left in `rest`.
bool splitFields(QByteArrayView line, int count, QVector<QByteArrayView>& fields, QByteArrayView& rest) {
    fields.clear();
    qsizetype pos = 0;
    for (int i = 0; i < count; ++i) {
        const qsizetype blank = line.indexOf(' ', pos);
        if (blank < 0) {
            if (i != count - 1)
                return false;
            fields.append(line.sliced(pos));
            pos = line.size();
            rest = {};
            return true;
        }
        fields.append(line.sliced(pos, blank - pos));
        pos = blank + 1;
    }
    rest = line.sliced(pos);
    return true;
}

int number(QByteArrayView field, bool& ok) {
    bool good = false;
    const int v = field.toInt(&good);
    ok = ok && good;
    return v;
}

}  // namespace

namespace {

// Page files are written for every page of every report: numbers and texts are appended in place,
// without a temporary string per field.
void appendNumber(QByteArray& out, int value) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr - digits);
}

void appendFields(QByteArray& out, char kind, std::initializer_list<int> numbers) {
    out.append(kind);
    for (int n : numbers) {
        out.append(' ');
        appendNumber(out, n);
    }
    out.append(' ');
}

// The text as UTF-8 with "\\" and "\n" written for backslashes and line breaks (carriage returns dropped).
void appendEscaped(QByteArray& out, QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x80) {
            // Rare in most catalogues: the rest goes through the converter, then gets its escapes.
            const QByteArray rest = text.sliced(i).toUtf8();
            for (char b : rest) {
                if (b == '\\')
                    out.append("\\\\", 2);
                else if (b == '\n')
                    out.append("\\n", 2);
                else if (b != '\r')
                    out.append(b);
            }
            return;
        }
        if (c == u'\\')
            out.append("\\\\", 2);
        else if (c == u'\n')
            out.append("\\n", 2);
        else if (c != u'\r')
            out.append(char(c));
    }
}

}  // namespace

PageWriter::PageWriter(int width, int height) {
    m_bytes.reserve(8192);
    m_bytes += kMagic;
    m_bytes += '\n';
    appendFields(m_bytes, 'P', {width, height});
    m_bytes.chop(1);
    m_bytes += '\n';
}

void PageWriter::font(const PageFont& font) {
    if (m_haveFont && font == m_font)
        return;
    m_font = font;
    m_haveFont = true;
    appendFields(m_bytes, 'F', {font.rgb, font.tenthsOfPoint, font.flags});
    appendEscaped(m_bytes, font.face);
    m_bytes += '\n';
}

void PageWriter::text(int x, int y, int w, int h, PageAlign align, QStringView text) {
    appendFields(m_bytes, 'T', {x, y, w, h});
    m_bytes += alignLetter(align);
    m_bytes += ' ';
    appendEscaped(m_bytes, text);
    m_bytes += '\n';
}

void PageWriter::line(int x1, int y1, int x2, int y2, int pen) {
    appendFields(m_bytes, 'L', {x1, y1, x2, y2, pen});
    m_bytes.chop(1);
    m_bytes += '\n';
}

void PageWriter::box(int x, int y, int w, int h, int pen, int fill) {
    appendFields(m_bytes, 'R', {x, y, w, h, pen, fill});
    m_bytes.chop(1);
    m_bytes += '\n';
}

void PageWriter::image(int x, int y, int w, int h, const QString& path) {
    appendFields(m_bytes, 'I', {x, y, w, h});
    appendEscaped(m_bytes, path);
    m_bytes += '\n';
}

bool PageWriter::save(const QString& path, QString* error) const {
#ifdef Q_OS_UNIX
    // One open, one write, one close: a report writes thousands of these, and QFile adds a stat to each.
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    bool ok = fd >= 0;
    int why = ok ? 0 : errno;
    for (qsizetype done = 0; ok && done < m_bytes.size();) {
        const ssize_t n = ::write(fd, m_bytes.constData() + done, size_t(m_bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = false;
            why = n < 0 ? errno : ENOSPC;
            break;
        }
        done += n;
    }
    if (fd >= 0 && ::close(fd) != 0 && ok) {
        ok = false;
        why = errno;
    }
    if (!ok && error)
        *error = QString::fromLocal8Bit(std::strerror(why));
    return ok;
#else
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(m_bytes) != m_bytes.size()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
#endif
}

bool readPage(const QString& path, Page& out, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return parsePage(file.readAll(), out, error);
}

bool parsePage(const QByteArray& bytes, Page& out, QString* error) {
    out = Page();
    if (!bytes.startsWith(kMagic)) {
        if (error)
            *error = QStringLiteral("not a page file");
        return false;
    }
    QVector<QByteArrayView> f;
    QByteArrayView rest;
    qsizetype start = bytes.indexOf('\n');
    while (start >= 0 && start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start + 1);
        if (end < 0)
            end = bytes.size();
        QByteArrayView line = QByteArrayView(bytes).sliced(start + 1, end - start - 1);
        start = end;
        if (line.size() < 2 || line[1] != ' ')
            continue;
        const char kind = line[0];
        line = line.sliced(2);
        bool ok = true;
        PageItem item;
        switch (kind) {
        case 'P':
            if (splitFields(line, 2, f, rest)) {
                const int w = number(f[0], ok), h = number(f[1], ok);
                if (ok) {
                    out.width = w;
                    out.height = h;
                }
            }
            continue;
        case 'F':
            if (!splitFields(line, 3, f, rest))
                continue;
            item.kind = PageItem::Font;
            item.font.rgb = number(f[0], ok);
            item.font.tenthsOfPoint = number(f[1], ok);
            item.font.flags = number(f[2], ok);
            item.font.face = unescaped(rest);
            break;
        case 'T':
            if (!splitFields(line, 5, f, rest) || f[4].size() != 1)
                continue;
            item.kind = PageItem::Text;
            item.x = number(f[0], ok);
            item.y = number(f[1], ok);
            item.w = number(f[2], ok);
            item.h = number(f[3], ok);
            item.align = f[4][0] == 'C' ? PageAlign::Center : f[4][0] == 'R' ? PageAlign::Right : PageAlign::Left;
            item.text = unescaped(rest);
            break;
        case 'L':
            if (!splitFields(line, 5, f, rest))
                continue;
            item.kind = PageItem::Line;
            item.x = number(f[0], ok);
            item.y = number(f[1], ok);
            item.w = number(f[2], ok);
            item.h = number(f[3], ok);
            item.pen = number(f[4], ok);
            break;
        case 'R':
            if (!splitFields(line, 6, f, rest))
                continue;
            item.kind = PageItem::Box;
            item.x = number(f[0], ok);
            item.y = number(f[1], ok);
            item.w = number(f[2], ok);
            item.h = number(f[3], ok);
            item.pen = number(f[4], ok);
            item.fill = number(f[5], ok);
            break;
        case 'I':
            if (!splitFields(line, 4, f, rest))
                continue;
            item.kind = PageItem::Image;
            item.x = number(f[0], ok);
            item.y = number(f[1], ok);
            item.w = number(f[2], ok);
            item.h = number(f[3], ok);
            item.text = unescaped(rest);
            break;
        default:
            continue;
        }
        if (ok)
            out.items.append(item);
    }
    return true;
}

}  // namespace srk
