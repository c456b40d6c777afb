#include "cd/DiscReading.h"

#include "catalog/Tables.h"
#include "cd/DiscTime.h"
#include "cd/SendMciCommand.h"
#include "store/Table.h"

#include <QVector>

namespace srk {

DiscReadingProgress::~DiscReadingProgress() = default;

namespace {

constexpr int NominalSteps = 20;
// A track list adding up to more than this cannot be one disc's worth of separate tracks.
constexpr qint64 EnhancedCdTotal = 540000;

struct TrackLength {
    int track = 0;
    qint32 time = 0;
};

class Reader {
public:
    Reader(Store& store, Record& album, DiscReadingProgress* progress, const MciSender& send)
        : m_store(store), m_album(album), m_progress(progress), m_send(send) {}

    DiscReadingResult run(bool identifyOnly, bool fillWizard, qint64 instance);

private:
    QString send(const QString& command, int askMode = 0) { return m_send(command, askMode); }
    DiscReadingResult fail(QLatin1StringView text);
    void closeDrive();
    void advance();
    void correctEnhancedCd(qint32 discTime);
    void writeWizardRows(qint64 instance);
    void writeAlbumSongs();

    Store& m_store;
    Record& m_album;
    DiscReadingProgress* m_progress;
    MciSender m_send;
    bool m_openedHere = true;
    int m_steps = 0;
    int m_percent = 0;
    QVector<TrackLength> m_tracks;
};

DiscReadingResult Reader::fail(QLatin1StringView text) {
    closeDrive();
    return {0, QString(text)};
}

// A drive the player already holds (error 265) is used as it is and left open for the player.
void Reader::closeDrive() {
    if (m_openedHere)
        send(QStringLiteral("close cdaudio"));
}

void Reader::advance() {
    if (m_percent >= 100)
        return;
    ++m_steps;
    m_percent = qMin(100, m_steps * 100 / NominalSteps);
    if (m_progress)
        m_progress->setPercent(m_percent);
}

DiscReadingResult Reader::run(bool identifyOnly, bool fillWizard, qint64 instance) {
    const QString opened = send(QStringLiteral("open cdaudio shareable"));
    m_openedHere = opened != QLatin1String("Error:1");
    if (mciReplyNumber(opened) != 1 && m_openedHere) {
        // Nothing was opened, but the drive is closed on every way out all the same.
        send(QStringLiteral("close cdaudio"));
        return {0, QString(CdNotAvailableText)};
    }
    if (send(QStringLiteral("status cdaudio ready")).trimmed().isEmpty())
        return fail(CdNotReadyText);
    if (send(QString(), 1) == QLatin1String("open"))
        return fail(CdDoorOpenText);

    if (m_progress) {
        m_progress->show(QStringLiteral("Reading CD"));
        m_progress->setStatusLine(QStringLiteral("Serial Number"));
        m_progress->setSecondLine(QString());
    }
    int count = 0;
    m_album.setText(ALB::CDIdentifier, CdSerialNumber(m_send, &count));
    if (identifyOnly && !fillWizard) {
        closeDrive();
        return {1, QString()};
    }
    advance();

    m_tracks.clear();
    send(QStringLiteral("set cdaudio time format tmsf"));
    for (int n = 1; n <= count; ++n) {
        if (m_progress)
            m_progress->setStatusLine(QStringLiteral("Track %1 of %2").arg(n).arg(count));
        m_tracks.append({n, ConvertDiscTime(send(QStringLiteral("status cdaudio length track %1").arg(n)))});
        if (m_progress)
            m_progress->letOthersRun();
        advance();
    }
    const qint32 discTime = ConvertDiscTime(send(QStringLiteral("status cdaudio length")));
    m_album.setNumber(ALB::TotalTime, discTime);
    correctEnhancedCd(discTime);
    closeDrive();

    if (fillWizard)
        writeWizardRows(instance);
    else if (m_album.number(ALB::AlbumID) != 0)
        writeAlbumSongs();
    return {1, QString()};
}

// Some drives give each track's length as the length from its start to the end of the disc. Their
// lengths add up to far more than a disc holds and to more than the disc's own length; a genuine long
// disc (up to 99 minutes) has lengths that add up to its disc length, so it is left alone.
void Reader::correctEnhancedCd(qint32 discTime) {
    qint64 total = 0;
    for (const TrackLength& t : std::as_const(m_tracks))
        total += t.time - 1;
    const qint64 discHundredths = qint64(discTime) - 1;
    if (total + 1 <= EnhancedCdTotal || total <= discHundredths + 100 * m_tracks.size())
        return;
    if (m_progress)
        m_progress->setStatusLine(QStringLiteral("Enhanced CD Detected"));
    for (int i = 0; i + 1 < m_tracks.size(); ++i)
        m_tracks[i].time = qMax<qint32>(1, m_tracks[i].time - m_tracks[i + 1].time + 1);
}

// Errors of single rows are not reported: the next track is written all the same.
void Reader::writeWizardRows(qint64 instance) {
    Table rows(m_store, addWizardTable());
    QString artist = m_album.text(ALB::Artist).left(30);
    if (artist.trimmed().isEmpty())
        artist = QStringLiteral("Various");
    m_store.stream();
    for (const TrackLength& t : std::as_const(m_tracks)) {
        Record row(addWizardTable());
        row.setNumber(AW::Instance, instance);
        row.setNumber(AW::Track, t.track);
        row.setText(AW::Side, QString());
        if (rows.get(AW::KeyInstance, row) == NoError) {
            row.setNumber(AW::Time, t.time);
            rows.put(row);
            continue;
        }
        row.setText(AW::Artist, artist);
        row.setText(AW::Title, QStringLiteral("Track %1").arg(t.track));
        row.setNumber(AW::Time, t.time);
        rows.add(row);
    }
    m_store.flush();
}

void Reader::writeAlbumSongs() {
    Table songs(m_store, songsTable());
    const qint64 albumId = m_album.number(ALB::AlbumID);
    m_store.stream();
    for (const TrackLength& t : std::as_const(m_tracks)) {
        Record song(songsTable());
        song.setNumber(SON::AlbumID, albumId);
        song.setNumber(SON::TrackNumber, t.track);
        if (songs.get(SON::KeyAlbumID, song) == NoError) {
            song.setNumber(SON::Time, t.time);
            songs.put(song);
            continue;
        }
        Record last(songsTable());
        qint64 id = 1;
        if (songs.setEnd(SON::KeyID) == NoError && songs.previous(last) == NoError)
            id = last.number(SON::ID) + 1;
        song.clear();
        song.setNumber(SON::ID, id);
        song.setNumber(SON::AlbumID, albumId);
        song.setNumber(SON::TrackNumber, t.track);
        song.setText(SON::Artist, m_album.text(ALB::Artist));
        song.setText(SON::Album, m_album.text(ALB::Album));
        song.setText(SON::Media, m_album.text(ALB::Media));
        song.setText(SON::FileNumber, m_album.text(ALB::FileNumber));
        song.setNumber(SON::ReleaseDate, m_album.number(ALB::ReleaseDate));
        song.setNumber(SON::CategoryID, m_album.number(ALB::CategoryID));
        song.setText(SON::Title, QStringLiteral("Track %1").arg(t.track));
        song.setNumber(SON::Time, t.time);
        songs.add(song);
    }
    m_store.flush();
}

}  // namespace

DiscReadingResult readDisc(Store& store, Record& album, int identifyOnly, int fillWizard,
                           qint64 wizardInstance, DiscReadingProgress* progress, const MciSender& send) {
    Reader reader(store, album, progress, send ? send : MciSender(&SendMciCommand));
    return reader.run(identifyOnly != 0, fillWizard != 0, wizardInstance);
}

}  // namespace srk
