#include "core/access/AccessTestSupport.h"

#include "songs/NewCategory.h"

using namespace srk;

namespace {

class NewCategory : public AccessTest {};

TEST_F(NewCategory, ChoicesAreSortedByNameAndFoundWithoutRegardToCase) {
    category(3, QStringLiteral("rock"));
    category(1, QStringLiteral("Jazz"));
    category(2, QStringLiteral("Blues"));
    const QVector<CategoryChoice> choices = loadCategoryChoices(access);
    ASSERT_EQ(choices.size(), 3);
    EXPECT_EQ(choices[0].name, QStringLiteral("Blues"));
    EXPECT_EQ(choices[1].name, QStringLiteral("Jazz"));
    EXPECT_EQ(choices[2].name, QStringLiteral("rock"));
    ASSERT_NE(findCategoryChoice(choices, QStringLiteral("JAZZ ")), nullptr);
    EXPECT_EQ(findCategoryChoice(choices, QStringLiteral("JAZZ "))->id, 1);
    EXPECT_EQ(findCategoryChoice(choices, QStringLiteral("Soul")), nullptr);
}

TEST_F(NewCategory, BlankIsNoneAndAListedNameGivesItsIdAndSpelling) {
    category(5, QStringLiteral("Jazz"));
    qint64 id = 9;
    QString name;
    EXPECT_EQ(acceptCategory(access, QStringLiteral("  "), id, name), CategoryAcceptance::None);
    EXPECT_EQ(id, 0);
    EXPECT_EQ(acceptCategory(access, QStringLiteral("jazz"), id, name), CategoryAcceptance::Found);
    EXPECT_EQ(id, 5);
    EXPECT_EQ(name, QStringLiteral("Jazz"));
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(NewCategory, AnUnknownNameIsAddedUnderTheNextNumberWhenTheUserSaysYes) {
    category(4, QStringLiteral("Jazz"));
    messages.addAnswer(ButtonYes);
    qint64 id = 0;
    QString name;
    EXPECT_EQ(acceptCategory(access, QStringLiteral("Soul"), id, name), CategoryAcceptance::Added);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Category not found"));
    EXPECT_EQ(messages.last().text, QStringLiteral("Add new category?"));
    EXPECT_EQ(messages.last().buttons, ButtonYes | ButtonNo);
    EXPECT_EQ(id, 5);
    EXPECT_EQ(name, QStringLiteral("Soul"));
    EXPECT_EQ(records(categoriesTable()), 2);
}

TEST_F(NewCategory, NoAddsNothingAndRefusesTheName) {
    messages.addAnswer(ButtonNo);
    qint64 id = 0;
    QString name;
    EXPECT_EQ(acceptCategory(access, QStringLiteral("Soul"), id, name), CategoryAcceptance::Refused);
    EXPECT_EQ(records(categoriesTable()), 0);
}

TEST_F(NewCategory, TheFirstCategoryIsNumberOne) {
    qint64 id = 0;
    ASSERT_TRUE(addNewCategory(access, QStringLiteral("Funk"), id));
    EXPECT_EQ(id, 1);
    EXPECT_EQ(loadCategoryChoices(access).value(0).name, QStringLiteral("Funk"));
}

TEST_F(NewCategory, AFailedAddSaysWhyUnderError) {
    // The name key is unique: a second "Funk" cannot be added.
    category(1, QStringLiteral("Funk"));
    qint64 id = 0;
    EXPECT_FALSE(addNewCategory(access, QStringLiteral("FUNK"), id));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QStringLiteral("Error!"));
    EXPECT_TRUE(messages.last().text.startsWith(QStringLiteral("Unable to add category - ")))
        << messages.last().text.toStdString();
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("(40)"))) << messages.last().text.toStdString();
    EXPECT_EQ(records(categoriesTable()), 1);
}

} // namespace
