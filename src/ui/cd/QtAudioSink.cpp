#include "ui/cd/QtAudioSink.h"

#include "cd/AudioSinkFactory.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QCoreApplication>
#include <QMediaDevices>
#include <QThread>

#include <algorithm>
#include <cstring>

namespace srk {

namespace {
constexpr qint64 BytesPerFrame = AudioSink::Channels * 2;

QAudioFormat discFormat() {
    QAudioFormat format;
    format.setSampleRate(AudioSink::SampleRate);
    format.setChannelCount(AudioSink::Channels);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}
}  // namespace

// What the audio output reads from: the ring, through the sink.
class QtAudioSink::Source : public QIODevice {
public:
    explicit Source(QtAudioSink& sink) : m_sink(sink) {}
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return 4096 + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override { return m_sink.pull(data, maxSize); }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QtAudioSink& m_sink;
};

QtAudioSink::QtAudioSink(qint64 capacityFrames)
    : m_capacity(capacityFrames), m_ring(size_t(capacityFrames * Channels)) {
    m_anchor = std::chrono::steady_clock::now();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull() || !device.isFormatSupported(discFormat())) {
        m_failed = true;
        return;
    }
    m_source = new Source(*this);
    m_source->open(QIODevice::ReadOnly);
    auto* output = new QAudioSink(device, discFormat());
    m_output = output;
    output->setBufferSize(int(SampleRate / 10 * BytesPerFrame));
    QObject::connect(output, &QAudioSink::stateChanged, output, [this](QAudio::State) {
        if (m_output && m_output->error() != QAudio::NoError && m_output->error() != QAudio::UnderrunError)
            failNow();
    });
    m_output->start(m_source);
    if (m_output->error() != QAudio::NoError)
        failNow();
}

QtAudioSink::~QtAudioSink() {
    wake();
    if (m_output) {
        m_output->stop();
        delete m_output.data();
    }
    delete m_source;
}

bool QtAudioSink::outputAvailable() {
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    return !device.isNull() && device.isFormatSupported(discFormat());
}

bool QtAudioSink::install() {
    if (audioSinkFactorySet() || !outputAvailable())
        return false;
    setAudioSinkFactory([]() -> std::unique_ptr<AudioSink> {
        // The output lives on the GUI thread; a drive opened elsewhere plays into the null sink.
        if (!QCoreApplication::instance() || QThread::currentThread() != QCoreApplication::instance()->thread())
            return nullptr;
        return std::make_unique<QtAudioSink>();
    });
    return true;
}

bool QtAudioSink::failed() const {
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_failed;
}

void QtAudioSink::failNow() {
    std::lock_guard<std::mutex> guard(m_mutex);
    failLocked();
}

void QtAudioSink::failLocked() {
    if (m_failed)
        return;
    m_failedPlayed = m_readAt;
    m_anchor = std::chrono::steady_clock::now();
    m_failed = true;
    m_cv.notify_all();
}

qint64 QtAudioSink::playedLocked() const {
    if (!m_failed)
        return m_readAt;
    if (!m_running)
        return m_failedPlayed;
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - m_anchor).count();
    return std::min(m_written, m_failedPlayed + qint64(elapsed) * SampleRate / 1000000);
}

qint64 QtAudioSink::pull(char* data, qint64 bytes) {
    std::lock_guard<std::mutex> guard(m_mutex);
    const qint64 wanted = bytes / BytesPerFrame;
    qint64 frames = 0;
    if (m_running && !m_failed) {
        frames = std::min(wanted, m_written - m_readAt);
        auto* out = reinterpret_cast<qint16*>(data);
        for (qint64 done = 0; done < frames;) {
            const qint64 at = (m_readAt + done) % m_capacity;
            const qint64 run = std::min(frames - done, m_capacity - at);
            std::memcpy(out + done * Channels, m_ring.data() + at * Channels, size_t(run * BytesPerFrame));
            done += run;
        }
        m_readAt += frames;
        if (frames > 0)
            m_cv.notify_all();
    }
    // The output is never starved into stopping: what is missing is silence.
    std::memset(data + frames * BytesPerFrame, 0, size_t((wanted - frames) * BytesPerFrame));
    return wanted * BytesPerFrame;
}

qint64 QtAudioSink::write(const qint16* samples, qint64 frames) {
    std::lock_guard<std::mutex> guard(m_mutex);
    const qint64 room = m_capacity - (m_written - playedLocked());
    const qint64 take = std::clamp<qint64>(frames, 0, std::max<qint64>(room, 0));
    for (qint64 done = 0; done < take;) {
        const qint64 at = (m_written + done) % m_capacity;
        const qint64 run = std::min(take - done, m_capacity - at);
        std::memcpy(m_ring.data() + at * Channels, samples + done * Channels, size_t(run * BytesPerFrame));
        done += run;
    }
    m_written += take;
    return take;
}

void QtAudioSink::waitForRoom(qint64 frames) {
    std::unique_lock<std::mutex> lock(m_mutex);
    frames = std::min(frames, m_capacity);
    while (!m_woken && m_capacity - (m_written - playedLocked()) < frames) {
        // Without an output nothing pulls, so the wall clock is looked at now and then.
        if (m_failed)
            m_cv.wait_for(lock, std::chrono::milliseconds(10));
        else
            m_cv.wait_for(lock, std::chrono::milliseconds(100));
    }
    m_woken = false;
}

void QtAudioSink::wake() {
    std::lock_guard<std::mutex> guard(m_mutex);
    m_woken = true;
    m_cv.notify_all();
}

qint64 QtAudioSink::framesPlayed() const {
    std::lock_guard<std::mutex> guard(m_mutex);
    return playedLocked();
}

qint64 QtAudioSink::framesWritten() const {
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_written;
}

void QtAudioSink::suspend() {
    std::lock_guard<std::mutex> guard(m_mutex);
    if (!m_running)
        return;
    if (m_failed) {
        m_failedPlayed = playedLocked();
        m_anchor = std::chrono::steady_clock::now();
    }
    m_running = false;
}

void QtAudioSink::resume() {
    std::lock_guard<std::mutex> guard(m_mutex);
    if (m_running)
        return;
    m_anchor = std::chrono::steady_clock::now();
    m_running = true;
    m_cv.notify_all();
}

void QtAudioSink::reset() {
    std::lock_guard<std::mutex> guard(m_mutex);
    m_readAt = m_written = m_failedPlayed = 0;
    m_anchor = std::chrono::steady_clock::now();
    m_cv.notify_all();
}

}  // namespace srk
