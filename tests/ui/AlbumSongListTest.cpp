// The album's song list through the real widget, hosted in a test window over a started program on
// temporary folders with a real album in the album file: what it lists, its buttons and popup, the
// song forms it opens, linking existing songs, editing them all, and songs dropped on it. What was
// written is read back from the files through a connection of its own.

#include "access/ScriptedMessages.h"
#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "settings/IniFile.h"
#include "store/PageCursor.h"
#include "store/Store.h"
#include "store/Table.h"
#include "text/DayNumber.h"
#include "ui/ProgramContext.h"
#include "ui/albums/AlbumSongList.h"
#include "ui/services/DragPayload.h"
#include "ui/services/ListColumns.h"
#include "ui/services/PageModel.h"
#include "ui/shell/Program.h"
#include "ui/songs/BrowseSongs.h"
#include "ui/songs/SelectFileNumber.h"
#include "ui/songs/SongForm.h"
#include "ui/support/ModalWindows.h"
#include "ui/support/ProgramFixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QDialog>
#include <QDropEvent>
#include <QMouseEvent>
#include <QDrag>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace srk;
using srk::testing::onModal;

namespace {

constexpr qint64 kAlbumId = 7;

void typeInto(QWidget* editor, const QString& text) {
    if (auto* combo = qobject_cast<QComboBox*>(editor))
        editor = combo->lineEdit();
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->clear();
    QTest::keyClicks(editor, text);
}

// Closes any modal window that comes up while it lives, and counts them: for steps that must open none.
class NoModalExpected {
public:
    NoModalExpected() {
        m_poll.setInterval(10);
        QObject::connect(&m_poll, &QTimer::timeout, [this] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                ++m_seen;
                dialog->reject();
            }
        });
        m_poll.start();
    }
    int seen() const { return m_seen; }

private:
    QTimer m_poll;
    int m_seen = 0;
};

class AlbumSongListTest : public srk::testing::ProgramFixture {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(startProgram());
        context().preferences.AutoAddToAlbums.clear();
        album = Record(albumTable());
        album.setNumber(ALB::AlbumID, kAlbumId);
        album.setText(ALB::Artist, QStringLiteral("Nick Drake"));
        album.setText(ALB::Album, QStringLiteral("Pink Moon"));
        album.setText(ALB::Media, QStringLiteral("CD"));
        album.setText(ALB::FileNumber, QStringLiteral("ND-3"));
        album.setNumber(ALB::ReleaseDate, 1972);
        add(album);
    }

    void TearDown() override {
        if (list)
            list->release();
        host.reset();
        ProgramFixture::TearDown();
    }

    Record song(qint64 id, qint64 albumId, qint64 track, const QString& title, const QString& media = QStringLiteral("CD"),
                const QString& fileNumber = QStringLiteral("ND-3")) {
        Record s(songsTable());
        s.setNumber(SON::ID, id);
        s.setNumber(SON::AlbumID, albumId);
        s.setNumber(SON::TrackNumber, track);
        s.setText(SON::Title, title);
        s.setText(SON::Artist, QStringLiteral("Nick Drake"));
        s.setText(SON::Media, media);
        s.setText(SON::FileNumber, fileNumber);
        return s;
    }
    void addSong(qint64 id, qint64 albumId, qint64 track, const QString& title,
                 const QString& media = QStringLiteral("CD"), const QString& fileNumber = QStringLiteral("ND-3")) {
        add(song(id, albumId, track, title, media, fileNumber));
    }

    // The list inside a window of its own, showing `album` as a form would.
    void openList() {
        host = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(host.get());
        list = new AlbumSongList(context(), [this] { return album; }, host.get());
        layout->addWidget(list);
        host->resize(900, 500);
        host->show();
        QCoreApplication::processEvents();
    }

    // The song file as another connection finds it on disk, by song id.
    QVector<Record> onDisk() {
        Store disk(data.path());
        EXPECT_TRUE(disk.connect());
        EXPECT_EQ(disk.openFile(songsTable()), NoError);
        QVector<Record> rows;
        Table(disk, songsTable()).fetch(SON::KeyID, KeyAnchor::start(), true, 1000, rows);
        return rows;
    }
    Record onDisk(qint64 id) {
        for (const Record& r : onDisk())
            if (r.number(SON::ID) == id)
                return r;
        return Record();
    }

    QStringList listedTitles() const {
        QStringList out;
        for (const PageRow& r : list->model()->cursor().rows())
            out << r.primary().text(SON::Title);
        return out;
    }

    // Presses a button that opens the album's song form; `action` gets the form.
    void pressWithForm(AlbumSongList::Action action, std::function<void(SongForm*)> onForm) {
        bool up = false;
        onModal([&up, onForm](QWidget* modal) {
            auto* form = qobject_cast<SongForm*>(modal);
            ASSERT_NE(form, nullptr) << modal->windowTitle().toStdString();
            up = true;
            onForm(form);
        });
        list->press(action);
        EXPECT_TRUE(up);
    }

    Record album;
    std::unique_ptr<QWidget> host;
    AlbumSongList* list = nullptr;
};

TEST_F(AlbumSongListTest, ListsTheAlbumsSongsInTrackOrderWithItsColumnsAndButtons) {
    addSong(1, kAlbumId, 3, QStringLiteral("Three"));
    addSong(2, kAlbumId, 1, QStringLiteral("One"));
    addSong(3, 9, 2, QStringLiteral("Other album"));
    addSong(4, 0, 1, QStringLiteral("No album"));
    Record dated = song(5, kAlbumId, 2, QStringLiteral("Two"));
    dated.setNumber(SON::ReleaseDate, 1972);
    add(dated);
    openList();

    EXPECT_EQ(listedTitles(), (QStringList{QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")}));
    QStringList headers;
    for (int i = 0; i < list->columns().format().columnCount(); ++i)
        headers << list->columns().header(i);
    EXPECT_EQ(headers.join(u','),
              QStringLiteral("Track Number,Artist,Title,Time,Media,File Number,Release Date"));
    // A bare year shows as the year.
    EXPECT_EQ(list->columns().display(6, list->model()->index(1, 6).data()), QStringLiteral("1972"));
    EXPECT_EQ(list->columns().display(0, list->model()->index(2, 0).data()).trimmed(), QStringLiteral("3"));

    QStringList texts;
    for (QPushButton* b : list->findChildren<QPushButton*>())
        texts << b->text();
    EXPECT_EQ(texts.join(u','), QStringLiteral("&Add,Cop&y,&Change,&Delete,Select Ex&isting Songs,Edit All Son&gs"));
    EXPECT_EQ(list->button(AlbumSongList::Action::Copy)->toolTip(), QStringLiteral("Copy record"));
    bool note = false;
    for (QLabel* l : list->findChildren<QLabel*>())
        note = note || (l->text().contains(u'\n') && l->text().contains(QStringLiteral("dragged")));
    EXPECT_TRUE(note);

    // An album without its number yet lists nothing, not the songs of no album.
    album.setNumber(ALB::AlbumID, 0);
    list->rebuild();
    EXPECT_TRUE(listedTitles().isEmpty());
    EXPECT_FALSE(list->button(AlbumSongList::Action::Add)->isEnabled());
    album.setNumber(ALB::AlbumID, kAlbumId);
    list->rebuild();
    EXPECT_EQ(listedTitles().size(), 3);
}

TEST_F(AlbumSongListTest, TheLayoutIsKeptUnderItsOwnNames) {
    openList();
    list->release();
    EXPECT_FALSE(
        context().positions.readString(QStringLiteral("UpdateAlbums"), QStringLiteral("SRCF?Browse:2")).isEmpty());
    EXPECT_FALSE(context()
                     .positions.readString(QStringLiteral("UpdateAlbums"), QStringLiteral("SRCFOriginal?Browse:2"))
                     .isEmpty());
}

TEST_F(AlbumSongListTest, AddChangeAndDeleteGoThroughTheAlbumsSongForm) {
    addSong(1, kAlbumId, 1, QStringLiteral("Pink Moon"));
    openList();

    pressWithForm(AlbumSongList::Action::Add, [](SongForm* form) {
        EXPECT_EQ(form->objectName(), QStringLiteral("UPDATESONGSFORALBUM"));
        EXPECT_EQ(form->lineEdit(SON::Album)->text(), QStringLiteral("Pink Moon"));
        typeInto(form->editor(SON::Title), QStringLiteral("Place To Be"));
        QTest::mouseClick(form->okButton(), Qt::LeftButton);
    });
    Record added = onDisk(2);
    ASSERT_TRUE(added.isValid());
    EXPECT_EQ(added.text(SON::Title), QStringLiteral("Place To Be"));
    EXPECT_EQ(added.number(SON::AlbumID), kAlbumId);
    EXPECT_EQ(added.number(SON::TrackNumber), 2);
    EXPECT_EQ(added.text(SON::FileNumber), QStringLiteral("ND-3"));
    EXPECT_EQ(listedTitles(), (QStringList{QStringLiteral("Pink Moon"), QStringLiteral("Place To Be")}));
    EXPECT_EQ(list->highlightedSong().number(SON::ID), 2);

    pressWithForm(AlbumSongList::Action::Change, [](SongForm* form) {
        EXPECT_EQ(form->lineEdit(SON::Title)->text(), QStringLiteral("Place To Be"));
        typeInto(form->editor(SON::Title), QStringLiteral("Road"));
        QTest::mouseClick(form->okButton(), Qt::LeftButton);
    });
    EXPECT_EQ(onDisk(2).text(SON::Title), QStringLiteral("Road"));
    EXPECT_EQ(listedTitles(), (QStringList{QStringLiteral("Pink Moon"), QStringLiteral("Road")}));

    // A cancelled add leaves nothing behind and the list as it was.
    pressWithForm(AlbumSongList::Action::Add, [](SongForm* form) { form->cancelButton()->click(); });
    EXPECT_EQ(onDisk().size(), 2);
    EXPECT_EQ(listedTitles().size(), 2);

    messages.clear();
    messages.addAnswer(ButtonOk);
    list->press(AlbumSongList::Action::Delete);
    ASSERT_EQ(messages.titles(), QStringList{QStringLiteral("Confirm Delete")});
    EXPECT_FALSE(onDisk(2).isValid());
    EXPECT_EQ(listedTitles(), QStringList{QStringLiteral("Pink Moon")});
}

TEST_F(AlbumSongListTest, CopyTakesTheSongsValuesUnderTheAlbumWithANewIdAndTheNextTrack) {
    Record source = song(1, kAlbumId, 1, QStringLiteral("Pink Moon"), QStringLiteral("LP"), QStringLiteral("OLD-1"));
    source.setText(SON::Composer, QStringLiteral("N. Drake"));
    source.setText(SON::Notes, QStringLiteral("Recorded at night"));
    source.setText(SON::Artist, QStringLiteral("Someone Else"));
    add(source);
    addSong(2, kAlbumId, 2, QStringLiteral("Place To Be"));
    openList();
    ASSERT_EQ(list->highlightedSong().number(SON::ID), 1);
    pressWithForm(AlbumSongList::Action::Copy, [](SongForm* form) {
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Adding Information"));
        EXPECT_EQ(form->lineEdit(SON::Title)->text(), QStringLiteral("Pink Moon"));
        QTest::mouseClick(form->okButton(), Qt::LeftButton);
    });
    const Record copy = onDisk(3);
    ASSERT_TRUE(copy.isValid());
    EXPECT_EQ(copy.text(SON::Title), QStringLiteral("Pink Moon"));
    EXPECT_EQ(copy.text(SON::Composer), QStringLiteral("N. Drake"));
    EXPECT_EQ(copy.text(SON::Notes), QStringLiteral("Recorded at night"));
    // Its own medium; the album's fields; the next track.
    EXPECT_EQ(copy.text(SON::Media), QStringLiteral("LP"));
    EXPECT_EQ(copy.text(SON::Artist), QStringLiteral("Nick Drake"));
    EXPECT_EQ(copy.text(SON::FileNumber), QStringLiteral("ND-3"));
    EXPECT_EQ(copy.number(SON::ReleaseDate), 1972);
    EXPECT_EQ(copy.number(SON::AlbumID), kAlbumId);
    EXPECT_EQ(copy.number(SON::TrackNumber), 3);
    // The source is untouched.
    EXPECT_EQ(onDisk(1).text(SON::FileNumber), QStringLiteral("OLD-1"));
    EXPECT_EQ(listedTitles().size(), 3);
    EXPECT_EQ(list->highlightedSong().number(SON::ID), 3);
}

TEST_F(AlbumSongListTest, ThePopupGreysWhatNeedsASongOnAnEmptyList) {
    openList();
    auto states = [this] {
        std::unique_ptr<QMenu> menu(list->buildPopup());
        QStringList out;
        for (QAction* a : menu->actions())
            out << (a->isSeparator() ? QStringLiteral("-") : a->text() + QChar(a->isEnabled() ? u'+' : u'0'));
        return out.join(u'|');
    };
    EXPECT_EQ(states(), QStringLiteral("&Add+|&Change0|&Delete0|-|Cop&y0"));
    EXPECT_FALSE(list->button(AlbumSongList::Action::Change)->isEnabled());
    addSong(1, kAlbumId, 1, QStringLiteral("Pink Moon"));
    list->rebuild();
    EXPECT_EQ(states(), QStringLiteral("&Add+|&Change+|&Delete+|-|Cop&y+"));
}

TEST_F(AlbumSongListTest, YesAssignsTheSongsOfTheAlbumsMediumAndFileNumber) {
    addSong(1, 0, 4, QStringLiteral("River Man"));
    addSong(2, 9, 2, QStringLiteral("Hazey Jane"));
    addSong(3, 0, 1, QStringLiteral("Vinyl only"), QStringLiteral("LP"));
    addSong(4, 0, 1, QStringLiteral("Next number"), QStringLiteral("CD"), QStringLiteral("ND-4"));
    openList();
    EXPECT_TRUE(listedTitles().isEmpty());
    messages.addAnswer(ButtonYes);
    NoModalExpected noPicker;
    list->press(AlbumSongList::Action::SelectExisting);
    EXPECT_EQ(noPicker.seen(), 0);
    ASSERT_EQ(messages.titles(),
              (QStringList{QStringLiteral("Assign Songs To Album"), QStringLiteral("Process complete.")}));
    EXPECT_EQ(messages.shown().at(0).text,
              QStringLiteral("Do you want to assign all songs with file number \"ND-3\" and media type \"CD\" "
                             "to this album?"));
    EXPECT_EQ(messages.last().text, QStringLiteral("2 songs assigned."));
    EXPECT_EQ(onDisk(1).number(SON::AlbumID), kAlbumId);
    EXPECT_EQ(onDisk(2).number(SON::AlbumID), kAlbumId);
    EXPECT_EQ(onDisk(3).number(SON::AlbumID), 0);
    EXPECT_EQ(onDisk(4).number(SON::AlbumID), 0);
    EXPECT_EQ(onDisk(1).number(SON::TrackNumber), 4);
    // Listed in track order at once.
    EXPECT_EQ(listedTitles(), (QStringList{QStringLiteral("Hazey Jane"), QStringLiteral("River Man")}));
}

TEST_F(AlbumSongListTest, CancelDoesNothingAndNoLetsTheUserPickOneSong) {
    addSong(1, 0, 4, QStringLiteral("River Man"));
    addSong(2, 9, 3, QStringLiteral("Cello Song"), QStringLiteral("LP"), QStringLiteral("X-1"));
    openList();
    {
        messages.addAnswer(ButtonCancel);
        NoModalExpected noPicker;
        list->press(AlbumSongList::Action::SelectExisting);
        EXPECT_EQ(noPicker.seen(), 0);
        EXPECT_EQ(messages.titles(), QStringList{QStringLiteral("Assign Songs To Album")});
        EXPECT_EQ(onDisk(1).number(SON::AlbumID), 0);
    }
    messages.clear();
    messages.addAnswer(ButtonNo);
    bool picked = false;
    onModal([&picked](QWidget* modal) {
        auto* picker = qobject_cast<SelectFileNumber*>(modal);
        ASSERT_NE(picker, nullptr) << modal->windowTitle().toStdString();
        BrowseSongs* b = picker->browse();
        for (int row = 0; row < b->model()->rowCount(); ++row)
            if (b->cursor().rows().at(row).primary().number(SON::ID) == 2)
                b->model()->setHighlight(row);
        ASSERT_EQ(b->highlightedSong().number(SON::ID), 2);
        picked = true;
        b->press(BrowseSongs::Action::Select);
    });
    list->press(AlbumSongList::Action::SelectExisting);
    EXPECT_TRUE(picked);
    EXPECT_EQ(messages.titles(), QStringList{QStringLiteral("Assign Songs To Album")});
    EXPECT_EQ(onDisk(2).number(SON::AlbumID), kAlbumId);
    EXPECT_EQ(onDisk(2).number(SON::TrackNumber), 3);
    EXPECT_EQ(onDisk(1).number(SON::AlbumID), 0);
    EXPECT_EQ(listedTitles(), QStringList{QStringLiteral("Cello Song")});
    EXPECT_EQ(list->highlightedSong().number(SON::ID), 2);

    // Without a file number the picker comes at once; closing it links nothing.
    album.setText(ALB::FileNumber, QString());
    messages.clear();
    onModal([](QWidget* modal) {
        auto* picker = qobject_cast<SelectFileNumber*>(modal);
        ASSERT_NE(picker, nullptr);
        picker->reject();
    });
    list->press(AlbumSongList::Action::SelectExisting);
    EXPECT_EQ(messages.count(), 0);
    EXPECT_EQ(onDisk(1).number(SON::AlbumID), 0);
}

TEST_F(AlbumSongListTest, EditAllWalksTheSongsInTrackOrderUntilAFormIsCancelled) {
    {
        openList();
        NoModalExpected noForm;
        list->press(AlbumSongList::Action::EditAll);
        EXPECT_EQ(noForm.seen(), 0);
        list->release();
        host.reset();
        list = nullptr;
    }
    addSong(1, kAlbumId, 3, QStringLiteral("Three"));
    addSong(2, kAlbumId, 1, QStringLiteral("One"));
    addSong(3, kAlbumId, 2, QStringLiteral("Two"));
    addSong(4, kAlbumId, 4, QStringLiteral("Four"));
    openList();
    QStringList shown;
    // OK, OK (moving the second song to the end, which must not bring it up again), Cancel.
    std::function<void(QWidget*)> answer = [&](QWidget* modal) {
        auto* form = qobject_cast<SongForm*>(modal);
        ASSERT_NE(form, nullptr) << modal->windowTitle().toStdString();
        const QString title = form->lineEdit(SON::Title)->text();
        shown << title;
        if (shown.size() == 3) {
            form->cancelButton()->click();
            return;
        }
        onModal(answer);
        typeInto(form->editor(SON::Title), title + QStringLiteral(" (edited)"));
        if (shown.size() == 2)
            typeInto(form->editor(SON::TrackNumber), QStringLiteral("9"));
        QTest::mouseClick(form->okButton(), Qt::LeftButton);
    };
    onModal(answer);
    list->press(AlbumSongList::Action::EditAll);
    EXPECT_EQ(shown, (QStringList{QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")}));
    EXPECT_EQ(onDisk(2).text(SON::Title), QStringLiteral("One (edited)"));
    EXPECT_EQ(onDisk(3).text(SON::Title), QStringLiteral("Two (edited)"));
    EXPECT_EQ(onDisk(3).number(SON::TrackNumber), 9);
    EXPECT_EQ(onDisk(1).text(SON::Title), QStringLiteral("Three"));
    EXPECT_EQ(onDisk(4).text(SON::Title), QStringLiteral("Four"));
    EXPECT_EQ(listedTitles(), (QStringList{QStringLiteral("One (edited)"), QStringLiteral("Three"),
                                           QStringLiteral("Four"), QStringLiteral("Two (edited)")}));
}

TEST_F(AlbumSongListTest, ADroppedSongBecomesASecondRecordOfThisAlbum) {
    addSong(1, kAlbumId, 1, QStringLiteral("Pink Moon"));
    addSong(2, 9, 5, QStringLiteral("River Man"), QStringLiteral("LP"), QStringLiteral("FL-1"));
    openList();
    QWidget* target = list->list()->viewport();
    const QPoint at = target->rect().center();

    // Another drag id is refused.
    std::unique_ptr<QMimeData> other(makeDragData(QStringLiteral("Albums"), QStringLiteral("2")));
    QDragEnterEvent refused(at, Qt::CopyAction, other.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &refused);
    EXPECT_FALSE(refused.isAccepted());

    std::unique_ptr<QMimeData> songs(makeDragData(kSongsDragId, QStringLiteral("2")));
    QDragEnterEvent enter(at, Qt::CopyAction, songs.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, songs.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    EXPECT_TRUE(drop.isAccepted());
    ASSERT_TRUE(QTest::qWaitFor([this] { return onDisk().size() == 3; }, 2000));

    const Record copy = onDisk(3);
    EXPECT_EQ(copy.number(SON::AlbumID), kAlbumId);
    EXPECT_EQ(copy.text(SON::Title), QStringLiteral("River Man"));
    EXPECT_EQ(copy.number(SON::TrackNumber), 5);
    EXPECT_EQ(copy.text(SON::FileNumber), QStringLiteral("FL-1"));
    EXPECT_EQ(onDisk(2).number(SON::AlbumID), 9);
    EXPECT_EQ(listedTitles(), (QStringList{QStringLiteral("Pink Moon"), QStringLiteral("River Man")}));
    EXPECT_EQ(list->highlightedSong().number(SON::ID), 3);
    EXPECT_EQ(messages.count(), 0);

    // A song of this list dropped on it again is copied once more; an unknown one does nothing.
    list->dropSong(1);
    EXPECT_EQ(onDisk(4).text(SON::Title), QStringLiteral("Pink Moon"));
    EXPECT_EQ(onDisk(4).number(SON::AlbumID), kAlbumId);
    list->dropSong(99);
    EXPECT_EQ(onDisk().size(), 4);
    EXPECT_EQ(listedTitles().size(), 3);
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(AlbumSongListTest, FollowsSongsChangedElsewhere) {
    addSong(1, kAlbumId, 1, QStringLiteral("Pink Moon"));
    openList();
    // Another station adds a song to the album.
    {
        Store other(data.path());
        ASSERT_TRUE(other.connect());
        ASSERT_EQ(other.openFile(songsTable()), NoError);
        Record s = song(2, kAlbumId, 2, QStringLiteral("Place To Be"));
        ASSERT_EQ(Table(other, songsTable()).add(s), NoError);
    }
    QCoreApplication::processEvents();
    context().access->checkOtherStations();
    EXPECT_TRUE(QTest::qWaitFor([this] { return listedTitles().size() == 2; }, 5000));
}

TEST_F(AlbumSongListTest, KeysAndDoubleClickPressTheButtons) {
    addSong(1, kAlbumId, 1, QStringLiteral("Pink Moon"));
    openList();
    QTableView* view = list->list();
    view->setFocus();
    QStringList forms;
    auto cancelForm = [&forms](QWidget* modal) {
        auto* form = qobject_cast<SongForm*>(modal);
        ASSERT_NE(form, nullptr) << modal->windowTitle().toStdString();
        forms << form->windowTitle();
        form->cancelButton()->click();
    };
    onModal(cancelForm);
    QTest::keyClick(view, Qt::Key_Insert);
    onModal(cancelForm);
    QTest::keyClick(view, Qt::Key_Return, Qt::ControlModifier);
    onModal(cancelForm);
    const QRect row = view->visualRect(list->model()->index(0, 2));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
    EXPECT_EQ(forms, (QStringList{QStringLiteral("Adding Information"), QStringLiteral("Changing Information"),
                                  QStringLiteral("Changing Information")}));
    messages.clear();
    messages.addAnswer(ButtonCancel);
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(messages.titles(), QStringList{QStringLiteral("Confirm Delete")});
    EXPECT_EQ(onDisk().size(), 1);
    EXPECT_EQ(listedTitles(), QStringList{QStringLiteral("Pink Moon")});
}

TEST_F(AlbumSongListTest, TheListIsADragSourceOfTheHighlightedSongsId) {
    addSong(1, kAlbumId, 1, QStringLiteral("Pink Moon"));
    addSong(12, kAlbumId, 2, QStringLiteral("Place To Be"));
    openList();
    QTableView* view = list->list();
    QWidget* viewport = view->viewport();
    const QPoint from = view->visualRect(list->model()->index(1, 2)).center();
    const QPoint to = from + QPoint(0, 40);
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, from);
    ASSERT_EQ(list->highlightedSong().number(SON::ID), 12);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), viewport->mapToGlobal(QPointF(to)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &move);
    // The drag has run (without a desktop to drop on, it ends at once); it is still there until the
    // event loop deletes it.
    auto* drag = view->findChild<QDrag*>();
    ASSERT_NE(drag, nullptr);
    ASSERT_NE(drag->mimeData(), nullptr);
    EXPECT_EQ(dropValue(drag->mimeData(), kSongsDragId).value_or(QString()), QStringLiteral("12"));

    // What it carries, let go on this same list, copies the song within the album.
    QDragEnterEvent enter(to, Qt::CopyAction, drag->mimeData(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(to), Qt::CopyAction, drag->mimeData(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &drop);
    EXPECT_TRUE(drop.isAccepted());
    ASSERT_TRUE(QTest::qWaitFor([this] { return onDisk().size() == 3; }, 2000));
    const Record copy = onDisk(3);
    EXPECT_EQ(copy.text(SON::Title), QStringLiteral("Place To Be"));
    EXPECT_EQ(copy.number(SON::AlbumID), kAlbumId);
    EXPECT_EQ(copy.number(SON::TrackNumber), 2);
}

} // namespace
