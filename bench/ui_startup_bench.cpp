// Time from start to a shown frame on a catalogue folder (offscreen):
//
//   QT_QPA_PLATFORM=offscreen ui_startup_bench --folder DIR [--runs N]
//
// Generate a large catalogue first with `sonorika-cli --data DIR generate --songs 1000000 --albums 100000`.

#include "access/ScriptedMessages.h"
#include "catalog/Tables.h"
#include "query/QueryFunctions.h"
#include "store/Store.h"
#include "store/Table.h"
#include "ui/shell/MainFrame.h"
#include "ui/shell/Program.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace srk;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Store::addConnectionHook(&registerQueryFunctions);
    QString folder;
    int runs = 5;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--folder"))
            folder = args[i + 1];
        else if (args[i] == QLatin1String("--runs"))
            runs = std::max(1, args[i + 1].toInt());
    }
    if (folder.isEmpty()) {
        std::fprintf(stderr, "usage: ui_startup_bench --folder DIR [--runs N]\n");
        return 2;
    }
    QTemporaryDir config;
    double best = 1e9, worst = 0, sum = 0;
    qint64 songs = 0;
    for (int run = 0; run < runs; ++run) {
        ScriptedMessages messages({ButtonNo});
        QElapsedTimer timer;
        timer.start();
        Program program({folder, config.path(), &messages, false, false});
        if (!program.start()) {
            std::fprintf(stderr, "start failed: %s\n", qPrintable(program.stopText()));
            return 1;
        }
        QApplication::processEvents();
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        if (!program.frame()->isVisible()) {
            std::fprintf(stderr, "the frame is not shown\n");
            return 1;
        }
        songs = Table(*program.context().store, songsTable()).records();
        best = std::min(best, ms);
        worst = std::max(worst, ms);
        sum += ms;
        program.frame()->close();
    }
    std::printf("start-up to a shown frame with %lld songs: best %.1f ms, mean %.1f ms, worst %.1f ms (%d runs)\n",
                songs, best, sum / runs, worst, runs);
    return 0;
}
