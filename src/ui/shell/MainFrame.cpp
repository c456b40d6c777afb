#include "ui/shell/MainFrame.h"

#include "ui/ProgramContext.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/WindowPlacer.h"
#include "ui/shell/PrintSetupDialog.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPrinter>
#include <QStatusBar>
#include <QSvgRenderer>
#include <QPainter>
#include <QTimer>
#include <QToolBar>

namespace srk {

namespace {

const QString kFrameName = QStringLiteral("Main");

bool isFrameCommand(const QString& command) {
    using namespace FrameCommand;
    return command == PrintSetup || command == Exit || command == Cut || command == Copy || command == Paste ||
           command == Tile || command == Cascade || command == ArrangeIcons;
}

QPixmap svgPixmap(const QString& path, const QSize& size) {
    QSvgRenderer renderer(path);
    QPixmap pixmap(size * 2);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    pixmap.setDevicePixelRatio(2);
    return pixmap;
}

}  // namespace

MainFrame::MainFrame(ProgramContext& context, QWidget* parent)
    : QMainWindow(parent), m_context(context), m_workspace(new QMdiArea(this)) {
    setObjectName(QStringLiteral("MAIN$APPFRAME"));
    setWindowTitle(QStringLiteral("Sonorika Pro 97"));
    setWindowIcon(QIcon(svgPixmap(QStringLiteral(":/icons/smcd.svg"), QSize(32, 32))));
    m_workspace->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_workspace->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_workspace->setBackground(QColor(0x5a, 0x6e, 0x8c));
    setCentralWidget(m_workspace);
    statusBar()->showMessage(QString());
    buildMenus();
    buildToolBar();
    resize(960, 680);
    m_placer = new WindowPlacer(this, m_context.positions, kFrameName);
    m_placer->restore();
    refreshActions();
    connect(&ModalWindows::instance(), &ModalWindows::allReturned, this, &MainFrame::closeWhenModalsReturned);
}

MainFrame::~MainFrame() { delete m_printer; }

void MainFrame::buildMenus() {
    for (const FrameMenu& menu : frameMenus()) {
        QMenu* top = menuBar()->addMenu(menu.title);
        QMenu* current = top;
        for (const FrameMenuEntry& e : menu.entries) {
            switch (e.kind) {
            case FrameMenuEntry::Separator: current->addSeparator(); break;
            case FrameMenuEntry::Submenu:
                current = top->addMenu(e.text);
                current->menuAction()->setStatusTip(e.tip);
                break;
            case FrameMenuEntry::EndSubmenu: current = top; break;
            case FrameMenuEntry::Command: {
                QAction* action = current->addAction(e.text);
                action->setStatusTip(e.tip);
                action->setToolTip(e.tip.isEmpty() ? QString(e.text).remove(QLatin1Char('&')) : e.tip);
                connect(action, &QAction::triggered, this, [this, e] { choose(e); });
                m_entries.push_back({e, action});
                break;
            }
            }
        }
    }
    // The edit entries act on whatever control has the focus.
    menuAction(QStringLiteral("&Edit"), QStringLiteral("Cu&t"))->setShortcut(QKeySequence::Cut);
    menuAction(QStringLiteral("&Edit"), QStringLiteral("&Copy"))->setShortcut(QKeySequence::Copy);
    menuAction(QStringLiteral("&Edit"), QStringLiteral("&Paste"))->setShortcut(QKeySequence::Paste);
    for (const QString& text : {QStringLiteral("Cu&t"), QStringLiteral("&Copy"), QStringLiteral("&Paste")})
        menuAction(QStringLiteral("&Edit"), text)->setShortcutContext(Qt::ApplicationShortcut);
    menuAction(QStringLiteral("&Help"), QStringLiteral("&Contents"))->setShortcut(QKeySequence::HelpContents);
}

void MainFrame::buildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Tools"));
    bar->setObjectName(QStringLiteral("MainToolBar"));
    bar->setMovable(false);
    bar->setIconSize(QSize(32, 32));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (const FrameToolButton& b : frameToolButtons()) {
        FrameMenuEntry e{FrameMenuEntry::Command, b.text, QString(), b.procedure, b.explorerProcedure};
        QAction* action = bar->addAction(QIcon(svgPixmap(b.icon, QSize(32, 32))), b.text);
        connect(action, &QAction::triggered, this, [this, e] { choose(e); });
        m_toolEntries.push_back({e, action});
    }
    auto* spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);
    m_picture = new QLabel(bar);
    m_picture->setObjectName(QStringLiteral("ToolBarPicture"));
    m_picture->setContentsMargins(4, 2, 8, 2);
    bar->addWidget(m_picture);
    setToolBarPicture(QString());
}

void MainFrame::setToolBarPicture(const QString& fileName) {
    QPixmap picture;
    // Only a plain file: reading a named pipe or a device would hang the start-up.
    if (!fileName.trimmed().isEmpty() && QFileInfo(fileName.trimmed()).isFile())
        picture.load(fileName.trimmed());
    if (picture.isNull())
        picture = svgPixmap(QStringLiteral(":/icons/logo.svg"), QSize(220, 40));
    else if (picture.height() > 48)
        picture = picture.scaledToHeight(48, Qt::SmoothTransformation);
    m_picture->setPixmap(picture);
}

QString MainFrame::procedureFor(const FrameMenuEntry& entry) const {
    if (!entry.explorerProcedure.isEmpty() &&
        m_context.preferences.Interface.compare(QLatin1String("Explorer"), Qt::CaseInsensitive) == 0)
        return entry.explorerProcedure;
    return entry.procedure;
}

QAction* MainFrame::menuAction(const QString& menuTitle, const QString& entryText) const {
    for (QAction* top : menuBar()->actions()) {
        if (top->text() != menuTitle || !top->menu())
            continue;
        QList<QMenu*> menus{top->menu()};
        while (!menus.isEmpty()) {
            QMenu* m = menus.takeFirst();
            for (QAction* a : m->actions()) {
                if (a->menu())
                    menus << a->menu();
                else if (a->text() == entryText)
                    return a;
            }
        }
    }
    return nullptr;
}

QPrinter& MainFrame::printer() {
    if (!m_printer)
        m_printer = new QPrinter(QPrinter::HighResolution);
    return *m_printer;
}

QList<QAction*> MainFrame::toolBarActions() const {
    QList<QAction*> actions;
    for (const Entry& e : m_toolEntries)
        actions << e.action;
    return actions;
}

void MainFrame::refreshActions() {
    auto available = [this](const FrameMenuEntry& e) {
        const QString p = procedureFor(e);
        return isFrameCommand(p) || hasWindow(p);
    };
    for (Entry& e : m_entries)
        e.action->setEnabled(available(e.entry));
    for (Entry& e : m_toolEntries)
        e.action->setEnabled(available(e.entry));
}

void MainFrame::choose(const FrameMenuEntry& entry) { runCommand(procedureFor(entry)); }

void MainFrame::postCommand(const QString& command) {
    QTimer::singleShot(0, this, [this, command] { runCommand(command); });
}

void MainFrame::runCommand(const QString& command) {
    Q_EMIT commandChosen(command);
    using namespace FrameCommand;
    if (command == Exit) {
        close();
    } else if (command == Cut) {
        editFocused("cut");
    } else if (command == Copy) {
        editFocused("copy");
    } else if (command == Paste) {
        editFocused("paste");
    } else if (command == Tile) {
        m_workspace->tileSubWindows();
    } else if (command == Cascade) {
        m_workspace->cascadeSubWindows();
    } else if (command == ArrangeIcons) {
        arrangeIcons();
    } else if (command == PrintSetup) {
        printSetup();
    } else if (QWidget* window = nullptr; open(command, window) && window) {
        addChild(window);
    }
}

QMdiSubWindow* MainFrame::addChild(QWidget* window) {
    window->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* sub = m_workspace->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    m_workspace->setActiveSubWindow(sub);
    return sub;
}

void MainFrame::editFocused(const char* slot) {
    QWidget* focused = QApplication::focusWidget();
    if (auto* combo = qobject_cast<QComboBox*>(focused); combo && combo->lineEdit())
        focused = combo->lineEdit();
    if (focused)
        QMetaObject::invokeMethod(focused, slot);
}

void MainFrame::arrangeIcons() {
    // Minimised windows line up along the bottom of the workspace, left to right.
    int x = 0;
    const int bottom = m_workspace->viewport()->height();
    for (QMdiSubWindow* sub : m_workspace->subWindowList()) {
        if (!sub->isMinimized())
            continue;
        sub->move(x, bottom - sub->height());
        x += sub->width();
    }
}

void MainFrame::printSetup() {
    ModalWindow<PrintSetupDialog> dialog(printer(), this);
    dialog.exec();
}

void MainFrame::requestQuit() {
    m_quitRequested = true;
    ModalWindows& modals = ModalWindows::instance();
    if (modals.running() > 0)
        modals.cancelAll();
    else
        close();
}

void MainFrame::closeWhenModalsReturned() {
    // Called as the outermost modal loop returns, with its caller still on the stack: the close waits
    // for the event loop, so that caller finishes before anything it belongs to is deleted.
    if (m_quitRequested)
        QTimer::singleShot(0, this, &MainFrame::requestQuit);
}

void MainFrame::closeEvent(QCloseEvent* event) {
    if (ModalWindows::instance().running() > 0) {
        // Closing now would delete windows whose modal children are still inside their own loops.
        event->ignore();
        requestQuit();
        return;
    }
    m_workspace->closeAllSubWindows();
    if (!m_workspace->subWindowList().isEmpty()) {
        // A child refused to close (it asked the user and was told to stay).
        event->ignore();
        m_quitRequested = false;
        ModalWindows::instance().endCancelling();
        return;
    }
    m_placer->save();
    m_context.positions.save();
    Q_EMIT closingDown();
    ModalWindows::instance().endCancelling();
    event->accept();
}

}  // namespace srk
