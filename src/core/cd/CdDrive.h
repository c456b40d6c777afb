#pragma once

#include <QString>
#include <QVector>

#include <mutex>

namespace srk {

// What a drive can tell before any track is read. Each way a disc cannot be used has its own state.
enum class DriveState {
    Unavailable, // no such device or image, or it cannot be read at all
    TrayOpen,
    NoDisc,
    NotReady, // a disc is there but its table of contents or its sectors cannot be read
    DataDisc, // no audio track at all
    AudioDisc,
};

// A sentence for the user about a state, as the command-line tool prints it.
QString driveStateText(DriveState state);

// One track of the table of contents. Addresses are sectors (frames, 75 a second) from the start of
// the program area; the two-second lead-in is not counted.
struct DiscTrack {
    int number = 0;
    qint32 start = 0;
    qint32 frames = 0;
    bool audio = true;
};

enum class PlayState { Stopped, Playing, Paused };

// One compact disc drive, a real one or a disc image. The table of contents is read on open() and kept
// until close(); state() is asked again each time, because a tray can be opened at any moment.
class CdDrive {
public:
    virtual ~CdDrive();

    virtual DriveState open() = 0;
    virtual void close() = 0;
    virtual DriveState state() = 0;
    // The device or image path the drive was made for (blank for the system's default drive).
    virtual QString source() const = 0;
    // Reads `count` raw audio sectors (2352 bytes each) from `first` into `out`; false when they cannot be
    // read. Safe to call from the playback thread while another thread asks state().
    virtual bool readAudioSectors(qint32 first, int count, char* out) = 0;

    const QVector<DiscTrack>& tracks() const { return m_tracks; }
    int trackCount() const { return int(m_tracks.size()); }
    int firstTrack() const { return m_tracks.isEmpty() ? 0 : m_tracks.first().number; }
    // Where the lead-out starts, and the length from the first track's start to it.
    qint32 leadOut() const { return m_leadOut; }
    qint32 discFrames() const { return m_tracks.isEmpty() ? 0 : m_leadOut - m_tracks.first().start; }
    // The track (index into tracks()) holding a sector; the last one for the lead-out and beyond.
    int trackIndexAt(qint32 sector) const;

protected:
    void forgetDisc();

    QVector<DiscTrack> m_tracks;
    qint32 m_leadOut = 0;
    // libcdio handles are not shared between threads without this.
    std::mutex m_cdioMutex;
};

}  // namespace srk
