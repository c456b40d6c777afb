// Release dates, dates and times as the windows show and read them, driven through the real windows
// of a started program on temporary folders: bare years stay years in the song list, the song form and
// the album picker whatever the date picture, and a date or time that cannot be read is refused with a
// message and saves nothing.

#include "access/ScriptedMessages.h"
#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "store/Store.h"
#include "store/Table.h"
#include "text/DayNumber.h"
#include "ui/services/ListColumns.h"
#include "ui/shell/MainFrame.h"
#include "ui/shell/Program.h"
#include "ui/ProgramContext.h"
#include "ui/songs/BrowseSongs.h"
#include "ui/songs/SelectAlbum.h"
#include "ui/songs/SongForm.h"
#include "ui/songs/UpdateSong.h"
#include "ui/support/ModalWindows.h"
#include "ui/support/ProgramFixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

using namespace srk;
using srk::testing::onModal;

namespace {

constexpr int kReleasedColumn = 7;
constexpr int kLastPlayedColumn = 10;

qint64 day(int y, int m, int d) {
    return dayNumberFromDate(QDate(y, m, d));
}

void retype(QLineEdit* line, const QString& text) {
    ASSERT_NE(line, nullptr);
    line->clear();
    QTest::keyClicks(line, text);
}

class DatesAndTimesTest : public srk::testing::ProgramFixture {
protected:
    void SetUp() override {
        savedLocale = QLocale();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        ASSERT_NO_FATAL_FAILURE(startProgram());
        context().preferences.AddMode = QStringLiteral("Normal");
        context().preferences.AutoAddToAlbums.clear();
        messages.clear();
    }
    void TearDown() override {
        ProgramFixture::TearDown();
        QLocale::setDefault(savedLocale);
    }

    void addSong(qint64 id, const QString& title, qint64 released, qint64 lastPlayed = 0, qint64 time = 0) {
        Record s(songsTable());
        s.setNumber(SON::ID, id);
        s.setText(SON::Artist, QStringLiteral("Artist %1").arg(id));
        s.setText(SON::Title, title);
        s.setText(SON::Media, QStringLiteral("CD"));
        s.setNumber(SON::ReleaseDate, released);
        s.setNumber(SON::LastPlayed, lastPlayed);
        s.setNumber(SON::Time, time);
        TableUse use(*context().access);
        ASSERT_TRUE(use.open(songsTable()));
        ASSERT_EQ(Table(store(), songsTable()).add(s), NoError);
    }

    Record song(qint64 id) {
        TableUse use(*context().access);
        EXPECT_TRUE(use.open(songsTable()));
        QVector<Record> rows;
        Table(store(), songsTable()).fetch(SON::KeyID, KeyAnchor::start(), true, 1000, rows);
        for (const Record& r : rows)
            if (r.number(SON::ID) == id)
                return r;
        return {};
    }

    BrowseSongs* openBrowse() {
        program->frame()->runCommand(BrowseSongs::Procedure);
        QMdiSubWindow* sub = program->frame()->workspace()->activeSubWindow();
        auto* browse = sub ? qobject_cast<BrowseSongs*>(sub->widget()) : nullptr;
        if (browse) {
            sub->resize(900, 400);
            QCoreApplication::processEvents();
        }
        return browse;
    }

    void closeBrowse(BrowseSongs* browse) {
        browse->press(BrowseSongs::Action::Close);
        QCoreApplication::processEvents();
    }

    // The text the list shows in a cell of the song with this title.
    static QString shown(BrowseSongs* browse, const QString& title, int column) {
        const QAbstractItemModel* model = browse->list()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->index(row, 1).data().toString() == title)
                return browse->columns().display(column, model->index(row, column).data());
        }
        ADD_FAILURE() << "no row " << title.toStdString();
        return {};
    }

    WindowResponse runForm(WindowRequest request, Record& record, std::function<void(SongForm*)> action) {
        onModal([action](QWidget* modal) {
            auto* form = qobject_cast<SongForm*>(modal);
            ASSERT_NE(form, nullptr) << modal->windowTitle().toStdString();
            action(form);
        });
        return UpdateSong::run(context(), request, record, nullptr);
    }

    static bool stillOpen(QWidget* form) {
        return form->isVisible() && QApplication::activeModalWidget() == form;
    }

    QLocale savedLocale;
};

TEST_F(DatesAndTimesTest, TheSongListShowsBareYearsAsYearsUnderEveryDatePicture) {
    const qint64 played = day(2024, 5, 17);
    addSong(1, QStringLiteral("Year Only"), 1988, played);
    addSong(2, QStringLiteral("Full Date"), day(1997, 3, 21), played);
    addSong(3, QStringLiteral("Undated"), 0, 0);

    // The designed picture, the system's short date.
    BrowseSongs* browse = openBrowse();
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(shown(browse, QStringLiteral("Year Only"), kReleasedColumn), QStringLiteral("1988"));
    EXPECT_EQ(shown(browse, QStringLiteral("Full Date"), kReleasedColumn), QStringLiteral("3/21/97"));
    EXPECT_EQ(shown(browse, QStringLiteral("Undated"), kReleasedColumn), QString());
    EXPECT_EQ(shown(browse, QStringLiteral("Year Only"), kLastPlayedColumn), QStringLiteral("5-17-24"));
    closeBrowse(browse);

    // A preferred date picture.
    context().preferences.DateFormat = QStringLiteral("d2");
    browse = openBrowse();
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(shown(browse, QStringLiteral("Year Only"), kReleasedColumn), QStringLiteral("1988"));
    EXPECT_EQ(shown(browse, QStringLiteral("Full Date"), kReleasedColumn), QStringLiteral("03/21/1997"));
    EXPECT_EQ(shown(browse, QStringLiteral("Full Date"), kLastPlayedColumn), QStringLiteral("05/17/2024"));
    closeBrowse(browse);

    // "Year Only": release dates become years; the day a song was last played stays a day.
    context().preferences.DateFormat = QStringLiteral("n4b");
    browse = openBrowse();
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(shown(browse, QStringLiteral("Year Only"), kReleasedColumn), QStringLiteral("1988"));
    EXPECT_EQ(shown(browse, QStringLiteral("Full Date"), kReleasedColumn), QStringLiteral("1997"));
    EXPECT_EQ(shown(browse, QStringLiteral("Undated"), kReleasedColumn), QString());
    EXPECT_EQ(shown(browse, QStringLiteral("Full Date"), kLastPlayedColumn), QStringLiteral("5-17-24"));
    EXPECT_EQ(shown(browse, QStringLiteral("Undated"), kLastPlayedColumn), QString());
    closeBrowse(browse);
}

TEST_F(DatesAndTimesTest, TheSongFormShowsABareYearAndEditingItKeepsAYear) {
    addSong(1, QStringLiteral("Year Only"), 1988);
    for (const QString& preference : {QString(), QStringLiteral("d2"), QStringLiteral("n4b")}) {
        context().preferences.DateFormat = preference;
        Record record = song(1);
        QString before;
        const WindowResponse r = runForm(WindowRequest::Change, record, [&](SongForm* form) {
            before = form->lineEdit(SON::ReleaseDate)->text();
            retype(form->lineEdit(SON::Title), QStringLiteral("Year Only ") + preference);
            QTest::mouseClick(form->okButton(), Qt::LeftButton);
        });
        EXPECT_EQ(r, WindowResponse::Completed) << preference.toStdString();
        EXPECT_EQ(before, QStringLiteral("1988")) << preference.toStdString();
        EXPECT_EQ(song(1).number(SON::ReleaseDate), 1988) << preference.toStdString();

        // Typing another year stores that year, not a day of the early 1800s.
        record = song(1);
        runForm(WindowRequest::Change, record, [&](SongForm* form) {
            retype(form->lineEdit(SON::ReleaseDate), QStringLiteral("1990"));
            QTest::mouseClick(form->okButton(), Qt::LeftButton);
        });
        EXPECT_EQ(song(1).number(SON::ReleaseDate), 1990) << preference.toStdString();
        record = song(1);
        runForm(WindowRequest::Change, record, [&](SongForm* form) {
            before = form->lineEdit(SON::ReleaseDate)->text();
            retype(form->lineEdit(SON::ReleaseDate), QStringLiteral("1988"));
            QTest::mouseClick(form->okButton(), Qt::LeftButton);
        });
        EXPECT_EQ(before, QStringLiteral("1990")) << preference.toStdString();
        EXPECT_EQ(song(1).number(SON::ReleaseDate), 1988) << preference.toStdString();
    }
    EXPECT_EQ(messages.count(), 0) << messages.titles().join(u',').toStdString();
}

TEST_F(DatesAndTimesTest, TheDittoKeyBringsABareYearBackAsTheYear) {
    Record first(songsTable());
    runForm(WindowRequest::Insert, first, [&](SongForm* form) {
        retype(form->lineEdit(SON::Title), QStringLiteral("First"));
        retype(form->lineEdit(SON::ReleaseDate), QStringLiteral("1988"));
        QTest::mouseClick(form->okButton(), Qt::LeftButton);
    });
    Record second(songsTable());
    QString dittoed;
    const WindowResponse r = runForm(WindowRequest::Insert, second, [&](SongForm* form) {
        retype(form->lineEdit(SON::Title), QStringLiteral("Second"));
        QLineEdit* date = form->lineEdit(SON::ReleaseDate);
        QApplication::setActiveWindow(form);
        date->setFocus();
        QTest::keyClick(date, Qt::Key_Apostrophe, Qt::ControlModifier);
        dittoed = date->text();
        QTest::mouseClick(form->okButton(), Qt::LeftButton);
    });
    EXPECT_EQ(r, WindowResponse::Completed);
    EXPECT_EQ(dittoed, QStringLiteral("1988"));
    EXPECT_EQ(second.number(SON::ReleaseDate), 1988);
    EXPECT_EQ(messages.count(), 0) << messages.titles().join(u',').toStdString();
}

TEST_F(DatesAndTimesTest, AnImpossibleDateIsRefusedSelectedAndNothingIsSavedUntilCorrected) {
    context().preferences.DateFormat = QStringLiteral("d8");
    addSong(1, QStringLiteral("Leap"), day(2019, 6, 1));
    Record record = song(1);
    bool stayed = false, selected = false, stayedOnEnter = false;
    qint64 storedMeanwhile = -1;
    const WindowResponse r = runForm(WindowRequest::Change, record, [&](SongForm* form) {
        QLineEdit* date = form->lineEdit(SON::ReleaseDate);
        retype(date, QStringLiteral("31 Feb 2020"));
        retype(form->lineEdit(SON::Title), QStringLiteral("Leap Day"));
        QTest::mouseClick(form->okButton(), Qt::LeftButton);
        stayed = stillOpen(form);
        selected = form->focusWidget() == date && date->selectedText() == QStringLiteral("31 Feb 2020") &&
                   form->tabs()->currentIndex() == 0;
        storedMeanwhile = song(1).number(SON::ReleaseDate);
        // Enter in the field says it once more and does not press OK.
        QTest::keyClick(date, Qt::Key_Return);
        stayedOnEnter = stillOpen(form);
        retype(date, QStringLiteral("29 Feb 2020"));
        QTest::mouseClick(form->okButton(), Qt::LeftButton);
    });
    EXPECT_TRUE(stayed);
    EXPECT_TRUE(selected);
    EXPECT_TRUE(stayedOnEnter);
    EXPECT_EQ(storedMeanwhile, day(2019, 6, 1));
    EXPECT_EQ(r, WindowResponse::Completed);
    EXPECT_EQ(song(1).number(SON::ReleaseDate), day(2020, 2, 29));
    EXPECT_EQ(song(1).text(SON::Title), QStringLiteral("Leap Day"));
    ASSERT_GE(messages.count(), 2);
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("Invalid Date"));
    EXPECT_TRUE(messages.shown()[0].text.startsWith(QStringLiteral("\"31 Feb 2020\" is not a date.")))
        << messages.shown()[0].text.toStdString();
    EXPECT_TRUE(messages.shown()[0].text.contains(QStringLiteral("31 OCT 1959")));

    // Emptying the field is also a way out: no date.
    messages.clear();
    record = song(1);
    runForm(WindowRequest::Change, record, [&](SongForm* form) {
        retype(form->lineEdit(SON::ReleaseDate), QStringLiteral("Feb 30"));
        QTest::mouseClick(form->okButton(), Qt::LeftButton);
        form->lineEdit(SON::ReleaseDate)->clear();
        QTest::mouseClick(form->okButton(), Qt::LeftButton);
    });
    EXPECT_EQ(messages.titles(), QStringList{QStringLiteral("Invalid Date")});
    EXPECT_EQ(song(1).number(SON::ReleaseDate), 0);
}

TEST_F(DatesAndTimesTest, ATimeThatIsNoTimeIsRefusedAndNotCleared) {
    addSong(1, QStringLiteral("Timed"), 0, 0, timeValue(0, 4, 10));
    Record record = song(1);
    QString kept;
    bool stayed = false, selected = false;
    const WindowResponse r = runForm(WindowRequest::Change, record, [&](SongForm* form) {
        QLineEdit* time = form->lineEdit(SON::Time);
        retype(time, QStringLiteral("abc"));
        QTest::mouseClick(form->okButton(), Qt::LeftButton);
        stayed = stillOpen(form);
        kept = time->text();
        selected = form->focusWidget() == time && time->selectedText() == QStringLiteral("abc");
        retype(time, QStringLiteral("0:05:20"));
        QTest::mouseClick(form->okButton(), Qt::LeftButton);
    });
    EXPECT_TRUE(stayed);
    EXPECT_EQ(kept, QStringLiteral("abc"));
    EXPECT_TRUE(selected);
    EXPECT_EQ(r, WindowResponse::Completed);
    EXPECT_EQ(song(1).number(SON::Time), timeValue(0, 5, 20));
    ASSERT_GE(messages.count(), 1);
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("Invalid Time"));
    EXPECT_EQ(
        messages.shown()[0].text,
        QStringLiteral("\"abc\" is not a time. Type a time such as 00:03:45, or leave the field empty."));
}

TEST_F(DatesAndTimesTest, TheAlbumPickerShowsBareYearsAndThePreferredPicture) {
    for (const auto& [id, name, released] :
         {std::tuple{1, "Aja", qint64(1977)}, std::tuple{2, "Gaucho", day(1980, 11, 21)}}) {
        Record a(albumTable());
        a.setNumber(ALB::AlbumID, id);
        a.setText(ALB::Album, QString::fromLatin1(name));
        a.setText(ALB::Artist, QStringLiteral("Steely Dan"));
        a.setNumber(ALB::ReleaseDate, released);
        TableUse use(*context().access);
        ASSERT_TRUE(use.open(albumTable()));
        ASSERT_EQ(Table(store(), albumTable()).add(a), NoError);
    }
    const auto releases = [this] {
        SelectAlbum picker(context(), program->frame());
        picker.show();
        QCoreApplication::processEvents();
        const QAbstractItemModel* model = picker.list()->model();
        QStringList out;
        for (int row = 0; row < model->rowCount(); ++row)
            out << model->index(row, 4).data().toString();
        picker.reject();
        return out;
    };
    EXPECT_EQ(releases(), (QStringList{QStringLiteral("1977"), QStringLiteral("11/21/1980")}));
    context().preferences.DateFormat = QStringLiteral("d8");
    EXPECT_EQ(releases(), (QStringList{QStringLiteral("1977"), QStringLiteral("21 NOV 1980")}));
    context().preferences.DateFormat = QStringLiteral("n4b");
    EXPECT_EQ(releases(), (QStringList{QStringLiteral("1977"), QStringLiteral("1980")}));
}

} // namespace
