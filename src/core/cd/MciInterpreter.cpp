#include "cd/MciInterpreter.h"

#include "cd/AudioSinkFactory.h"
#include "cd/MciErrors.h"

namespace srk {

namespace {

constexpr qint32 FramesPerSecond = 75;
// Media-control addresses count the two seconds before the first track.
constexpr qint32 LeadIn = 2 * FramesPerSecond;

QString twoDigits(qint64 n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

QString msf(qint64 frames) {
    if (frames < 0)
        frames = 0;
    return twoDigits(frames / (60 * FramesPerSecond)) + QLatin1Char(':') +
           twoDigits(frames / FramesPerSecond % 60) + QLatin1Char(':') + twoDigits(frames % FramesPerSecond);
}

QString milliseconds(qint64 frames) { return QString::number(frames * 1000 / FramesPerSecond); }

bool wholeNumber(const QString& text, int& value) {
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= 0;
}

}  // namespace

MciInterpreter::MciInterpreter(DriveFactory factory) : m_factory(std::move(factory)) {}

MciInterpreter::~MciInterpreter() {
    // The engine reads from the drive until it is gone.
    m_engine.reset();
}

int MciInterpreter::execute(const QString& command, QString& reply) {
    reply.clear();
    QStringList words = command.simplified().toLower().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return MciError::MissingCommandString;
    static const QStringList verbs = {QStringLiteral("open"),  QStringLiteral("close"), QStringLiteral("set"),
                                      QStringLiteral("status"), QStringLiteral("play"), QStringLiteral("pause"),
                                      QStringLiteral("stop")};
    const QString verb = words.first();
    if (!verbs.contains(verb))
        return MciError::UnrecognizedCommand;
    if (words.size() < 2)
        return MciError::MissingDeviceName;
    if (words[1] != QLatin1String("cdaudio"))
        return MciError::InvalidDeviceName;
    // Every command waits for its end here, so the flag changes nothing.
    words.removeAll(QStringLiteral("wait"));
    if (verb == QLatin1String("open"))
        return open(words, reply);
    // Only "open" makes the name known; the interpreter does not open devices on its own.
    if (!m_drive)
        return MciError::InvalidDeviceName;
    if (verb == QLatin1String("close"))
        return close(words);
    if (verb == QLatin1String("set"))
        return set(words);
    if (verb == QLatin1String("status"))
        return status(words, reply);
    if (verb == QLatin1String("play"))
        return play(words);
    return pauseOrStop(words, verb == QLatin1String("pause") ? PlayState::Paused : PlayState::Stopped);
}

int MciInterpreter::open(const QStringList& words, QString& reply) {
    for (int i = 2; i < words.size(); ++i)
        if (words[i] != QLatin1String("shareable"))
            return MciError::UnrecognizedKeyword;
    if (m_drive)
        return MciError::DeviceOpen;
    std::unique_ptr<CdDrive> drive = m_factory ? m_factory() : nullptr;
    if (!drive || drive->open() == DriveState::Unavailable)
        return MciError::DeviceNotInstalled;
    m_drive = std::move(drive);
    m_engine = std::make_unique<PlaybackEngine>(*m_drive, makeAudioSink());
    m_format = TimeFormat::Msf;
    // The reply to an open is the device's number; there is only ever one.
    reply = QStringLiteral("1");
    return MciError::None;
}

int MciInterpreter::close(const QStringList& words) {
    if (words.size() > 2)
        return MciError::UnrecognizedKeyword;
    m_engine.reset();
    m_drive->close();
    m_drive.reset();
    return MciError::None;
}

int MciInterpreter::set(const QStringList& words) {
    if (words.size() < 3)
        return MciError::MissingParameter;
    if (words.size() < 4 || words[2] != QLatin1String("time") || words[3] != QLatin1String("format"))
        return MciError::UnrecognizedKeyword;
    if (words.size() != 5)
        return words.size() < 5 ? MciError::MissingParameter : MciError::UnrecognizedKeyword;
    const QString& format = words[4];
    if (format == QLatin1String("tmsf"))
        m_format = TimeFormat::Tmsf;
    else if (format == QLatin1String("msf"))
        m_format = TimeFormat::Msf;
    else if (format == QLatin1String("ms") || format == QLatin1String("milliseconds"))
        m_format = TimeFormat::Ms;
    else
        return MciError::BadTimeFormat;
    return MciError::None;
}

int MciInterpreter::needDisc() const {
    const DriveState state = m_drive->state();
    return state == DriveState::AudioDisc || state == DriveState::DataDisc ? MciError::None
                                                                            : MciError::DeviceNotReady;
}

int MciInterpreter::trackArgument(const QStringList& words, int at, int& index) const {
    if (at >= words.size())
        return MciError::MissingParameter;
    if (at + 1 < words.size())
        return MciError::UnrecognizedKeyword;
    int number = 0;
    if (!wholeNumber(words[at], number))
        return MciError::BadInteger;
    const QVector<DiscTrack>& tracks = m_drive->tracks();
    for (index = 0; index < tracks.size(); ++index)
        if (tracks[index].number == number)
            return MciError::None;
    return MciError::OutOfRange;
}

int MciInterpreter::status(const QStringList& words, QString& reply) {
    if (words.size() < 3)
        return MciError::MissingParameter;
    const QString item = words.mid(2).join(QLatin1Char(' '));
    const DriveState state = m_drive->state();
    const bool discThere = state == DriveState::AudioDisc || state == DriveState::DataDisc;
    if (item == QLatin1String("mode")) {
        if (state == DriveState::TrayOpen)
            reply = QStringLiteral("open");
        else if (!discThere)
            reply = QStringLiteral("not ready");
        else if (m_engine->mode() == PlayState::Playing)
            reply = QStringLiteral("playing");
        else if (m_engine->mode() == PlayState::Paused)
            reply = QStringLiteral("paused");
        else
            reply = QStringLiteral("stopped");
        return MciError::None;
    }
    // Ready is the device's readiness for commands: a drive with its door open still takes them (and
    // says "open" as its mode). An empty drive, an unreadable disc and one without audio are not ready.
    if (item == QLatin1String("ready")) {
        reply = state == DriveState::AudioDisc || state == DriveState::TrayOpen ? QStringLiteral("true")
                                                                                : QStringLiteral("false");
        return MciError::None;
    }
    if (item == QLatin1String("media present")) {
        reply = discThere ? QStringLiteral("true") : QStringLiteral("false");
        return MciError::None;
    }
    if (item == QLatin1String("time format")) {
        reply = m_format == TimeFormat::Ms     ? QStringLiteral("milliseconds")
                : m_format == TimeFormat::Tmsf ? QStringLiteral("tmsf")
                                               : QStringLiteral("msf");
        return MciError::None;
    }
    const bool known = item == QLatin1String("number of tracks") || item == QLatin1String("current track") ||
                       item == QLatin1String("length") || item == QLatin1String("position") ||
                       item == QLatin1String("start position") || item.startsWith(QLatin1String("length track")) ||
                       item.startsWith(QLatin1String("position track"));
    if (!known)
        return MciError::UnrecognizedKeyword;
    if (!discThere)
        return MciError::DeviceNotReady;
    const QVector<DiscTrack>& tracks = m_drive->tracks();
    if (item == QLatin1String("number of tracks")) {
        reply = QString::number(tracks.size());
    } else if (item == QLatin1String("current track")) {
        reply = QString::number(tracks[m_drive->trackIndexAt(m_engine->position())].number);
    } else if (item == QLatin1String("length")) {
        reply = lengthText(m_drive->discFrames());
    } else if (item == QLatin1String("position")) {
        reply = positionText(m_engine->position());
    } else if (item == QLatin1String("start position")) {
        reply = positionText(tracks.first().start);
    } else {
        int index = 0;
        if (const int error = trackArgument(words, 4, index))
            return error;
        reply = words[2] == QLatin1String("length") ? lengthText(tracks[index].frames) : positionText(tracks[index].start);
    }
    return MciError::None;
}

int MciInterpreter::parseTime(const QString& text, qint32& sector) const {
    const QStringList parts = text.split(QLatin1Char(':'));
    int values[4] = {0, 0, 0, 0};
    if (parts.size() > (m_format == TimeFormat::Tmsf ? 4 : m_format == TimeFormat::Msf ? 3 : 1))
        return MciError::BadInteger;
    for (int i = 0; i < parts.size(); ++i)
        if (!wholeNumber(parts[i], values[i]))
            return MciError::BadInteger;
    if (m_format == TimeFormat::Ms) {
        sector = qint32(qint64(values[0]) * FramesPerSecond / 1000) - LeadIn;
        return MciError::None;
    }
    if (m_format == TimeFormat::Msf) {
        sector = (values[0] * 60 + values[1]) * FramesPerSecond + values[2] - LeadIn;
        return MciError::None;
    }
    for (const DiscTrack& t : m_drive->tracks())
        if (t.number == values[0]) {
            sector = t.start + (values[1] * 60 + values[2]) * FramesPerSecond + values[3];
            return MciError::None;
        }
    return MciError::OutOfRange;
}

int MciInterpreter::play(const QStringList& words) {
    if (const int error = needDisc())
        return error;
    qint32 from = m_engine->position();
    qint32 to = m_drive->leadOut();
    bool fromGiven = false;
    bool toGiven = false;
    for (int i = 2; i < words.size(); i += 2) {
        if (words[i] != QLatin1String("from") && words[i] != QLatin1String("to"))
            return MciError::UnrecognizedKeyword;
        if (i + 1 >= words.size())
            return MciError::MissingParameter;
        qint32 sector = 0;
        if (const int error = parseTime(words[i + 1], sector))
            return error;
        if (sector < m_drive->tracks().first().start || sector > m_drive->leadOut())
            return MciError::OutOfRange;
        if (words[i] == QLatin1String("from")) {
            from = sector;
            fromGiven = true;
        } else {
            to = sector;
            toGiven = true;
        }
    }
    // A plain "play" after "pause" goes on from where the sound stopped.
    if (!fromGiven && !toGiven && m_engine->mode() == PlayState::Paused) {
        m_engine->resume();
        return MciError::None;
    }
    if (to < from)
        return MciError::OutOfRange;
    m_engine->play(from, to);
    return MciError::None;
}

int MciInterpreter::pauseOrStop(const QStringList& words, PlayState state) {
    if (words.size() > 2)
        return MciError::UnrecognizedKeyword;
    if (const int error = needDisc())
        return error;
    if (state == PlayState::Stopped)
        m_engine->stop();
    else
        m_engine->pause();
    return MciError::None;
}

QString MciInterpreter::positionText(qint32 sector) const {
    if (m_format == TimeFormat::Ms)
        return milliseconds(qint64(sector) + LeadIn);
    if (m_format == TimeFormat::Msf)
        return msf(qint64(sector) + LeadIn);
    const DiscTrack& t = m_drive->tracks()[m_drive->trackIndexAt(sector)];
    return twoDigits(t.number) + QLatin1Char(':') + msf(sector - t.start);
}

QString MciInterpreter::lengthText(qint32 frames) const {
    return m_format == TimeFormat::Ms ? milliseconds(frames) : msf(frames);
}

}  // namespace srk
