#include "cd/ImageDrive.h"

#include "cd/CdioToc.h"

#include <QDir>
#include <QFileInfo>

namespace srk {

namespace {

driver_id_t imageDriver(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("cue"))
        return DRIVER_BINCUE;
    if (suffix == QLatin1String("toc"))
        return DRIVER_CDRDAO;
    if (suffix == QLatin1String("nrg"))
        return DRIVER_NRG;
    return DRIVER_UNKNOWN;
}

// libcdio's reader of .toc files looks for the data files it names in the current folder, not in the
// folder of the .toc; they are opened while it is read, so the current folder is borrowed only for that.
CdIo_t* openImage(const QString& path, driver_id_t driver) {
    const QByteArray name = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    if (driver != DRIVER_CDRDAO)
        return cdio_open(name.constData(), driver);
    const QString before = QDir::currentPath();
    QDir::setCurrent(QFileInfo(path).absolutePath());
    CdIo_t* cdio = cdio_open(name.constData(), driver);
    QDir::setCurrent(before);
    return cdio;
}

// A .bin whose size is not a whole number of sectors was cut short; libcdio would quietly drop the
// broken end and report a shorter last track.
bool binCutShort(CdIo_t* cdio, const QString& cuePath) {
    const char* source = cdio_get_arg(cdio, "source");
    if (!source)
        return false;
    const QFileInfo bin(QFileInfo(cuePath).absoluteDir(), QFile::decodeName(source));
    return bin.isFile() && bin.size() % CDIO_CD_FRAMESIZE_RAW != 0;
}

}  // namespace

bool isDiscImagePath(const QString& path) { return imageDriver(path) != DRIVER_UNKNOWN; }

ImageDrive::ImageDrive(const QString& path) : m_path(path) {}

ImageDrive::~ImageDrive() { close(); }

DriveState ImageDrive::open() {
    close();
    quietCdioLog();
    const driver_id_t driver = imageDriver(m_path);
    const QFileInfo info(m_path);
    if (driver == DRIVER_UNKNOWN || !info.isFile() || !info.isReadable())
        return m_discState = DriveState::Unavailable;
    m_cdio = openImage(m_path, driver);
    if (!m_cdio)
        return m_discState = DriveState::Unavailable;
    m_discState = readCdioToc(m_cdio, m_tracks, m_leadOut);
    // An image without tracks is a broken image, not an empty drive.
    if (m_discState == DriveState::NoDisc)
        m_discState = DriveState::NotReady;
    if (m_discState == DriveState::AudioDisc &&
        ((driver == DRIVER_BINCUE && binCutShort(m_cdio, m_path)) || !sectorsReadable())) {
        forgetDisc();
        m_discState = DriveState::NotReady;
    }
    return state();
}

void ImageDrive::close() {
    {
        // The playback thread may be reading from it.
        std::lock_guard<std::mutex> guard(m_cdioMutex);
        if (m_cdio)
            cdio_destroy(m_cdio);
        m_cdio = nullptr;
    }
    m_discState = DriveState::Unavailable;
    forgetDisc();
}

void ImageDrive::setDoorOpen(bool doorOpen) {
    const bool closing = m_doorOpen && !doorOpen;
    m_doorOpen = doorOpen;
    if (closing && m_cdio)
        open();
}

DriveState ImageDrive::state() {
    if (!m_cdio)
        return DriveState::Unavailable;
    if (m_doorOpen)
        return DriveState::TrayOpen;
    if (m_notReady)
        return DriveState::NotReady;
    return m_discState;
}

// A cut-off data file still gives a table of contents from the cue sheet; the last sector of every
// audio track must be there too.
bool ImageDrive::sectorsReadable() {
    char sector[CDIO_CD_FRAMESIZE_RAW];
    for (const DiscTrack& t : std::as_const(m_tracks))
        if (t.audio && cdio_read_audio_sector(m_cdio, sector, t.start + t.frames - 1) != DRIVER_OP_SUCCESS)
            return false;
    return true;
}

bool ImageDrive::readAudioSectors(qint32 first, int count, char* out) {
    std::lock_guard<std::mutex> guard(m_cdioMutex);
    return m_cdio && count > 0 && cdio_read_audio_sectors(m_cdio, out, first, unsigned(count)) == DRIVER_OP_SUCCESS;
}

}  // namespace srk
