#pragma once

#include "jobs/RecordRun.h"
#include "store/Record.h"
#include "store/Table.h"

#include <QString>

#include <memory>

namespace srk {

class TableAccess;

// Re-links every song to the album of its name and numbers the songs that have no id. Songs are read in
// album-name order, 25 per step. A song whose names match the album in hand takes that album's id (the
// album key makes it the only album of that artist and name), so a link to a deleted or wrong album is
// mended; otherwise the album is looked up under the song's artist, then under "Various", and a song
// with no such album is unlinked (0). A song with id 0 gets the first free id after the highest in use.
//
// Writes collect in a frame committed every kRecordsPerFrame records, at the end and on cancel: what was
// committed stays; a failure rolls back only the open frame.
class TestAlbumIDs : public RecordRun {
public:
    static constexpr int kRecordsPerSlice = 25;
    // One commit per step would cost more than the reads of a step.
    static constexpr int kRecordsPerFrame = 1000;

    explicit TestAlbumIDs(TableAccess& access);
    ~TestAlbumIDs() override;
    TestAlbumIDs(const TestAlbumIDs&) = delete;
    TestAlbumIDs& operator=(const TestAlbumIDs&) = delete;

    QString textLine() const { return QStringLiteral("Testing Link Integrity"); }

    qint64 songsRead() const { return m_read; }
    // Songs whose album id changed to another album, to 0, and songs given an id.
    qint64 songsRelinked() const { return m_relinked; }
    qint64 songsUnlinked() const { return m_unlinked; }
    qint64 idsGiven() const { return m_idsGiven; }

private:
    bool begin() override;
    bool processSlice() override;
    QString writtenFile() const override;
    void keepCounts() override;
    void restoreCounts() override;
    // The album of a song's names: own artist, then "Various". 0, 35 or a read error.
    int lookUpAlbum(const Record& song);
    int findAlbum(const QString& artist, const QString& album);
    int freshId(qint64& id);
    bool m_songsOpen = false;
    bool m_albumsOpen = false;
    std::unique_ptr<Table> m_songs;
    std::unique_ptr<Table> m_albums;
    KeyAnchor m_anchor = KeyAnchor::start();
    // The album in hand: the one the previous song was matched with.
    bool m_hasAlbum = false;
    Record m_album;
    qint64 m_highestId = 0;
    qint64 m_lastGiven = 0;
    bool m_gaveId = false;
    qint64 m_relinked = 0;
    qint64 m_unlinked = 0;
    qint64 m_idsGiven = 0;
    // Counts as they were at the last commit, restored when the open frame is rolled back.
    qint64 m_committed[3] = {0, 0, 0};
};

}  // namespace srk
