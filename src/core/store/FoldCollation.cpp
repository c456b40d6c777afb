#include "store/FoldCollation.h"

#include <QChar>
#include <QByteArray>

#include <cstdint>
#include <cstring>

#include <sqlite3.h>

namespace srk {

namespace {

// Decodes one code point; malformed bytes are taken one at a time as their own value so that
// comparison stays total and stable.
char32_t decode(const unsigned char*& p, const unsigned char* end) {
    const unsigned char c = *p;
    int extra = 0;
    char32_t cp = 0;
    if (c < 0x80) {
        ++p;
        return c;
    } else if ((c & 0xE0) == 0xC0) {
        extra = 1;
        cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        extra = 2;
        cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        extra = 3;
        cp = c & 0x07;
    } else {
        ++p;
        return 0xDC00 + c;
    }
    if (end - p <= extra) {
        ++p;
        return 0xDC00 + c;
    }
    for (int i = 1; i <= extra; ++i) {
        if ((p[i] & 0xC0) != 0x80) {
            ++p;
            return 0xDC00 + c;
        }
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    p += extra + 1;
    return cp;
}

inline char32_t fold(char32_t cp) {
    if (cp < 0x80)
        return (cp >= 'A' && cp <= 'Z') ? cp + 32 : cp;
    return QChar::toCaseFolded(cp);
}

int trimmedLength(const char* s, int n) {
    while (n > 0 && s[n - 1] == ' ')
        --n;
    return n;
}

int collate(void*, int na, const void* a, int nb, const void* b) {
    return compareFolded(static_cast<const char*>(a), na, static_cast<const char*>(b), nb);
}

}  // namespace

int compareFolded(const char* a, int lengthA, const char* b, int lengthB) {
    const auto* pa = reinterpret_cast<const unsigned char*>(a);
    const auto* pb = reinterpret_cast<const unsigned char*>(b);
    const auto* ea = pa + trimmedLength(a, lengthA);
    const auto* eb = pb + trimmedLength(b, lengthB);
    while (pa < ea && pb < eb) {
        // Keys are sorted, so neighbours share long beginnings: equal runs of plain ASCII are skipped
        // eight bytes at a time (equal ASCII folds equal, and ends on a character boundary).
        while (ea - pa >= 8 && eb - pb >= 8) {
            std::uint64_t wa, wb;
            std::memcpy(&wa, pa, 8);
            std::memcpy(&wb, pb, 8);
            if (wa != wb || (wa & 0x8080808080808080ULL) != 0)
                break;
            pa += 8;
            pb += 8;
        }
        if (pa >= ea || pb >= eb)
            break;
        // Fast path for plain ASCII, which most catalogue text is.
        if (*pa < 0x80 && *pb < 0x80) {
            unsigned char ca = *pa, cb = *pb;
            if (ca >= 'A' && ca <= 'Z')
                ca += 32;
            if (cb >= 'A' && cb <= 'Z')
                cb += 32;
            if (ca != cb)
                return ca < cb ? -1 : 1;
            ++pa;
            ++pb;
            continue;
        }
        const char32_t ca = fold(decode(pa, ea));
        const char32_t cb = fold(decode(pb, eb));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (pa < ea)
        return 1;
    if (pb < eb)
        return -1;
    return 0;
}

int compareFolded(const QString& a, const QString& b) {
    const QByteArray ua = a.toUtf8(), ub = b.toUtf8();
    return compareFolded(ua.constData(), int(ua.size()), ub.constData(), int(ub.size()));
}

bool registerFoldCollation(sqlite3* db) {
    return sqlite3_create_collation(db, "SRK", SQLITE_UTF8, nullptr, &collate) == SQLITE_OK;
}

}  // namespace srk
