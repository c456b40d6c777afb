#pragma once

#include "store/Record.h"
#include "ui/services/FormMove.h"
#include "ui/services/WindowRequest.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

class QKeyEvent;
class QPushButton;
class QScrollBar;
class QTableView;

namespace srk {

struct ProgramContext;
class ListColumns;
class PageCursor;
class PageList;
class PageModel;
class TableDef;
class WindowPlacer;

// A browse over a one-field look-up table (categories, media): one page of rows in key order, the
// buttons of the window, the list keys and the step locator. Works as a workspace window and, with
// request select, as a picker inside a modal dialog.
class LookupBrowse : public QWidget {
    Q_OBJECT
public:
    // Runs the table's form for a request on a record; returns how the form ended and, through the
    // last argument, the move its tool bar asked for.
    using FormRunner =
        std::function<WindowResponse(ProgramContext&, WindowRequest, Record&, QWidget* parent, FormMove* move)>;

    enum class Action { Select, Insert, Change, Delete, Close };

    struct Design {
        QString procedure;  // placement name, "BrowseCategories"
        QString title;
        QString listFormat;
        const TableDef* table = nullptr;
        int key = 0;
        int field = 0;
        QString picture;
        QString header;
        // Buttons in window order, each with its action.
        QVector<std::pair<QString, Action>> buttons;
        QSize minimumSize;
        FormRunner runForm;
    };

    LookupBrowse(ProgramContext& context, const Design& design, WindowRequest request, QWidget* parent = nullptr);
    ~LookupBrowse() override;

    WindowResponse response() const { return m_response; }
    // The record chosen with "&Select" (invalid when none was).
    const Record& chosen() const { return m_chosen; }

    QTableView* list() const { return m_view; }
    // The bar standing for the whole list by 100 sample values of the sort field.
    QScrollBar* thumb() const;
    const QStringList& thumbSamples() const { return m_samples; }
    // Moves to a thumb position (0..99) as a drag there would.
    void dragThumbTo(int position);
    QPushButton* button(Action action) const;
    // The value shown on the highlighted row; empty when the list is empty.
    QString highlightedText() const;
    int rowCount() const;

    // Runs a browse as a modal picker; on completed `chosen` holds the record picked.
    static WindowResponse pick(ProgramContext& context, const Design& design, Record& chosen, QWidget* parent);

Q_SIGNALS:
    // The window has ended with its response (the picker's dialog closes on it).
    void finished(srk::WindowResponse response);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void act(Action action);
    void runForm(WindowRequest request);
    void selectHighlighted();
    bool readHighlighted(Record& out);
    bool handleKey(QKeyEvent* key);
    void updateButtons();
    void rebuildThumb();
    void showThumb();
    // Reads the page again when the table changed (here or in another process).
    void followTable();
    void end(WindowResponse response);
    void release();

    ProgramContext& m_context;
    Design m_design;
    WindowRequest m_request;
    WindowResponse m_response = WindowResponse::Cancelled;
    Record m_chosen;
    std::unique_ptr<PageCursor> m_cursor;
    std::unique_ptr<ListColumns> m_columns;
    PageModel* m_model = nullptr;
    QTableView* m_view = nullptr;
    PageList* m_list = nullptr;
    QStringList m_samples;
    QVector<std::pair<QPushButton*, Action>> m_buttons;
    bool m_tableOpen = false;
    WindowPlacer* m_placer = nullptr;
    bool m_released = false;
    bool m_ending = false;
};

}  // namespace srk
