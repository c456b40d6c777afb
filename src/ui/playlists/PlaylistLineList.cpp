#include "ui/playlists/PlaylistLineList.h"

#include "access/StandardMessages.h"
#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "playlists/PlaylistLines.h"
#include "playlists/SequenceJump.h"
#include "playlists/ThisWeekToLastWeek.h"
#include "store/ErrorCode.h"
#include "store/PageCursor.h"
#include "store/Table.h"
#include "text/Picture.h"
#include "ui/ProgramContext.h"
#include "ui/playlists/UpdatePlaylistDetails.h"
#include "ui/services/ListColumns.h"
#include "ui/services/PageList.h"
#include "ui/services/SongDropTarget.h"
#include "ui/services/PageModel.h"
#include "ui/services/TableWatch.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QScrollBar>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace srk {

const QString PlaylistLineList::Procedure = QStringLiteral("UpdatePlaylist");

namespace {

const QString kListName = QStringLiteral("?List");

QString listFormat() {
    return QStringLiteral("23R(2)|M~Seq~C(0)@n_5@"
                          "80L(2)|M~Artist~L(0)@s40@"
                          "80L(2)|M~Title~L(0)@s40@"
                          "35R(2)|M~Time~@t4@"
                          "80L(2)|M~Notes~@s40@");
}

struct ButtonDesign {
    const char* text;
    PlaylistLineList::Action action;
    const char* tip;
    QStyle::StandardPixmap icon;
};
using A = PlaylistLineList::Action;
const QVector<ButtonDesign> kMoveButtons = {
    {"", A::MoveUp, "Move record up one", QStyle::SP_ArrowUp},
    {"", A::MoveTop, "Move record to the top", QStyle::SP_MediaSkipBackward},
    {"", A::MoveDown, "Move record down one", QStyle::SP_ArrowDown},
    {"", A::MoveBottom, "Move record to the bottom", QStyle::SP_MediaSkipForward},
};
const QVector<ButtonDesign> kRowButtons = {
    {"Char&t", A::Chart, "Copy the current chart order into the last week column", QStyle::SP_CustomBase},
    {"&Add", A::Add, "Add a song after the highlighted line", QStyle::SP_CustomBase},
    {"&Change", A::Change, "Change the highlighted line", QStyle::SP_CustomBase},
    {"&Delete", A::Delete, "Delete the highlighted line", QStyle::SP_CustomBase},
};

Record lineOf(qint64 playlistId, qint64 sequence) {
    Record r(playlistDetailsTable());
    r.setNumber(PLA::PlaylistID, playlistId);
    r.setNumber(PLA::PlaylistSeq, sequence);
    return r;
}

}  // namespace

PlaylistLineList::PlaylistLineList(ProgramContext& context, qint64 playlistId, QWidget* parent)
    : FormRecordList(context, parent), m_playlistId(playlistId) {
    const bool opened = openTables({&playlistDetailsTable(), &songsTable()});
    m_cursor = std::make_unique<PageCursor>(*context.store, playlistDetailsTable(), PLA::KeyPlaylistID);
    m_cursor->addRelated(songsTable(), PLA::ID, SON::ID);
    auto* model = new StoredValuePageModel(*m_cursor, this);
    model->setColumns({{0, PLA::PlaylistSeq, QString(), QString()},
                       {1, SON::Artist, QString(), QString()},
                       {1, SON::Title, QString(), QString()},
                       {1, SON::Time, QString(), QString()},
                       {0, PLA::PlaylistNotes, QString(), QString()}});
    FormRecordListDesign design;
    design.procedure = Procedure;
    design.listName = kListName;
    design.format = listFormat();
    design.tip = QStringLiteral("Drag from the \"Songs\" window and drop on the Playlist");
    design.dropAllowed = [this] { return !m_released; };
    design.drop = [this](qint64 id) { dropSong(id); };
    design.addAction = int(Action::Add);
    design.changeAction = int(Action::Change);
    design.deleteAction = int(Action::Delete);
    setUpList(model, design);
    buildWindow();
    if (opened) {
        SqlCondition filter{m_cursor->column(0, PLA::PlaylistID) + QStringLiteral(" = ?"), {playlistId}};
        m_cursor->setPinned({playlistId});
        if (m_model->open() == NoError)
            checkRead(m_model->setOrder(PLA::KeyPlaylistID, filter, PageCursor::Placement::AtStart));
        else
            context.access->showStandardMessage(StdMsg::ViewOpenError);
        auto* watch = new TableWatch(*context.access, {playlistDetailsTable().label, songsTable().label}, this);
        connect(watch, &TableWatch::changed, this, &PlaylistLineList::followTables);
    }
    updateTotal();
    updateButtons();
}

void PlaylistLineList::buildWindow() {
    // The list is never narrower than its columns, so none of them starts clipped.
    int width = 2 * m_view->frameWidth() + m_view->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < m_model->columnCount(); ++c)
        width += m_view->horizontalHeader()->sectionSize(c);
    m_view->setMinimumWidth(width);

    auto makeButton = [this](const ButtonDesign& design) {
        QPushButton* b = addButton(QString::fromUtf8(design.text), int(design.action), QString::fromUtf8(design.tip));
        if (design.icon != QStyle::SP_CustomBase)
            b->setIcon(style()->standardIcon(design.icon));
        return b;
    };
    auto* moves = new QVBoxLayout;
    for (const ButtonDesign& design : kMoveButtons)
        moves->addWidget(makeButton(design));
    moves->addStretch();
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(m_list, 1);
    listRow->addLayout(moves);

    auto* buttons = new QHBoxLayout;
    for (const ButtonDesign& design : kRowButtons)
        buttons->addWidget(makeButton(design));
    buttons->addStretch();
    buttons->addWidget(new QLabel(QStringLiteral("Total Time:"), this));
    m_total = new QLabel(this);
    m_total->setObjectName(QStringLiteral("TotalTime"));
    buttons->addWidget(m_total);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(listRow, 1);
    layout->addLayout(buttons);
}

Record PlaylistLineList::highlightedLine() const {
    return m_cursor->highlightedRecord();
}

QString PlaylistLineList::totalText() const {
    return m_total->text();
}

void PlaylistLineList::updateTotal() {
    double total = 0;
    if (!m_released && PlaylistLines::totalTime(*m_context.store, m_playlistId, total) != NoError)
        total = 0;
    m_total->setText(format(QVariant(total), QStringLiteral("T4")));
}

void PlaylistLineList::updateButtons() {
    const bool rows = m_model->rowCount() > 0 && !m_released;
    for (const auto& [b, a] : buttons())
        b->setEnabled(Action(a) == Action::Add ? !m_released : rows);
}

void PlaylistLineList::checkRead(int code) {
    if (code == NoError || code == RecordNotAvailable || m_released)
        return;
    m_context.access->showStandardMessage(StdMsg::RetrievalError, playlistDetailsTable().label);
    Q_EMIT readFailed();
}

void PlaylistLineList::followTables() {
    if (m_released || !m_cursor->isOpen())
        return;
    checkRead(m_model->refresh());
    updateTotal();
    updateButtons();
}

void PlaylistLineList::showAt(const Record& line) {
    if (m_released)
        return;
    checkRead(line.isValid() ? m_model->rebuildAt(line) : m_model->reload());
    updateTotal();
    updateButtons();
}

// --- keys, drops ---

bool PlaylistLineList::handleOtherKey(QKeyEvent* key) {
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    const QString text = key->text();
    if (!ctrl && text.size() == 1 && text.at(0).isDigit()) {
        jumpToDigit(text.at(0).digitValue());
        return true;
    }
    return false;
}

void PlaylistLineList::jumpToDigit(int digit) {
    if (m_released)
        return;
    qint64 last = 0;
    if (PlaylistLines::lastSequence(*m_context.store, m_playlistId, last) != NoError) {
        checkRead(m_context.store->lastError().code);
        return;
    }
    const Record highlighted = highlightedLine();
    const qint64 target = nextSequenceStartingWith(digit, highlighted.number(PLA::PlaylistSeq), last);
    if (target > 0)
        checkRead(m_model->rebuildAt(lineOf(m_playlistId, target)));
}

void PlaylistLineList::dropSong(qint64 songId) {
    if (m_released)
        return;
    Record line;
    if (PlaylistLines::append(*m_context.access, m_playlistId, songId, line))
        showAt(line);
    else
        showAt(Record());
    m_view->setFocus();
}

// --- buttons ---

void PlaylistLineList::press(Action action) {
    QPushButton* b = button(action);
    if (m_released || !b || !b->isEnabled())
        return;
    switch (action) {
    case Action::MoveUp:
        moveLine(SequenceMove::UpOne);
        break;
    case Action::MoveTop:
        moveLine(SequenceMove::ToTop);
        break;
    case Action::MoveDown:
        moveLine(SequenceMove::DownOne);
        break;
    case Action::MoveBottom:
        moveLine(SequenceMove::ToBottom);
        break;
    case Action::Chart:
        rollChart();
        break;
    case Action::Add:
        runForm(WindowRequest::Insert);
        break;
    case Action::Change:
        runForm(WindowRequest::Change);
        break;
    case Action::Delete:
        runForm(WindowRequest::Delete);
        break;
    }
}

void PlaylistLineList::moveLine(SequenceMove how) {
    Record line;
    if (!readHighlighted(playlistDetailsTable(), line)) {
        showAt(Record());
        return;
    }
    PlaylistLines::move(*m_context.access, line, how);
    showAt(line);
}

void PlaylistLineList::rollChart() {
    TableAccess& access = *m_context.access;
    const QPointer<PlaylistLineList> self(this);
    if (!ThisWeekToLastWeek::confirm(access) || !self)
        return;
    {
        ThisWeekToLastWeek job(access, m_playlistId);
        access.runJob(job, job.title(), job.textLine());
    }
    if (self)
        showAt(highlightedLine().rowId() > 0 ? highlightedLine() : Record());
}

void PlaylistLineList::runForm(WindowRequest request) {
    Record line(playlistDetailsTable());
    const bool hasHighlighted = readHighlighted(playlistDetailsTable(), line);
    const qint64 after = hasHighlighted ? line.number(PLA::PlaylistSeq) : 0;
    if (request == WindowRequest::Insert) {
        line = lineOf(m_playlistId, 0);
    } else if (!hasHighlighted) {
        showAt(Record());
        return;
    }
    const QPointer<PlaylistLineList> self(this);
    const WindowResponse response = UpdatePlaylistDetails::run(m_context, request, line, this);
    if (!self || m_released)
        return;
    if (response != WindowResponse::Completed) {
        showAt(Record());
        return;
    }
    TableAccess& access = *m_context.access;
    switch (request) {
    case WindowRequest::Insert:
        // Added at the end: it goes up to just after the line that was highlighted.
        if (hasHighlighted)
            PlaylistLines::placeAfter(access, line, after);
        showAt(line);
        break;
    case WindowRequest::Delete:
        PlaylistLines::closeGap(access, m_playlistId, after);
        checkRead(m_model->removeHighlighted());
        updateTotal();
        updateButtons();
        break;
    default:
        showAt(line);
        break;
    }
    m_view->setFocus();
}

} // namespace srk
