#include "ui/songs/SelectAlbum.h"

#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "store/PageCursor.h"
#include "store/Table.h"
#include "ui/services/ListColumns.h"
#include "ui/services/PageModel.h"
#include "ui/services/WindowPlacer.h"
#include "ui/shell/ProgramContext.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace srk {

namespace {

const QString kListName = QStringLiteral("?Browse:1");
const QString kListFormat = QStringLiteral(
    "120L(2)|M~Album~@s30@120L(2)|M~Artist~@s30@48L(2)|M~File Number~@s10@80L(2)|M~Media~@s20@"
    "52L(2)|M~Release Date~@d2@");

struct AlbumTab {
    const char* text;
    int key;
    int field; // the component a typed letter locates
};

const AlbumTab kTabs[] = {
    {"Album", ALB::KeyAlbum, ALB::Album},
    {"Artist", ALB::KeyArtist, ALB::Artist},
    {"File #", ALB::KeyFileNumber, ALB::FileNumber},
};

}  // namespace

const QString SelectAlbum::Procedure = QStringLiteral("SelectAlbum");

WindowResponse SelectAlbum::select(ProgramContext& context, Record& album, QWidget* parent) {
    SelectAlbum dialog(context, parent);
    if (dialog.exec() != QDialog::Accepted)
        return WindowResponse::Cancelled;
    album = dialog.chosen();
    return WindowResponse::Completed;
}

SelectAlbum::SelectAlbum(ProgramContext& context, QWidget* parent) : QDialog(parent), m_context(context) {
    setWindowTitle(QStringLiteral("Select An Album"));
    setObjectName(QStringLiteral("SELECTALBUM"));

    m_tableOpen = true;
    const bool opened = context.access->openTable(albumTable()).ok();

    m_tabs = new QTabBar(this);
    for (const AlbumTab& t : kTabs)
        m_tabs->addTab(QString::fromLatin1(t.text));
    m_tabs->setFocusPolicy(Qt::NoFocus);

    m_cursor = std::make_unique<PageCursor>(*context.store, albumTable(), kTabs[0].key);
    m_model = new PageModel(*m_cursor, this);
    m_model->setColumns({{0, ALB::Album, QStringLiteral("@s30"), QStringLiteral("Album")},
                         {0, ALB::Artist, QStringLiteral("@s30"), QStringLiteral("Artist")},
                         {0, ALB::FileNumber, QStringLiteral("@s10"), QStringLiteral("File Number")},
                         {0, ALB::Media, QStringLiteral("@s20"), QStringLiteral("Media")},
                         {0, ALB::ReleaseDate, QStringLiteral("@d2"), QStringLiteral("Release Date")}});

    m_view = new QTableView(this);
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->verticalHeader()->hide();
    m_view->setShowGrid(false);
    m_view->setWordWrap(false);
    // The page holds the rows that fit: the cursor scrolls, not the view.
    m_view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->installEventFilter(this);
    m_view->viewport()->installEventFilter(this);

    m_columns = std::make_unique<ListColumns>();
    m_columns->restore(m_view, context.positions, Procedure, kListName, kListFormat, context.preferences.DateFormat);

    m_select = new QPushButton(QStringLiteral("&Select"), this);
    m_select->setDefault(true);
    m_close = new QPushButton(QStringLiteral("Cl&ose"), this);
    m_close->setAutoDefault(false);
    connect(m_select, &QPushButton::clicked, this, &SelectAlbum::selectHighlighted);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_select);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttons);
    resize(520, 300);

    connect(m_tabs, &QTabBar::currentChanged, this, &SelectAlbum::changeTab);
    connect(m_model, &PageModel::highlightChanged, this, [this](int row) { showHighlight(row); });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { showHighlight(m_model->highlight()); });
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid() && current.row() != m_model->highlight())
                    m_model->setHighlight(current.row());
            });
    connect(m_view, &QAbstractItemView::doubleClicked, this, &SelectAlbum::selectHighlighted);
    connect(m_model, &QAbstractItemModel::modelReset, this,
            [this] { m_select->setEnabled(m_model->rowCount() > 0); });
    connect(m_model, &QAbstractItemModel::rowsInserted, this,
            [this] { m_select->setEnabled(m_model->rowCount() > 0); });
    connect(m_model, &QAbstractItemModel::rowsRemoved, this,
            [this] { m_select->setEnabled(m_model->rowCount() > 0); });

    if (opened && m_model->open() == NoError)
        m_model->top();
    m_select->setEnabled(m_model->rowCount() > 0);
    m_view->setFocus();
}

SelectAlbum::~SelectAlbum() {
    release();
}

Record SelectAlbum::highlightedAlbum() const {
    return m_cursor->highlightedRecord();
}

int SelectAlbum::rowCount() const {
    return m_model->rowCount();
}

void SelectAlbum::done(int result) {
    release();
    QDialog::done(result);
}

void SelectAlbum::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_placed) {
        m_placed = true;
        restoreWindowPlacement(this, m_context.positions, Procedure);
    }
    fitPageToView();
}

bool SelectAlbum::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_view->viewport()) {
        if (event->type() == QEvent::Resize)
            fitPageToView();
        if (event->type() == QEvent::Wheel) {
            const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
            if (delta > 0)
                m_model->lineUp();
            else if (delta < 0)
                m_model->lineDown();
            return true;
        }
        return QDialog::eventFilter(watched, event);
    }
    if (watched != m_view || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);

    auto* key = static_cast<QKeyEvent*>(event);
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        selectHighlighted();
        return true;
    case Qt::Key_Up:
        m_model->lineUp();
        return true;
    case Qt::Key_Down:
        m_model->lineDown();
        return true;
    case Qt::Key_PageUp:
        m_model->pageUp();
        return true;
    case Qt::Key_PageDown:
        m_model->pageDown();
        return true;
    case Qt::Key_Home:
        if (ctrl)
            m_model->top();
        else
            m_model->setHighlight(0);
        return true;
    case Qt::Key_End:
        if (ctrl)
            m_model->bottom();
        else
            m_model->setHighlight(m_model->rowCount() - 1);
        return true;
    default:
        break;
    }
    const QString text = key->text();
    if (!(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && text.size() == 1 && text[0].isPrint() &&
        !text[0].isSpace()) {
        stepLocate(text);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void SelectAlbum::selectHighlighted() {
    const PageRow* row = m_cursor->highlightedRow();
    if (!row)
        return;
    Table table(*m_context.store, albumTable());
    Record album;
    if (table.getByPosition(row->position, album) != NoError) {
        m_model->reload();
        return;
    }
    m_chosen = album;
    accept();
}

void SelectAlbum::changeTab(int tab) {
    if (tab < 0 || tab >= int(std::size(kTabs)))
        return;
    m_model->setKey(kTabs[tab].key);
    m_view->setFocus();
}

int SelectAlbum::locatedField() const {
    const int tab = std::clamp(m_tabs->currentIndex(), 0, int(std::size(kTabs)) - 1);
    return kTabs[tab].field;
}

bool SelectAlbum::beginsWith(const QString& letter) const {
    const PageRow* row = m_cursor->highlightedRow();
    if (!row)
        return false;
    const QString text = row->primary().text(locatedField());
    return !text.isEmpty() && text.left(1).toUpper() == letter.toUpper();
}

void SelectAlbum::stepLocate(const QString& letter) {
    if (beginsWith(letter)) {
        const PageRow* before = m_cursor->highlightedRow();
        const qint64 was = before ? before->rowId() : 0;
        m_model->lineDown();
        const PageRow* now = m_cursor->highlightedRow();
        if (now && now->rowId() != was && beginsWith(letter))
            return;
    }
    // The located component takes the letter; the components after it start from their lowest.
    Record target(albumTable());
    target.setText(locatedField(), letter);
    m_model->rebuildAt(target);
}

void SelectAlbum::fitPageToView() {
    const int rowHeight = std::max(1, m_view->verticalHeader()->defaultSectionSize());
    const int rows = std::max(1, m_view->viewport()->height() / rowHeight);
    if (rows != m_cursor->pageSize())
        m_model->setPageSize(rows);
}

void SelectAlbum::showHighlight(int row) {
    if (row < 0 || row >= m_model->rowCount()) {
        m_view->selectionModel()->clear();
        return;
    }
    const QModelIndex index = m_model->index(row, 0);
    if (m_view->currentIndex() != index)
        m_view->setCurrentIndex(index);
    m_view->selectRow(row);
}

void SelectAlbum::release() {
    if (m_released)
        return;
    m_released = true;
    if (m_placed)
        saveWindowPlacement(this, m_context.positions, Procedure);
    m_columns->save(m_context.positions);
    if (m_tableOpen) {
        m_tableOpen = false;
        m_context.access->closeTable(albumTable());
    }
}

}  // namespace srk
