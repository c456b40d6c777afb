#include "cd/PlayerDeck.h"

#include "cd/DiscTime.h"

#include <QElapsedTimer>

#include <algorithm>

namespace srk {

namespace {
const QString kTmsf = QStringLiteral("set cdaudio time format tmsf");
const QString kMs = QStringLiteral("set cdaudio time format ms");
constexpr qint64 kStep = 10000;           // Back and Forward, in milliseconds
constexpr qint64 kRestartAfter = 300;     // Previous restarts the track after three seconds
}  // namespace

PlayerDeck::PlayerDeck(MciSender send) : m_send(std::move(send)) {}

QString PlayerDeck::send(const QString& command) { return m_send(command, 0); }

qint64 PlayerDeck::number(const QString& command) { return mciReplyNumber(send(command)); }

bool PlayerDeck::takeIdentify() {
    const bool was = m_identify;
    m_identify = false;
    return was;
}

int PlayerDeck::percent() const {
    if (m_times.trackLength <= 0)
        return 0;
    return int(std::clamp<qint64>(m_times.trackPosition * 100 / m_times.trackLength, 0, 100));
}

void PlayerDeck::readTrackBounds() {
    const QString track = QString::number(m_current);
    m_times.trackLength = number(QStringLiteral("status cdaudio length track ") + track) / 10;
    m_times.trackStart = number(QStringLiteral("status cdaudio position track ") + track) / 10;
}

void PlayerDeck::readPositions() {
    send(kMs);
    if (m_current != 0) {
        m_times.cdPosition = number(QStringLiteral("status cdaudio position")) / 10;
        m_times.trackPosition = m_times.cdPosition - m_times.trackStart + 1;
    } else {
        m_times.cdPosition = m_times.trackPosition = m_times.trackLength = m_times.cdLength = 0;
    }
    send(kTmsf);
}

bool PlayerDeck::poll() {
    QElapsedTimer clock;
    clock.start();
    m_activity.clear();
    m_mode = m_send(QString(), 1);
    const QString previous = m_previousMode.trimmed();
    const QString mode = m_mode.trimmed();
    if ((previous == QLatin1String("open") || previous.isEmpty()) &&
        (mode == QLatin1String("stopped") || mode == QLatin1String("playing") || mode == QLatin1String("seeking"))) {
        m_activity = QStringLiteral("Init");
        m_identify = true;
        m_current = int(number(QStringLiteral("status cdaudio current track")));
        m_tracks = int(number(QStringLiteral("status cdaudio number of tracks")));
        send(kMs);
        m_times.cdLength = number(QStringLiteral("status cdaudio length")) / 10;
        readTrackBounds();
        send(kTmsf);
    }
    m_previousMode = m_mode;

    m_current = int(number(QStringLiteral("status cdaudio current track")));
    bool synced = false;
    if (m_current != m_lastSeenTrack && mode == QLatin1String("playing")) {
        m_activity = QStringLiteral("Sync");
        send(kMs);
        readTrackBounds();
        send(kTmsf);
        synced = true;
    }
    m_lastSeenTrack = m_current;

    readPositions();
    // Read between the track's end and the drive moving on: once more.
    if (m_times.trackPosition > m_times.trackLength)
        readPositions();
    m_performance = int(100 - clock.elapsed() / 10);
    return synced;
}

void PlayerDeck::previous() {
    if (m_times.trackPosition < kRestartAfter)
        m_current = std::max(m_current - 1, 1);
    playCurrent();
}

void PlayerDeck::next() {
    if (m_tracks > 0 && m_current >= m_tracks) {
        m_current = m_tracks;
        return;
    }
    ++m_current;
    playCurrent();
}

void PlayerDeck::playFrom(qint64 milliseconds) {
    send(QStringLiteral("play cdaudio from ") + QString::number(milliseconds));
}

void PlayerDeck::back() {
    send(kMs);
    const qint64 position = number(QStringLiteral("status cdaudio position"));
    const qint64 start = number(QStringLiteral("status cdaudio start position"));
    playFrom(std::max(position - kStep, start));
    send(kTmsf);
}

void PlayerDeck::forward() {
    send(kMs);
    const qint64 position = number(QStringLiteral("status cdaudio position"));
    const qint64 end = number(QStringLiteral("status cdaudio start position")) +
                       number(QStringLiteral("status cdaudio length"));
    playFrom(std::min(position + kStep, end));
    send(kTmsf);
}

void PlayerDeck::play() {
    if (m_tracks != 0 && m_current > m_tracks)
        m_current = m_tracks;
    // Before any poll (or never, with no polling at all) no track is known yet: the disc's first.
    if (m_current < 1)
        m_current = 1;
    playCurrent();
}

void PlayerDeck::playCurrent() { send(QStringLiteral("play cdaudio from ") + QString::number(m_current)); }

void PlayerDeck::stop() { send(QStringLiteral("stop cdaudio")); }

void PlayerDeck::togglePause() {
    send(m_paused ? QStringLiteral("play cdaudio") : QStringLiteral("pause cdaudio"));
    m_paused = !m_paused;
}

void PlayerDeck::locate(double percent) {
    send(kMs);
    const qint64 start = number(QStringLiteral("status cdaudio position track ") + QString::number(m_current)) / 10 + 1;
    const qint64 target = qint64(std::clamp(percent, 0.0, 100.0) / 100.0 * double(m_times.trackLength)) + start;
    playFrom(target * 10);
    send(kTmsf);
}

QString PlayerDeck::readSerialNumber(int& tracks) {
    tracks = int(number(QStringLiteral("status cdaudio number of tracks")));
    if (tracks == 0)
        return QStringLiteral("0");
    return CdSerialNumber(m_send, &tracks);
}

}  // namespace srk
