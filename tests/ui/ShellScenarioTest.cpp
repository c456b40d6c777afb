// The program started for real on temporary data and settings folders, offscreen, with a scripted
// answerer in place of message boxes.

#include "access/ScriptedMessages.h"
#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "settings/IniFile.h"
#include "store/Store.h"
#include "store/Table.h"
#include "support/TempFolder.h"
#include "ui/help/HelpWindow.h"
#include "ui/shell/MainFrame.h"
#include "ui/shell/Program.h"
#include "ui/shell/Splash.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include <csignal>
#include <signal.h>

using namespace srk;

namespace {

class ShellScenario : public ::testing::Test {
protected:
    Program::Options options(bool splash = false) {
        Program::Options o;
        o.dataFolder = data.path();
        o.configFolder = config.path();
        o.messages = &messages;
        o.showSplash = splash;
        o.catchSignals = false;
        return o;
    }

    void writePreference(const QString& key, const QString& value) {
        IniFile ini(config.file(QStringLiteral("SRKRO97.INI")));
        ini.writeString(QStringLiteral("Settings"), key, value);
        ASSERT_TRUE(ini.save());
    }

    // Songs without albums, written the way an older catalogue would hold them.
    void addSongs(const QVector<std::pair<const char*, const char*>>& artistAndAlbum) {
        Store store(data.path());
        ScriptedMessages quiet;
        TableAccess access(store, quiet);
        ASSERT_TRUE(access.openTable(songsTable()).ok());
        Table songs(store, songsTable());
        int id = 1;
        for (auto [artist, album] : artistAndAlbum) {
            Record s(songsTable());
            s.setNumber(SON::ID, id);
            s.setText(SON::Artist, QString::fromUtf8(artist));
            s.setText(SON::Album, QString::fromUtf8(album));
            s.setText(SON::Title, QStringLiteral("Song %1").arg(id++));
            ASSERT_EQ(songs.add(s), NoError);
        }
    }

    TempFolder data, config;
    ScriptedMessages messages;
};

TEST_F(ShellScenario, FirstStartCreatesEveryFileAndSeedsTheMediaWithoutAsking) {
    Program program(options());
    ASSERT_TRUE(program.start()) << program.stopText().toStdString();
    for (const TableDef* def : catalogTables())
        EXPECT_TRUE(QFile::exists(data.file(def->diskName + Store::fileExtension()))) << def->label.toStdString();
    EXPECT_EQ(messages.count(), 0);
    EXPECT_FALSE(program.askedAlbumQuestion());

    Table media(*program.context().store, mediaTable());
    QStringList names;
    QVector<Record> rows;
    media.fetch(-1, KeyAnchor::start(), true, 100, rows);
    for (const Record& r : rows)
        names << r.text(MED::Media);
    QStringList expected;
    for (const QString& m : defaultMedia())
        expected << m.left(20);
    EXPECT_EQ(names, expected);

    IniFile prefs(config.file(QStringLiteral("SRKRO97.INI")));
    EXPECT_EQ(prefs.readString(QStringLiteral("Global Settings"), QStringLiteral("Version")), QStringLiteral("1.8d"));
    EXPECT_EQ(program.frame()->windowTitle(), QStringLiteral("Sonorika Pro 97"));
}

TEST_F(ShellScenario, SongsWithoutAlbumsAskTheQuestionAndYesLinksEverySong) {
    addSongs({{"Björk", "Post"}, {"Björk", "Post"}, {"Björk", "Post"}, {"Prince", "Purple Rain"}, {"Various", "Hits"},
              {"Someone", "Hits"}});
    messages.addAnswer(ButtonYes);
    Program program(options());
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(program.askedAlbumQuestion());
    ASSERT_GE(messages.count(), 1);
    EXPECT_EQ(messages.shown().first().title, QStringLiteral("Album Database Empty"));
    EXPECT_EQ(messages.shown().first().text,
              QStringLiteral("Do you want to copy your album information from the general music database into the "
                             "album database? (Recommended)"));
    EXPECT_EQ(messages.shown().first().buttons, ButtonYes | ButtonNo);

    Store& store = *program.context().store;
    QVector<Record> songs, albums;
    Table(store, songsTable()).fetch(-1, KeyAnchor::start(), true, 100, songs);
    Table(store, albumTable()).fetch(-1, KeyAnchor::start(), true, 100, albums);
    EXPECT_EQ(albums.size(), 3);  // Post, Purple Rain, Hits (the "Various" one serves "Someone" too)
    for (const Record& s : songs)
        EXPECT_NE(s.number(SON::AlbumID), 0) << s.text(SON::Title).toStdString();
    IniFile prefs(config.file(QStringLiteral("SRKRO97.INI")));
    EXPECT_EQ(prefs.readString(QStringLiteral("Settings"), QStringLiteral("AutoAddToAlbums")), QStringLiteral("1"));
}

TEST_F(ShellScenario, NoToTheQuestionLeavesTheAlbumsEmptyAndARecordedNewVersionStillAsks) {
    addSongs({{"Prince", "Purple Rain"}});
    messages.addAnswer(ButtonNo);
    {
        Program program(options());
        ASSERT_TRUE(program.start());
        EXPECT_TRUE(program.askedAlbumQuestion());
        EXPECT_EQ(Table(*program.context().store, albumTable()).records(), 0);
    }
    // The version is recorded now, but it is below the threshold: the question comes again.
    messages.addAnswer(ButtonNo);
    Program again(options());
    ASSERT_TRUE(again.start());
    EXPECT_TRUE(again.askedAlbumQuestion());
}

TEST_F(ShellScenario, SplashClosesOnTheFirstMenuCommand) {
    Program program(options(true));
    ASSERT_TRUE(program.start());
    Splash* splash = program.splash();
    ASSERT_NE(splash, nullptr);
    ASSERT_TRUE(splash->isOpen());
    QSignalSpy closed(splash, &Splash::closed);
    QAction* tile = program.frame()->menuAction(QStringLiteral("&Window"), QStringLiteral("T&ile"));
    ASSERT_NE(tile, nullptr);
    tile->trigger();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(program.splash() && program.splash()->isOpen());
}

TEST_F(ShellScenario, SplashClosesByItselfAndThenOpensTheStartUpViewsInOrder) {
    writePreference(QStringLiteral("SU_Labels"), QStringLiteral("1"));
    writePreference(QStringLiteral("SU_Songs"), QStringLiteral("1"));
    writePreference(QStringLiteral("SU_Playlists"), QStringLiteral("1"));
    writePreference(QStringLiteral("SU_Albums"), QStringLiteral("1"));
    Program program(options(true));
    ASSERT_TRUE(program.start());
    QStringList opened;
    for (const char* name : {"BrowseSongs", "BrowseAlbums", "BrowsePlaylists", "BrowseLabels"}) {
        const QString procedure = QString::fromLatin1(name);
        program.frame()->registerWindow(procedure, [&opened, procedure](WindowRegistry&) -> QWidget* {
            opened << procedure;
            return nullptr;
        });
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return opened.size() == 4; }, 5000));
    EXPECT_EQ(opened, (QStringList{QStringLiteral("BrowseSongs"), QStringLiteral("BrowseAlbums"),
                                   QStringLiteral("BrowsePlaylists"), QStringLiteral("BrowseLabels")}));
}

TEST_F(ShellScenario, CloseDownSavesTheFramePlacementAndReleasesTheTables) {
    Program program(options());
    ASSERT_TRUE(program.start());
    MainFrame* frame = program.frame();
    frame->move(140, 90);
    frame->resize(900, 600);
    QSignalSpy ended(&program, &Program::ended);
    ASSERT_TRUE(frame->close());
    EXPECT_EQ(ended.count(), 1);
    EXPECT_EQ(program.context().access->useCount(songsTable()), 0);
    EXPECT_EQ(program.context().access->useCount(albumTable()), 0);
    IniFile positions(data.file(QStringLiteral("POSITION.INI")));
    EXPECT_EQ(positions.readInt(QStringLiteral("Main"), QStringLiteral("XPosit")), frame->geometry().x());
    EXPECT_EQ(positions.readInt(QStringLiteral("Main"), QStringLiteral("Width")), 900);
    EXPECT_EQ(positions.readInt(QStringLiteral("Main"), QStringLiteral("Height")), 600);
    EXPECT_EQ(positions.readString(QStringLiteral("Main"), QStringLiteral("Maximize")), QStringLiteral("No"));
}

TEST_F(ShellScenario, TheFrameReopensWhereItWasLeft) {
    {
        Program first(options());
        ASSERT_TRUE(first.start());
        first.frame()->resize(720, 510);
        first.frame()->move(60, 70);
        first.frame()->close();
    }
    Program second(options());
    ASSERT_TRUE(second.start());
    EXPECT_EQ(second.frame()->size(), QSize(720, 510));
}

TEST_F(ShellScenario, ExplorerInterfacePointsBothBrowseEntriesAndButtonsToTheExplorers) {
    writePreference(QStringLiteral("Interface"), QStringLiteral("Explorer"));
    Program program(options());
    ASSERT_TRUE(program.start());
    MainFrame* frame = program.frame();
    QStringList opened;
    for (const char* name : {"XploreSongs", "XploreAlbums", "BrowseSongs", "BrowseAlbums"}) {
        const QString procedure = QString::fromLatin1(name);
        frame->registerWindow(procedure, [&opened, procedure](WindowRegistry&) -> QWidget* {
            opened << procedure;
            return nullptr;
        });
    }
    frame->menuAction(QStringLiteral("&Browse"), QStringLiteral("&Songs"))->trigger();
    frame->menuAction(QStringLiteral("&Browse"), QStringLiteral("&Albums"))->trigger();
    for (QAction* a : frame->toolBarActions())
        if (a->text() == QLatin1String("Songs") || a->text() == QLatin1String("Albums"))
            a->trigger();
    EXPECT_EQ(opened, (QStringList{QStringLiteral("XploreSongs"), QStringLiteral("XploreAlbums"),
                                   QStringLiteral("XploreAlbums"), QStringLiteral("XploreSongs")}));
}

TEST_F(ShellScenario, EntriesWithoutTheirWindowAreDisabledAndTipsShowInTheStatusBar) {
    Program program(options());
    ASSERT_TRUE(program.start());
    MainFrame* frame = program.frame();
    QAction* labels = frame->menuAction(QStringLiteral("&Browse"), QStringLiteral("&Labels"));
    ASSERT_NE(labels, nullptr);
    EXPECT_FALSE(labels->isEnabled());
    frame->registerWindow(QStringLiteral("BrowseLabels"), [](WindowRegistry&) -> QWidget* { return nullptr; });
    EXPECT_TRUE(labels->isEnabled());
    EXPECT_TRUE(frame->menuAction(QStringLiteral("&Browse"), QStringLiteral("&Songs"))->isEnabled());
    EXPECT_TRUE(frame->menuAction(QStringLiteral("&Browse"), QStringLiteral("&Albums"))->isEnabled());

    QAction* exit = frame->menuAction(QStringLiteral("&File"), QStringLiteral("E&xit"));
    ASSERT_NE(exit, nullptr);
    EXPECT_TRUE(exit->isEnabled());
    EXPECT_EQ(exit->statusTip(), QStringLiteral("Exit this application"));
    // What a menu does for the action under the mouse.
    exit->showStatusText(frame->menuBar());
    EXPECT_EQ(frame->statusBar()->currentMessage(), QStringLiteral("Exit this application"));

    QStringList titles;
    for (QAction* a : frame->menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("&File"), QStringLiteral("&Edit"), QStringLiteral("&Browse"),
                                   QStringLiteral("&Reports"), QStringLiteral("&Window"), QStringLiteral("&Help")}));
    QStringList tools;
    for (QAction* a : frame->toolBarActions())
        tools << a->text();
    EXPECT_EQ(tools, (QStringList{QStringLiteral("Albums"), QStringLiteral("Songs"), QStringLiteral("Labels"),
                                  QStringLiteral("Playlists"), QStringLiteral("Play CD")}));
}

TEST_F(ShellScenario, OpenedWindowsLiveInTheWorkspaceAndCloseWithTheFrame) {
    Program program(options());
    ASSERT_TRUE(program.start());
    MainFrame* frame = program.frame();
    QPointer<QWidget> child;
    frame->registerWindow(QStringLiteral("BrowseCategories"), [&child](WindowRegistry&) -> QWidget* {
        child = new QWidget;
        return child;
    });
    frame->menuAction(QStringLiteral("&Browse"), QStringLiteral("&Categories"))->trigger();
    ASSERT_FALSE(child.isNull());
    EXPECT_EQ(frame->workspace()->subWindowList().size(), 1);
    ASSERT_TRUE(frame->close());
    EXPECT_TRUE(QTest::qWaitFor([&] { return child.isNull(); }, 2000));
}

TEST_F(ShellScenario, SplashClosesOnAClick) {
    Program program(options(true));
    ASSERT_TRUE(program.start());
    QSignalSpy closed(program.splash(), &Splash::closed);
    QTest::mouseClick(program.splash(), Qt::LeftButton);
    EXPECT_EQ(closed.count(), 1);
}

TEST_F(ShellScenario, EditEntriesActOnTheFocusedControl) {
    Program program(options());
    ASSERT_TRUE(program.start());
    MainFrame* frame = program.frame();
    QLineEdit* edit = nullptr;
    frame->registerWindow(QStringLiteral("BrowseMedia"), [&edit](WindowRegistry&) -> QWidget* {
        edit = new QLineEdit(QStringLiteral("Cassette (Dolby B)"));
        return edit;
    });
    frame->runCommand(QStringLiteral("BrowseMedia"));
    ASSERT_NE(edit, nullptr);
    frame->activateWindow();
    edit->setFocus();
    EXPECT_TRUE(QTest::qWaitFor([&] { return edit->hasFocus(); }, 2000));
    edit->setSelection(0, 8);
    frame->menuAction(QStringLiteral("&Edit"), QStringLiteral("Cu&t"))->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Cassette"));
    EXPECT_EQ(edit->text(), QStringLiteral(" (Dolby B)"));
    edit->setCursorPosition(edit->text().size());
    frame->menuAction(QStringLiteral("&Edit"), QStringLiteral("&Paste"))->trigger();
    EXPECT_EQ(edit->text(), QStringLiteral(" (Dolby B)Cassette"));
}

TEST_F(ShellScenario, HelpEntriesOpenTheHelpWindow) {
    Program program(options());
    ASSERT_TRUE(program.start());
    QAction* contents = program.frame()->menuAction(QStringLiteral("&Help"), QStringLiteral("&Contents"));
    ASSERT_TRUE(contents->isEnabled());
    contents->trigger();
    HelpWindow* help = program.frame()->findChild<HelpWindow*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    program.frame()->menuAction(QStringLiteral("&Help"), QStringLiteral("&How to Use Help"))->trigger();
    EXPECT_NE(help->currentPage(), QUrl());
    EXPECT_EQ(program.frame()->findChildren<HelpWindow*>().size(), 1);
}

TEST_F(ShellScenario, ADamagedSongFileStopsTheStartWithDiskError) {
    QFile song(data.file(QStringLiteral("srkdata.sdb")));
    ASSERT_TRUE(song.open(QIODevice::WriteOnly));
    song.write(QByteArray(5000, '\x5a'));
    song.close();
    Program program(options());
    EXPECT_FALSE(program.start());
    EXPECT_EQ(program.stopText(), QStringLiteral("Disk Error"));
    ASSERT_GE(messages.count(), 1);
    EXPECT_EQ(messages.shown().first().title, QStringLiteral("File Access Error"));
    QFile after(data.file(QStringLiteral("srkdata.sdb")));
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), QByteArray(5000, '\x5a'));
}

TEST_F(ShellScenario, TerminationSignalClosesTheFrameInOrder) {
    Program::Options o = options();
    o.catchSignals = true;
    Program program(o);
    ASSERT_TRUE(program.start());
    QSignalSpy ended(&program, &Program::ended);
    ::raise(SIGTERM);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ended.count() == 1; }, 5000));
    IniFile positions(data.file(QStringLiteral("POSITION.INI")));
    EXPECT_TRUE(positions.contains(QStringLiteral("Main"), QStringLiteral("Width")));
}

// The real program, sent SIGTERM before it has a frame: it starts with the signal blocked and already
// pending (as a parent may leave it), so the signal reaches it at the earliest moment its own code
// runs. It closes in order and ends with 0.
TEST_F(ShellScenario, TerminationBeforeTheFrameExistsStillClosesInOrder) {
    QProcess program;
    program.setProgram(QStringLiteral(SONORIKA_APP));
    program.setArguments({QStringLiteral("--data"), data.path()});
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("SONORIKA_CONFIG"), config.path());
    program.setProcessEnvironment(env);
    program.setChildProcessModifier([] {
        sigset_t blocked;
        sigemptyset(&blocked);
        sigaddset(&blocked, SIGTERM);
        sigprocmask(SIG_BLOCK, &blocked, nullptr);
    });
    program.start();
    ASSERT_TRUE(program.waitForStarted(10000));
    ::kill(pid_t(program.processId()), SIGTERM);
    if (!program.waitForFinished(60000)) {
        program.kill();
        program.waitForFinished(5000);
        FAIL() << "the program did not end on SIGTERM";
    }
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    // It went through its start and its orderly close: files made, frame placement saved.
    EXPECT_TRUE(QFile::exists(data.file(QStringLiteral("srkdata.sdb"))));
    IniFile positions(data.file(QStringLiteral("POSITION.INI")));
    EXPECT_TRUE(positions.contains(QStringLiteral("Main"), QStringLiteral("Width")));
}

}  // namespace
