#pragma once

// Disc images written by tests: a cue sheet with its .bin of 2352-byte audio sectors (silence, or a
// tone per track), the same disc as a cdrdao .toc, and broken ones. Track lengths are in frames
// (sectors, 75 a second), chosen by the test.

#include <QFile>
#include <QString>
#include <QVector>

#include <cmath>

namespace discimages {

constexpr int SectorBytes = 2352;

inline QString msfText(qint64 frames) {
    return QStringLiteral("%1:%2:%3")
        .arg(frames / (60 * 75), 2, 10, QLatin1Char('0'))
        .arg(frames / 75 % 60, 2, 10, QLatin1Char('0'))
        .arg(frames % 75, 2, 10, QLatin1Char('0'));
}

// Writes the .bin of the tracks one after the other: silence, or a quiet sine of 220 Hz times the
// track number, 16-bit stereo.
inline bool writeBin(const QString& path, const QVector<qint32>& trackFrames, bool tone) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // Silence is a file of zeros: leave it sparse, so long discs cost nothing to make.
    if (!tone) {
        qint64 all = 0;
        for (qint32 f : trackFrames)
            all += f;
        return file.resize(all * SectorBytes);
    }
    QByteArray sector(SectorBytes, '\0');
    for (int t = 0; t < trackFrames.size(); ++t) {
        qint64 sample = 0;
        for (qint32 f = 0; f < trackFrames[t]; ++f) {
            for (int i = 0; i < SectorBytes / 4; ++i, ++sample) {
                const auto v = qint16(3000 * std::sin(2 * M_PI * 220.0 * (t + 1) * double(sample) / 44100.0));
                for (int c = 0; c < 2; ++c) {
                    sector[i * 4 + c * 2] = char(v & 0xff);
                    sector[i * 4 + c * 2 + 1] = char((v >> 8) & 0xff);
                }
            }
            if (file.write(sector) != SectorBytes)
                return false;
        }
    }
    return true;
}

inline bool writeText(const QString& path, const QString& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text.toUtf8()) >= 0;
}

// "<folder>/<name>.cue" with "<name>.bin"; returns the .cue's path (blank when it could not be written).
// dataFirst makes track 1 a data track (MODE1/2352), as on an enhanced or a pure data disc.
inline QString writeCueBin(const QString& folder, const QString& name, const QVector<qint32>& trackFrames,
                           bool tone = false, bool dataFirst = false) {
    const QString bin = name + QStringLiteral(".bin");
    if (!writeBin(folder + QLatin1Char('/') + bin, trackFrames, tone))
        return QString();
    QString cue = QStringLiteral("FILE \"%1\" BINARY\n").arg(bin);
    qint64 at = 0;
    for (int t = 0; t < trackFrames.size(); ++t) {
        const bool data = dataFirst && t == 0;
        cue += QStringLiteral("  TRACK %1 %2\n    INDEX 01 %3\n")
                   .arg(t + 1, 2, 10, QLatin1Char('0'))
                   .arg(data ? QStringLiteral("MODE1/2352") : QStringLiteral("AUDIO"), msfText(at));
        at += trackFrames[t];
    }
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".cue");
    return writeText(path, cue) ? path : QString();
}

// The same disc described by a cdrdao table of contents over its own .bin; returns the .toc's path.
inline QString writeTocBin(const QString& folder, const QString& name, const QVector<qint32>& trackFrames) {
    const QString bin = name + QStringLiteral(".bin");
    if (!writeBin(folder + QLatin1Char('/') + bin, trackFrames, false))
        return QString();
    QString toc = QStringLiteral("CD_DA\n");
    qint64 at = 0;
    for (qint32 frames : trackFrames) {
        toc += QStringLiteral("TRACK AUDIO\nFILE \"%1\" %2 %3\n").arg(bin, msfText(at), msfText(frames));
        at += frames;
    }
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".toc");
    return writeText(path, toc) ? path : QString();
}

// A good cue sheet whose .bin was cut short in the middle of its last track.
inline QString writeTruncatedCueBin(const QString& folder, const QString& name, const QVector<qint32>& trackFrames) {
    const QString cue = writeCueBin(folder, name, trackFrames);
    qint64 all = 0;
    for (qint32 f : trackFrames)
        all += f;
    QFile bin(folder + QLatin1Char('/') + name + QStringLiteral(".bin"));
    if (cue.isEmpty() || !bin.resize((all - trackFrames.last() / 2) * SectorBytes - 1000))
        return QString();
    return cue;
}

// A cue sheet naming a .bin that is not there.
inline QString writeCueMissingBin(const QString& folder, const QString& name) {
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".cue");
    return writeText(path, QStringLiteral("FILE \"%1-absent.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n")
                               .arg(name))
               ? path
               : QString();
}

// A .cue file holding lines that are no cue sheet at all.
inline QString writeGarbageCue(const QString& folder, const QString& name) {
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".cue");
    return writeText(path, QStringLiteral("this is not\n\x01\x02 a cue sheet ###\nTRACK banana\nINDEX -5 zz:zz:zz\n"))
               ? path
               : QString();
}

}  // namespace discimages
