#include "ui/songs/BrowseCategories.h"

#include "catalog/Tables.h"
#include "ui/WindowRegistry.h"
#include "ui/songs/UpdateCategories.h"

namespace srk {

const QString BrowseCategories::Procedure = QStringLiteral("BrowseCategories");

BrowseCategories::BrowseCategories(ProgramContext& context, WindowRequest request, QWidget* parent)
    : LookupBrowse(context, design(), request, parent) {}

LookupBrowse::Design BrowseCategories::design() {
    Design d;
    d.procedure = Procedure;
    d.title = QStringLiteral("Categories");
    d.listFormat = QStringLiteral("80L(2)|M~Category~L(2)@s30@");
    d.table = &categoriesTable();
    d.key = CAT::KeyCategory;
    d.field = CAT::Category;
    d.picture = QStringLiteral("@s30");
    d.header = QStringLiteral("Category");
    d.buttons = {{QStringLiteral("&Select"), Action::Select},
                 {QStringLiteral("&Insert"), Action::Insert},
                 {QStringLiteral("&Change"), Action::Change},
                 {QStringLiteral("&Delete"), Action::Delete},
                 {QStringLiteral("Cl&ose"), Action::Close}};
    d.minimumSize = QSize(50, 50);
    d.runForm = &UpdateCategories::run;
    return d;
}

WindowResponse BrowseCategories::select(ProgramContext& context, Record& chosen, QWidget* parent) {
    return pick(context, design(), chosen, parent);
}

void BrowseCategories::registerWith(WindowRegistry& windows) {
    windows.registerWindow(Procedure, [](WindowRegistry& w) -> QWidget* { return new BrowseCategories(w.context()); });
}

}  // namespace srk
