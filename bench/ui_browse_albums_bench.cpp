// The album browser on a catalogue, measured at the model level offscreen: opening the window to its
// first page, then in every order page down / up and locator keystrokes, and tab switches.
//
//   QT_QPA_PLATFORM=offscreen ui_browse_albums_bench --folder DIR [--runs N] [--category ID]
//
// Make a catalogue first: sonorika-cli --data DIR generate --songs 1000000 --albums 100000

#include "BenchFigure.h"
#include "access/ScriptedMessages.h"
#include "albums/AlbumOrders.h"
#include "catalog/Tables.h"
#include "query/QueryFunctions.h"
#include "store/PageCursor.h"
#include "store/Store.h"
#include "store/Table.h"
#include "ui/albums/BrowseAlbums.h"
#include "ui/services/PageModel.h"
#include "ui/shell/MainFrame.h"
#include "ui/shell/Program.h"
#include "ui/songs/SongTabBar.h"

#include <QApplication>
#include <QElapsedTimer>
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
    qint64 category = 1;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--folder"))
            folder = args[i + 1];
        else if (args[i] == QLatin1String("--runs"))
            runs = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--category"))
            category = args[i + 1].toLongLong();
    }
    if (folder.isEmpty()) {
        std::fprintf(stderr, "usage: ui_browse_albums_bench --folder DIR [--runs N] [--category ID]\n");
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
    const qint64 albums = Table(*program.context().store, albumTable()).records();
    const qint64 songs = Table(*program.context().store, songsTable()).records();
    std::printf("catalogue: %lld songs, %lld albums\n", songs, albums);

    // Opening: construct, add to the workspace, show the first page.
    Figure open;
    BrowseAlbums* browse = nullptr;
    for (int run = 0; run < runs; ++run) {
        if (browse) {
            browse->press(BrowseAlbums::Action::Close);
            QApplication::processEvents();
        }
        open.add(timed([&] {
            browse = new BrowseAlbums(program.context(), &frame);
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
    open.print("open BrowseAlbums to its first page");
    std::printf("page size: %d rows\n", browse->cursor().pageSize());
    PageModel& model = *browse->model();

    // Both category tabs read a well-filled category.
    browse->setCategoryRange(4, category);
    browse->setCategoryRange(5, category);
    for (int tab = 0; tab < kAlbumOrderCount; ++tab) {
        browse->tabs()->setCurrentIndex(tab);
        const QByteArray name = albumOrder(tab + 1).tabText.toUtf8();
        model.top();
        Figure down, up;
        for (int i = 0; i < 100; ++i)
            down.add(timed([&] { model.pageDown(); }));
        for (int i = 0; i < 100; ++i)
            up.add(timed([&] { model.pageUp(); }));
        down.print(QByteArray("page down, " + name).constData());
        up.print(QByteArray("page up, " + name).constData());

        // Three characters typed, each a rebuild, then taken back one by one.
        const QString typed = tab == 2 ? QStringLiteral("F12") : QStringLiteral("Mar");
        Figure key;
        for (int round = 0; round < 5; ++round) {
            for (QChar c : typed)
                key.add(timed([&] { typeKey(browse->list(), c); }));
            for (int i = 0; i < typed.size(); ++i) {
                QKeyEvent back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
                key.add(timed([&] { QApplication::sendEvent(browse->list(), &back); }));
            }
        }
        key.print(QByteArray("locator keystroke, " + name).constData());
        if (model.rowCount() == 0)
            std::printf("  (order %s read an empty page)\n", name.constData());
    }

    Figure tabs;
    for (int round = 0; round < 5; ++round)
        for (int tab = 0; tab < kAlbumOrderCount; ++tab)
            tabs.add(timed([&] { browse->tabs()->setCurrentIndex((tab + 1) % kAlbumOrderCount); }));
    tabs.print("switch tabs");

    browse->press(BrowseAlbums::Action::Close);
    QApplication::processEvents();
    return 0;
}
