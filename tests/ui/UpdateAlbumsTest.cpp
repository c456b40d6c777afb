// The album form driven through its real window on a started program with temporary folders; the
// album and song files are read back afterwards.

#include "access/DittoCopy.h"
#include "access/ScriptedMessages.h"
#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "store/Store.h"
#include "store/Table.h"
#include "text/DayNumber.h"
#include "ui/ProgramContext.h"
#include "ui/albums/AlbumForm.h"
#include "ui/albums/AlbumSongList.h"
#include "ui/albums/UpdateAlbums.h"
#include "ui/services/CategoryDropList.h"
#include "ui/services/MediaDropList.h"
#include "ui/services/PageModel.h"
#include "ui/services/ModalWindows.h"
#include "ui/shell/MainFrame.h"
#include "ui/shell/Program.h"
#include "ui/songs/SongForm.h"
#include "ui/services/ScaledImage.h"
#include "ui/support/ModalWindows.h"
#include "ui/support/ProgramFixture.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <csignal>
#include <functional>

using namespace srk;
using srk::testing::onModal;
using namespace Qt::StringLiterals;

namespace {

void type(QWidget* editor, const QString& text) {
    if (auto* combo = qobject_cast<QComboBox*>(editor))
        editor = combo->lineEdit();
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->clear();
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(editor))
        memo->clear();
    QTest::keyClicks(editor, text);
}

void click(QAbstractButton* button) {
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

class UpdateAlbumsTest : public srk::testing::ProgramFixture {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(startProgram());
        messages.clear();
    }

    template <typename Fill> Record add(const TableDef& def, Fill fill) {
        Record r(def);
        fill(r);
        TableUse use(*context().access);
        EXPECT_TRUE(use.open(def));
        EXPECT_EQ(Table(store(), def).add(r), NoError);
        return r;
    }
    Record addAlbum(qint64 id, const QString& artist, const QString& name, const QString& fileNumber = QString()) {
        return add(albumTable(), [&](Record& a) {
            a.setNumber(ALB::AlbumID, id);
            a.setText(ALB::Artist, artist);
            a.setText(ALB::Album, name);
            a.setText(ALB::Media, QStringLiteral("CD"));
            a.setText(ALB::FileNumber, fileNumber);
        });
    }
    Record addSong(qint64 id, qint64 albumId, const QString& fileNumber) {
        return add(songsTable(), [&](Record& s) {
            s.setNumber(SON::ID, id);
            s.setNumber(SON::AlbumID, albumId);
            s.setText(SON::Title, QStringLiteral("Song %1").arg(id));
            s.setText(SON::Media, QStringLiteral("CD"));
            s.setText(SON::FileNumber, fileNumber);
        });
    }
    QVector<Record> all(const TableDef& def, int key = -1) {
        QVector<Record> rows;
        TableUse use(*context().access);
        EXPECT_TRUE(use.open(def));
        Table(store(), def).fetch(key, KeyAnchor::start(), true, 1000, rows);
        return rows;
    }
    QVector<qint64> ids(const TableDef& def, int field) {
        QVector<qint64> out;
        for (const Record& r : all(def))
            out << r.number(field);
        std::sort(out.begin(), out.end());
        return out;
    }
    Record stored(const Record& r) {
        TableUse use(*context().access);
        Table table(store(), *r.def());
        Record out;
        EXPECT_EQ(table.getByPosition(table.position(r), out), NoError);
        return out;
    }

    // Runs the album form on `album`; `action` gets the form once it is up.
    WindowResponse runForm(WindowRequest request, Record& album, std::function<void(AlbumForm*)> action) {
        onModal([action](QWidget* modal) {
            auto* form = qobject_cast<AlbumForm*>(modal);
            ASSERT_NE(form, nullptr) << modal->windowTitle().toStdString();
            action(form);
        });
        return UpdateAlbums::run(context(), request, album, nullptr);
    }
};

TEST_F(UpdateAlbumsTest, AddingAnAlbumStoresWhatWasTypedInEveryTab) {
    addAlbum(4, QStringLiteral("Nina Simone"), QStringLiteral("Pastel Blues"));
    Record album(albumTable());
    QString title;
    QVector<qint64> primed;
    const WindowResponse r = runForm(WindowRequest::Insert, album, [&](AlbumForm* form) {
        title = form->windowTitle();
        primed = ids(albumTable(), ALB::AlbumID);
        EXPECT_EQ(form->mediaList()->currentText(), form->mediaList()->media().value(0));
        type(form->editor(ALB::Artist), QStringLiteral("Miles Davis"));
        type(form->editor(ALB::Album), QStringLiteral("Kind of Blue"));
        type(form->mediaList(), QStringLiteral("lp"));
        type(form->editor(ALB::FileNumber), QStringLiteral("J-12"));
        type(form->editor(ALB::ReleaseDate), QStringLiteral("1959"));
        type(form->editor(ALB::Notes), QStringLiteral("Columbia CL 1355"));
        type(form->editor(ALB::AssociatedWavFile), QStringLiteral("/music/so-what.wav"));
        type(form->editor(ALB::Playlist), QStringLiteral("modal"));
        type(form->editor(ALB::XCCD), QStringLiteral("6b0b1c08"));
        type(form->editor(ALB::CDIdentifier), QStringLiteral("CK 64935"));
        type(form->editor(ALB::Recording), QStringLiteral("30th Street Studio"));
        type(form->editor(ALB::Performance), QStringLiteral("sextet"));
        click(form->okButton());
    });

    EXPECT_EQ(r, WindowResponse::Completed);
    EXPECT_EQ(title, QStringLiteral("Adding an Album Record"));
    // The new album was in the file, under the next number, while the form was up.
    EXPECT_EQ(primed, (QVector<qint64>{4, 5}));
    EXPECT_EQ(messages.count(), 0) << messages.titles().join(u',').toStdString();
    const QVector<Record> albums = all(albumTable(), ALB::KeyAlbumID);
    ASSERT_EQ(albums.size(), 2);
    const Record& a = albums.last();
    EXPECT_EQ(a.number(ALB::AlbumID), 5);
    EXPECT_EQ(a.text(ALB::Artist), QStringLiteral("Miles Davis"));
    EXPECT_EQ(a.text(ALB::Album), QStringLiteral("Kind of Blue"));
    EXPECT_EQ(a.text(ALB::Media), QStringLiteral("LP"));
    EXPECT_EQ(a.text(ALB::FileNumber), QStringLiteral("J-12"));
    EXPECT_EQ(a.number(ALB::ReleaseDate), 1959);
    EXPECT_EQ(a.number(ALB::CategoryID), 0);
    EXPECT_EQ(a.text(ALB::Notes), QStringLiteral("Columbia CL 1355"));
    EXPECT_EQ(a.text(ALB::AssociatedWavFile), QStringLiteral("/music/so-what.wav"));
    EXPECT_EQ(a.text(ALB::Playlist), QStringLiteral("modal"));
    EXPECT_EQ(a.text(ALB::XCCD), QStringLiteral("6b0b1c08"));
    EXPECT_EQ(a.text(ALB::CDIdentifier), QStringLiteral("CK 64935"));
    EXPECT_EQ(a.text(ALB::Recording), QStringLiteral("30th Street Studio"));
    EXPECT_EQ(a.text(ALB::Performance), QStringLiteral("sextet"));
    EXPECT_TRUE(a.sameValues(album));
    EXPECT_FALSE(context().positions.readString(UpdateAlbums::Procedure, QStringLiteral("Width")).isEmpty());
}

TEST_F(UpdateAlbumsTest, CopyingLiveGivesLiveCopyWithANewIdAndNoDiscIdentifier) {
    Record live = add(albumTable(), [](Record& a) {
        a.setNumber(ALB::AlbumID, 7);
        a.setText(ALB::Artist, QStringLiteral("Keith Jarrett"));
        a.setText(ALB::Album, QStringLiteral("Live"));
        a.setText(ALB::Media, QStringLiteral("CD"));
        a.setText(ALB::CDIdentifier, QStringLiteral("ECM 1064"));
        a.setText(ALB::Notes, QStringLiteral("Cologne"));
    });
    Record copy = stored(live);
    QString shownName, title;
    const WindowResponse r = runForm(WindowRequest::Insert, copy, [&](AlbumForm* form) {
        title = form->windowTitle();
        shownName = form->lineEdit(ALB::Album)->text();
        EXPECT_TRUE(form->lineEdit(ALB::CDIdentifier)->text().isEmpty());
        EXPECT_EQ(form->memoEdit(ALB::Notes)->toPlainText(), QStringLiteral("Cologne"));
        click(form->okButton());
    });
    EXPECT_EQ(r, WindowResponse::Completed);
    EXPECT_EQ(title, QStringLiteral("Adding an Album Record"));
    EXPECT_EQ(shownName, QStringLiteral("Live - Copy"));
    const QVector<Record> albums = all(albumTable(), ALB::KeyAlbumID);
    ASSERT_EQ(albums.size(), 2);
    EXPECT_TRUE(albums[0].sameValues(live));
    EXPECT_EQ(albums[1].number(ALB::AlbumID), 8);
    EXPECT_EQ(albums[1].text(ALB::Album), QStringLiteral("Live - Copy"));
    EXPECT_EQ(albums[1].text(ALB::Artist), QStringLiteral("Keith Jarrett"));
    EXPECT_TRUE(albums[1].text(ALB::CDIdentifier).isEmpty());
    EXPECT_EQ(albums[1].text(ALB::Notes), QStringLiteral("Cologne"));
}

TEST_F(UpdateAlbumsTest, ChangeWritesTheEditAndChangingNothingWritesNothing) {
    const Record original = addAlbum(3, QStringLiteral("Joni Mitchell"), QStringLiteral("Blue"), QStringLiteral("F-3"));
    Record album = stored(original);
    QString title;
    WindowResponse r = runForm(WindowRequest::Change, album, [&](AlbumForm* form) {
        title = form->windowTitle();
        click(form->okButton());
    });
    EXPECT_EQ(r, WindowResponse::Completed);
    EXPECT_EQ(title, QStringLiteral("Changing an Album Record"));
    EXPECT_EQ(stored(original).changeCount(), original.changeCount());

    album = stored(original);
    r = runForm(WindowRequest::Change, album, [&](AlbumForm* form) {
        type(form->editor(ALB::Album), QStringLiteral("Blue (remastered)"));
        type(form->editor(ALB::Performance), QStringLiteral("Dulcimer"));
        click(form->okButton());
    });
    EXPECT_EQ(r, WindowResponse::Completed);
    const Record now = stored(original);
    EXPECT_NE(now.changeCount(), original.changeCount());
    EXPECT_EQ(now.text(ALB::Album), QStringLiteral("Blue (remastered)"));
    EXPECT_EQ(now.text(ALB::Performance), QStringLiteral("Dulcimer"));
    EXPECT_EQ(now.text(ALB::FileNumber), QStringLiteral("F-3"));
    EXPECT_EQ(all(albumTable()).size(), 1);
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(UpdateAlbumsTest, AChangeByAnotherStationIsShownAndTheFormStaysUntilSavedAgain) {
    const Record original = addAlbum(2, QStringLiteral("PJ Harvey"), QStringLiteral("Rid of Me"));
    Record album = stored(original);
    bool stayed = false;
    QString shownAlbum;
    const WindowResponse r = runForm(WindowRequest::Change, album, [&](AlbumForm* form) {
        Record other = stored(original);
        other.setText(ALB::Album, QStringLiteral("Rid of Me (4-track)"));
        {
            TableUse use(*context().access);
            ASSERT_EQ(Table(store(), albumTable()).put(other), NoError);
        }
        type(form->editor(ALB::FileNumber), QStringLiteral("P-93"));
        click(form->okButton());
        stayed = form->isVisible();
        shownAlbum = form->lineEdit(ALB::Album)->text();
        type(form->editor(ALB::FileNumber), QStringLiteral("P-93"));
        click(form->okButton());
    });
    EXPECT_EQ(r, WindowResponse::Completed);
    EXPECT_TRUE(stayed);
    EXPECT_EQ(shownAlbum, QStringLiteral("Rid of Me (4-track)"));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text, QStringLiteral("This record was changed by another station."));
    const Record now = stored(original);
    EXPECT_EQ(now.text(ALB::Album), QStringLiteral("Rid of Me (4-track)"));
    EXPECT_EQ(now.text(ALB::FileNumber), QStringLiteral("P-93"));
}

TEST_F(UpdateAlbumsTest, AnAlbumNumberThatKeepsFailingAsksAfterEveryThreeAttempts) {
    // "Live" was copied before: a second copy clashes on the album name key at every add.
    const Record live = addAlbum(1, QStringLiteral("Keith Jarrett"), QStringLiteral("Live"));
    addAlbum(2, QStringLiteral("Keith Jarrett"), QStringLiteral("Live - Copy"));
    Record album = stored(live);
    messages.addAnswer(ButtonRetry);
    messages.addAnswer(ButtonCancel);
    // No form may open; should one open all the same, it is noted and closed so the test cannot hang.
    bool opened = false;
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [&opened] {
        if (QDialog* form = ModalWindows::instance().innermost()) {
            opened = true;
            ModalWindows::cancel(form);
        }
    });
    guard.start(20);
    EXPECT_EQ(UpdateAlbums::run(context(), WindowRequest::Insert, album, nullptr), WindowResponse::Cancelled);
    EXPECT_EQ(messages.titles(),
              (QStringList{QStringLiteral("Auto Increment Error"), QStringLiteral("Auto Increment Error")}));
    EXPECT_EQ(ids(albumTable(), ALB::AlbumID), (QVector<qint64>{1, 2}));
    EXPECT_FALSE(opened);
}

TEST_F(UpdateAlbumsTest, CancellingAnInsertRemovesOnlyThePrimedAlbum) {
    addAlbum(1, QStringLiteral("Tom Waits"), QStringLiteral("Rain Dogs"));
    addAlbum(2, QStringLiteral("Tom Waits"), QStringLiteral("Bone Machine"));
    Record album(albumTable());
    int whileOpen = 0;
    const WindowResponse r = runForm(WindowRequest::Insert, album, [&](AlbumForm* form) {
        whileOpen = all(albumTable()).size();
        type(form->editor(ALB::Artist), QStringLiteral("Half typed"));
        click(form->cancelButton());
    });
    EXPECT_EQ(r, WindowResponse::Cancelled);
    EXPECT_EQ(whileOpen, 3);
    EXPECT_EQ(ids(albumTable(), ALB::AlbumID), (QVector<qint64>{1, 2}));

    // Esc ends a copy the same way.
    Record copy = stored(all(albumTable()).first());
    EXPECT_EQ(runForm(WindowRequest::Insert, copy,
                      [](AlbumForm* form) { QTest::keyClick(form->editor(ALB::Artist), Qt::Key_Escape); }),
              WindowResponse::Cancelled);
    EXPECT_EQ(ids(albumTable(), ALB::AlbumID), (QVector<qint64>{1, 2}));
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(UpdateAlbumsTest, ADuplicateAlbumNamesTheKeyAndTheFormStaysOpen) {
    addAlbum(1, QStringLiteral("Joni Mitchell"), QStringLiteral("Blue"));
    Record album(albumTable());
    bool stayed = false;
    const WindowResponse r = runForm(WindowRequest::Insert, album, [&](AlbumForm* form) {
        type(form->editor(ALB::Artist), QStringLiteral("joni mitchell"));
        type(form->editor(ALB::Album), QStringLiteral("BLUE"));
        click(form->okButton());
        stayed = form->isVisible();
        click(form->cancelButton());
    });
    EXPECT_EQ(r, WindowResponse::Cancelled);
    EXPECT_TRUE(stayed);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Duplicate Key Error"));
    EXPECT_TRUE(messages.last().text.endsWith(QStringLiteral("ALB:KeyAlbum"))) << messages.last().text.toStdString();
    EXPECT_EQ(ids(albumTable(), ALB::AlbumID), (QVector<qint64>{1}));
}

// Refuses every update of the album file while it lives, as a full disk or a read-only file would.
class RefusedAlbumUpdates {
public:
    explicit RefusedAlbumUpdates(Store& store) : m_store(store), m_schema(Store::schemaName(albumTable()).toUtf8()) {
        sqlite3_set_authorizer(m_store.handle(), &RefusedAlbumUpdates::authorize, this);
    }
    ~RefusedAlbumUpdates() { sqlite3_set_authorizer(m_store.handle(), nullptr, nullptr); }
    RefusedAlbumUpdates(const RefusedAlbumUpdates&) = delete;
    RefusedAlbumUpdates& operator=(const RefusedAlbumUpdates&) = delete;

private:
    static int authorize(void* self, int action, const char*, const char*, const char* schema, const char*) {
        const auto* me = static_cast<RefusedAlbumUpdates*>(self);
        return action == SQLITE_UPDATE && schema && me->m_schema == schema ? SQLITE_DENY : SQLITE_OK;
    }
    Store& m_store;
    QByteArray m_schema;
};

TEST_F(UpdateAlbumsTest, AnInsertTheFileRefusesSaysSoKeepsTheFormAndLosesNothingOnCancel) {
    addAlbum(1, QStringLiteral("Julee Cruise"), QStringLiteral("Floating into the Night"));
    Record album(albumTable());
    bool stayed = false;
    QString typed;
    const WindowResponse r = runForm(WindowRequest::Insert, album, [&](AlbumForm* form) {
        type(form->editor(ALB::Artist), QStringLiteral("Angelo Badalamenti"));
        type(form->editor(ALB::Album), QStringLiteral("Soundtrack"));
        {
            RefusedAlbumUpdates refused(store());
            click(form->okButton());
        }
        stayed = form->isVisible();
        typed = form->lineEdit(ALB::Album)->text();
        click(form->cancelButton());
    });
    EXPECT_EQ(r, WindowResponse::Cancelled);
    EXPECT_TRUE(stayed);
    EXPECT_EQ(typed, QStringLiteral("Soundtrack"));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Record Insert Error"));
    EXPECT_EQ(ids(albumTable(), ALB::AlbumID), (QVector<qint64>{1}));
}

TEST_F(UpdateAlbumsTest, DeleteAsksFirstAndTakesTheAlbumsSongsButNotAnotherAlbumsOnTheSameFileNumber) {
    const Record going = addAlbum(1, QStringLiteral("Can"), QStringLiteral("Tago Mago"), QStringLiteral("K-1"));
    addAlbum(2, QStringLiteral("Can"), QStringLiteral("Ege Bamyasi"), QStringLiteral("K-1"));
    addSong(10, 1, QStringLiteral("K-1"));
    addSong(11, 1, QString());
    addSong(20, 2, QStringLiteral("K-1"));  // another album's song on the same file number
    addSong(30, 0, QStringLiteral("K-1"));  // an unlinked song filed under the number
    addSong(40, 0, QStringLiteral("K-2"));

    Record album = stored(going);
    messages.addAnswer(ButtonCancel);
    EXPECT_EQ(UpdateAlbums::run(context(), WindowRequest::Delete, album, nullptr), WindowResponse::Cancelled);
    EXPECT_EQ(all(albumTable()).size(), 2);
    EXPECT_EQ(all(songsTable()).size(), 5);

    messages.addAnswer(ButtonOk);
    EXPECT_EQ(UpdateAlbums::run(context(), WindowRequest::Delete, album, nullptr), WindowResponse::Completed);
    EXPECT_EQ(messages.titles(), (QStringList{QStringLiteral("Confirm Delete"), QStringLiteral("Confirm Delete")}));
    EXPECT_EQ(ids(albumTable(), ALB::AlbumID), (QVector<qint64>{2}));
    EXPECT_EQ(ids(songsTable(), SON::ID), (QVector<qint64>{20, 40}));
}

TEST_F(UpdateAlbumsTest, AnAlbumDeleteRefusedByAPlaylistLineLeavesAlbumAndSongsAlone) {
    const Record held = addAlbum(1, QStringLiteral("Can"), QStringLiteral("Future Days"), QStringLiteral("K-3"));
    addSong(10, 1, QStringLiteral("K-3"));
    addSong(11, 1, QStringLiteral("K-3"));
    add(playlistDetailsTable(), [](Record& l) {
        l.setNumber(PLA::PlaylistID, 1);
        l.setNumber(PLA::PlaylistSeq, 1);
        l.setNumber(PLA::ID, 11);
    });
    Record album = stored(held);
    messages.addAnswer(ButtonOk);  // confirm
    messages.addAnswer(ButtonNo);  // do not try again
    EXPECT_EQ(UpdateAlbums::run(context(), WindowRequest::Delete, album, nullptr), WindowResponse::Cancelled);
    ASSERT_EQ(messages.count(), 3) << messages.titles().join(u',').toStdString();
    EXPECT_EQ(messages.shown()[1].title, QStringLiteral("Referential Integrity Delete Error"));
    EXPECT_TRUE(messages.shown()[1].text.contains(QStringLiteral("PlaylistDetails")));
    EXPECT_EQ(ids(albumTable(), ALB::AlbumID), (QVector<qint64>{1}));
    EXPECT_EQ(ids(songsTable(), SON::ID), (QVector<qint64>{10, 11}));
    EXPECT_EQ(all(playlistDetailsTable()).size(), 1);
}


TEST_F(UpdateAlbumsTest, ThePlayButtonWaitsForAFileNameAndAMissingFileSaysItCouldNotPlay) {
    Record album = stored(addAlbum(1, QStringLiteral("Björk"), QStringLiteral("Debut")));
    const QString missing = data.file(QStringLiteral("nowhere/human-behaviour.wav"));
    bool enabledBlank = true, enabledTyped = false, enabledCleared = true;
    QStringList shown;
    runForm(WindowRequest::Change, album, [&](AlbumForm* form) {
        enabledBlank = form->playButton()->isEnabled();
        form->tabs()->setCurrentIndex(3);
        type(form->editor(ALB::AssociatedWavFile), missing + QStringLiteral("   "));
        enabledTyped = form->playButton()->isEnabled();
        click(form->playButton());
        shown << messages.titles();
        if (messages.count() > 0)
            shown << messages.last().text;
        type(form->editor(ALB::AssociatedWavFile), QStringLiteral("  "));
        enabledCleared = form->playButton()->isEnabled();
        click(form->cancelButton());
    });
    EXPECT_FALSE(enabledBlank);
    EXPECT_TRUE(enabledTyped);
    EXPECT_FALSE(enabledCleared);
    EXPECT_EQ(shown, (QStringList{QStringLiteral("Error"), QStringLiteral("Could not play ") + missing + QStringLiteral(".")}));
}

class UpdateAlbumsNoise : public UpdateAlbumsTest, public ::testing::WithParamInterface<const char*> {};

// A file that is no wave sound is reported, whatever its name says it is.
TEST_P(UpdateAlbumsNoise, AFileThatIsNoSoundSaysItCouldNotPlayOnceThePlayerFindsOut) {
    const QString noise = data.file(QStringLiteral("not-a-sound.") + QLatin1String(GetParam()));
    QFile f(noise);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    Record album = stored(add(albumTable(), [&](Record& a) {
        a.setNumber(ALB::AlbumID, 1);
        a.setText(ALB::Album, QStringLiteral("Homogenic"));
        a.setText(ALB::Media, QStringLiteral("CD"));
        a.setText(ALB::AssociatedWavFile, noise);
    }));
    bool enabled = false;
    QStringList titles;
    QString text;
    runForm(WindowRequest::Change, album, [&](AlbumForm* form) {
        enabled = form->playButton()->isEnabled();
        form->tabs()->setCurrentIndex(3);
        click(form->playButton());
        EXPECT_TRUE(QTest::qWaitFor([&] { return messages.count() > 0; }, 5000));
        titles = messages.titles();
        text = messages.last().text;
        click(form->cancelButton());
    });
    EXPECT_TRUE(enabled);
    EXPECT_EQ(titles, QStringList{QStringLiteral("Error")});
    EXPECT_EQ(text, QStringLiteral("Could not play ") + noise + QStringLiteral("."));
}

INSTANTIATE_TEST_SUITE_P(Kinds, UpdateAlbumsNoise, ::testing::Values("wav", "mp3"));

TEST_F(UpdateAlbumsTest, TheChosenImageBecomesTheAssociatedImageAndIsShownScaledToFit) {
    const QString picture = data.file(QStringLiteral("cover.png"));
    QImage wide(400, 100, QImage::Format_RGB32);
    wide.fill(Qt::darkBlue);
    ASSERT_TRUE(wide.save(picture));
    // The album names a picture that is gone: the dialog starts in its folder.
    ASSERT_TRUE(QDir(data.path()).mkpath(QStringLiteral("art")));
    const QString oldPicture = data.file(QStringLiteral("art/old.png"));
    Record album = stored(add(albumTable(), [&](Record& a) {
        a.setNumber(ALB::AlbumID, 1);
        a.setText(ALB::Artist, QStringLiteral("Björk"));
        a.setText(ALB::Album, QStringLiteral("Post"));
        a.setText(ALB::Media, QStringLiteral("CD"));
        a.setText(ALB::AssociatedImage, oldPicture);
    }));
    QString dialogTitle, filter, startFolder;
    bool shownBefore = true, shownAfter = false;
    QRect shownRect;
    QSize display;
    const WindowResponse r = runForm(WindowRequest::Change, album, [&](AlbumForm* form) {
        form->tabs()->setCurrentIndex(3);
        shownBefore = form->imageDisplay()->hasImage();
        onModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            dialogTitle = dialog->windowTitle();
            filter = dialog->nameFilters().join(u';');
            startFolder = dialog->directory().absolutePath();
            srk::testing::acceptFile(dialog, picture);
        });
        click(form->chooseImageButton());
        shownAfter = form->imageDisplay()->hasImage();
        form->imageDisplay()->resize(200, 200);
        shownRect = form->imageDisplay()->shownRect();
        display = form->imageDisplay()->size();
        click(form->okButton());
    });
    EXPECT_EQ(r, WindowResponse::Completed);
    EXPECT_EQ(dialogTitle, QStringLiteral("Choose a File"));
    EXPECT_EQ(filter, QStringLiteral("All Files (*)"));
    EXPECT_EQ(startFolder, QFileInfo(oldPicture).absolutePath());
    EXPECT_FALSE(shownBefore);
    EXPECT_TRUE(shownAfter);
    // Four to one, as wide as the display and a quarter as high, centred.
    EXPECT_EQ(shownRect, QRect(0, 75, 200, 50));
    EXPECT_EQ(display, QSize(200, 200));
    EXPECT_EQ(stored(album).text(ALB::AssociatedImage), picture);
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(UpdateAlbumsTest, AMissingImageLeavesTheDisplayEmptyWithoutAMessage) {
    Record album = stored(add(albumTable(), [&](Record& a) {
        a.setNumber(ALB::AlbumID, 1);
        a.setText(ALB::Album, QStringLiteral("Vespertine"));
        a.setText(ALB::Media, QStringLiteral("CD"));
        a.setText(ALB::AssociatedImage, data.file(QStringLiteral("gone.png")));
    }));
    const QString notAPicture = data.file(QStringLiteral("notes.png"));
    QFile f(notAPicture);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("plain text");
    f.close();
    bool missingShown = true, garbageShown = true;
    runForm(WindowRequest::Change, album, [&](AlbumForm* form) {
        missingShown = form->imageDisplay()->hasImage();
        form->tabs()->setCurrentIndex(3);
        type(form->editor(ALB::AssociatedImage), notAPicture);
        QTest::keyClick(form->editor(ALB::AssociatedImage), Qt::Key_Tab);
        garbageShown = form->imageDisplay()->hasImage();
        click(form->cancelButton());
    });
    EXPECT_FALSE(missingShown);
    EXPECT_FALSE(garbageShown);
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(UpdateAlbumsTest, TheDittoKeyPutsBackTheFieldOfTheAlbumSavedLast) {
    Record album(albumTable());
    runForm(WindowRequest::Insert, album, [&](AlbumForm* form) {
        type(form->editor(ALB::Artist), QStringLiteral("Stereolab"));
        type(form->editor(ALB::Album), QStringLiteral("Dots and Loops"));
        type(form->editor(ALB::FileNumber), QStringLiteral("D-97"));
        type(form->editor(ALB::ReleaseDate), QStringLiteral("1997"));
        type(form->editor(ALB::XCCD), QStringLiteral("a10b2c0d"));
        type(form->mediaList(), QStringLiteral("LP"));
        type(form->editor(ALB::AssociatedWavFile), QStringLiteral("/s/lo-boob.wav"));
        type(form->editor(ALB::AssociatedImage), QStringLiteral("/s/dots.png"));
        type(form->editor(ALB::Playlist), QStringLiteral("Loops"));
        type(form->editor(ALB::CDIdentifier), QStringLiteral("D-UHF 17"));
        click(form->okButton());
    });
    ASSERT_EQ(all(albumTable()).size(), 1);
    Record next(albumTable());
    QString artist, fileNumber, released, xccd, album2;
    QStringList others;
    runForm(WindowRequest::Insert, next, [&](AlbumForm* form) {
        // The key is a shortcut of the form: it works once the form is the active window.
        EXPECT_TRUE(QTest::qWaitForWindowActive(form, 5000));
        form->editor(ALB::Artist)->setFocus();
        QTest::keyClick(form->editor(ALB::Artist), Qt::Key_Apostrophe, Qt::ControlModifier);
        artist = form->lineEdit(ALB::Artist)->text();
        album2 = form->lineEdit(ALB::Album)->text();
        form->editor(ALB::FileNumber)->setFocus();
        QTest::keyClick(form->editor(ALB::FileNumber), Qt::Key_Apostrophe, Qt::ControlModifier);
        fileNumber = form->lineEdit(ALB::FileNumber)->text();
        form->editor(ALB::ReleaseDate)->setFocus();
        QTest::keyClick(form->editor(ALB::ReleaseDate), Qt::Key_Apostrophe, Qt::ControlModifier);
        released = form->lineEdit(ALB::ReleaseDate)->text();
        form->tabs()->setCurrentIndex(4);
        form->editor(ALB::XCCD)->setFocus();
        // The form's Ditto button does what the key does, on the field that has the focus.
        click(form->dittoButton());
        xccd = form->lineEdit(ALB::XCCD)->text();
        for (QWidget* field : {form->editor(ALB::Media), form->editor(ALB::AssociatedWavFile),
                               form->editor(ALB::AssociatedImage), form->editor(ALB::Playlist),
                               form->editor(ALB::CDIdentifier), form->editor(ALB::Album)}) {
            field->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Apostrophe, Qt::ControlModifier);
        }
        others = QStringList{form->mediaList()->currentText(), form->lineEdit(ALB::AssociatedWavFile)->text(),
                             form->lineEdit(ALB::AssociatedImage)->text(), form->lineEdit(ALB::Playlist)->text(),
                             form->lineEdit(ALB::CDIdentifier)->text(), form->lineEdit(ALB::Album)->text()};
        click(form->cancelButton());
    });
    EXPECT_EQ(others, (QStringList{u"LP"_s, u"/s/lo-boob.wav"_s, u"/s/dots.png"_s, u"Loops"_s, u"D-UHF 17"_s,
                                   u"Dots and Loops"_s}));
    EXPECT_EQ(artist, QStringLiteral("Stereolab"));
    // Only the focused field takes its value back.
    EXPECT_TRUE(album2.isEmpty());
    EXPECT_EQ(fileNumber, QStringLiteral("D-97"));
    EXPECT_EQ(released, QStringLiteral("1997"));
    EXPECT_EQ(xccd, QStringLiteral("a10b2c0d"));
}

TEST_F(UpdateAlbumsTest, AReleaseYearBelow3000StaysAYearAndAFullDateShowsInThePreferredPicture) {
    context().preferences.DateFormat = QStringLiteral("d2");
    Record album = stored(add(albumTable(), [](Record& a) {
        a.setNumber(ALB::AlbumID, 1);
        a.setText(ALB::Album, QStringLiteral("Moon Safari"));
        a.setText(ALB::Media, QStringLiteral("CD"));
        a.setNumber(ALB::ReleaseDate, 1998);
    }));
    QString shownYear;
    runForm(WindowRequest::Change, album, [&](AlbumForm* form) {
        shownYear = form->lineEdit(ALB::ReleaseDate)->text();
        type(form->editor(ALB::ReleaseDate), QStringLiteral("01/16/1998"));
        click(form->okButton());
    });
    EXPECT_EQ(shownYear, QStringLiteral("1998"));
    const qint64 day = stored(album).number(ALB::ReleaseDate);
    EXPECT_EQ(day, dayNumberFromDate(QDate(1998, 1, 16)));

    album = stored(album);
    QString shownDay;
    runForm(WindowRequest::Change, album, [&](AlbumForm* form) {
        shownDay = form->lineEdit(ALB::ReleaseDate)->text();
        type(form->editor(ALB::ReleaseDate), QStringLiteral("2999"));
        click(form->okButton());
    });
    EXPECT_EQ(shownDay, QStringLiteral("01/16/1998"));
    EXPECT_EQ(stored(album).number(ALB::ReleaseDate), 2999);

    // Text that is no date is refused with the date message and the form stays.
    album = stored(album);
    bool stayed = false;
    runForm(WindowRequest::Change, album, [&](AlbumForm* form) {
        type(form->editor(ALB::ReleaseDate), QStringLiteral("soon"));
        click(form->okButton());
        stayed = form->isVisible();
        click(form->cancelButton());
    });
    EXPECT_TRUE(stayed);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(stored(album).number(ALB::ReleaseDate), 2999);
}

TEST_F(UpdateAlbumsTest, EnterChecksTheFieldOnceAndPressesOKWhenItPasses) {
    Record album = stored(addAlbum(1, QStringLiteral("Cocteau Twins"), QStringLiteral("Treasure")));
    bool stayed = false;
    const WindowResponse r = runForm(WindowRequest::Change, album, [&](AlbumForm* form) {
        QLineEdit* released = form->lineEdit(ALB::ReleaseDate);
        type(released, QStringLiteral("next spring"));
        QTest::keyClick(released, Qt::Key_Return);
        stayed = form->isVisible();
        type(released, QStringLiteral("1984"));
        QTest::keyClick(released, Qt::Key_Return);
    });
    EXPECT_TRUE(stayed);
    EXPECT_EQ(r, WindowResponse::Completed);
    // The refusal is said once, not again by the OK the same key would have pressed.
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(stored(album).number(ALB::ReleaseDate), 1984);
}

TEST_F(UpdateAlbumsTest, AnUnknownMediumIsRefusedAndTheCategorySetsItsId) {
    const Record jazz = add(categoriesTable(), [](Record& c) {
        c.setNumber(CAT::CategoryID, 6);
        c.setText(CAT::Category, QStringLiteral("Jazz"));
    });
    Record album = stored(addAlbum(1, QStringLiteral("Sun Ra"), QStringLiteral("Lanquidity")));
    bool stayed = false;
    runForm(WindowRequest::Change, album, [&](AlbumForm* form) {
        type(form->mediaList(), QStringLiteral("Wax cylinder"));
        click(form->okButton());
        stayed = form->isVisible();
        type(form->mediaList(), QStringLiteral("cd"));
        type(form->categoryList(), QStringLiteral("jazz"));
        click(form->okButton());
    });
    EXPECT_TRUE(stayed);
    ASSERT_GE(messages.count(), 1);
    EXPECT_TRUE(messages.shown()[0].text.contains(QStringLiteral("Media"))) << messages.shown()[0].text.toStdString();
    EXPECT_EQ(stored(album).number(ALB::CategoryID), jazz.number(CAT::CategoryID));
    EXPECT_EQ(stored(album).text(ALB::Media), QStringLiteral("CD"));

    // A blank category is none.
    album = stored(album);
    runForm(WindowRequest::Change, album, [&](AlbumForm* form) {
        type(form->categoryList(), QString());
        click(form->okButton());
    });
    EXPECT_EQ(stored(album).number(ALB::CategoryID), 0);
}

TEST_F(UpdateAlbumsTest, EveryTabShowsItsPromptsButtonsAndTipsWhole) {
    Record album = stored(addAlbum(1, QStringLiteral("Portishead"), QStringLiteral("Dummy")));
    QStringList tabTexts, clipped, labels, buttons;
    QString xccdTip, serialTip;
    bool readEnabled = true, loadEnabled = true;
    runForm(WindowRequest::Change, album, [&](AlbumForm* form) {
        QTabWidget* tabs = form->tabs();
        QFont bold = tabs->tabBar()->font();
        bold.setBold(true);
        for (int i = 0; i < tabs->count(); ++i) {
            tabTexts << tabs->tabText(i);
            tabs->setCurrentIndex(i);
            QCoreApplication::processEvents();
            const QRect tab = tabs->tabBar()->tabRect(i);
            if (!tabs->tabBar()->rect().contains(tab) || tab.width() < QFontMetrics(bold).horizontalAdvance(tabs->tabText(i)))
                clipped << tabs->tabText(i);
            QWidget* page = tabs->widget(i);
            for (QLabel* l : page->findChildren<QLabel*>()) {
                if (!l->isVisibleTo(form) || l->text().isEmpty())
                    continue;
                labels << l->text();
                if (l->width() < l->minimumSizeHint().width() || !form->rect().contains(QRect(l->mapTo(form, QPoint()), l->size())))
                    clipped << l->text();
            }
            for (QPushButton* b : page->findChildren<QPushButton*>()) {
                if (!b->isVisibleTo(form))
                    continue;
                buttons << b->text();
                if (b->width() < b->minimumSizeHint().width() || !form->rect().contains(QRect(b->mapTo(form, QPoint()), b->size())))
                    clipped << b->text();
            }
        }
        QFont titleFont = form->font();
        titleFont.setBold(true);
        if (form->width() < QFontMetrics(titleFont).horizontalAdvance(form->windowTitle()))
            clipped << form->windowTitle();
        xccdTip = form->lineEdit(ALB::XCCD)->toolTip();
        serialTip = form->lineEdit(ALB::CDIdentifier)->toolTip();
        readEnabled = form->readButton()->isEnabled();
        loadEnabled = form->loadFromCdButton()->isEnabled();
        click(form->cancelButton());
    });
    EXPECT_EQ(tabTexts, (QStringList{QStringLiteral("General"), QStringLiteral("Songs"), QStringLiteral("Notes"),
                                     QStringLiteral("Associated Files"), QStringLiteral("Compact Disc"),
                                     QStringLiteral("Other")}));
    EXPECT_TRUE(clipped.isEmpty()) << clipped.join(u',').toStdString();
    for (const QString& prompt :
         {u"&Artist:"_s, u"A&lbum:"_s, u"&Media:"_s, u"&Category:"_s, u"&File Number:"_s, u"&Release Date:"_s,
          u"Associated WAV File:"_s, u"Associated Image:"_s, u"Playlist:"_s, u"XCCD Database #:"_s, u"CD Serial #:"_s,
          u"Recording:"_s, u"Performance:"_s})
        EXPECT_TRUE(labels.contains(prompt)) << prompt.toStdString();
    for (const QString& text : {u"..."_s, u"Read"_s, u"Load Song Information from CD Player"_s})
        EXPECT_TRUE(buttons.contains(text)) << text.toStdString();
    EXPECT_EQ(xccdTip, QStringLiteral("CDDB Number (Internet)"));
    EXPECT_EQ(serialTip, QStringLiteral("CD Serial Number"));
    EXPECT_TRUE(readEnabled);
    EXPECT_TRUE(loadEnabled);
}


TEST_F(UpdateAlbumsTest, TheSongsTabListsTheAlbumsSongsAndAddsSongsFromTheAlbumAsTyped) {
    const Record original = addAlbum(1, QStringLiteral("Low"), QStringLiteral("Secret Name"), QStringLiteral("S-1"));
    add(songsTable(), [](Record& s) {
        s.setNumber(SON::ID, 5);
        s.setNumber(SON::AlbumID, 1);
        s.setNumber(SON::TrackNumber, 2);
        s.setText(SON::Title, QStringLiteral("Starfire"));
        s.setText(SON::Media, QStringLiteral("CD"));
    });
    add(songsTable(), [](Record& s) {
        s.setNumber(SON::ID, 6);
        s.setNumber(SON::AlbumID, 1);
        s.setNumber(SON::TrackNumber, 1);
        s.setText(SON::Title, QStringLiteral("I Remember"));
        s.setText(SON::Media, QStringLiteral("CD"));
    });
    addSong(7, 2, QStringLiteral("S-1"));
    Record album = stored(original);
    int rowsAtOpen = 0, rowsAfterAdd = 0;
    QString firstTitle, songArtist;
    const WindowResponse r = runForm(WindowRequest::Change, album, [&](AlbumForm* form) {
        ASSERT_NE(form->songList(), nullptr);
        EXPECT_EQ(form->tabs()->widget(1), form->songsPage());
        form->tabs()->setCurrentIndex(1);
        QCoreApplication::processEvents();
        rowsAtOpen = form->songList()->model()->rowCount();
        firstTitle = form->songList()->highlightedSong().text(SON::Title);
        form->tabs()->setCurrentIndex(0);
        type(form->editor(ALB::Artist), QStringLiteral("Low (trio)"));
        form->tabs()->setCurrentIndex(1);
        onModal([&](QWidget* modal) {
            auto* songForm = qobject_cast<SongForm*>(modal);
            ASSERT_NE(songForm, nullptr);
            songArtist = songForm->lineEdit(SON::Artist)->text();
            click(songForm->okButton());
        });
        form->songList()->press(AlbumSongList::Action::Add);
        QCoreApplication::processEvents();
        rowsAfterAdd = form->songList()->model()->rowCount();
        click(form->cancelButton());
    });
    EXPECT_EQ(r, WindowResponse::Cancelled);
    EXPECT_EQ(rowsAtOpen, 2);
    EXPECT_EQ(firstTitle, QStringLiteral("I Remember"));
    // The new song took the artist as the form showed it.
    EXPECT_EQ(songArtist, QStringLiteral("Low (trio)"));
    EXPECT_EQ(rowsAfterAdd, 3);
    // The song stays although the album's own edit was cancelled.
    EXPECT_EQ(stored(original).text(ALB::Artist), QStringLiteral("Low"));
    const QVector<Record> songs = all(songsTable(), SON::KeyID);
    ASSERT_EQ(songs.size(), 4);
    EXPECT_EQ(songs.last().number(SON::AlbumID), 1);
    EXPECT_EQ(songs.last().text(SON::Artist), QStringLiteral("Low (trio)"));
}

TEST_F(UpdateAlbumsTest, AnAddingFormDeletedWithItsOwnerTakesItsPrimedAlbumAlong) {
    addAlbum(1, QStringLiteral("Slint"), QStringLiteral("Spiderland"));
    auto* owner = new QWidget;
    owner->show();
    int whileOpen = 0;
    onModal([&](QWidget* modal) {
        ASSERT_NE(qobject_cast<AlbumForm*>(modal), nullptr);
        whileOpen = all(albumTable()).size();
        delete owner;
    });
    Record album(albumTable());
    EXPECT_EQ(UpdateAlbums::run(context(), WindowRequest::Insert, album, owner), WindowResponse::Cancelled);
    EXPECT_EQ(whileOpen, 2);
    EXPECT_EQ(ids(albumTable(), ALB::AlbumID), (QVector<qint64>{1}));
    EXPECT_EQ(ModalWindows::instance().running(), 0);
}

// A termination signal while the album form adds: the form goes as its Cancel would, then the frame.
class UpdateAlbumsQuit : public UpdateAlbumsTest {
protected:
    void SetUp() override {
        catchSignals = true;
        ASSERT_NO_FATAL_FAILURE(startProgram());
        messages.clear();
    }
};

TEST_F(UpdateAlbumsQuit, AQuitWhileAddingEndsTheProgramAndLeavesNoPrimedAlbum) {
    addAlbum(1, QStringLiteral("Talk Talk"), QStringLiteral("Spirit of Eden"));
    QSignalSpy ended(program.get(), &Program::ended);
    bool formUp = false;
    int whileOpen = 0;
    onModal([&](QWidget* modal) {
        auto* form = qobject_cast<AlbumForm*>(modal);
        ASSERT_NE(form, nullptr);
        formUp = true;
        whileOpen = all(albumTable()).size();
        QTest::keyClicks(form->editor(ALB::Artist), QStringLiteral("Half typed"));
        ::raise(SIGTERM);
    });
    Record album(albumTable());
    const WindowResponse r = UpdateAlbums::run(context(), WindowRequest::Insert, album, program->frame());
    EXPECT_EQ(r, WindowResponse::Cancelled);
    EXPECT_TRUE(formUp);
    EXPECT_EQ(whileOpen, 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ended.count() == 1; }, 5000));
    EXPECT_EQ(ModalWindows::instance().running(), 0);
    EXPECT_EQ(ids(albumTable(), ALB::AlbumID), (QVector<qint64>{1}));
}

}  // namespace
