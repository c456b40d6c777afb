#include "cd/DeviceDrive.h"

#include "cd/CdioToc.h"

#include <QFileInfo>

#include <cdio/mmc.h>

#ifdef __linux__
#include <sys/stat.h>
#endif

namespace srk {

DeviceDrive::DeviceDrive(const QString& device) : m_device(device) {}

DeviceDrive::~DeviceDrive() { close(); }

DriveState DeviceDrive::open() {
    close();
    quietCdioLog();
    QString path = m_device;
    if (path.isEmpty()) {
        char* found = cdio_get_default_device(nullptr);
        if (!found)
            return DriveState::Unavailable;
        path = QString::fromLocal8Bit(found);
        cdio_free(found);
    }
    // libcdio would take a folder or a plain file for an image; a device is neither.
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return DriveState::Unavailable;
    const QByteArray name = QFile::encodeName(path);
#ifdef __linux__
    // Drives are block devices here; anything else that opens (a terminal, /dev/null) is no drive.
    struct stat status;
    if (::stat(name.constData(), &status) != 0 || !S_ISBLK(status.st_mode))
        return DriveState::Unavailable;
#endif
    m_cdio = cdio_open(name.constData(), DRIVER_DEVICE);
    if (!m_cdio)
        return DriveState::Unavailable;
    return state();
}

void DeviceDrive::close() {
    {
        // The playback thread may be reading from it.
        std::lock_guard<std::mutex> guard(m_cdioMutex);
        if (m_cdio)
            cdio_destroy(m_cdio);
        m_cdio = nullptr;
    }
    m_tocRead = false;
    forgetDisc();
}

DriveState DeviceDrive::state() {
    std::lock_guard<std::mutex> guard(m_cdioMutex);
    if (!m_cdio)
        return DriveState::Unavailable;
    // 1 = open; drives that cannot tell answer -1 and are taken as closed.
    if (mmc_get_tray_status(m_cdio) == 1) {
        m_tocRead = false;
        forgetDisc();
        return DriveState::TrayOpen;
    }
    if (!m_tocRead || cdio_get_media_changed(m_cdio) == 1) {
        m_discState = readCdioToc(m_cdio, m_tracks, m_leadOut);
        m_tocRead = m_discState == DriveState::AudioDisc || m_discState == DriveState::DataDisc;
    }
    return m_discState;
}

bool DeviceDrive::readAudioSectors(qint32 first, int count, char* out) {
    std::lock_guard<std::mutex> guard(m_cdioMutex);
    return m_cdio && count > 0 && cdio_read_audio_sectors(m_cdio, out, first, unsigned(count)) == DRIVER_OP_SUCCESS;
}

}  // namespace srk
