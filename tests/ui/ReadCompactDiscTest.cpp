// Reading a disc from the album form and the add-album wizard, through the real windows offscreen, the
// real drive layer on generated disc images and a real data folder read back afterwards.

#include "core/cd/CdTestSupport.h"

#include "access/ScriptedMessages.h"
#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "cd/CdDeviceChoice.h"
#include "store/Store.h"
#include "store/Table.h"
#include "ui/ProgramContext.h"
#include "ui/albums/AlbumForm.h"
#include "ui/albums/AlbumSongList.h"
#include "ui/albums/AlbumWizard.h"
#include "ui/albums/UpdateAddWizard.h"
#include "ui/albums/UpdateAlbums.h"
#include "ui/cd/ReadCompactDisc.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/PageModel.h"
#include "ui/shell/MainFrame.h"
#include "ui/shell/Program.h"
#include "ui/support/ModalWindows.h"
#include "ui/support/ProgramFixture.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

using namespace srk;
using cdtest::Sec;
using srk::testing::onModal;

namespace {

// Three tracks of 1:00, 1:30 and 2:00; the disc lasts 4:30. Its serial number is the track count two
// wide, then the disc's and the first three tracks' clock-time values.
const QVector<qint32> ThreeTracks{60 * Sec, 90 * Sec, 120 * Sec};
const QString ThreeTrackSerial = QStringLiteral(" 3") + QStringLiteral("27001") + QStringLiteral("6001") +
                                 QStringLiteral("9001") + QStringLiteral("12001");
const QVector<qint64> ThreeTrackTimes{6001, 9001, 12001};

void click(QAbstractButton* button) {
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

class ReadCompactDiscTest : public srk::testing::ProgramFixture {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(startProgram());
        messages.clear();
    }

    QString threeTrackImage() {
        const QString cue = discimages::writeCueBin(data.path(), QStringLiteral("three"), ThreeTracks);
        EXPECT_FALSE(cue.isEmpty());
        return cue;
    }

    QVector<Record> all(const TableDef& def, int key = -1) {
        QVector<Record> rows;
        TableUse use(*context().access);
        EXPECT_TRUE(use.open(def));
        EXPECT_EQ(Table(store(), def).fetch(key, KeyAnchor::start(), true, 1000, rows), NoError);
        return rows;
    }
    Record addAlbum(qint64 id, const QString& artist, const QString& name) {
        Record a(albumTable());
        a.setNumber(ALB::AlbumID, id);
        a.setText(ALB::Artist, artist);
        a.setText(ALB::Album, name);
        a.setText(ALB::Media, QStringLiteral("CD"));
        TableUse use(*context().access);
        EXPECT_TRUE(use.open(albumTable()));
        EXPECT_EQ(Table(store(), albumTable()).add(a), NoError);
        return a;
    }
    QStringList shownTexts() const {
        QStringList out;
        for (const Message& m : messages.shown())
            out << m.title + QStringLiteral(": ") + m.text;
        return out;
    }

    // Runs the album form on `album`; `action` gets the form once it is up.
    WindowResponse runForm(WindowRequest request, Record& album, std::function<void(AlbumForm*)> action,
                           QWidget* parent = nullptr) {
        onModal([action](QWidget* modal) {
            auto* form = qobject_cast<AlbumForm*>(modal);
            ASSERT_NE(form, nullptr);
            action(form);
        });
        return UpdateAlbums::run(context(), request, album, parent);
    }

    cdtest::DeviceGuard guard;
};

TEST_F(ReadCompactDiscTest, TheFormsReadSaysWhetherTheIdentificationChangedAndShowsIt) {
    cdtest::useImage(threeTrackImage());
    Record album = addAlbum(1, QStringLiteral("Arvo Part"), QStringLiteral("Tabula Rasa"));
    QStringList afterFirst, afterSecond;
    QString shown;
    runForm(WindowRequest::Change, album, [&](AlbumForm* form) {
        EXPECT_TRUE(form->readButton()->isEnabled());
        click(form->readButton());
        afterFirst = shownTexts();
        shown = form->lineEdit(ALB::CDIdentifier)->text();
        messages.clear();
        click(form->readButton());
        afterSecond = shownTexts();
        click(form->okButton());
    });
    EXPECT_EQ(afterFirst, QStringList{QStringLiteral("Process complete: CD Identification updated.")});
    EXPECT_EQ(afterSecond, QStringList{QStringLiteral("Process complete: CD Identification not updated.")});
    EXPECT_EQ(shown, ThreeTrackSerial);
    const QVector<Record> albums = all(albumTable());
    ASSERT_EQ(albums.size(), 1);
    EXPECT_EQ(albums[0].text(ALB::CDIdentifier), ThreeTrackSerial);
    // Identifying reads no tracks: no total time, no songs.
    EXPECT_EQ(albums[0].number(ALB::TotalTime), 0);
    EXPECT_TRUE(all(songsTable()).isEmpty());
    EXPECT_FALSE(mciInterpreter().isOpen());
}

TEST_F(ReadCompactDiscTest, LoadingSongInformationWritesASavedAlbumsSongsAndListsThem) {
    cdtest::useImage(threeTrackImage());
    Record album = addAlbum(4, QStringLiteral("Arvo Part"), QStringLiteral("Fratres"));
    QStringList listed;
    QString shown;
    runForm(WindowRequest::Change, album, [&](AlbumForm* form) {
        form->tabs()->setCurrentWidget(form->songsPage());
        click(form->loadFromCdButton());
        shown = form->lineEdit(ALB::CDIdentifier)->text();
        for (const PageRow& r : form->songList()->model()->cursor().rows())
            listed << r.primary().text(SON::Title);
        click(form->okButton());
    });
    EXPECT_TRUE(messages.shown().isEmpty()) << shownTexts().join(u',').toStdString();
    EXPECT_EQ(shown, ThreeTrackSerial);
    EXPECT_EQ(listed, (QStringList{QStringLiteral("Track 1"), QStringLiteral("Track 2"), QStringLiteral("Track 3")}));
    const QVector<Record> songs = all(songsTable(), SON::KeyAlbumID);
    ASSERT_EQ(songs.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(songs[i].number(SON::AlbumID), 4);
        EXPECT_EQ(songs[i].number(SON::TrackNumber), i + 1);
        EXPECT_EQ(songs[i].number(SON::Time), ThreeTrackTimes[i]);
        EXPECT_EQ(songs[i].text(SON::Artist), QStringLiteral("Arvo Part"));
    }
    // The disc's length and serial number were kept in the form's record and saved by OK.
    const QVector<Record> albums = all(albumTable());
    ASSERT_EQ(albums.size(), 1);
    EXPECT_EQ(albums[0].number(ALB::TotalTime), 27001);
    EXPECT_EQ(albums[0].text(ALB::CDIdentifier), ThreeTrackSerial);
}

TEST_F(ReadCompactDiscTest, LoadingSongInformationForAnAlbumBeingAddedWritesNoSongs) {
    cdtest::useImage(threeTrackImage());
    Record album(albumTable());
    QString shown;
    int listed = -1;
    runForm(WindowRequest::Insert, album, [&](AlbumForm* form) {
        click(form->loadFromCdButton());
        shown = form->lineEdit(ALB::CDIdentifier)->text();
        listed = form->songList()->model()->rowCount();
        click(form->cancelButton());
    });
    EXPECT_EQ(shown, ThreeTrackSerial);
    EXPECT_EQ(listed, 0);
    EXPECT_TRUE(all(songsTable()).isEmpty());
    EXPECT_TRUE(all(albumTable()).isEmpty());  // the primed album went with Cancel
}

TEST_F(ReadCompactDiscTest, FailedChecksShowTheirMessageShowNoProgressAndWriteNothing) {
    Record album = addAlbum(2, QStringLiteral("Low"), QStringLiteral("Things We Lost"));
    struct Case {
        std::function<void()> choose;
        QString text;
    };
    const QString good = threeTrackImage();
    const QList<Case> cases = {
        {[&] { cdtest::useImage(discimages::writeCueMissingBin(data.path(), QStringLiteral("gone"))); },
         QStringLiteral("CD player not available.  Ensure that no other program is using the CD-ROM drive.")},
        {[&] { cdtest::useImageIn(good, true, false); }, QStringLiteral("CD player door open.")},
        {[&] { cdtest::useImageIn(good, false, true); }, QStringLiteral("CD player not ready.")},
    };
    for (const Case& c : cases) {
        c.choose();
        messages.clear();
        QString shown = QStringLiteral("unchanged");
        bool progressSeen = false;
        QTimer watch;
        watch.setInterval(0);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (ReadCompactDisc::current() && ReadCompactDisc::current()->isVisible())
                progressSeen = true;
        });
        watch.start();
        runForm(WindowRequest::Change, album, [&](AlbumForm* form) {
            form->lineEdit(ALB::CDIdentifier)->setText(shown);
            click(form->loadFromCdButton());
            click(form->readButton());
            shown = form->lineEdit(ALB::CDIdentifier)->text();
            click(form->cancelButton());
        });
        watch.stop();
        EXPECT_EQ(shownTexts(), (QStringList{QStringLiteral("Error: ") + c.text, QStringLiteral("Error: ") + c.text}));
        EXPECT_EQ(shown, QStringLiteral("unchanged"));
        EXPECT_FALSE(progressSeen);
        EXPECT_TRUE(all(songsTable()).isEmpty());
        EXPECT_EQ(all(albumTable()).value(0).number(ALB::TotalTime), 0);
        EXPECT_FALSE(mciInterpreter().isOpen());
    }
}

TEST_F(ReadCompactDiscTest, TheProgressWindowShowsItsCaptionAndLinesWhileItReads) {
    cdtest::useImage(threeTrackImage());
    Record album = addAlbum(3, QStringLiteral("Low"), QStringLiteral("Trust"));
    QStringList titles, captions, lines;
    QList<int> percents;
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        ReadCompactDisc* window = ReadCompactDisc::current();
        if (!window || !window->isVisible())
            return;
        titles << window->windowTitle();
        captions << window->caption();
        if (lines.isEmpty() || lines.last() != window->statusLine())
            lines << window->statusLine();
        percents << window->percent();
    });
    runForm(WindowRequest::Change, album, [&](AlbumForm* form) {
        watch.start();
        click(form->loadFromCdButton());
        watch.stop();
        click(form->okButton());
    });
    titles.removeDuplicates();
    captions.removeDuplicates();
    EXPECT_EQ(titles, QStringList{QStringLiteral("Progress...")});
    EXPECT_EQ(captions, QStringList{QStringLiteral("Reading CD")});
    EXPECT_EQ(lines, (QStringList{QStringLiteral("Serial Number"), QStringLiteral("Track 1 of 3"),
                                  QStringLiteral("Track 2 of 3"), QStringLiteral("Track 3 of 3")}));
    ASSERT_FALSE(percents.isEmpty());
    EXPECT_GT(percents.last(), percents.first());
    EXPECT_EQ(ReadCompactDisc::current(), nullptr);
}

TEST_F(ReadCompactDiscTest, TheWizardsReadAddsTrackRowsKeepsTypedTitlesAndTheCommitTakesTheSerialNumber) {
    cdtest::useImage(threeTrackImage());
    QStringList titles;
    QList<qint64> times;
    bool seen = false;
    onModal([&](QWidget* modal) {
        auto* wizard = qobject_cast<AlbumWizard*>(modal);
        ASSERT_NE(wizard, nullptr);
        seen = true;
        QTest::keyClicks(wizard->editor(SON::Artist), QStringLiteral("Talk Talk"));
        QTest::keyClicks(wizard->editor(SON::Album), QStringLiteral("Laughing Stock"));
        onModal([](QWidget* rowModal) {
            auto* row = qobject_cast<UpdateAddWizard*>(rowModal);
            ASSERT_NE(row, nullptr);
            QTest::keyClicks(row->titleEdit(), QStringLiteral("Myrrhman"));
            QTest::mouseClick(row->okButton(), Qt::LeftButton);
        });
        wizard->press(AlbumWizard::Action::Add);
        wizard->press(AlbumWizard::Action::ReadDisc);
        EXPECT_EQ(wizard->album().text(ALB::CDIdentifier), ThreeTrackSerial);
        for (const Record& r : wizard->rows()) {
            titles << r.text(AW::Title);
            times << r.number(AW::Time);
        }
        EXPECT_EQ(wizard->list()->rowCount(), 3);
        wizard->press(AlbumWizard::Action::Ok);
    });
    program->frame()->runCommand(QStringLiteral("AddSingleArtist"));
    ASSERT_TRUE(seen);
    EXPECT_EQ(titles, (QStringList{QStringLiteral("Myrrhman"), QStringLiteral("Track 2"), QStringLiteral("Track 3")}));
    EXPECT_EQ(times, (QList<qint64>{6001, 9001, 12001}));
    const QVector<Record> albums = all(albumTable());
    ASSERT_EQ(albums.size(), 1);
    EXPECT_EQ(albums[0].text(ALB::CDIdentifier), ThreeTrackSerial);
    const QVector<Record> songs = all(songsTable(), SON::KeyID);
    ASSERT_EQ(songs.size(), 3);
    EXPECT_EQ(songs[0].text(SON::Title), QStringLiteral("Myrrhman"));
    EXPECT_EQ(songs[1].text(SON::Title), QStringLiteral("Track 2"));
    EXPECT_EQ(songs[2].number(SON::Time), 12001);
    EXPECT_TRUE(all(addWizardTable()).isEmpty());
}

TEST_F(ReadCompactDiscTest, TheCdDeviceOptionIsTakenFromTheProgramsArguments) {
    QStringList arguments{QStringLiteral("sonorika"), QStringLiteral("--cd-device"), QStringLiteral("/tmp/disc.cue"),
                          QStringLiteral("--data"), QStringLiteral("/tmp/d")};
    QString error;
    ASSERT_TRUE(Program::takeArguments(arguments, error));
    EXPECT_EQ(arguments, (QStringList{QStringLiteral("sonorika"), QStringLiteral("--data"), QStringLiteral("/tmp/d")}));
    EXPECT_EQ(chosenCdDevice(), QStringLiteral("/tmp/disc.cue"));

    QStringList missing{QStringLiteral("sonorika"), QStringLiteral("--cd-device")};
    EXPECT_FALSE(Program::takeArguments(missing, error));
    EXPECT_FALSE(error.isEmpty());
}

// The preference names the drive when no option does.
class ReadCompactDiscPreference : public ReadCompactDiscTest {
protected:
    void SetUp() override {
        QFile ini(config.path() + QStringLiteral("/SRKRO97.INI"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Settings]\nCDDevice=/dev/sr7\n");
        ini.close();
        setCdDeviceOption(QString());
        ReadCompactDiscTest::SetUp();
    }
};

TEST_F(ReadCompactDiscPreference, TheCdDevicePreferenceChoosesTheDriveWithoutTheOption) {
    EXPECT_EQ(chosenCdDevice(), QStringLiteral("/dev/sr7"));
    setCdDeviceOption(QStringLiteral("/tmp/other.cue"));
    EXPECT_EQ(chosenCdDevice(), QStringLiteral("/tmp/other.cue"));
}

// A termination signal while the album form is open after a read.
class ReadCompactDiscQuit : public ReadCompactDiscTest {
protected:
    void SetUp() override {
        catchSignals = true;
        ReadCompactDiscTest::SetUp();
    }
};

TEST_F(ReadCompactDiscQuit, AQuitAfterAReadEndsTheProgramAndLeavesNothingPrimed) {
    cdtest::useImage(threeTrackImage());
    addAlbum(1, QStringLiteral("Slint"), QStringLiteral("Spiderland"));
    QSignalSpy ended(program.get(), &Program::ended);
    QString shown;
    Record album(albumTable());
    const WindowResponse r = runForm(
        WindowRequest::Insert, album,
        [&](AlbumForm* form) {
            click(form->loadFromCdButton());
            click(form->readButton());
            shown = form->lineEdit(ALB::CDIdentifier)->text();
            ::raise(SIGTERM);
        },
        program->frame());
    EXPECT_EQ(r, WindowResponse::Cancelled);
    EXPECT_EQ(shown, ThreeTrackSerial);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ended.count() == 1; }, 5000));
    EXPECT_EQ(ModalWindows::instance().running(), 0);
    const QVector<Record> albums = all(albumTable());
    ASSERT_EQ(albums.size(), 1);
    EXPECT_EQ(albums[0].number(ALB::AlbumID), 1);
    EXPECT_TRUE(all(songsTable()).isEmpty());
    EXPECT_FALSE(mciInterpreter().isOpen());
}

}  // namespace

namespace {

TEST_F(ReadCompactDiscQuit, AQuitWhileTheDiscIsReadEndsTheProgramInOrder) {
    cdtest::useImage(threeTrackImage());
    Record album = addAlbum(6, QStringLiteral("Bark Psychosis"), QStringLiteral("Hex"));
    QSignalSpy ended(program.get(), &Program::ended);
    bool raised = false;
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        ReadCompactDisc* window = ReadCompactDisc::current();
        if (!raised && window && window->statusLine() == QStringLiteral("Track 2 of 3")) {
            raised = true;
            ::raise(SIGTERM);
        }
    });
    QString shownAfter;
    const WindowResponse r = runForm(
        WindowRequest::Change, album,
        [&](AlbumForm* form) {
            watch.start();
            click(form->loadFromCdButton());
            watch.stop();
            shownAfter = form->lineEdit(ALB::CDIdentifier)->text();
        },
        program->frame());
    EXPECT_TRUE(raised);
    EXPECT_EQ(r, WindowResponse::Cancelled);
    // The reading finished its batch before the form went; the form took nothing from it.
    EXPECT_TRUE(shownAfter.isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return ended.count() == 1; }, 5000));
    EXPECT_EQ(ModalWindows::instance().running(), 0);
    EXPECT_EQ(ReadCompactDisc::current(), nullptr);
    EXPECT_EQ(all(songsTable()).size(), 3);
    const QVector<Record> albums = all(albumTable());
    ASSERT_EQ(albums.size(), 1);
    EXPECT_TRUE(albums[0].text(ALB::CDIdentifier).isEmpty());
    EXPECT_FALSE(mciInterpreter().isOpen());
}

}  // namespace
