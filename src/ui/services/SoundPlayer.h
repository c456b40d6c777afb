#pragma once

#include <QObject>
#include <QString>

class QSoundEffect;

namespace srk {

// Plays a wave sound file in the background. A file that cannot be opened is refused at once; one
// that turns out to be no wave sound reports failed() once the decoder finds out.
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
    QString m_playing;
};

}  // namespace srk
