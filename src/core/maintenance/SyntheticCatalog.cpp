#include "maintenance/SyntheticCatalog.h"

#include "catalog/Tables.h"
#include "store/Store.h"
#include "store/Table.h"

#include <QDate>

namespace srk {

namespace {

const char* const kGivenNames[] = {
    "José", "Zoë", "Björn", "Agnès", "Søren", "Renée", "Jürgen", "François", "Ana", "Chloé", "Mikael", "Łukasz",
    "Antonín", "Ingrid", "Héloïse", "Mariá", "Nuño", "Aleš", "Eliška", "Ólafur", "Kirsten", "Miles", "Ella",
    "Aretha", "Johnny", "Dolly", "Nina", "Ray", "Patsy", "Billie", "Marvin", "Etta", "Ludwig", "Wolfgang",
    "Édith", "Serge", "Mercedes", "Caetano", "João", "Astrud", "Fela", "Miriam", "Youssou", "Ravi", "Asha",
    "Björk", "Sigrid", "Åsa", "Jean-Michel", "Gérard", "Ümit", "Zoltán", "Dvořák", "Annalena", "Pål",
};
const char* const kSurnames[] = {
    "García", "Müller", "Ødegaard", "Núñez", "Šimek", "Brontë", "Lefèvre", "Çelik", "Østergaard", "Smith",
    "Johnson", "Williams", "Brown", "Davis", "Franklin", "Cash", "Parton", "Simone", "Charles", "Cline",
    "Holiday", "Gaye", "James", "Beethoven", "Mozart", "Piaf", "Gainsbourg", "Sosa", "Veloso", "Gilberto",
    "Kuti", "Makeba", "N'Dour", "Shankar", "Bhosle", "Guðmundsdóttir", "Söderberg", "Mäkelä", "Jarre",
    "Depardieu", "Yılmaz", "Kodály", "Nováková", "Ørsted", "Håkansson", "Wagner", "Coltrane", "Fitzgerald",
    "Crane", "O'Connor", "MacLeod", "Schröder", "Weiß", "Ibáñez", "Peña", "Lindqvist", "Nørgaard",
};
const char* const kAdjectives[] = {
    "Blue", "Golden", "Silent", "Electric", "Broken", "Velvet", "Midnight", "Wild", "Crystal", "Lonely",
    "Burning", "Sweet", "Dark", "Endless", "Frozen", "Hidden", "Crimson", "Lost", "Neon", "Paper", "Rolling",
    "Secret", "Shining", "Summer", "Winter", "Wooden", "Young", "Ancient", "Bitter", "Cosmic", "Dancing",
    "Distant", "Empty", "Fading", "Gentle", "Heavy", "Little", "Magic", "Northern", "Open", "Quiet", "Rusty",
    "Sleeping", "Southern", "Strange", "Tender", "Twisted", "Yellow", "Ça Va", "Über", "Señorita's", "Café",
};
const char* const kNouns[] = {
    "Heart", "River", "Road", "Dream", "Night", "Fire", "Rain", "Moon", "Train", "Garden", "Highway", "Angel",
    "Mirror", "Shadow", "Ocean", "Storm", "Window", "Letter", "City", "Song", "Horizon", "Lights", "Stars",
    "Waltz", "Blues", "Rhapsody", "Serenade", "Boulevard", "Harbour", "Mountain", "Sky", "Echo", "Thunder",
    "Desert", "Island", "Kingdom", "Lullaby", "Memory", "Paradise", "Radio", "Sunrise", "Tears", "Valley",
    "Wheels", "Whisper", "Wings", "Corazón", "Fjord", "Château", "Straße", "Noël", "Façade", "Smörgåsbord",
};
const char* const kBandNouns[] = {
    "Wolves", "Travellers", "Kings", "Strangers", "Rebels", "Drifters", "Shadows", "Pioneers", "Dreamers",
    "Ramblers", "Hearts", "Machines", "Comets", "Sparrows", "Saints", "Brothers", "Sisters", "Echoes",
};
const char* const kCategories[] = {
    "Rock", "Pop", "Jazz", "Classical", "Blues", "Country", "Electronic", "Hip-Hop", "R&B", "Soul", "Reggae",
    "Folk", "Metal", "Punk", "Latin", "World", "Soundtrack", "Gospel", "Funk", "Disco", "Chanson", "Schlager",
};
const char* const kStyles[] = {"Ballad", "Up-tempo", "Acoustic", "Live", "Instrumental", "Remix", "Duet",
                               "A cappella", "Orchestral", "Unplugged", "Extended", "Radio Edit"};
const char* const kMoods[] = {"Mellow", "Upbeat", "Party", "Late Night", "Workout", "Dinner", "Road Trip",
                              "Rainy Day", "Wedding", "Café Noir"};
const char* const kInfo[] = {"Remastered", "Mono mix", "Bonus track", "Recorded live", "Original pressing",
                             "Limited edition", "Gatefold sleeve", "Signed copy"};

template <size_t N>
QString pick(const char* const (&list)[N], std::mt19937_64& random) {
    return QString::fromUtf8(list[random() % N]);
}

int dayNumber(int year, int month, int day) { return int(QDate(1800, 12, 28).daysTo(QDate(year, month, day))); }

constexpr qint64 kAlbumsPerSlice = 250;
constexpr qint64 kSinglesPerSlice = 2500;
constexpr qint64 kFlushEvery = 100000;

}  // namespace

SyntheticCatalog::SyntheticCatalog(Store& store, const Size& size)
    : m_store(store), m_size(size), m_random(size.seed) {}

SyntheticCatalog::~SyntheticCatalog() {
    if (m_stage > 0 && m_stage < 5)
        finish();
}

int SyntheticCatalog::randomInt(int low, int high) {
    return low + int(m_random() % quint64(high - low + 1));
}

bool SyntheticCatalog::chance(int percent) { return int(m_random() % 100) < percent; }

QString SyntheticCatalog::artistName() {
    const int kind = randomInt(0, 9);
    if (kind < 5)  // solo artists are filed "Surname, Given"
        return pick(kSurnames, m_random) + QStringLiteral(", ") + pick(kGivenNames, m_random);
    if (kind < 8)
        return QStringLiteral("The ") + pick(kAdjectives, m_random) + QLatin1Char(' ') + pick(kBandNouns, m_random);
    return pick(kNouns, m_random) + QLatin1Char(' ') + pick(kNouns, m_random);
}

QString SyntheticCatalog::titleWords(int minWords, int maxWords) {
    const int words = randomInt(minWords, maxWords);
    QStringList parts;
    for (int i = 0; i < words; ++i)
        parts << ((i % 2 == 0 && i + 1 < words) ? pick(kAdjectives, m_random) : pick(kNouns, m_random));
    if (chance(8))
        parts.prepend(QStringLiteral("The"));
    return parts.join(QLatin1Char(' '));
}

bool SyntheticCatalog::begin() {
    for (const TableDef* def : {&songsTable(), &albumTable(), &categoriesTable(), &playlistMasterTable(),
                                &playlistDetailsTable(), &mediaTable()})
        if (!m_store.isOpen(*def)) {
            fail(QStringLiteral("The table %1 is not open.").arg(def->label));
            return false;
        }
    m_songs = std::make_unique<Table>(m_store, songsTable());
    m_albums = std::make_unique<Table>(m_store, albumTable());
    m_categories = std::make_unique<Table>(m_store, categoriesTable());
    m_playlists = std::make_unique<Table>(m_store, playlistMasterTable());
    m_lines = std::make_unique<Table>(m_store, playlistDetailsTable());

    // The write transaction comes first and everything below is decided inside it: another station's
    // writes either came before it (and are seen) or wait until this one ends.
    if (m_store.stream() != NoError) {
        fail(m_store.lastError().displayText());
        return false;
    }

    // Continue numbering after what the catalogue already holds.
    auto lastNumber = [](Table& table, int key, int field) -> qint64 {
        Record r = table.newRecord();
        table.setEnd(key);
        return table.previous(r) == NoError ? r.number(field) : 0;
    };
    m_firstSongId = lastNumber(*m_songs, SON::KeyID, SON::ID) + 1;
    m_firstAlbumId = lastNumber(*m_albums, ALB::KeyAlbumID, ALB::AlbumID) + 1;
    m_firstPlaylistId = lastNumber(*m_playlists, PLD::KeyPlaylistID, PLD::PlaylistID) + 1;

    // Into empty tables, keys are built once at the end instead of record by record, in this same
    // transaction: until it commits, other stations see the old keys.
    if (m_songs->records() == 0)
        m_rebuild << &songsTable();
    if (m_albums->records() == 0)
        m_rebuild << &albumTable();
    for (const TableDef* def : std::as_const(m_rebuild))
        if (m_store.dropKeys(*def) != NoError) {
            fail(m_store.lastError().displayText());
            return false;
        }
    m_store.setCacheMegabytes(512);

    if (m_categories->records() == 0) {
        qint64 id = 1;
        for (const char* name : kCategories) {
            Record c = m_categories->newRecord();
            c.setNumber(CAT::CategoryID, id++);
            c.setText(CAT::Category, QString::fromUtf8(name));
            if (m_categories->add(c) != NoError) {
                fail(m_store.lastError().displayText());
                return false;
            }
        }
    }
    m_categoryCount = int(lastNumber(*m_categories, CAT::KeyCategoryID, CAT::CategoryID));

    Table media(m_store, mediaTable());
    Record m = media.newRecord();
    media.setStart(MED::KeyMedia);
    while (media.next(m) == NoError)
        m_media << m.text(MED::Media);
    if (m_media.isEmpty())
        m_media = defaultMedia();

    const qint64 artistPool = qMax<qint64>(50, m_size.albums / 4 + m_size.songs / 200);
    for (qint64 i = 0; i < artistPool; ++i)
        m_artists << artistName();
    m_songsPerAlbumBudget = m_size.albums > 0 ? m_size.songs / m_size.albums : 0;
    return true;
}

void SyntheticCatalog::fillSong(Record& s, const QString& artist, const QString& album, const QString& media,
                                const QString& fileNumber, qint64 albumId, int track, int category,
                                int releaseDate) {
    s.clear();
    s.setText(SON::Artist, artist);
    s.setText(SON::Title, titleWords(1, 4));
    s.setText(SON::Album, album);
    s.setText(SON::Media, media);
    s.setText(SON::FileNumber, fileNumber);
    s.setNumber(SON::ReleaseDate, releaseDate);
    s.setNumber(SON::CategoryID, category);
    s.setNumber(SON::ChartNumber, chance(15) ? randomInt(1, 100) : 0);
    s.setNumber(SON::TrackNumber, track);
    const bool sided = media.startsWith(QLatin1String("LP")) || media.startsWith(QLatin1String("Cassette"));
    s.setText(SON::Side, sided ? (track % 2 ? QStringLiteral("A") : QStringLiteral("B")) : QString());
    s.setNumber(SON::Time, qint64(randomInt(120, 450)) * 100 + 1);
    if (chance(50))
        s.setText(SON::UserDefinedKeyField, pick(kMoods, m_random));
    if (chance(20))
        s.setText(SON::AdditionalInformation1, pick(kInfo, m_random));
    s.setNumber(SON::BeatsPerMinute, chance(80) ? randomInt(60, 200) : 0);
    if (chance(40))
        s.setText(SON::Style, pick(kStyles, m_random));
    s.setText(SON::Composer, chance(60) ? artist : pick(kSurnames, m_random));
    if (chance(30))
        s.setNumber(SON::LastPlayed, dayNumber(2020, 1, 1) + randomInt(0, 2500));
    s.setNumber(SON::ID, m_firstSongId + m_songsWritten);
    s.setNumber(SON::AlbumID, albumId);
    if (chance(5))
        s.setText(SON::Notes, QStringLiteral("Heard first on the radio; ") + titleWords(2, 5).toLower() + QLatin1Char('.'));
}

bool SyntheticCatalog::writeAlbum() {
    const qint64 albumId = m_firstAlbumId + m_albumsWritten;
    const bool compilation = chance(10);
    QString artist = compilation ? QStringLiteral("Various") : m_artists[int(m_random() % m_artists.size())];
    QString title = titleWords(1, 3);
    const QString key = (title + QLatin1Char('|') + artist).toCaseFolded();
    if (m_albumKeys.contains(key))
        title += QStringLiteral(" (Vol. %1)").arg(albumId);
    m_albumKeys.insert((title + QLatin1Char('|') + artist).toCaseFolded());

    const QString media = chance(70) ? QStringLiteral("CD") : m_media[int(m_random() % m_media.size())];
    const QString prefix = media == QLatin1String("CD") ? QStringLiteral("CD") : media.left(2).toUpper();
    const QString fileNumber = QStringLiteral("%1-%2").arg(prefix).arg(albumId, 6, 10, QLatin1Char('0'));
    const int releaseDate = chance(10) ? randomInt(1950, 2024) : dayNumber(1955, 1, 1) + randomInt(0, 25500);
    const int category = m_categoryCount > 0 ? randomInt(1, m_categoryCount) : 0;

    // Spread the songs evenly, the remainder on the first albums.
    qint64 tracks = m_songsPerAlbumBudget;
    if (m_size.albums > 0 && m_albumsWritten < m_size.songs % m_size.albums)
        ++tracks;
    tracks = qMin<qint64>(tracks, m_size.songs - m_songsWritten);

    Record a = m_albums->newRecord();
    a.setNumber(ALB::AlbumID, albumId);
    a.setText(ALB::Artist, artist);
    a.setText(ALB::Album, title);
    a.setText(ALB::Media, media);
    a.setText(ALB::FileNumber, fileNumber);
    a.setNumber(ALB::ReleaseDate, releaseDate);
    a.setNumber(ALB::CategoryID, category);
    if (media == QLatin1String("CD"))
        a.setText(ALB::CDIdentifier,
                  QStringLiteral("%1%2").arg(quint32(m_random()), 8, 16, QLatin1Char('0')).arg(albumId, 8, 16, QLatin1Char('0')).toUpper());
    qint64 total = 0;

    Record s = m_songs->newRecord();
    for (int track = 1; track <= tracks; ++track) {
        const QString songArtist = compilation ? m_artists[int(m_random() % m_artists.size())] : artist;
        fillSong(s, songArtist, title, media, fileNumber, albumId, track, category, releaseDate);
        total += s.number(SON::Time) - 1;
        if (m_songs->add(s) != NoError) {
            fail(m_store.lastError().displayText());
            return false;
        }
        ++m_songsWritten;
        ++m_sinceFlush;
    }
    a.setNumber(ALB::TotalTime, total > 0 ? total + 1 : 0);
    if (m_albums->add(a) != NoError) {
        fail(m_store.lastError().displayText());
        return false;
    }
    ++m_albumsWritten;
    return true;
}

bool SyntheticCatalog::writeSingles(qint64 count) {
    Record s = m_songs->newRecord();
    for (qint64 i = 0; i < count; ++i) {
        const QString artist = m_artists[int(m_random() % m_artists.size())];
        const QString media = chance(50) ? QStringLiteral("7\" Single") : m_media[int(m_random() % m_media.size())];
        const QString fileNumber = chance(70) ? QStringLiteral("S-%1").arg(randomInt(1, 99999), 5, 10, QLatin1Char('0'))
                                              : QString();
        const int category = m_categoryCount > 0 ? randomInt(1, m_categoryCount) : 0;
        fillSong(s, artist, QString(), media, fileNumber, 0, 0, category, randomInt(1950, 2024));
        if (m_songs->add(s) != NoError) {
            fail(m_store.lastError().displayText());
            return false;
        }
        ++m_songsWritten;
        ++m_sinceFlush;
    }
    return true;
}

bool SyntheticCatalog::writePlaylists() {
    const qint64 playlists = m_size.songs > 0 ? qBound(qint64(1), m_size.albums / 1000, qint64(200)) : 0;
    const qint64 songCount = m_songsWritten;
    for (qint64 p = 0; p < playlists; ++p) {
        const qint64 id = m_firstPlaylistId + p;
        Record h = m_playlists->newRecord();
        h.setNumber(PLD::PlaylistID, id);
        h.setText(PLD::PlaylistDescription, QStringLiteral("%1 Mix %2").arg(pick(kMoods, m_random)).arg(id));
        h.setNumber(PLD::LastEditDate, dayNumber(2025, 1, 1) + randomInt(0, 600));
        if (m_playlists->add(h) != NoError) {
            fail(m_store.lastError().displayText());
            return false;
        }
        const int lines = int(qMin<qint64>(randomInt(15, 40), songCount));
        for (int seq = 1; seq <= lines; ++seq) {
            Record l = m_lines->newRecord();
            l.setNumber(PLA::PlaylistID, id);
            l.setNumber(PLA::PlaylistSeq, seq);
            l.setNumber(PLA::ID, m_firstSongId + qint64(m_random() % quint64(songCount)));
            l.setText(PLA::ThisWeek, QString::number(seq));
            if (chance(70))
                l.setText(PLA::LastWeek, QString::number(randomInt(1, 40)));
            l.setText(PLA::HighestChartPosition, QString::number(randomInt(1, seq)));
            if (m_lines->add(l) != NoError) {
                fail(m_store.lastError().displayText());
                return false;
            }
        }
        ++m_playlistsWritten;
    }
    return true;
}

bool SyntheticCatalog::finish() {
    // Keys first, inside the transaction; the store refuses to commit a table still without them.
    bool ok = true;
    for (const TableDef* def : std::as_const(m_rebuild))
        if (ok && m_store.buildKeys(*def) != NoError) {
            fail(m_store.lastError().displayText());
            ok = false;
        }
    m_rebuild.clear();
    if (m_store.flush() != NoError && ok) {
        fail(m_store.lastError().displayText());
        ok = false;
    }
    m_store.setCacheMegabytes(64);
    return ok;
}

void SyntheticCatalog::abandon() {
    m_stage = 5;
    const QString error = errorText();
    m_store.discard();
    // The keys were dropped inside the rolled-back frame; building them again on the emptied tables is
    // cheap and makes sure no table is left without them whatever frame the load ran in.
    for (const TableDef* def : std::as_const(m_rebuild))
        m_store.buildKeys(*def);
    m_rebuild.clear();
    m_store.setCacheMegabytes(64);
    fail(error);
}

bool SyntheticCatalog::step() {
    if (cancelled() || !errorText().isEmpty()) {
        if (m_stage > 0 && m_stage < 5) {
            // A cancelled run keeps what it wrote; a failed one keeps nothing of its open frame.
            if (errorText().isEmpty()) {
                m_stage = 5;
                if (!finish())
                    abandon();
            } else {
                abandon();
            }
        }
        return false;
    }
    switch (m_stage) {
    case 0:
        if (!begin()) {
            abandon();
            return false;
        }
        m_stage = 1;
        return true;
    case 1:
        for (qint64 i = 0; i < kAlbumsPerSlice && m_albumsWritten < m_size.albums; ++i)
            if (!writeAlbum())
                return step();
        if (m_albumsWritten >= m_size.albums)
            m_stage = 2;
        break;
    case 2: {
        const qint64 left = m_size.songs - m_songsWritten;
        if (left > 0 && !writeSingles(qMin(left, kSinglesPerSlice)))
            return step();
        if (m_songsWritten >= m_size.songs)
            m_stage = 3;
        break;
    }
    case 3:
        if (!writePlaylists())
            return step();
        m_stage = 4;
        break;
    case 4:
        m_stage = 5;
        // A failed last commit leaves nothing behind but must still leave the keys in place.
        if (!finish())
            abandon();
        return false;
    default: return false;
    }
    // Commit now and then so that the journal and the locked time stay bounded; not while a table is
    // without its keys (a load into an empty table journals little: new pages need no copy).
    if (m_sinceFlush >= kFlushEvery && m_rebuild.isEmpty()) {
        m_sinceFlush = 0;
        if (m_store.flush() != NoError || m_store.stream() != NoError) {
            fail(m_store.lastError().displayText());
            abandon();
            return false;
        }
    }
    return true;
}

int SyntheticCatalog::percent() const {
    const qint64 total = m_size.songs + m_size.albums;
    if (m_stage >= 5 || total == 0)
        return 100;
    return int(qMin<qint64>(99, (m_songsWritten + m_albumsWritten) * 100 / total));
}

}  // namespace srk
