#pragma once

#include "store/Record.h"
#include "ui/services/WindowRequest.h"

#include <QPoint>
#include <QVector>
#include <QWidget>

#include <functional>
#include <memory>

class QKeyEvent;
class QMenu;
class QPushButton;
class QTableView;

namespace srk {

struct ProgramContext;
class ListColumns;
class PageCursor;
class PageList;
class PageModel;

// The songs of one album in track order, on the album form's "Songs" tab: the buttons that add, copy,
// change and delete them through the album's song form, link songs that exist already, edit them all
// one after another, and take songs dragged from a song list. Songs are written at once, whatever the
// album form does afterwards.
class AlbumSongList : public QWidget {
    Q_OBJECT
public:
    enum class Action { Add, Copy, Change, Delete, SelectExisting, EditAll };

    static const QString Procedure; // "UpdateAlbums": the section its layout is kept in

    // currentAlbum: the album as its form shows it now (id, artist, album, media, file number, date).
    AlbumSongList(ProgramContext& context, std::function<Record()> currentAlbum, QWidget* parent = nullptr);
    ~AlbumSongList() override;

    // Reads the list again around the highlighted song (the album's id is taken afresh).
    void rebuild();
    // Saves the column layout and closes its tables; nothing is read afterwards.
    void release();

    // Presses a button as the user would.
    void press(Action action);
    QPushButton* button(Action action) const;
    QTableView* list() const { return m_view; }
    PageModel* model() const { return m_model; }
    const ListColumns& columns() const { return *m_columns; }
    // The right-click menu as it would open now (the caller owns it).
    QMenu* buildPopup();
    // What a drop of a "Songs" drag with this song id does.
    void dropSong(qint64 songId);
    // The highlighted song; an empty song record on an empty list.
    Record highlightedSong() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildWindow();
    // Holds the list to the album's songs; true when the album (its id) changed.
    bool followAlbum();
    bool readHighlighted(Record& out);
    void runForm(WindowRequest request);
    void afterForm(WindowRequest request, WindowResponse response, const Record& song);
    void selectExisting();
    void editAll();
    void startDrag();
    void showPopup(const QPoint& globalPos);
    bool handleListKey(QKeyEvent* key);
    void followTables();
    void checkRead(int code);
    void updateButtons();
    Record album() const;

    ProgramContext& m_context;
    std::function<Record()> m_currentAlbum;
    std::unique_ptr<PageCursor> m_cursor;
    std::unique_ptr<ListColumns> m_columns;
    PageModel* m_model = nullptr;
    PageList* m_list = nullptr;
    QTableView* m_view = nullptr;
    QVector<std::pair<QPushButton*, Action>> m_buttons;
    qint64 m_albumId = -1;
    bool m_tablesOpen = false;
    bool m_released = false;
};

} // namespace srk
