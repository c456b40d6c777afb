#pragma once

#include <QObject>
#include <QString>

class QAudioOutput;
class QMediaPlayer;
class QSoundEffect;

namespace srk {

// Plays a sound file in the background. A file that cannot be opened is refused at once; one that
// turns out not to play reports failed() later.
class SoundPlayer : public QObject {
    Q_OBJECT
public:
    explicit SoundPlayer(QObject* parent = nullptr);
    ~SoundPlayer() override;

    // False when the file is missing or unreadable: nothing plays then.
    bool play(const QString& fileName);
    void stop();

Q_SIGNALS:
    void failed(const QString& fileName);

private:
    QSoundEffect* m_effect = nullptr;
    QMediaPlayer* m_player = nullptr;
    QAudioOutput* m_output = nullptr;
    QString m_playing;
};

}  // namespace srk
