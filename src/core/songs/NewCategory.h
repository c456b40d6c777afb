#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace srk {

class TableAccess;

// One entry of the song form's category drop list.
struct CategoryChoice {
    qint64 id = 0;
    QString name;
};

// Every category, sorted by name (the key's order, letter case ignored).
QVector<CategoryChoice> loadCategoryChoices(TableAccess& access);

// The entry whose name is typed (letter case ignored); nullptr when there is none.
const CategoryChoice* findCategoryChoice(const QVector<CategoryChoice>& choices, const QString& typed);

// Adds a category under the next number (highest CAT:CategoryID + 1, 1 for the first). A failed add
// shows "Unable to add category - " and the error under "Error!" and returns false.
bool addNewCategory(TableAccess& access, const QString& name, qint64& id);

enum class CategoryAcceptance {
    None,    // no name: no category
    Found,   // a listed category
    Added,   // the user agreed to add the name as a new category
    Refused, // not added (declined, or the add failed): the field is selected again
};

// Accepts the typed category name: blank is none, a listed name gives its id, an unknown name asks
// "Add new category?" ("Category not found", Yes and No) and adds it on Yes. id and name come back
// as they are to be shown (the list's letter case).
CategoryAcceptance acceptCategory(TableAccess& access, const QString& typed, qint64& id, QString& name);

} // namespace srk
