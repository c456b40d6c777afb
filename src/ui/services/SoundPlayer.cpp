#include "ui/services/SoundPlayer.h"

#include <QAudioOutput>
#include <QFile>
#include <QFileInfo>
#include <QMediaPlayer>
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
    // The engines report a missing file late or not at all; a file that opens is handed on.
    if (!info.isFile() || !probe.open(QIODevice::ReadOnly))
        return false;
    probe.close();
    m_playing = fileName;
    const QUrl source = QUrl::fromLocalFile(info.absoluteFilePath());
    if (info.suffix().compare(QStringLiteral("wav"), Qt::CaseInsensitive) == 0) {
        // Short sounds: the wave player decodes them itself, without a media framework.
        m_effect = new QSoundEffect(this);
        connect(m_effect, &QSoundEffect::statusChanged, this, [this, effect = m_effect] {
            if (effect == m_effect && effect->status() == QSoundEffect::Error)
                Q_EMIT failed(m_playing);
        });
        m_effect->setSource(source);
        m_effect->play();
        return true;
    }
    m_player = new QMediaPlayer(this);
    m_output = new QAudioOutput(this);
    m_player->setAudioOutput(m_output);
    connect(m_player, &QMediaPlayer::errorOccurred, this, [this, player = m_player](QMediaPlayer::Error error) {
        if (player == m_player && error != QMediaPlayer::NoError)
            Q_EMIT failed(m_playing);
    });
    m_player->setSource(source);
    m_player->play();
    return true;
}

void SoundPlayer::stop() {
    if (m_effect) {
        m_effect->stop();
        m_effect->deleteLater();
        m_effect = nullptr;
    }
    if (m_player) {
        m_player->stop();
        m_player->deleteLater();
        m_output->deleteLater();
        m_player = nullptr;
        m_output = nullptr;
    }
}

}  // namespace srk
