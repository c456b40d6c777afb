#include "query/QueryFunctions.h"

#include "query/QueryValue.h"

#include <QChar>

#include <algorithm>
#include <vector>

#include <sqlite3.h>

namespace srk {

namespace {

// Decodes UTF-8 into case-folded code points. Runs once per row in a search over a whole table,
// so it works on the engine's bytes without building strings.
void foldUtf8(const unsigned char* p, int bytes, std::vector<char32_t>& out) {
    out.clear();
    const unsigned char* end = p + bytes;
    while (p < end) {
        const unsigned char b = *p;
        char32_t c;
        int more;
        if (b < 0x80) {
            out.push_back(b >= 'A' && b <= 'Z' ? char32_t(b + 32) : char32_t(b));
            ++p;
            continue;
        }
        if ((b & 0xE0) == 0xC0) {
            c = b & 0x1F;
            more = 1;
        } else if ((b & 0xF0) == 0xE0) {
            c = b & 0x0F;
            more = 2;
        } else if ((b & 0xF8) == 0xF0) {
            c = b & 0x07;
            more = 3;
        } else {
            c = 0xFFFD;
            more = 0;
        }
        ++p;
        for (; more > 0 && p < end && (*p & 0xC0) == 0x80; --more, ++p)
            c = (c << 6) | (*p & 0x3F);
        if (more > 0)
            c = 0xFFFD;
        out.push_back(QChar::toCaseFolded(c));
    }
}

struct FoldedNeedle {
    std::vector<char32_t> chars;
};

void deleteNeedle(void* p) {
    delete static_cast<FoldedNeedle*>(p);
}

void foldedInstr(sqlite3_context* context, int argc, sqlite3_value** argv) {
    if (argc != 2) {
        sqlite3_result_error(context, "srk_instr takes two arguments", -1);
        return;
    }
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_int64(context, sqlite3_value_type(argv[0]) == SQLITE_NULL ? 1 : 0);
        return;
    }
    // The needle is mostly a bound constant: fold it once per statement.
    auto* needle = static_cast<FoldedNeedle*>(sqlite3_get_auxdata(context, 0));
    if (!needle) {
        needle = new FoldedNeedle;
        foldUtf8(sqlite3_value_text(argv[0]), sqlite3_value_bytes(argv[0]), needle->chars);
        sqlite3_set_auxdata(context, 0, needle, &deleteNeedle);
        needle = static_cast<FoldedNeedle*>(sqlite3_get_auxdata(context, 0));
        if (!needle) {
            // The engine would not keep it (not a constant): fold for this row only.
            thread_local FoldedNeedle once;
            foldUtf8(sqlite3_value_text(argv[0]), sqlite3_value_bytes(argv[0]), once.chars);
            needle = &once;
        }
    }
    thread_local std::vector<char32_t> hay;
    foldUtf8(sqlite3_value_text(argv[1]), sqlite3_value_bytes(argv[1]), hay);
    const std::vector<char32_t>& n = needle->chars;
    if (n.empty()) {
        sqlite3_result_int64(context, 1);
        return;
    }
    const auto found = std::search(hay.begin(), hay.end(), n.begin(), n.end());
    sqlite3_result_int64(context, found == hay.end() ? 0 : qint64(found - hay.begin()) + 1);
}

}  // namespace

bool registerQueryFunctions(sqlite3* db) {
    return sqlite3_create_function_v2(db, "srk_instr", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, &foldedInstr,
                                      nullptr, nullptr, nullptr)
           == SQLITE_OK;
}

}  // namespace srk
