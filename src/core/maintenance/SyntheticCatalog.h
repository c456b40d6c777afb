#pragma once

#include "jobs/Job.h"
#include "store/Record.h"

#include <QSet>
#include <QStringList>

#include <memory>
#include <random>

namespace srk {

class Store;
class Table;

// Writes a made-up but realistic catalogue (accented and inverted artist names, categories, media, file
// numbers, albums with their songs, playlists) in stream mode, for demos and benchmarks. The same seed
// always gives the same catalogue. The tables must be open; media are expected to be seeded.
class SyntheticCatalog : public Job {
public:
    struct Size {
        qint64 songs = 0;
        qint64 albums = 0;
        quint64 seed = 1997;
    };

    SyntheticCatalog(Store& store, const Size& size);
    ~SyntheticCatalog() override;

    bool step() override;
    int percent() const override;

    qint64 songsWritten() const { return m_songsWritten; }
    qint64 albumsWritten() const { return m_albumsWritten; }
    qint64 playlistsWritten() const { return m_playlistsWritten; }

private:
    bool begin();
    bool writeAlbum();
    bool writeSingles(qint64 count);
    bool writePlaylists();
    bool finish();
    // Ends a failed run: rolls back the open frame and leaves every key in place.
    void abandon();
    QString artistName();
    QString titleWords(int minWords, int maxWords);
    int randomInt(int low, int high);
    bool chance(int percent);
    void fillSong(Record& song, const QString& artist, const QString& album, const QString& media,
                  const QString& fileNumber, qint64 albumId, int track, int category, int releaseDate);

    Store& m_store;
    Size m_size;
    std::mt19937_64 m_random;
    std::unique_ptr<Table> m_songs, m_albums, m_categories, m_playlists, m_lines;
    QStringList m_artists;
    QStringList m_media;
    QSet<QString> m_albumKeys;
    QVector<const TableDef*> m_rebuild;
    int m_categoryCount = 0;
    qint64 m_firstSongId = 1, m_firstAlbumId = 1, m_firstPlaylistId = 1;
    qint64 m_songsWritten = 0, m_albumsWritten = 0, m_playlistsWritten = 0;
    qint64 m_songsPerAlbumBudget = 0;
    int m_stage = 0;
    qint64 m_sinceFlush = 0;
};

}  // namespace srk
