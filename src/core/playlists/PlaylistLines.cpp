#include "playlists/PlaylistLines.h"

#include "access/AutoNumber.h"
#include "access/StandardMessages.h"
#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "store/Store.h"
#include "store/Table.h"

#include <sqlite3.h>

#include <limits>

namespace srk {

namespace {

constexpr int kBatch = 256;

Record lineOf(qint64 playlistId, qint64 sequence) {
    Record r(playlistDetailsTable());
    r.setNumber(PLA::PlaylistID, playlistId);
    r.setNumber(PLA::PlaylistSeq, sequence);
    return r;
}

}  // namespace

const SequenceTable& PlaylistLines::sequenceTable() {
    static const SequenceTable t{&playlistDetailsTable(), PLA::KeyPlaylistID, {PLA::PlaylistID, PLA::PlaylistSeq}};
    return t;
}

int PlaylistLines::lastSequence(Store& store, qint64 playlistId, qint64& sequence) {
    qint64 next = 0;
    const int rc = nextAutoNumber(store, playlistDetailsTable(), lineOf(playlistId, 0), next);
    sequence = rc == NoError ? next - 1 : 0;
    return rc;
}

bool PlaylistLines::append(TableAccess& access, qint64 playlistId, qint64 songId, Record& line) {
    TableUse use(access);
    if (!use.open(playlistDetailsTable()))
        return false;
    Store& store = access.store();
    Table lines(store, playlistDetailsTable());
    int failed = 0;
    for (;;) {
        qint64 last = 0;
        if (lastSequence(store, playlistId, last) != NoError) {
            access.showStandardMessage(StdMsg::RetrievalError, playlistDetailsTable().label);
            return false;
        }
        Record candidate = lineOf(playlistId, last + 1);
        candidate.setNumber(PLA::ID, songId);
        if (lines.add(candidate) == NoError) {
            line = candidate;
            return true;
        }
        if (++failed < kAttempts)
            continue;
        if (access.showStandardMessage(StdMsg::AutoIncrementError) != ButtonRetry)
            return false;
        failed = 0;
    }
}

bool PlaylistLines::placeAfter(TableAccess& access, Record& line, qint64 after) {
    const qint64 target = after + 1;
    const qint64 now = line.number(PLA::PlaylistSeq);
    if (now <= target)
        return true;
    // The lines in between are passed one by one, nearest first.
    return moveInSequence(access, sequenceTable(), line, SequenceMove::ToTop, int(now - target));
}

bool PlaylistLines::move(TableAccess& access, Record& line, SequenceMove how) {
    return moveInSequence(access, sequenceTable(), line, how);
}

bool PlaylistLines::closeGap(TableAccess& access, qint64 playlistId, qint64 deleted) {
    if (deleted <= 0)
        return true;
    Store& store = access.store();
    Table lines(store, playlistDetailsTable());
    const SqlCondition ofPlaylist{QStringLiteral("\"PlaylistID\" = ?"), {playlistId}};
    KeyAnchor anchor = KeyAnchor::after(lineOf(playlistId, deleted), PLA::KeyPlaylistID);
    anchor.row = std::numeric_limits<qint64>::max();
    qint64 next = deleted;
    bool ok = true;
    auto report = [&](const Record& r) {
        ok = false;
        const QString error = store.lastError().displayText();
        access.ask({QStringLiteral("Error!"),
                    sequenceMoveErrorText(sequenceTable(), r, error, QStringLiteral("Put Upd Seq")), ButtonOk,
                    ButtonOk});
    };
    store.stream();
    for (;;) {
        QVector<Record> batch;
        const int rc = lines.fetch(PLA::KeyPlaylistID, anchor, true, kBatch, ofPlaylist, batch);
        if (rc != NoError && rc != RecordNotAvailable) {
            report(lineOf(playlistId, next));
            break;
        }
        for (Record& r : batch) {
            anchor = KeyAnchor::after(r, PLA::KeyPlaylistID);
            // Ascending, each line takes a number freed before it: the unique key never collides.
            if (r.number(PLA::PlaylistSeq) != next) {
                r.setNumber(PLA::PlaylistSeq, next);
                if (lines.put(r) != NoError)
                    report(r);
            }
            ++next;
        }
        if (batch.size() < kBatch)
            break;
    }
    if (store.flush() != NoError) {
        report(lineOf(playlistId, next));
    }
    return ok;
}

int PlaylistLines::lineCount(Store& store, qint64 playlistId, qint64& count) {
    count = 0;
    Table lines(store, playlistDetailsTable());
    QString where = QStringLiteral("\"PlaylistID\" = ?1");
    const QString present = Store::keyPresenceCondition(playlistDetailsTable(), PLA::KeyPlaylistID);
    if (!present.isEmpty())
        where += QStringLiteral(" AND ") + present;
    sqlite3_stmt* stmt = store.statement(QStringLiteral("SELECT count(*) FROM %1 WHERE %2").arg(lines.schema(), where).toUtf8());
    if (!stmt)
        return store.lastError().code ? store.lastError().code : DriverError;
    sqlite3_bind_int64(stmt, 1, playlistId);
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW)
        count = sqlite3_column_int64(stmt, 0);
    sqlite3_reset(stmt);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        return store.setEngineError(rc, store.filePath(playlistDetailsTable()));
    return NoError;
}

int PlaylistLines::totalTime(Store& store, qint64 playlistId, double& total) {
    total = 0;
    Table lines(store, playlistDetailsTable());
    Table songs(store, songsTable());
    // One join in the engine over the playlist's part of its key and the songs' id key.
    // The presence conditions let the engine use the two keys when they leave out empty values.
    QString join = QStringLiteral("s.\"ID\" = p.\"ID\"");
    QString where = QStringLiteral("p.\"PlaylistID\" = ?1");
    const QString songPresent = Store::keyPresenceCondition(songsTable(), SON::KeyID, QStringLiteral("s"));
    if (!songPresent.isEmpty())
        join += QStringLiteral(" AND ") + songPresent;
    const QString linePresent =
        Store::keyPresenceCondition(playlistDetailsTable(), PLA::KeyPlaylistID, QStringLiteral("p"));
    if (!linePresent.isEmpty())
        where += QStringLiteral(" AND ") + linePresent;
    const QString sql = QStringLiteral("SELECT TOTAL(s.\"Time\") FROM %1 p JOIN %2 s ON %3 WHERE %4")
                            .arg(lines.schema(), songs.schema(), join, where);
    sqlite3_stmt* stmt = store.statement(sql.toUtf8());
    if (!stmt)
        return store.lastError().code ? store.lastError().code : DriverError;
    sqlite3_bind_int64(stmt, 1, playlistId);
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW)
        total = sqlite3_column_double(stmt, 0);
    sqlite3_reset(stmt);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        return store.setEngineError(rc, store.filePath(playlistDetailsTable()));
    return NoError;
}

}  // namespace srk
