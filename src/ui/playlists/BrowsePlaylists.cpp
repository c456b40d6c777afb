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
    auto b = [](const char* text, A action, bool stretch = false) {
        return BrowseSheetDesign::Button{QString::fromUtf8(text), int(action), stretch};
    };
    d.buttons = {b("&Add", A::Add),     b("&Change", A::Change), b("&Delete", A::Delete),
                 b("&Print", A::Print), b("&Top 40", A::Top40),  b("Cl&ose", A::Close, true)};
    d.rowActions = {int(A::Change), int(A::Delete)};
    d.addAction = int(A::Add);
    d.changeAction = int(A::Change);
    d.deleteAction = int(A::Delete);
    d.closeAction = int(A::Close);
    return d;
}

} // namespace

BrowsePlaylists::BrowsePlaylists(ProgramContext& context, WindowRegistry* windows, QWidget* parent)
    : BrowseSheet(context, parent), m_windows(windows) {
    setUpSheet(playlistDesign());
    button(Action::Add)->setToolTip(QStringLiteral("Add a playlist"));
    button(Action::Change)->setToolTip(QStringLiteral("Change the highlighted playlist"));
    button(Action::Delete)->setToolTip(QStringLiteral("Delete the highlighted playlist"));
    button(Action::Print)->setToolTip(QStringLiteral("Print playlist (basic format)"));
    button(Action::Top40)->setToolTip(QStringLiteral("Print playlist in a top-?? chart format"));
    button(Action::Close)->setToolTip(QStringLiteral("Close this window"));
    openSheet(0);
}

BrowsePlaylists::~BrowsePlaylists() {
    release();
}

void BrowsePlaylists::registerWith(WindowRegistry& windows) {
    windows.registerWindow(Procedure,
                           [](WindowRegistry& w) -> QWidget* { return new BrowsePlaylists(w.context(), &w); });
}

bool BrowsePlaylists::available(const QString& procedure) const {
    return m_windows && m_windows->hasWindow(procedure);
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
    const bool rows = model()->rowCount() > 0;
    addPopupItem(menu, int(Action::Add), QStringLiteral("&Add"), true);
    addPopupItem(menu, int(Action::Change), QStringLiteral("&Change"), rows);
    addPopupItem(menu, int(Action::Delete), QStringLiteral("&Delete"), rows);
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
        if (m_closing)
            return;
        m_closing = true;
        closeSheet();
        break;
    }
}

void BrowsePlaylists::start(const QString& procedure) {
    if (available(procedure))
        m_windows->runCommand(procedure);
}

void BrowsePlaylists::runForm(WindowRequest request) {
    Record playlist(playlistMasterTable());
    if (request != WindowRequest::Insert && !readHighlighted(playlist)) {
        checkRead(model()->reload());
        return;
    }
    const QPointer<BrowsePlaylists> self(this);
    const WindowResponse response = UpdatePlaylist::run(m_context, request, playlist, this);
    // The window may have gone while the form was up.
    if (!self)
        return;
    afterForm(request, response, playlist);
    list()->setFocus();
}

} // namespace srk
