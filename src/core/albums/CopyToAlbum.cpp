#include "albums/CopyToAlbum.h"

#include "access/AutoNumber.h"
#include "access/TableAccess.h"
#include "albums/AlbumFromSong.h"
#include "catalog/Tables.h"
#include "store/Store.h"

#include <QVector>

namespace srk {

CopyToAlbum::CopyToAlbum(TableAccess& access) : RecordRun(access) {
    m_songsOpen = m_access.openTable(songsTable()).ok();
    m_albumsOpen = m_access.openTable(albumTable()).ok();
}

CopyToAlbum::~CopyToAlbum() {
    finishRun();
    m_songs.reset();
    m_albums.reset();
    // The opens raised the use counts even when they failed.
    m_access.closeTable(albumTable());
    m_access.closeTable(songsTable());
}

bool CopyToAlbum::begin() {
    // A failed open has already shown its message.
    if (!m_songsOpen || !m_albumsOpen)
        return false;
    m_songs = std::make_unique<Table>(m_access.store(), songsTable());
    m_albums = std::make_unique<Table>(m_access.store(), albumTable());
    scanQuickly(*m_songs);
    m_total = m_songs->records();
    m_anchor = KeyAnchor::start();
    return true;
}

int CopyToAlbum::findAlbum(const QString& artist, const QString& album, qint64& id) {
    Record probe = m_albums->newRecord();
    probe.setText(ALB::Artist, artist);
    probe.setText(ALB::Album, album);
    const int rc = m_albums->get(ALB::KeyAlbum, probe);
    if (rc == NoError)
        id = probe.number(ALB::AlbumID);
    return rc;
}

int CopyToAlbum::albumFor(const Record& song, qint64& id) {
    const QString artist = song.text(SON::Artist);
    const QString name = song.text(SON::Album);
    // Songs of one album mostly follow each other: the same names find the same album again.
    if (m_hasLast && artist == m_lastArtist && name == m_lastAlbum) {
        id = m_lastId;
        return NoError;
    }
    int rc = findAlbum(artist, name, id);
    if (rc == RecordNotFound)
        rc = findAlbum(QStringLiteral("Various"), name, id);
    if (rc == NoError) {
        remember(artist, name, id);
        return NoError;
    }
    if (rc != RecordNotFound)
        return rc;

    rc = nextAutoNumber(m_access.store(), albumTable(), Record(), id);
    if (rc != NoError)
        return rc;
    Record album = albumFromSong(song, id);
    // A song is linked only to an album that exists: a refused add stops the run with the song unlinked.
    if (m_albums->add(album) != NoError) {
        m_addFailed = true;
        return m_access.store().lastError().code ? m_access.store().lastError().code : DriverError;
    }
    ++m_made;
    remember(artist, name, id);
    return NoError;
}

void CopyToAlbum::remember(const QString& artist, const QString& album, qint64 id) {
    m_hasLast = true;
    m_lastArtist = artist;
    m_lastAlbum = album;
    m_lastId = id;
}

bool CopyToAlbum::processSlice() {
    Store& store = m_access.store();
    // Between slices other windows may have changed the albums.
    m_hasLast = false;
    QVector<Record> slice;
    // Read the slice in one go: a put in between would make the table's read-ahead stale record by record.
    const int readRc = m_songs->fetch(-1, m_anchor, true, kRecordsPerSlice, slice);
    if (readRc != NoError && readRc != RecordNotAvailable) {
        stopWith(StdMsg::RetrievalError, songsTable().label, QString(), store.filePath(songsTable()));
        return false;
    }
    if (slice.isEmpty()) {
        end(Outcome::Completed);
        return false;
    }

    // The writes of one slice go in one transaction; between slices other stations get their turn.
    if (store.stream() != NoError) {
        stopWithPutError(QString());
        return false;
    }
    enum { Done, ReadFailed, AddFailed, PutFailed } result = Done;
    const qint64 linkedBefore = m_linked, madeBefore = m_made;
    for (Record& song : slice) {
        ++m_read;
        m_anchor = KeyAnchor::after(song, -1);
        // A linked song would be rewritten unchanged, which changes nothing; it is left alone.
        if (song.number(SON::AlbumID) != 0)
            continue;
        // With neither artist nor album name there is nothing to look up (the album keys leave such
        // records out), so every such song would get a nameless album of its own: it stays unlinked.
        if (!namesAnAlbum(song))
            continue;
        qint64 id = 0;
        if (albumFor(song, id) != NoError) {
            result = m_addFailed ? AddFailed : ReadFailed;
            break;
        }
        song.setNumber(SON::AlbumID, id);
        if (m_songs->put(song) != NoError) {
            result = PutFailed;
            break;
        }
        ++m_linked;
    }
    // A failed slice keeps nothing of its frame (earlier slices stay written); the failure's error is
    // kept for its message.
    if (result != Done) {
        m_access.saveError();
        store.discard();
        m_linked = linkedBefore;
        m_made = madeBefore;
    } else if (store.flush() != NoError) {
        m_access.saveError();
        m_linked = linkedBefore;
        m_made = madeBefore;
        result = PutFailed;
    }
    if (result == ReadFailed) {
        stopWith(StdMsg::RetrievalError, albumTable().label, QString(), store.filePath(albumTable()));
        return false;
    }
    if (result == AddFailed) {
        stopWith(StdMsg::ProcessError, QStringLiteral("Put"), albumTable().label, store.filePath(albumTable()));
        return false;
    }
    if (result == PutFailed) {
        // The message offers only OK: the run stops there.
        stopWithPutError(store.filePath(songsTable()));
        return false;
    }
    if (slice.size() < kRecordsPerSlice) {
        end(Outcome::Completed);
        return false;
    }
    return true;
}

QString CopyToAlbum::writtenFile() const { return m_access.store().filePath(songsTable()); }

}  // namespace srk
