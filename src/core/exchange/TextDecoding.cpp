#include "exchange/TextDecoding.h"

#include <cstdint>
#include <cstring>

namespace srk {

namespace {

// 0x80-0x9F of Windows-1252; the five holes read as the C1 controls they stand on.
constexpr char16_t kHigh1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

bool isValidUtf8(const char* data, qsizetype size, bool partialEnd) {
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    qsizetype i = 0;
    while (i < size) {
        // Plain ASCII, most of any catalogue's text, eight bytes at a time.
        while (size - i >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p + i, 8);
            if (word & 0x8080808080808080ULL)
                break;
            i += 8;
        }
        if (i >= size)
            break;
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int more = 0;
        unsigned char lo = 0x80, hi = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            if (c == 0xE0)
                lo = 0xA0;
            else if (c == 0xED)
                hi = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            if (c == 0xF0)
                lo = 0x90;
            else if (c == 0xF4)
                hi = 0x8F;
        } else {
            return false;
        }
        for (int k = 1; k <= more; ++k) {
            if (i + k >= size)
                return partialEnd;
            const unsigned char n = p[i + k];
            if (k == 1 ? (n < lo || n > hi) : (n < 0x80 || n > 0xBF))
                return false;
        }
        i += more + 1;
    }
    return true;
}

QString decodeWindows1252(const char* data, qsizetype size) {
    QString out(size, Qt::Uninitialized);
    QChar* d = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        const auto c = static_cast<unsigned char>(data[i]);
        d[i] = (c >= 0x80 && c < 0xA0) ? QChar(kHigh1252[c - 0x80]) : QChar(char16_t(c));
    }
    return out;
}

QString decodeText(const char* data, qsizetype size, TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ? QString::fromUtf8(data, size) : decodeWindows1252(data, size);
}

qsizetype characterCount(const char* data, qsizetype size, TextEncoding encoding) {
    if (encoding == TextEncoding::Windows1252)
        return size;
    qsizetype n = 0;
    for (qsizetype i = 0; i < size; ++i)
        if ((static_cast<unsigned char>(data[i]) & 0xC0) != 0x80)
            ++n;
    return n;
}

}  // namespace srk
