#include "ui/albums/AlbumWizard.h"

#include "access/Priming.h"
#include "access/SequenceMove.h"
#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "albums/AddWizardRows.h"
#include "albums/AlbumWizardCommit.h"
#include "catalog/Tables.h"
#include "cd/DiscTime.h"
#include "settings/IniFile.h"
#include "settings/Preferences.h"
#include "songs/NewSong.h"
#include "songs/SongChecks.h"
#include "store/Table.h"
#include "text/Picture.h"
#include "text/PreferredDatePicture.h"
#include "text/ReleaseDate.h"
#include "text/TypedEntry.h"
#include "ui/ProgramContext.h"
#include "ui/WindowRegistry.h"
#include "ui/albums/UpdateAddWizard.h"
#include "ui/cd/ReadCompactDisc.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/WindowPlacer.h"
#include "ui/services/WindowRequest.h"
#include "ui/services/WindowSize.h"
#include "ui/songs/AddAlbumWizardLauncher.h"
#include "ui/songs/BrowseMedia.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace srk {

namespace {

// The release date's own picture when the preferences name none (as on the song form).
const QString kDatePicture = QStringLiteral("@d17b");

}  // namespace

QString AlbumWizard::procedureName(Variant variant) {
    return variant == Variant::Compilation ? QStringLiteral("AddCompilation") : QStringLiteral("AddSingleArtist");
}

void AlbumWizard::run(ProgramContext& context, Variant variant, QWidget* parent) {
    TableAccess& access = *context.access;
    {
        TableUse use(access);
        for (const TableDef* def : {&addWizardTable(), &albumTable(), &songsTable(), &categoriesTable(), &mediaTable()})
            if (!use.open(*def))
                return;
        Record header(songsTable());
        if (primeSong(access, header) != PrimeStatus::Primed)
            return;
        context.preferences.AutoAddToAlbums = QStringLiteral("1");
        ModalWindow<AlbumWizard> wizard(context, variant, header, parent);
        if (wizard.exec().gone)
            cancelPrimed(access, songsTable(), header);
    }
    // A change of the switch lasts only for the wizard that made it.
    IniFile file(context.preferencesFile.path());
    context.preferences.AutoAddToAlbums = Preferences::load(file).AutoAddToAlbums;
}

void AlbumWizard::registerWith(WindowRegistry& windows) {
    for (Variant variant : {Variant::SingleArtist, Variant::Compilation})
        windows.registerWindow(procedureName(variant), [variant](WindowRegistry& w) -> QWidget* {
            run(w.context(), variant, dynamic_cast<QWidget*>(&w));
            return nullptr;
        });
    AddAlbumWizardLauncher::setRunner([](ProgramContext& context, AddAlbumWizard wizard, QWidget* parent) {
        run(context, wizard == AddAlbumWizard::Compilation ? Variant::Compilation : Variant::SingleArtist, parent);
    });
}

AlbumWizard::AlbumWizard(ProgramContext& context, Variant variant, const Record& header, QWidget* parent)
    : QDialog(parent),
      m_context(context),
      m_variant(variant),
      m_header(header),
      m_primed(header),
      m_album(albumTable()),
      m_instance(context.threadInstance) {
    setObjectName(procedureName(variant).toUpper());
    setWindowTitle(variant == Variant::Compilation ? QStringLiteral("Add Compilation")
                                                   : QStringLiteral("Add Album by Single Artist"));
    m_album.setText(ALB::Media, QStringLiteral("CD"));
    m_datePicture = applyPreferredDatePicture(kDatePicture, context.preferences.DateFormat);
    m_placer = new WindowPlacer(this, context.positions, procedureName(variant));

    m_tabs = new QTabWidget(this);
    m_tabs->addTab(buildGeneralTab(), QStringLiteral("&General"));
    m_tabs->addTab(buildSongsTab(), QStringLiteral("&Songs"));

    m_addToAlbums = new QCheckBox(QStringLiteral("Add Information to Album Database"), this);
    m_addToAlbums->setChecked(!context.preferences.AutoAddToAlbums.trimmed().isEmpty());
    connect(m_addToAlbums, &QCheckBox::toggled, this, [this](bool on) {
        m_context.preferences.AutoAddToAlbums = on ? QStringLiteral("1") : QString();
    });

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    ok->setDefault(true);
    cancel->setAutoDefault(false);
    // Pressing a button must not first accept the field the cursor is in: OK checks every field itself.
    ok->setFocusPolicy(Qt::TabFocus);
    cancel->setFocusPolicy(Qt::TabFocus);
    m_buttons[int(Action::Ok)] = ok;
    m_buttons[int(Action::Cancel)] = cancel;
    connect(ok, &QPushButton::clicked, this, [this] { commit(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_addToAlbums);
    bottom->addStretch();
    bottom->addWidget(ok);
    bottom->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(bottom);
    fitWindow(this);
    refresh();
    m_tabs->setCurrentIndex(0);
    (m_artist ? m_artist : m_albumName)->setFocus();
}

AlbumWizard::~AlbumWizard() = default;

QWidget* AlbumWizard::buildGeneralTab() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    auto line = [page, form](const QString& prompt, int width) {
        auto* edit = new QLineEdit(page);
        edit->setMaxLength(width);
        auto* label = new QLabel(prompt, page);
        label->setBuddy(edit);
        form->addRow(label, edit);
        return edit;
    };
    auto combo = [page, form](const QString& prompt, int width) {
        auto* box = new QComboBox(page);
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->lineEdit()->setMaxLength(width);
        auto* label = new QLabel(prompt, page);
        label->setBuddy(box);
        form->addRow(label, box);
        return box;
    };
    if (m_variant == Variant::SingleArtist) {
        m_artist = line(QStringLiteral("&Artist:"), 40);
        m_albumName = line(QStringLiteral("&Album:"), 40);
    } else {
        m_albumName = line(QStringLiteral("&Compilation Name:"), 40);
    }
    m_releaseDate = line(QStringLiteral("&Release Date:"), 30);
    m_fileNumber = line(QStringLiteral("&File Number:"), 20);
    // "&Compilation Name:" takes the C.
    m_category = combo(m_variant == Variant::Compilation ? QStringLiteral("Ca&tegory:") : QStringLiteral("&Category:"), 30);
    m_media = combo(QStringLiteral("&Media:"), 20);

    m_mediaNames = loadMediaList(*m_context.access);
    m_media->addItems(m_mediaNames);
    m_categories = loadCategoryChoices(*m_context.access);
    for (const CategoryChoice& c : m_categories)
        m_category->addItem(c.name, c.id);

    if (m_artist)
        m_artist->setText(m_header.text(SON::Artist));
    m_albumName->setText(m_header.text(SON::Album));
    m_fileNumber->setText(m_header.text(SON::FileNumber));
    const qint64 released = m_header.number(SON::ReleaseDate);
    m_shownDate = released ? formatReleaseDate(released, m_datePicture) : QString();
    m_releaseDate->setText(m_shownDate);
    m_shownMedia = m_header.text(SON::Media);
    m_media->setEditText(m_shownMedia);
    m_shownCategory.clear();
    for (const CategoryChoice& c : m_categories)
        if (c.id == m_header.number(SON::CategoryID))
            m_shownCategory = c.name;
    m_category->setEditText(m_shownCategory);

    connect(m_media->lineEdit(), &QLineEdit::editingFinished, this, [this] { acceptMedia(); });
    connect(m_category->lineEdit(), &QLineEdit::editingFinished, this, [this] { acceptCategory(); });
    connect(m_releaseDate, &QLineEdit::editingFinished, this, [this] { acceptReleaseDate(); });
    return page;
}

QWidget* AlbumWizard::buildSongsTab() {
    auto* page = new QWidget(this);
    m_buttons.resize(int(Action::Cancel) + 1);
    m_list = new QTableWidget(page);
    const QStringList headers = m_variant == Variant::Compilation
                                    ? QStringList{QStringLiteral("Track"), QStringLiteral("Artist"),
                                                  QStringLiteral("Title"), QStringLiteral("Time")}
                                    : QStringList{QStringLiteral("Track"), QStringLiteral("Title"),
                                                  QStringLiteral("Time")};
    m_list->setColumnCount(int(headers.size()));
    m_list->setHorizontalHeaderLabels(headers);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(false);
    m_list->installEventFilter(this);
    m_list->viewport()->installEventFilter(this);
    connect(m_list, &QTableWidget::cellDoubleClicked, this, [this] { press(Action::Change); });

    auto arrow = [this, page](Action action, QStyle::StandardPixmap icon, const QString& tip) {
        auto* b = new QPushButton(page);
        b->setIcon(style()->standardIcon(icon));
        b->setToolTip(tip);
        b->setAccessibleName(tip);
        b->setAutoDefault(false);
        m_buttons[int(action)] = b;
        connect(b, &QPushButton::clicked, this, [this, action] { press(action); });
        return b;
    };
    auto* arrows = new QVBoxLayout;
    arrows->addWidget(arrow(Action::Top, QStyle::SP_MediaSkipBackward, QStringLiteral("Move record to the top")));
    arrows->addWidget(arrow(Action::Up, QStyle::SP_ArrowUp, QStringLiteral("Move record up one")));
    arrows->addWidget(arrow(Action::Down, QStyle::SP_ArrowDown, QStringLiteral("Move record down one")));
    arrows->addWidget(arrow(Action::Bottom, QStyle::SP_MediaSkipForward, QStringLiteral("Move record to the bottom")));
    arrows->addStretch();
    // The skip icons point sideways; the list runs downwards.
    m_buttons[int(Action::Top)]->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    m_buttons[int(Action::Top)]->setText(QStringLiteral("\u2912"));
    m_buttons[int(Action::Bottom)]->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    m_buttons[int(Action::Bottom)]->setText(QStringLiteral("\u2913"));

    auto text = [this, page](Action action, const QString& caption) {
        auto* b = new QPushButton(caption, page);
        b->setAutoDefault(false);
        m_buttons[int(action)] = b;
        connect(b, &QPushButton::clicked, this, [this, action] { press(action); });
        return b;
    };
    auto* rowButtons = new QHBoxLayout;
    rowButtons->addWidget(text(Action::Add, QStringLiteral("&Add")));
    rowButtons->addWidget(text(Action::Change, QStringLiteral("&Change")));
    rowButtons->addWidget(text(Action::Delete, QStringLiteral("&Delete")));
    rowButtons->addStretch();
    rowButtons->addWidget(text(Action::EditAll, QStringLiteral("Edit All Son&gs")));
    rowButtons->addWidget(text(Action::ReadDisc, QStringLiteral("&Read Compact Disc Information")));

    m_popup = new QMenu(this);
    m_popup->addAction(QStringLiteral("&Add"), this, [this] { press(Action::Add); });
    m_popup->addAction(QStringLiteral("&Change"), this, [this] { press(Action::Change); });
    m_popup->addAction(QStringLiteral("&Delete"), this, [this] { press(Action::Delete); });

    auto* grid = new QGridLayout(page);
    grid->addWidget(m_list, 0, 0);
    grid->addLayout(arrows, 0, 1);
    grid->addLayout(rowButtons, 1, 0, 1, 2);
    return page;
}

QLineEdit* AlbumWizard::editor(int songField) const {
    switch (songField) {
    case SON::Artist: return m_artist;
    case SON::Album: return m_albumName;
    case SON::ReleaseDate: return m_releaseDate;
    case SON::FileNumber: return m_fileNumber;
    case SON::Media: return m_media->lineEdit();
    case SON::CategoryID: return m_category->lineEdit();
    default: return nullptr;
    }
}

QPushButton* AlbumWizard::button(Action action) const {
    return m_buttons.value(int(action));
}

void AlbumWizard::press(Action action) {
    switch (action) {
    case Action::Up: move(int(SequenceMove::UpOne)); break;
    case Action::Top: move(int(SequenceMove::ToTop)); break;
    case Action::Down: move(int(SequenceMove::DownOne)); break;
    case Action::Bottom: move(int(SequenceMove::ToBottom)); break;
    case Action::Add: runRowForm(int(WindowRequest::Insert)); break;
    case Action::Change: runRowForm(int(WindowRequest::Change)); break;
    case Action::Delete: runRowForm(int(WindowRequest::Delete)); break;
    case Action::EditAll: editAll(); break;
    case Action::ReadDisc: readDisc(); break;
    case Action::Ok: commit(); break;
    case Action::Cancel: reject(); break;
    }
}

bool AlbumWizard::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Insert) {
            press(Action::Add);
            return true;
        }
        if (key == Qt::Key_Delete) {
            press(Action::Delete);
            return true;
        }
    }
    if ((watched == m_list || watched == m_list->viewport()) && event->type() == QEvent::ContextMenu) {
        const auto* menu = static_cast<QContextMenuEvent*>(event);
        const int row = m_list->rowAt(m_list->viewport()->mapFromGlobal(menu->globalPos()).y());
        if (row >= 0)
            highlight(row);
        m_popup->popup(menu->globalPos());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void AlbumWizard::refresh(qint64 highlightRow) {
    const int before = current();
    m_rows.clear();
    if (readAddWizardRows(m_context.access->store(), m_instance, m_rows) != NoError) {
        m_context.access->saveError();
        m_context.access->showStandardMessage(StdMsg::RetrievalError, addWizardTable().label);
    }
    const bool compilation = m_variant == Variant::Compilation;
    m_list->setRowCount(int(m_rows.size()));
    int chosen = -1;
    for (int i = 0; i < m_rows.size(); ++i) {
        const Record& r = m_rows[i];
        QStringList cells{format(r.number(AW::Track), QStringLiteral("@n3"))};
        if (compilation)
            cells << r.text(AW::Artist);
        cells << r.text(AW::Title) << FormatMinutesSeconds(r.number(AW::Time));
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c == 0 || c == cells.size() - 1)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_list->setItem(i, c, item);
        }
        if (r.rowId() == highlightRow)
            chosen = i;
    }
    m_list->resizeColumnsToContents();
    m_list->horizontalHeader()->setSectionResizeMode(compilation ? 2 : 1, QHeaderView::Stretch);
    if (chosen < 0 && !m_rows.isEmpty())
        chosen = std::clamp(before, 0, int(m_rows.size()) - 1);
    highlight(chosen);
}

void AlbumWizard::highlight(int index) {
    if (index < 0 || index >= m_rows.size()) {
        m_list->clearSelection();
        return;
    }
    m_list->selectRow(index);
    m_list->setCurrentCell(index, 0);
}

int AlbumWizard::current() const {
    const int row = m_list->currentRow();
    return row >= 0 && row < m_rows.size() ? row : -1;
}

void AlbumWizard::runRowForm(int request) {
    const auto req = WindowRequest(request);
    Record row(addWizardTable());
    if (req != WindowRequest::Insert) {
        if (current() < 0)
            return;
        row = m_rows[current()];
    }
    const QPointer<AlbumWizard> self(this);
    const auto variant =
        m_variant == Variant::Compilation ? UpdateAddWizard::Variant::WithArtist : UpdateAddWizard::Variant::NoArtist;
    UpdateAddWizard::run(m_context, variant, req, row, this);
    if (!self)
        return;
    refresh(row.rowId());
}

void AlbumWizard::move(int kind) {
    if (current() < 0)
        return;
    Record row = m_rows[current()];
    moveInSequence(*m_context.access, addWizardSequence(), row, SequenceMove(kind));
    refresh(row.rowId());
}

void AlbumWizard::editAll() {
    TableAccess& access = *m_context.access;
    Table rows(access.store(), addWizardTable());
    Record probe(addWizardTable());
    probe.setNumber(AW::Instance, m_instance);
    probe.setNumber(AW::Track, Record::minOf(FieldKind::Dec2));
    KeyAnchor anchor = KeyAnchor::at(probe, AW::KeyInstance);
    const QPointer<AlbumWizard> self(this);
    const auto variant =
        m_variant == Variant::Compilation ? UpdateAddWizard::Variant::WithArtist : UpdateAddWizard::Variant::NoArtist;
    qint64 last = -1;
    for (;;) {
        QVector<Record> next;
        const int rc = rows.fetch(AW::KeyInstance, anchor, true, 1, next);
        if (rc != NoError && rc != RecordNotAvailable) {
            const StoreError& error = access.store().lastError();
            access.ask({QStringLiteral("Unexpected Error"), error.displayText() + QLatin1Char('\n') + error.fileName,
                        ButtonOk, ButtonOk});
            // A read that failed once fails again: going on would only repeat the message.
            break;
        }
        if (next.isEmpty() || next.first().number(AW::Instance) != m_instance) {
            access.ask({QStringLiteral("Information"), QStringLiteral("End of songs on this album."), ButtonOk,
                        ButtonOk});
            break;
        }
        Record row = next.first();
        refresh(row.rowId());
        const QString result = UpdateAddWizard::run(m_context, variant, WindowRequest::Change, row, this);
        if (!self)
            return;
        last = row.rowId();
        if (result != QStringLiteral("OK"))
            break;
        anchor = KeyAnchor::after(row, AW::KeyInstance);
    }
    refresh(last);
}

bool AlbumWizard::acceptMedia() {
    if (m_closing)
        return true;
    const QString typed = m_media->currentText().trimmed();
    if (typed == m_shownMedia && !typed.isEmpty())
        return true;
    for (const QString& name : m_mediaNames)
        if (name.compare(typed, Qt::CaseInsensitive) == 0) {
            m_shownMedia = name;
            m_media->setEditText(name);
            return true;
        }
    // A medium not in the table is picked from the media list.
    Record chosen(mediaTable());
    const QPointer<AlbumWizard> self(this);
    const WindowResponse response = BrowseMedia::select(m_context, chosen, this);
    if (!self)
        return false;
    m_mediaNames = loadMediaList(*m_context.access);
    m_media->clear();
    m_media->addItems(m_mediaNames);
    if (response == WindowResponse::Completed && chosen.isValid()) {
        m_shownMedia = chosen.text(MED::Media);
        m_media->setEditText(m_shownMedia);
        return true;
    }
    m_media->setEditText(typed);
    m_tabs->setCurrentIndex(0);
    m_media->setFocus();
    m_media->lineEdit()->selectAll();
    return false;
}

bool AlbumWizard::acceptCategory() {
    if (m_closing)
        return true;
    if (m_category->currentText() == m_shownCategory)
        return true;
    qint64 id = 0;
    QString name;
    const CategoryAcceptance result = srk::acceptCategory(*m_context.access, m_category->currentText(), id, name);
    if (result == CategoryAcceptance::Refused) {
        m_tabs->setCurrentIndex(0);
        m_category->setFocus();
        m_category->lineEdit()->selectAll();
        return false;
    }
    if (result == CategoryAcceptance::Added) {
        m_categories = loadCategoryChoices(*m_context.access);
        m_category->clear();
        for (const CategoryChoice& c : m_categories)
            m_category->addItem(c.name, c.id);
    }
    m_header.setNumber(SON::CategoryID, id);
    m_shownCategory = name;
    m_category->setEditText(name);
    return true;
}

bool AlbumWizard::acceptReleaseDate() {
    if (m_closing)
        return true;
    if (m_releaseDate->text() == m_shownDate || readReleaseDate(m_releaseDate->text(), m_datePicture))
        return true;
    m_context.access->ask(
        {dateEntryTitle(), dateEntryText(m_releaseDate->text(), m_datePicture, true), ButtonOk, ButtonOk});
    m_tabs->setCurrentIndex(0);
    m_releaseDate->setFocus();
    m_releaseDate->selectAll();
    return false;
}

bool AlbumWizard::acceptHeader() {
    return acceptReleaseDate() && acceptCategory() && acceptMedia();
}

void AlbumWizard::readDisc() {
    Record album = m_album;
    // New rows take the album's artist; a compilation has none, so its rows say "Various".
    album.setText(ALB::Artist, m_artist ? m_artist->text() : QString());
    const QPointer<AlbumWizard> self(this);
    const bool read = ReadCompactDisc::run(m_context, false, true, album, m_instance, this);
    if (!self || m_closing)
        return;
    if (read) {
        // Kept until the commit, which gives it to the new album.
        m_album.setText(ALB::CDIdentifier, album.text(ALB::CDIdentifier));
        m_album.setNumber(ALB::TotalTime, album.number(ALB::TotalTime));
    }
    refresh();
}

void AlbumWizard::collect() {
    if (m_artist)
        m_header.setText(SON::Artist, m_artist->text());
    m_header.setText(SON::Album, m_albumName->text());
    m_header.setText(SON::FileNumber, m_fileNumber->text());
    m_header.setText(SON::Media, m_shownMedia);
    if (m_releaseDate->text() != m_shownDate)
        m_header.setNumber(SON::ReleaseDate, readReleaseDate(m_releaseDate->text(), m_datePicture).value_or(0));
}

bool AlbumWizard::headerChanged() {
    Record now = m_header;
    if (m_artist)
        now.setText(SON::Artist, m_artist->text());
    now.setText(SON::Album, m_albumName->text());
    now.setText(SON::FileNumber, m_fileNumber->text());
    now.setText(SON::Media, m_media->currentText());
    return !now.sameValues(m_primed) || m_releaseDate->text() != m_shownDate ||
           m_category->currentText() != m_shownCategory;
}

void AlbumWizard::commit() {
    if (!acceptHeader())
        return;
    collect();
    AlbumWizardCommit c;
    c.kind = m_variant == Variant::Compilation ? AlbumWizardKind::Compilation : AlbumWizardKind::SingleArtist;
    c.header = m_header;
    c.album = m_album;
    c.addAlbum = m_addToAlbums->isChecked();
    c.instance = m_instance;
    c.settledAlbumId = m_settledAlbum;
    const QPointer<AlbumWizard> self(this);
    const AlbumWizardOutcome out = commitAlbumWizard(*m_context.access, c);
    if (!self)
        return;
    if (out.songsNotAdded > 0 || out.readFailed) {
        // What was stored stays stored; a second OK adds the rest to the same album.
        m_settledAlbum = out.albumId;
        if (out.songsNotAdded > 0)
            m_context.access->ask({QStringLiteral("Warning"), songsNotAddedText(out.songsNotAdded), ButtonOk, ButtonOk});
        if (!self)
            return;
        m_tabs->setCurrentIndex(1);
        refresh();
        return;
    }
    m_committed = true;
    done(QDialog::Rejected);
}

void AlbumWizard::reject() {
    if (!m_committed && !ModalWindows::instance().cancelling() && headerChanged()) {
        const QPointer<AlbumWizard> self(this);
        const int answer = m_context.access->showStandardMessage(StdMsg::ConfirmCancel);
        if (!self || answer != ButtonYes)
            return;
    }
    QDialog::reject();
}

void AlbumWizard::done(int result) {
    m_closing = true;
    // The header is never stored as a song.
    cancelPrimed(*m_context.access, songsTable(), m_primed);
    m_placer->save();
    QDialog::done(result);
}

}  // namespace srk
