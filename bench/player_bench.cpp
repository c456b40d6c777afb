// The CD player's figures, through the same device and the same player logic the window uses, on a
// silent one-hour disc image (60 tracks of a minute):
//  1. one poll (every status command of one timer event), many times over, while playing;
//  2. start of sound: from "&Play" until the sink has taken its first frames (wall-clock null sink);
//  3. CPU while playing with the default poll every 1.5 s, over ten seconds of wall clock;
//  4. the whole hour on a virtual clock with a poll every 1.5 s of it: resident memory after the first
//     minute and at the end.
//
//   player_bench [--folder DIR]   (the image is written there, by default in a temporary folder)

#include "../tests/support/DiscImages.h"
#include "BenchFigure.h"
#include "BenchSupport.h"
#include "cd/AudioSinkFactory.h"
#include "cd/CdDeviceChoice.h"
#include "cd/NullAudioSink.h"
#include "cd/PlayerDeck.h"
#include "cd/SendMciCommand.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <thread>

using namespace srk;

namespace {

QString send(const char* command) { return SendMciCommand(QString::fromLatin1(command), 0); }

PlayerDeck makeDeck() {
    return PlayerDeck([](const QString& command, int ask) { return SendMciCommand(command, ask); });
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir temporary;
    const QString folder = bench::optionValue(app.arguments(), "--folder", temporary.path());
    const QString image = discimages::writeCueBin(folder, QStringLiteral("hour"), QVector<qint32>(60, 60 * 75));
    if (image.isEmpty()) {
        std::fprintf(stderr, "could not write the disc image in %s\n", qPrintable(folder));
        return 1;
    }
    setCdDeviceOption(image);

    // 1 and 2: the wall clock, as in the program without a sound device.
    NullAudioSink* sink = nullptr;
    setAudioSinkFactory([&sink]() -> std::unique_ptr<AudioSink> {
        auto made = std::make_unique<NullAudioSink>();
        sink = made.get();
        return made;
    });
    if (send("open cdaudio shareable") != QLatin1String("1")) {
        std::fprintf(stderr, "could not open the disc image %s\n", qPrintable(image));
        return 1;
    }
    {
        PlayerDeck deck = makeDeck();
        deck.poll();
        bench::Figure start;
        for (int i = 0; i < 50; ++i) {
            deck.setCurrentTrack(1 + i % 60);
            QElapsedTimer t;
            t.start();
            deck.play();
            while (sink->framesWritten() == 0 && t.elapsed() < 2000)
                std::this_thread::sleep_for(std::chrono::microseconds(50));
            start.add(double(t.nsecsElapsed()) / 1e6);
            deck.stop();
        }
        deck.setCurrentTrack(1);
        deck.play();
        bench::Figure poll;
        for (int i = 0; i < 500; ++i)
            poll.add(bench::timed([&deck] { deck.poll(); }));
        poll.print("one poll while playing");
        start.print("Play until the sink takes frames");

        const double before = bench::cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
        for (int i = 0; i < 10; ++i) {
            // The default timer: 150 hundredths of a second.
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
            deck.poll();
        }
        const double used = bench::cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - before;
        std::printf("playing with polls: CPU %.3f %% of one core (%.1f ms over 15 s)\n", used * 100 / 15, used * 1000);
    }
    send("close cdaudio");

    // 4: an hour on a virtual clock.
    auto clock = std::make_shared<VirtualClock>();
    setAudioSinkFactory([&sink, clock]() -> std::unique_ptr<AudioSink> {
        auto made = std::make_unique<NullAudioSink>(clock);
        sink = made.get();
        return made;
    });
    send("open cdaudio shareable");
    PlayerDeck deck = makeDeck();
    deck.poll();
    deck.play();
    long afterMinute = 0;
    qint64 tenths = 0;
    while (send("status cdaudio mode") == QLatin1String("playing")) {
        while (sink->framesWritten() - sink->framesPlayed() < 4410 && sink->framesWritten() < 60LL * 60 * 44100)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        clock->advanceMicroseconds(100000);
        if (++tenths % 15 == 0)
            deck.poll();
        if (tenths == 600)
            afterMinute = bench::residentKb();
    }
    std::printf("virtual hour: %lld polls, track %d at the end; resident memory after 1 minute %ld kB, after the hour %ld kB\n",
                tenths / 15, deck.currentTrack(), afterMinute, bench::residentKb());
    send("close cdaudio");
    setAudioSinkFactory(nullptr);
    return 0;
}
