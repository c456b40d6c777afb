#include "ui/services/SoundPlayer.h"

#include <QFile>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

namespace srk {

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent) {}

SoundPlayer::~SoundPlayer() {
    stop();
}

bool SoundPlayer::play(const QString& fileName) {
    stop();
    const QFileInfo info(fileName);
    QFile probe(fileName);
    // The decoder reports a missing file late or not at all; a file that opens is handed on.
    if (!info.isFile() || !probe.open(QIODevice::ReadOnly))
        return false;
    probe.close();
    m_playing = fileName;
    // The wave player decodes the file itself (whatever its name), without a media framework: a file
    // that is no wave sound ends in its error state, which is reported.
    m_effect = new QSoundEffect(this);
    connect(m_effect, &QSoundEffect::statusChanged, this, [this, effect = m_effect] {
        if (effect == m_effect && effect->status() == QSoundEffect::Error)
            Q_EMIT failed(m_playing);
    });
    m_effect->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    m_effect->play();
    return true;
}

void SoundPlayer::stop() {
    if (!m_effect)
        return;
    m_effect->stop();
    m_effect->deleteLater();
    m_effect = nullptr;
}

}  // namespace srk
