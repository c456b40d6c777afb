// The desktop program.

#include "reports/ReportPageList.h"
#include "settings/SettingsPaths.h"
#include "ui/shell/Program.h"
#include "ui/shell/ShutdownSignals.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

using namespace srk;

namespace {

bool haveDisplay() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char** argv) {
    // First of all, so that a quit asked for at any point of the start closes the program in order.
    ShutdownSignals::install();
    if (!haveDisplay()) {
        std::fputs("sonorika: no display found; start it on a desktop, set QT_QPA_PLATFORM=offscreen to run it "
                   "without one, or use sonorika-cli for work without a display.\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sonorika Pro 97"));
    QApplication::setOrganizationName(QStringLiteral("Sonorika"));

    QStringList arguments = QCoreApplication::arguments();
    QString argumentError;
    if (!Program::takeArguments(arguments, argumentError)) {
        QMessageBox::critical(nullptr, QStringLiteral("Sonorika Pro 97"), argumentError);
        return 1;
    }
    const FolderResult data = dataFolderFromArguments(arguments);
    const FolderResult config = resolveConfigFolder();
    for (const FolderResult* folder : {&data, &config}) {
        if (!folder->ok()) {
            QMessageBox::critical(nullptr, QStringLiteral("Sonorika Pro 97"), folder->errorText);
            return 1;
        }
    }
    // Report pages left by a run that died midway; a running program's are never touched.
    ReportPageList::removeStaleFolders();
    Program program({data.path, config.path, nullptr, true, true});
    // The run ends when the frame has closed in order, whatever other windows are still up.
    QObject::connect(&program, &Program::ended, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    if (!program.start())
        return 1;
    return QApplication::exec();
}
