// Report figures for Songs by Artist: generation into page files (records per second), the whole run
// to a PDF against the same lines drawn straight into a QPdfWriter, and the peak memory of the run.
//
//   report_bench [--folder DIR] [--songs N] [--generation-only]
//
// Without --folder, or with an empty one, a catalogue of N songs (100,000 by default) is made first (in a
// temporary folder without --folder), so repeated runs can share one catalogue.

#include "access/ConsoleMessages.h"
#include "access/DefaultMedia.h"
#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "maintenance/SyntheticCatalog.h"
#include "query/QueryFunctions.h"
#include "render/PageRenderer.h"
#include "render/ReportFonts.h"
#include "reports/MemberLayout.h"
#include "reports/ReportJob.h"
#include "reports/ReportPageList.h"
#include "store/Store.h"
#include "store/Table.h"
#include "text/Picture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <cstdio>

#include <sys/resource.h>

using namespace srk;

namespace {

// Peak resident memory of the process since the last reset, in megabytes (Linux).
double peakMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return -1;
}

// Processor time of the process so far (user and system), in seconds: the machine may be shared.
double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void resetPeak() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// The same detail lines, read in the same order, drawn straight into a PDF: the yardstick of the run.
qint64 drawDirectly(Store& store, const QString& path, int& pagesOut) {
    const ReportMember& member = *reportMember(QStringLiteral("PrintSON:SongsByArtist"));
    const ReportLayout layout = memberLayout(member, member.title, QString());
    QPdfWriter writer(path);
    writer.setResolution(1200);
    writer.setPageSize(QPageSize(QPageSize::Letter));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    QFont font(installedFace(QStringLiteral("MS Sans Serif")));
    font.setPointSize(8);
    painter.setFont(font);
    const double scale = 1.2;  // thousandths of an inch to 1200 dpi
    QHash<qint64, QString> categories;
    {
        Table c(store, categoriesTable());
        Record r;
        c.setStart(CAT::KeyCategoryID);
        while (c.next(r) == NoError)
            categories.insert(r.number(CAT::CategoryID), r.text(CAT::Category));
    }
    Table songs(store, songsTable());
    songs.sendCommand(QStringLiteral("QUICKSCAN=on"));
    songs.setStart(SON::SongsByArtist);
    Record s;
    const int top = layout.marginTop + layout.header.height;
    const int bottom = top + layout.detailRoom();
    int y = top;
    int pages = 1;
    qint64 lines = 0;
    while (songs.next(s) == NoError) {
        if (s.text(SON::Artist).contains(QLatin1String("(*)")) || s.text(SON::Title).contains(QLatin1String("(Skips)")))
            continue;
        if (y + layout.detail.height > bottom) {
            writer.newPage();
            ++pages;
            y = top;
        }
        const int x = layout.marginLeft;
        auto text = [&](int dx, int dy, int w, const QString& t) {
            painter.drawText(QRectF((x + dx) * scale, (y + dy) * scale, w * scale, 160 * scale),
                             Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, t);
        };
        text(31, 21, 1604, s.text(SON::Artist));
        text(1646, 21, 1531, s.text(SON::Title));
        text(3208, 21, 1552, s.text(SON::Album));
        text(4781, 21, 1188, s.text(SON::Media));
        text(5979, 21, 979, categories.value(s.number(SON::CategoryID)));
        text(3208, 167, 1400, s.text(SON::FileNumber));
        text(4781, 167, 760, format(s.value(SON::ReleaseDate), QStringLiteral("@d2")));
        text(5979, 167, 480, format(s.value(SON::TrackNumber), QStringLiteral("@n3b")));
        text(6521, 167, 437, format(s.value(SON::ChartNumber), QStringLiteral("@n3b")));
        y += layout.detail.height;
        ++lines;
    }
    painter.end();
    pagesOut = pages;
    return lines;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    Store::addConnectionHook(&registerQueryFunctions);
    installReportFontSubstitutions();
    QString folder;
    qint64 songCount = 100000;
    const QStringList args = app.arguments();
    const bool generationOnly = args.contains(QStringLiteral("--generation-only"));
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--folder"))
            folder = args[i + 1];
        else if (args[i] == QLatin1String("--songs"))
            songCount = std::max<qint64>(1, args[i + 1].toLongLong());
    }
    QTemporaryDir scratch;
    const bool made = folder.isEmpty();
    if (made)
        folder = scratch.path();
    Store store(folder);
    ConsoleMessages messages;
    TableAccess access(store, messages);
    for (const TableDef* def : catalogTables())
        if (!access.openTable(*def).ok()) {
            std::fprintf(stderr, "cannot open %s\n", qPrintable(def->label));
            return 1;
        }
    if (made || Table(store, songsTable()).records() == 0) {
        seedDefaultMedia(access);
        SyntheticCatalog catalogue(store, {songCount, songCount / 10, 1997});
        QElapsedTimer t;
        t.start();
        while (catalogue.step()) {
        }
        std::printf("catalogue: %lld songs made in %.1f s\n", catalogue.songsWritten(), t.elapsed() / 1000.0);
    }

    resetPeak();
    const double before = peakMegabytes();
    ReportRequest request;
    request.member = reportMember(QStringLiteral("PrintSON:SongsByArtist"));
    ReportPageList pages;
    ReportJob job(store, request, pages);
    QElapsedTimer t;
    t.start();
    const double cpuStart = cpuSeconds();
    while (job.step()) {
    }
    const double generation = t.nsecsElapsed() / 1e9;
    const double generationCpu = cpuSeconds() - cpuStart;
    std::printf("generation: %lld records, %d lines on %d pages: %.2f s = %.0f records/s (processor time %.2f s = %.0f "
                "records/s)\n",
                job.recordsRead(), job.linesPrinted(), pages.count(), generation, job.recordsRead() / generation,
                generationCpu, job.recordsRead() / generationCpu);
    if (generationOnly)
        return 0;
    const QString pdf = scratch.filePath(QStringLiteral("report.pdf"));
    QElapsedTimer w;
    w.start();
    const double writeCpuStart = cpuSeconds();
    QString why;
    if (!writePdf(pages, pdf, &why)) {
        std::fprintf(stderr, "cannot write the PDF: %s\n", qPrintable(why));
        return 1;
    }
    const double writing = w.nsecsElapsed() / 1e9;
    const double writingCpu = cpuSeconds() - writeCpuStart;
    const double peak = peakMegabytes();
    std::printf("page files to PDF: %.2f s, processor %.2f s (%.1f MB)\n", writing, writingCpu,
                QFileInfo(pdf).size() / 1048576.0);
    std::printf("whole run: %.2f s, processor %.2f s\n", generation + writing, generationCpu + writingCpu);
    std::printf("peak memory of the run: %.1f MB (%.1f MB before it)\n", peak, before);

    int directPages = 0;
    const QString direct = scratch.filePath(QStringLiteral("direct.pdf"));
    QElapsedTimer d;
    d.start();
    const double directCpuStart = cpuSeconds();
    const qint64 lines = drawDirectly(store, direct, directPages);
    const double straight = d.nsecsElapsed() / 1e9;
    const double straightCpu = cpuSeconds() - directCpuStart;
    std::printf("drawn straight into a QPdfWriter: %lld lines on %d pages in %.2f s, processor %.2f s\n", lines,
                directPages, straight, straightCpu);
    std::printf("whole run / straight drawing: %.2fx, processor %.2fx (budget 3x)\n", (generation + writing) / straight,
                (generationCpu + writingCpu) / straightCpu);
    return 0;
}
