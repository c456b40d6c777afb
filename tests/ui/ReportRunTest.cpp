// Catalogue reports started from the program: the criteria window, the progress window and its cancel
// dialogue, the preview and the messages of empty runs. The program runs for real on temporary folders.

#include "ui/reports/ReportRun.h"

#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "reports/PageFile.h"
#include "reports/ReportCriteria.h"
#include "reports/ReportJob.h"
#include "reports/ReportMember.h"
#include "reports/ReportPageList.h"
#include "settings/IniFile.h"
#include "store/Store.h"
#include "store/Table.h"
#include "ui/ProgramContext.h"
#include "ui/albums/BrowseAlbums.h"
#include "ui/reports/ReportCancelling.h"
#include "ui/reports/ReportCriteriaWindow.h"
#include "ui/reports/ReportPreview.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/ProgressWindow.h"
#include "ui/shell/MainFrame.h"
#include "ui/support/ModalWindows.h"
#include "ui/support/ProgramFixture.h"

#include <QCheckBox>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QProgressBar>
#include <QFileInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

using namespace srk;
using namespace srk::testing;

namespace {

// The texts of a page file, in order.
QStringList pageTexts(const QString& path) {
    Page page;
    QStringList texts;
    if (readPage(path, page))
        for (const PageItem& item : page.items)
            if (item.kind == PageItem::Text)
                texts << item.text;
    return texts;
}

// Counts the progress windows that come up.
class ProgressWatch : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            if (auto* w = qobject_cast<ProgressWindow*>(watched)) {
                ++shown;
                titles << w->windowTitle();
            }
        return false;
    }
    int shown = 0;
    QStringList titles;
};

class ReportRunTest : public ProgramFixture {
protected:
    void SetUp() override {
        catchSignals = true;
        ASSERT_NO_FATAL_FAILURE(startProgram());
        frame = program->frame();
        reportCriteria() = ReportCriteria{};
        qApp->installEventFilter(&watch);
    }
    void TearDown() override {
        qApp->removeEventFilter(&watch);
        ProgramFixture::TearDown();
    }

    void addSongs(int count, qint64 albumId = 0, int firstId = 1) {
        TableUse use(*context().access);
        ASSERT_TRUE(use.open(songsTable()));
        Table songs(store(), songsTable());
        for (int i = 0; i < count; ++i) {
            Record s(songsTable());
            s.setNumber(SON::ID, firstId + i);
            s.setNumber(SON::AlbumID, albumId);
            s.setText(SON::Artist, QStringLiteral("Artist %1").arg(firstId + i, 4, 10, QLatin1Char('0')));
            s.setText(SON::Title, QStringLiteral("Title %1").arg(firstId + i));
            s.setText(SON::Album, QStringLiteral("Album %1").arg(albumId));
            s.setText(SON::Media, QStringLiteral("CD"));
            ASSERT_EQ(songs.add(s), NoError);
        }
    }

    // Answers the criteria window: style, preview and an optional prefix.
    // `next` is called just before "&Ok", to wait for the window that follows.
    void answerCriteria(bool brief, bool preview, const QString& prefix = QString(), std::function<void()> next = {}) {
        onModal([=](QWidget* w) {
            ASSERT_NE(qobject_cast<ReportCriteriaWindow*>(w), nullptr) << w->windowTitle().toStdString();
            w->findChild<QRadioButton*>(brief ? QStringLiteral("styleBrief") : QStringLiteral("styleStandard"))->click();
            w->findChild<QCheckBox*>(QStringLiteral("previewFlag"))->setChecked(preview);
            if (!prefix.isEmpty()) {
                w->findChild<QRadioButton*>(QStringLiteral("includeSelected"))->click();
                w->findChild<QLineEdit*>(QStringLiteral("reportSelection"))->setText(prefix);
            }
            if (next)
                next();
            buttonWithText(w, QStringLiteral("&Ok"))->click();
        });
    }

    // Runs `action` on the preview when it comes up; a progress window seen first is let run.
    static void whenPreviewUp(std::function<void(ReportPreview*)> action) {
        onModal([action](QWidget* w) {
            if (qobject_cast<ProgressWindow*>(w)) {
                whenPreviewUp(action);
                return;
            }
            auto* preview = qobject_cast<ReportPreview*>(w);
            ASSERT_NE(preview, nullptr) << w->windowTitle().toStdString();
            action(preview);
        });
    }

    // A quit while a window the preview opened is up: the window and the preview go, the pages' folder
    // goes, the tables are released and the program ends.
    void quitWhileThePreviewsWindowIsUp(const QString& opener, const QString& title) {
        addSongs(120);
        QSignalSpy ended(program.get(), &Program::ended);
        QString folder, shownTitle;
        answerCriteria(false, true, QString(), [&] { whenPreviewUp([&](ReportPreview* preview) {
            folder = preview->pages().folder();
            onModal([&](QWidget* w) {
                shownTitle = w->windowTitle();
                ::raise(SIGTERM);
            });
            buttonWithText(preview, opener)->click();
        }); });
        frame->runCommand(QStringLiteral("PrintSON:SongsByArtist"));
        EXPECT_EQ(shownTitle, title);
        ASSERT_FALSE(folder.isEmpty());
        EXPECT_TRUE(QTest::qWaitFor([&] { return ended.count() == 1; }, 5000));
        EXPECT_EQ(ModalWindows::instance().running(), 0);
        EXPECT_FALSE(QFileInfo::exists(folder));
        EXPECT_EQ(context().access->useCount(songsTable()), 0);
    }

    MainFrame* frame = nullptr;
    ProgressWatch watch;
};

TEST_F(ReportRunTest, TheCriteriaWindowShowsTheNounAndKeepsWhatTheControlsHold) {
    ReportCriteria criteria;
    criteria.SelectedOrAll = QStringLiteral("Selected");
    criteria.ReportSelection = QStringLiteral("be");
    {
        ReportCriteriaWindow window(criteria, QStringLiteral("titles"), nullptr);
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Report Criteria"));
        EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("selectionPrompt"))->text(),
                  QStringLiteral("Select titles that start with:"));
        auto* entry = window.findChild<QLineEdit*>(QStringLiteral("reportSelection"));
        EXPECT_TRUE(entry->isEnabled());
        EXPECT_EQ(entry->maxLength(), 30);
        window.findChild<QRadioButton*>(QStringLiteral("includeAll"))->click();
        EXPECT_FALSE(entry->isEnabled());
        EXPECT_EQ(criteria.SelectedOrAll, QStringLiteral("All"));
        window.findChild<QRadioButton*>(QStringLiteral("styleBrief"))->click();
        window.findChild<QCheckBox*>(QStringLiteral("previewFlag"))->setChecked(true);
        window.reject();  // Cancel keeps them too
    }
    EXPECT_EQ(criteria.ReportStyle, QStringLiteral("Brief"));
    EXPECT_EQ(criteria.PreviewFlag, 1);
    EXPECT_EQ(criteria.ReportSelection, QStringLiteral("be"));
    // A blank choice opens as "All".
    ReportCriteria blank;
    ReportCriteriaWindow window(blank, QStringLiteral("artists"), nullptr);
    EXPECT_EQ(blank.SelectedOrAll, QStringLiteral("All"));
    EXPECT_FALSE(window.findChild<QLineEdit*>(QStringLiteral("reportSelection"))->isEnabled());
}

TEST_F(ReportRunTest, BriefFromTheStandardMemberRunsOnlyTheBriefListInOneProgressWindow) {
    addSongs(30);
    const int uses = context().access->useCount(songsTable());
    QStringList firstPage;
    int previewed = 0;
    // The progress window of so short a run may come and go between two looks; it is counted by the watch.
    answerCriteria(true, true, QString(), [&] { whenPreviewUp([&](ReportPreview* preview) {
        previewed = preview->pageCount();
        firstPage = pageTexts(preview->pages().path(0));
        buttonWithText(preview, QStringLiteral("Exit (Cancel Print)"))->click();
    }); });
    frame->runCommand(QStringLiteral("PrintSON:SongsByTitle"));
    EXPECT_EQ(watch.shown, 1);
    EXPECT_EQ(watch.titles, QStringList{ReportRun::generatingTitle()});
    EXPECT_EQ(previewed, 1);
    // The brief list's own headings, none of the standard one's.
    EXPECT_TRUE(firstPage.contains(QStringLiteral("Trk")));
    EXPECT_FALSE(firstPage.contains(QStringLiteral("Category")));
    EXPECT_TRUE(firstPage.contains(QStringLiteral("Title 30")));
    EXPECT_EQ(context().access->useCount(songsTable()), uses);
}

TEST_F(ReportRunTest, APrefixThatSelectsNothingSaysThereIsNothingToPreviewOrPrint) {
    addSongs(5);
    answerCriteria(false, true, QStringLiteral("zzz"));
    frame->runCommand(QStringLiteral("PrintSON:SongsByArtist"));
    ASSERT_GE(messages.count(), 1);
    EXPECT_EQ(messages.last().text, QStringLiteral("Nothing to Preview."));
    EXPECT_EQ(messages.last().title, QStringLiteral("NOTE..."));

    answerCriteria(false, false, QStringLiteral("zzz"));
    frame->runCommand(QStringLiteral("PrintSON:SongsByArtist"));
    EXPECT_EQ(messages.last().text, QStringLiteral("Nothing to Print."));
    EXPECT_EQ(watch.titles, (QStringList{ReportRun::generatingTitle(), ReportRun::printingTitle()}));
}

TEST_F(ReportRunTest, CancelYesYesPreviewsThePagesMadeSoFar) {
    addSongs(400);
    TableUse use(*context().access);
    ASSERT_TRUE(use.open(songsTable()));
    ASSERT_TRUE(use.open(categoriesTable()));
    ReportRequest request;
    request.member = reportMember(QStringLiteral("PrintSON:SongsByArtist"));
    ReportPageList pages;
    ReportJob job(store(), request, pages);
    ScriptedMessages answers{ButtonYes, ButtonYes};
    ReportCancelling driven(job, pages, true, answers);
    // One record at a time into the second page, then Cancel.
    job.setRecordsPerStep(1);
    while (pages.count() < 1 && driven.step()) {
    }
    ASSERT_EQ(pages.count(), 1);
    ASSERT_TRUE(driven.step());
    ASSERT_TRUE(driven.step());
    const qint64 read = job.recordsRead();
    driven.cancel();
    EXPECT_EQ(answers.titles(), (QStringList{QStringLiteral("Question"), QStringLiteral("Question")}));
    EXPECT_EQ(answers.shown().at(0).text, QStringLiteral("Are you sure you want to CANCEL this Report?"));
    EXPECT_EQ(answers.shown().at(1).text, QStringLiteral("Report Cancellation Requested!\n \nPreview Report generated so far?"));
    EXPECT_EQ(answers.shown().at(1).buttons, ButtonYes | ButtonNo | ButtonIgnore);
    EXPECT_TRUE(driven.partial());
    EXPECT_FALSE(driven.step());
    EXPECT_FALSE(driven.cancelled());
    ASSERT_EQ(pages.count(), 2);
    ReportPreview preview(pages);
    EXPECT_EQ(preview.pageCount(), 2);
    // The second page ends with the last song read before the cancel, and nothing later.
    const QStringList second = pageTexts(pages.path(1));
    EXPECT_TRUE(second.contains(QStringLiteral("Title %1").arg(read)));
    EXPECT_FALSE(second.contains(QStringLiteral("Title %1").arg(read + 1)));
}

TEST_F(ReportRunTest, CancelNoGoesOnAndCancelYesIgnoreKeepsGeneratingOneRecordAtATime) {
    addSongs(200);
    TableUse use(*context().access);
    ASSERT_TRUE(use.open(songsTable()));
    ASSERT_TRUE(use.open(categoriesTable()));
    ReportRequest request;
    request.member = reportMember(QStringLiteral("PrintSON:SongsByArtist"));
    ReportPageList pages;
    ReportJob job(store(), request, pages);
    ScriptedMessages answers{ButtonNo, ButtonYes, ButtonIgnore};
    ReportCancelling driven(job, pages, true, answers);
    while (pages.count() < 1 && driven.step()) {
    }
    driven.cancel();  // No
    EXPECT_FALSE(driven.cancelled());
    qint64 before = job.recordsRead();
    ASSERT_TRUE(driven.step());
    EXPECT_EQ(job.recordsRead() - before, ReportJob::kRecordsPerStep);
    driven.cancel();  // Yes, Ignore
    EXPECT_FALSE(driven.cancelled());
    before = job.recordsRead();
    ASSERT_TRUE(driven.step());
    EXPECT_EQ(job.recordsRead() - before, 1);
    while (driven.step()) {
    }
    EXPECT_EQ(job.outcome(), ReportJob::Outcome::Completed);
    EXPECT_EQ(job.recordsRead(), 200);
}

TEST_F(ReportRunTest, CancellingInTheProgressWindowWithYesYesOpensThePartialPreview) {
    addSongs(3000);
    messages.addAnswer(ButtonYes);
    messages.addAnswer(ButtonYes);
    int previewed = -1;
    answerCriteria(false, true, QString(), [&] { onModal([&](QWidget* w) {
        auto* progress = qobject_cast<ProgressWindow*>(w);
        ASSERT_NE(progress, nullptr);
        onModal([&](QWidget* p) {
            auto* preview = qobject_cast<ReportPreview*>(p);
            ASSERT_NE(preview, nullptr) << p->windowTitle().toStdString();
            previewed = preview->pageCount();
            EXPECT_EQ(preview->pages().count(), previewed);
            p->close();
        });
        // Some pages made, far from the end.
        EXPECT_TRUE(QTest::qWaitFor([&] { return progress->findChild<QProgressBar*>()->value() >= 5; }, 20000));
        buttonWithText(w, QStringLiteral("Cancel"))->click();
    }); });
    frame->runCommand(QStringLiteral("PrintSON:SongsByArtist"));
    EXPECT_EQ(messages.count(), 2);
    EXPECT_GE(previewed, 2);
    EXPECT_LT(previewed, 3000 / 10);
}

TEST_F(ReportRunTest, CancellingTheCustomFontDialogLeavesTheFontKeysAlone) {
    addSongs(3);
    context().preferencesFile.writeString(QStringLiteral("Fonts"), QStringLiteral("FontNamePrintSON:SongsByArtist"),
                                          QStringLiteral("Courier"));
    context().preferencesFile.save();
    QString fontTitle;
    onModal([&](QWidget* w) {
        w->findChild<QCheckBox*>(QStringLiteral("useCustomFont"))->setChecked(true);
        w->findChild<QCheckBox*>(QStringLiteral("previewFlag"))->setChecked(true);
        onModal([&](QWidget* f) {
            ASSERT_NE(qobject_cast<QFontDialog*>(f), nullptr);
            fontTitle = f->windowTitle();
            // Then the preview.
            whenPreviewUp([](ReportPreview* preview) { preview->close(); });
            static_cast<QDialog*>(f)->reject();
        });
        buttonWithText(w, QStringLiteral("&Ok"))->click();
    });
    frame->runCommand(QStringLiteral("PrintSON:SongsByArtist"));
    EXPECT_EQ(fontTitle, QStringLiteral("Select Custom Font for Report"));
    IniFile ini(context().preferencesFile.path());
    EXPECT_EQ(ini.readString(QStringLiteral("Fonts"), QStringLiteral("FontNamePrintSON:SongsByArtist")), QStringLiteral("Courier"));
    EXPECT_FALSE(ini.contains(QStringLiteral("Fonts"), QStringLiteral("FontSizePrintSON:SongsByArtist")));
}

TEST_F(ReportRunTest, TheAlbumBrowsersPrintListsTheHighlightedAlbumsSongsOnly) {
    {
        TableUse use(*context().access);
        ASSERT_TRUE(use.open(albumTable()));
        Record a(albumTable());
        a.setNumber(ALB::AlbumID, 7);
        a.setText(ALB::Artist, QStringLiteral("Ann"));
        a.setText(ALB::Album, QStringLiteral("Album 7"));
        a.setText(ALB::Media, QStringLiteral("CD"));
        ASSERT_EQ(Table(store(), albumTable()).add(a), NoError);
    }
    addSongs(3, 7, 1);
    addSongs(4, 8, 100);
    frame->runCommand(BrowseAlbums::Procedure);
    QMdiSubWindow* sub = frame->workspace()->activeSubWindow();
    ASSERT_NE(sub, nullptr);
    auto* browse = qobject_cast<BrowseAlbums*>(sub->widget());
    ASSERT_NE(browse, nullptr);
    QCoreApplication::processEvents();
    ASSERT_EQ(browse->highlightedAlbum().number(ALB::AlbumID), 7);
    messages.addAnswer(ButtonYes);
    QStringList texts;
    whenPreviewUp([&](ReportPreview* preview) {
        for (int i = 0; i < preview->pages().count(); ++i)
            texts << pageTexts(preview->pages().path(i));
        preview->close();
    });
    browse->button(BrowseAlbums::Action::Print)->click();
    ASSERT_GE(messages.count(), 1);
    EXPECT_EQ(messages.shown().first().text, QStringLiteral("Do you wish to PREVIEW this Report?"));
    EXPECT_EQ(watch.shown, 1);
    EXPECT_TRUE(texts.contains(QStringLiteral("Title 1")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Title 3")));
    EXPECT_FALSE(texts.contains(QStringLiteral("Title 100")));
}

TEST_F(ReportRunTest, AQuitWhileTheCriteriaWindowIsOpenEndsTheRunAndTheProgram) {
    QSignalSpy ended(program.get(), &Program::ended);
    bool up = false;
    onModal([&](QWidget* w) {
        up = qobject_cast<ReportCriteriaWindow*>(w) != nullptr;
        ::raise(SIGTERM);
    });
    frame->runCommand(QStringLiteral("PrintSON:SongsByArtist"));
    EXPECT_TRUE(up);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ended.count() == 1; }, 5000));
    EXPECT_EQ(ModalWindows::instance().running(), 0);
    EXPECT_EQ(watch.shown, 0);
    EXPECT_EQ(context().access->useCount(songsTable()), 0);
}

TEST_F(ReportRunTest, AQuitWhileThePreviewIsOpenDropsThePagesAndEndsTheProgram) {
    addSongs(60);
    QSignalSpy ended(program.get(), &Program::ended);
    QString folder;
    answerCriteria(false, true, QString(), [&] { whenPreviewUp([&](ReportPreview* preview) {
        folder = preview->pages().folder();
        ::raise(SIGTERM);
    }); });
    frame->runCommand(QStringLiteral("PrintSON:SongsByArtist"));
    ASSERT_FALSE(folder.isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return ended.count() == 1; }, 5000));
    EXPECT_EQ(ModalWindows::instance().running(), 0);
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_EQ(context().access->useCount(songsTable()), 0);
}

TEST_F(ReportRunTest, AQuitWhileGoToPageIsUpEndsTheProgramCleanly) {
    quitWhileThePreviewsWindowIsUp(QStringLiteral("Go To Page.."), QStringLiteral("Go to Page"));
}

TEST_F(ReportRunTest, AQuitWhileThePrintRangeWindowIsUpEndsTheProgramCleanly) {
    quitWhileThePreviewsWindowIsUp(QStringLiteral("Print.."), QStringLiteral("Print..."));
}

TEST_F(ReportRunTest, AQuitWhileTheCustomFontDialogIsUpEndsTheRunWithoutGeneratingAndTheProgram) {
    addSongs(30);
    context().preferencesFile.writeString(QStringLiteral("Fonts"), QStringLiteral("FontNamePrintSON:SongsByArtist"),
                                          QStringLiteral("Courier"));
    context().preferencesFile.save();
    QSignalSpy ended(program.get(), &Program::ended);
    bool fontDialog = false;
    onModal([&](QWidget* w) {
        w->findChild<QCheckBox*>(QStringLiteral("useCustomFont"))->setChecked(true);
        w->findChild<QCheckBox*>(QStringLiteral("previewFlag"))->setChecked(true);
        onModal([&](QWidget* f) {
            fontDialog = qobject_cast<QFontDialog*>(f) != nullptr;
            ::raise(SIGTERM);
        });
        buttonWithText(w, QStringLiteral("&Ok"))->click();
    });
    frame->runCommand(QStringLiteral("PrintSON:SongsByArtist"));
    EXPECT_TRUE(fontDialog);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ended.count() == 1; }, 5000));
    EXPECT_EQ(ModalWindows::instance().running(), 0);
    // Nothing was generated or shown after the quit, and the font keys are as they were.
    EXPECT_EQ(watch.shown, 0);
    EXPECT_EQ(context().access->useCount(songsTable()), 0);
    IniFile ini(context().preferencesFile.path());
    EXPECT_EQ(ini.readString(QStringLiteral("Fonts"), QStringLiteral("FontNamePrintSON:SongsByArtist")), QStringLiteral("Courier"));
    EXPECT_FALSE(ini.contains(QStringLiteral("Fonts"), QStringLiteral("FontSizePrintSON:SongsByArtist")));
}

}  // namespace
