// The playback engine over generated tone images, on a clock only the test moves: what the sink took is
// compared byte for byte with the image, and every position with the time the clock was moved on.

#include "core/cd/CdTestSupport.h"
#include "support/TempFolder.h"

#include "cd/NullAudioSink.h"
#include "cd/PlaybackEngine.h"

#include <chrono>
#include <thread>

using namespace srk;

namespace {

constexpr qint64 FramesPerSector = PlaybackEngine::FramesPerSector;

// The worker fills the sink as fast as the test thread lets it; this waits (bounded) until it has done so.
bool waitUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

class Playback : public ::testing::Test {
protected:
    void SetUp() override {
        // Track 1 is not a whole number of chunks long, so its end falls inside a read.
        image = discimages::writeCueBin(folder.path(), QStringLiteral("tones"), {2 * Sec + 7, 2 * Sec, Sec}, true);
        ASSERT_FALSE(image.isEmpty());
        QFile bin(folder.path() + QStringLiteral("/tones.bin"));
        ASSERT_TRUE(bin.open(QIODevice::ReadOnly));
        disc = bin.readAll();
        drive = std::make_unique<ImageDrive>(image);
        ASSERT_EQ(drive->open(), DriveState::AudioDisc);
        auto made = std::make_unique<NullAudioSink>(clock, Capacity);
        made->setKeepSamples(true);
        sink = made.get();
        engine = std::make_unique<PlaybackEngine>(*drive, std::move(made));
    }

    // Fed as far as it goes: the sink has no room for another read, or all the range is in it.
    bool fed() {
        return waitUntil([this] {
            const qint64 queued = sink->framesWritten() - sink->framesPlayed();
            return Capacity - queued < PlaybackEngine::ChunkSectors * FramesPerSector || engine->fedToEnd();
        });
    }
    void play(qint32 from, qint32 end) { engine->play(from, end); }
    // Moves the clock on in small steps, keeping the sink fed, as a real device would be.
    void advance(qint64 ms) {
        for (qint64 done = 0; done < ms; done += 20) {
            ASSERT_TRUE(fed());
            clock->advanceMicroseconds(qMin<qint64>(20, ms - done) * 1000);
        }
        ASSERT_TRUE(fed());
    }
    QByteArray sectors(qint32 from, qint32 to) const {
        return disc.mid(qint64(from) * discimages::SectorBytes, qint64(to - from) * discimages::SectorBytes);
    }

    static constexpr qint32 Sec = 75;
    static constexpr qint64 Capacity = 44100 / 4;
    TempFolder folder;
    QString image;
    QByteArray disc;
    std::shared_ptr<VirtualClock> clock = std::make_shared<VirtualClock>();
    std::unique_ptr<ImageDrive> drive;
    NullAudioSink* sink = nullptr;
    std::unique_ptr<PlaybackEngine> engine;
};

TEST_F(Playback, ThroughTrackBoundariesEverySampleOnceAndStopsAtTheEnd) {
    ASSERT_EQ(drive->trackCount(), 3);
    play(0, drive->leadOut());
    EXPECT_EQ(engine->mode(), PlayState::Playing);
    advance(2000);
    // Two seconds in: 150 sectors heard, still track 1 (which is 157 long).
    EXPECT_EQ(engine->position(), 150);
    EXPECT_EQ(drive->tracks()[drive->trackIndexAt(engine->position())].number, 1);
    advance(1000);
    EXPECT_EQ(engine->position(), 225);
    EXPECT_EQ(drive->tracks()[drive->trackIndexAt(engine->position())].number, 2);
    advance(3000);
    EXPECT_EQ(engine->mode(), PlayState::Stopped);
    EXPECT_EQ(engine->position(), drive->leadOut());
    const QByteArray heard = sink->keptSamples();
    ASSERT_EQ(heard.size(), disc.size());
    EXPECT_TRUE(heard == disc) << "the samples heard differ from the image";
    EXPECT_FALSE(engine->readFailed());
}

TEST_F(Playback, APartOfTheDiscEndsAtItsEndSector) {
    play(Sec + 3, 3 * Sec + 20);
    advance(5000);
    EXPECT_EQ(engine->mode(), PlayState::Stopped);
    EXPECT_EQ(engine->position(), 3 * Sec + 20);
    EXPECT_TRUE(sink->keptSamples() == sectors(Sec + 3, 3 * Sec + 20));
    // Time going on after the end changes nothing.
    advance(1000);
    EXPECT_EQ(engine->position(), 3 * Sec + 20);
}

TEST_F(Playback, SeekPlaysFromTheSectorAskedFor) {
    play(0, drive->leadOut());
    advance(500);
    engine->seek(3 * Sec + 11);
    EXPECT_EQ(engine->position(), 3 * Sec + 11);
    advance(1000);
    EXPECT_LE(std::abs(engine->position() - (4 * Sec + 11)), 1);
    const QByteArray heard = sink->keptSamples();
    ASSERT_GE(heard.size(), Sec * discimages::SectorBytes);
    // The first sample after the seek is the first of that sector, and the second track's tone goes on
    // into the third's.
    EXPECT_TRUE(heard.left(Sec * discimages::SectorBytes) == sectors(3 * Sec + 11, 4 * Sec + 11));
    EXPECT_EQ(engine->end(), drive->leadOut());
}

TEST_F(Playback, PausingTwiceResumesWhereItStopped) {
    play(0, drive->leadOut());
    advance(1000);
    engine->pause();
    EXPECT_EQ(engine->mode(), PlayState::Paused);
    EXPECT_EQ(engine->position(), Sec);
    advance(3000);
    EXPECT_EQ(engine->position(), Sec);
    engine->resume();
    EXPECT_EQ(engine->mode(), PlayState::Playing);
    advance(1000);
    EXPECT_EQ(engine->position(), 2 * Sec);
    engine->pause();
    advance(2000);
    engine->resume();
    advance(1000);
    EXPECT_EQ(engine->position(), 3 * Sec);
    // Nothing was skipped or said twice around the pauses.
    const QByteArray heard = sink->keptSamples();
    EXPECT_TRUE(heard == disc.left(heard.size()));
    EXPECT_GE(heard.size(), 3 * Sec * discimages::SectorBytes);
}

TEST_F(Playback, StopKeepsThePositionAndEndsTheSound) {
    play(0, drive->leadOut());
    advance(1000);
    engine->stop();
    EXPECT_EQ(engine->mode(), PlayState::Stopped);
    EXPECT_EQ(engine->position(), Sec);
    advance(1000);
    EXPECT_EQ(engine->position(), Sec);
    EXPECT_EQ(sink->framesWritten(), 0);
    engine->resume();  // a stopped engine does not resume
    EXPECT_EQ(engine->mode(), PlayState::Stopped);
}

TEST_F(Playback, DestroyedWhilePlayingOrPausedEndsCleanly) {
    play(0, drive->leadOut());
    advance(300);
    // The worker is waiting for room in the sink now.
    engine.reset();
    SetUp();
    play(Sec, drive->leadOut());
    advance(300);
    engine->pause();
    engine.reset();
    SetUp();
    // Destroyed before it had a chance to read anything.
    play(0, drive->leadOut());
    engine.reset();
    SUCCEED();
}

TEST_F(Playback, AnUnreadableStretchEndsThePlayWhereTheSoundEnds) {
    const qint32 end = drive->leadOut();
    play(2 * Sec, end);
    advance(200);
    // The image goes away under the engine, as a disc taken out would.
    drive->close();
    advance(3000);
    EXPECT_EQ(engine->mode(), PlayState::Stopped);
    EXPECT_TRUE(engine->readFailed());
    const QByteArray heard = sink->keptSamples();
    EXPECT_LT(heard.size(), sectors(2 * Sec, end).size());
    EXPECT_TRUE(heard == sectors(2 * Sec, 2 * Sec + qint32(heard.size() / discimages::SectorBytes)));
}

}  // namespace
