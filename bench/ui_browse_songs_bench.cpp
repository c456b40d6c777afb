// The song browser on a catalogue, measured at the model level offscreen: opening the window to its
// first page, page down / up, a locator keystroke in each order, tab switches, a "Contains" search on
// the title, and the memory while paging through the whole table.
//
//   QT_QPA_PLATFORM=offscreen ui_browse_songs_bench --folder DIR [--runs N] [--full-walk 1]
//
// Make a catalogue first: sonorika-cli --data DIR generate --songs 1000000 --albums 100000

#include "BenchFigure.h"
#include "access/ScriptedMessages.h"
#include "catalog/Tables.h"
#include "query/QueryFunctions.h"
#include "query/WizardCondition.h"
#include "songs/SongOrders.h"
#include "store/PageCursor.h"
#include "store/Store.h"
#include "store/Table.h"
#include "ui/services/PageModel.h"
#include "ui/shell/MainFrame.h"
#include "ui/shell/Program.h"
#include "ui/songs/BrowseSongs.h"
#include "ui/songs/SongTabBar.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace srk;
using srk::bench::Figure;
using srk::bench::timed;

namespace {

// Resident and peak resident memory in KiB, from the kernel's view of this process.
std::pair<long, long> memoryKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    long rss = 0, peak = 0;
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:"))
                rss = line.mid(6).trimmed().split(' ').value(0).toLong();
            else if (line.startsWith("VmHWM:"))
                peak = line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return {rss, peak};
}

void typeKey(QWidget* target, QChar c) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(target, &press);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Store::addConnectionHook(&registerQueryFunctions);
    QString folder;
    int runs = 5;
    bool fullWalk = true;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--folder"))
            folder = args[i + 1];
        else if (args[i] == QLatin1String("--runs"))
            runs = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--full-walk"))
            fullWalk = args[i + 1].toInt() != 0;
    }
    if (folder.isEmpty()) {
        std::fprintf(stderr, "usage: ui_browse_songs_bench --folder DIR [--runs N] [--full-walk 0|1]\n");
        return 2;
    }
    QTemporaryDir config;
    ScriptedMessages messages({ButtonNo});
    Program program({folder, config.path(), &messages, false, false});
    if (!program.start()) {
        std::fprintf(stderr, "start failed: %s\n", qPrintable(program.stopText()));
        return 1;
    }
    MainFrame& frame = *program.frame();
    frame.resize(1280, 900);
    QApplication::processEvents();
    const qint64 songs = Table(*program.context().store, songsTable()).records();
    std::printf("catalogue: %lld songs\n", songs);

    // Opening: construct, add to the workspace, show the first page.
    Figure open;
    BrowseSongs* browse = nullptr;
    for (int run = 0; run < runs; ++run) {
        if (browse) {
            browse->press(BrowseSongs::Action::Close);
            QApplication::processEvents();
        }
        open.add(timed([&] {
            browse = new BrowseSongs(program.context(), &frame);
            QMdiSubWindow* sub = frame.addChild(browse);
            sub->resize(1100, 700);
            sub->show();
            QApplication::processEvents();
        }));
        if (browse->model()->rowCount() == 0) {
            std::fprintf(stderr, "the first page is empty\n");
            return 1;
        }
    }
    open.print("open BrowseSongs to its first page");
    std::printf("page size: %d rows\n", browse->cursor().pageSize());
    PageModel& model = *browse->model();

    Figure down, up;
    for (int i = 0; i < 200; ++i)
        down.add(timed([&] { model.pageDown(); }));
    for (int i = 0; i < 200; ++i)
        up.add(timed([&] { model.pageUp(); }));
    down.print("page down");
    up.print("page up");

    // A locator keystroke in each order: three characters typed, each a rebuild. The ranged orders
    // read a well-filled range (media "CD", category 1).
    browse->setMediaRange(QStringLiteral("CD"));
    browse->setCategoryRange(1);
    for (int tab = 0; tab < 8; ++tab) {
        browse->tabs()->setCurrentIndex(tab);
        const QString typed = (tab == 5 || tab == 6) ? QStringLiteral("128") : QStringLiteral("Mar");
        Figure key;
        for (int round = 0; round < 5; ++round) {
            for (QChar c : typed)
                key.add(timed([&] { typeKey(browse->list(), c); }));
            for (int i = 0; i < typed.size(); ++i) {
                QKeyEvent back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
                key.add(timed([&] { QApplication::sendEvent(browse->list(), &back); }));
            }
        }
        const QByteArray label = QStringLiteral("locator keystroke, %1").arg(songOrder(tab + 1).tabText).toUtf8();
        key.print(label.constData());
    }

    Figure tabs;
    for (int round = 0; round < 5; ++round)
        for (int tab = 0; tab < 8; ++tab)
            tabs.add(timed([&] { browse->tabs()->setCurrentIndex((tab + 1) % 8); }));
    tabs.print("switch tabs");

    browse->tabs()->setCurrentIndex(1);
    for (const QString& needle : {QStringLiteral("heart"), QStringLiteral("smörgåsbord"), QStringLiteral("zzqx")}) {
        WizardCondition c;
        c.field = QStringLiteral("SON:Title");
        c.operation = WizardCondition::Contains;
        c.value = needle;
        const QString filter = conditionText(c);
        Figure search;
        for (int round = 0; round < 3; ++round) {
            search.add(timed([&] {
                browse->applyQuery(filter);
                QApplication::processEvents();
            }));
            browse->press(BrowseSongs::Action::ResetSearch);
        }
        const QByteArray label = QStringLiteral("Contains '%1' on the title").arg(needle).toUtf8();
        search.print(label.constData());
    }

    if (fullWalk) {
        browse->tabs()->setCurrentIndex(0);
        model.top();
        const auto [rssBefore, peakBefore] = memoryKiB();
        long rssMax = rssBefore;
        QStringList series;
        qint64 pages = 0;
        QElapsedTimer walk;
        walk.start();
        while (!browse->cursor().atEnd() || browse->cursor().highlight() < browse->cursor().rows().size() - 1) {
            const int before = browse->cursor().rows().isEmpty() ? 0 : int(browse->cursor().rows().back().rowId());
            model.pageDown();
            ++pages;
            if (pages % 2000 == 0) {
                QApplication::processEvents();
                const long rss = memoryKiB().first;
                rssMax = std::max(rssMax, rss);
                if (pages % 6000 == 0)
                    series << QString::number(rss / 1024);
            }
            if (!browse->cursor().rows().isEmpty() && int(browse->cursor().rows().back().rowId()) == before)
                break;
        }
        const auto [rssAfter, peakAfter] = memoryKiB();
        std::printf("paged through the whole table: %lld pages in %.1f s; resident %ld KiB before, %ld KiB highest "
                    "sampled, %ld KiB after; process peak %ld KiB (was %ld KiB)\n",
                    pages, double(walk.elapsed()) / 1000.0, rssBefore, std::max(rssMax, rssAfter), rssAfter,
                    peakAfter, peakBefore);
        std::printf("resident MiB every 6000 pages: %s\n", qPrintable(series.join(QStringLiteral(" "))));
    }
    browse->press(BrowseSongs::Action::Close);
    QApplication::processEvents();
    return 0;
}
