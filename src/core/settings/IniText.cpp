#include "settings/IniText.h"

namespace srk {

namespace {

// 0x80..0x9F of Windows-1252; the rest of the code page is Latin-1.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

QString fromWindows1252(QByteArrayView bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* to = out.data();
    for (const char c : bytes) {
        const uchar b = uchar(c);
        *to++ = (b >= 0x80 && b <= 0x9F) ? QChar(kHighControls[b - 0x80]) : QChar(char16_t(b));
    }
    return out;
}

QString decodeIniText(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        end = end < 0 ? bytes.size() : end + 1;
        const QByteArrayView line(bytes.constData() + start, end - start);
        if (line.isValidUtf8())
            text += QString::fromUtf8(line);
        else
            text += fromWindows1252(line);
        start = end;
    }
    return text;
}

} // namespace srk
