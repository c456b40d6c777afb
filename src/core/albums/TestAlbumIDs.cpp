#include "albums/TestAlbumIDs.h"

#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "store/Store.h"

#include <QVector>

namespace srk {

TestAlbumIDs::TestAlbumIDs(TableAccess& access) : RecordRun(access) {
    m_songsOpen = m_access.openTable(songsTable()).ok();
    m_albumsOpen = m_access.openTable(albumTable()).ok();
}

TestAlbumIDs::~TestAlbumIDs() {
    // A job dropped in the middle keeps what it wrote, as a cancel does.
    finishRun();
    m_songs.reset();
    m_albums.reset();
    // The opens raised the use counts even when they failed.
    m_access.closeTable(albumTable());
    m_access.closeTable(songsTable());
}

bool TestAlbumIDs::begin() {
    // A failed open has already shown its message.
    if (!m_songsOpen || !m_albumsOpen)
        return false;
    m_songs = std::make_unique<Table>(m_access.store(), songsTable());
    m_albums = std::make_unique<Table>(m_access.store(), albumTable());
    Record last;
    m_songs->setEnd(SON::KeyID);
    const int rc = m_songs->previous(last);
    if (rc == NoError) {
        m_highestId = last.number(SON::ID);
    } else if (rc != RecordNotAvailable) {
        stopWith(StdMsg::RetrievalError, songsTable().label, QString(), m_access.store().filePath(songsTable()));
        return false;
    }
    scanQuickly(*m_songs);
    m_total = m_songs->records();
    m_anchor = KeyAnchor::start();
    return true;
}

void TestAlbumIDs::keepCounts() {
    m_committed[0] = m_relinked;
    m_committed[1] = m_unlinked;
    m_committed[2] = m_idsGiven;
}

void TestAlbumIDs::restoreCounts() {
    m_relinked = m_committed[0];
    m_unlinked = m_committed[1];
    m_idsGiven = m_committed[2];
}

int TestAlbumIDs::findAlbum(const QString& artist, const QString& album) {
    Record probe = m_albums->newRecord();
    probe.setText(ALB::Artist, artist);
    probe.setText(ALB::Album, album);
    const int rc = m_albums->get(ALB::KeyAlbum, probe);
    if (rc == NoError) {
        m_album = probe;
        m_hasAlbum = true;
    }
    return rc;
}

int TestAlbumIDs::lookUpAlbum(const Record& song) {
    m_hasAlbum = false;
    int rc = findAlbum(song.text(SON::Artist), song.text(SON::Album));
    if (rc == RecordNotFound)
        rc = findAlbum(QStringLiteral("Various"), song.text(SON::Album));
    return rc;
}

int TestAlbumIDs::freshId(qint64& id) {
    qint64 candidate = m_gaveId ? m_lastGiven + 1 : m_highestId + 2;
    Record probe = m_songs->newRecord();
    for (;;) {
        probe.setNumber(SON::ID, candidate);
        const int rc = m_songs->get(SON::KeyID, probe);
        if (rc == RecordNotFound)
            break;
        if (rc != NoError)
            return rc;
        ++candidate;
    }
    m_gaveId = true;
    m_lastGiven = candidate;
    id = candidate;
    return NoError;
}

bool TestAlbumIDs::processSlice() {
    Store& store = m_access.store();
    // Between steps other windows may have changed or deleted the album in hand.
    m_hasAlbum = false;
    QVector<Record> slice;
    const int readRc = m_songs->fetch(SON::SongsByAlbum, m_anchor, true, kRecordsPerSlice, slice);
    if (readRc != NoError && readRc != RecordNotAvailable) {
        m_access.saveError();
        rollBack();
        stopWith(StdMsg::RetrievalError, songsTable().label, QString(), store.filePath(songsTable()));
        return false;
    }
    if (slice.isEmpty()) {
        if (!commitFrame()) {
            stopWithPutError(store.filePath(songsTable()));
            return false;
        }
        end(Outcome::Completed);
        return false;
    }
    if (!openFrame()) {
        stopWithPutError(QString());
        return false;
    }

    enum { Done, ReadFailed, SongReadFailed, PutFailed } result = Done;
    for (Record& song : slice) {
        ++m_read;
        m_anchor = KeyAnchor::after(song, SON::SongsByAlbum);
        const qint64 oldAlbumId = song.number(SON::AlbumID);
        // Names compared as stored: a difference in letter case alone is a different album in hand.
        const bool inHand = m_hasAlbum && m_album.text(ALB::Artist) == song.text(SON::Artist) &&
                            m_album.text(ALB::Album) == song.text(SON::Album);
        qint64 albumId = 0;
        if (inHand) {
            albumId = m_album.number(ALB::AlbumID);
        } else {
            const int rc = lookUpAlbum(song);
            if (rc == NoError) {
                albumId = m_album.number(ALB::AlbumID);
            } else if (rc != RecordNotFound) {
                result = ReadFailed;
                break;
            }
        }
        bool changed = false;
        if (albumId != oldAlbumId) {
            song.setNumber(SON::AlbumID, albumId);
            changed = true;
            ++(albumId == 0 ? m_unlinked : m_relinked);
        }
        if (song.number(SON::ID) == 0) {
            qint64 id = 0;
            if (freshId(id) != NoError) {
                result = SongReadFailed;
                break;
            }
            song.setNumber(SON::ID, id);
            changed = true;
            ++m_idsGiven;
        }
        // An unchanged song would be rewritten as it is, which changes nothing: it is left alone.
        if (changed && m_songs->put(song) != NoError) {
            result = PutFailed;
            break;
        }
        ++m_inFrame;
    }
    if (result != Done) {
        m_access.saveError();
        rollBack();
        if (result == ReadFailed)
            stopWith(StdMsg::RetrievalError, albumTable().label, QString(), store.filePath(albumTable()));
        else if (result == SongReadFailed)
            stopWith(StdMsg::RetrievalError, songsTable().label, QString(), store.filePath(songsTable()));
        else
            stopWithPutError(store.filePath(songsTable()));
        return false;
    }
    const bool last = slice.size() < kRecordsPerSlice;
    if ((last || m_inFrame >= kRecordsPerFrame) && !commitFrame()) {
        stopWithPutError(store.filePath(songsTable()));
        return false;
    }
    if (last) {
        end(Outcome::Completed);
        return false;
    }
    return true;
}

QString TestAlbumIDs::writtenFile() const { return m_access.store().filePath(songsTable()); }

}  // namespace srk
