#include "ui/songs/BrowseSongs.h"

#include "access/StandardMessages.h"
#include "catalog/Tables.h"
#include "query/QueryParser.h"
#include "songs/SongOrders.h"
#include "songs/SongQueryFields.h"
#include "store/ErrorCode.h"
#include "ui/ProgramContext.h"
#include "ui/WindowRegistry.h"
#include "ui/query/QueryWizard.h"
#include "ui/services/DragPayload.h"
#include "ui/services/FormMove.h"
#include "ui/services/PageModel.h"
#include "ui/songs/BrowseCategories.h"
#include "ui/songs/BrowseMedia.h"
#include "ui/songs/SongTabBar.h"
#include "ui/songs/UpdateSong.h"

#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTableView>

namespace srk {

const QString BrowseSongs::Procedure = QStringLiteral("BrowseSongs");

namespace {

// The picker offers the orders up to "By Chart #".
constexpr int kPickerOrderCount = 6;

using Column = BrowseSheetDesign::Column;
// Columns in the order of the list's format; the category comes from the joined table.
const QVector<Column> kBrowseColumns = {
    {0, SON::Artist}, {0, SON::Title}, {0, SON::Album}, {0, SON::Media}, {0, SON::FileNumber},
    {1, CAT::Category}, {0, SON::Time}, {0, SON::ReleaseDate}, {0, SON::BeatsPerMinute},
    {0, SON::UserDefinedKeyField}, {0, SON::LastPlayed}, {0, SON::Style},
};
const QVector<Column> kPickerColumns = {
    {0, SON::Artist}, {0, SON::Title}, {0, SON::Album}, {0, SON::Media}, {0, SON::FileNumber},
    {0, SON::ReleaseDate}, {1, CAT::Category},
};

QString pickerFormat() {
    return QStringLiteral("80L(2)|M~Artist~@s30@"
                          "80L(2)|M~Title~@s30@"
                          "80L(2)|M~Album~@s30@"
                          "50L(2)|M~Media~@s20@"
                          "48L(2)|M~File Number~@s10@"
                          "52L(2)|M~Release Date~@d2@"
                          "60L(2)|M~Category~@s30@");
}

QString browseFormat() {
    return QStringLiteral("80L(2)|M~Artist~@s40@"
                          "80L(2)|M~Title~@s40@"
                          "80L(2)|M~Album~@s40@"
                          "50L(2)|M~Media~@s20@"
                          "50L(2)|M~File Number~@s20@"
                          "60L(2)|M~Category~@s30@"
                          "42R(2)|M~Time~@t4b@"
                          "52R(2)|M~Released~@d17b@"
                          "24R(2)|M~BPM~@n_4b@"
                          "60L(2)|M~User Defined Key Field~@s30@"
                          "52R(2)|M~Last Played~@d17-@"
                          "60L(2)|M~Style~@s30@");
}

BrowseSheetDesign songDesign(const QString& procedure, bool picker) {
    using A = BrowseSongs::Action;
    BrowseSheetDesign d;
    d.procedure = procedure;
    d.listName = QStringLiteral("?Browse");
    d.table = &songsTable();
    d.related = {{&categoriesTable(), SON::CategoryID, CAT::CategoryID}};
    d.tables = {&songsTable(), &categoriesTable(), &mediaTable()};
    const int orders = picker ? kPickerOrderCount : kSongOrderCount;
    for (int order = 1; order <= orders; ++order)
        d.orders.append(&songOrder(order));
    d.columns = picker ? kPickerColumns : kBrowseColumns;
    for (int i = 0; i < d.columns.size(); ++i)
        if (d.columns[i].table == 0 && d.columns[i].field == SON::ReleaseDate)
            d.releaseDateColumns = {i};
    d.format = picker ? pickerFormat() : browseFormat();
    d.minimumDialogUnits = QSize(374, 170);
    d.widthDialogUnits = 500;
    d.locatorPrompt = picker ? QStringLiteral("Locator:")
                             : QStringLiteral("Quick Locator (select list box and type to locate):");
    auto b = [](const char* text, A action, bool stretch = false) { return BrowseSheetDesign::button(text, action, stretch); };
    if (picker)
        d.buttons = {b("&Select", A::Select, true), b("Cl&ose", A::Close)};
    else
        d.buttons = {b("&Add", A::Add),         b("Cop&y", A::Copy),           b("&Change", A::Change),
                     b("&Delete", A::Delete),   b("&Search", A::Search),       b("Reset Search", A::ResetSearch),
                     b("&Import", A::Import),   b("&Export", A::Export),       b("&Print", A::Print),
                     b("Cl&ose", A::Close, true)};
    d.rangeButtons = {{4, QStringLiteral("Se&lect Media"), int(A::SelectMedia)},
                      {5, picker ? QStringLiteral("&Select Category") : QStringLiteral("Se&lect Category"),
                       int(A::SelectCategory)}};
    d.setEditActions(A::Add, A::Change, A::Delete, A::Close);
    d.rowActions.append(int(A::Copy));
    d.tabSetting = picker ? QString() : QStringLiteral("SongTab");
    if (!picker) {
        d.dragId = kSongsDragId;
        d.dragField = SON::ID;
    }
    d.filterProblem = QStringLiteral("The filter cannot be applied to the song table");
    return d;
}

} // namespace

BrowseSongs::BrowseSongs(ProgramContext& context, WindowRegistry* windows, QWidget* parent)
    : BrowseSheet(context, parent, windows), m_procedure(Procedure) {
    setUp();
}

BrowseSongs::BrowseSongs(ProgramContext& context, const QString& procedure, bool selectMode, QWidget* parent)
    : BrowseSheet(context, parent), m_role(Role::Picker), m_procedure(procedure), m_selectMode(selectMode) {
    setUp();
}

void BrowseSongs::setUp() {
    setUpSheet(songDesign(m_procedure, picker()));
    const QString label = m_context.preferences.UDKPrompt.trimmed();
    if (!picker() && !label.isEmpty())
        tabs()->setPlainText(7, QStringLiteral("By ") + label.left(10));
    setUpQueryFields();

    // The last tab used, when the preferences keep it.
    int tab = 0;
    if (!picker() && m_context.preferences.SaveLastTab)
        tab = qBound(1, m_context.preferencesFile.readInt(QStringLiteral("Settings"), QStringLiteral("SongTab"), 1),
                     kSongOrderCount) - 1;
    openSheet(tab);
}

BrowseSongs::~BrowseSongs() {
    release();
}

void BrowseSongs::registerWith(WindowRegistry& windows) {
    windows.registerWindow(Procedure, [](WindowRegistry& w) -> QWidget* { return new BrowseSongs(w.context(), &w); });
}

void BrowseSongs::setUpQueryFields() {
    const QueryFieldList fields = songQueryFields();
    if (fields.error() == 0)
        return;
    m_queryUsable = false;
    Message m;
    m.title = QStringLiteral("Query Wizard Error# ") + QString::number(fields.error());
    m.text = QStringLiteral("An error has prevented the Query Wizard from initializing.");
    m_context.messages->ask(m);
}

bool BrowseSongs::rangeActive(int order) const {
    // The picker reads "By Media" whole.
    const SongRange range = songOrder(order).range;
    return range != SongRange::None && !(picker() && range == SongRange::Media);
}

QString BrowseSongs::filterOf(int order) const {
    if (!rangeActive(order) && songOrder(order).range != SongRange::None)
        return m_query.trimmed();
    return songOrderFilter(order, m_query);
}

QString BrowseSongs::viewFieldName(const QString& field) const {
    // The field list's media name is the song's own media: the list joins only the category.
    return field.compare(QLatin1String("MED:Media"), Qt::CaseInsensitive) == 0 ? QStringLiteral("SON:Media") : field;
}

void BrowseSongs::showTitle(const QString& entries) {
    // The picker's title is its window's.
    if (picker())
        window()->setWindowTitle(QStringLiteral("Browse Music Database - ") + entries);
    else
        setWindowTitle(QStringLiteral("Songs - ") + entries);
}

void BrowseSongs::updateOwnButtons(bool rows) {
    auto enable = [this](Action a, bool on) {
        if (QPushButton* b = button(a))
            b->setEnabled(on);
    };
    enable(Action::Select, m_selectMode && rows);
    enable(Action::Search, m_queryUsable);
    enable(Action::ResetSearch, m_queryUsable && !m_query.isEmpty());
    enable(Action::Import, available(QStringLiteral("Import")));
    enable(Action::Export, available(QStringLiteral("Export")));
    enable(Action::Print, order() >= 1 && available(songOrder(order()).report));
}

// --- keys and mouse ---

bool BrowseSongs::handleListKey(QKeyEvent* key) {
    if (picker()) {
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            press(Action::Select);
            return true;
        case Qt::Key_Insert:
        case Qt::Key_Delete:
            return true;
        default:
            break;
        }
    }
    return BrowseSheet::handleListKey(key);
}

void BrowseSongs::activated() {
    press(picker() ? Action::Select : Action::Change);
}

QMenu* BrowseSongs::buildPopup() {
    auto* menu = new QMenu(this);
    const bool rows = model()->rowCount() > 0;
    if (picker()) {
        addPopupItem(menu, int(Action::Select), QStringLiteral("&Select"), m_selectMode && rows);
        return menu;
    }
    addEditItems(menu);
    menu->addSeparator();
    for (Action a : {Action::Print, Action::Search, Action::Import, Action::Export}) {
        addButtonItem(menu, int(a));
        if (a == Action::Print || a == Action::Search)
            menu->addSeparator();
    }
    return menu;
}

// --- buttons ---

void BrowseSongs::press(Action action) {
    QPushButton* b = button(action);
    if (b && !b->isEnabled())
        return;
    // The picker has no forms, searches or other windows to start.
    if (picker() && action != Action::Select && action != Action::Close && action != Action::SelectCategory)
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
    case Action::Search:
        search();
        break;
    case Action::ResetSearch:
        resetSearch();
        break;
    case Action::Import:
        start(QStringLiteral("Import"));
        break;
    case Action::Export:
        start(QStringLiteral("Export"));
        break;
    case Action::Print:
        start(songOrder(order()).report);
        break;
    case Action::SelectMedia:
        selectMedia();
        break;
    case Action::SelectCategory:
        selectCategory();
        break;
    case Action::Select:
        chooseHighlighted();
        break;
    case Action::Close:
        pressClose();
        break;
    }
}

void BrowseSongs::closeSheet() {
    if (picker())
        Q_EMIT closeRequested();
    else
        BrowseSheet::closeSheet();
}

void BrowseSongs::chooseHighlighted() {
    if (!m_selectMode)
        return;
    Record song;
    if (!readHighlighted(song)) {
        checkRead(model()->reload());
        return;
    }
    Q_EMIT songChosen(song);
}

void BrowseSongs::runForm(WindowRequest request) {
    Record song(songsTable());
    const bool adding = request == WindowRequest::Insert;
    if (adding) {
        // A new song starts in the range the tab shows.
        const SongRange range = songOrder(order()).range;
        if (range == SongRange::Media)
            song.setText(SON::Media, mediaRange());
        else if (range == SongRange::Category)
            song.setNumber(SON::CategoryID, categoryRange());
    } else if (!readHighlighted(song)) {
        checkRead(model()->reload());
        return;
    }
    const QPointer<BrowseSongs> self(this);
    for (;;) {
        FormMove move = FormMove::None;
        const WindowResponse response = UpdateSong::run(m_context, request, song, this, &move);
        // The window may have gone while the form was up; then nothing of it may be touched.
        if (!self)
            return;
        afterForm(request, response, song);
        if (move == FormMove::None || m_closing)
            break;
        checkRead(moveForForm(*model(), move));
        showThumb();
        if (m_closing)
            break;
        if (move == FormMove::Insert)
            request = WindowRequest::Insert;
        if (request == WindowRequest::Insert) {
            // Adding goes on with a fresh song.
            song = Record(songsTable());
        } else if (!readHighlighted(song)) {
            break;
        }
    }
    list()->setFocus();
}

void BrowseSongs::selectMedia() {
    Record chosen;
    const QPointer<BrowseSongs> self(this);
    const WindowResponse response = BrowseMedia::select(m_context, chosen, this);
    if (!self)
        return;
    if (response == WindowResponse::Completed) {
        const QString media = chosen.text(MED::Media);
        setRangeValue(4, media, media);
    }
    refresh(true);
}

void BrowseSongs::selectCategory() {
    Record chosen;
    const QPointer<BrowseSongs> self(this);
    const WindowResponse response = BrowseCategories::select(m_context, chosen, this);
    if (!self)
        return;
    if (response == WindowResponse::Completed)
        setRangeValue(5, chosen.number(CAT::CategoryID), chosen.text(CAT::Category));
    refresh(true);
}

void BrowseSongs::setMediaRange(const QString& media) {
    const QString fitted = Record::fitText(media, 20);
    setRangeValue(4, fitted, fitted);
    refresh(true);
}

void BrowseSongs::setCategoryRange(qint64 categoryId) {
    setRangeValue(5, categoryId);
    refresh(true);
}

void BrowseSongs::search() {
    if (!m_queryUsable)
        return;
    QString filter = m_query;
    const QPointer<BrowseSongs> self(this);
    const bool chosen = QueryWizard::run(this, *m_context.messages, songQueryFields(), filter,
                                         QStringLiteral("SONGS"), m_context.dataFolder, &m_context.positions);
    if (!self || !chosen)
        return;
    applyQuery(filter);
}

void BrowseSongs::applyQuery(const QString& filter) {
    m_query = filter.left(MaxQueryLength);
    refresh(true);
    updateButtons();
}

void BrowseSongs::resetSearch() {
    m_query.clear();
    refresh(true);
    updateButtons();
}

} // namespace srk
