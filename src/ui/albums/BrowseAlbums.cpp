#include "ui/albums/BrowseAlbums.h"

#include "albums/AlbumOrders.h"
#include "catalog/Tables.h"
#include "store/ErrorCode.h"
#include "ui/ProgramContext.h"
#include "ui/WindowRegistry.h"
#include "ui/albums/UpdateAlbums.h"
#include "ui/services/PageModel.h"
#include "ui/songs/BrowseCategories.h"

#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTableView>

namespace srk {

const QString BrowseAlbums::Procedure = QStringLiteral("BrowseAlbums");

namespace {

const QString kPrintProcedure = QStringLiteral("PrintALB:OneAlbum");
const QString kSingleArtistProcedure = QStringLiteral("AddSingleArtist");
const QString kCompilationProcedure = QStringLiteral("AddCompilation");
const QString kLabelProcedure = QStringLiteral("LabelWizard");
const QString kFlapProcedure = QStringLiteral("PRINTCDFLAPPAGES");

QString albumFormat() {
    return QStringLiteral("80L(2)|M~Artist~@s40@"
                          "80L(2)|M~Album~@s40@"
                          "64L(2)|M~Media~@s20@"
                          "50L(2)|M~File Number~@s20@"
                          "52R(2)|M~Released~@d2@"
                          "80L(2)|M~XCCD~@s32@");
}

BrowseSheetDesign albumDesign() {
    using A = BrowseAlbums::Action;
    BrowseSheetDesign d;
    d.procedure = BrowseAlbums::Procedure;
    d.listName = QStringLiteral("?Browse:1");
    d.table = &albumTable();
    d.tables = {&albumTable(), &categoriesTable()};
    // The category tabs read by category: a category changed elsewhere reads the page again.
    d.watched = {categoriesTable().label};
    for (int order = 1; order <= kAlbumOrderCount; ++order)
        d.orders.append(&albumOrder(order));
    d.columns = {{0, ALB::Artist},     {0, ALB::Album},       {0, ALB::Media},
                 {0, ALB::FileNumber}, {0, ALB::ReleaseDate}, {0, ALB::XCCD}};
    d.releaseDateColumns = {4};
    d.format = albumFormat();
    d.minimumDialogUnits = QSize(328, 160);
    d.widthDialogUnits = 420;
    d.locatorPrompt = QStringLiteral("Quick Locator (select list box and type to locate):");
    using B = BrowseSheetDesign;
    d.buttons = {B::button("&Add", A::Add),
                 B::button("Cop&y", A::Copy),
                 B::button("&Change", A::Change),
                 B::button("&Delete", A::Delete),
                 B::button("&Print", A::Print, false, "Print information"),
                 B::button("Single Artist Wi&zard", A::SingleArtistWizard),
                 B::button("Compilation Wizard", A::CompilationWizard),
                 B::button("Cl&ose", A::Close, true)};
    // Each category tab has a button of its own and remembers its own category.
    d.rangeButtons = {{4, QStringLiteral("Select Cate&gory"), int(A::SelectCategory)},
                      {5, QStringLiteral("Select Cate&gory"), int(A::SelectCategory)}};
    d.setEditActions(A::Add, A::Change, A::Delete, A::Close);
    d.rowActions.append(int(A::Copy));
    d.tabSetting = QStringLiteral("AlbumTab");
    d.filterProblem = QStringLiteral("The filter cannot be applied to the album table");
    return d;
}

} // namespace

BrowseAlbums::BrowseAlbums(ProgramContext& context, WindowRegistry* windows, QWidget* parent)
    : BrowseSheet(context, parent, windows) {
    setUpSheet(albumDesign());
    // The last tab used, when the preferences keep it.
    int tab = 0;
    if (context.preferences.SaveLastTab)
        tab = qBound(1, context.preferencesFile.readInt(QStringLiteral("Settings"), QStringLiteral("AlbumTab"), 1),
                     kAlbumOrderCount) - 1;
    openSheet(tab);
}

BrowseAlbums::~BrowseAlbums() {
    release();
}

void BrowseAlbums::registerWith(WindowRegistry& windows) {
    windows.registerWindow(Procedure, [](WindowRegistry& w) -> QWidget* { return new BrowseAlbums(w.context(), &w); });
}

QPushButton* BrowseAlbums::button(Action action) const {
    if (action != Action::SelectCategory)
        return sheetButton(int(action));
    // Both category tabs carry one: the current tab's, else the first tab's.
    if (QPushButton* own = rangeButton(order()))
        return own;
    return rangeButton(4);
}

void BrowseAlbums::showTitle(const QString& entries) {
    setWindowTitle(QStringLiteral("Albums - ") + entries);
}

void BrowseAlbums::updateOwnButtons(bool rows) {
    auto enable = [this](Action a, bool on) {
        if (QPushButton* b = button(a))
            b->setEnabled(on);
    };
    // Windows the program does not have yet stay greyed, never hidden.
    enable(Action::Print, rows && available(kPrintProcedure));
    enable(Action::SingleArtistWizard, available(kSingleArtistProcedure));
    enable(Action::CompilationWizard, available(kCompilationProcedure));
}

QMenu* BrowseAlbums::buildPopup() {
    auto* menu = new QMenu(this);
    const bool rows = model()->rowCount() > 0;
    addEditItems(menu);
    menu->addSeparator();
    addPopupItem(menu, int(Action::Copy), QStringLiteral("Cop&y"), rows);
    addButtonItem(menu, int(Action::CompilationWizard));
    addButtonItem(menu, int(Action::Print));
    menu->addSeparator();
    addPopupItem(menu, int(Action::CreateLabel), QStringLiteral("Create Label..."), available(kLabelProcedure));
    addPopupItem(menu, int(Action::QuickCdInsert), QStringLiteral("Quick CD Insert"),
                 rows && available(kFlapProcedure));
    return menu;
}

void BrowseAlbums::press(Action action) {
    if (QPushButton* b = button(action); b && !b->isEnabled())
        return;
    switch (action) {
    case Action::Add:
        runForm(WindowRequest::Insert);
        break;
    case Action::Copy:
        runForm(WindowRequest::Select);
        break;
    case Action::Change:
        runForm(WindowRequest::Change);
        break;
    case Action::Delete:
        runForm(WindowRequest::Delete);
        break;
    case Action::Print:
        start(kPrintProcedure);
        break;
    case Action::SingleArtistWizard:
        runWizard(kSingleArtistProcedure);
        break;
    case Action::CompilationWizard:
        runWizard(kCompilationProcedure);
        break;
    case Action::CreateLabel:
        start(kLabelProcedure);
        break;
    case Action::QuickCdInsert:
        if (model()->rowCount() > 0)
            start(kFlapProcedure);
        break;
    case Action::SelectCategory:
        selectCategory();
        break;
    case Action::Close:
        pressClose();
        break;
    }
}

void BrowseAlbums::runWizard(const QString& procedure) {
    const QPointer<BrowseAlbums> self(this);
    start(procedure);
    // The album the wizard added shows at once, not only when the change notice comes round.
    if (self)
        followTables();
}

void BrowseAlbums::runForm(WindowRequest request) {
    Record album(albumTable());
    if (request == WindowRequest::Insert) {
        // A new album starts in the category the tab shows.
        if (albumOrder(order()).range == BrowseRange::Category)
            album.setNumber(ALB::CategoryID, categoryRange(order()));
    } else if (!readForForm(album)) {
        return;
    }
    // A copy is an insert on the highlighted album's values.
    const WindowRequest formRequest = request == WindowRequest::Select ? WindowRequest::Insert : request;
    runFormOn(formRequest, album, [this, formRequest](Record& r) { return UpdateAlbums::run(m_context, formRequest, r, this); });
}

void BrowseAlbums::selectCategory() {
    const int tab = order();
    if (albumOrder(tab).range != BrowseRange::Category)
        return;
    Record chosen;
    const QPointer<BrowseAlbums> self(this);
    const WindowResponse response = BrowseCategories::select(m_context, chosen, this);
    if (!self)
        return;
    if (response == WindowResponse::Completed)
        setRangeValue(tab, chosen.number(CAT::CategoryID), chosen.text(CAT::Category));
    // Read again only when the tab's category changed.
    refresh(false);
}

void BrowseAlbums::setCategoryRange(int order, qint64 categoryId, const QString& category) {
    if (albumOrder(order).range != BrowseRange::Category)
        return;
    setRangeValue(order, categoryId, category);
    refresh(false);
}

} // namespace srk
