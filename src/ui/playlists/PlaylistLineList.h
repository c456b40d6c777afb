#pragma once

#include "access/SequenceMove.h"
#include "store/Record.h"
#include "ui/services/WindowRequest.h"

#include <QWidget>

#include <memory>

class QKeyEvent;
class QLabel;
class QPushButton;
class QTableView;

namespace srk {

struct ProgramContext;
class ListColumns;
class PageCursor;
class PageList;
class PageModel;

// The lines of one playlist with their songs, on the playlist form's "Play List" tab: the line form's
// add, change and delete, the four moves, the chart roll-over, songs dropped from a song list, and the
// total time. Lines are written at once, whatever the playlist form does afterwards.
class PlaylistLineList : public QWidget {
    Q_OBJECT
public:
    enum class Action { MoveUp, MoveTop, MoveDown, MoveBottom, Chart, Add, Change, Delete };

    static const QString Procedure; // "UpdatePlaylist": the section its layout is kept in

    PlaylistLineList(ProgramContext& context, qint64 playlistId, QWidget* parent = nullptr);
    ~PlaylistLineList() override;

    // Saves the column layout and closes its tables; nothing is read afterwards.
    void release();

    void press(Action action);
    QPushButton* button(Action action) const;
    QTableView* list() const { return m_view; }
    PageModel* model() const { return m_model; }
    QLabel* totalLabel() const { return m_total; }
    // What a drop of a "Songs" drag with this song id does.
    void dropSong(qint64 songId);
    // What typing a digit in the list does.
    void jumpToDigit(int digit);
    // The highlighted line; an empty line record on an empty list.
    Record highlightedLine() const;
    // The total as shown after "Total Time:".
    QString totalText() const;

Q_SIGNALS:
    // The lines could not be read (the message was shown): the form closes.
    void readFailed();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildWindow();
    bool readHighlighted(Record& out);
    void runForm(WindowRequest request);
    void moveLine(SequenceMove how);
    void rollChart();
    bool handleListKey(QKeyEvent* key);
    void showAt(const Record& line);
    void followTables();
    void checkRead(int code);
    void updateTotal();
    void updateButtons();

    ProgramContext& m_context;
    const qint64 m_playlistId;
    std::unique_ptr<PageCursor> m_cursor;
    std::unique_ptr<ListColumns> m_columns;
    PageModel* m_model = nullptr;
    PageList* m_list = nullptr;
    QTableView* m_view = nullptr;
    QLabel* m_total = nullptr;
    QVector<std::pair<QPushButton*, Action>> m_buttons;
    int m_tablesOpen = 0;
    bool m_released = false;
};

} // namespace srk
