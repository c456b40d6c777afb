// The CD player through the real windows offscreen, over the real "cdaudio" device on generated disc
// images and a clock only the test moves: what the player shows, what the device then plays (its own
// position replies, the samples its sink took) and what the catalogue and the settings files hold.

#include "core/cd/CdTestSupport.h"

#include "access/ScriptedMessages.h"
#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "settings/IniFile.h"
#include "store/Store.h"
#include "store/Table.h"
#include "ui/ProgramContext.h"
#include "ui/albums/AlbumForm.h"
#include "ui/albums/AlbumWizard.h"
#include "ui/cd/CDSetup.h"
#include "ui/cd/IntegratedCDPlayer.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/PageModel.h"
#include "ui/shell/MainFrame.h"
#include "ui/shell/Program.h"
#include "ui/songs/SongForm.h"
#include "ui/support/ModalWindows.h"
#include "ui/support/ProgramFixture.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

using namespace srk;
using cdtest::Sec;
using srk::testing::onModal;
using Action = IntegratedCDPlayer::Action;

namespace {

// Twelve tracks of 15 seconds: a three-minute disc. Its serial number is the track count, then the
// clock-time values of the disc and of its first three tracks.
const QVector<qint32> TwelveTracks(12, 15 * Sec);
const QString TwelveSerial = QStringLiteral("12") + QStringLiteral("18001") + QStringLiteral("1501") +
                             QStringLiteral("1501") + QStringLiteral("1501");
// Three tracks of 20, 30 and 40 seconds: a 1:30 disc.
const QVector<qint32> ThreeTracks{20 * Sec, 30 * Sec, 40 * Sec};
const QString ThreeSerial = QStringLiteral(" 3") + QStringLiteral("9001") + QStringLiteral("2001") +
                            QStringLiteral("3001") + QStringLiteral("4001");

class IntegratedCDPlayerTest : public srk::testing::ProgramFixture {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(startProgram());
        messages.clear();
        // Polls come from the test; the window's own timer is too slow to get in the way.
        context().preferences.CDTimer = 1000;
    }

    QString image(const QString& name, const QVector<qint32>& tracks, bool tone = false) {
        const QString cue = discimages::writeCueBin(data.path(), name, tracks, tone);
        EXPECT_FALSE(cue.isEmpty());
        return cue;
    }
    void addAlbum(qint64 id, const QString& name, const QString& serial, int songs) {
        TableUse use(*context().access);
        ASSERT_TRUE(use.open(albumTable()));
        ASSERT_TRUE(use.open(songsTable()));
        Record a(albumTable());
        a.setNumber(ALB::AlbumID, id);
        a.setText(ALB::Artist, QStringLiteral("Artist ") + QString::number(id));
        a.setText(ALB::Album, name);
        a.setText(ALB::CDIdentifier, serial);
        ASSERT_EQ(Table(store(), albumTable()).add(a), NoError);
        for (int t = 1; t <= songs; ++t) {
            Record s(songsTable());
            s.setNumber(SON::ID, id * 100 + t);
            s.setNumber(SON::AlbumID, id);
            s.setNumber(SON::TrackNumber, t);
            s.setText(SON::Artist, a.text(ALB::Artist));
            s.setText(SON::Title, name + QStringLiteral(" song ") + QString::number(t));
            s.setNumber(SON::Time, 1501);
            ASSERT_EQ(Table(store(), songsTable()).add(s), NoError);
        }
    }
    IntegratedCDPlayer* openPlayer() {
        program->frame()->runCommand(IntegratedCDPlayer::Procedure);
        // The window is placed once the workspace has shown it.
        QCoreApplication::processEvents();
        QMdiSubWindow* sub = program->frame()->workspace()->activeSubWindow();
        return sub ? qobject_cast<IntegratedCDPlayer*>(sub->widget()) : nullptr;
    }
    QStringList titles(IntegratedCDPlayer* player) {
        QStringList out;
        for (int r = 0; r < player->model()->rowCount(); ++r)
            out << player->model()->index(r, 2).data().toString().trimmed();
        return out;
    }
    void advance(qint64 ms) { ASSERT_TRUE(guard.advance(ms)); }
    void click(IntegratedCDPlayer* player, Action action) {
        QPushButton* b = player->button(action);
        ASSERT_NE(b, nullptr);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    // Track and whole seconds into it where the device plays now.
    static std::pair<int, int> heardAt() {
        const QString at = cdtest::send("status cdaudio position");
        return {at.left(2).toInt(), at.mid(3, 2).toInt() * 60 + at.mid(6, 2).toInt()};
    }
    ImageDrive* imageDrive() { return dynamic_cast<ImageDrive*>(mciInterpreter().drive()); }

    cdtest::DeviceGuard guard;
};

}  // namespace

TEST_F(IntegratedCDPlayerTest, AKnownDiscShowsItsAlbumsSongsCaptionAndTimes) {
    addAlbum(7, QStringLiteral("Known Album"), TwelveSerial, 3);
    addAlbum(8, QStringLiteral("Other Album"), ThreeSerial, 2);
    cdtest::useImage(image(QStringLiteral("twelve"), TwelveTracks));
    IntegratedCDPlayer* player = openPlayer();
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->windowTitle(), QStringLiteral("CD Player"));
    EXPECT_EQ(player->connectionText(), QStringLiteral("(shared mode)"));
    EXPECT_EQ(player->pollInterval(), 10000);
    player->poll();
    EXPECT_EQ(player->activityText(), QStringLiteral("Init"));
    EXPECT_EQ(player->windowTitle(), QStringLiteral("CD Player - Known Album"));
    EXPECT_EQ(player->serialNumber(), TwelveSerial);
    EXPECT_EQ(titles(player), (QStringList{QStringLiteral("Known Album song 1"), QStringLiteral("Known Album song 2"),
                                           QStringLiteral("Known Album song 3")}));
    EXPECT_EQ(player->timeText(3), QStringLiteral("3:00"));
    EXPECT_EQ(player->timeText(1), QStringLiteral("0:15"));
    EXPECT_EQ(player->timeText(0), QStringLiteral("0:00")) << "nothing played yet";
    // Disc positions count the two seconds before the first track, as the device gives them.
    EXPECT_EQ(player->timeText(2), QStringLiteral("0:02"));
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_TRUE(player->button(Action::EditAlbum)->isEnabled());
    EXPECT_FALSE(player->button(Action::FormatList)->isEnabled());

    // Playing into the second track moves the highlight there and shows the times.
    player->highlightTrack(2);
    click(player, Action::Play);
    advance(5000);
    player->poll();
    EXPECT_EQ(player->activityText(), QStringLiteral("Sync"));
    EXPECT_EQ(player->model()->index(player->model()->highlight(), 0).data().toInt(), 2);
    EXPECT_EQ(player->timeText(0), QStringLiteral("0:05"));
    EXPECT_EQ(player->timeText(2), QStringLiteral("0:22"));
    EXPECT_EQ(player->positionBar()->value(), 33);

    // Another known disc put in: the door opened and closed identifies it again.
    ImageDrive* drive = imageDrive();
    ASSERT_NE(drive, nullptr);
    click(player, Action::Stop);
    drive->setDoorOpen(true);
    player->poll();
    EXPECT_EQ(player->modeText(), QStringLiteral("open"));
    drive->insertImage(image(QStringLiteral("three"), ThreeTracks));
    drive->setDoorOpen(false);
    player->poll();
    EXPECT_EQ(player->activityText(), QStringLiteral("Init"));
    EXPECT_EQ(player->windowTitle(), QStringLiteral("CD Player - Other Album"));
    EXPECT_EQ(titles(player), (QStringList{QStringLiteral("Other Album song 1"), QStringLiteral("Other Album song 2")}));

    // Closing gives the device back and keeps the window's place and list layout.
    player->closeWindow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return program->frame()->workspace()->subWindowList().isEmpty(); }, 2000));
    ASSERT_TRUE(program->frame()->workspace()->subWindowList().isEmpty());
    EXPECT_FALSE(mciInterpreter().isOpen());
    const IniFile& positions = context().positions;
    EXPECT_TRUE(positions.contains(QStringLiteral("IntegratedCDPlayer"), QStringLiteral("Width")));
    EXPECT_TRUE(positions.contains(QStringLiteral("IntegratedCDPlayer"), QStringLiteral("SRCF?List")));
}

TEST_F(IntegratedCDPlayerTest, TheEditButtonsChangeTheHighlightedSongAndTheAlbumAndTheListFollows) {
    addAlbum(7, QStringLiteral("Known Album"), TwelveSerial, 3);
    cdtest::useImage(image(QStringLiteral("twelve"), TwelveTracks));
    IntegratedCDPlayer* player = openPlayer();
    ASSERT_NE(player, nullptr);
    player->poll();
    ASSERT_TRUE(player->highlightTrack(2));
    onModal([](QWidget* modal) {
        auto* form = qobject_cast<SongForm*>(modal);
        ASSERT_NE(form, nullptr) << modal->windowTitle().toStdString();
        auto* title = qobject_cast<QLineEdit*>(form->editor(SON::Title));
        ASSERT_NE(title, nullptr);
        title->clear();
        QTest::keyClicks(title, QStringLiteral("Retitled"));
        QTest::mouseClick(form->okButton(), Qt::LeftButton);
    });
    click(player, Action::EditSong);
    EXPECT_EQ(titles(player), (QStringList{QStringLiteral("Known Album song 1"), QStringLiteral("Retitled"),
                                           QStringLiteral("Known Album song 3")}));
    onModal([](QWidget* modal) {
        auto* form = qobject_cast<AlbumForm*>(modal);
        ASSERT_NE(form, nullptr) << modal->windowTitle().toStdString();
        QLineEdit* name = form->lineEdit(ALB::Album);
        ASSERT_NE(name, nullptr);
        name->clear();
        QTest::keyClicks(name, QStringLiteral("Renamed Album"));
        QTest::mouseClick(form->okButton(), Qt::LeftButton);
    });
    click(player, Action::EditAlbum);
    EXPECT_EQ(player->windowTitle(), QStringLiteral("CD Player - Renamed Album"));
    EXPECT_EQ(titles(player).size(), 3);
    player->closeWindow();
}

TEST_F(IntegratedCDPlayerTest, TheTransportButtonsFollowTheirRules) {
    addAlbum(7, QStringLiteral("Known Album"), TwelveSerial, 14);
    cdtest::useImage(image(QStringLiteral("twelve"), TwelveTracks));
    IntegratedCDPlayer* player = openPlayer();
    ASSERT_NE(player, nullptr);
    player->poll();

    // Two seconds into track 5 Previous goes to track 4; ten seconds in it starts track 5 again.
    ASSERT_TRUE(player->highlightTrack(5));
    click(player, Action::Play);
    advance(2000);
    player->poll();
    click(player, Action::Previous);
    advance(100);
    EXPECT_EQ(heardAt(), std::make_pair(4, 0));
    ASSERT_TRUE(player->highlightTrack(5));
    click(player, Action::Play);
    advance(10000);
    player->poll();
    click(player, Action::Previous);
    advance(100);
    EXPECT_EQ(heardAt(), std::make_pair(5, 0));
    // On track 1 it starts track 1 again.
    ASSERT_TRUE(player->highlightTrack(1));
    click(player, Action::Play);
    advance(1000);
    player->poll();
    click(player, Action::Previous);
    advance(100);
    EXPECT_EQ(heardAt(), std::make_pair(1, 0));

    // Song 14 of a twelve-track disc: Play plays the last track.
    ASSERT_TRUE(player->highlightTrack(14));
    EXPECT_EQ(player->deck().currentTrack(), 14);
    click(player, Action::Play);
    advance(100);
    EXPECT_EQ(heardAt().first, 12);

    // Next on the last track stays on it.
    player->poll();
    click(player, Action::Next);
    advance(1000);
    EXPECT_EQ(heardAt(), std::make_pair(12, 1));

    // Pause twice goes on where it stopped.
    click(player, Action::Pause);
    const auto stoppedAt = heardAt();
    advance(3000);
    EXPECT_EQ(heardAt(), stoppedAt);
    click(player, Action::Pause);
    advance(2000);
    EXPECT_EQ(heardAt(), std::make_pair(12, stoppedAt.second + 2));
    player->closeWindow();
}

TEST_F(IntegratedCDPlayerTest, AClickHalfWayAlongTheBarPlaysTheMiddleOfTheTrack) {
    // Tracks of three seconds: a tone of whole cycles per second repeats every second, so the middle
    // (1.5 s in) sounds unlike the track's start.
    const QVector<qint32> tracks{3 * Sec, 3 * Sec, 3 * Sec};
    cdtest::useImage(image(QStringLiteral("tones"), tracks, true));
    QFile binFile(data.file(QStringLiteral("tones.bin")));
    ASSERT_TRUE(binFile.open(QIODevice::ReadOnly));
    const QByteArray bin = binFile.readAll();
    const auto sector = [&bin](int s) { return bin.mid(qint64(s) * discimages::SectorBytes, discimages::SectorBytes); };
    messages.addAnswer(ButtonNo);
    IntegratedCDPlayer* player = openPlayer();
    ASSERT_NE(player, nullptr);
    player->parentWidget()->resize(700, 500);
    QCoreApplication::processEvents();
    player->poll();
    ASSERT_EQ(player->deck().trackCount(), 3);
    // No album: the track is chosen as the drive knows it.
    click(player, Action::Next);
    advance(500);
    player->poll();
    ASSERT_EQ(player->deck().currentTrack(), 2);

    QProgressBar* bar = player->positionBar();
    ASSERT_EQ(bar->width() % 2, 0) << "an even width puts the click at exactly half";
    // Straight to the bar: the workspace of the test's frame may not show all of the window.
    const QPointF halfWay(bar->width() / 2, bar->height() / 2);
    QMouseEvent press(QEvent::MouseButtonPress, halfWay, bar->mapToGlobal(halfWay), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(bar, &press);
    advance(200);
    auto& sink = dynamic_cast<NullAudioSink&>(mciInterpreter().engine()->sink());
    const QByteArray heard = sink.keptSamples();
    ASSERT_GE(heard.size(), discimages::SectorBytes);
    const QByteArray first = heard.left(discimages::SectorBytes);
    const int middle = 3 * Sec + 3 * Sec / 2;
    bool nearMiddle = false;
    for (int s = middle - 1; s <= middle + 1; ++s)
        nearMiddle = nearMiddle || first == sector(s);
    EXPECT_TRUE(nearMiddle) << "the first sound heard is not within a sector of the track's middle";
    EXPECT_NE(first, sector(3 * Sec)) << "it played the track from its start";
    EXPECT_EQ(heardAt(), std::make_pair(2, 1));
    player->closeWindow();
}

TEST_F(IntegratedCDPlayerTest, AnUnknownDiscIsOfferedOnceAndTheWizardRunsWithTheDriveClosed) {
    cdtest::useImage(image(QStringLiteral("three"), ThreeTracks));
    // Yes, the wizard cancelled; after it the disc is still unknown and is offered again: No.
    messages.addAnswer(ButtonYes);
    messages.addAnswer(ButtonNo);
    bool wizardUp = false;
    QString connectionDuringWizard;
    bool openDuringWizard = true;
    IntegratedCDPlayer* player = openPlayer();
    ASSERT_NE(player, nullptr);
    const QPointer<IntegratedCDPlayer> watched(player);
    onModal([&](QWidget* modal) {
        auto* wizard = qobject_cast<AlbumWizard*>(modal);
        ASSERT_NE(wizard, nullptr);
        wizardUp = true;
        connectionDuringWizard = watched ? watched->connectionText() : QString();
        openDuringWizard = mciInterpreter().isOpen();
        // Polls while the wizard is up must neither ask nor talk to the closed drive.
        watched->poll();
        wizard->press(AlbumWizard::Action::Cancel);
    });
    player->poll();
    EXPECT_TRUE(wizardUp);
    EXPECT_EQ(connectionDuringWizard, QStringLiteral("(closed)"));
    EXPECT_FALSE(openDuringWizard);
    ASSERT_FALSE(watched.isNull());
    EXPECT_TRUE(mciInterpreter().isOpen());
    EXPECT_EQ(player->connectionText(), QStringLiteral("(shared mode)"));
    player->poll();
    EXPECT_EQ(player->activityText(), QStringLiteral("Init"));
    EXPECT_EQ(messages.titles(), (QStringList{QStringLiteral("New CD Found"), QStringLiteral("New CD Found")}));
    EXPECT_EQ(messages.last().text, QStringLiteral("Add this CD to the database"));
    EXPECT_EQ(messages.last().defaultButton, int(ButtonYes));
    EXPECT_EQ(player->connectionText(), QStringLiteral("(no detection)"));
    EXPECT_EQ(player->windowTitle(), QStringLiteral("CD Player"));

    // The door opened and closed identifies the disc again, but the question is not asked again.
    imageDrive()->setDoorOpen(true);
    player->poll();
    imageDrive()->setDoorOpen(false);
    player->poll();
    EXPECT_EQ(player->activityText(), QStringLiteral("Init"));
    EXPECT_EQ(messages.count(), 2);
    EXPECT_EQ(player->serialNumber(), ThreeSerial);
    player->closeWindow();
}

TEST_F(IntegratedCDPlayerTest, DoNotCheckNeverIdentifiesTheDisc) {
    addAlbum(7, QStringLiteral("Known Album"), TwelveSerial, 3);
    cdtest::useImage(image(QStringLiteral("twelve"), TwelveTracks));
    context().preferences.CDTimer = 0;
    IntegratedCDPlayer* player = openPlayer();
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->pollInterval(), 0);
    QTest::qWait(200);
    player->poll();
    EXPECT_EQ(player->windowTitle(), QStringLiteral("CD Player"));
    EXPECT_TRUE(titles(player).isEmpty());
    EXPECT_EQ(player->activityText(), QString());
    EXPECT_TRUE(messages.shown().isEmpty());
    // The buttons still play the disc.
    click(player, Action::Play);
    advance(100);
    EXPECT_EQ(cdtest::send("status cdaudio mode"), QStringLiteral("playing"));
    player->closeWindow();
}

TEST_F(IntegratedCDPlayerTest, ADiscWithoutTracksAndADriveThatCannotOpen) {
    cdtest::useImageIn(image(QStringLiteral("twelve"), TwelveTracks), false, true);
    IntegratedCDPlayer* player = openPlayer();
    ASSERT_NE(player, nullptr);
    player->poll();
    EXPECT_EQ(player->windowTitle(), QStringLiteral("CD Player"));
    EXPECT_EQ(player->serialNumber(), QStringLiteral("0"));
    EXPECT_TRUE(messages.shown().isEmpty()) << "a disc of no tracks is not offered";
    player->closeWindow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return program->frame()->workspace()->subWindowList().isEmpty(); }, 2000));
    ASSERT_TRUE(program->frame()->workspace()->subWindowList().isEmpty());

    cdtest::useImage(discimages::writeGarbageCue(data.path(), QStringLiteral("garbage")));
    EXPECT_EQ(openPlayer(), nullptr);
    EXPECT_EQ(messages.titles(), QStringList{QStringLiteral("Error")});
    EXPECT_EQ(messages.last().text,
              QStringLiteral("CD player not available.  Ensure that no other program is using the CD-ROM drive."));
    EXPECT_TRUE(program->frame()->workspace()->subWindowList().isEmpty());
    EXPECT_FALSE(mciInterpreter().isOpen());
}

TEST_F(IntegratedCDPlayerTest, SetWritesThePollingIntervalAndTheDriveOnOkAndCancelReadsThemBack) {
    cdtest::useImage(image(QStringLiteral("three"), ThreeTracks));
    messages.addAnswer(ButtonNo);
    IntegratedCDPlayer* player = openPlayer();
    ASSERT_NE(player, nullptr);
    const QString chosenImage = data.file(QStringLiteral("other.cue"));
    onModal([&](QWidget* modal) {
        auto* setup = qobject_cast<CDSetup*>(modal);
        ASSERT_NE(setup, nullptr);
        EXPECT_EQ(setup->windowTitle(), QStringLiteral("CD Player Preferences"));
        EXPECT_EQ(setup->chosen(), 1000);
        EXPECT_TRUE(setup->choose(500));
        setup->deviceEdit()->setText(chosenImage);
        QTest::mouseClick(setup->okButton(), Qt::LeftButton);
    });
    click(player, Action::Set);
    const QString path = context().preferencesFile.path();
    EXPECT_EQ(IniFile(path).readString(QStringLiteral("Settings"), QStringLiteral("CDTimer")), QStringLiteral("500"));
    EXPECT_EQ(IniFile(path).readString(QStringLiteral("Settings"), QStringLiteral("CDDevice")), chosenImage);
    EXPECT_EQ(context().preferences.CDTimer, 500);
    EXPECT_EQ(player->pollInterval(), 5000);
    // The test's own image is chosen by the option, which goes before the preference.
    setCdDeviceOption(QString());
    EXPECT_EQ(chosenCdDevice(), chosenImage);

    onModal([&](QWidget* modal) {
        auto* setup = qobject_cast<CDSetup*>(modal);
        ASSERT_NE(setup, nullptr);
        EXPECT_EQ(setup->chosen(), 500);
        EXPECT_TRUE(setup->choose(0));
        setup->deviceEdit()->clear();
        QTest::mouseClick(setup->cancelButton(), Qt::LeftButton);
    });
    click(player, Action::Set);
    EXPECT_EQ(IniFile(path).readString(QStringLiteral("Settings"), QStringLiteral("CDTimer")), QStringLiteral("500"));
    EXPECT_EQ(context().preferences.CDTimer, 500);
    EXPECT_EQ(context().preferences.CDDevice, chosenImage);
    EXPECT_EQ(player->pollInterval(), 5000);

    onModal([&](QWidget* modal) {
        auto* setup = qobject_cast<CDSetup*>(modal);
        ASSERT_NE(setup, nullptr);
        EXPECT_TRUE(setup->choose(0));
        QTest::mouseClick(setup->okButton(), Qt::LeftButton);
    });
    click(player, Action::Set);
    EXPECT_EQ(IniFile(path).readString(QStringLiteral("Settings"), QStringLiteral("CDTimer")), QStringLiteral("0"));
    EXPECT_EQ(player->pollInterval(), 0);
    EXPECT_TRUE(context().positions.contains(QStringLiteral("CDSetup"), QStringLiteral("Width")));
    player->closeWindow();
    setCdDevicePreference(QString());
}

namespace {

class IntegratedCDPlayerQuit : public IntegratedCDPlayerTest {
protected:
    void SetUp() override {
        catchSignals = true;
        IntegratedCDPlayerTest::SetUp();
        ended = std::make_unique<QSignalSpy>(program.get(), &Program::ended);
    }
    void expectClosedInOrder() {
        EXPECT_TRUE(QTest::qWaitFor([&] { return ended->count() == 1; }, 5000));
        ASSERT_EQ(ended->count(), 1);
        EXPECT_EQ(ModalWindows::instance().running(), 0);
        EXPECT_TRUE(QTest::qWaitFor([&] { return program->frame()->workspace()->subWindowList().isEmpty(); }, 2000));
    ASSERT_TRUE(program->frame()->workspace()->subWindowList().isEmpty());
        EXPECT_FALSE(mciInterpreter().isOpen());
        EXPECT_EQ(context().access->useCount(songsTable()), 0);
        EXPECT_EQ(context().access->useCount(albumTable()), 0);
        EXPECT_TRUE(IniFile(data.file(QStringLiteral("POSITION.INI")))
                        .contains(QStringLiteral("IntegratedCDPlayer"), QStringLiteral("Width")));
    }
    std::unique_ptr<QSignalSpy> ended;
};

}  // namespace

TEST_F(IntegratedCDPlayerQuit, AQuitWhilePlayingClosesThePlayerAndTheDevice) {
    addAlbum(7, QStringLiteral("Known Album"), TwelveSerial, 3);
    cdtest::useImage(image(QStringLiteral("twelve"), TwelveTracks));
    IntegratedCDPlayer* player = openPlayer();
    ASSERT_NE(player, nullptr);
    player->poll();
    click(player, Action::Play);
    ::raise(SIGTERM);
    ASSERT_NO_FATAL_FAILURE(expectClosedInOrder());
}

TEST_F(IntegratedCDPlayerQuit, AQuitWithThePreferencesUpCancelsThemFirst) {
    cdtest::useImage(image(QStringLiteral("three"), ThreeTracks));
    messages.addAnswer(ButtonNo);
    IntegratedCDPlayer* player = openPlayer();
    ASSERT_NE(player, nullptr);
    bool setupUp = false;
    onModal([&](QWidget* modal) {
        auto* setup = qobject_cast<CDSetup*>(modal);
        ASSERT_NE(setup, nullptr);
        setupUp = true;
        setup->choose(0);
        ::raise(SIGTERM);
    });
    click(player, Action::Set);
    EXPECT_TRUE(setupUp);
    ASSERT_NO_FATAL_FAILURE(expectClosedInOrder());
    // Cancelled, not confirmed: the file keeps no interval.
    EXPECT_FALSE(IniFile(context().preferencesFile.path()).contains(QStringLiteral("Settings"), QStringLiteral("CDTimer")));
    EXPECT_EQ(context().preferences.CDTimer, 150);
}

TEST_F(IntegratedCDPlayerQuit, AQuitWhileTheWizardForANewDiscIsUpEndsWithTheDeviceClosed) {
    cdtest::useImage(image(QStringLiteral("three"), ThreeTracks));
    messages.addAnswer(ButtonYes);
    IntegratedCDPlayer* player = openPlayer();
    ASSERT_NE(player, nullptr);
    bool wizardUp = false;
    onModal([&](QWidget* modal) {
        ASSERT_NE(qobject_cast<AlbumWizard*>(modal), nullptr);
        wizardUp = true;
        ::raise(SIGTERM);
    });
    player->poll();
    EXPECT_TRUE(wizardUp);
    ASSERT_NO_FATAL_FAILURE(expectClosedInOrder());
    EXPECT_EQ(messages.titles(), QStringList{QStringLiteral("New CD Found")}) << "nothing more is asked on the way out";
}
