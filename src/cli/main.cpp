// sonorika-cli: the catalogue's batch work without a display, for users' scripts, tests and benchmarks.

#include "ExchangeCommands.h"
#include "ReportCommand.h"
#include "access/ConsoleMessages.h"
#include "access/DefaultMedia.h"
#include "access/PrimedOwners.h"
#include "access/TableAccess.h"
#include "albums/ConvertAlbumDateToYear.h"
#include "albums/ConvertDateToYear.h"
#include "albums/CopyToAlbum.h"
#include "albums/TestAlbumIDs.h"
#include "catalog/Tables.h"
#include "cd/CdDeviceChoice.h"
#include "cd/CdSerialNumber.h"
#include "cd/DiscTime.h"
#include "cd/SendMciCommand.h"
#include "maintenance/CatalogCheck.h"
#include "maintenance/SyntheticCatalog.h"
#include "PlaylistGenerateCommand.h"
#include "query/QueryFunctions.h"
#include "settings/IniFile.h"
#include "settings/Preferences.h"
#include "settings/SettingsPaths.h"
#include "store/Store.h"
#include "store/Table.h"
#include "text/Picture.h"
#include "playlists/ThisWeekToLastWeek.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

using namespace srk;

namespace {

const char* const kUsage =
    "usage: sonorika-cli [--data DIR] COMMAND [ARGUMENTS]\n"
    "\n"
    "commands:\n"
    "  init                                   open every table, creating what is missing, and seed the media\n"
    "  info                                   per table: label, file, records, layout version\n"
    "  check                                  verify every file without changing anything\n"
    "  generate --songs N --albums M [--seed S]  add a made-up catalogue (for demos and benchmarks)\n"
    "  copy-to-album                          build albums from the songs not linked to one\n"
    "  convert-dates-to-year                  turn the full release dates of songs and albums into years\n"
    "  test-album-links                       link every song to the album of its name, number songs without id\n"
    "  chart-rollover PLAYLIST_ID             write each line's place into its note as last week's (\"LW:\")\n"
    "  format VALUE PICTURE                   show a value through a display picture\n"
    "  deformat TEXT PICTURE                  read a text back through a display picture\n"
    "  disc-info                              the disc's serial number, track count and track lengths\n"
    "  playlist-generate --size N [--from DATE] [--to DATE] [--category NAME] [--weighting TEXT] [--seed S]\n"
    "                                         a new playlist of N (0-99) songs drawn at random; dates mm/dd/yyyy\n"
    "  report MEMBER --pdf OUT.pdf [--style brief] [--selected PREFIX] [--category NAME] [--album ID]\n"
    "         [--playlist ID] [--filter EXPR] print a catalogue report or playlist printout into a PDF\n"
    "  report --list                          the reports there are\n"
    "  import FILE [--map 'SON:Artist=1,...'] [--picture N=@d2 ...] [--header | --no-header] [--auto]\n"
    "                                         add songs from a comma-delimited file; without --map the\n"
    "                                         columns are found by a header line of field names\n"
    "  export FILE [--fields 'SON:Artist@s40,...'] [--no-header]\n"
    "                                         write every song, in artist order, to a comma-delimited file\n"
    "\n"
    "The data folder is --data DIR, else $SONORIKA_DATA, else $XDG_DATA_HOME/sonorika.\n"
    "The compact disc drive is --cd-device PATH (a device, or a .cue/.toc/.nrg disc image), else the\n"
    "preference CDDevice, else the system's default drive.\n";

void out(const QString& text) { std::fputs(qPrintable(text + QLatin1Char('\n')), stdout); }
void err(const QString& text) { std::fputs(qPrintable(text + QLatin1Char('\n')), stderr); }

int usageError(const QString& text) {
    err(QStringLiteral("sonorika-cli: ") + text);
    err(QStringLiteral("Try 'sonorika-cli --help'."));
    return 2;
}

// Opens every table the way the program does; false (after the messages were printed) when one cannot be.
bool openCatalog(TableAccess& access) {
    for (const TableDef* def : catalogTables()) {
        const AccessResult result = access.openTable(*def);
        if (!result.ok()) {
            err(QStringLiteral("sonorika-cli: cannot open %1: %2")
                    .arg(def->label, result.stopText.isEmpty() ? access.store().lastError().displayText()
                                                              : result.stopText));
            return false;
        }
    }
    if (seedDefaultMedia(access) != NoError) {
        err(QStringLiteral("sonorika-cli: cannot add the default media: ") + access.store().lastError().displayText());
        return false;
    }
    // Forms of a process that was killed leave their primed records behind.
    removeOrphanedPrimes(access);
    return true;
}

int commandInit(const QString& folder) {
    Store store(folder);
    ConsoleMessages messages;
    TableAccess access(store, messages);
    if (!openCatalog(access))
        return 1;
    for (const TableDef* def : catalogTables()) {
        Table table(store, *def);
        out(QStringLiteral("%1\t%2\t%3 records").arg(def->label, store.filePath(*def)).arg(table.records()));
    }
    return 0;
}

int commandInfo(const QString& folder) {
    Store store(folder);
    store.setReadOnly(true);
    if (!store.connect()) {
        err(QStringLiteral("sonorika-cli: ") + store.lastError().displayText());
        return 1;
    }
    out(QStringLiteral("data folder: ") + folder);
    int missing = 0;
    for (const TableDef* def : catalogTables()) {
        const QString file = store.filePath(*def);
        if (Store::fileIsMissing(file)) {
            out(QStringLiteral("%1\t%2\tmissing").arg(def->label, file));
            ++missing;
            continue;
        }
        if (store.openFile(*def) != NoError) {
            out(QStringLiteral("%1\t%2\tcannot be opened: %3").arg(def->label, file, store.lastError().displayText()));
            ++missing;
            continue;
        }
        Table table(store, *def);
        out(QStringLiteral("%1\t%2\t%3 records\tlayout %4")
                .arg(def->label, file)
                .arg(table.records())
                .arg(store.fileVersion(*def)));
        store.closeFile(*def);
    }
    return missing ? 1 : 0;
}

int commandCheck(const QString& folder) {
    int problems = 0;
    for (const TableCheck& check : checkCatalog(folder)) {
        if (check.problems.isEmpty() && check.version == 0) {
            out(QStringLiteral("%1\tok\t%2").arg(check.label, check.fileName));
            continue;
        }
        if (check.problems.isEmpty()) {
            out(QStringLiteral("%1\tok\t%2 records\tlayout %3").arg(check.label).arg(check.records).arg(check.version));
            continue;
        }
        for (const QString& p : check.problems)
            out(QStringLiteral("%1\tPROBLEM\t%2: %3").arg(check.label, check.fileName, p));
        problems += int(check.problems.size());
    }
    out(problems ? QStringLiteral("%1 problem(s) found").arg(problems) : QStringLiteral("no problems found"));
    return problems ? 1 : 0;
}

bool parseCount(const QString& text, qint64& value) {
    bool ok = false;
    value = text.toLongLong(&ok);
    return ok && value >= 0;
}

// Drives a job with a text progress line on standard error; true when it ran to its end.
bool runJob(Job& job) {
    int shown = -1;
    while (job.step()) {
        if (job.percent() != shown) {
            shown = job.percent();
            std::fprintf(stderr, "\r%3d%% Completed", shown);
        }
    }
    std::fprintf(stderr, "\r%20s\r", "");
    return job.errorText().isEmpty() && !job.cancelled();
}

int commandGenerate(const QString& folder, const QStringList& args) {
    SyntheticCatalog::Size size;
    bool haveSongs = false, haveAlbums = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (i + 1 >= args.size())
            return usageError(QStringLiteral("'%1' needs a value").arg(a));
        qint64 value = 0;
        if (!parseCount(args[i + 1], value))
            return usageError(QStringLiteral("'%1' is not a whole number of zero or more").arg(args[i + 1]));
        if (a == QLatin1String("--songs"))
            size.songs = value, haveSongs = true;
        else if (a == QLatin1String("--albums"))
            size.albums = value, haveAlbums = true;
        else if (a == QLatin1String("--seed"))
            size.seed = quint64(value);
        else
            return usageError(QStringLiteral("unknown option '%1'").arg(a));
        ++i;
    }
    if (!haveSongs || !haveAlbums)
        return usageError(QStringLiteral("generate needs --songs N and --albums M"));
    if (size.songs > 100000000 || size.albums > 10000000)
        return usageError(QStringLiteral("at most 100,000,000 songs and 10,000,000 albums"));

    Store store(folder);
    ConsoleMessages messages;
    TableAccess access(store, messages);
    if (!openCatalog(access))
        return 1;
    SyntheticCatalog job(store, size);
    QElapsedTimer timer;
    timer.start();
    runJob(job);
    if (!job.errorText().isEmpty()) {
        err(QStringLiteral("sonorika-cli: generation stopped: ") + job.errorText());
        return 1;
    }
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    out(QStringLiteral("%1 songs, %2 albums, %3 playlists in %4 s (%5 songs/s)")
            .arg(job.songsWritten())
            .arg(job.albumsWritten())
            .arg(job.playlistsWritten())
            .arg(seconds, 0, 'f', 2)
            .arg(seconds > 0 ? double(job.songsWritten()) / seconds : 0.0, 0, 'f', 0));
    return 0;
}

// The exit code of a batch run, saying why it did not finish.
int endOfRun(const QString& command, bool done, const QString& why) {
    if (!done)
        err(why.isEmpty() ? QStringLiteral("sonorika-cli: the run was cancelled")
                          : QStringLiteral("sonorika-cli: ") + command + QStringLiteral(" stopped: ") + why);
    return done ? 0 : 1;
}

int commandCopyToAlbum(const QString& folder) {
    Store store(folder);
    ConsoleMessages messages;
    TableAccess access(store, messages);
    if (!openCatalog(access))
        return 1;
    CopyToAlbum job(access);
    QElapsedTimer timer;
    timer.start();
    const bool done = runJob(job) && job.completed();
    out(QStringLiteral("%1 songs read, %2 linked, %3 albums made in %4 s")
            .arg(job.songsRead())
            .arg(job.songsLinked())
            .arg(job.albumsMade())
            .arg(double(timer.nsecsElapsed()) / 1e9, 0, 'f', 2));
    return endOfRun(QStringLiteral("copy-to-album"), done, job.errorText());
}

double perSecond(qint64 count, double seconds) { return seconds > 0 ? double(count) / seconds : 0.0; }

int commandTestAlbumLinks(const QString& folder) {
    Store store(folder);
    ConsoleMessages messages;
    TableAccess access(store, messages);
    if (!openCatalog(access))
        return 1;
    TestAlbumIDs job(access);
    QElapsedTimer timer;
    timer.start();
    const bool done = runJob(job) && job.completed();
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    out(QStringLiteral("%1 songs read, %2 relinked, %3 unlinked, %4 ids given in %5 s (%6 songs/s)")
            .arg(job.songsRead())
            .arg(job.songsRelinked())
            .arg(job.songsUnlinked())
            .arg(job.idsGiven())
            .arg(seconds, 0, 'f', 2)
            .arg(perSecond(job.songsRead(), seconds), 0, 'f', 0));
    return endOfRun(QStringLiteral("test-album-links"), done, job.errorText());
}

int commandConvertDatesToYear(const QString& folder) {
    Store store(folder);
    ConsoleMessages messages;
    TableAccess access(store, messages);
    if (!openCatalog(access))
        return 1;
    QElapsedTimer timer;
    timer.start();
    ConvertDateToYear songs(access);
    bool done = runJob(songs) && songs.completed();
    ConvertAlbumDateToYear albums(access);
    // The albums follow only when every song was converted.
    if (done)
        done = runJob(albums) && albums.completed();
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    const qint64 read = songs.recordsRead() + albums.recordsRead();
    out(QStringLiteral("%1 songs read, %2 dates converted; %3 albums read, %4 dates converted in %5 s (%6 records/s)")
            .arg(songs.recordsRead())
            .arg(songs.datesConverted())
            .arg(albums.recordsRead())
            .arg(albums.datesConverted())
            .arg(seconds, 0, 'f', 2)
            .arg(perSecond(read, seconds), 0, 'f', 0));
    return endOfRun(QStringLiteral("convert-dates-to-year"), done,
                    !songs.errorText().isEmpty() ? songs.errorText() : albums.errorText());
}

int commandChartRollover(const QString& folder, const QStringList& args) {
    bool ok = args.size() == 1;
    const qint64 playlistId = ok ? args.first().toLongLong(&ok) : 0;
    if (!ok)
        return usageError(QStringLiteral("chart-rollover needs one playlist id"));
    Store store(folder);
    ConsoleMessages messages;
    TableAccess access(store, messages);
    if (!openCatalog(access))
        return 1;
    ThisWeekToLastWeek job(access, playlistId);
    const bool done = runJob(job) && job.completed();
    out(QStringLiteral("playlist %1: %2 lines given their place as last week's").arg(playlistId).arg(job.linesWritten()));
    return endOfRun(QStringLiteral("chart-rollover"), done, job.errorText());
}

int commandFormat(const QStringList& args, bool back) {
    if (args.size() != 2)
        return usageError(back ? QStringLiteral("deformat needs TEXT and PICTURE")
                               : QStringLiteral("format needs VALUE and PICTURE"));
    if (!parsePicture(args[1]).isValid()) {
        err(QStringLiteral("sonorika-cli: '%1' is not a display picture").arg(args[1]));
        return 1;
    }
    if (back)
        out(deformat(args[0], args[1]).toString());
    else
        out(format(QVariant(args[0]), args[1]));
    return 0;
}

// The drive from the preferences file, unless --cd-device chose one.
void loadCdDevicePreference() {
    const FolderResult config = resolveConfigFolder();
    if (!config.ok())
        return;
    IniFile file;
    if (file.load(preferencesFilePath(config.path)))
        setCdDevicePreference(Preferences::load(file).CDDevice);
}

int commandDiscInfo(const QStringList& args) {
    if (!args.isEmpty())
        return usageError(QStringLiteral("disc-info takes no arguments but --cd-device PATH"));
    loadCdDevicePreference();
    const QString device = chosenCdDevice();
    const QString name = device.isEmpty() ? QStringLiteral("the default drive") : QLatin1Char('\'') + device + QLatin1Char('\'');
    // Asked once on its own, the drive says why it cannot be used in more words than the replies do.
    DriveState state = DriveState::Unavailable;
    {
        const std::unique_ptr<CdDrive> probe = makeCdDrive(device);
        state = probe->open();
        probe->close();
    }
    if (state != DriveState::AudioDisc) {
        err(QStringLiteral("sonorika-cli: cannot read a disc from %1: %2").arg(name, driveStateText(state)));
        return 1;
    }
    if (mciReplyNumber(SendMciCommand(QStringLiteral("open cdaudio shareable"), 0)) != 1) {
        err(QStringLiteral("sonorika-cli: cannot open %1").arg(name));
        return 1;
    }
    int tracks = 0;
    const QString serial = CdSerialNumber(&SendMciCommand, &tracks);
    out(QStringLiteral("serial number\t") + serial);
    out(QStringLiteral("tracks\t%1").arg(tracks));
    for (int n = 1; n <= tracks; ++n)
        out(QStringLiteral("track %1\t%2")
                .arg(n)
                .arg(FormatMinutesSeconds(
                    ConvertDiscTime(SendMciCommand(QStringLiteral("status cdaudio length track %1").arg(n), 0)))));
    SendMciCommand(QStringLiteral("close cdaudio"), 0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::unique_ptr<QCoreApplication> app = makeCliApplication(argc, argv);
    Store::addConnectionHook(&registerQueryFunctions);
    // Read from argv itself: the GUI application takes options such as "--style" for its own.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    QString cdDeviceError;
    if (!takeCdDeviceArgument(args, cdDeviceError))
        return usageError(cdDeviceError);
    QString requested;
    bool dataGiven = false;
    for (int i = 0; i < args.size();) {
        if (args[i] == QLatin1String("--data")) {
            if (i + 1 >= args.size())
                return usageError(QStringLiteral("--data needs a folder"));
            requested = args[i + 1];
            dataGiven = true;
            args.remove(i, 2);
        } else if (args[i].startsWith(QLatin1String("--data="))) {
            requested = args[i].mid(7);
            dataGiven = true;
            args.remove(i);
        } else {
            ++i;
        }
    }
    // An unset variable in a script gives an empty name: never fall back to the user's own catalogue.
    if (dataGiven && requested.trimmed().isEmpty())
        return usageError(QStringLiteral("--data was given an empty folder name"));
    if (args.isEmpty())
        return usageError(QStringLiteral("no command given"));
    const QString command = args.takeFirst();
    if (command == QLatin1String("--help") || command == QLatin1String("help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (command == QLatin1String("format") || command == QLatin1String("deformat"))
        return commandFormat(args, command == QLatin1String("deformat"));
    if (command == QLatin1String("disc-info"))
        return commandDiscInfo(args);

    const FolderResult folder = resolveDataFolder(requested);
    if (!folder.ok()) {
        err(QStringLiteral("sonorika-cli: ") + folder.errorText);
        return 1;
    }
    if (command == QLatin1String("init"))
        return args.isEmpty() ? commandInit(folder.path) : usageError(QStringLiteral("init takes no arguments"));
    if (command == QLatin1String("info"))
        return args.isEmpty() ? commandInfo(folder.path) : usageError(QStringLiteral("info takes no arguments"));
    if (command == QLatin1String("check"))
        return args.isEmpty() ? commandCheck(folder.path) : usageError(QStringLiteral("check takes no arguments"));
    if (command == QLatin1String("copy-to-album"))
        return args.isEmpty() ? commandCopyToAlbum(folder.path)
                              : usageError(QStringLiteral("copy-to-album takes no arguments"));
    if (command == QLatin1String("test-album-links"))
        return args.isEmpty() ? commandTestAlbumLinks(folder.path)
                              : usageError(QStringLiteral("test-album-links takes no arguments"));
    if (command == QLatin1String("convert-dates-to-year"))
        return args.isEmpty() ? commandConvertDatesToYear(folder.path)
                              : usageError(QStringLiteral("convert-dates-to-year takes no arguments"));
    if (command == QLatin1String("generate"))
        return commandGenerate(folder.path, args);
    if (command == QLatin1String("playlist-generate"))
        return commandPlaylistGenerate(folder.path, args);
    if (command == QLatin1String("report"))
        return commandReport(folder.path, args);
    if (command == QLatin1String("import"))
        return commandImport(folder.path, args);
    if (command == QLatin1String("export"))
        return commandExport(folder.path, args);
    if (command == QLatin1String("chart-rollover"))
        return commandChartRollover(folder.path, args);
    return usageError(QStringLiteral("unknown command '%1'").arg(command));
}
