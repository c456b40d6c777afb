#pragma once

#include "access/SequenceMove.h"
#include "store/Record.h"
#include "ui/services/FormRecordList.h"
#include "ui/services/WindowRequest.h"

class QLabel;
class QPushButton;

namespace srk {

struct ProgramContext;

// The lines of one playlist with their songs, on the playlist form's "Play List" tab: the line form's
// add, change and delete, the four moves, the chart roll-over, songs dropped from a song list, and the
// total time. Lines are written at once, whatever the playlist form does afterwards.
class PlaylistLineList : public FormRecordList {
    Q_OBJECT
public:
    enum class Action { MoveUp, MoveTop, MoveDown, MoveBottom, Chart, Add, Change, Delete };

    static const QString Procedure; // "UpdatePlaylist": the section its layout is kept in

    PlaylistLineList(ProgramContext& context, qint64 playlistId, QWidget* parent = nullptr);

    void press(Action action);
    QPushButton* button(Action action) const { return buttonFor(int(action)); }
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
    void pressAction(int action) override { press(Action(action)); }
    void checkRead(int code) override;
    void updateButtons() override;
    // Digits jump through the lines.
    bool handleOtherKey(QKeyEvent* key) override;

private:
    void buildWindow();
    void runForm(WindowRequest request);
    void moveLine(SequenceMove how);
    void rollChart();
    void showAt(const Record& line);
    void followTables();
    void updateTotal();

    const qint64 m_playlistId;
    QLabel* m_total = nullptr;
};

} // namespace srk
