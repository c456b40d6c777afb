#pragma once

#include "ui/shell/MainFrame.h"
#include "ui/ProgramContext.h"
#include "ui/shell/Splash.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <memory>

namespace srk {

class MainFrame;
class MessageService;
class HelpWindow;
class JobRunner;
class ShutdownSignals;
class Splash;
class Store;
class TableAccess;
class WindowRegistry;

// One run of the desktop program: opens the catalogue and the settings, the frame and the splash, in
// the order the program has always started, and closes them in order.
class Program : public QObject {
    Q_OBJECT
public:
    struct Options {
        QString dataFolder;
        QString configFolder;
        MessageService* messages = nullptr;  // nullptr: message boxes
        bool showSplash = true;
        bool catchSignals = true;  // SIGTERM / SIGINT close the frame in order
    };

    explicit Program(const Options& options);
    ~Program() override;

    // Takes the program's own options out of its arguments ("--cd-device PATH" chooses the drive
    // before the "CDDevice" preference). False, with a reason, when one of them is given wrong.
    static bool takeArguments(QStringList& arguments, QString& errorText);

    // Opens tables, settings and the frame. False when the program has to stop (the reason was shown
    // and stopText() holds it).
    bool start();
    const QString& stopText() const { return m_stopText; }

    ProgramContext& context() { return m_context; }
    MainFrame* frame() const { return m_frame; }
    Splash* splash() const { return m_splash; }
    // True when the first-start album question was asked during start().
    bool askedAlbumQuestion() const { return m_askedAlbumQuestion; }

    // A quit request (termination signal, session end): before the frame exists it waits for the
    // frame, which then closes in order as soon as it is up.
    void requestQuit();

Q_SIGNALS:
    // Everything is closed and released; the program may end.
    void ended();

private:
    bool openTables();
    void askAlbumQuestion(const QString& lastVersion);
    void registerWindows();
    void onSplashClosed();
    void closeDown();
    void watchForQuit();

    Options m_options;
    ProgramContext m_context;
    std::unique_ptr<Store> m_store;
    std::unique_ptr<MessageService> m_ownMessages;
    std::unique_ptr<JobRunner> m_jobRunner;
    std::unique_ptr<TableAccess> m_access;
    QPointer<MainFrame> m_frame;
    QPointer<Splash> m_splash;
    QPointer<HelpWindow> m_help;
    ShutdownSignals* m_signals = nullptr;
    QString m_stopText;
    bool m_tablesOpen = false;
    bool m_askedAlbumQuestion = false;
    bool m_quitPending = false;
    // The disc sinks play through the audio output this run set up.
    bool m_soundOutput = false;
};

// The leading number of a version text ("1.8d" reads 1.8); 0 when there is none.
double versionNumber(const QString& version);

}  // namespace srk
