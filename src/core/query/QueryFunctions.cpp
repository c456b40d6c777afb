#include "query/QueryFunctions.h"

#include "query/QueryValue.h"

#include <QString>

#include <sqlite3.h>

namespace srk {

namespace {

QString textArgument(sqlite3_value* v) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return text ? QString::fromUtf8(text, sqlite3_value_bytes(v)) : QString();
}

void foldedInstr(sqlite3_context* context, int argc, sqlite3_value** argv) {
    if (argc != 2) {
        sqlite3_result_error(context, "srk_instr takes two arguments", -1);
        return;
    }
    sqlite3_result_int64(context, findText(textArgument(argv[0]), textArgument(argv[1]), true));
}

}  // namespace

bool registerQueryFunctions(sqlite3* db) {
    return sqlite3_create_function_v2(db, "srk_instr", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, &foldedInstr,
                                      nullptr, nullptr, nullptr)
           == SQLITE_OK;
}

}  // namespace srk
