#pragma once

#include "store/Record.h"

#include <QList>
#include <QString>
#include <QVector>
#include <QWidget>

#include <functional>
#include <memory>
#include <utility>

class QKeyEvent;
class QPushButton;
class QTableView;

namespace srk {

struct ProgramContext;
struct TableDef;
class ListColumns;
class PageCursor;
class PageList;
class PageModel;

// What a form's list of the records belonging to the form's record is made of: its layout names, its
// tip, what a song dropped on it does, and the buttons its keys press.
struct FormRecordListDesign {
    QString procedure; // the section its column layout is kept in
    QString listName;
    QString format;
    QString tip;
    QList<int> releaseDateColumns;
    std::function<bool()> dropAllowed; // songs dragged from a song list
    std::function<void(qint64)> drop;
    int addAction = -1;    // Insert
    int changeAction = -1; // Ctrl+Enter and a double-click
    int deleteAction = -1; // Delete
};

// A list on a form's tab of the records that belong to the form's record (an album's songs, a
// playlist's lines): the page list over a page cursor with its column memory, the buttons, the keys
// that press them, songs dropped on it, and the tables it keeps open while it lives. A member opens
// its tables, makes its cursor and model, builds the list with setUpList() and adds its buttons before
// the model is read.
class FormRecordList : public QWidget {
    Q_OBJECT
public:
    ~FormRecordList() override;

    QTableView* list() const { return m_view; }
    PageModel* model() const { return m_model; }
    const ListColumns& columns() const { return *m_columns; }

    // Saves the column layout and closes its tables; nothing is read afterwards.
    void release();

protected:
    FormRecordList(ProgramContext& context, QWidget* parent);

    // Opens the tables the list reads; each one is closed again on release, whether it opened or not.
    // True when all of them opened.
    bool openTables(const QVector<const TableDef*>& tables);
    // Builds the page list over `model` (its parent is this list) from the design.
    void setUpList(PageModel* model, const FormRecordListDesign& design);
    // A button pressing `action`; its place in the window is the member's.
    QPushButton* addButton(const QString& text, int action, const QString& tip = QString());
    // nullptr when there is none.
    QPushButton* buttonFor(int action) const;
    const QVector<std::pair<QPushButton*, int>>& buttons() const { return m_buttons; }
    // Reads the highlighted record again by its position, watching it for the form.
    bool readHighlighted(const TableDef& table, Record& out);

    virtual void pressAction(int action) = 0;
    // A read that failed (not the end of the list) shows its message.
    virtual void checkRead(int code) = 0;
    virtual void updateButtons() = 0;
    // A key the list's own keys leave alone; true when taken.
    virtual bool handleOtherKey(QKeyEvent* key);

    void showEvent(QShowEvent* event) override;

    ProgramContext& m_context;
    std::unique_ptr<PageCursor> m_cursor;
    PageModel* m_model = nullptr;
    PageList* m_list = nullptr;
    QTableView* m_view = nullptr;
    bool m_released = false;

private:
    bool handleListKey(QKeyEvent* key);

    FormRecordListDesign m_design;
    std::unique_ptr<ListColumns> m_columns;
    QVector<const TableDef*> m_tables;
    QVector<std::pair<QPushButton*, int>> m_buttons;
};

} // namespace srk
