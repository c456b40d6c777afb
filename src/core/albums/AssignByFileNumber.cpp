#include "albums/AssignByFileNumber.h"

#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "store/ErrorCode.h"
#include "store/Table.h"

#include <QVector>

namespace srk {

namespace {

// Songs read per fetch: the scan never holds a statement open while it writes.
constexpr int kBatch = 50;

const QString kUpdateErrorText = QStringLiteral("Error updating song database - ");

QString quoted(const QString& value) {
    return QLatin1Char('"') + value + QLatin1Char('"');
}

}  // namespace

Message AssignByFileNumber::question(const Record& album) {
    Message m;
    m.title = QStringLiteral("Assign Songs To Album");
    m.text = QStringLiteral("Do you want to assign all songs with file number ") +
             quoted(album.text(ALB::FileNumber).trimmed()) + QStringLiteral(" and media type ") +
             quoted(album.text(ALB::Media).trimmed()) + QStringLiteral(" to this album?");
    m.buttons = ButtonYes | ButtonNo | ButtonCancel;
    m.defaultButton = ButtonNo;
    return m;
}

int AssignByFileNumber::ask(TableAccess& access, const Record& album) {
    return access.ask(question(album));
}

AssignByFileNumber::Result AssignByFileNumber::run(TableAccess& access, const Record& album) {
    Result result;
    TableUse use(access);
    if (!use.open(songsTable())) {
        result.end = End::ReadError;
        result.errorText = access.currentError().displayText();
        access.ask(report(result));
        return result;
    }
    Store& store = access.store();
    Table songs(store, songsTable());
    const qint64 albumId = album.number(ALB::AlbumID);
    // The media key holds media and file number case-blind; so does this comparison, so that the scan
    // does not stop half way through songs the key files together.
    const QString media = album.text(ALB::Media).toUpper();
    const QString fileNumber = album.text(ALB::FileNumber).trimmed().toUpper();

    Record start(songsTable());
    start.setText(SON::Media, album.text(ALB::Media));
    start.setText(SON::FileNumber, album.text(ALB::FileNumber));
    KeyAnchor anchor = KeyAnchor::at(start, SON::SongsByMedia);
    anchor.row = 0;

    const bool streaming = store.stream() == NoError;
    bool ended = false;
    while (!ended) {
        QVector<Record> batch;
        const int rc = songs.fetch(SON::SongsByMedia, anchor, true, kBatch, batch);
        if (rc != NoError && rc != RecordNotAvailable) {
            result.end = End::ReadError;
            result.errorText = store.lastError().displayText();
            break;
        }
        if (batch.isEmpty()) {
            result.end = End::EndOfTable;
            break;
        }
        for (Record& song : batch) {
            if (song.text(SON::Media).toUpper() != media) {
                result.end = End::OtherMedia;
                ended = true;
                break;
            }
            if (song.text(SON::FileNumber).trimmed().toUpper() != fileNumber) {
                result.end = End::OtherFileNumber;
                ended = true;
                break;
            }
            song.setNumber(SON::AlbumID, albumId);
            if (songs.put(song) != NoError) {
                result.end = End::WriteError;
                result.errorText = store.lastError().displayText();
                ended = true;
                break;
            }
            ++result.assigned;
        }
        if (!ended)
            anchor = KeyAnchor::after(batch.last(), SON::SongsByMedia);
    }
    // What was rewritten stays, whatever stopped the scan.
    if (streaming && store.flush() != NoError && result.end != End::ReadError && result.end != End::WriteError) {
        result.end = End::WriteError;
        result.errorText = store.lastError().displayText();
    }
    access.ask(report(result));
    return result;
}

Message AssignByFileNumber::report(const Result& result) {
    Message m;
    switch (result.end) {
    case End::ReadError:
        m.title = QStringLiteral("Assignment Cancelled");
        m.text = QStringLiteral("Error reading music database ") + result.errorText;
        return m;
    case End::WriteError:
        m.title = QStringLiteral("Assignment Cancelled");
        m.text = kUpdateErrorText + result.errorText;
        return m;
    default:
        break;
    }
    if (result.assigned > 0) {
        m.title = QStringLiteral("Process complete.");
        m.text = QString::number(result.assigned) + QStringLiteral(" songs assigned.");
        return m;
    }
    m.title = QStringLiteral("Process failed.");
    switch (result.end) {
    case End::OtherMedia:
        m.text = QStringLiteral("No songs with that media type were found.");
        break;
    case End::OtherFileNumber:
        m.text = QStringLiteral("No songs with that file number were found.");
        break;
    default:
        m.text = QStringLiteral("No songs with that media type and file number were found.");
        break;
    }
    return m;
}

int AssignByFileNumber::assignSong(TableAccess& access, const Record& song, qint64 albumId) {
    TableUse use(access);
    if (!use.open(songsTable()))
        return access.currentError().code ? access.currentError().code : FileNotFound;
    Store& store = access.store();
    Table songs(store, songsTable());
    // The song as it is now, not as the picker read it.
    Record fresh(songsTable());
    int rc = song.rowId() > 0 ? songs.getByPosition(songs.position(song), fresh) : RecordNotFound;
    if (rc == NoError) {
        fresh.setNumber(SON::AlbumID, albumId);
        rc = songs.put(fresh);
    }
    if (rc != NoError)
        access.ask({QStringLiteral("Error"), kUpdateErrorText + store.lastError().displayText(), ButtonOk, ButtonOk});
    return rc;
}

}  // namespace srk
