#include "ui/services/BrowseSheet.h"

#include "access/StandardMessages.h"
#include "access/TableAccess.h"
#include "query/BoundValues.h"
#include "query/QueryParser.h"
#include "query/SqlTranslator.h"
#include "store/ErrorCode.h"
#include "store/PageCursor.h"
#include "store/ThumbSamples.h"
#include "ui/ProgramContext.h"
#include "ui/WindowRegistry.h"
#include "ui/services/DragPayload.h"
#include "ui/services/ListColumns.h"
#include "ui/services/ListEditKeys.h"
#include "ui/services/PageList.h"
#include "ui/services/PageModel.h"
#include "ui/services/TableWatch.h"
#include "ui/services/WindowPlacer.h"
#include "ui/services/WindowSize.h"
#include "ui/songs/SongTabBar.h"

#include <QCloseEvent>
#include <QDrag>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace srk {

namespace {

constexpr int kLocatorWidth = 30;

} // namespace

BrowseSheet::BrowseSheet(ProgramContext& context, QWidget* parent, WindowRegistry* windows)
    : QWidget(parent), m_context(context), m_windows(windows) {}

BrowseSheet::~BrowseSheet() {
    release();
}

QSize BrowseSheet::sizeHint() const {
    return {ListColumns::toPixels(font(), m_design.widthDialogUnits), 24 * fontMetrics().height()};
}

void BrowseSheet::setUpSheet(const BrowseSheetDesign& design) {
    m_design = design;
    // Inside a picker's dialog this places the dialog.
    m_placer = new WindowPlacer(this, m_context.positions, m_design.procedure);
    m_tablesOpen = true;
    m_opened = true;
    for (const TableDef* table : m_design.tables)
        m_opened = m_opened && m_context.access->openTable(*table).ok();

    m_cursor = std::make_unique<PageCursor>(*m_context.store, *m_design.table, m_design.orders.at(0)->key);
    for (const BrowseSheetDesign::Related& r : m_design.related)
        m_cursor->addRelated(*r.table, r.field, r.relatedField);
    m_model = new StoredValuePageModel(*m_cursor, this);
    QVector<PageColumn> columns;
    for (const BrowseSheetDesign::Column& c : m_design.columns)
        columns.append({c.table, c.field, QString(), QString()});
    m_model->setColumns(columns);

    const int orders = orderCount();
    m_locators.resize(orders);
    m_rangeLabels.resize(orders);
    for (const BrowseOrder* o : m_design.orders) {
        const QVariant cleared = o->range == BrowseRange::Media ? QVariant(QString()) : QVariant(qint64(0));
        m_ranges.append(cleared);
        m_rangesInForce.append(cleared);
    }
    buildWindow();
}

void BrowseSheet::buildWindow() {
    const QFontMetrics metrics(font());
    const QSize designedMinimum(ListColumns::toPixels(font(), m_design.minimumDialogUnits.width()),
                                m_design.minimumDialogUnits.height() * metrics.height() / 8);

    m_tabs = new SongTabBar(this);
    for (const BrowseOrder* o : m_design.orders)
        m_tabs->addPlainTab(o->tabText);
    m_tabs->setFocusPolicy(Qt::NoFocus);

    m_rangeRow = new QWidget(this);
    auto* rangeLayout = new QHBoxLayout(m_rangeRow);
    rangeLayout->setContentsMargins(0, 0, 0, 0);
    for (const BrowseSheetDesign::RangeButton& r : m_design.rangeButtons) {
        auto* b = new QPushButton(r.text, m_rangeRow);
        b->setAutoDefault(false);
        rangeLayout->addWidget(b);
        const int action = r.action;
        connect(b, &QPushButton::clicked, this, [this, action] { pressAction(action); });
        m_rangeButtons.append({b, r.order});
    }
    m_rangeLabel = new QLabel(m_rangeRow);
    rangeLayout->addWidget(m_rangeLabel, 1);

    m_list = new PageList(m_model, this);
    m_view = m_list->view();
    m_view->setAlternatingRowColors(true);
    m_view->setToolTip(QStringLiteral("Right-Click for Options"));
    m_list->setDragSource(!m_design.dragId.isEmpty());
    m_list->setKeyHandler([this](QKeyEvent* key) { return handleListKey(key); });
    m_list->setThumbPosition([this]() -> int {
        const PageRow* row = m_cursor->highlightedRow();
        if (m_thumbSamples.isEmpty())
            return -1;
        return row ? m_thumbSamples.position(row->primary()) : 0;
    });
    connect(m_list, &PageList::moved, this, &BrowseSheet::checkRead);
    connect(m_list, &PageList::thumbDragged, this, &BrowseSheet::dragThumbTo);
    connect(m_list, &PageList::contextMenuRequested, this, &BrowseSheet::showPopup);
    connect(m_list, &PageList::dragStarted, this, &BrowseSheet::startDrag);
    connect(m_list, &PageList::activated, this, [this] { activated(); });

    m_columns = std::make_unique<ListColumns>();
    if (!m_design.releaseDateColumns.isEmpty())
        m_columns->setReleaseDateColumns(m_design.releaseDateColumns);
    m_columns->restore(m_view, m_context.positions, m_design.procedure, m_design.listName, m_design.format,
                       m_context.preferences.DateFormat);

    auto* locatorRow = new QHBoxLayout;
    auto* prompt = new QLabel(m_design.locatorPrompt, this);
    m_locatorEntry = new QLineEdit(this);
    m_locatorEntry->setReadOnly(true);
    m_locatorEntry->setMaxLength(kLocatorWidth);
    m_locatorEntry->setFocusPolicy(Qt::NoFocus);
    locatorRow->addWidget(prompt);
    locatorRow->addWidget(m_locatorEntry, 1);

    auto* buttons = new QHBoxLayout;
    for (const BrowseSheetDesign::Button& design : m_design.buttons) {
        auto* b = new QPushButton(design.text, this);
        b->setAutoDefault(false);
        if (!design.tip.isEmpty())
            b->setToolTip(design.tip);
        const int a = design.action;
        connect(b, &QPushButton::clicked, this, [this, a] { pressAction(a); });
        if (design.stretchBefore)
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
    connect(m_model, &PageModel::highlightChanged, this, &BrowseSheet::updateButtons);
    connect(m_model, &QAbstractItemModel::modelReset, this, &BrowseSheet::updateButtons);
}

void BrowseSheet::openSheet(int tabIndex) {
    m_tabs->setCurrentIndex(tabIndex);
    if (m_opened) {
        const int rc = m_model->open();
        if (rc == NoError) {
            refresh(true);
        } else {
            m_context.access->showStandardMessage(StdMsg::ViewOpenError);
        }
        QStringList labels{m_design.table->label};
        for (const BrowseSheetDesign::Related& r : m_design.related)
            labels.append(r.table->label);
        labels += m_design.watched;
        auto* watch = new TableWatch(*m_context.access, labels, this);
        connect(watch, &TableWatch::changed, this, &BrowseSheet::followTables);
    }
    updateTitle();
    updateButtons();
    m_view->setFocus();
}

QPushButton* BrowseSheet::sheetButton(int action) const {
    for (const auto& [b, a] : m_buttons)
        if (a == action)
            return b;
    for (int i = 0; i < m_rangeButtons.size(); ++i)
        if (m_design.rangeButtons[i].action == action)
            return m_rangeButtons[i].first;
    return nullptr;
}

QPushButton* BrowseSheet::rangeButton(int order) const {
    for (const auto& [b, o] : m_rangeButtons)
        if (o == order)
            return b;
    return nullptr;
}

QScrollBar* BrowseSheet::thumb() const {
    return m_list->thumb();
}

QString BrowseSheet::locatorText() const {
    return m_order >= 1 ? m_locators[m_order - 1] : QString();
}

QVariant BrowseSheet::rangeValue(int order) const {
    return order >= 1 && order <= orderCount() ? m_ranges[order - 1] : QVariant();
}

void BrowseSheet::setRangeValue(int order, const QVariant& value) {
    if (order >= 1 && order <= orderCount())
        m_ranges[order - 1] = value;
}

void BrowseSheet::setRangeValue(int order, const QVariant& value, const QString& label) {
    if (order < 1 || order > orderCount())
        return;
    m_ranges[order - 1] = value;
    m_rangeLabels[order - 1] = label;
}

const BrowseOrder& BrowseSheet::orderAt(int number) const {
    return *m_design.orders.at(qBound(1, number, orderCount()) - 1);
}

Record BrowseSheet::highlightedRecord() const {
    return m_cursor->highlightedRecord();
}

bool BrowseSheet::rangeActive(int order) const {
    return orderAt(order).range != BrowseRange::None;
}

QString BrowseSheet::filterOf(int order) const {
    return rangeActive(order) ? orderAt(order).rangeFilter : QString();
}

// --- order, filter and refresh ---

bool BrowseSheet::translateFilter(int order, SqlCondition& out) {
    BoundValues bound;
    for (int o = 1; o <= orderCount(); ++o)
        if (!orderAt(o).rangeName.isEmpty())
            bound.set(orderAt(o).rangeName, m_ranges[o - 1]);
    QVector<const TableDef*> tables{m_design.table};
    for (const BrowseSheetDesign::Related& r : m_design.related)
        tables.append(r.table);
    const PageCursor* cursor = m_cursor.get();
    ColumnResolver columns =
        viewColumns([cursor](int table, int field) { return cursor->column(table, field); }, tables, bound, true);
    columns.column = [this, own = columns.column](const QString& field) { return own(viewFieldName(field)); };
    auto translate = [this, &columns](const QString& text, QString& problem) -> std::optional<SqlCondition> {
        if (text.isEmpty())
            return SqlCondition();
        const ParsedQuery parsed = parseQuery(text);
        if (!parsed.ok()) {
            problem = parsed.error;
            return std::nullopt;
        }
        std::optional<SqlCondition> sql = toSql(*parsed.expr, columns);
        if (!sql)
            problem = m_design.filterProblem;
        return sql;
    };

    QString problem;
    if (std::optional<SqlCondition> sql = translate(filterOf(order), problem)) {
        out = *sql;
        return true;
    }
    m_context.messages->ask(standardMessage(StdMsg::ViewOpenError, QString(), QString(), problem, 0,
                                            m_context.store->filePath(*m_design.table)));
    // The order's own range still applies; only the rest is left out.
    std::optional<SqlCondition> range = translate(rangeActive(order) ? orderAt(order).rangeFilter : QString(), problem);
    out = range.value_or(SqlCondition());
    return range.has_value() && !out.isEmpty();
}

void BrowseSheet::refresh(bool forced) {
    const int newOrder = m_tabs->currentIndex() + 1;
    const bool orderChanged = newOrder != m_order;
    if (orderChanged && newOrder >= 1)
        m_locators[newOrder - 1].clear();
    const bool ranged = newOrder >= 1 && rangeActive(newOrder);
    const bool rangeChanged = ranged && m_ranges[newOrder - 1] != m_rangesInForce[newOrder - 1];
    m_rangeRow->setVisible(ranged);
    for (const auto& [b, o] : m_rangeButtons)
        b->setVisible(ranged && o == newOrder);
    m_rangeLabel->setText(ranged ? m_rangeLabels[newOrder - 1] : QString());
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
    if (filtered && ranged)
        pinned << m_ranges[newOrder - 1];
    m_cursor->setPinned(pinned);
    m_rangesInForce = m_ranges;
    const auto placement = rangeChanged ? PageCursor::Placement::AtStart : PageCursor::Placement::AtHighlighted;
    const int rc = m_model->setOrder(orderAt(newOrder).key, filter, placement);
    if (m_cursor->filterRefused())
        m_context.access->showStandardMessage(StdMsg::ViewOpenError);
    else
        checkRead(rc);
    rebuildThumb();
    updateTitle();
    updateButtons();
}

void BrowseSheet::rebuildThumb() {
    ViewRow first;
    ViewRow last;
    const BrowseOrder& o = orderAt(m_order);
    if (m_cursor->readFirst(first) == NoError && m_cursor->readLast(last) == NoError)
        m_thumbSamples.rebuild(o, &first.primary, &last.primary);
    else
        m_thumbSamples.rebuild(o, nullptr, nullptr);
    showThumb();
}

void BrowseSheet::showThumb() {
    m_list->showThumb();
}

void BrowseSheet::dragThumbTo(int position) {
    if (position <= 0) {
        checkRead(m_model->top());
    } else if (position >= kThumbSamples - 1) {
        checkRead(m_model->bottom());
    } else {
        const Record target = browseLocateTarget(*m_design.table, orderAt(m_order), Record(*m_design.table),
                                                 m_thumbSamples.sampleText(position), rangeValue(m_order));
        checkRead(m_model->rebuildAt(target));
    }
    showThumb();
}

void BrowseSheet::updateTitle() {
    if (isMinimized() || (parentWidget() && parentWidget()->isMinimized()))
        return;
    Table table(*m_context.store, *m_design.table);
    showTitle(QString::number(table.records()) + QStringLiteral(" entries"));
}

void BrowseSheet::updateButtons() {
    const bool rows = m_model->rowCount() > 0;
    for (int action : m_design.rowActions)
        if (QPushButton* b = sheetButton(action))
            b->setEnabled(rows);
    updateOwnButtons(rows);
    showThumb();
}

void BrowseSheet::checkRead(int code) {
    if (code == NoError || code == RecordNotAvailable || m_closing)
        return;
    // A page that cannot be read leaves the window nothing to show.
    m_context.access->showStandardMessage(StdMsg::RetrievalError, m_design.table->label);
    pressAction(m_design.closeAction);
}

// --- keys, locator and mouse ---

bool BrowseSheet::handleListKey(QKeyEvent* key) {
    const ListEditKeys keys{m_design.addAction, m_design.changeAction, m_design.deleteAction,
                           ListEditKeys::PlainEnter::Taken};
    if (const std::optional<bool> taken =
            keys.handle(key, m_model->rowCount() == 0, [this](int action) { pressAction(action); }))
        return *taken;
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    switch (key->key()) {
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

void BrowseSheet::activated() {
    pressAction(m_design.changeAction);
}

void BrowseSheet::editLocator(QKeyEvent* key) {
    if (m_order < 1)
        return;
    QString& text = m_locators[m_order - 1];
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

void BrowseSheet::locate() {
    const Record target = browseLocateTarget(*m_design.table, orderAt(m_order), Record(*m_design.table),
                                             locatorText(), rangeValue(m_order));
    checkRead(m_model->rebuildAt(target));
    showThumb();
}

void BrowseSheet::showPopup(const QPoint& globalPos) {
    // Owned by the window as well: held weakly, so a window deleted while the menu is up deletes it once.
    const QPointer<QMenu> menu(buildPopup());
    menu->exec(globalPos);
    delete menu.data();
}

void BrowseSheet::addPopupItem(QMenu* menu, int action, const QString& text, bool enabled) {
    QAction* a = menu->addAction(text);
    a->setEnabled(enabled);
    connect(a, &QAction::triggered, this, [this, action] { pressAction(action); });
}

void BrowseSheet::addButtonItem(QMenu* menu, int action) {
    QPushButton* b = sheetButton(action);
    addPopupItem(menu, action, b->text(), b->isEnabled());
}

void BrowseSheet::addEditItems(QMenu* menu) {
    const bool rows = m_model->rowCount() > 0;
    addPopupItem(menu, m_design.addAction, QStringLiteral("&Add"), true);
    addPopupItem(menu, m_design.changeAction, QStringLiteral("&Change"), rows);
    addPopupItem(menu, m_design.deleteAction, QStringLiteral("&Delete"), rows);
}

void BrowseSheet::startDrag() {
    Record record;
    if (m_design.dragId.isEmpty() || !readHighlighted(record))
        return;
    auto* drag = new QDrag(m_view);
    drag->setMimeData(makeDragData(m_design.dragId, QString::number(record.number(m_design.dragField))));
    drag->exec(Qt::CopyAction);
}

// --- records and forms ---

bool BrowseSheet::readHighlighted(Record& out) {
    const PageRow* row = m_cursor->highlightedRow();
    if (!row)
        return false;
    Table table(*m_context.store, *m_design.table);
    table.watch();
    return table.getByPosition(row->position, out) == NoError;
}

void BrowseSheet::afterForm(WindowRequest request, WindowResponse response, const Record& record) {
    int rc = NoError;
    if (response != WindowResponse::Completed)
        rc = m_model->reload();
    else if (request == WindowRequest::Delete)
        rc = m_model->removeHighlighted();
    else
        rc = m_model->rebuildAt(record);
    checkRead(rc);
    // An add or delete may have moved the first or last record of the order.
    rebuildThumb();
    updateTitle();
    updateButtons();
}

void BrowseSheet::followTables() {
    if (m_closing || !m_cursor->isOpen())
        return;
    checkRead(m_model->refresh());
    rebuildThumb();
    updateTitle();
    updateButtons();
}

bool BrowseSheet::readForForm(Record& out) {
    if (readHighlighted(out))
        return true;
    checkRead(m_model->reload());
    return false;
}

void BrowseSheet::runFormOn(WindowRequest request, Record& record,
                            const std::function<WindowResponse(Record&)>& form) {
    const QPointer<BrowseSheet> self(this);
    const WindowResponse response = form(record);
    if (!self)
        return;
    afterForm(request, response, record);
    m_view->setFocus();
}

bool BrowseSheet::available(const QString& procedure) const {
    return m_windows && m_windows->hasWindow(procedure);
}

void BrowseSheet::start(const QString& procedure) {
    if (available(procedure))
        m_windows->runCommand(procedure);
}

// --- window life ---

void BrowseSheet::pressClose() {
    if (m_closing)
        return;
    m_closing = true;
    closeSheet();
}

void BrowseSheet::closeSheet() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

void BrowseSheet::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_list->fitPageToView();
}

void BrowseSheet::closeEvent(QCloseEvent* event) {
    m_closing = true;
    release();
    QWidget::closeEvent(event);
}

void BrowseSheet::release() {
    if (m_released || !m_placer)
        return;
    m_released = true;
    // Nothing is read any more once the tables are given back.
    m_closing = true;
    if (m_order >= 1 && !m_design.tabSetting.isEmpty())
        m_context.preferencesFile.writeInt(QStringLiteral("Settings"), m_design.tabSetting, m_order);
    m_placer->save();
    m_columns->save(m_context.positions);
    if (m_tablesOpen) {
        m_tablesOpen = false;
        for (auto it = m_design.tables.crbegin(); it != m_design.tables.crend(); ++it)
            m_context.access->closeTable(**it);
    }
}

} // namespace srk
