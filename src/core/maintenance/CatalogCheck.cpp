#include "maintenance/CatalogCheck.h"

#include "catalog/Tables.h"
#include "store/Store.h"
#include "store/Table.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace srk {

QVector<TableCheck> checkCatalog(const QString& dataFolder) {
    QVector<TableCheck> result;
    Store store(dataFolder);
    store.setReadOnly(true);
    const bool connected = store.connect();
    for (const TableDef* def : catalogTables()) {
        TableCheck check;
        check.label = def->label;
        check.fileName = store.filePath(*def);
        if (!connected) {
            check.problems << store.lastError().displayText();
            result << check;
            continue;
        }
        if (Store::fileIsMissing(check.fileName)) {
            check.problems << QStringLiteral("file missing (it is created when the program opens the table)");
            result << check;
            continue;
        }
        const int rc = store.openFile(*def);
        if (rc != NoError) {
            check.problems << QStringLiteral("cannot be opened: ") + store.lastError().displayText();
            result << check;
            continue;
        }
        Table table(store, *def);
        check.records = table.records();
        check.version = store.fileVersion(*def);
        const QByteArray sql =
            QStringLiteral("PRAGMA \"%1\".integrity_check(50)").arg(Store::schemaName(*def)).toUtf8();
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(store.handle(), sql.constData(), -1, &stmt, nullptr) == SQLITE_OK) {
            int step;
            while ((step = sqlite3_step(stmt)) == SQLITE_ROW) {
                const QString line = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
                if (line != QLatin1String("ok"))
                    check.problems << line;
            }
            if (step != SQLITE_DONE)
                check.problems << QString::fromUtf8(sqlite3_errmsg(store.handle()));
        } else {
            check.problems << QString::fromUtf8(sqlite3_errmsg(store.handle()));
        }
        sqlite3_finalize(stmt);
        store.closeFile(*def);
        result << check;
    }
    return result;
}

}  // namespace srk
