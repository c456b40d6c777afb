// The query wizard driven through its real dialog offscreen: conditions built page by page, typed by
// hand, saved, run, changed and deleted, with a scripted answerer in place of message boxes.

#include "ui/query/QueryWizard.h"

#include "access/ScriptedMessages.h"
#include "catalog/Tables.h"
#include "query/QueryEvaluator.h"
#include "query/QueryParser.h"
#include "query/SavedQueries.h"
#include "query/WizardTexts.h"
#include "settings/IniFile.h"
#include "songs/SongQueryFields.h"
#include "store/Record.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "ui/support/ModalWindows.h"

#include <functional>
#include <memory>

using namespace srk;
using srk::testing::buttonWithText;
using srk::testing::onModal;

namespace {


QPushButton* visibleButton(QWidget* window, const QString& text) {
    for (QPushButton* b : window->findChildren<QPushButton*>())
        if (b->isVisible() && b->text() == text)
            return b;
    return nullptr;
}

// Presses the visible button showing a display text; false when there is none or it is greyed.
bool press(QWidget* window, WizardText text) {
    QPushButton* b = visibleButton(window, wizardText(text));
    if (!b || !b->isEnabled())
        return false;
    QTest::mouseClick(b, Qt::LeftButton);
    return true;
}

constexpr WizardText And = WizardText::AndButton, Or = WizardText::OrButton, Back = WizardText::BackButton,
                     Next = WizardText::NextButton, Finish = WizardText::FinishButton,
                     Cancel = WizardText::CancelButton, ChangeElement = WizardText::ChangeButton,
                     DeleteElement = WizardText::DeleteButton, Manual = WizardText::ManualButton;
constexpr WizardText Insert = WizardText::AddSavedButton, ChangeSaved = WizardText::EditSavedButton,
                     DeleteSaved = WizardText::RemoveSavedButton, Select = WizardText::RunSavedButton,
                     Close = WizardText::CloseSavedButton;
constexpr WizardText Ok = WizardText::AcceptSaveButton;

// Types text key by key; QTest's own key clicks take ASCII only.
void typeText(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

// Clicks a radio button on its indicator, which is where a click always lands on it.
void clickRadio(QRadioButton* radio) {
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
}

void clickRow(QAbstractItemView* view, const QModelIndex& index) {
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

// Drives one open wizard.
struct Wizard {
    QueryWizard* w;

    QueryWizard::Page page() const { return w->page(); }
    QListWidget* elements() const { return w->findChild<QListWidget*>(QStringLiteral("elements")); }
    QTreeWidget* saved() const { return w->findChild<QTreeWidget*>(QStringLiteral("savedQueries")); }

    QStringList savedRows() const {
        QStringList out;
        for (int i = 0; i < saved()->topLevelItemCount(); ++i)
            out << saved()->topLevelItem(i)->text(0);
        return out;
    }
    bool pickSaved(const QString& text) {
        const QList<QTreeWidgetItem*> found = saved()->findItems(text, Qt::MatchExactly);
        if (found.isEmpty())
            return false;
        clickRow(saved(), saved()->indexFromItem(found.first()));
        return saved()->currentItem() == found.first();
    }
    // `occurrence` tells apart two fields of the same caption.
    bool pickField(const QString& caption, int occurrence = 0) {
        auto* list = w->findChild<QListWidget*>(QStringLiteral("fields"));
        const QList<QListWidgetItem*> found = list->findItems(caption, Qt::MatchExactly);
        if (found.size() <= occurrence)
            return false;
        clickRow(list, list->indexFromItem(found[occurrence]));
        return list->currentItem() == found[occurrence];
    }
    bool pickOperation(int operation) {
        auto* radio = w->findChild<QRadioButton*>(QStringLiteral("operation%1").arg(operation));
        if (!radio || !radio->isVisible() || !radio->isEnabled())
            return false;
        clickRadio(radio);
        return radio->isChecked();
    }
    bool pickElement(int row) {
        QListWidget* list = elements();
        if (row >= list->count())
            return false;
        clickRow(list, list->model()->index(row, 0));
        return list->currentRow() == row;
    }
    void typeValue(const QString& text) {
        auto* edit = w->findChild<QLineEdit*>(QStringLiteral("constant"));
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    // Presses AND or OR, then picks the field, the operation and (for a typed value) types it.
    bool addCondition(WizardText join, const QString& caption, int operation, const QString& value = QString(),
                      int occurrence = 0) {
        if (!press(w, join) || page() != QueryWizard::FieldPage || !pickField(caption, occurrence) ||
            !press(w, Next))
            return false;
        if (!pickOperation(operation) || !press(w, Next))
            return false;
        if (page() == QueryWizard::ValuePage) {
            if (!value.isNull())
                typeValue(value);
            press(w, Next);
        }
        return page() == QueryWizard::CurrentPage;
    }
    bool pickRadio(WizardText text) {
        for (QRadioButton* r : w->findChildren<QRadioButton*>())
            if (r->isVisible() && r->text() == wizardText(text)) {
                clickRadio(r);
                return r->isChecked();
            }
        return false;
    }
    void typeManual(const QString& text) {
        auto* edit = w->findChild<QPlainTextEdit*>(QStringLiteral("manual"));
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
};

// Answers the description dialog that the next press brings up.
void onDescription(const QString& typed, QString* titleSeen = nullptr, QString* shown = nullptr) {
    onModal([=](QWidget* modal) {
        if (titleSeen)
            *titleSeen = modal->windowTitle();
        auto* edit = modal->findChild<QLineEdit*>(QStringLiteral("description"));
        ASSERT_NE(edit, nullptr);
        if (shown)
            *shown = edit->text();
        if (!typed.isNull()) {
            edit->selectAll();
            typeText(edit, typed);
        }
        ASSERT_TRUE(press(modal, Ok));
    });
}

Record song(const QString& artist, qint64 chart, const QString& side) {
    Record r(songsTable());
    r.setText(SON::Artist, artist);
    r.setNumber(SON::ChartNumber, chart);
    r.setText(SON::Side, side);
    return r;
}

bool passes(const QString& filter, const Record& r) {
    const ParsedQuery parsed = parseQuery(filter);
    EXPECT_TRUE(parsed.ok()) << filter.toStdString() << ": " << parsed.error.toStdString();
    if (!parsed.ok())
        return false;
    QString error;
    const bool result = matches(*parsed.expr, recordFields(r, BoundValues()), &error);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    return result;
}

class QueryWizardTest : public ::testing::Test {
protected:
    void TearDown() override {
        srk::testing::finishModalWaits();
    }

    // Runs the wizard on `filter`, with `action` driving it.
    bool run(QString& filter, std::function<void(Wizard&)> action) {
        onModal([action](QWidget* modal) {
            auto* w = qobject_cast<QueryWizard*>(modal);
            ASSERT_NE(w, nullptr);
            Wizard driver{w};
            action(driver);
        });
        return QueryWizard::run(nullptr, messages, fields, filter, QStringLiteral("SONGS"), folder.path());
    }

    TempFolder folder;
    ScriptedMessages messages;
    QueryFieldList fields = songQueryFields();
};

} // namespace

TEST_F(QueryWizardTest, ConditionsJoinedByAndOrGiveAFilterThatSelectsTheRightSongs) {
    QString filter;
    QStringList shownElements;
    const bool done = run(filter, [&](Wizard& d) {
        EXPECT_EQ(d.page(), QueryWizard::SavedPage);
        EXPECT_EQ(d.w->windowTitle(), QStringLiteral("Saved Queries"));
        EXPECT_EQ(d.savedRows(),
                  (QStringList{QStringLiteral("All Records"), QStringLiteral("Custom Query...")}));
        ASSERT_TRUE(d.pickSaved(QStringLiteral("Custom Query...")));
        ASSERT_TRUE(press(d.w, Select));
        ASSERT_EQ(d.page(), QueryWizard::CurrentPage);
        EXPECT_EQ(d.w->windowTitle(), QStringLiteral("Query Wizard - (New Query)"));
        EXPECT_EQ(d.elements()->count(), 0);

        // "Contains" makes no sense for a number: it is offered for the artist, not for the chart.
        ASSERT_TRUE(
            d.addCondition(And, QStringLiteral("Artist"), WizardCondition::Contains, QStringLiteral("o'b")));
        ASSERT_TRUE(press(d.w, And));
        ASSERT_TRUE(d.pickField(QStringLiteral("Chart")));
        ASSERT_TRUE(press(d.w, Next));
        EXPECT_FALSE(d.pickOperation(WizardCondition::Contains));
        EXPECT_FALSE(d.pickOperation(WizardCondition::BeginsWith));
        ASSERT_TRUE(press(d.w, Back));
        ASSERT_TRUE(press(d.w, Back));
        ASSERT_EQ(d.page(), QueryWizard::CurrentPage);
        ASSERT_TRUE(
            d.addCondition(And, QStringLiteral("Chart"), WizardCondition::Greater, QStringLiteral("10")));

        // A choice-list field offers its choices instead of a typed value.
        ASSERT_TRUE(press(d.w, Or));
        ASSERT_TRUE(d.pickField(QStringLiteral("Side / Disc")));
        ASSERT_TRUE(press(d.w, Next));
        ASSERT_TRUE(d.pickOperation(WizardCondition::Equal));
        ASSERT_TRUE(press(d.w, Next));
        auto* choices = d.w->findChild<QComboBox*>(QStringLiteral("choices"));
        ASSERT_TRUE(choices->isVisible());
        EXPECT_FALSE(d.w->findChild<QLineEdit*>(QStringLiteral("constant"))->isVisible());
        EXPECT_EQ(choices->count(), 5);
        choices->setFocus();
        QTest::keyClicks(choices, QStringLiteral("A"));
        EXPECT_EQ(choices->currentText(), QStringLiteral("A"));
        ASSERT_TRUE(press(d.w, Next));
        ASSERT_EQ(d.page(), QueryWizard::CurrentPage);

        for (int i = 0; i < d.elements()->count(); ++i)
            shownElements << d.elements()->item(i)->text();
        messages.addAnswer(ButtonNo); // not saved
        ASSERT_TRUE(press(d.w, Finish));
    });
    ASSERT_TRUE(done);
    EXPECT_EQ(messages.titles(), QStringList{QStringLiteral("Save Query")});
    EXPECT_EQ(messages.last().text, QStringLiteral("Would you like to save this query?"));
    EXPECT_EQ(filter,
              QStringLiteral("INSTRING(UPPER('o''b'), UPPER(SON:Artist)) <> 0 AND SON:ChartNumber > 10 OR "
                             "UPPER(SON:Side) = UPPER('A')"));
    ASSERT_EQ(shownElements.size(), 3);
    // Built conditions read as they were chosen, numbers in the field's picture.
    EXPECT_EQ(shownElements, (QStringList{QStringLiteral("Artist Contains 'o'b'"),
                                          QStringLiteral("AND  Chart Is Greater Than 10"),
                                          QStringLiteral("OR  Side / Disc Is Equal To 'A'")}));

    EXPECT_TRUE(passes(filter, song(QStringLiteral("Sinéad O'Brien"), 12, QStringLiteral("B"))));
    EXPECT_FALSE(passes(filter, song(QStringLiteral("O'Brien"), 10, QStringLiteral("B"))));
    EXPECT_TRUE(passes(filter, song(QStringLiteral("Madonna"), 1, QStringLiteral("a"))));
    EXPECT_FALSE(passes(filter, song(QStringLiteral("Bob Marley"), 20, QString())));
    EXPECT_FALSE(passes(filter, song(QStringLiteral("Dolores O'Riordan"), 99, QStringLiteral("1"))));
}

TEST_F(QueryWizardTest, NumbersAreTypedThroughTheFieldPictureAndElementsCanBeChangedAndDeleted) {
    QString filter;
    QString refused;
    QString prefilled;
    const bool done = run(filter, [&](Wizard& d) {
        ASSERT_TRUE(d.pickSaved(QStringLiteral("Custom Query...")));
        ASSERT_TRUE(press(d.w, Select));
        // A date that does not read stays on the value page with a message.
        ASSERT_FALSE(d.addCondition(And, QStringLiteral("Release"), WizardCondition::Equal,
                                    QStringLiteral("13/45/1997")));
        EXPECT_EQ(d.page(), QueryWizard::ValuePage);
        refused = messages.titles().join(u',');
        d.typeValue(QStringLiteral("03/21/1997"));
        ASSERT_TRUE(press(d.w, Next));
        ASSERT_EQ(d.page(), QueryWizard::CurrentPage);

        ASSERT_TRUE(d.addCondition(And, QStringLiteral("Time"), WizardCondition::LessOrEqual,
                                   QStringLiteral("00:03:30")));
        ASSERT_TRUE(d.addCondition(Or, QStringLiteral("Title"), WizardCondition::IsChecked));
        EXPECT_EQ(d.elements()->count(), 3);

        // Changing the release condition comes back with its field, operation and value.
        ASSERT_TRUE(d.pickElement(0));
        ASSERT_TRUE(press(d.w, ChangeElement));
        ASSERT_EQ(d.page(), QueryWizard::FieldPage);
        EXPECT_EQ(d.w->findChild<QListWidget*>(QStringLiteral("fields"))->currentItem()->text(),
                  QStringLiteral("Release"));
        ASSERT_TRUE(press(d.w, Next));
        EXPECT_TRUE(d.w->findChild<QRadioButton*>(QStringLiteral("operation1"))->isChecked());
        ASSERT_TRUE(d.pickOperation(WizardCondition::GreaterOrEqual));
        ASSERT_TRUE(press(d.w, Next));
        prefilled = d.w->findChild<QLineEdit*>(QStringLiteral("constant"))->text();
        ASSERT_TRUE(press(d.w, Next));
        EXPECT_EQ(d.elements()->count(), 3);

        // The "is checked" condition goes again.
        ASSERT_TRUE(d.pickElement(2));
        ASSERT_TRUE(press(d.w, DeleteElement));
        EXPECT_EQ(d.elements()->count(), 2);
        messages.addAnswer(ButtonNo);
        ASSERT_TRUE(press(d.w, Finish));
    });
    ASSERT_TRUE(done);
    EXPECT_EQ(refused, QStringLiteral("Value Entry"));
    EXPECT_EQ(prefilled, QStringLiteral("03/21/1997"));
    // 03/21/1997 is day 71671; 00:03:30 is 21000 hundredths plus one.
    EXPECT_EQ(filter, QStringLiteral("SON:ReleaseDate >= 71671 AND SON:Time <= 21001"));

    Record r(songsTable());
    r.setNumber(SON::ReleaseDate, 71671);
    r.setNumber(SON::Time, 21001);
    EXPECT_TRUE(passes(filter, r));
    r.setNumber(SON::ReleaseDate, 71670);
    EXPECT_FALSE(passes(filter, r));
}

TEST_F(QueryWizardTest, AnotherFieldOrAnExpressionAsTheValue) {
    QString filter;
    QString invalid;
    const bool done = run(filter, [&](Wizard& d) {
        ASSERT_TRUE(d.pickSaved(QStringLiteral("Custom Query...")));
        ASSERT_TRUE(press(d.w, Select));
        ASSERT_TRUE(press(d.w, And));
        ASSERT_TRUE(d.pickField(QStringLiteral("Title")));
        ASSERT_TRUE(press(d.w, Next));
        ASSERT_TRUE(d.pickOperation(WizardCondition::Equal));
        ASSERT_TRUE(press(d.w, Next));
        ASSERT_TRUE(d.pickRadio(WizardText::AnotherField));
        auto* other = d.w->findChild<QComboBox*>(QStringLiteral("otherField"));
        other->setCurrentIndex(other->findText(QStringLiteral("Album")));
        ASSERT_TRUE(press(d.w, Next));

        // An expression naming no known field is refused before it joins the query.
        ASSERT_TRUE(press(d.w, Or));
        ASSERT_TRUE(d.pickField(QStringLiteral("Chart")));
        ASSERT_TRUE(press(d.w, Next));
        ASSERT_TRUE(d.pickOperation(WizardCondition::Greater));
        ASSERT_TRUE(press(d.w, Next));
        ASSERT_TRUE(d.pickRadio(WizardText::Expression));
        auto* expression = d.w->findChild<QLineEdit*>(QStringLiteral("expression"));
        QTest::keyClicks(expression, QStringLiteral("SON:Nothing"));
        EXPECT_FALSE(press(d.w, Next) && d.page() == QueryWizard::CurrentPage);
        EXPECT_EQ(d.page(), QueryWizard::ValuePage);
        invalid = messages.titles().join(u',');
        expression->clear();
        QTest::keyClicks(expression, QStringLiteral("SON:TrackNumber"));
        ASSERT_TRUE(press(d.w, Next));
        ASSERT_EQ(d.page(), QueryWizard::CurrentPage);

        ASSERT_TRUE(press(d.w, Or));
        ASSERT_TRUE(d.pickField(QStringLiteral("Artist")));
        ASSERT_TRUE(press(d.w, Next));
        ASSERT_TRUE(d.pickOperation(WizardCondition::BeginsWith));
        ASSERT_TRUE(press(d.w, Next));
        ASSERT_TRUE(d.pickRadio(WizardText::AnotherField));
        other->setCurrentIndex(other->findText(QStringLiteral("Album")));
        ASSERT_TRUE(press(d.w, Next));
        ASSERT_EQ(d.page(), QueryWizard::CurrentPage);
        messages.addAnswer(ButtonNo);
        ASSERT_TRUE(press(d.w, Finish));
    });
    ASSERT_TRUE(done);
    EXPECT_EQ(invalid, QStringLiteral("Invalid Query"));
    EXPECT_EQ(filter,
              QStringLiteral("UPPER(SON:Title) = UPPER(SON:Album) OR SON:ChartNumber > SON:TrackNumber OR "
                             "INSTRING(UPPER(SON:Album), UPPER(SON:Artist)) = 1"));
    Record r(songsTable());
    r.setText(SON::Title, QStringLiteral("Homogenic"));
    r.setText(SON::Album, QStringLiteral("HOMOGENIC"));
    EXPECT_TRUE(passes(filter, r));
    r.setText(SON::Album, QStringLiteral("Post"));
    EXPECT_FALSE(passes(filter, r));
    r.setNumber(SON::ChartNumber, 3);
    r.setNumber(SON::TrackNumber, 2);
    EXPECT_TRUE(passes(filter, r));
    // The artist begins with the album's name, in any letter case, or not at all.
    r.setNumber(SON::ChartNumber, 0);
    r.setText(SON::Album, QStringLiteral("björk"));
    r.setText(SON::Artist, QStringLiteral("Björk Guðmundsdóttir"));
    EXPECT_TRUE(passes(filter, r));
    r.setText(SON::Artist, QStringLiteral("The Björk"));
    EXPECT_FALSE(passes(filter, r));
}

TEST_F(QueryWizardTest, ManualEntryIsCheckedBeforeItReplacesTheQuery) {
    QString filter;
    QStringList refusals;
    int elementsAfter = 0;
    const bool done = run(filter, [&](Wizard& d) {
        ASSERT_TRUE(d.pickSaved(QStringLiteral("Custom Query...")));
        ASSERT_TRUE(press(d.w, Select));
        ASSERT_TRUE(press(d.w, Manual));
        ASSERT_EQ(d.page(), QueryWizard::ManualPage);
        for (const QString& bad : {QStringLiteral("SON:Artist = 'Abba"), QStringLiteral("SON:Nope = 1"),
                                   QStringLiteral("(SON:ChartNumber > 1"), QStringLiteral("AND AND")}) {
            d.typeManual(bad);
            press(d.w, Next);
            EXPECT_EQ(d.page(), QueryWizard::ManualPage) << bad.toStdString();
            refusals << messages.last().title;
        }
        // Finish refuses the same way and keeps the text for correcting.
        const int shown = messages.count();
        press(d.w, Finish);
        EXPECT_EQ(d.page(), QueryWizard::ManualPage);
        EXPECT_EQ(messages.count(), shown + 1);

        d.typeManual(QStringLiteral("son:artist = 'Abba' and (SON:Side = 'A' or SON:Side = 'B')"));
        ASSERT_TRUE(press(d.w, Next));
        ASSERT_EQ(d.page(), QueryWizard::CurrentPage);
        elementsAfter = d.elements()->count();
        messages.addAnswer(ButtonNo);
        ASSERT_TRUE(press(d.w, Finish));
    });
    ASSERT_TRUE(done);
    EXPECT_EQ(refusals, QStringList(4, QStringLiteral("Invalid Query")));
    EXPECT_TRUE(messages.shown()[0].text.startsWith(QStringLiteral(
        "The query you have designed is invalid.\nPlease review your query and correct the problem.")));
    EXPECT_EQ(elementsAfter, 2);
    EXPECT_EQ(filter, QStringLiteral("son:artist = 'Abba' AND (SON:Side = 'A' or SON:Side = 'B')"));
}

TEST_F(QueryWizardTest, AnExistingFilterIsShownAsTheCurrentQueryAndCancelKeepsIt) {
    // Typed by hand: the wizard never writes the field on the right or a group of its own.
    const QString original = QStringLiteral("5 < SON:ChartNumber AND (SON:Side = 'A' OR SON:Side = 'B')");
    QString filter = original;
    QStringList shown;
    const bool done = run(filter, [&](Wizard& d) {
        ASSERT_EQ(d.page(), QueryWizard::CurrentPage);
        for (int i = 0; i < d.elements()->count(); ++i)
            shown << d.elements()->item(i)->text();
        ASSERT_TRUE(d.pickElement(0));
        ASSERT_TRUE(press(d.w, DeleteElement));
        ASSERT_TRUE(
            d.addCondition(Or, QStringLiteral("Artist"), WizardCondition::Equal, QStringLiteral("Abba")));
        ASSERT_TRUE(press(d.w, Cancel));
    });
    EXPECT_FALSE(done);
    EXPECT_EQ(filter, original);
    EXPECT_EQ(shown, (QStringList{QStringLiteral("5 < SON:ChartNumber"),
                                  QStringLiteral("AND  (SON:Side = 'A' OR SON:Side = 'B')")}));
    EXPECT_EQ(messages.count(), 0);

    // Adding to it keeps what was there; an element typed by hand is changed by hand.
    const bool added = run(filter, [&](Wizard& d) {
        ASSERT_TRUE(
            d.addCondition(Or, QStringLiteral("Artist"), WizardCondition::BeginsWith, QStringLiteral("Ab")));
        ASSERT_TRUE(d.pickElement(0));
        ASSERT_TRUE(press(d.w, ChangeElement));
        ASSERT_EQ(d.page(), QueryWizard::ManualPage);
        d.typeManual(QStringLiteral("SON:ChartNumber > 6"));
        ASSERT_TRUE(press(d.w, Next));
        messages.addAnswer(ButtonNo);
        ASSERT_TRUE(press(d.w, Finish));
    });
    ASSERT_TRUE(added);
    EXPECT_EQ(filter, QStringLiteral("SON:ChartNumber > 6 AND (SON:Side = 'A' OR SON:Side = 'B') OR "
                                     "UPPER(SUB(SON:Artist, 1, 2)) = UPPER('Ab')"));

    // Deleting every condition and finishing asks for all records again, without offering to save.
    QString copy = filter;
    ASSERT_TRUE(run(copy, [&](Wizard& d) {
        while (d.elements()->count() > 0) {
            ASSERT_TRUE(d.pickElement(0));
            ASSERT_TRUE(press(d.w, DeleteElement));
        }
        ASSERT_TRUE(press(d.w, Finish));
    }));
    EXPECT_TRUE(copy.isEmpty());
    EXPECT_EQ(messages.titles(), QStringList{QStringLiteral("Save Query")}); // from the run before

    // "All Records" clears it; on an empty filter it changes nothing.
    ASSERT_TRUE(run(filter, [&](Wizard& d) {
        ASSERT_TRUE(press(d.w, Back));
        ASSERT_EQ(d.page(), QueryWizard::SavedPage);
        ASSERT_TRUE(d.pickSaved(QStringLiteral("All Records")));
        ASSERT_TRUE(press(d.w, Select));
    }));
    EXPECT_TRUE(filter.isEmpty());
    EXPECT_FALSE(run(filter, [&](Wizard& d) {
        ASSERT_TRUE(d.pickSaved(QStringLiteral("All Records")));
        ASSERT_TRUE(press(d.w, Select));
    }));
}

TEST_F(QueryWizardTest, AFilterTheWizardWroteReopensAsItsConditions) {
    // The filter of the first session, as the browse hands it back on the next "&Search".
    QString filter;
    ASSERT_TRUE(run(filter, [&](Wizard& d) {
        ASSERT_TRUE(d.pickSaved(QStringLiteral("Custom Query...")));
        ASSERT_TRUE(press(d.w, Select));
        ASSERT_TRUE(d.addCondition(And, QStringLiteral("Artist"), WizardCondition::Contains, QStringLiteral("zz")));
        ASSERT_TRUE(
            d.addCondition(And, QStringLiteral("Chart"), WizardCondition::GreaterOrEqual, QStringLiteral("10")));
        ASSERT_TRUE(d.addCondition(Or, QStringLiteral("Release"), WizardCondition::Less, QStringLiteral("03/21/1997")));
        messages.addAnswer(ButtonNo);
        ASSERT_TRUE(press(d.w, Finish));
    }));
    ASSERT_EQ(filter, QStringLiteral("INSTRING(UPPER('zz'), UPPER(SON:Artist)) <> 0 AND SON:ChartNumber >= 10 OR "
                                     "SON:ReleaseDate < 71671"));

    QStringList shown;
    QString fieldShown;
    QString operationShown;
    QString valueShown;
    const bool changed = run(filter, [&](Wizard& d) {
        ASSERT_EQ(d.page(), QueryWizard::CurrentPage);
        for (int i = 0; i < d.elements()->count(); ++i)
            shown << d.elements()->item(i)->text();
        // Change goes through the pages with the condition's own field, operation and value.
        ASSERT_TRUE(d.pickElement(0));
        ASSERT_TRUE(press(d.w, ChangeElement));
        ASSERT_EQ(d.page(), QueryWizard::FieldPage);
        fieldShown = d.w->findChild<QListWidget*>(QStringLiteral("fields"))->currentItem()->text();
        ASSERT_TRUE(press(d.w, Next));
        for (QRadioButton* r : d.w->findChildren<QRadioButton*>())
            if (r->objectName().startsWith(QStringLiteral("operation")) && r->isChecked())
                operationShown = r->text();
        ASSERT_TRUE(press(d.w, Next));
        valueShown = d.w->findChild<QLineEdit*>(QStringLiteral("constant"))->text();
        d.typeValue(QStringLiteral("yy"));
        ASSERT_TRUE(press(d.w, Next));
        ASSERT_EQ(d.page(), QueryWizard::CurrentPage);
        messages.addAnswer(ButtonNo);
        ASSERT_TRUE(press(d.w, Finish));
    });
    ASSERT_TRUE(changed);
    EXPECT_EQ(shown, (QStringList{QStringLiteral("Artist Contains 'zz'"),
                                  QStringLiteral("AND  Chart Is Greater Than or Equal To 10"),
                                  QStringLiteral("OR  Release Is Less Than 03/21/1997")}));
    EXPECT_EQ(fieldShown, QStringLiteral("Artist"));
    EXPECT_EQ(operationShown, QStringLiteral("Contains"));
    EXPECT_EQ(valueShown, QStringLiteral("zz"));
    EXPECT_EQ(filter, QStringLiteral("INSTRING(UPPER('yy'), UPPER(SON:Artist)) <> 0 AND SON:ChartNumber >= 10 OR "
                                     "SON:ReleaseDate < 71671"));

    // Typed by hand: what reads as a condition shows as one, the rest as its filter text.
    QString mixed = QStringLiteral("INSTRING(UPPER('zz'), UPPER(SON:Artist)) <> 0 AND "
                                   "(SON:Side = 'A' OR SON:Side = 'B')");
    QStringList mixedShown;
    EXPECT_FALSE(run(mixed, [&](Wizard& d) {
        for (int i = 0; i < d.elements()->count(); ++i)
            mixedShown << d.elements()->item(i)->text();
        ASSERT_TRUE(press(d.w, Cancel));
    }));
    EXPECT_EQ(mixedShown, (QStringList{QStringLiteral("Artist Contains 'zz'"),
                                       QStringLiteral("AND  (SON:Side = 'A' OR SON:Side = 'B')")}));
}

TEST_F(QueryWizardTest, TheQueryNeverGrowsPast1024Characters) {
    // About 1000 characters of conditions to start from.
    QStringList parts;
    for (int i = 0; parts.join(QStringLiteral(" OR ")).size() < 990; ++i)
        parts << QStringLiteral("SON:ChartNumber = %1").arg(i);
    QString filter = parts.join(QStringLiteral(" OR "));
    ASSERT_LE(filter.size(), 1024);
    const QString original = filter;
    QString detail;
    int elements = 0;
    const bool done = run(filter, [&](Wizard& d) {
        elements = d.elements()->count();
        EXPECT_FALSE(d.addCondition(And, QStringLiteral("Artist"), WizardCondition::Contains,
                                    QStringLiteral("a long enough name")));
        EXPECT_EQ(d.page(), QueryWizard::ValuePage);
        detail =
            messages.count() ? messages.last().title + QLatin1Char('|') + messages.last().text : QString();
        ASSERT_TRUE(press(d.w, Back));
        ASSERT_TRUE(press(d.w, Back));
        ASSERT_TRUE(press(d.w, Back));
        EXPECT_EQ(d.elements()->count(), elements);
        EXPECT_EQ(d.w->currentQueryText(), original);
        ASSERT_TRUE(press(d.w, Cancel));
    });
    EXPECT_FALSE(done);
    EXPECT_EQ(filter, original);
    EXPECT_EQ(elements, parts.size());
    EXPECT_TRUE(detail.startsWith(QStringLiteral("Invalid Query|")));
    EXPECT_TRUE(detail.contains(QStringLiteral("1024"))) << detail.toStdString();
}

TEST_F(QueryWizardTest, ASavedQuerySurvivesARestartAndCanBeRunChangedAndDeleted) {
    QString filter;
    QString title;
    ASSERT_TRUE(run(filter, [&](Wizard& d) {
        ASSERT_TRUE(press(d.w, Insert));
        ASSERT_EQ(d.page(), QueryWizard::CurrentPage);
        ASSERT_TRUE(
            d.addCondition(And, QStringLiteral("Artist"), WizardCondition::BeginsWith, QStringLiteral("Bj")));
        onDescription(QStringLiteral("Björk"), &title);
        ASSERT_TRUE(press(d.w, Finish));
    }));
    const QString saved = QStringLiteral("UPPER(SUB(SON:Artist, 1, 2)) = UPPER('Bj')");
    EXPECT_EQ(filter, saved);
    EXPECT_EQ(title, QStringLiteral("Adding a New Query"));
    // "&Insert" means saving: no question about it.
    EXPECT_EQ(messages.count(), 0) << messages.titles().join(u',').toStdString();
    {
        SavedQueries store(folder.path());
        ASSERT_TRUE(store.load());
        EXPECT_EQ(store.query(QStringLiteral("SONGS"), QStringLiteral("Björk")), saved);
    }

    // A new dialog lists it and runs it.
    filter.clear();
    ASSERT_TRUE(run(filter, [&](Wizard& d) {
        EXPECT_EQ(d.savedRows(), (QStringList{QStringLiteral("All Records"),
                                              QStringLiteral("Custom Query..."), QStringLiteral("Björk")}));
        ASSERT_TRUE(d.pickSaved(QStringLiteral("Björk")));
        ASSERT_TRUE(press(d.w, Select));
    }));
    EXPECT_EQ(filter, saved);

    // Changing it asks whether to overwrite, then for the description, which is offered as it was.
    filter.clear();
    QString offered;
    ASSERT_TRUE(run(filter, [&](Wizard& d) {
        ASSERT_TRUE(d.pickSaved(QStringLiteral("Björk")));
        ASSERT_TRUE(press(d.w, ChangeSaved));
        ASSERT_EQ(d.page(), QueryWizard::CurrentPage);
        EXPECT_EQ(d.w->windowTitle(), QStringLiteral("Query Wizard - Björk"));
        ASSERT_TRUE(
            d.addCondition(And, QStringLiteral("Media"), WizardCondition::Equal, QStringLiteral("CD"), 1));
        messages.addAnswer(ButtonYes);
        onDescription(QStringLiteral("Björk on CD"), &title, &offered);
        ASSERT_TRUE(press(d.w, Finish));
    }));
    EXPECT_EQ(messages.titles(), QStringList{QStringLiteral("Overwrite Query")});
    EXPECT_EQ(title, QStringLiteral("Changing an Existing Query"));
    EXPECT_EQ(offered, QStringLiteral("Björk"));
    const QString changed = saved + QStringLiteral(" AND UPPER(SON:Media) = UPPER('CD')");
    EXPECT_EQ(filter, changed);
    {
        SavedQueries store(folder.path());
        ASSERT_TRUE(store.load());
        EXPECT_EQ(store.descriptions(QStringLiteral("SONGS")), QStringList{QStringLiteral("Björk on CD")});
        EXPECT_EQ(store.query(QStringLiteral("SONGS"), QStringLiteral("Björk on CD")), changed);
    }

    // The fixed rows may be neither changed nor deleted; a saved query is deleted after its confirmation.
    messages.clear();
    filter.clear();
    QStringList rowsAfter;
    EXPECT_FALSE(run(filter, [&](Wizard& d) {
        ASSERT_TRUE(d.pickSaved(QStringLiteral("All Records")));
        ASSERT_TRUE(press(d.w, ChangeSaved));
        ASSERT_TRUE(d.pickSaved(QStringLiteral("Custom Query...")));
        ASSERT_TRUE(press(d.w, DeleteSaved));
        EXPECT_EQ(d.page(), QueryWizard::SavedPage);
        ASSERT_TRUE(d.pickSaved(QStringLiteral("Björk on CD")));
        onDescription(QString(), &title, &offered);
        ASSERT_TRUE(press(d.w, DeleteSaved));
        rowsAfter = d.savedRows();
        ASSERT_TRUE(press(d.w, Close));
    }));
    EXPECT_EQ(messages.titles(),
              (QStringList{QStringLiteral("Restricted Query"), QStringLiteral("Restricted Query")}));
    EXPECT_EQ(title, QStringLiteral("Deleting a Saved Query"));
    EXPECT_EQ(offered, QStringLiteral("Björk on CD"));
    EXPECT_EQ(rowsAfter, (QStringList{QStringLiteral("All Records"), QStringLiteral("Custom Query...")}));
    EXPECT_TRUE(filter.isEmpty());
    SavedQueries store(folder.path());
    ASSERT_TRUE(store.load());
    EXPECT_TRUE(store.descriptions(QStringLiteral("SONGS")).isEmpty());
}

TEST_F(QueryWizardTest, ASavedQueryThatNoLongerReadsMustBeFixedBeforeItRuns) {
    {
        SavedQueries store(folder.path());
        ASSERT_TRUE(store.load());
        ASSERT_TRUE(store.save(QStringLiteral("SONGS"), QStringLiteral("old"),
                               QStringLiteral("SON:Gone = 1 AND SON:ChartNumber > 2")));
        // Another set's queries are not offered.
        ASSERT_TRUE(store.save(QStringLiteral("ALBUMS"), QStringLiteral("albums"),
                               QStringLiteral("ALB:Media = 'CD'")));
    }
    QString filter = QString();
    QStringList rows;
    int elements = 0;
    ASSERT_TRUE(run(filter, [&](Wizard& d) {
        rows = d.savedRows();
        ASSERT_TRUE(d.pickSaved(QStringLiteral("old")));
        ASSERT_TRUE(press(d.w, Select));
        EXPECT_EQ(d.page(), QueryWizard::SavedPage);
        ASSERT_TRUE(press(d.w, ChangeSaved));
        ASSERT_EQ(d.page(), QueryWizard::CurrentPage);
        elements = d.elements()->count();
        // The broken condition is dropped; Finish overwrites the saved query under its old name.
        ASSERT_TRUE(d.pickElement(0));
        ASSERT_TRUE(press(d.w, DeleteElement));
        messages.addAnswer(ButtonYes);
        onDescription(QString());
        ASSERT_TRUE(press(d.w, Finish));
    }));
    EXPECT_EQ(rows, (QStringList{QStringLiteral("All Records"), QStringLiteral("Custom Query..."),
                                 QStringLiteral("old")}));
    ASSERT_GE(messages.count(), 2);
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("Query No Longer Valid"));
    EXPECT_EQ(messages.shown()[1].title, QStringLiteral("Query No Longer Valid"));
    EXPECT_NE(messages.shown()[0].text, messages.shown()[1].text);
    EXPECT_EQ(elements, 2);
    EXPECT_EQ(filter, QStringLiteral("SON:ChartNumber > 2"));
    SavedQueries store(folder.path());
    ASSERT_TRUE(store.load());
    EXPECT_EQ(store.query(QStringLiteral("SONGS"), QStringLiteral("old")),
              QStringLiteral("SON:ChartNumber > 2"));
}

TEST_F(QueryWizardTest, ADamagedQueryFileIsReportedAndLeftAlone) {
    const QByteArray damaged("not a query file\n");
    {
        QFile f(folder.file(SavedQueries::fileName()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(damaged);
    }
    QString filter;
    bool insertEnabled = true;
    ASSERT_TRUE(run(filter, [&](Wizard& d) {
        insertEnabled = visibleButton(d.w, wizardText(Insert))->isEnabled();
        ASSERT_TRUE(d.pickSaved(QStringLiteral("Custom Query...")));
        ASSERT_TRUE(press(d.w, Select));
        ASSERT_TRUE(d.addCondition(And, QStringLiteral("Chart"), WizardCondition::IsNotChecked));
        ASSERT_TRUE(press(d.w, Finish));
    }));
    EXPECT_EQ(filter, QStringLiteral("SON:ChartNumber = 0"));
    EXPECT_FALSE(insertEnabled);
    EXPECT_EQ(messages.titles(), QStringList{QStringLiteral("ErrorLoadingQuery")});
    QFile f(folder.file(SavedQueries::fileName()));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), damaged);
}

namespace {

TEST_F(QueryWizardTest, TheDialogReopensWhereItWasLeft) {
    IniFile positions(folder.file(QStringLiteral("POSITION.INI")));
    QString filter;
    onModal([](QWidget* modal) {
        modal->resize(610, 430);
        modal->move(70, 50);
        static_cast<QDialog*>(modal)->reject();
    });
    EXPECT_FALSE(QueryWizard::run(nullptr, messages, fields, filter, QStringLiteral("SONGS"), folder.path(), &positions));
    EXPECT_EQ(positions.readInt(QStringLiteral("QueryWizard"), QStringLiteral("Width")), 610);

    QSize shown;
    onModal([&shown](QWidget* modal) {
        shown = modal->size();
        static_cast<QDialog*>(modal)->reject();
    });
    QueryWizard::run(nullptr, messages, fields, filter, QStringLiteral("SONGS"), folder.path(), &positions);
    EXPECT_EQ(shown, QSize(610, 430));
    EXPECT_EQ(filter, QString());
}

} // namespace
