#include "text/DayNumber.h"
#include "text/Picture.h"
#include "ui/shell/AboutSRK.h"
#include "ui/shell/BuildStamps.h"
#include "ui/shell/CompileDate.h"
#include "ui/shell/ProgramPicture.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace srk;

namespace {

QStringList texts(const QWidget& window) {
    QStringList all;
    for (const QLabel* label : window.findChildren<QLabel*>())
        all << label->text();
    for (const QPushButton* button : window.findChildren<QPushButton*>())
        all << button->text();
    return all;
}

QPushButton* button(const QWidget& window, const QString& text) {
    for (QPushButton* b : window.findChildren<QPushButton*>()) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

QString labelText(const QWidget& window, const QString& objectName) {
    const auto* label = window.findChild<QLabel*>(objectName);
    return label ? label->text() : QStringLiteral("<missing>");
}

// A build stamp shown on screen must name a day between the start of this program's development and today.
void expectRecentDate(const QString& shown) {
    const QVariant day = deformat(shown, QString(CompileDate::DatePicture));
    const QDate date = dateFromDayNumber(day.toLongLong());
    ASSERT_TRUE(date.isValid()) << shown.toStdString();
    EXPECT_GE(date, QDate(2024, 1, 1));
    EXPECT_LE(date, QDate::currentDate().addDays(1));
}

void expectTime(const QString& shown) {
    EXPECT_EQ(shown.size(), 8) << shown.toStdString();
    EXPECT_NE(deformat(shown, QString(CompileDate::TimePicture)).toLongLong(), 0) << shown.toStdString();
}

}  // namespace

TEST(BuildStampTest, ReadsIsoStamps) {
    const BuildStamp s = buildStampFromIso(QStringLiteral("2024-03-09T17:05:42"));
    ASSERT_TRUE(s.isValid());
    EXPECT_EQ(dateFromDayNumber(s.dayNumber), QDate(2024, 3, 9));
    EXPECT_EQ(s.time, timeValue(17, 5, 42));
    // Midnight is a time, not "no time".
    EXPECT_EQ(buildStampFromIso(QStringLiteral("2024-03-09T00:00:00")).time, timeValue(0, 0, 0));
    EXPECT_FALSE(buildStampFromIso(QString()).isValid());
    EXPECT_FALSE(buildStampFromIso(QStringLiteral("2024-02-30T10:00:00")).isValid());
}

TEST(BuildStampTest, ReadsCompilerStampsWithPaddedDays) {
    const BuildStamp s = buildStampFromCompiler("Mar  9 2024", "07:05:02");
    ASSERT_TRUE(s.isValid());
    EXPECT_EQ(dateFromDayNumber(s.dayNumber), QDate(2024, 3, 9));
    EXPECT_EQ(s.time, timeValue(7, 5, 2));
    EXPECT_EQ(dateFromDayNumber(buildStampFromCompiler("Dec 31 2025", "23:59:59").dayNumber), QDate(2025, 12, 31));
    EXPECT_FALSE(buildStampFromCompiler("Mrz  9 2024", "07:05:02").isValid());
    EXPECT_FALSE(buildStampFromCompiler("Mar  9 2024", "25:00:00").isValid());
    EXPECT_FALSE(buildStampFromCompiler("Mar  9", "07:05:02").isValid());
    EXPECT_FALSE(buildStampFromCompiler(nullptr, "07:05:02").isValid());
}

TEST(BuildStampTest, ThisBuildHasBothStamps) {
    const BuildStamp created = creationStamp();
    const BuildStamp changed = changeStamp();
    ASSERT_TRUE(created.isValid());
    ASSERT_TRUE(changed.isValid());
    // Compiled after it was set up, or at most a little before when the clock of the set-up ran ahead.
    EXPECT_GE(changed.dayNumber, created.dayNumber - 1);
}

TEST(AboutSRKTest, ShowsPictureNameVersionAndReturnButton) {
    AboutSRK about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About"));
    const QStringList shown = texts(about);
    EXPECT_TRUE(shown.contains(QStringLiteral("Sonorika Pro 97")));
    EXPECT_TRUE(shown.contains(QStringLiteral("Version 1.8d")));
    const auto* picture = about.findChild<QLabel*>(QStringLiteral("programPicture"));
    ASSERT_NE(picture, nullptr);
    EXPECT_FALSE(picture->pixmap().isNull());

    QPushButton* back = button(about, QStringLiteral("&Return to Sonorika Pro"));
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(back->isDefault());
    about.show();
    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST(AboutSRKTest, CompileInformationOpensOverIt) {
    AboutSRK about;
    about.show();
    QPushButton* info = button(about, QStringLiteral("Compile &Information..."));
    ASSERT_NE(info, nullptr);
    QTest::mouseClick(info, Qt::LeftButton);
    auto* compile = about.findChild<CompileDate*>();
    ASSERT_NE(compile, nullptr);
    EXPECT_TRUE(compile->isVisible());
    EXPECT_TRUE(about.isVisible());
}

TEST(ProgramPictureTest, DrawsAtTheAskedSize) {
    const QPixmap small = programPicture(QSize(48, 48));
    ASSERT_FALSE(small.isNull());
    EXPECT_EQ(small.size(), QSize(48, 48));
    const QImage image = small.toImage();
    // Not blank: the middle of the picture is drawn.
    EXPECT_NE(qAlpha(image.pixel(24, 24)), 0);
    EXPECT_EQ(programPicture(QSize(40, 40), 2.0).size(), QSize(80, 80));
    EXPECT_TRUE(programPicture(QSize()).isNull());
}

TEST(CompileDateTest, ShowsNameStampsAndPointerWidth) {
    CompileDate dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Compile Information"));
    EXPECT_EQ(QString(CompileDate::ProcedureName), QStringLiteral("CompileDate"));
    EXPECT_EQ(labelText(dialog, QStringLiteral("application")), QStringLiteral("SRK97"));
    EXPECT_EQ(labelText(dialog, QStringLiteral("pointerWidth")), QString::number(sizeof(void*) * 8) + QStringLiteral("-bit"));

    expectRecentDate(labelText(dialog, QStringLiteral("creationDate")));
    expectRecentDate(labelText(dialog, QStringLiteral("changeDate")));
    expectTime(labelText(dialog, QStringLiteral("creationTime")));
    expectTime(labelText(dialog, QStringLiteral("changeTime")));
    EXPECT_EQ(labelText(dialog, QStringLiteral("changeDate")),
              format(qint64(changeStamp().dayNumber), QString(CompileDate::DatePicture)));

    const QList<QPushButton*> buttons = dialog.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons.first()->text(), QStringLiteral("Cl&ose"));
    dialog.show();
    QTest::mouseClick(buttons.first(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
}
