#include "reports/PageFile.h"

#include <QFile>

namespace srk {

namespace {

const char kMagic[] = "SRKPAGE 1";

QByteArray escaped(const QString& text) {
    QByteArray utf8 = text.toUtf8();
    if (!utf8.contains('\\') && !utf8.contains('\n') && !utf8.contains('\r'))
        return utf8;
    QByteArray out;
    out.reserve(utf8.size() + 8);
    for (char c : utf8) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c != '\r')
            out += c;
    }
    return out;
}

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

PageWriter::PageWriter(int width, int height) {
    m_bytes.reserve(4096);
    m_bytes += kMagic;
    m_bytes += "\nP " + QByteArray::number(width) + ' ' + QByteArray::number(height) + '\n';
}

void PageWriter::font(const PageFont& font) {
    if (m_haveFont && font == m_font)
        return;
    m_font = font;
    m_haveFont = true;
    m_bytes += "F " + QByteArray::number(font.rgb) + ' ' + QByteArray::number(font.tenthsOfPoint) + ' ' +
               QByteArray::number(font.flags) + ' ' + escaped(font.face) + '\n';
}

void PageWriter::text(int x, int y, int w, int h, PageAlign align, const QString& text) {
    m_bytes += "T " + QByteArray::number(x) + ' ' + QByteArray::number(y) + ' ' + QByteArray::number(w) + ' ' +
               QByteArray::number(h) + ' ' + alignLetter(align) + ' ' + escaped(text) + '\n';
}

void PageWriter::line(int x1, int y1, int x2, int y2, int pen) {
    m_bytes += "L " + QByteArray::number(x1) + ' ' + QByteArray::number(y1) + ' ' + QByteArray::number(x2) + ' ' +
               QByteArray::number(y2) + ' ' + QByteArray::number(pen) + '\n';
}

void PageWriter::box(int x, int y, int w, int h, int pen, int fill) {
    m_bytes += "R " + QByteArray::number(x) + ' ' + QByteArray::number(y) + ' ' + QByteArray::number(w) + ' ' +
               QByteArray::number(h) + ' ' + QByteArray::number(pen) + ' ' + QByteArray::number(fill) + '\n';
}

void PageWriter::image(int x, int y, int w, int h, const QString& path) {
    m_bytes += "I " + QByteArray::number(x) + ' ' + QByteArray::number(y) + ' ' + QByteArray::number(w) + ' ' +
               QByteArray::number(h) + ' ' + escaped(path) + '\n';
}

bool PageWriter::save(const QString& path, QString* error) const {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(m_bytes) != m_bytes.size()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
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
