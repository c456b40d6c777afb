#include "ui/cd/IntegratedCDPlayer.h"

#include "access/MessageService.h"
#include "access/StandardMessages.h"
#include "access/TableAccess.h"
#include "catalog/Tables.h"
#include "cd/PlayerTimeText.h"
#include "cd/SendMciCommand.h"
#include "store/ErrorCode.h"
#include "store/PageCursor.h"
#include "store/Table.h"
#include "ui/ProgramContext.h"
#include "ui/WindowRegistry.h"
#include "ui/albums/AlbumWizard.h"
#include "ui/albums/UpdateAlbums.h"
#include "ui/cd/CDSetup.h"
#include "ui/services/ListColumns.h"
#include "ui/services/PageList.h"
#include "ui/services/PageModel.h"
#include "ui/services/TableWatch.h"
#include "ui/services/WindowPlacer.h"
#include "ui/services/WindowSize.h"
#include "ui/songs/UpdateSongsForAlbum.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace srk {

const QString IntegratedCDPlayer::Procedure = QStringLiteral("IntegratedCDPlayer");

namespace {

const QString kCaption = QStringLiteral("CD Player");
const QString kListName = QStringLiteral("?List");
const QString kShared = QStringLiteral("(shared mode)");
constexpr int kReleaseDateColumn = 4;
const QVector<int> kColumnFields = {SON::TrackNumber, SON::Time, SON::Title, SON::Artist, SON::ReleaseDate};

QString listFormat() {
    return QStringLiteral("23C|~Track~@n3@32L|~Time~@t4@107L|~Title~L(1)@s40@98L|~Artist~L(1)@s40@"
                          "40L|~Release~L(1)@d2@");
}

QString send(const QString& command) { return SendMciCommand(command, 0); }

struct ButtonDesign {
    const char* text;
    IntegratedCDPlayer::Action action;
    const char* tip;
};
const QVector<ButtonDesign> kTransport = {
    {"Pre&vious", IntegratedCDPlayer::Action::Previous, "Previous track (or the start of this one)"},
    {"Bac&k", IntegratedCDPlayer::Action::Back, "Ten seconds back"},
    {"&Play", IntegratedCDPlayer::Action::Play, "Play from the current track"},
    {"Pa&use", IntegratedCDPlayer::Action::Pause, "Pause, or go on after a pause"},
    {"&Stop", IntegratedCDPlayer::Action::Stop, "Stop playing"},
    {"Fo&rward", IntegratedCDPlayer::Action::Forward, "Ten seconds forward"},
    {"&Next", IntegratedCDPlayer::Action::Next, "Next track"},
};
const QVector<ButtonDesign> kListButtons = {
    {"&Edit", IntegratedCDPlayer::Action::EditSong, "Edit the highlighted song"},
    {"Edit", IntegratedCDPlayer::Action::EditAlbum, "Edit the album"},
    {"Format &BrowseBox", IntegratedCDPlayer::Action::FormatList,
     "Re-formatting the list's columns comes with the explorer browsers"},
    {"Set", IntegratedCDPlayer::Action::Set, "CD player preferences"},
    {"Cl&ose", IntegratedCDPlayer::Action::Close, "Close the CD player"},
};

}  // namespace

IntegratedCDPlayer::IntegratedCDPlayer(ProgramContext& context, QWidget* parent)
    : QWidget(parent), m_context(context), m_deck([](const QString& command, int ask) {
          return SendMciCommand(command, ask);
      }),
      m_album(albumTable()) {
    m_tablesOpen = true;
    const bool opened =
        context.access->openTable(albumTable()).ok() && context.access->openTable(songsTable()).ok();
    m_cursor = std::make_unique<PageCursor>(*context.store, songsTable(), SON::KeyAlbumID);
    m_model = new StoredValuePageModel(*m_cursor, this);
    QVector<PageColumn> columns;
    for (int field : kColumnFields)
        columns.append({0, field, QString(), QString()});
    m_model->setColumns(columns);
    buildWindow();
    m_placer = new WindowPlacer(this, context.positions, Procedure);
    setCaption(kCaption);
    if (opened) {
        if (m_model->open() != NoError)
            context.access->showStandardMessage(StdMsg::ViewOpenError);
        reloadList();
        auto* watch = new TableWatch(*context.access, {songsTable().label, albumTable().label}, this);
        connect(watch, &TableWatch::changed, this, [this] {
            if (!m_released && m_cursor->isOpen())
                m_model->refresh();
        });
    }
    if (!openDrive()) {
        context.messages->ask({QStringLiteral("Error"),
                               QStringLiteral("CD player not available.  Ensure that no other program is using "
                                              "the CD-ROM drive."),
                               ButtonOk, ButtonOk});
        release();
        return;
    }
    startTimer();
    showState();
    updateButtons();
}

IntegratedCDPlayer::~IntegratedCDPlayer() { release(); }

void IntegratedCDPlayer::registerWith(WindowRegistry& windows) {
    windows.registerWindow(Procedure, [](WindowRegistry& w) -> QWidget* {
        auto* player = new IntegratedCDPlayer(w.context());
        if (player->opened())
            return player;
        delete player;
        return nullptr;
    });
    CDSetup::registerWith(windows);
}

void IntegratedCDPlayer::buildWindow() {
    auto label = [this](const QString& text = QString()) {
        auto* l = new QLabel(text, this);
        return l;
    };
    auto value = [this](int chars) {
        auto* l = new QLabel(this);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setMinimumWidth(fontMetrics().horizontalAdvance(QString(chars, QLatin1Char('0'))) + 8);
        return l;
    };

    auto* current = new QGroupBox(QStringLiteral("Current"), this);
    auto* currentGrid = new QGridLayout(current);
    m_track = value(3);
    m_times[0] = value(7);
    m_times[2] = value(7);
    currentGrid->addWidget(label(QStringLiteral("Track:")), 0, 0);
    currentGrid->addWidget(m_track, 0, 1);
    currentGrid->addWidget(label(QStringLiteral("Track Time:")), 1, 0);
    currentGrid->addWidget(m_times[0], 1, 1);
    currentGrid->addWidget(label(QStringLiteral("CD Time:")), 2, 0);
    currentGrid->addWidget(m_times[2], 2, 1);

    auto* disc = new QGroupBox(QStringLiteral("Disc"), this);
    auto* discGrid = new QGridLayout(disc);
    m_tracks = value(3);
    m_times[1] = value(7);
    m_times[3] = value(7);
    discGrid->addWidget(label(QStringLiteral("Tracks on CD:")), 0, 0);
    discGrid->addWidget(m_tracks, 0, 1);
    discGrid->addWidget(label(QStringLiteral("Track Length:")), 1, 0);
    discGrid->addWidget(m_times[1], 1, 1);
    discGrid->addWidget(label(QStringLiteral("CD Length:")), 2, 0);
    discGrid->addWidget(m_times[3], 2, 1);

    auto* state = new QGroupBox(QStringLiteral("Drive"), this);
    auto* stateGrid = new QGridLayout(state);
    m_mode = value(10);
    m_connectionLabel = value(14);
    m_activity = value(4);
    m_performance = value(3);
    stateGrid->addWidget(label(QStringLiteral("Mode:")), 0, 0);
    stateGrid->addWidget(m_mode, 0, 1);
    stateGrid->addWidget(m_connectionLabel, 1, 0, 1, 2);
    stateGrid->addWidget(m_activity, 2, 0);
    auto* performance = new QHBoxLayout;
    performance->addWidget(label(QStringLiteral("Performance:")));
    performance->addWidget(m_performance);
    stateGrid->addLayout(performance, 2, 1);

    auto* top = new QHBoxLayout;
    top->addWidget(current);
    top->addWidget(disc);
    top->addWidget(state);

    m_bar = new QProgressBar(this);
    m_bar->setRange(0, 100);
    m_bar->setTextVisible(false);
    m_bar->setToolTip(QStringLiteral("click here to locate within the track"));
    m_bar->setCursor(Qt::PointingHandCursor);
    m_bar->installEventFilter(this);

    auto makeButton = [this](const ButtonDesign& design) {
        auto* b = new QPushButton(QString::fromUtf8(design.text), this);
        b->setAutoDefault(false);
        b->setToolTip(QString::fromUtf8(design.tip));
        const Action a = design.action;
        connect(b, &QPushButton::clicked, this, [this, a] { press(a); });
        m_buttons.append({b, design.action});
        return b;
    };
    auto* transport = new QHBoxLayout;
    for (const ButtonDesign& design : kTransport)
        transport->addWidget(makeButton(design));

    m_list = new PageList(m_model, this);
    m_view = m_list->view();
    m_view->setAlternatingRowColors(true);
    m_list->setThumbPosition([] { return -1; });
    connect(m_list, &PageList::moved, this, [this](int) { loadHighlighted(); });
    connect(m_list, &PageList::activated, this, [this] { m_deck.playCurrent(); });
    connect(m_model, &PageModel::highlightChanged, this, [this](int) {
        if (!m_following)
            loadHighlighted();
        updateButtons();
    });
    m_columns = std::make_unique<ListColumns>();
    m_columns->setReleaseDateColumns({kReleaseDateColumn});
    m_columns->restore(m_view, m_context.positions, Procedure, kListName, listFormat(),
                       m_context.preferences.DateFormat);

    auto* listButtons = new QHBoxLayout;
    for (const ButtonDesign& design : kListButtons) {
        if (design.action == Action::Set)
            listButtons->addStretch();
        listButtons->addWidget(makeButton(design));
    }
    button(Action::FormatList)->setEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_bar);
    layout->addLayout(transport);
    layout->addWidget(m_list, 1);
    layout->addLayout(listButtons);
    fitWindow(this, QSize(ListColumns::toPixels(font(), 150), fontMetrics().height() * 100 / 8));
}

QPushButton* IntegratedCDPlayer::button(Action action) const {
    for (const auto& [b, a] : m_buttons)
        if (a == action)
            return b;
    return nullptr;
}

int IntegratedCDPlayer::pollInterval() const { return m_timer && m_timer->isActive() ? m_timer->interval() : 0; }

void IntegratedCDPlayer::startTimer() {
    if (!m_timer) {
        m_timer = new QTimer(this);
        connect(m_timer, &QTimer::timeout, this, &IntegratedCDPlayer::poll);
    }
    // With "Do Not Check" (and the intervals too short to be real) nothing is polled at all.
    if (m_context.preferences.CDTimer > 10)
        m_timer->start(m_context.preferences.CDTimer * 10);
    else
        m_timer->stop();
}

bool IntegratedCDPlayer::openDrive() {
    if (send(QStringLiteral("open cdaudio shareable")) != QLatin1String("1"))
        return false;
    m_driveOpen = true;
    m_deck.markIdentify();
    m_deck.forgetMode();
    send(QStringLiteral("set cdaudio time format tmsf"));
    m_connection = kShared;
    return true;
}

void IntegratedCDPlayer::poll() {
    if (m_busy || !m_driveOpen || m_released || m_context.preferences.CDTimer < 1)
        return;
    if (m_deck.poll())
        followHighlight(m_deck.currentTrack());
    showState();
    if (m_deck.takeIdentify())
        identify();
}

void IntegratedCDPlayer::showState() {
    const auto number = [](int n) { return n ? QString::number(n) : QString(); };
    m_track->setText(number(m_deck.currentTrack()));
    m_tracks->setText(number(m_deck.trackCount()));
    for (int i = 0; i < 4; ++i)
        m_times[i]->setText(timeText(i));
    m_bar->setValue(m_deck.percent());
    m_mode->setText(m_deck.mode());
    m_connectionLabel->setText(m_connection);
    m_activity->setText(m_deck.activity());
    m_performance->setText(performanceText());
}

QString IntegratedCDPlayer::timeText(int which) const {
    const PlayerDeck::Times& t = m_deck.times();
    const qint64 values[4] = {t.trackPosition, t.trackLength, t.cdPosition, t.cdLength};
    return which >= 0 && which < 4 ? PlayerTimeText(values[which]) : QString();
}

QString IntegratedCDPlayer::connectionText() const { return m_connection; }
QString IntegratedCDPlayer::activityText() const { return m_deck.activity(); }
QString IntegratedCDPlayer::modeText() const { return m_deck.mode(); }
QString IntegratedCDPlayer::performanceText() const { return QStringLiteral("%1").arg(m_deck.performance(), 3); }

void IntegratedCDPlayer::setCaption(const QString& caption) { setWindowTitle(caption); }

void IntegratedCDPlayer::identify() {
    int tracks = 0;
    m_serial = m_deck.readSerialNumber(tracks);
    m_album = Record(albumTable());
    m_album.setText(ALB::CDIdentifier, m_serial);
    if (tracks == 0) {
        setCaption(kCaption);
        m_loadedSerial.clear();
        reloadList();
        return;
    }
    Record found = m_album;
    if (!m_tablesOpen || Table(*m_context.store, albumTable()).get(ALB::KeyCDIdentifier, found) != NoError) {
        // A disc of no album shows no songs, whatever album was shown before.
        setCaption(kCaption);
        m_loadedSerial.clear();
        reloadList();
        offerToAdd(tracks);
        return;
    }
    m_album = found;
    if (m_serial != m_loadedSerial)
        reloadList();
    m_loadedSerial = m_serial;
    setCaption(kCaption + QStringLiteral(" - ") + m_album.text(ALB::Album).trimmed());
}

void IntegratedCDPlayer::offerToAdd(int tracks) {
    if (tracks < 1 || m_declined)
        return;
    const QPointer<IntegratedCDPlayer> self(this);
    m_busy = true;
    const int answer = m_context.messages->ask(
        {QStringLiteral("New CD Found"), QStringLiteral("Add this CD to the database"), ButtonYes | ButtonNo, ButtonYes});
    if (!self)
        return;
    m_busy = false;
    if (answer == ButtonYes) {
        runWizard();
        return;
    }
    m_connection = QStringLiteral("(no detection)");
    m_declined = true;
    showState();
}

void IntegratedCDPlayer::runWizard() {
    send(QStringLiteral("stop cdaudio"));
    if (m_driveOpen)
        send(QStringLiteral("close cdaudio"));
    m_driveOpen = false;
    m_connection = QStringLiteral("(closed)");
    showState();
    const QPointer<IntegratedCDPlayer> self(this);
    m_busy = true;
    AlbumWizard::run(m_context,
                     m_context.preferences.DefaultWizardCompilation ? AlbumWizard::Variant::Compilation
                                                                    : AlbumWizard::Variant::SingleArtist,
                     this);
    if (!self)
        return;
    m_busy = false;
    if (m_released)
        return;
    if (!openDrive()) {
        m_context.messages->ask({QStringLiteral("Error"),
                                 QStringLiteral("CD player not available.\nYou may need to eject and re-insert the CD."),
                                 ButtonOk, ButtonOk});
        if (self)
            closeWindow();
        return;
    }
    reloadList();
    showState();
}

void IntegratedCDPlayer::reloadList() {
    if (m_released || !m_cursor->isOpen())
        return;
    const qint64 id = m_album.number(ALB::AlbumID);
    SqlCondition filter;
    if (id == 0) {
        filter.sql = QStringLiteral("0 = 1");
        m_cursor->setPinned({});
    } else {
        filter.sql = m_cursor->column(0, SON::AlbumID) + QStringLiteral(" = ?");
        filter.binds << id;
        m_cursor->setPinned({id});
    }
    m_following = true;
    const int rc = m_model->setOrder(SON::KeyAlbumID, filter, PageCursor::Placement::AtStart);
    m_following = false;
    if (rc != NoError && rc != RecordNotAvailable)
        m_context.access->showStandardMessage(StdMsg::RetrievalError, songsTable().label);
    updateButtons();
}

void IntegratedCDPlayer::followHighlight(int track) {
    m_following = true;
    highlightTrack(track);
    m_following = false;
}

bool IntegratedCDPlayer::highlightTrack(int track) {
    const qint64 id = m_album.number(ALB::AlbumID);
    if (id == 0 || m_released)
        return false;
    Record song(songsTable());
    song.setNumber(SON::AlbumID, id);
    song.setNumber(SON::TrackNumber, track);
    if (Table(*m_context.store, songsTable()).get(SON::KeyAlbumID, song) != NoError)
        return false;
    return m_model->rebuildAt(song) == NoError;
}

bool IntegratedCDPlayer::readHighlighted(Record& song) {
    const PageRow* row = m_cursor->highlightedRow();
    if (!row || m_released)
        return false;
    Table songs(*m_context.store, songsTable());
    song = songs.newRecord();
    return songs.getByPosition(row->position, song) == NoError;
}

void IntegratedCDPlayer::loadHighlighted() {
    Record song;
    if (readHighlighted(song))
        m_deck.setCurrentTrack(int(song.number(SON::TrackNumber)));
}

void IntegratedCDPlayer::press(Action action) {
    if (m_released)
        return;
    switch (action) {
    case Action::Previous:
        m_deck.previous();
        break;
    case Action::Next:
        loadHighlighted();
        m_deck.next();
        break;
    case Action::Back:
        m_deck.back();
        break;
    case Action::Forward:
        m_deck.forward();
        break;
    case Action::Play:
        m_deck.play();
        break;
    case Action::Stop:
        m_deck.stop();
        break;
    case Action::Pause:
        m_deck.togglePause();
        break;
    case Action::Close:
        closeWindow();
        return;
    case Action::EditSong:
        editSong();
        return;
    case Action::EditAlbum:
        editAlbum();
        return;
    case Action::Set:
        setUp();
        return;
    case Action::FormatList:
        return;
    }
    showState();
}

void IntegratedCDPlayer::editSong() {
    Record song;
    if (!readHighlighted(song))
        return;
    const QPointer<IntegratedCDPlayer> self(this);
    m_busy = true;
    UpdateSongsForAlbum::run(m_context, WindowRequest::Change, song, m_album, this);
    if (!self)
        return;
    m_busy = false;
    m_model->refresh();
    updateButtons();
}

void IntegratedCDPlayer::editAlbum() {
    if (m_album.number(ALB::AlbumID) == 0)
        return;
    Record album = m_album;
    const QPointer<IntegratedCDPlayer> self(this);
    m_busy = true;
    const WindowResponse response = UpdateAlbums::run(m_context, WindowRequest::Change, album, this);
    if (!self)
        return;
    m_busy = false;
    if (response == WindowResponse::Completed) {
        m_album = album;
        if (!m_loadedSerial.isEmpty())
            setCaption(kCaption + QStringLiteral(" - ") + m_album.text(ALB::Album).trimmed());
    }
    reloadList();
}

void IntegratedCDPlayer::setUp() {
    const QPointer<IntegratedCDPlayer> self(this);
    m_busy = true;
    CDSetup::run(m_context, this);
    if (!self)
        return;
    m_busy = false;
    startTimer();
    reloadList();
}

void IntegratedCDPlayer::updateButtons() {
    const bool album = m_album.number(ALB::AlbumID) != 0;
    if (QPushButton* b = button(Action::EditSong))
        b->setEnabled(!m_released && m_model->rowCount() > 0);
    if (QPushButton* b = button(Action::EditAlbum))
        b->setEnabled(!m_released && album);
}

void IntegratedCDPlayer::clickPositionBar(int x) {
    if (m_released || m_bar->width() <= 0)
        return;
    m_deck.locate(double(x) * 100.0 / double(m_bar->width()));
}

bool IntegratedCDPlayer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_bar && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            clickPositionBar(int(mouse->position().x()));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void IntegratedCDPlayer::closeWindow() {
    // In the workspace the window is its frame there.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

void IntegratedCDPlayer::closeEvent(QCloseEvent* event) {
    release();
    QWidget::closeEvent(event);
}

void IntegratedCDPlayer::release() {
    if (m_released)
        return;
    m_released = true;
    if (m_timer)
        m_timer->stop();
    m_placer->save();
    m_columns->save(m_context.positions);
    if (m_tablesOpen) {
        m_tablesOpen = false;
        m_context.access->closeTable(songsTable());
        m_context.access->closeTable(albumTable());
    }
    // The device is given back as it is; closing is no "stop".
    if (m_driveOpen)
        send(QStringLiteral("close cdaudio"));
    m_driveOpen = false;
}

}  // namespace srk
