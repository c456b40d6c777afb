#include "PlaylistGenerateCommand.h"

#include "access/ConsoleMessages.h"
#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "playlists/GeneratePlaylist.h"
#include "store/Store.h"
#include "text/DayNumber.h"
#include "text/ReleaseDate.h"

#include <QElapsedTimer>

#include <cstdio>

using namespace srk;

namespace {

void print(std::FILE* to, const QString& text) { std::fputs(qPrintable(text + QLatin1Char('\n')), to); }

int refuse(const QString& text) {
    print(stderr, QStringLiteral("sonorika-cli: ") + text);
    print(stderr, QStringLiteral("Try 'sonorika-cli --help'."));
    return 2;
}

// Dates are typed as on the command line of a script: mm/dd/yyyy (a year alone is a bare year).
bool readDate(const QString& text, qint64& value) {
    const std::optional<qint64> date = readReleaseDate(text, QStringLiteral("@d2"));
    if (!date)
        return false;
    value = *date;
    return true;
}

}  // namespace

int commandPlaylistGenerate(const QString& folder, const QStringList& args) {
    PlaylistRequest request;
    bool haveSize = false;
    bool haveSeed = false;
    quint64 seed = 0;
    for (int i = 0; i < args.size(); i += 2) {
        const QString& option = args[i];
        if (i + 1 >= args.size())
            return refuse(QStringLiteral("'%1' needs a value").arg(option));
        const QString& value = args[i + 1];
        bool ok = false;
        if (option == QLatin1String("--size")) {
            const int size = value.toInt(&ok);
            if (!ok || size < 0 || size > 99)
                return refuse(QStringLiteral("the size must be a whole number from 0 to 99, not '%1'").arg(value));
            request.size = size;
            haveSize = true;
        } else if (option == QLatin1String("--from") || option == QLatin1String("--to")) {
            qint64 date = 0;
            if (!readDate(value, date))
                return refuse(QStringLiteral("'%1' is not a date (mm/dd/yyyy)").arg(value));
            (option == QLatin1String("--from") ? request.startDate : request.endDate) = date;
        } else if (option == QLatin1String("--category")) {
            request.category = value.trimmed();
        } else if (option == QLatin1String("--weighting")) {
            const std::optional<PlaylistWeighting> weighting = playlistWeightingFromText(value);
            if (!weighting)
                return refuse(QStringLiteral("the weighting must be one of: ") +
                              playlistWeightingTexts().join(QStringLiteral(", ")));
            request.weighting = *weighting;
        } else if (option == QLatin1String("--seed")) {
            seed = value.toULongLong(&ok);
            if (!ok)
                return refuse(QStringLiteral("'%1' is not a whole number of zero or more").arg(value));
            haveSeed = true;
        } else {
            return refuse(QStringLiteral("unknown option '%1'").arg(option));
        }
    }
    if (!haveSize)
        return refuse(QStringLiteral("playlist-generate needs --size N"));

    Store store(folder);
    ConsoleMessages messages;
    TableAccess access(store, messages);
    for (const TableDef* def : {&songsTable(), &categoriesTable(), &playlistMasterTable(), &playlistDetailsTable()}) {
        const AccessResult result = access.openTable(*def);
        if (!result.ok()) {
            print(stderr, QStringLiteral("sonorika-cli: cannot open %1: %2")
                              .arg(def->label, result.stopText.isEmpty() ? store.lastError().displayText()
                                                                         : result.stopText));
            return 1;
        }
    }
    PlaylistRandom random = haveSeed ? PlaylistRandom(seed) : PlaylistRandom::fromClock();
    QElapsedTimer timer;
    timer.start();
    const PlaylistOutcome outcome = GeneratePlaylist(access, request, random, todayDayNumber());
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    switch (outcome.status) {
    case PlaylistOutcome::NoSongs:
        return 1;
    case PlaylistOutcome::UnknownCategory:
        print(stderr, QStringLiteral("sonorika-cli: there is no category '%1'").arg(request.category));
        return 1;
    case PlaylistOutcome::NotWritten:
        return 1;
    case PlaylistOutcome::Generated:
        break;
    }
    print(stdout, QStringLiteral("playlist %1 \"%2\"%3: %4 of %5 songs added in %6 draws (%7 found no song) in %8 ms")
                      .arg(outcome.playlistId)
                      .arg(outcome.description,
                           outcome.headerAdded ? QString() : QStringLiteral(" (its header could not be added)"))
                      .arg(outcome.linesAdded)
                      .arg(request.size)
                      .arg(outcome.draws)
                      .arg(outcome.holes)
                      .arg(ms, 0, 'f', 1));
    // The add errors were shown as they came; a playlist without its header is a failed run.
    return outcome.headerAdded ? 0 : 1;
}
