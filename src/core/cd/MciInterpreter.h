#pragma once

#include "cd/CdDrive.h"
#include "cd/PlaybackEngine.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace srk {

// Our own reading of the media-control command strings for the device "cdaudio": open, close, set time
// format, status, play, pause and stop. Replies are written as the platform writes them: "true"/"false",
// mode words, counts, and times in the current format (msf "mm:ss:ff", tmsf "tt:mm:ss:ff" for positions
// and "mm:ss:ff" for lengths, ms as whole milliseconds).
class MciInterpreter {
public:
    using DriveFactory = std::function<std::unique_ptr<CdDrive>()>;
    enum class TimeFormat { Msf, Tmsf, Ms };

    explicit MciInterpreter(DriveFactory factory);
    ~MciInterpreter();

    // Replaces how the drive is made on the next "open" (a drive already open stays until "close").
    void setDriveFactory(DriveFactory factory) { m_factory = std::move(factory); }

    // Carries out one command: 0 and the reply, or the platform's error number.
    int execute(const QString& command, QString& reply);

    bool isOpen() const { return m_drive != nullptr; }
    // The open drive, null when closed.
    CdDrive* drive() const { return m_drive.get(); }
    TimeFormat timeFormat() const { return m_format; }
    // What plays the open drive's sound, null when closed.
    PlaybackEngine* engine() const { return m_engine.get(); }

private:
    int open(const QStringList& words, QString& reply);
    int close(const QStringList& words);
    int set(const QStringList& words);
    int status(const QStringList& words, QString& reply);
    int play(const QStringList& words);
    int pauseOrStop(const QStringList& words, PlayState state);
    int needDisc() const;
    int trackArgument(const QStringList& words, int at, int& index) const;
    int parseTime(const QString& text, qint32& sector) const;
    QString positionText(qint32 sector) const;
    QString lengthText(qint32 frames) const;

    DriveFactory m_factory;
    std::unique_ptr<CdDrive> m_drive;
    std::unique_ptr<PlaybackEngine> m_engine;
    TimeFormat m_format = TimeFormat::Msf;
};

}  // namespace srk
