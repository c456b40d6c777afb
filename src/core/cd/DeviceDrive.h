#pragma once

#include "cd/CdDrive.h"

#include <cdio/cdio.h>

namespace srk {

// A real drive through libcdio; a blank path is the system's default drive.
class DeviceDrive : public CdDrive {
public:
    explicit DeviceDrive(const QString& device = QString());
    ~DeviceDrive() override;

    DriveState open() override;
    void close() override;
    DriveState state() override;
    bool readAudioSectors(qint32 first, int count, char* out) override;
    QString source() const override { return m_device; }

private:
    QString m_device;
    CdIo_t* m_cdio = nullptr;
    bool m_tocRead = false;
    DriveState m_discState = DriveState::NoDisc;
};

}  // namespace srk
