#pragma once

#include "cd/CdDrive.h"

#include <cdio/cdio.h>

struct cdrom_drive_s;
struct cdrom_paranoia_s;

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

    // True when audio reads go through error correction (built with it).
    static bool correctsReads();

private:
    bool readCorrected(qint32 first, int count, char* out);
    void dropCorrection();

    QString m_device;
    // Error correction for audio reads, made on the first read after the table of contents was read.
    cdrom_drive_s* m_cdda = nullptr;
    cdrom_paranoia_s* m_paranoia = nullptr;
    CdIo_t* m_cdio = nullptr;
    bool m_tocRead = false;
    DriveState m_discState = DriveState::NoDisc;
};

}  // namespace srk
