#include "ui/playlists/BrowsePlaylists.h"

#include "catalog/BrowseOrder.h"
#include "catalog/Tables.h"
#include "ui/ProgramContext.h"
#include "ui/WindowRegistry.h"
#include "ui/playlists/GeneratePlaylistLauncher.h"
#include "ui/playlists/UpdatePlaylist.h"
#include "ui/services/PageModel.h"

#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTableView>

namespace srk {

const QString BrowsePlaylists::Procedure = QStringLiteral("BrowsePlaylists");
const QString BrowsePlaylists::PlacementSection = QStringLiteral("BrowsePlayLists");
const QString BrowsePlaylists::GeneratorProcedure = QStringLiteral("GeneratePlaylist");

namespace {

const QString kPrintProcedure = QStringLiteral("PrintPlaylist");
const QString kTop40Procedure = QStringLiteral("PrintPlaylistTop40");

const BrowseOrder& descriptionOrder() {
    static const BrowseOrder order{1,  QStringLiteral("Playlist Description"), PLD::KeyPlaylistDescription,
                                   PLD::PlaylistDescription, {}, 30, false, false, BrowseRange::None, QString(),
                                   QString(), -1, QString()};
    return order;
}

BrowseSheetDesign playlistDesign() {
    using A = BrowsePlaylists::Action;
    BrowseSheetDesign d;
    d.procedure = BrowsePlaylists::PlacementSection;
    d.listName = QStringLiteral("?Browse:1");
    d.table = &playlistMasterTable();
    d.tables = {&playlistMasterTable(), &playlistDetailsTable()};
    d.orders = {&descriptionOrder()};
    d.columns = {{0, PLD::PlaylistDescription}};
    d.format = QStringLiteral("120L(2)|M~Playlist Description~@S20@");
    d.minimumDialogUnits = QSize(260, 140);
    d.widthDialogUnits = 300;
    using B = BrowseSheetDesign;
    d.buttons = {B::button("&Add", A::Add, false, "Add a playlist"),
                 B::button("&Change", A::Change, false, "Change the highlighted playlist"),
                 B::button("&Delete", A::Delete, false, "Delete the highlighted playlist"),
                 B::button("&Print", A::Print, false, "Print playlist (basic format)"),
                 B::button("&Top 40", A::Top40, false, "Print playlist in a top-?? chart format"),
                 B::button("Cl&ose", A::Close, true, "Close this window")};
    d.setEditActions(A::Add, A::Change, A::Delete, A::Close);
    return d;
}

} // namespace

BrowsePlaylists::BrowsePlaylists(ProgramContext& context, WindowRegistry* windows, QWidget* parent)
    : BrowseSheet(context, parent, windows) {
    setUpSheet(playlistDesign());
    openSheet(0);
}

BrowsePlaylists::~BrowsePlaylists() {
    release();
}

void BrowsePlaylists::registerWith(WindowRegistry& windows) {
    windows.registerWindow(Procedure,
                           [](WindowRegistry& w) -> QWidget* { return new BrowsePlaylists(w.context(), &w); });
}

void BrowsePlaylists::showTitle(const QString& entries) {
    Q_UNUSED(entries);
    setWindowTitle(QStringLiteral("Playlists"));
}

void BrowsePlaylists::updateOwnButtons(bool rows) {
    // The printouts stay greyed, never hidden, until the program has them.
    button(Action::Print)->setEnabled(rows && available(kPrintProcedure));
    button(Action::Top40)->setEnabled(rows && available(kTop40Procedure));
}

QMenu* BrowsePlaylists::buildPopup() {
    auto* menu = new QMenu(this);
    addEditItems(menu);
    menu->addSeparator();
    addButtonItem(menu, int(Action::Print));
    addButtonItem(menu, int(Action::Top40));
    menu->addSeparator();
    addPopupItem(menu, int(Action::Generate), QStringLiteral("Generate Play List"), available(GeneratorProcedure));
    return menu;
}

void BrowsePlaylists::press(Action action) {
    if (QPushButton* b = button(action); b && !b->isEnabled())
        return;
    switch (action) {
    case Action::Add:
        runForm(WindowRequest::Insert);
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
    case Action::Top40:
        start(kTop40Procedure);
        break;
    case Action::Generate: {
        if (!available(GeneratorProcedure))
            return;
        const QPointer<BrowsePlaylists> self(this);
        openGeneratePlaylist(m_context, this);
        // The playlist it made shows at once.
        if (self)
            followTables();
        break;
    }
    case Action::Close:
        pressClose();
        break;
    }
}

void BrowsePlaylists::runForm(WindowRequest request) {
    Record playlist(playlistMasterTable());
    if (request != WindowRequest::Insert && !readForForm(playlist))
        return;
    runFormOn(request, playlist, [this, request](Record& r) { return UpdatePlaylist::run(m_context, request, r, this); });
}

} // namespace srk
