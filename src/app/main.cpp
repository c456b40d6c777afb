// The desktop program. Until the main frame exists it opens the catalogue in the data folder, creating
// what is missing, and reports what it found.

#include "access/DefaultMedia.h"
#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "settings/SettingsPaths.h"
#include "store/Store.h"
#include "store/Table.h"
#include "ui/DialogMessages.h"

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
    if (!haveDisplay()) {
        std::fputs("sonorika: no display found; run it on a desktop, or set QT_QPA_PLATFORM=offscreen, or use "
                   "sonorika-cli for work without a display.\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sonorika Pro 97"));

    const FolderResult folder = resolveDataFolder(dataFolderArgument(QCoreApplication::arguments()));
    if (!folder.ok()) {
        QMessageBox::critical(nullptr, QStringLiteral("Sonorika Pro 97"), folder.errorText);
        return 1;
    }
    Store store(folder.path);
    DialogMessages messages;
    TableAccess access(store, messages);
    QStringList found;
    for (const TableDef* def : catalogTables()) {
        const AccessResult result = access.openTable(*def);
        if (!result.ok()) {
            if (!result.stopText.isEmpty())
                QMessageBox::critical(nullptr, QStringLiteral("Sonorika Pro 97"), result.stopText);
            return 1;
        }
        found << QStringLiteral("%1: %2 records").arg(def->label).arg(Table(store, *def).records());
    }
    seedDefaultMedia(access);
    QMessageBox::information(nullptr, QStringLiteral("Sonorika Pro 97"),
                             QStringLiteral("Catalogue in %1\n\n%2").arg(folder.path, found.join(QLatin1Char('\n'))));
    return 0;
}
