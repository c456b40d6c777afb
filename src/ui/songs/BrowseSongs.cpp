#include "ui/songs/BrowseSongs.h"

#include "access/StandardMessages.h"
#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "query/BoundValues.h"
#include "query/QueryParser.h"
#include "query/SqlTranslator.h"
#include "songs/SongOrders.h"
#include "songs/SongQueryFields.h"
#include "store/ErrorCode.h"
#include "store/PageCursor.h"
#include "store/Table.h"
#include "store/ThumbSamples.h"
#include "ui/query/QueryWizard.h"
#include "ui/services/DragPayload.h"
#include "ui/services/FormMove.h"
#include "ui/services/ListColumns.h"
#include "ui/services/PageList.h"
#include "ui/services/PageModel.h"
#include "ui/services/TableWatch.h"
#include "ui/services/WindowPlacer.h"
#include "ui/ProgramContext.h"
#include "ui/WindowRegistry.h"
#include "ui/services/WindowSize.h"
#include "ui/songs/BrowseCategories.h"
#include "ui/songs/BrowseMedia.h"
#include "ui/songs/SongTabBar.h"
#include "ui/songs/UpdateSong.h"

#include <QCloseEvent>
#include <QDrag>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include <iterator>

namespace srk {

const QString BrowseSongs::Procedure = QStringLiteral("BrowseSongs");

namespace {

const QString kListName = QStringLiteral("?Browse");
constexpr int kLocatorWidth = 30;
// The picker offers the orders up to "By Chart #".
constexpr int kPickerOrderCount = 6;

// Columns in the order of the list's format; the category comes from the joined table.
struct SongColumn {
    int table;
    int field;
};
const QVector<SongColumn> kBrowseColumns = {
    {0, SON::Artist}, {0, SON::Title}, {0, SON::Album}, {0, SON::Media}, {0, SON::FileNumber},
    {1, CAT::Category}, {0, SON::Time}, {0, SON::ReleaseDate}, {0, SON::BeatsPerMinute},
    {0, SON::UserDefinedKeyField}, {0, SON::LastPlayed}, {0, SON::Style},
};
const QVector<SongColumn> kPickerColumns = {
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

// Hands the stored values to the list, which shows them through its column pictures (so the
// preferred date picture and the user's layout apply).
class SongPageModel : public PageModel {
public:
    using PageModel::PageModel;

protected:
    QVariant cellData(const PageRow& row, int column, int role) const override {
        if (role == Qt::DisplayRole) {
            const QVariant value = fieldValue(row, columns().at(column));
            return value.isValid() ? value : QVariant(QString());
        }
        return PageModel::cellData(row, column, role);
    }
};

struct ButtonDesign {
    const char* text;
    BrowseSongs::Action action;
};
const QVector<ButtonDesign> kPickerButtons = {
    {"&Select", BrowseSongs::Action::Select},
    {"Cl&ose", BrowseSongs::Action::Close},
};
const QVector<ButtonDesign> kBrowseButtons = {
    {"&Add", BrowseSongs::Action::Add},         {"Cop&y", BrowseSongs::Action::Copy},
    {"&Change", BrowseSongs::Action::Change},   {"&Delete", BrowseSongs::Action::Delete},
    {"&Search", BrowseSongs::Action::Search},   {"Reset Search", BrowseSongs::Action::ResetSearch},
    {"&Import", BrowseSongs::Action::Import},   {"&Export", BrowseSongs::Action::Export},
    {"&Print", BrowseSongs::Action::Print},     {"Cl&ose", BrowseSongs::Action::Close},
};

} // namespace

BrowseSongs::BrowseSongs(ProgramContext& context, WindowRegistry* windows, QWidget* parent)
    : QWidget(parent), m_context(context), m_procedure(Procedure), m_windows(windows) {
    setUp();
}

BrowseSongs::BrowseSongs(ProgramContext& context, const QString& procedure, bool selectMode, QWidget* parent)
    : QWidget(parent), m_context(context), m_role(Role::Picker), m_procedure(procedure), m_selectMode(selectMode) {
    setUp();
}

void BrowseSongs::setUp() {
    ProgramContext& context = m_context;
    // Inside a picker's dialog this places the dialog.
    m_placer = new WindowPlacer(this, context.positions, m_procedure);
    m_tablesOpen = true;
    const bool opened = context.access->openTable(songsTable()).ok() &&
                        context.access->openTable(categoriesTable()).ok() &&
                        context.access->openTable(mediaTable()).ok();

    m_cursor = std::make_unique<PageCursor>(*context.store, songsTable(), SON::SongsByArtist);
    m_cursor->addRelated(categoriesTable(), SON::CategoryID, CAT::CategoryID);
    m_model = new SongPageModel(*m_cursor, this);
    QVector<PageColumn> columns;
    for (const SongColumn& c : picker() ? kPickerColumns : kBrowseColumns)
        columns.append({c.table, c.field, QString(), QString()});
    m_model->setColumns(columns);

    buildWindow();
    setUpQueryFields();

    // The last tab used, when the preferences keep it.
    int tab = 0;
    if (!picker() && context.preferences.SaveLastTab)
        tab = qBound(1, context.preferencesFile.readInt(QStringLiteral("Settings"), QStringLiteral("SongTab"), 1),
                     kSongOrderCount) - 1;
    m_tabs->setCurrentIndex(tab);

    if (opened) {
        const int rc = m_model->open();
        if (rc == NoError) {
            refresh(true);
        } else {
            context.access->showStandardMessage(StdMsg::ViewOpenError);
        }
        auto* watch = new TableWatch(*context.access, {songsTable().label, categoriesTable().label}, this);
        connect(watch, &TableWatch::changed, this, &BrowseSongs::followTables);
    }
    updateTitle();
    updateButtons();
    m_view->setFocus();
}

BrowseSongs::~BrowseSongs() {
    release();
}

QSize BrowseSongs::sizeHint() const {
    return {ListColumns::toPixels(font(), 500), 24 * fontMetrics().height()};
}

void BrowseSongs::registerWith(WindowRegistry& windows) {
    windows.registerWindow(Procedure, [](WindowRegistry& w) -> QWidget* { return new BrowseSongs(w.context(), &w); });
}

void BrowseSongs::buildWindow() {
    const QFontMetrics metrics(font());
    const QSize designedMinimum(ListColumns::toPixels(font(), 374), 170 * metrics.height() / 8);

    m_tabs = new SongTabBar(this);
    const int orders = picker() ? kPickerOrderCount : kSongOrderCount;
    for (int order = 1; order <= orders; ++order)
        m_tabs->addPlainTab(songOrder(order).tabText);
    const QString label = m_context.preferences.UDKPrompt.trimmed();
    if (!picker() && !label.isEmpty())
        m_tabs->setPlainText(7, QStringLiteral("By ") + label.left(10));
    m_tabs->setFocusPolicy(Qt::NoFocus);

    m_rangeRow = new QWidget(this);
    auto* rangeLayout = new QHBoxLayout(m_rangeRow);
    rangeLayout->setContentsMargins(0, 0, 0, 0);
    m_selectMedia = new QPushButton(QStringLiteral("Se&lect Media"), m_rangeRow);
    m_selectCategory =
        new QPushButton(picker() ? QStringLiteral("&Select Category") : QStringLiteral("Se&lect Category"), m_rangeRow);
    m_rangeLabel = new QLabel(m_rangeRow);
    for (QPushButton* b : {m_selectMedia, m_selectCategory})
        b->setAutoDefault(false);
    rangeLayout->addWidget(m_selectMedia);
    rangeLayout->addWidget(m_selectCategory);
    rangeLayout->addWidget(m_rangeLabel, 1);
    connect(m_selectMedia, &QPushButton::clicked, this, [this] { press(Action::SelectMedia); });
    connect(m_selectCategory, &QPushButton::clicked, this, [this] { press(Action::SelectCategory); });

    m_list = new PageList(m_model, this);
    m_view = m_list->view();
    m_view->setAlternatingRowColors(true);
    m_view->setToolTip(QStringLiteral("Right-Click for Options"));
    m_list->setDragSource(!picker());
    m_list->setKeyHandler([this](QKeyEvent* key) { return handleListKey(key); });
    m_list->setThumbPosition([this]() -> int {
        const PageRow* row = m_cursor->highlightedRow();
        if (m_thumbSamples.isEmpty())
            return -1;
        return row ? m_thumbSamples.position(row->primary()) : 0;
    });
    connect(m_list, &PageList::moved, this, &BrowseSongs::checkRead);
    connect(m_list, &PageList::thumbDragged, this, &BrowseSongs::dragThumbTo);
    connect(m_list, &PageList::contextMenuRequested, this, &BrowseSongs::showPopup);
    connect(m_list, &PageList::dragStarted, this, &BrowseSongs::startDrag);
    connect(m_list, &PageList::activated, this, [this] { press(picker() ? Action::Select : Action::Change); });

    m_columns = std::make_unique<ListColumns>();
    const QVector<SongColumn>& songColumns = picker() ? kPickerColumns : kBrowseColumns;
    for (int i = 0; i < songColumns.size(); ++i)
        if (songColumns[i].table == 0 && songColumns[i].field == SON::ReleaseDate)
            m_columns->setReleaseDateColumns({i});
    m_columns->restore(m_view, m_context.positions, m_procedure, kListName, picker() ? pickerFormat() : browseFormat(),
                       m_context.preferences.DateFormat);

    auto* locatorRow = new QHBoxLayout;
    auto* prompt = new QLabel(picker() ? QStringLiteral("Locator:")
                                       : QStringLiteral("Quick Locator (select list box and type to locate):"),
                              this);
    m_locatorEntry = new QLineEdit(this);
    m_locatorEntry->setReadOnly(true);
    m_locatorEntry->setMaxLength(kLocatorWidth);
    m_locatorEntry->setFocusPolicy(Qt::NoFocus);
    locatorRow->addWidget(prompt);
    locatorRow->addWidget(m_locatorEntry, 1);

    auto* buttons = new QHBoxLayout;
    for (const ButtonDesign& design : picker() ? kPickerButtons : kBrowseButtons) {
        auto* b = new QPushButton(QString::fromUtf8(design.text), this);
        b->setAutoDefault(false);
        const Action a = design.action;
        connect(b, &QPushButton::clicked, this, [this, a] { press(a); });
        if (design.action == (picker() ? Action::Select : Action::Close))
            buttons->addStretch();
        buttons->addWidget(b);
        m_buttons.append({b, design.action});
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_rangeRow);
    layout->addWidget(m_list, 1);
    layout->addLayout(locatorRow);
    layout->addLayout(buttons);
    // Never so narrow that the buttons lose their texts.
    fitWindow(this, designedMinimum);

    connect(m_tabs, &QTabBar::currentChanged, this, [this] {
        refresh(false);
        m_view->setFocus();
    });
    connect(m_model, &PageModel::highlightChanged, this, &BrowseSongs::updateButtons);
    connect(m_model, &QAbstractItemModel::modelReset, this, &BrowseSongs::updateButtons);
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

QPushButton* BrowseSongs::button(Action action) const {
    if (action == Action::SelectMedia)
        return m_selectMedia;
    if (action == Action::SelectCategory)
        return m_selectCategory;
    for (const auto& [b, a] : m_buttons)
        if (a == action)
            return b;
    return nullptr;
}

QScrollBar* BrowseSongs::thumb() const {
    return m_list->thumb();
}

QString BrowseSongs::locatorText() const {
    return m_order >= 1 ? m_locators[size_t(m_order - 1)] : QString();
}

QString BrowseSongs::activeFilterText() const {
    return filterOf(m_order);
}

SongRange BrowseSongs::rangeOf(int order) const {
    const SongRange range = songOrder(order).range;
    return picker() && range == SongRange::Media ? SongRange::None : range;
}

QString BrowseSongs::filterOf(int order) const {
    if (rangeOf(order) == SongRange::None && songOrder(order).range != SongRange::None)
        return m_query.trimmed();
    return songOrderFilter(order, m_query);
}

Record BrowseSongs::highlightedSong() const {
    return m_cursor->highlightedRecord();
}

// --- order, filter and refresh ---

bool BrowseSongs::translateFilter(int order, SqlCondition& out) {
    BoundValues bound;
    bound.set(kMediaRangeName, m_media);
    bound.set(kCategoryRangeName, m_category);
    const PageCursor* cursor = m_cursor.get();
    ColumnResolver columns = viewColumns([cursor](int table, int field) { return cursor->column(table, field); },
                                         {&songsTable(), &categoriesTable()}, bound, true);
    // The field list's media name is the song's own media: the list joins only the category.
    columns.column = [songColumns = columns.column](const QString& field) {
        return songColumns(field.compare(QLatin1String("MED:Media"), Qt::CaseInsensitive) == 0
                               ? QStringLiteral("SON:Media")
                               : field);
    };
    auto translate = [&columns](const QString& text, QString& problem) -> std::optional<SqlCondition> {
        if (text.isEmpty())
            return SqlCondition();
        const ParsedQuery parsed = parseQuery(text);
        if (!parsed.ok()) {
            problem = parsed.error;
            return std::nullopt;
        }
        std::optional<SqlCondition> sql = toSql(*parsed.expr, columns);
        if (!sql)
            problem = QStringLiteral("The filter cannot be applied to the song table");
        return sql;
    };

    QString problem;
    if (std::optional<SqlCondition> sql = translate(filterOf(order), problem)) {
        out = *sql;
        return true;
    }
    m_context.messages->ask(standardMessage(StdMsg::ViewOpenError, QString(), QString(), problem, 0,
                                            m_context.store->filePath(songsTable())));
    // The order's own range still applies; only the query is left out.
    std::optional<SqlCondition> range =
        translate(rangeOf(order) == SongRange::None ? QString() : songOrder(order).rangeFilter, problem);
    out = range.value_or(SqlCondition());
    return range.has_value() && !out.isEmpty();
}

void BrowseSongs::refresh(bool forced) {
    const int newOrder = m_tabs->currentIndex() + 1;
    const bool orderChanged = newOrder != m_order;
    if (orderChanged) {
        if (newOrder >= 1)
            m_locators[size_t(newOrder - 1)].clear();
    }
    const SongRange range = rangeOf(newOrder);
    const bool rangeChanged = (range == SongRange::Media && m_media != m_mediaInForce) ||
                              (range == SongRange::Category && m_category != m_categoryInForce);
    m_rangeRow->setVisible(range != SongRange::None);
    m_selectMedia->setVisible(range == SongRange::Media);
    m_selectCategory->setVisible(range == SongRange::Category);
    m_rangeLabel->setText(range == SongRange::Media      ? m_media
                          : range == SongRange::Category ? m_categoryName
                                                         : QString());
    if (!orderChanged && !rangeChanged && !forced) {
        updateTitle();
        return;
    }
    m_order = newOrder;
    m_locatorEntry->setText(locatorText());

    SqlCondition filter;
    const bool filtered = translateFilter(newOrder, filter);
    // The ranged orders hold their first key field to the chosen value: positioning takes it and the
    // engine reads only that part of the key.
    QVariantList pinned;
    if (filtered && range == SongRange::Media)
        pinned << m_media;
    else if (filtered && range == SongRange::Category)
        pinned << m_category;
    m_cursor->setPinned(pinned);
    m_mediaInForce = m_media;
    m_categoryInForce = m_category;
    const auto placement = rangeChanged ? PageCursor::Placement::AtStart : PageCursor::Placement::AtHighlighted;
    const int rc = m_model->setOrder(songOrder(newOrder).key, filter, placement);
    if (m_cursor->filterRefused())
        m_context.access->showStandardMessage(StdMsg::ViewOpenError);
    else
        checkRead(rc);
    rebuildThumb();
    updateTitle();
    updateButtons();
}

void BrowseSongs::rebuildThumb() {
    ViewRow first;
    ViewRow last;
    if (m_cursor->readFirst(first) == NoError && m_cursor->readLast(last) == NoError)
        m_thumbSamples.rebuild(m_order, &first.primary, &last.primary);
    else
        m_thumbSamples.rebuild(m_order, nullptr, nullptr);
    showThumb();
}

void BrowseSongs::showThumb() {
    m_list->showThumb();
}

void BrowseSongs::dragThumbTo(int position) {
    if (position <= 0) {
        checkRead(m_model->top());
    } else if (position >= kThumbSamples - 1) {
        checkRead(m_model->bottom());
    } else {
        const Record target =
            songLocateTarget(m_order, Record(songsTable()), m_thumbSamples.sampleText(position), m_media, m_category);
        checkRead(m_model->rebuildAt(target));
    }
    showThumb();
}

void BrowseSongs::updateTitle() {
    if (isMinimized() || (parentWidget() && parentWidget()->isMinimized()))
        return;
    Table songs(*m_context.store, songsTable());
    const QString count = QString::number(songs.records()) + QStringLiteral(" entries");
    // The picker's title is its window's.
    if (picker())
        window()->setWindowTitle(QStringLiteral("Browse Music Database - ") + count);
    else
        setWindowTitle(QStringLiteral("Songs - ") + count);
}

void BrowseSongs::updateButtons() {
    const bool rows = m_model->rowCount() > 0;
    auto enable = [this](Action a, bool on) {
        if (QPushButton* b = button(a))
            b->setEnabled(on);
    };
    enable(Action::Select, m_selectMode && rows);
    enable(Action::Change, rows);
    enable(Action::Delete, rows);
    enable(Action::Copy, rows);
    enable(Action::Search, m_queryUsable);
    enable(Action::ResetSearch, m_queryUsable && !m_query.isEmpty());
    const bool frame = m_windows != nullptr;
    enable(Action::Import, frame && m_windows->hasWindow(QStringLiteral("Import")));
    enable(Action::Export, frame && m_windows->hasWindow(QStringLiteral("Export")));
    enable(Action::Print, frame && m_order >= 1 && m_windows->hasWindow(songOrder(m_order).report));
    showThumb();
}

void BrowseSongs::checkRead(int code) {
    if (code == NoError || code == RecordNotAvailable || m_closing)
        return;
    // A page that cannot be read leaves the window nothing to show.
    m_context.access->showStandardMessage(StdMsg::RetrievalError, songsTable().label);
    press(Action::Close);
}

// --- keys, locator and mouse ---

bool BrowseSongs::handleListKey(QKeyEvent* key) {
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    const bool empty = m_model->rowCount() == 0;
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
    switch (key->key()) {
    case Qt::Key_Insert:
        press(Action::Add);
        return true;
    case Qt::Key_Delete:
        if (!empty)
            press(Action::Delete);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (ctrl && !empty)
            press(Action::Change);
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
        return false;
    default:
        if (ctrl || (key->modifiers() & Qt::AltModifier))
            return false;
        editLocator(key);
        return true;
    }
}

void BrowseSongs::editLocator(QKeyEvent* key) {
    if (m_order < 1)
        return;
    QString& text = m_locators[size_t(m_order - 1)];
    if (key->key() == Qt::Key_Backspace) {
        if (text.isEmpty())
            return;
        text.chop(1);
    } else {
        const QString typed = key->text();
        if (typed.isEmpty() || !typed.at(0).isPrint())
            return;
        if (text.size() >= kLocatorWidth)
            return;
        text += typed.left(kLocatorWidth - text.size());
    }
    m_locatorEntry->setText(text);
    locate();
}

void BrowseSongs::locate() {
    const Record target = songLocateTarget(m_order, Record(songsTable()), locatorText(), m_media, m_category);
    checkRead(m_model->rebuildAt(target));
    showThumb();
}

void BrowseSongs::showPopup(const QPoint& globalPos) {
    // Owned by the window as well: held weakly, so a window deleted while the menu is up deletes it once.
    const QPointer<QMenu> menu(buildPopup());
    menu->exec(globalPos);
    delete menu.data();
}

QMenu* BrowseSongs::buildPopup() {
    auto* menu = new QMenu(this);
    const bool rows = m_model->rowCount() > 0;
    auto item = [this, menu](Action action, const QString& text, bool enabled) {
        QAction* a = menu->addAction(text);
        a->setEnabled(enabled);
        connect(a, &QAction::triggered, this, [this, action] { press(action); });
    };
    auto current = [this](Action action) {
        QPushButton* b = button(action);
        return std::pair<QString, bool>(b->text(), b->isEnabled());
    };
    if (picker()) {
        item(Action::Select, QStringLiteral("&Select"), m_selectMode && rows);
        return menu;
    }
    item(Action::Add, QStringLiteral("&Add"), true);
    item(Action::Change, QStringLiteral("&Change"), rows);
    item(Action::Delete, QStringLiteral("&Delete"), rows);
    menu->addSeparator();
    for (Action a : {Action::Print, Action::Search, Action::Import, Action::Export}) {
        const auto [text, enabled] = current(a);
        item(a, text, enabled);
        if (a == Action::Print || a == Action::Search)
            menu->addSeparator();
    }
    return menu;
}

void BrowseSongs::startDrag() {
    Record song;
    if (!readHighlighted(song))
        return;
    auto* drag = new QDrag(m_view);
    drag->setMimeData(makeDragData(kSongsDragId, QString::number(song.number(SON::ID))));
    drag->exec(Qt::CopyAction);
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
        start(songOrder(m_order).report);
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
        if (m_closing)
            return;
        m_closing = true;
        if (picker()) {
            Q_EMIT closeRequested();
            break;
        }
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
            sub->close();
        else
            close();
        break;
    }
}

void BrowseSongs::start(const QString& procedure) {
    if (m_windows && m_windows->hasWindow(procedure))
        m_windows->runCommand(procedure);
}

bool BrowseSongs::readHighlighted(Record& out) {
    const PageRow* row = m_cursor->highlightedRow();
    if (!row)
        return false;
    Table songs(*m_context.store, songsTable());
    songs.watch();
    return songs.getByPosition(row->position, out) == NoError;
}

void BrowseSongs::chooseHighlighted() {
    if (!m_selectMode)
        return;
    Record song;
    if (!readHighlighted(song)) {
        checkRead(m_model->reload());
        return;
    }
    Q_EMIT songChosen(song);
}

void BrowseSongs::runForm(WindowRequest request) {
    Record song(songsTable());
    const bool adding = request == WindowRequest::Insert;
    if (adding) {
        // A new song starts in the range the tab shows.
        const SongRange range = songOrder(m_order).range;
        if (range == SongRange::Media)
            song.setText(SON::Media, m_media);
        else if (range == SongRange::Category)
            song.setNumber(SON::CategoryID, m_category);
    } else if (!readHighlighted(song)) {
        checkRead(m_model->reload());
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
        checkRead(moveForForm(*m_model, move));
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
    m_view->setFocus();
}

void BrowseSongs::afterForm(WindowRequest request, WindowResponse response, const Record& song) {
    int rc = NoError;
    if (response != WindowResponse::Completed)
        rc = m_model->reload();
    else if (request == WindowRequest::Delete)
        rc = m_model->removeHighlighted();
    else
        rc = m_model->rebuildAt(song);
    checkRead(rc);
    // An add or delete may have moved the first or last song of the order.
    rebuildThumb();
    updateTitle();
    updateButtons();
}

void BrowseSongs::selectMedia() {
    Record chosen;
    const QPointer<BrowseSongs> self(this);
    const WindowResponse response = BrowseMedia::select(m_context, chosen, this);
    if (!self)
        return;
    if (response == WindowResponse::Completed) {
        m_media = chosen.text(MED::Media);
    }
    refresh(true);
}

void BrowseSongs::selectCategory() {
    Record chosen;
    const QPointer<BrowseSongs> self(this);
    const WindowResponse response = BrowseCategories::select(m_context, chosen, this);
    if (!self)
        return;
    if (response == WindowResponse::Completed) {
        m_category = chosen.number(CAT::CategoryID);
        m_categoryName = chosen.text(CAT::Category);
    }
    refresh(true);
}

void BrowseSongs::setMediaRange(const QString& media) {
    m_media = Record::fitText(media, 20);
    refresh(true);
}

void BrowseSongs::setCategoryRange(qint64 categoryId) {
    m_category = categoryId;
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

void BrowseSongs::followTables() {
    if (m_closing || !m_cursor->isOpen())
        return;
    checkRead(m_model->refresh());
    rebuildThumb();
    updateTitle();
    updateButtons();
}

// --- window life ---

void BrowseSongs::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_list->fitPageToView();
}

void BrowseSongs::closeEvent(QCloseEvent* event) {
    m_closing = true;
    release();
    QWidget::closeEvent(event);
}

void BrowseSongs::release() {
    if (m_released)
        return;
    m_released = true;
    // Nothing is read any more once the tables are given back.
    m_closing = true;
    if (m_order >= 1 && !picker())
        m_context.preferencesFile.writeInt(QStringLiteral("Settings"), QStringLiteral("SongTab"), m_order);
    m_placer->save();
    m_columns->save(m_context.positions);
    if (m_tablesOpen) {
        m_tablesOpen = false;
        m_context.access->closeTable(mediaTable());
        m_context.access->closeTable(categoriesTable());
        m_context.access->closeTable(songsTable());
    }
}

} // namespace srk
