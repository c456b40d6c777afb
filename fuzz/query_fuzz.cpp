// Feeds random text to the filter parser, then evaluates and translates whatever parses, and runs the
// translation against a small song table: the engine must pick exactly the songs the evaluator picks.
#include "catalog/Tables.h"
#include "query/QueryEvaluator.h"
#include "query/QueryFunctions.h"
#include "query/QueryParser.h"
#include "query/SqlTranslator.h"
#include "store/Store.h"
#include "store/Table.h"

#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

using namespace srk;

namespace {

struct Catalogue {
    QTemporaryDir folder;
    Store store{folder.path()};
    BoundValues bound;
    QVector<Record> songs;

    Catalogue() {
        if (!folder.isValid() || !store.connect() || !registerQueryFunctions(store.handle())
            || store.createFile(songsTable()) || store.openFile(songsTable()))
            std::abort();
        const char* const artists[] = {"björk", "BJÖRK", "O'Brien", "", "Abba", "Édith", "ß", "İnci", "12", "0042"};
        Table t(store, songsTable());
        for (int i = 0; i < 10; ++i) {
            Record r(songsTable());
            r.setText(SON::Artist, QString::fromUtf8(artists[i]));
            r.setText(SON::Title, QString::fromUtf8(artists[9 - i]));
            r.setText(SON::Media, i % 2 ? QStringLiteral("CD") : QStringLiteral("vinyl"));
            r.setNumber(SON::ChartNumber, i * 3 % 7);
            r.setNumber(SON::Time, (i - 5) * 100);
            r.setNumber(SON::ID, i + 1);
            if (t.add(r))
                std::abort();
            songs << r;
        }
        bound.set(QStringLiteral("BRW1::Sort3:Reset:MED:Media"), QStringLiteral("cd"));
        bound.set(QStringLiteral("BRW1::Sort4:Reset:CAT:CategoryID"), 2);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Catalogue catalogue;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const ParsedQuery q = parseQuery(text);
    if (!q.ok()) {
        if (q.error.isEmpty() || q.position < 1)
            std::abort();
        return 0;
    }
    QVector<qint64> expected;
    for (const Record& r : catalogue.songs) {
        QString error;
        evaluate(*q.expr, recordFields(r, catalogue.bound), &error);
        if (matches(*q.expr, recordFields(r, catalogue.bound), &error))
            expected << r.number(SON::ID);
        if (!error.isEmpty())
            return 0;  // an unbound name: nothing to compare
    }
    const std::optional<SqlCondition> sql = toSql(*q.expr, tableColumns(songsTable(), catalogue.bound, true));
    if (!sql)
        return 0;
    Table t(catalogue.store, songsTable());
    t.setFilter(*sql);
    QVector<qint64> engine;
    Record r;
    t.setStart(-1);
    while (t.next(r) == NoError)
        engine << r.number(SON::ID);
    if (catalogue.store.lastError().code != RecordNotAvailable || engine != expected) {
        std::fprintf(stderr, "engine and evaluator differ\nquery: %s\nsql: %s\nerror: %d\n", text.toUtf8().constData(),
                     sql->sql.toUtf8().constData(), catalogue.store.lastError().code);
        std::abort();
    }
    return 0;
}
