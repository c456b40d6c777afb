#include "cd/CdDrive.h"

namespace srk {

CdDrive::~CdDrive() = default;

QString driveStateText(DriveState state) {
    switch (state) {
    case DriveState::Unavailable:
        return QStringLiteral("no compact disc drive or disc image can be used there");
    case DriveState::TrayOpen:
        return QStringLiteral("the drive door is open");
    case DriveState::NoDisc:
        return QStringLiteral("there is no disc in the drive");
    case DriveState::NotReady:
        return QStringLiteral("the disc cannot be read");
    case DriveState::DataDisc:
        return QStringLiteral("the disc holds no audio tracks");
    case DriveState::AudioDisc:
        return QStringLiteral("an audio disc is ready");
    }
    return QString();
}

int CdDrive::trackIndexAt(qint32 sector) const {
    for (int i = int(m_tracks.size()) - 1; i >= 0; --i)
        if (sector >= m_tracks[i].start)
            return i;
    return m_tracks.isEmpty() ? -1 : 0;
}

void CdDrive::forgetDisc() {
    m_tracks.clear();
    m_leadOut = 0;
}

}  // namespace srk
