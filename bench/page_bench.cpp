// Browse page figures on a catalogue: for every song key, a page cursor with the category joined is
// opened and moved the way a list is (first page, page down and up, line down at the last row, bottom,
// a rebuild at a random song). Each move is one keyed query; the figures should not grow with the table.
//
//   page_bench --folder DIR [--page N] [--rounds R]
//
// Make a catalogue first: sonorika-cli --data DIR generate --songs 1000000 --albums 100000

#include "BenchFigure.h"
#include "catalog/Tables.h"
#include "query/QueryFunctions.h"
#include "store/PageCursor.h"
#include "store/Store.h"
#include "store/Table.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>

using namespace srk;
using srk::bench::Figure;

namespace {

double timed(const std::function<int()>& move, int& rc) {
    QElapsedTimer t;
    t.start();
    rc = move();
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    Store::addConnectionHook(&registerQueryFunctions);
    QString folder;
    int page = 30, rounds = 20;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--folder"))
            folder = args[i + 1];
        else if (args[i] == QLatin1String("--page"))
            page = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--rounds"))
            rounds = std::max(1, args[i + 1].toInt());
    }
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        std::fprintf(stderr, "usage: page_bench --folder DIR [--page N] [--rounds R]\n");
        return 2;
    }
    Store store(folder);
    if (!store.connect() || store.openFile(songsTable()) != NoError ||
        store.openFile(categoriesTable()) != NoError) {
        std::fprintf(stderr, "cannot open the catalogue in %s: %s\n", qPrintable(folder),
                     qPrintable(store.lastError().displayText()));
        return 1;
    }
    Table songs(store, songsTable());
    const qint64 count = songs.records();
    Record last = songs.newRecord();
    songs.setEnd(-1);
    if (songs.previous(last) != NoError) {
        std::fprintf(stderr, "the song table is empty\n");
        return 1;
    }
    std::printf("%lld songs, page of %d rows, %d rounds per key (mean / worst ms)\n", count, page, rounds);

    std::mt19937_64 random(42);
    int failures = 0;
    for (int key = 0; key < songsTable().keys.size(); ++key) {
        Figure openF, first, down, up, line, bottomF, rebuild;
        for (int round = 0; round < rounds; ++round) {
            PageCursor cursor(store, songsTable(), key);
            cursor.addRelated(categoriesTable(), SON::CategoryID, CAT::CategoryID);
            int rc = 0;
            openF.add(timed([&] { return cursor.open() || cursor.setPageSize(page); }, rc));
            failures += rc != NoError;
            first.add(timed([&] { return cursor.top(); }, rc));
            failures += rc != NoError;
            down.add(timed([&] { return cursor.pageDown(); }, rc));
            failures += rc != NoError;
            up.add(timed([&] { return cursor.pageUp(); }, rc));
            failures += rc != NoError;
            cursor.setHighlight(int(cursor.rows().size()) - 1);
            line.add(timed([&] { return cursor.lineDown(); }, rc));
            failures += rc != NoError;
            bottomF.add(timed([&] { return cursor.bottom(); }, rc));
            failures += rc != NoError;
            Record target = songs.newRecord();
            if (songs.getByPosition(QString::number(1 + qint64(random() % quint64(last.rowId()))), target) ==
                NoError) {
                rebuild.add(timed([&] { return cursor.rebuildAt(target); }, rc));
                failures += rc != NoError;
            }
            if (cursor.rows().size() > page)
                ++failures;
        }
        std::printf("%-28s open %.2f/%.2f  first %.2f/%.2f  pgdn %.2f/%.2f  pgup %.2f/%.2f  line %.2f/%.2f"
                    "  bottom %.2f/%.2f  rebuild %.2f/%.2f\n",
                    qPrintable(songsTable().qualifiedKeyName(key)), openF.mean(), openF.worst, first.mean(),
                    first.worst, down.mean(), down.worst, up.mean(), up.worst, line.mean(), line.worst,
                    bottomF.mean(), bottomF.worst, rebuild.mean(), rebuild.worst);
    }
    if (failures)
        std::printf("%d moves failed: %s\n", failures, qPrintable(store.lastError().displayText()));
    return failures ? 1 : 0;
}
