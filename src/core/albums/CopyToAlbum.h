#pragma once

#include "jobs/RecordRun.h"
#include "store/Record.h"
#include "store/Table.h"

#include <QString>

#include <memory>

namespace srk {

class TableAccess;

// Builds albums from the songs: every song without an album (album id 0) is linked to the album of its
// name under its own artist, else under "Various", else to a new album made from the song. Songs are
// read in record order, a slice of 1000 per step, each slice committed as one frame. Slices already
// written stay written on cancel or failure; a failure rolls back the slice it happened in.
// A song is linked only to an album that exists: when a new album cannot be added the run stops there,
// that song unlinked, and errorText() names the file and the cause.
//
// Progress is records read / records counted at the start (the store's file size says little about
// how far a scan has come).
class CopyToAlbum : public RecordRun {
public:
    static constexpr int kRecordsPerSlice = 1000;

    // Opens the song and album tables through the access layer; they are closed again on destruction.
    explicit CopyToAlbum(TableAccess& access);
    ~CopyToAlbum() override;
    CopyToAlbum(const CopyToAlbum&) = delete;
    CopyToAlbum& operator=(const CopyToAlbum&) = delete;

    QString textLine() const { return QStringLiteral("Copying..."); }

    qint64 songsRead() const { return m_read; }
    qint64 songsLinked() const { return m_linked; }
    qint64 albumsMade() const { return m_made; }

private:
    bool begin() override;
    bool processSlice() override;
    QString writtenFile() const override;
    // Finds or makes the album for a song and gives its id. Returns 0 or the error of a failed album
    // read or add (m_addFailed tells which).
    int albumFor(const Record& song, qint64& id);
    int findAlbum(const QString& artist, const QString& album, qint64& id);
    void remember(const QString& artist, const QString& album, qint64 id);
    bool m_songsOpen = false;
    bool m_albumsOpen = false;
    std::unique_ptr<Table> m_songs;
    std::unique_ptr<Table> m_albums;
    KeyAnchor m_anchor = KeyAnchor::start();
    bool m_addFailed = false;
    // The album the previous song of this slice was linked to.
    bool m_hasLast = false;
    QString m_lastArtist, m_lastAlbum;
    qint64 m_lastId = 0;
    qint64 m_linked = 0;
    qint64 m_made = 0;
};

}  // namespace srk
