#include "cd/DeviceDrive.h"

#include "cd/CdioToc.h"

#include <QFileInfo>

#include <cdio/mmc.h>
#ifdef SRK_HAVE_PARANOIA
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>
#endif

#include <cstring>

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
        dropCorrection();
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
        dropCorrection();
        m_tocRead = false;
        forgetDisc();
        return DriveState::TrayOpen;
    }
    if (!m_tocRead || cdio_get_media_changed(m_cdio) == 1) {
        dropCorrection();
        m_discState = readCdioToc(m_cdio, m_tracks, m_leadOut);
        m_tocRead = m_discState == DriveState::AudioDisc || m_discState == DriveState::DataDisc;
    }
    return m_discState;
}

bool DeviceDrive::correctsReads() {
#ifdef SRK_HAVE_PARANOIA
    return true;
#else
    return false;
#endif
}

bool DeviceDrive::readAudioSectors(qint32 first, int count, char* out) {
    std::lock_guard<std::mutex> guard(m_cdioMutex);
    if (!m_cdio || count <= 0)
        return false;
    if (readCorrected(first, count, out))
        return true;
    return cdio_read_audio_sectors(m_cdio, out, first, unsigned(count)) == DRIVER_OP_SUCCESS;
}

#ifdef SRK_HAVE_PARANOIA

bool DeviceDrive::readCorrected(qint32 first, int count, char* out) {
    if (!m_paranoia) {
        if (!m_tocRead)
            return false;
        m_cdda = cdio_cddap_identify_cdio(m_cdio, CDDA_MESSAGE_FORGETIT, nullptr);
        if (!m_cdda)
            return false;
        if (cdio_cddap_open(m_cdda) != 0) {
            dropCorrection();
            return false;
        }
        m_paranoia = cdio_paranoia_init(m_cdda);
        if (!m_paranoia) {
            dropCorrection();
            return false;
        }
        // Full correction, but a sector that cannot be mended is given up rather than retried forever:
        // playback must go on.
        paranoia_modeset(m_paranoia, PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
    }
    cdio_paranoia_seek(m_paranoia, first, SEEK_SET);
    for (int i = 0; i < count; ++i) {
        const int16_t* sector = cdio_paranoia_read_limited(m_paranoia, nullptr, 3);
        if (!sector)
            return false;
        std::memcpy(out + qint64(i) * CDIO_CD_FRAMESIZE_RAW, sector, CDIO_CD_FRAMESIZE_RAW);
    }
    return true;
}

void DeviceDrive::dropCorrection() {
    if (m_paranoia)
        cdio_paranoia_free(m_paranoia);
    m_paranoia = nullptr;
    if (m_cdda) {
        // The drive's own handle stays open; it goes with the drive.
        cdio_cddap_close_no_free_cdio(m_cdda);
    }
    m_cdda = nullptr;
}

#else

bool DeviceDrive::readCorrected(qint32, int, char*) { return false; }
void DeviceDrive::dropCorrection() {}

#endif

}  // namespace srk
