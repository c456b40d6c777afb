#include "playlists/GeneratePlaylist.h"

#include "access/AutoNumber.h"
#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "store/Table.h"
#include "text/DayNumber.h"

namespace srk {

namespace {

// A release weighting keeps songs of the last 90 days as recent.
constexpr qint64 kRecentDays = 90;

QString errorPart(const StoreError& error) {
    const QString text = error.code == DriverError && !error.driverMessage.isEmpty()
                             ? error.driverMessage
                             : (error.text.isEmpty() ? errorCodeText(error.code) : error.text);
    const int code = error.code == DriverError && error.driverCode ? error.driverCode : error.code;
    QString trimmed = text;
    while (!trimmed.isEmpty() && trimmed.back().isSpace())
        trimmed.chop(1);
    return QStringLiteral("%1 - %2").arg(code).arg(trimmed);
}

void showAddError(TableAccess& access, const QString& fileName) {
    access.ask({QStringLiteral("Error"),
                QStringLiteral("There was an error (") + errorPart(access.store().lastError()) +
                    QStringLiteral(") adding to the ") + fileName + QStringLiteral(" file"),
                ButtonOk, ButtonOk});
}

const QString kMasterFile = QStringLiteral("Play List Master");
const QString kDetailsFile = QStringLiteral("Play List Details");

// The new header: the next number, raised while its number or its description is already taken.
Record newPlaylistHeader(TableAccess& access, Table& master, qint32 today) {
    Record header(playlistMasterTable());
    qint64 number = 0;
    if (nextAutoNumber(access.store(), playlistMasterTable(), header, number) != NoError || number < 1)
        number = 1;
    const qint64 highest = Record::maxOf(playlistMasterTable().fields[PLD::PlaylistID].kind);
    for (;;) {
        header.setNumber(PLD::PlaylistID, number);
        header.setText(PLD::PlaylistDescription, generatedPlaylistDescription(number));
        const int clash = master.duplicateKey(header);
        // An unreadable key or the last number: the add says what is wrong.
        if (clash < 0 || number >= highest)
            break;
        ++number;
    }
    header.setNumber(PLD::LastEditDate, today);
    return header;
}

// Whether a drawn song passes the date range and the category.
bool passesFilters(const Record& song, const PlaylistRequest& request, qint64 categoryId) {
    const qint64 released = song.number(SON::ReleaseDate);
    if (request.startDate != 0 && released < request.startDate)
        return false;
    if (request.endDate != 0 && released > request.endDate)
        return false;
    if (!request.category.trimmed().isEmpty() && song.number(SON::CategoryID) != categoryId)
        return false;
    return true;
}

// The release weightings turn away, half of the time, songs released on the wrong side of the line.
bool passesReleaseWeighting(const Record& song, PlaylistWeighting weighting, PlaylistRandom& random, qint32 today) {
    if (weighting != PlaylistWeighting::RecentRelease && weighting != PlaylistWeighting::OlderRelease)
        return true;
    const qint64 released = song.number(SON::ReleaseDate);
    if (released == 0 || !random.halfChance())
        return true;
    const bool year = isBareYear(released);
    const qint64 line = year ? releaseYear(today) : qint64(today) - kRecentDays;
    const bool recent = released >= line;
    return weighting == PlaylistWeighting::RecentRelease ? recent : !recent;
}

qint64 drawRecordNumber(qint64 songs, PlaylistWeighting weighting, PlaylistRandom& random) {
    qint64 r = random.between(1, songs);
    if (weighting == PlaylistWeighting::RecentAddition && random.halfChance())
        r = random.between(songs / 2, songs);
    else if (weighting == PlaylistWeighting::OlderAddition && random.halfChance())
        r = random.between(1, songs / 2);
    return r;
}

}  // namespace

QString generatedPlaylistDescription(qint64 number) {
    return QStringLiteral("Play List #") + QString::number(number);
}

PlaylistOutcome GeneratePlaylist(TableAccess& access, const PlaylistRequest& request, PlaylistRandom& random,
                                 qint32 today) {
    PlaylistOutcome outcome;
    TableUse use(access);
    for (const TableDef* def : {&songsTable(), &categoriesTable(), &playlistMasterTable(), &playlistDetailsTable()})
        if (!use.open(*def))
            return outcome;
    Store& store = access.store();
    Table songs(store, songsTable());
    // Record numbers are drawn up to the highest one in use: with the record count as the bound, the
    // songs above it would never be drawn once others were deleted. Holes below it are used up.
    const qint64 lastSong = songs.lastRecordNumber();
    if (lastSong == 0) {
        access.ask({QStringLiteral("Error"), QStringLiteral("There are no songs to select from"), ButtonOk, ButtonOk});
        outcome.status = PlaylistOutcome::NoSongs;
        return outcome;
    }

    qint64 categoryId = 0;
    if (!request.category.trimmed().isEmpty()) {
        Table categories(store, categoriesTable());
        Record wanted(categoriesTable());
        wanted.setText(CAT::Category, request.category.trimmed());
        if (categories.get(CAT::KeyCategory, wanted) != NoError) {
            outcome.status = PlaylistOutcome::UnknownCategory;
            return outcome;
        }
        categoryId = wanted.number(CAT::CategoryID);
    }

    // Header and lines are written in one frame: one commit for the whole playlist, and a crash
    // leaves either all of it or none.
    if (store.logout() != NoError) {
        showAddError(access, kMasterFile);
        return outcome;
    }
    Table master(store, playlistMasterTable());
    Record header = newPlaylistHeader(access, master, today);
    outcome.playlistId = header.number(PLD::PlaylistID);
    outcome.description = header.text(PLD::PlaylistDescription);
    if (master.add(header) == NoError)
        outcome.headerAdded = true;
    else
        showAddError(access, kMasterFile);

    Table lines(store, playlistDetailsTable());
    // The window's field holds two digits at most.
    const int size = qBound(0, request.size, 99);
    int added = 0;
    int tries = 0;
    Record song;
    while (added < size && tries < kMostPlaylistDraws) {
        ++tries;
        const qint64 r = drawRecordNumber(lastSong, request.weighting, random);
        // A hole, or a song never given a number, cannot stand on a playlist.
        if (songs.getByPosition(QString::number(r), song) != NoError || song.number(SON::ID) == 0) {
            ++outcome.holes;
            continue;
        }
        if (!passesFilters(song, request, categoryId))
            continue;
        if (!passesReleaseWeighting(song, request.weighting, random, today))
            continue;
        ++added;
        Record line(playlistDetailsTable());
        line.setNumber(PLA::PlaylistID, outcome.playlistId);
        line.setNumber(PLA::PlaylistSeq, added);
        line.setNumber(PLA::ID, song.number(SON::ID));
        if (lines.add(line) == NoError)
            ++outcome.linesAdded;
        else
            showAddError(access, kDetailsFile);
    }
    outcome.draws = tries;

    // A failed commit has rolled the frame back and kept its error: nothing of the run is stored.
    if (store.commit() != NoError) {
        showAddError(access, kMasterFile);
        outcome.headerAdded = false;
        outcome.linesAdded = 0;
        return outcome;
    }
    outcome.status = PlaylistOutcome::Generated;
    return outcome;
}

}  // namespace srk
