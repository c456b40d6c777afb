// Playlist generator figures on a catalogue: playlists of 99 songs drawn under each weighting, and a
// date range no song matches (every one of the 1001 draws read and turned away). Each playlist made is
// deleted again through the playlist's delete routine, so the catalogue ends as it began.
//
//   playlist_generate_bench --folder DIR [--rounds R]
//
// Make a catalogue first: sonorika-cli --data DIR generate --songs 1000000 --albums 100000

#include "BenchFigure.h"
#include "access/RecordRoutines.h"
#include "access/ScriptedMessages.h"
#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "playlists/GeneratePlaylist.h"
#include "store/Store.h"
#include "store/Table.h"
#include "text/DayNumber.h"

#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>

#include <cstdio>

using namespace srk;
using srk::bench::Figure;
using srk::bench::timed;

namespace {

bool removePlaylist(TableAccess& access, qint64 id) {
    Table master(access.store(), playlistMasterTable());
    Record header(playlistMasterTable());
    header.setNumber(PLD::PlaylistID, id);
    if (master.get(PLD::KeyPlaylistID, header) != NoError)
        return false;
    return deleteRecord(access, playlistMasterTable(), header) == RoutineResult::Done;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString folder;
    int rounds = 20;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--folder"))
            folder = args[i + 1];
        else if (args[i] == QLatin1String("--rounds"))
            rounds = qMax(1, args[i + 1].toInt());
    }
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        std::fprintf(stderr, "usage: playlist_generate_bench --folder DIR [--rounds R]\n");
        return 2;
    }
    Store store(folder);
    ScriptedMessages messages;
    TableAccess access(store, messages);
    for (const TableDef* def : {&songsTable(), &categoriesTable(), &playlistMasterTable(), &playlistDetailsTable()})
        if (!access.openTable(*def).ok()) {
            std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(def->label),
                         qPrintable(store.lastError().displayText()));
            return 1;
        }
    qint64 songs = 0;
    Figure counting;
    for (int round = 0; round < rounds; ++round)
        counting.add(timed([&] { songs = Table(store, songsTable()).records(); }));
    std::printf("catalogue: %lld songs\n", static_cast<long long>(songs));
    counting.print("counting the songs (part of every run)");

    struct Case {
        QByteArray name;
        PlaylistRequest request;
    };
    QVector<Case> cases;
    for (const QString& text : playlistWeightingTexts()) {
        PlaylistRequest r;
        r.size = 99;
        r.weighting = *playlistWeightingFromText(text);
        cases.append({(QStringLiteral("99 songs, ") + text).toUtf8(), r});
    }
    // The header alone: what the commit of a run costs, without draws.
    cases.append({QByteArrayLiteral("size 0: the header alone"), PlaylistRequest()});
    PlaylistRequest none;
    none.size = 99;
    none.startDate = dayNumberFromDate(QDate(1901, 1, 1));
    none.endDate = dayNumberFromDate(QDate(1901, 12, 31));
    cases.append({QByteArrayLiteral("no song in range: 1001 draws"), none});

    bool failed = false;
    for (const Case& c : cases) {
        Figure figure;
        int lines = 0;
        for (int round = 0; round < rounds; ++round) {
            PlaylistRandom random(quint64(round) + 1);
            PlaylistOutcome outcome;
            figure.add(timed([&] { outcome = GeneratePlaylist(access, c.request, random, todayDayNumber()); }));
            if (outcome.status != PlaylistOutcome::Generated || !removePlaylist(access, outcome.playlistId)) {
                std::fprintf(stderr, "%s: the run failed\n", c.name.constData());
                failed = true;
                break;
            }
            lines += outcome.linesAdded;
        }
        figure.print(c.name.constData());
        std::printf("%-44s %d lines in %d playlists\n", "", lines, figure.runs);
    }
    if (messages.count())
        std::printf("messages shown: %d (first: %s)\n", messages.count(), qPrintable(messages.shown().first().text));
    return failed ? 1 : 0;
}
