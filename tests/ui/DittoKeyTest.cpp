#include "access/DittoCopy.h"
#include "catalog/Tables.h"
#include "store/Record.h"
#include "text/DayNumber.h"
#include "text/Picture.h"
#include "ui/services/DittoKey.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace srk;

namespace {

const QString FormName = QStringLiteral("UpdateSong");

// A song form with editors for a few fields; only some are bound to the ditto key.
class DittoKeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&form);
        for (QWidget* w : std::initializer_list<QWidget*>{artist, title, unbound, released, media, category, time,
                                                          notes, chart})
            layout->addWidget(w);
        media->addItems({QStringLiteral("CD"), QStringLiteral("Vinyl"), QStringLiteral("Cassette")});
        category->setEditable(true);
        chart->setRange(0, 255);
        ditto.bindField(artist, SON::Artist);
        ditto.bindField(title, SON::Title);
        ditto.bindField(released, SON::ReleaseDate, QStringLiteral("@d6"));
        ditto.bindField(media, SON::Media);
        ditto.bindField(category, SON::Style);
        ditto.bindField(time, SON::Time, QStringLiteral("@t4"));
        ditto.bindField(notes, SON::Notes);
        ditto.bindField(chart, SON::ChartNumber);
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    void remember() {
        Record song(songsTable());
        song.setText(SON::Artist, QStringLiteral("Ella Fitzgerald"));
        song.setText(SON::Title, QStringLiteral("Summertime"));
        song.setNumber(SON::ReleaseDate, dayNumberFromDate(QDate(1968, 7, 14)));
        song.setText(SON::Media, QStringLiteral("vinyl"));
        song.setText(SON::Style, QStringLiteral("Swing"));
        song.setNumber(SON::Time, timeValue(0, 4, 35));
        song.setText(SON::Notes, QStringLiteral("Live in Berlin"));
        song.setNumber(SON::ChartNumber, 7);
        copies.remember(FormName, song);
    }

    void pressDitto(QWidget* editor) {
        editor->setFocus();
        QTest::keyClick(editor, Qt::Key_Apostrophe, Qt::ControlModifier);
    }

    QDialog form;
    QLineEdit* artist = new QLineEdit;
    QLineEdit* title = new QLineEdit;
    QLineEdit* unbound = new QLineEdit;
    QLineEdit* released = new QLineEdit;
    QComboBox* media = new QComboBox;
    QComboBox* category = new QComboBox;
    QLineEdit* time = new QLineEdit;
    QPlainTextEdit* notes = new QPlainTextEdit;
    QSpinBox* chart = new QSpinBox;
    DittoCopy copies;
    DittoKey ditto{&form, copies, FormName};
};

}  // namespace

TEST_F(DittoKeyTest, CopiesTheRememberedValueIntoTheFocusedFieldOnly) {
    remember();
    artist->setText(QStringLiteral("typed"));
    pressDitto(title);
    EXPECT_EQ(title->text(), QStringLiteral("Summertime"));
    EXPECT_EQ(artist->text(), QStringLiteral("typed"));

    pressDitto(artist);
    EXPECT_EQ(artist->text(), QStringLiteral("Ella Fitzgerald"));
    // It replaced the text as typing would, so undo brings the old text back.
    artist->undo();
    EXPECT_EQ(artist->text(), QStringLiteral("typed"));
}

TEST_F(DittoKeyTest, UnboundFieldIsLeftAlone) {
    remember();
    unbound->setText(QStringLiteral("mine"));
    pressDitto(unbound);
    EXPECT_EQ(unbound->text(), QStringLiteral("mine"));
    EXPECT_TRUE(artist->text().isEmpty());
    EXPECT_TRUE(title->text().isEmpty());
}

TEST_F(DittoKeyTest, NothingHappensBeforeTheFormCompletedARecord) {
    title->setText(QStringLiteral("half typed"));
    pressDitto(title);
    EXPECT_EQ(title->text(), QStringLiteral("half typed"));
    EXPECT_FALSE(ditto.dittoFocusedField());

    // Another form's record is not this form's.
    Record other(songsTable());
    other.setText(SON::Title, QStringLiteral("Elsewhere"));
    copies.remember(QStringLiteral("UpdateSongsForAlbum"), other);
    pressDitto(title);
    EXPECT_EQ(title->text(), QStringLiteral("half typed"));
}

TEST_F(DittoKeyTest, ValuesAreShownThroughTheBoundPicture) {
    remember();
    pressDitto(released);
    EXPECT_EQ(released->text(), QStringLiteral("14/07/1968"));
    pressDitto(time);
    EXPECT_EQ(time->text(), format(qint64(timeValue(0, 4, 35)), QStringLiteral("@t4")));
    EXPECT_EQ(time->text(), QStringLiteral("00:04:35"));
}

TEST_F(DittoKeyTest, FillsComboBoxesTextEditsAndSpinBoxes) {
    remember();
    pressDitto(media);
    EXPECT_EQ(media->currentText(), QStringLiteral("Vinyl"));  // the list's own spelling
    pressDitto(category);
    EXPECT_EQ(category->currentText(), QStringLiteral("Swing"));
    pressDitto(notes);
    EXPECT_EQ(notes->toPlainText(), QStringLiteral("Live in Berlin"));
    pressDitto(chart);
    EXPECT_EQ(chart->value(), 7);
}

TEST_F(DittoKeyTest, NonEditableComboKeepsItsChoiceWhenTheValueIsNotListed) {
    Record song(songsTable());
    song.setText(SON::Media, QStringLiteral("Wax cylinder"));
    copies.remember(FormName, song);
    media->setCurrentIndex(2);
    pressDitto(media);
    EXPECT_EQ(media->currentIndex(), 2);
}

TEST_F(DittoKeyTest, ShiftedApostropheWorksToo) {
    remember();
    title->setFocus();
    QTest::keyClick(title, Qt::Key_Apostrophe, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(title->text(), QStringLiteral("Summertime"));
}

TEST_F(DittoKeyTest, ReadOnlyFieldIsLeftAlone) {
    remember();
    title->setReadOnly(true);
    pressDitto(title);
    EXPECT_TRUE(title->text().isEmpty());
    EXPECT_FALSE(ditto.dittoFocusedField());
}

TEST(DittoKeyCheckBoxTest, TicksFromANumberField) {
    QDialog form;
    auto* layout = new QVBoxLayout(&form);
    auto* box = new QCheckBox(QStringLiteral("Charted"));
    layout->addWidget(box);
    DittoCopy copies;
    DittoKey ditto(&form, copies, FormName);
    ditto.bindField(box, SON::ChartNumber);
    Record song(songsTable());
    song.setNumber(SON::ChartNumber, 3);
    copies.remember(FormName, song);
    form.show();
    box->setFocus();
    EXPECT_TRUE(ditto.dittoFocusedField());
    EXPECT_TRUE(box->isChecked());
}
