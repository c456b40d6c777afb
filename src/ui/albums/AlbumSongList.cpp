#include "ui/albums/AlbumSongList.h"

#include "albums/AssignByFileNumber.h"
#include "albums/DropSongOnAlbum.h"
#include "access/StandardMessages.h"
#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "store/ErrorCode.h"
#include "store/PageCursor.h"
#include "store/Table.h"
#include "ui/ProgramContext.h"
#include "ui/services/DragPayload.h"
#include "ui/services/ListColumns.h"
#include "ui/services/PageList.h"
#include "ui/services/SongDropTarget.h"
#include "ui/services/PageModel.h"
#include "ui/services/TableWatch.h"
#include "ui/songs/SelectFileNumber.h"
#include "ui/songs/UpdateSongsForAlbum.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace srk {

const QString AlbumSongList::Procedure = QStringLiteral("UpdateAlbums");

namespace {

const QString kListName = QStringLiteral("?Browse:2");
// The column showing release dates (a bare year shows as the year).
constexpr int kReleaseDateColumn = 6;

const QVector<int> kColumnFields = {SON::TrackNumber, SON::Artist,     SON::Title,       SON::Time,
                                    SON::Media,       SON::FileNumber, SON::ReleaseDate};

QString listFormat() {
    return QStringLiteral("30R(2)|M~Track Number~@n3@"
                          "80L(2)|M~Artist~@s30@"
                          "80L(2)|M~Title~@s30@"
                          "30R(2)|M~Time~@t4@"
                          "50L(2)|M~Media~@s20@"
                          "48L(2)|M~File Number~@s10@"
                          "52L(2)|M~Release Date~@d2@");
}

struct ButtonDesign {
    const char* text;
    AlbumSongList::Action action;
};
const QVector<ButtonDesign> kButtons = {
    {"&Add", AlbumSongList::Action::Add},
    {"Cop&y", AlbumSongList::Action::Copy},
    {"&Change", AlbumSongList::Action::Change},
    {"&Delete", AlbumSongList::Action::Delete},
    {"Select Ex&isting Songs", AlbumSongList::Action::SelectExisting},
    {"Edit All Son&gs", AlbumSongList::Action::EditAll},
};

}  // namespace

AlbumSongList::AlbumSongList(ProgramContext& context, std::function<Record()> currentAlbum, QWidget* parent)
    : FormRecordList(context, parent), m_currentAlbum(std::move(currentAlbum)) {
    const bool opened = openTables({&songsTable()});
    m_cursor = std::make_unique<PageCursor>(*context.store, songsTable(), SON::KeyAlbumID);
    auto* model = new StoredValuePageModel(*m_cursor, this);
    QVector<PageColumn> columns;
    for (int field : kColumnFields)
        columns.append({0, field, QString(), QString()});
    model->setColumns(columns);
    FormRecordListDesign design;
    design.procedure = Procedure;
    design.listName = kListName;
    design.format = listFormat();
    design.tip = QStringLiteral("Right-Click for Options");
    design.releaseDateColumns = {kReleaseDateColumn};
    design.dropAllowed = [this] { return m_albumId > 0 && !m_released; };
    design.drop = [this](qint64 id) { dropSong(id); };
    design.addAction = int(Action::Add);
    design.changeAction = int(Action::Change);
    design.deleteAction = int(Action::Delete);
    setUpList(model, design);
    buildWindow();
    if (opened) {
        if (m_model->open() == NoError) {
            followAlbum();
        } else {
            context.access->showStandardMessage(StdMsg::ViewOpenError);
        }
        auto* watch = new TableWatch(*context.access, {songsTable().label}, this);
        connect(watch, &TableWatch::changed, this, &AlbumSongList::followTables);
    }
    updateButtons();
}

void AlbumSongList::buildWindow() {
    m_list->setDragSource(true);
    connect(m_list, &PageList::contextMenuRequested, this, &AlbumSongList::showPopup);
    connect(m_list, &PageList::dragStarted, this, &AlbumSongList::startDrag);

    auto* buttons = new QHBoxLayout;
    for (const ButtonDesign& design : kButtons) {
        QPushButton* b = addButton(QString::fromUtf8(design.text), int(design.action),
                                   design.action == Action::Copy ? QStringLiteral("Copy record") : QString());
        if (design.action == Action::SelectExisting)
            buttons->addStretch();
        buttons->addWidget(b);
    }
    auto* note = new QLabel(QStringLiteral("Songs can also be dragged from the songs window\n"
                                           "to the album song list."),
                            this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    layout->addWidget(note);
}

Record AlbumSongList::album() const {
    Record a = m_currentAlbum ? m_currentAlbum() : Record();
    return a.isValid() ? a : Record(albumTable());
}

bool AlbumSongList::followAlbum() {
    if (m_released || !m_cursor->isOpen())
        return false;
    const qint64 id = album().number(ALB::AlbumID);
    if (id == m_albumId)
        return false;
    m_albumId = id;
    SqlCondition filter;
    if (id == 0) {
        // An album without its number yet has no songs; those of album 0 are songs of no album.
        filter.sql = QStringLiteral("0 = 1");
        m_cursor->setPinned({});
    } else {
        filter.sql = m_cursor->column(0, SON::AlbumID) + QStringLiteral(" = ?");
        filter.binds << id;
        m_cursor->setPinned({id});
    }
    checkRead(m_model->setOrder(SON::KeyAlbumID, filter, PageCursor::Placement::AtStart));
    updateButtons();
    return true;
}

void AlbumSongList::rebuild() {
    if (m_released || !m_cursor->isOpen())
        return;
    if (!followAlbum()) {
        const Record highlighted = m_cursor->highlightedRecord();
        checkRead(highlighted.rowId() > 0 ? m_model->rebuildAt(highlighted) : m_model->top());
    }
    updateButtons();
}

Record AlbumSongList::highlightedSong() const {
    return m_cursor->highlightedRecord();
}

void AlbumSongList::updateButtons() {
    const bool rows = m_model->rowCount() > 0;
    // Songs linked to an album without a number would land in no album at all.
    const bool numbered = m_albumId > 0 && !m_released;
    button(Action::Add)->setEnabled(numbered);
    button(Action::Copy)->setEnabled(numbered && rows);
    button(Action::Change)->setEnabled(rows && !m_released);
    button(Action::Delete)->setEnabled(rows && !m_released);
    button(Action::SelectExisting)->setEnabled(numbered);
    button(Action::EditAll)->setEnabled(numbered);
}

void AlbumSongList::checkRead(int code) {
    if (code == NoError || code == RecordNotAvailable || m_released)
        return;
    m_context.access->showStandardMessage(StdMsg::RetrievalError, songsTable().label);
}

void AlbumSongList::followTables() {
    if (m_released || !m_cursor->isOpen())
        return;
    checkRead(m_model->refresh());
    updateButtons();
}

// --- mouse, drag and drop ---

void AlbumSongList::showPopup(const QPoint& globalPos) {
    // Held weakly: a form deleted while the menu is up deletes the menu with it.
    const QPointer<QMenu> menu(buildPopup());
    menu->exec(globalPos);
    delete menu.data();
}

QMenu* AlbumSongList::buildPopup() {
    auto* menu = new QMenu(this);
    const bool rows = m_model->rowCount() > 0;
    auto item = [this, menu](Action action, const QString& text, bool enabled) {
        QAction* a = menu->addAction(text);
        a->setEnabled(enabled && button(action)->isEnabled());
        connect(a, &QAction::triggered, this, [this, action] { press(action); });
    };
    item(Action::Add, QStringLiteral("&Add"), true);
    item(Action::Change, QStringLiteral("&Change"), rows);
    item(Action::Delete, QStringLiteral("&Delete"), rows);
    menu->addSeparator();
    item(Action::Copy, QStringLiteral("Cop&y"), rows);
    return menu;
}

void AlbumSongList::startDrag() {
    Record song;
    if (!readHighlighted(songsTable(), song))
        return;
    auto* drag = new QDrag(m_view);
    drag->setMimeData(makeDragData(kSongsDragId, QString::number(song.number(SON::ID))));
    drag->exec(Qt::CopyAction);
}

void AlbumSongList::dropSong(qint64 songId) {
    if (m_released || m_albumId <= 0)
        return;
    followAlbum();
    const DropSongOnAlbum::Result result = DropSongOnAlbum::run(*m_context.access, songId, m_albumId);
    if (result.outcome == DropSongOnAlbum::Outcome::NotFound)
        return;
    if (result.outcome == DropSongOnAlbum::Outcome::Failed)
        checkRead(m_model->reload());
    else
        checkRead(m_model->rebuildAt(result.song));
    updateButtons();
    m_view->setFocus();
}

// --- buttons ---

void AlbumSongList::press(Action action) {
    if (m_released)
        return;
    // The form may have given the album its number since the list was read.
    followAlbum();
    QPushButton* b = button(action);
    if (!b || !b->isEnabled())
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
    case Action::SelectExisting:
        selectExisting();
        break;
    case Action::EditAll:
        editAll();
        break;
    }
}

void AlbumSongList::runForm(WindowRequest request) {
    const Record albumNow = album();
    Record song(songsTable());
    Record highlighted;
    const bool hasHighlighted = readHighlighted(songsTable(), highlighted);
    if (request == WindowRequest::Insert) {
        song.setNumber(SON::AlbumID, albumNow.number(ALB::AlbumID));
    } else if (!hasHighlighted) {
        checkRead(m_model->reload());
        updateButtons();
        return;
    } else {
        song = highlighted;
    }
    // A copy is an insert on the highlighted song's values: the form's priming gives it the album's
    // fields, a new number and the next track.
    const WindowRequest formRequest = request == WindowRequest::Select ? WindowRequest::Insert : request;
    const QPointer<AlbumSongList> self(this);
    const WindowResponse response = UpdateSongsForAlbum::run(m_context, formRequest, song, albumNow, this);
    // The album form may have gone while the song form was up.
    if (!self)
        return;
    afterForm(formRequest, response, song);
    m_view->setFocus();
}

void AlbumSongList::afterForm(WindowRequest request, WindowResponse response, const Record& song) {
    if (m_released)
        return;
    int rc = NoError;
    if (response != WindowResponse::Completed)
        rc = m_model->reload();
    else if (request == WindowRequest::Delete)
        rc = m_model->removeHighlighted();
    else
        rc = m_model->rebuildAt(song);
    checkRead(rc);
    updateButtons();
}

void AlbumSongList::selectExisting() {
    const Record albumNow = album();
    const qint64 albumId = albumNow.number(ALB::AlbumID);
    if (!albumNow.text(ALB::FileNumber).trimmed().isEmpty()) {
        const int answer = AssignByFileNumber::ask(*m_context.access, albumNow);
        if (answer == ButtonCancel)
            return;
        if (answer == ButtonYes) {
            AssignByFileNumber::run(*m_context.access, albumNow);
            rebuild();
            return;
        }
    }
    Record chosen(songsTable());
    const QPointer<AlbumSongList> self(this);
    const WindowResponse response = SelectFileNumber::select(m_context, chosen, this);
    if (!self || m_released)
        return;
    if (response == WindowResponse::Completed &&
        AssignByFileNumber::assignSong(*m_context.access, chosen, albumId) == NoError) {
        chosen.setNumber(SON::AlbumID, albumId);
        checkRead(m_model->rebuildAt(chosen));
        updateButtons();
        return;
    }
    rebuild();
}

void AlbumSongList::editAll() {
    const Record albumNow = album();
    const qint64 albumId = albumNow.number(ALB::AlbumID);
    if (albumId <= 0)
        return;
    // The walk takes the songs as they are listed now, each once: a song whose track number is changed
    // on the way is neither met again nor skipped.
    QVector<qint64> rows;
    {
        Table songs(*m_context.store, songsTable());
        Record first(songsTable());
        first.setNumber(SON::AlbumID, albumId);
        KeyAnchor anchor = KeyAnchor::at(first, SON::KeyAlbumID);
        anchor.row = 0;
        SqlCondition ofAlbum{QStringLiteral("AlbumID = ?"), {albumId}};
        for (;;) {
            QVector<Record> batch;
            const int rc = songs.fetch(SON::KeyAlbumID, anchor, true, 100, ofAlbum, batch);
            if (rc != NoError && rc != RecordNotAvailable) {
                checkRead(rc);
                return;
            }
            if (batch.isEmpty())
                break;
            for (const Record& s : batch)
                rows.append(s.rowId());
            anchor = KeyAnchor::after(batch.last(), SON::KeyAlbumID);
        }
    }
    const QPointer<AlbumSongList> self(this);
    Record last;
    for (qint64 row : rows) {
        Table songs(*m_context.store, songsTable());
        Record song = songs.newRecord();
        songs.watch();
        // Deleted meanwhile (by another window or station): nothing to edit.
        if (songs.getByPosition(QString::number(row), song) != NoError)
            continue;
        const WindowResponse response = UpdateSongsForAlbum::run(m_context, WindowRequest::Change, song, albumNow, this);
        if (!self)
            return;
        if (response != WindowResponse::Completed)
            break;
        last = song;
    }
    if (m_released)
        return;
    if (last.isValid())
        checkRead(m_model->rebuildAt(last));
    else
        rebuild();
    updateButtons();
}

} // namespace srk
