// The report preview on a large report: Songs by Artist over a catalogue is generated into page files,
// then the time from the end of generation to the first page on screen (page-count substitution over
// every page included) and the time of a page turn are measured.
//
//   QT_QPA_PLATFORM=offscreen ui_preview_bench --folder DIR [--runs N]
//
// Make a catalogue first: sonorika-cli --data DIR generate --songs 100000 --albums 10000

#include "BenchFigure.h"
#include "access/ScriptedMessages.h"
#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "query/QueryFunctions.h"
#include "reports/PageCountMarker.h"
#include "reports/ReportJob.h"
#include "reports/ReportMember.h"
#include "reports/ReportPageList.h"
#include "store/Store.h"
#include "ui/reports/ReportPreview.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

#include <sys/resource.h>

using namespace srk;
using srk::bench::Figure;
using srk::bench::timed;

namespace {

// Processor time of the process so far (user and system), in milliseconds: the machine may be shared.
double cpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Store::addConnectionHook(&registerQueryFunctions);
    QString folder;
    int runs = 3;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--folder"))
            folder = args[i + 1];
        else if (args[i] == QLatin1String("--runs"))
            runs = std::max(1, args[i + 1].toInt());
    }
    if (folder.isEmpty()) {
        std::fprintf(stderr, "usage: ui_preview_bench --folder DIR [--runs N]\n");
        return 2;
    }

    Store store(folder);
    ScriptedMessages messages;
    TableAccess access(store, messages);
    for (const TableDef* def : {&songsTable(), &albumTable(), &categoriesTable()})
        if (!access.openTable(*def).ok()) {
            std::fprintf(stderr, "cannot open %s\n", qPrintable(def->label));
            return 1;
        }

    ReportRequest request;
    request.member = reportMember(QStringLiteral("PrintSON:SongsByArtist"));
    ReportPageList pages;
    ReportJob job(store, request, pages);
    QElapsedTimer generation;
    generation.start();
    while (job.step()) {
    }
    const double generatedMs = double(generation.nsecsElapsed()) / 1e6;
    if (job.outcome() != ReportJob::Outcome::Completed || pages.isEmpty()) {
        std::fprintf(stderr, "the report did not complete\n");
        return 1;
    }
    std::printf("generation: %lld records, %d pages in %.0f ms (%.0f records/s)\n", job.recordsRead(), pages.count(),
                generatedMs, job.recordsRead() / (generatedMs / 1000.0));

    Figure first, firstCpu, turn, jump, scan;
    for (int run = 0; run < runs; ++run) {
        ReportPreview* preview = nullptr;
        // Window built (marker put into the pages that have one), first page drawn and on screen.
        const double cpuStart = cpuMs();
        first.add(timed([&] {
            preview = new ReportPreview(pages);
            preview->show();
            QApplication::processEvents();
        }));
        firstCpu.add(cpuMs() - cpuStart);
        for (int i = 0; i < 20; ++i)
            turn.add(timed([&] {
                preview->nextPage();
                QApplication::processEvents();
            }));
        jump.add(timed([&] {
            preview->lastPage();
            QApplication::processEvents();
        }));
        delete preview;
        // For comparison: searching every page file for the marker, as a list that was not told where
        // the markers are needs.
        scan.add(timed([&] {
            for (int i = 0; i < pages.count(); ++i)
                replacePageCountMarker(pages.path(i), pages.count());
        }));
    }
    first.print("first page after generation ends");
    firstCpu.print("  processor time of it");
    turn.print("page turn (Next Page)");
    jump.print("jump to the last page");
    scan.print("searching every page file for the marker");
    return 0;
}
