#pragma once

#include "catalog/BrowseOrder.h"
#include "catalog/BrowseThumb.h"
#include "store/Record.h"
#include "store/Table.h"
#include "ui/services/WindowRequest.h"

#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <QWidget>

#include <functional>
#include <memory>
#include <utility>

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
class WindowRegistry;
class PageList;
class PageModel;
class SongTabBar;
class WindowPlacer;

// What a member of the browse family is made of: its table and joins, its orders on tabs, its list
// columns and layout names, its buttons and the button ids the keys press.
struct BrowseSheetDesign {
    struct Related {
        const TableDef* table;
        int field;        // of the primary table
        int relatedField; // of the related one
    };
    struct Column {
        int table; // 0 the primary, 1.. the related tables in join order
        int field;
    };
    struct Button {
        QString text;
        int action;
        bool stretchBefore = false; // pushes it (and the rest) to the right
        QString tip;
    };
    // A button pressing one of a member's own actions.
    template <class Action>
    static Button button(const char* text, Action action, bool stretchBefore = false, const char* tip = "") {
        return Button{QString::fromUtf8(text), int(action), stretchBefore, QString::fromUtf8(tip)};
    }
    // A button shown on the range row while its order is selected.
    struct RangeButton {
        int order;
        QString text;
        int action;
    };

    QString procedure;  // layout and placement section
    QString listName;   // "?Browse"
    const TableDef* table = nullptr;
    QVector<Related> related;
    QVector<const TableDef*> tables; // opened when the window opens, released in reverse when it ends
    QStringList watched;             // tables followed besides the shown ones (labels)
    QVector<const BrowseOrder*> orders;
    QVector<Column> columns;
    QList<int> releaseDateColumns;
    QString format;
    QSize minimumDialogUnits;
    int widthDialogUnits = 500; // what the window asks for when it opens
    QString locatorPrompt;
    QVector<Button> buttons;
    QVector<RangeButton> rangeButtons;
    QVector<int> rowActions; // buttons greyed on an empty page
    int addAction = -1;      // Insert
    int changeAction = -1;   // Ctrl+Enter
    int deleteAction = -1;   // Delete
    int closeAction = -1;    // what a page that cannot be read presses
    QString tabSetting;      // the tab's name in section "Settings"; empty keeps none
    QString dragId;          // empty: the list is no drag source
    int dragField = -1;      // the value a drag carries
    QString filterProblem;   // why a filter the engine cannot read was left out

    // The buttons Insert, Ctrl+Enter and Delete press (change and delete greyed on an empty page) and
    // the one a page that cannot be read presses.
    template <class Action> void setEditActions(Action add, Action change, Action remove, Action close) {
        addAction = int(add);
        changeAction = int(change);
        deleteAction = int(remove);
        closeAction = int(close);
        rowActions = {changeAction, deleteAction};
    }
};

// The browse family's window: orders on tabs with their ranges, the page list over a page cursor, the
// quick locator of each order, the thumb bar driven by sample values, the column and tab memory, the
// popup, the buttons, and the page following changes made elsewhere. A member describes itself in a
// design, builds it in its constructor with setUpSheet() and opens it with openSheet(); it adds what
// its buttons do.
class BrowseSheet : public QWidget {
    Q_OBJECT
public:
    ~BrowseSheet() override;

    QSize sizeHint() const override;

    SongTabBar* tabs() const { return m_tabs; }
    QTableView* list() const { return m_view; }
    // The list's columns: what each cell shows.
    const ListColumns& columns() const { return *m_columns; }
    QLineEdit* locatorEntry() const { return m_locatorEntry; }
    QScrollBar* thumb() const;
    PageModel* model() const { return m_model; }
    PageCursor& cursor() const { return *m_cursor; }
    const BrowseThumb& thumbSamples() const { return m_thumbSamples; }

    // 1.., the order in force.
    int order() const { return m_order; }
    QString locatorText() const;
    // The filter text the current order reads with.
    QString activeFilterText() const { return filterOf(m_order); }
    // The range value chosen for an order (its tab's), whether in force or not.
    QVariant rangeValue(int order) const;
    // The highlighted record; an empty record when the page is empty.
    Record highlightedRecord() const;

    // The right-click menu as it would open now (the caller owns it).
    virtual QMenu* buildPopup() = 0;
    // Moves the thumb to a position (0..99) as a drag there would.
    void dragThumbTo(int position);
    // Saves the tab, layout and placement and closes the tables.
    void release();

protected:
    // windows (may be null) starts the program's other windows from this one.
    BrowseSheet(ProgramContext& context, QWidget* parent, WindowRegistry* windows = nullptr);

    // Builds the window from the design; call once from the member's constructor.
    void setUpSheet(const BrowseSheetDesign& design);
    // Reads the first page on tab `tabIndex` (0-based) and starts following the tables.
    void openSheet(int tabIndex);

    // A button of the design or of the range row; nullptr when there is none.
    QPushButton* sheetButton(int action) const;
    // The range row's button of an order; nullptr when it has none.
    QPushButton* rangeButton(int order) const;
    // Presses a button as the user would.
    virtual void pressAction(int action) = 0;
    // The title for the number of records in the table ("Songs - 12 entries").
    virtual void showTitle(const QString& entries) = 0;
    // The member's own buttons, after the row buttons followed the page.
    virtual void updateOwnButtons(bool rows) { Q_UNUSED(rows); }
    // A key in the list other than the moves; true when taken. The default presses the design's
    // Insert, Delete and Ctrl+Enter buttons and hands the rest to the locator.
    virtual bool handleListKey(QKeyEvent* key);
    // A double-click on a row.
    virtual void activated();
    // Whether an order is held to its range in this window.
    virtual bool rangeActive(int order) const;
    // The filter text an order reads with; the default is its range.
    virtual QString filterOf(int order) const;
    // The list's column for a field name of a filter (a member may read one field as another).
    virtual QString viewFieldName(const QString& field) const { return field; }
    // Closes the window (a member inside a dialog tells its dialog instead).
    virtual void closeSheet();

    // Follows the selected tab: rebuilds when the order or its range changed, or when forced.
    void refresh(bool forced);
    // Sets an order's range value (and the text shown beside its button) without reading.
    void setRangeValue(int order, const QVariant& value);
    void setRangeValue(int order, const QVariant& value, const QString& label);
    const BrowseOrder& orderAt(int number) const;
    int orderCount() const { return int(m_design.orders.size()); }

    // Reads the highlighted record again by its position, watching it for the form.
    bool readHighlighted(Record& out);
    // The highlighted record for a form; false, with the page read again, when it cannot be read.
    bool readForForm(Record& out);
    // After a form: completed → the page is rebuilt at the record (delete: the row goes); cancelled →
    // the page is read again.
    void afterForm(WindowRequest request, WindowResponse response, const Record& record);
    // Runs a form on `record` and follows what it did (afterForm), unless the window went while the
    // form was up: then nothing of it is touched.
    void runFormOn(WindowRequest request, Record& record, const std::function<WindowResponse(Record&)>& form);
    // Whether the program has a window of this procedure (windows that come later stay greyed).
    bool available(const QString& procedure) const;
    // Starts the window of a procedure, when the program has it.
    void start(const QString& procedure);
    // The close button's press: the window closes once.
    void pressClose();
    // A read that failed (not the end of the order) shows the standard message and closes the window.
    void checkRead(int code);
    void rebuildThumb();
    void showThumb();
    void updateTitle();
    void updateButtons();
    void locate();

    // Popup building: an item pressing a button; the button's current text and state; "&Add",
    // "&Change" and "&Delete" (the last two on rows only).
    void addPopupItem(QMenu* menu, int action, const QString& text, bool enabled);
    void addButtonItem(QMenu* menu, int action);
    void addEditItems(QMenu* menu);

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    // Reads the page again when the tables changed (here or in another process).
    void followTables();

    ProgramContext& m_context;
    WindowRegistry* const m_windows; // outlives the window
    bool m_closing = false;

private:
    void buildWindow();
    bool translateFilter(int order, SqlCondition& out);
    void editLocator(QKeyEvent* key);
    void startDrag();
    void showPopup(const QPoint& globalPos);

    BrowseSheetDesign m_design;
    std::unique_ptr<PageCursor> m_cursor;
    std::unique_ptr<ListColumns> m_columns;
    PageModel* m_model = nullptr;
    PageList* m_list = nullptr;
    QTableView* m_view = nullptr;
    SongTabBar* m_tabs = nullptr;
    QWidget* m_rangeRow = nullptr;
    QLabel* m_rangeLabel = nullptr;
    QLineEdit* m_locatorEntry = nullptr;
    QVector<std::pair<QPushButton*, int>> m_buttons;
    QVector<std::pair<QPushButton*, int>> m_rangeButtons; // with their order

    int m_order = 0;
    QVector<QString> m_locators;
    QVector<QVariant> m_ranges;
    QVector<QVariant> m_rangesInForce;
    QVector<QString> m_rangeLabels;
    BrowseThumb m_thumbSamples;
    bool m_tablesOpen = false;
    bool m_opened = false;
    WindowPlacer* m_placer = nullptr;
    bool m_released = false;
};

} // namespace srk
