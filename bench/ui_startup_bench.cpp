// Time from start to a shown frame on a catalogue folder (offscreen):
//
//   QT_QPA_PLATFORM=offscreen ui_startup_bench --folder DIR [--runs N]
//
// Generate a large catalogue first with `sonorika-cli --data DIR generate --songs 1000000 --albums 100000`.

#include "BenchSupport.h"
#include "catalog/Tables.h"
#include "store/Store.h"
#include "store/Table.h"
#include "ui/shell/MainFrame.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace srk;

int main(int argc, char** argv) {
    bench::WindowBenchApp app(argc, argv);
    bench::CatalogueOptions options;
    if (!bench::readCatalogueOptions(app.arguments(), "ui_startup_bench", 5, options))
        return 2;
    const int runs = options.runs;
    QTemporaryDir config;
    double best = 1e9, worst = 0, sum = 0;
    qint64 songs = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        bench::BenchProgram program(options.folder, {ButtonNo}, config.path());
        if (!program.start())
            return 1;
        QApplication::processEvents();
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        if (!program.frame().isVisible()) {
            std::fprintf(stderr, "the frame is not shown\n");
            return 1;
        }
        songs = Table(*program.context().store, songsTable()).records();
        best = std::min(best, ms);
        worst = std::max(worst, ms);
        sum += ms;
        program.frame().close();
    }
    std::printf("start-up to a shown frame with %lld songs: best %.1f ms, mean %.1f ms, worst %.1f ms (%d runs)\n",
                songs, best, sum / runs, worst, runs);
    return 0;
}
