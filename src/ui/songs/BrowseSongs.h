#pragma once

#include "songs/SongOrders.h"
#include "songs/SongThumb.h"
#include "store/Record.h"
#include "store/Table.h"
#include "ui/services/WindowRequest.h"

#include <QPoint>
#include <QPointer>
#include <QString>
#include <QVector>
#include <QWidget>

#include <array>
#include <memory>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollBar;
class QTableView;

namespace srk {

struct ProgramContext;
class ListColumns;
class PageCursor;
class PageList;
class PageModel;
class SongTabBar;
class WindowPlacer;
class WindowRegistry;

// The song list: eight sort orders on tabs, the quick locator, the thumb scroll bar driven by sample
// values, the query search, and the buttons that run the song form. Only the visible page of songs is
// ever read. The same list, with fewer orders and only "&Select" and "Cl&ose", is the song picker.
class BrowseSongs : public QWidget {
    Q_OBJECT
public:
    static const QString Procedure; // "BrowseSongs"

    enum class Action {
        Add, Copy, Change, Delete, Search, ResetSearch, Import, Export, Print, Close, SelectMedia, SelectCategory,
        Select
    };

    // The browser of the songs, or the song picker inside another window: the picker has the first six
    // orders (no media range), its own columns and layout names, "&Select" and "Cl&ose" only, and tells
    // its window through songChosen() and closeRequested().
    enum class Role { Browse, Picker };

    // windows (may be null) starts the print, import and export windows once they exist.
    explicit BrowseSongs(ProgramContext& context, WindowRegistry* windows = nullptr, QWidget* parent = nullptr);
    // A picker; `procedure` names its layout; "&Select" works only in select mode.
    BrowseSongs(ProgramContext& context, const QString& procedure, bool selectMode, QWidget* parent);
    ~BrowseSongs() override;

    static void registerWith(WindowRegistry& windows);
    QSize sizeHint() const override;

    QPushButton* button(Action action) const;
    SongTabBar* tabs() const { return m_tabs; }
    QTableView* list() const { return m_view; }
    // The list's columns: what each cell shows.
    const ListColumns& columns() const { return *m_columns; }
    QLineEdit* locatorEntry() const { return m_locatorEntry; }
    QScrollBar* thumb() const;
    PageModel* model() const { return m_model; }
    PageCursor& cursor() const { return *m_cursor; }

    // 1..8, the order in force.
    int order() const { return m_order; }
    QString locatorText() const;
    QString queryFilter() const { return m_query; }
    // The filter text the current order reads with (range and query joined).
    QString activeFilterText() const;
    QString mediaRange() const { return m_media; }
    qint64 categoryRange() const { return m_category; }
    const SongThumb& thumbSamples() const { return m_thumbSamples; }
    // The highlighted song; an empty song record when the page is empty.
    Record highlightedSong() const;

    Role role() const { return m_role; }

    // Presses a button as the user would.
    void press(Action action);
    // Sets the query filter as the wizard would hand it back and refreshes under it.
    void applyQuery(const QString& filter);
    // Sets the "By Media" / "By Category" range as the select windows would.
    void setMediaRange(const QString& media);
    void setCategoryRange(qint64 categoryId);
    // The right-click menu as it would open now (the caller owns it).
    QMenu* buildPopup();
    // Moves the thumb to a position (0..99) as a drag there would.
    void dragThumbTo(int position);
    // Saves the tab, layout and placement and closes the tables; the picker's window calls it when it ends.
    void release();

Q_SIGNALS:
    // The picker's "&Select" read the highlighted song.
    void songChosen(const srk::Record& song);
    // The picker's "Cl&ose" (or a list that cannot be read).
    void closeRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void setUpQueryFields();
    // Follows the selected tab: rebuilds when the order or its range changed, or when forced.
    void refresh(bool forced);
    bool translateFilter(int order, SqlCondition& out);
    void rebuildThumb();
    void showThumb();
    void updateTitle();
    void updateButtons();
    bool handleListKey(QKeyEvent* key);
    void editLocator(QKeyEvent* key);
    void locate();
    void runForm(WindowRequest request);
    bool readHighlighted(Record& out);
    void afterForm(WindowRequest request, WindowResponse response, const Record& song);
    void selectMedia();
    void selectCategory();
    void search();
    void resetSearch();
    void start(const QString& procedure);
    void startDrag();
    void showPopup(const QPoint& globalPos);
    void checkRead(int code);
    // Reads the page again when the songs or categories changed (here or in another process).
    void followTables();
    void setUp();
    void chooseHighlighted();
    bool picker() const { return m_role == Role::Picker; }
    // The order's range in this window (the picker reads "By Media" whole).
    SongRange rangeOf(int order) const;
    QString filterOf(int order) const;

    ProgramContext& m_context;
    Role m_role = Role::Browse;
    QString m_procedure;
    bool m_selectMode = false;
    WindowRegistry* m_windows = nullptr;  // outlives the window
    std::unique_ptr<PageCursor> m_cursor;
    std::unique_ptr<ListColumns> m_columns;
    PageModel* m_model = nullptr;
    PageList* m_list = nullptr;
    QTableView* m_view = nullptr;
    SongTabBar* m_tabs = nullptr;
    QWidget* m_rangeRow = nullptr;
    QPushButton* m_selectMedia = nullptr;
    QPushButton* m_selectCategory = nullptr;
    QLabel* m_rangeLabel = nullptr;
    QLineEdit* m_locatorEntry = nullptr;
    QVector<std::pair<QPushButton*, Action>> m_buttons;

    int m_order = 0;
    std::array<QString, 8> m_locators;
    QString m_media;
    qint64 m_category = 0;
    QString m_categoryName;
    QString m_mediaInForce;
    qint64 m_categoryInForce = 0;
    QString m_query;
    bool m_queryUsable = true;
    SongThumb m_thumbSamples;
    bool m_tablesOpen = false;
    WindowPlacer* m_placer = nullptr;
    bool m_released = false;
    bool m_closing = false;
};

} // namespace srk
