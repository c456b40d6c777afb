#pragma once

#include "store/Record.h"
#include "ui/services/WindowRequest.h"

#include <QDialog>

#include <memory>

class QKeyEvent;
class QPushButton;
class QTabBar;
class QTableView;

namespace srk {

struct ProgramContext;
class ListColumns;
class PageCursor;
class PageList;
class PageModel;
class WindowPlacer;

// "Select An Album": a page-loaded list of the albums by title, artist or file number with a letter
// locator; "&Select" (or a double-click) returns the highlighted album.
class SelectAlbum : public QDialog {
    Q_OBJECT
public:
    static const QString Procedure;

    // On completed `album` holds the album chosen.
    static WindowResponse select(ProgramContext& context, Record& album, QWidget* parent);

    SelectAlbum(ProgramContext& context, QWidget* parent = nullptr);
    ~SelectAlbum() override;

    const Record& chosen() const { return m_chosen; }
    QTableView* list() const { return m_view; }
    QTabBar* tabs() const { return m_tabs; }
    QPushButton* selectButton() const { return m_select; }
    QPushButton* closeButton() const { return m_close; }
    // The highlighted album as listed; an empty album record when the list is empty.
    Record highlightedAlbum() const;
    int rowCount() const;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void selectHighlighted();
    void changeTab(int tab);
    int locatedField() const;
    bool handleKey(QKeyEvent* key);
    void release();

    ProgramContext& m_context;
    Record m_chosen;
    std::unique_ptr<PageCursor> m_cursor;
    std::unique_ptr<ListColumns> m_columns;
    PageModel* m_model = nullptr;
    QTabBar* m_tabs = nullptr;
    PageList* m_list = nullptr;
    QTableView* m_view = nullptr;
    QPushButton* m_select = nullptr;
    QPushButton* m_close = nullptr;
    bool m_tableOpen = false;
    WindowPlacer* m_placer = nullptr;
    bool m_released = false;
};

}  // namespace srk
