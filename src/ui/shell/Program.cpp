#include "ui/shell/Program.h"

#include "ProgramVersion.h"
#include "access/DefaultMedia.h"
#include "access/PrimedOwners.h"
#include "access/TableAccess.h"
#include "albums/CopyToAlbum.h"
#include "catalog/Tables.h"
#include "cd/AudioSinkFactory.h"
#include "cd/CdDeviceChoice.h"
#include "query/QueryFunctions.h"
#include "settings/SettingsPaths.h"
#include "store/Store.h"
#include "store/Table.h"
#include "ui/DialogMessages.h"
#include "ui/ProgramWindows.h"
#include "ui/cd/QtAudioSink.h"
#include "ui/services/ProgressJobRunner.h"
#include "ui/help/HelpWindow.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/ProgressWindow.h"
#include "ui/shell/AboutSRK.h"
#include "ui/shell/MainFrame.h"
#include "ui/shell/ShutdownSignals.h"
#include "ui/shell/Splash.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QTimer>

#include <utility>

static void initShellResources() { Q_INIT_RESOURCE(icons); }

namespace srk {

namespace {

// The frame keeps these three open for its whole life.
const TableDef* const kFrameTables[] = {&albumTable(), &mediaTable(), &songsTable()};

bool isEmpty(Store& store, const TableDef& def) {
    QVector<Record> first;
    Table(store, def).fetch(-1, KeyAnchor::start(), true, 1, first);
    return first.isEmpty();
}

}  // namespace

double versionNumber(const QString& version) {
    static const QRegularExpression leading(QStringLiteral("^\\s*([0-9]+(\\.[0-9]+)?)"));
    const QRegularExpressionMatch m = leading.match(version);
    return m.hasMatch() ? m.captured(1).toDouble() : 0.0;
}

Program::Program(const Options& options) : m_options(options) {
    initShellResources();
    m_context.dataFolder = options.dataFolder;
    m_context.configFolder = options.configFolder;
}

Program::~Program() {
    delete m_splash;
    delete m_frame;
    closeDown();
    if (m_soundOutput)
        setAudioSinkFactory(nullptr);
    ModalWindows::instance().endCancelling();
}

bool Program::openTables() {
    // Every file is checked (and created on a first start) now, so a damaged one stops the program
    // here rather than in the middle of some later window; the frame keeps its three open.
    for (const TableDef* def : catalogTables()) {
        const AccessResult result = m_access->openTable(*def);
        if (!result.ok()) {
            m_stopText = result.stopText.isEmpty() ? m_store->lastError().displayText() : result.stopText;
            if (!result.stopText.isEmpty())
                m_context.messages->ask({QStringLiteral("Sonorika Pro 97"), result.stopText, ButtonOk, ButtonOk});
            for (const TableDef* open : kFrameTables)
                if (m_access->useCount(*open) > 0)
                    m_access->closeTable(*open);
            return false;
        }
        if (std::find(std::begin(kFrameTables), std::end(kFrameTables), def) == std::end(kFrameTables))
            m_access->closeTable(*def);
    }
    m_tablesOpen = true;
    return true;
}

bool Program::takeArguments(QStringList& arguments, QString& errorText) {
    return takeCdDeviceArgument(arguments, errorText);
}

bool Program::start() {
    // Before anything that takes time: a quit asked for during the start is kept for the frame.
    watchForQuit();
    if (!m_options.messages)
        m_ownMessages = std::make_unique<DialogMessages>();
    m_context.messages = m_options.messages ? m_options.messages : m_ownMessages.get();
    // Filters translate to engine functions of the query layer; every connection gets them.
    Store::addConnectionHook(&registerQueryFunctions);
    m_store = std::make_unique<Store>(m_context.dataFolder);
    m_access = std::make_unique<TableAccess>(*m_store, *m_context.messages);
    m_jobRunner = std::make_unique<ProgressJobRunner>(*m_context.messages);
    m_access->setJobRunner(m_jobRunner.get());
    m_context.store = m_store.get();
    m_context.access = m_access.get();

    if (!openTables())
        return false;
    if (seedDefaultMedia(*m_access) != NoError) {
        m_stopText = m_store->lastError().displayText();
        return false;
    }
    // Forms of a run that was killed leave their primed records behind.
    removeOrphanedPrimes(*m_access);

    // A settings file that cannot be read is said once; the program goes on with the defaults and
    // never writes over that file.
    const std::pair<IniFile*, QString> settings[] = {
        {&m_context.positions, positionFilePath(m_context.dataFolder)},
        {&m_context.preferencesFile, preferencesFilePath(m_context.configFolder)}};
    for (const auto& [file, path] : settings)
        if (!file->load(path))
            m_context.messages->ask({QStringLiteral("Settings Not Read"), file->errorString(), ButtonOk, ButtonOk});

    m_frame = new MainFrame(m_context);
    connect(m_frame, &MainFrame::closingDown, this, &Program::closeDown);

    const QString lastVersion = recordRunVersion(m_context.preferencesFile, programVersion());
    m_context.preferencesFile.save();
    m_context.preferences = Preferences::load(m_context.preferencesFile);
    setCdDevicePreference(m_context.preferences.CDDevice);
    m_soundOutput = QtAudioSink::install();
    askAlbumQuestion(lastVersion);
    m_frame->setToolBarPicture(toolBarPictureFile(m_context.preferencesFile));
    registerWindows();

    // The session manager may end the session: agree, then close in order.
    connect(qGuiApp, &QGuiApplication::commitDataRequest, m_frame,
            [this](QSessionManager&) { QTimer::singleShot(0, this, &Program::requestQuit); });

    m_frame->show();
    if (m_quitPending) {
        QTimer::singleShot(0, this, &Program::requestQuit);
        return true;
    }
    if (m_options.showSplash) {
        m_splash = new Splash;
        connect(m_frame, &MainFrame::commandChosen, m_splash, &Splash::finish);
        connect(m_splash, &Splash::closed, this, &Program::onSplashClosed);
        m_splash->show();
    } else {
        QTimer::singleShot(0, this, &Program::onSplashClosed);
    }
    return true;
}

void Program::watchForQuit() {
    if (!m_options.catchSignals || m_signals)
        return;
    m_signals = new ShutdownSignals(this);
    connect(m_signals, &ShutdownSignals::shutdownRequested, this, &Program::requestQuit);
}

void Program::requestQuit() {
    if (!m_frame || !m_frame->isVisible()) {
        // Still starting: a question of the start takes its gentlest answer, and the frame closes
        // once it is up.
        m_quitPending = true;
        if (ModalWindows::instance().running() > 0)
            ModalWindows::instance().cancelAll();
        return;
    }
    m_frame->requestQuit();
}

void Program::askAlbumQuestion(const QString& lastVersion) {
    if (versionNumber(lastVersion) >= kAlbumQuestionThreshold)
        return;
    if (!isEmpty(*m_store, albumTable()) || isEmpty(*m_store, songsTable()))
        return;
    m_askedAlbumQuestion = true;
    const int answer = m_context.messages->ask(
        {QStringLiteral("Album Database Empty"),
         QStringLiteral("Do you want to copy your album information from the general music database into the album "
                        "database? (Recommended)"),
         ButtonYes | ButtonNo, ButtonYes});
    if (answer != ButtonYes)
        return;
    CopyToAlbum job(*m_access);
    ProgressWindow::run(m_frame, job, job.title(), job.textLine(), *m_context.messages);
    m_context.preferences.AutoAddToAlbums = QStringLiteral("1");
    m_context.preferencesFile.writeString(QStringLiteral("Settings"), QStringLiteral("AutoAddToAlbums"),
                                          QStringLiteral("1"));
    m_context.preferencesFile.save();
}

void Program::registerWindows() {
    registerProgramWindows(*m_frame);
    // One help window for the whole run, opened at the page the entry asks for.
    auto help = [this]() -> HelpWindow* {
        if (!m_help)
            m_help = new HelpWindow(m_frame);
        return m_help;
    };
    m_frame->registerWindow(FrameCommand::HelpContents, [help](WindowRegistry&) -> QWidget* {
        help()->showContents();
        return nullptr;
    });
    m_frame->registerWindow(FrameCommand::HelpSearch, [help](WindowRegistry&) -> QWidget* {
        help()->showSearch();
        return nullptr;
    });
    m_frame->registerWindow(FrameCommand::HelpOnHelp, [help](WindowRegistry&) -> QWidget* {
        help()->showHowToUseHelp();
        return nullptr;
    });
    m_frame->registerWindow(FrameCommand::About, [this](WindowRegistry&) -> QWidget* {
        ModalWindow<AboutSRK> about(m_frame.data());
        about.exec();
        return nullptr;
    });
}

void Program::onSplashClosed() {
    // Nothing more opens once a quit is under way.
    if (!m_frame || !m_tablesOpen || m_frame->quitRequested())
        return;
    if (m_context.preferences.SetupWizardComplete == 0 && m_frame->hasWindow(QStringLiteral("SetupWizard")))
        m_frame->runCommand(QStringLiteral("SetupWizard"));
    const Preferences& p = m_context.preferences;
    const bool explorer = p.Interface.compare(QLatin1String("Explorer"), Qt::CaseInsensitive) == 0;
    if (p.SU_Songs)
        m_frame->postCommand(explorer ? QStringLiteral("XploreSongs") : QStringLiteral("BrowseSongs"));
    if (p.SU_Albums)
        m_frame->postCommand(explorer ? QStringLiteral("XploreAlbums") : QStringLiteral("BrowseAlbums"));
    if (p.SU_Playlists)
        m_frame->postCommand(QStringLiteral("BrowsePlaylists"));
    if (p.SU_Labels)
        m_frame->postCommand(QStringLiteral("BrowseLabels"));
}

void Program::closeDown() {
    if (!m_tablesOpen)
        return;
    m_tablesOpen = false;
    // The splash is a window of its own: left open it would keep the run alive.
    if (m_splash)
        m_splash->finish();
    for (const TableDef* def : kFrameTables)
        m_access->closeTable(*def);
    m_context.preferencesFile.save();
    Q_EMIT ended();
}

}  // namespace srk
