#pragma once

#include "cd/CdSerialNumber.h"

#include <QString>

namespace srk {

// What the CD player knows of the drive and what its buttons decide, spoken to the drive through
// media-control commands only. The window shows this state and asks the user; everything it sends
// goes through here. Times are hundredths of a second.
class PlayerDeck {
public:
    struct Times {
        qint64 trackStart = 0;
        qint64 trackPosition = 0;
        qint64 cdPosition = 0;
        qint64 trackLength = 0;
        qint64 cdLength = 0;
    };

    explicit PlayerDeck(MciSender send);

    // One timer event: the mode, a new disc or a closed door ("Init"), a track change while playing
    // ("Sync"), the positions. True when the track changed while playing (the list follows it).
    bool poll();

    // Within three seconds of a track's start, the track before it (never below 1); later, the same one
    // again from its start.
    void previous();
    // The track after the current one; on the last track it stays there.
    void next();
    // Ten seconds back, never before the start of the disc; ten forward, never past its end.
    void back();
    void forward();
    // Plays from the current track, held to the disc's tracks.
    void play();
    // Plays from the current track as it stands (a double-click on the list).
    void playCurrent();
    void stop();
    // Pauses, or when paused goes on where it stopped.
    void togglePause();
    // Plays the current track from `percent` (0 to 100) of its length.
    void locate(double percent);

    // The disc's serial number; "0" for an empty drive or a disc of no tracks. `tracks` gets the count.
    QString readSerialNumber(int& tracks);

    // The current track as a highlighted song sets it (its track number).
    void setCurrentTrack(int track) { m_current = track; }
    int currentTrack() const { return m_current; }
    int trackCount() const { return m_tracks; }
    const Times& times() const { return m_times; }
    int percent() const;
    QString mode() const { return m_mode; }
    // "Init", "Sync" or blank: what the last poll did beyond reading positions.
    QString activity() const { return m_activity; }
    // 100 minus the hundredths of a second the last poll took.
    int performance() const { return m_performance; }
    bool paused() const { return m_paused; }

    // The disc is to be identified after the next poll (a new disc, the drive opened again).
    void markIdentify() { m_identify = true; }
    bool takeIdentify();
    // Forgets the mode, so the next poll takes the drive as a disc newly put in.
    void forgetMode() { m_previousMode.clear(); }

private:
    QString send(const QString& command);
    qint64 number(const QString& command);
    void readTrackBounds();
    void readPositions();
    void playFrom(qint64 milliseconds);

    MciSender m_send;
    Times m_times;
    int m_current = 0;
    int m_tracks = 0;
    int m_lastSeenTrack = -1;
    int m_performance = 100;
    QString m_mode;
    QString m_previousMode;
    QString m_activity;
    bool m_paused = false;
    bool m_identify = false;
};

}  // namespace srk
