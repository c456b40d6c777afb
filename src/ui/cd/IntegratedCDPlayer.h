#pragma once

#include "cd/PlayerDeck.h"
#include "store/Record.h"

#include <QString>
#include <QVector>
#include <QWidget>

#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;
class QTimer;

namespace srk {

struct ProgramContext;
class ListColumns;
class PageCursor;
class PageList;
class PageModel;
class WindowPlacer;
class WindowRegistry;

// The CD player: the disc in the drive played through the "cdaudio" device, its state polled on a
// timer, and the catalogue's songs of the album the disc belongs to (found by its serial number).
// A disc not in the catalogue can be added at once through an add-album wizard.
class IntegratedCDPlayer : public QWidget {
    Q_OBJECT
public:
    static const QString Procedure; // "IntegratedCDPlayer"

    enum class Action { Previous, Play, Pause, Stop, Next, Back, Forward, Close, EditSong, EditAlbum, Set, FormatList };

    // Opens the drive; when it cannot be opened, says so and leaves the window unopened (see opened()).
    IntegratedCDPlayer(ProgramContext& context, QWidget* parent = nullptr);
    ~IntegratedCDPlayer() override;

    static void registerWith(WindowRegistry& windows);

    bool opened() const { return m_driveOpen; }
    // One timer event (also what the timer runs).
    void poll();
    void press(Action action);
    // Closes the window (its frame in the workspace).
    void closeWindow();
    // A click on the position bar at x (bar coordinates).
    void clickPositionBar(int x);
    // The song list's row with this track number becomes the highlighted one, as the user would pick it.
    bool highlightTrack(int track);

    QPushButton* button(Action action) const;
    QProgressBar* positionBar() const { return m_bar; }
    QTableView* list() const { return m_view; }
    PageModel* model() const { return m_model; }
    const PlayerDeck& deck() const { return m_deck; }
    // Polling interval in milliseconds; 0 when the window does not poll.
    int pollInterval() const;
    QString connectionText() const;
    QString activityText() const;
    QString modeText() const;
    QString performanceText() const;
    // Track time, track length, CD time, CD length, as shown.
    QString timeText(int which) const;
    QString serialNumber() const { return m_serial; }
    const Record& album() const { return m_album; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    void startTimer();
    void showState();
    void identify();
    void offerToAdd(int tracks);
    void runWizard();
    bool openDrive();
    void reloadList();
    void followHighlight(int track);
    void loadHighlighted();
    bool readHighlighted(Record& song);
    void editSong();
    void editAlbum();
    void setUp();
    void setCaption(const QString& caption);
    void updateButtons();
    void release();

    ProgramContext& m_context;
    PlayerDeck m_deck;
    Record m_album;
    QString m_serial;
    QString m_loadedSerial;
    QString m_connection;
    bool m_driveOpen = false;
    bool m_declined = false;
    // A modal window of the player is up: polls wait for it.
    bool m_busy = false;
    bool m_following = false;
    bool m_released = false;
    bool m_tablesOpen = false;

    std::unique_ptr<PageCursor> m_cursor;
    std::unique_ptr<ListColumns> m_columns;
    PageModel* m_model = nullptr;
    PageList* m_list = nullptr;
    QTableView* m_view = nullptr;
    QTimer* m_timer = nullptr;
    WindowPlacer* m_placer = nullptr;
    QProgressBar* m_bar = nullptr;
    QLabel* m_track = nullptr;
    QLabel* m_tracks = nullptr;
    QLabel* m_times[4] = {};
    QLabel* m_mode = nullptr;
    QLabel* m_connectionLabel = nullptr;
    QLabel* m_activity = nullptr;
    QLabel* m_performance = nullptr;
    QVector<std::pair<QPushButton*, Action>> m_buttons;
};

}  // namespace srk
