// Comma-delimited exchange figures: the export of a generated catalogue, the import of that file into
// an empty catalogue, and the sqlite3 shell's .import of the same file into a table of the same
// columns, timed in the same run. Memory is sampled while the jobs run.
//
//   exchange_bench [--songs N] [--folder DIR] [--only export|import]
//
// Without --folder a temporary folder is used and removed afterwards. "--only import" reuses the file of
// an earlier export in the folder (for profiling one side). The import always starts from an empty
// catalogue.

#include "access/ScriptedMessages.h"
#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "exchange/ExchangeFields.h"
#include "exchange/ExportJob.h"
#include "exchange/ExportSetup.h"
#include "exchange/CategoryMapper.h"
#include "exchange/CsvReader.h"
#include "exchange/ImportJob.h"
#include "exchange/ImportLine.h"
#include "exchange/ImportMapping.h"
#include "maintenance/SyntheticCatalog.h"
#include "query/QueryFunctions.h"
#include "store/Store.h"
#include "store/Table.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

using namespace srk;

namespace {

// Resident memory of this process in MB.
double residentMb() {
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() > 1 ? parts[1].toDouble() * 4096.0 / (1024.0 * 1024.0) : 0;
}

// Processor seconds (user and system) of this process, or of its finished children.
double cpuSeconds(int who) {
    rusage u{};
    getrusage(who, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

struct Run {
    double seconds = 0;
    double cpu = 0;
    double memoryAt10 = 0;
    double memoryAt50 = 0;
    double memoryAtEnd = 0;
    bool ok = false;
};

struct ShellRun {
    double seconds = 0;
    double cpu = 0;
    QByteArray output;
};

// Runs a script through the sqlite3 shell on a new database file, timed.
ShellRun runShell(const QString& shell, const QString& db, const QString& script) {
    QFile::remove(db);
    QProcess p;
    p.start(shell, {db});
    p.waitForStarted();
    ShellRun run;
    QElapsedTimer t;
    t.start();
    const double childCpu = cpuSeconds(RUSAGE_CHILDREN);
    p.write(script.toUtf8());
    p.closeWriteChannel();
    p.waitForFinished(-1);
    run.seconds = double(t.nsecsElapsed()) / 1e9;
    run.cpu = cpuSeconds(RUSAGE_CHILDREN) - childCpu;
    // The count the script ends with.
    run.output = p.readAllStandardOutput().trimmed();
    run.output = run.output.mid(run.output.lastIndexOf('\n') + 1);
    const QByteArray err = p.readAllStandardError();
    if (!err.isEmpty())
        std::printf("sqlite3 said: %s\n", err.left(300).constData());
    QFile::remove(db);
    return run;
}

template <class J>
Run drive(J& job) {
    Run run;
    QElapsedTimer t;
    t.start();
    const double cpu = cpuSeconds(RUSAGE_SELF);
    while (job.step()) {
        const int p = job.percent();
        if (run.memoryAt10 == 0 && p >= 10)
            run.memoryAt10 = residentMb();
        if (run.memoryAt50 == 0 && p >= 50)
            run.memoryAt50 = residentMb();
    }
    run.seconds = double(t.nsecsElapsed()) / 1e9;
    run.cpu = cpuSeconds(RUSAGE_SELF) - cpu;
    run.memoryAtEnd = residentMb();
    run.ok = job.completed();
    return run;
}

bool openAll(TableAccess& access) {
    for (const TableDef* def : catalogTables())
        if (!access.openTable(*def).ok())
            return false;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    Store::addConnectionHook(&registerQueryFunctions);
    // Figures show as they come, also when written to a file.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    qint64 songs = 1000000;
    QString folder, only;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--songs"))
            songs = args[i + 1].toLongLong();
        else if (args[i] == QLatin1String("--folder"))
            folder = args[i + 1];
        else if (args[i] == QLatin1String("--only"))
            only = args[i + 1];
    }
    QTemporaryDir temp;
    if (folder.isEmpty())
        folder = temp.path();
    const QString from = folder + QStringLiteral("/from"), to = folder + QStringLiteral("/to");
    // A catalogue left by an earlier run would turn the load into an import into a full table.
    QDir(to).removeRecursively();
    QDir().mkpath(from);
    QDir().mkpath(to);
    const QString csv = folder + QStringLiteral("/songs.csv");

    ScriptedMessages messages;
    if (only != QLatin1String("import")) {
        Store store(from);
        TableAccess access(store, messages);
        if (!openAll(access)) {
            std::fprintf(stderr, "cannot open the catalogue in %s\n", qPrintable(from));
            return 1;
        }
        if (Table(store, songsTable()).records() < songs) {
            SyntheticCatalog gen(store, {songs, songs / 10, 1997});
            QElapsedTimer t;
            t.start();
            while (gen.step()) {
            }
            std::printf("generated %lld songs in %.1f s\n", gen.songsWritten(), double(t.nsecsElapsed()) / 1e9);
        }
        ExportSetup setup;
        ExportJob job(access, csv, setup.columns(), true);
        const double before = residentMb();
        const Run run = drive(job);
        std::printf("export  %8lld songs  %7.2f s (cpu %6.2f s)  %9.0f lines/s (by cpu %9.0f)  memory MB: start %.0f, 10%% %.0f, 50%% %.0f, end %.0f  %s\n",
                    job.songsWritten(), run.seconds, run.cpu, double(job.songsWritten()) / run.seconds,
                    double(job.songsWritten()) / run.cpu, before, run.memoryAt10,
                    run.memoryAt50, run.memoryAtEnd, run.ok ? "" : "FAILED");
    }
    if (only == QLatin1String("export"))
        return 0;
    const qint64 bytes = QFileInfo(csv).size();
    std::printf("file    %.1f MB\n", double(bytes) / 1e6);

    // Reading, splitting and assigning alone, without adding: what the file costs apart from the store.
    {
        QTemporaryDir scratch;
        Store store(scratch.path());
        TableAccess access(store, messages);
        ImportMapping mapping;
        if (!openAll(access) || mapping.open(csv) != ImportMapping::OpenResult::Ok)
            return 1;
        const ImportPlan plan = mapping.plan();
        CsvReader reader;
        reader.open(csv);
        CategoryMapper categories(store);
        Record song(songsTable());
        QString line;
        qint64 lines = 0;
        QElapsedTimer t;
        t.start();
        const double cpu = cpuSeconds(RUSAGE_SELF);
        ImportLineAssigner assigner(plan);
        reader.next(line);  // the header
        while (reader.next(line) == CsvReader::Status::Record) {
            song.clear();
            assigner.assign(line, categories, song);
            ++lines;
        }
        const double seconds = double(t.nsecsElapsed()) / 1e9, used = cpuSeconds(RUSAGE_SELF) - cpu;
        std::printf("read+assign only  %8lld lines  %7.2f s (cpu %6.2f s)  %9.0f lines/s (by cpu %9.0f)\n", lines,
                    seconds, used, double(lines) / seconds, double(lines) / used);
    }

    double ours = 0, oursCpu = 0;
    {
        Store store(to);
        TableAccess access(store, messages);
        if (!openAll(access))
            return 1;
        ImportMapping mapping;
        if (mapping.open(csv) != ImportMapping::OpenResult::Ok)
            return 1;
        ImportJob job(access, csv, mapping.plan());
        const double before = residentMb();
        const Run run = drive(job);
        ours = run.seconds;
        oursCpu = run.cpu;
        std::printf("import  %8lld lines  %7.2f s (cpu %6.2f s)  %9.0f lines/s (by cpu %9.0f)  memory MB: start %.0f, 10%% %.0f, 50%% %.0f, end %.0f  %s\n",
                    job.songsAdded(), run.seconds, run.cpu, double(job.songsAdded()) / run.seconds,
                    double(job.songsAdded()) / run.cpu, before, run.memoryAt10,
                    run.memoryAt50, run.memoryAtEnd, run.ok ? "" : "FAILED");
    }

    // The same file through the sqlite3 shell into a table of the file's 23 columns. That table has no
    // column types, no keys and no collation, where the song file has 24 typed columns plus its row
    // number and change counter, and 11 keys compared through the folding collation: the shell's
    // figure is a floor for reading and storing the file, not the same work.
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (shell.isEmpty()) {
        std::printf("sqlite3 shell: not installed (scripts/setup installs it)\n");
        return 0;
    }
    QStringList columns;
    for (const ExportField& f : exportFields())
        columns << QLatin1Char('"') + f.name + QLatin1Char('"');
    const QString create = QStringLiteral("CREATE TABLE songs(%1);\n.import --csv --skip 1 '%2' songs\n")
                               .arg(columns.join(QLatin1Char(',')), csv);
    const ShellRun plain = runShell(shell, folder + QStringLiteral("/shell.db"),
                                    create + QStringLiteral("SELECT count(*) FROM songs;\n"));
    std::printf("(shell table: %lld untyped columns, no keys; song file: %lld columns, %lld keys)\n",
                qint64(columns.size()), qint64(songsTable().fields.size()) + 2, qint64(songsTable().keys.size()));
    std::printf("sqlite3 .import  %s lines  %7.2f s (cpu %6.2f s)  %9.0f lines/s   ours / shell = %.2f (by cpu %.2f)\n",
                plain.output.constData(), plain.seconds, plain.cpu, double(songs) / plain.seconds,
                plain.seconds > 0 ? ours / plain.seconds : 0.0, plain.cpu > 0 ? oursCpu / plain.cpu : 0.0);

    // The same again with the song file's keys built on the shell's table once it is loaded, sorted the
    // way ours are (a second thread, 8 MB runs), text compared by the engine's own case folding. The keys
    // on song and album numbers are left out: the file has no column for them.
    QStringList keys;
    int built = 0;
    for (const KeyDef& k : songsTable().keys) {
        QStringList parts;
        for (int c : k.components) {
            const FieldDef& f = songsTable().fields[c];
            const QString column = QStringLiteral("\"SON:%1\"").arg(f.name);
            if (!columns.contains(column)) {
                parts.clear();
                break;
            }
            parts << column + (f.kind == FieldKind::Text ? QStringLiteral(" COLLATE NOCASE") : QString());
        }
        if (parts.isEmpty())
            continue;
        keys << QStringLiteral("CREATE INDEX k%1 ON songs(%2);").arg(++built).arg(parts.join(QLatin1Char(',')));
    }
    const ShellRun keyed = runShell(
        shell, folder + QStringLiteral("/shell-keyed.db"),
        QStringLiteral("PRAGMA threads=1;\nPRAGMA cache_size=-8192;\n") + create +
            QStringLiteral("BEGIN;\n%1\nCOMMIT;\nSELECT count(*) FROM songs;\n").arg(keys.join(QLatin1Char('\n'))));
    std::printf("sqlite3 .import + %d of the keys  %s lines  %7.2f s (cpu %6.2f s)  %9.0f lines/s   ours / shell = %.2f (by cpu %.2f)\n",
                built, keyed.output.constData(), keyed.seconds, keyed.cpu, double(songs) / keyed.seconds,
                keyed.seconds > 0 ? ours / keyed.seconds : 0.0, keyed.cpu > 0 ? oursCpu / keyed.cpu : 0.0);
    return 0;
}
