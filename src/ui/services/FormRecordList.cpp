#include "ui/services/FormRecordList.h"

#include "access/TableAccess.h"
#include "store/ErrorCode.h"
#include "store/PageCursor.h"
#include "store/Table.h"
#include "ui/ProgramContext.h"
#include "ui/services/ListColumns.h"
#include "ui/services/ListEditKeys.h"
#include "ui/services/PageList.h"
#include "ui/services/PageModel.h"
#include "ui/services/SongDropTarget.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>

namespace srk {

FormRecordList::FormRecordList(ProgramContext& context, QWidget* parent) : QWidget(parent), m_context(context) {}

FormRecordList::~FormRecordList() {
    release();
}

bool FormRecordList::openTables(const QVector<const TableDef*>& tables) {
    bool opened = true;
    for (const TableDef* def : tables) {
        m_tables.append(def);
        opened = m_context.access->openTable(*def).ok() && opened;
    }
    return opened;
}

void FormRecordList::release() {
    if (m_released)
        return;
    m_released = true;
    if (m_columns)
        m_columns->save(m_context.positions);
    // Closed in reverse, as many as were opened.
    for (auto def = m_tables.crbegin(); def != m_tables.crend(); ++def)
        m_context.access->closeTable(**def);
    m_tables.clear();
}

void FormRecordList::setUpList(PageModel* model, const FormRecordListDesign& design) {
    m_design = design;
    m_model = model;
    m_list = new PageList(m_model, this);
    m_view = m_list->view();
    m_view->setAlternatingRowColors(true);
    m_view->setToolTip(design.tip);
    m_list->setKeyHandler([this](QKeyEvent* key) { return handleListKey(key); });
    m_list->setThumbPosition([] { return -1; });
    new SongDropTarget(m_view->viewport(), design.dropAllowed, design.drop);
    connect(m_list, &PageList::moved, this, [this](int code) { checkRead(code); });
    connect(m_list, &PageList::activated, this, [this] { pressAction(m_design.changeAction); });

    m_columns = std::make_unique<ListColumns>();
    m_columns->setReleaseDateColumns(design.releaseDateColumns);
    m_columns->restore(m_view, m_context.positions, design.procedure, design.listName, design.format,
                       m_context.preferences.DateFormat);

    connect(m_model, &PageModel::highlightChanged, this, [this] { updateButtons(); });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { updateButtons(); });
    connect(m_model, &QAbstractItemModel::rowsInserted, this, [this] { updateButtons(); });
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, [this] { updateButtons(); });
}

QPushButton* FormRecordList::addButton(const QString& text, int action, const QString& tip) {
    auto* b = new QPushButton(text, this);
    b->setAutoDefault(false);
    if (!tip.isEmpty())
        b->setToolTip(tip);
    connect(b, &QPushButton::clicked, this, [this, action] { pressAction(action); });
    m_buttons.append({b, action});
    return b;
}

QPushButton* FormRecordList::buttonFor(int action) const {
    for (const auto& [b, a] : m_buttons)
        if (a == action)
            return b;
    return nullptr;
}

bool FormRecordList::readHighlighted(const TableDef& table, Record& out) {
    const PageRow* row = m_cursor->highlightedRow();
    if (!row)
        return false;
    Table records(*m_context.store, table);
    out = records.newRecord();
    records.watch();
    return records.getByPosition(row->position, out) == NoError;
}

bool FormRecordList::handleListKey(QKeyEvent* key) {
    const ListEditKeys keys{m_design.addAction, m_design.changeAction, m_design.deleteAction,
                           ListEditKeys::PlainEnter::LeftToForm};
    if (const std::optional<bool> taken =
            keys.handle(key, m_model->rowCount() == 0, [this](int action) { pressAction(action); }))
        return *taken;
    return handleOtherKey(key);
}

bool FormRecordList::handleOtherKey(QKeyEvent* key) {
    Q_UNUSED(key);
    return false;
}

void FormRecordList::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_list->fitPageToView();
}

} // namespace srk
