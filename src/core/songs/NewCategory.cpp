#include "songs/NewCategory.h"

#include "access/AutoNumber.h"
#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "store/Table.h"

namespace srk {

QVector<CategoryChoice> loadCategoryChoices(TableAccess& access) {
    QVector<CategoryChoice> out;
    TableUse use(access);
    if (!use.open(categoriesTable()))
        return out;
    Table table(access.store(), categoriesTable());
    table.setStart(CAT::KeyCategory);
    Record r;
    while (table.next(r) == NoError)
        out.append({r.number(CAT::CategoryID), r.text(CAT::Category)});
    return out;
}

const CategoryChoice* findCategoryChoice(const QVector<CategoryChoice>& choices, const QString& typed) {
    const QString wanted = typed.trimmed();
    for (const CategoryChoice& c : choices)
        if (c.name.compare(wanted, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

bool addNewCategory(TableAccess& access, const QString& name, qint64& id) {
    TableUse use(access);
    int rc = use.open(categoriesTable()) ? NoError : FileNotFound;
    Record category(categoriesTable());
    if (!rc)
        rc = nextAutoNumber(access.store(), categoriesTable(), category, id);
    if (!rc) {
        category.setNumber(CAT::CategoryID, id);
        category.setText(CAT::Category, name.trimmed());
        rc = Table(access.store(), categoriesTable()).add(category);
    }
    if (rc == NoError)
        return true;
    access.ask({QStringLiteral("Error!"),
                QStringLiteral("Unable to add category - ") + access.store().lastError().displayText(),
                ButtonOk, ButtonOk});
    return false;
}

CategoryAcceptance acceptCategory(TableAccess& access, const QString& typed, qint64& id, QString& name) {
    if (typed.trimmed().isEmpty()) {
        id = 0;
        name.clear();
        return CategoryAcceptance::None;
    }
    QVector<CategoryChoice> choices = loadCategoryChoices(access);
    if (const CategoryChoice* c = findCategoryChoice(choices, typed)) {
        id = c->id;
        name = c->name;
        return CategoryAcceptance::Found;
    }
    const int answer = access.ask({QStringLiteral("Category not found"), QStringLiteral("Add new category?"),
                                   ButtonYes | ButtonNo, ButtonYes});
    if (answer != ButtonYes)
        return CategoryAcceptance::Refused;
    qint64 added = 0;
    if (!addNewCategory(access, typed, added))
        return CategoryAcceptance::Refused;
    // Accept it again from the reloaded list, as the user will see it.
    choices = loadCategoryChoices(access);
    const CategoryChoice* c = findCategoryChoice(choices, typed);
    if (!c)
        return CategoryAcceptance::Refused;
    id = c->id;
    name = c->name;
    return CategoryAcceptance::Added;
}

} // namespace srk
