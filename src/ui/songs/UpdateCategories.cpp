#include "ui/songs/UpdateCategories.h"

#include "catalog/Tables.h"

namespace srk {

const QString UpdateCategories::Procedure = QStringLiteral("UpdateCategories");

LookupForm::Design UpdateCategories::design() {
    LookupForm::Design d;
    d.procedure = Procedure;
    d.insertTitle = QStringLiteral("Add Category");
    d.changeTitle = QStringLiteral("Change Category");
    d.prompt = QStringLiteral("&Category:");
    d.table = &categoriesTable();
    d.field = CAT::Category;
    d.picture = QStringLiteral("@s30");
    d.primes = true;
    return d;
}

WindowResponse UpdateCategories::run(ProgramContext& context, WindowRequest request, Record& record,
                                     QWidget* parent, FormMove* move) {
    return LookupForm::run(context, design(), request, record, parent, move);
}

}  // namespace srk
