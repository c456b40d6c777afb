#include "ui/songs/SelectAlbum.h"

#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "store/PageCursor.h"
#include "store/Table.h"
#include "ui/services/ListColumns.h"
#include "ui/services/PageList.h"
#include "ui/services/StepLocator.h"
#include "ui/services/PageModel.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/WindowPlacer.h"
#include "ui/ProgramContext.h"
#include "ui/services/WindowSize.h"

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

constexpr int kReleaseColumn = 4;

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
    ModalWindow<SelectAlbum> dialog(context, parent);
    if (!dialog.exec().accepted())
        return WindowResponse::Cancelled;
    album = dialog->chosen();
    return WindowResponse::Completed;
}

SelectAlbum::SelectAlbum(ProgramContext& context, QWidget* parent) : QDialog(parent), m_context(context) {
    setWindowTitle(QStringLiteral("Select An Album"));
    setObjectName(QStringLiteral("SELECTALBUM"));
    m_placer = new WindowPlacer(this, context.positions, Procedure);

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
                         {0, ALB::ReleaseDate, QStringLiteral("@d2"), QStringLiteral("Release Date"),
                          Qt::AlignLeft | Qt::AlignVCenter, true}});

    m_list = new PageList(m_model, this);
    m_view = m_list->view();
    m_list->setKeyHandler([this](QKeyEvent* key) { return handleKey(key); });
    connect(m_list, &PageList::activated, this, &SelectAlbum::selectHighlighted);

    m_columns = std::make_unique<ListColumns>();
    m_columns->setReleaseDateColumns({kReleaseColumn});
    m_columns->restore(m_view, context.positions, Procedure, kListName, kListFormat, context.preferences.DateFormat);
    // The model shows the release date through the picture the list ended up with (the preferred one).
    if (kReleaseColumn < m_columns->format().columnCount())
        if (const auto picture = m_columns->format().columns().at(kReleaseColumn).picture)
            m_model->setColumnPicture(kReleaseColumn, *picture);

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
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    // The designed size is the least it opens at.
    fitWindow(this, QSize(520, 300));

    connect(m_tabs, &QTabBar::currentChanged, this, &SelectAlbum::changeTab);
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
    m_list->fitPageToView();
}

bool SelectAlbum::handleKey(QKeyEvent* key) {
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        selectHighlighted();
        return true;
    default:
        break;
    }
    if (const std::optional<QString> letter = locatorLetter(key)) {
        stepLocate(*m_model, locatedField(), *letter);
        return true;
    }
    return false;
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

void SelectAlbum::release() {
    if (m_released)
        return;
    m_released = true;
    m_placer->save();
    m_columns->save(m_context.positions);
    if (m_tableOpen) {
        m_tableOpen = false;
        m_context.access->closeTable(albumTable());
    }
}

}  // namespace srk
