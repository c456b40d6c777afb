#include "ReportTestSupport.h"

#include "reports/ReportJob.h"
#include "reports/ReportQuestions.h"

using namespace srk;

namespace {

// A run driven the way the progress window drives it, Cancel pressed after `cancelAfterPages` pages.
class CancelledRun : public ReportTest {
protected:
    void SetUp() override {
        ReportTest::SetUp();
        ASSERT_EQ(store.stream(), NoError);
        for (int i = 0; i < 400; ++i)
            addSong({QStringLiteral("Artist %1").arg(i, 4, 10, QLatin1Char('0')), QStringLiteral("Title %1").arg(i)});
        ASSERT_EQ(store.flush(), NoError);
        messages.clear();
    }

    // Steps until `pages` pages are made, then cancels as the Cancel button does and steps to the end.
    CancelChoice runAndCancel(int pages, bool previewing) {
        ReportRequest request;
        request.member = reportMember(QStringLiteral("BriefSON:SongsByArtist"));
        job = std::make_unique<ReportJob>(store, request, list);
        while (job->step() && list.count() < pages) {
        }
        const CancelChoice choice = cancelReport(*job, messages, previewing, list.count());
        while (job->step()) {
        }
        return choice;
    }

    TempFolder base;
    ReportPageList list{base.path()};
    std::unique_ptr<ReportJob> job;
};

}  // namespace

TEST_F(CancelledRun, NoGoesOnAndTheWholeReportIsMade) {
    messages.addAnswer(ButtonNo);
    EXPECT_EQ(runAndCancel(1, true), CancelChoice::GoOn);
    EXPECT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text, QStringLiteral("Are you sure you want to CANCEL this Report?"));
    EXPECT_EQ(messages.last().defaultButton, ButtonNo);
    EXPECT_EQ(job->outcome(), ReportJob::Outcome::Completed);
    EXPECT_EQ(job->linesPrinted(), 400);
}

TEST_F(CancelledRun, YesYesWithTwoPagesPreviewsExactlyThoseTwo) {
    messages.addAnswer(ButtonYes);
    messages.addAnswer(ButtonYes);
    EXPECT_EQ(runAndCancel(1, true), CancelChoice::PreviewSoFar);
    ASSERT_EQ(messages.count(), 2);
    EXPECT_EQ(messages.last().text, QStringLiteral("Report Cancellation Requested!\n \nPreview Report generated so far?"));
    EXPECT_EQ(messages.last().buttons, ButtonYes | ButtonNo | ButtonIgnore);
    EXPECT_EQ(messages.last().defaultButton, ButtonNo);
    // One page was finished when Cancel came; the page being filled is the second.
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(job->outcome(), ReportJob::Outcome::Completed);
}

TEST_F(CancelledRun, YesIgnoreKeepsGeneratingToTheEndOneRecordAtATime) {
    messages.addAnswer(ButtonYes);
    messages.addAnswer(ButtonIgnore);
    ReportRequest request;
    request.member = reportMember(QStringLiteral("BriefSON:SongsByArtist"));
    job = std::make_unique<ReportJob>(store, request, list);
    while (job->step() && list.count() < 1) {
    }
    EXPECT_EQ(cancelReport(*job, messages, true, list.count()), CancelChoice::GoOnSlowly);
    const qint64 before = job->recordsRead();
    ASSERT_TRUE(job->step());
    EXPECT_EQ(job->recordsRead() - before, 1);
    while (job->step()) {
    }
    EXPECT_EQ(job->outcome(), ReportJob::Outcome::Completed);
    EXPECT_EQ(job->linesPrinted(), 400);
}

TEST_F(CancelledRun, YesNoAndYesWhilePrintingDiscardEverything) {
    messages.addAnswer(ButtonYes);
    messages.addAnswer(ButtonNo);
    EXPECT_EQ(runAndCancel(1, true), CancelChoice::Discard);
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(job->outcome(), ReportJob::Outcome::Cancelled);

    messages.clear();
    messages.addAnswer(ButtonYes);
    EXPECT_EQ(runAndCancel(1, false), CancelChoice::Discard);
    EXPECT_EQ(messages.count(), 1);  // printing directly: no partial preview is offered
    EXPECT_EQ(list.count(), 0);
}

TEST(ReportQuestions, PreviewQuestionAndTheNothingNotes) {
    ScriptedMessages messages{ButtonYes, ButtonNo, ButtonCancel};
    EXPECT_EQ(askPreview(messages), PreviewChoice::Preview);
    EXPECT_EQ(askPreview(messages), PreviewChoice::Print);
    EXPECT_EQ(askPreview(messages), PreviewChoice::Cancel);
    EXPECT_EQ(messages.last().title, QStringLiteral("Preview"));
    EXPECT_EQ(messages.last().text, QStringLiteral("Do you wish to PREVIEW this Report?"));
    EXPECT_EQ(messages.last().defaultButton, ButtonYes);
    messages.clear();
    tellNothingToShow(messages, true);
    tellNothingToShow(messages, false);
    ASSERT_EQ(messages.count(), 2);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("Nothing to Preview."));
    EXPECT_EQ(messages.shown()[1].text, QStringLiteral("Nothing to Print."));
    EXPECT_EQ(messages.titles(), (QStringList{QStringLiteral("NOTE..."), QStringLiteral("NOTE...")}));
}
