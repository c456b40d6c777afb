// Playback figures: the engine plays a silent 60-track disc image (one hour) into the null sink.
//  1. Five seconds on the wall clock: CPU used per second of audio, as it runs in the program.
//  2. The whole hour on a virtual clock moved on in tenths of a second: CPU per second of audio spent by
//     the engine (the thread moving the clock is subtracted), and the resident memory after the first
//     minute and at the end, which must not grow.
//
//   playback_bench [--folder DIR]   (the image is written there, by default in a temporary folder)

#include "../tests/support/DiscImages.h"
#include "BenchSupport.h"
#include "cd/ImageDrive.h"
#include "cd/NullAudioSink.h"
#include "cd/PlaybackEngine.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <thread>

using namespace srk;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir temporary;
    const QString folder = bench::optionValue(app.arguments(), "--folder", temporary.path());
    const QVector<qint32> tracks(60, 60 * 75);
    const QString image = discimages::writeCueBin(folder, QStringLiteral("hour"), tracks);
    ImageDrive drive(image);
    if (image.isEmpty() || drive.open() != DriveState::AudioDisc) {
        std::fprintf(stderr, "could not write or open the disc image in %s\n", qPrintable(folder));
        return 1;
    }

    {
        PlaybackEngine engine(drive, std::make_unique<NullAudioSink>());
        const double before = bench::cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
        engine.play(0, drive.leadOut());
        std::this_thread::sleep_for(std::chrono::seconds(5));
        const double used = bench::cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - before;
        const double audio = double(engine.position()) / 75.0;
        std::printf("wall clock: %.2f s of audio, CPU %.3f ms per second of audio (%.3f %% of one core)\n", audio,
                    used * 1000 / audio, used * 100 / audio);
    }

    auto clock = std::make_shared<VirtualClock>();
    auto made = std::make_unique<NullAudioSink>(clock);
    NullAudioSink* sink = made.get();
    PlaybackEngine engine(drive, std::move(made));
    engine.play(0, drive.leadOut());
    long afterMinute = 0;
    const double processBefore = bench::cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    const double pumpBefore = bench::cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    qint64 tenths = 0;
    while (engine.mode() == PlayState::Playing) {
        while (sink->framesWritten() - sink->framesPlayed() < 4410 && !engine.fedToEnd())
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        clock->advanceMicroseconds(100000);
        if (++tenths == 600)
            afterMinute = bench::residentKb();
    }
    const double pump = bench::cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - pumpBefore;
    const double used = bench::cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - processBefore - pump;
    const double audio = double(drive.leadOut()) / 75.0;
    std::printf("virtual clock: %.0f s of audio, engine CPU %.3f ms per second of audio\n", audio, used * 1000 / audio);
    std::printf("resident memory after 1 minute %ld kB, after the hour %ld kB\n", afterMinute, bench::residentKb());
    return 0;
}
