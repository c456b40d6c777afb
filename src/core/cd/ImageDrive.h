#pragma once

#include "cd/CdDrive.h"

#include <cdio/cdio.h>

namespace srk {

// A disc image read through libcdio's image drivers: a cue sheet with its .bin, a cdrdao .toc or a
// Nero .nrg, chosen by the file's extension.
class ImageDrive : public CdDrive {
public:
    explicit ImageDrive(const QString& path);
    ~ImageDrive() override;

    DriveState open() override;
    void close() override;
    DriveState state() override;
    bool readAudioSectors(qint32 first, int count, char* out) override;
    QString source() const override { return m_path; }

    // An image has no door and is always ready; these put it into those states so that the paths of a
    // real drive can be walked with a real image underneath.
    // Closing the door reads the disc again, so an image put in meanwhile (insertImage) is the new disc.
    void setDoorOpen(bool open);
    void insertImage(const QString& path) { m_path = path; }
    void setNotReady(bool notReady) { m_notReady = notReady; }

private:
    bool sectorsReadable();

    QString m_path;
    CdIo_t* m_cdio = nullptr;
    DriveState m_discState = DriveState::Unavailable;
    bool m_doorOpen = false;
    bool m_notReady = false;
};

// True for a path naming an image the drive above can read (.cue, .toc, .nrg in any case).
bool isDiscImagePath(const QString& path);

}  // namespace srk
