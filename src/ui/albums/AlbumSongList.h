#pragma once

#include "store/Record.h"
#include "ui/services/FormRecordList.h"
#include "ui/services/WindowRequest.h"

#include <QPoint>

#include <functional>

class QMenu;
class QPushButton;

namespace srk {

struct ProgramContext;

// The songs of one album in track order, on the album form's "Songs" tab: the buttons that add, copy,
// change and delete them through the album's song form, link songs that exist already, edit them all
// one after another, and take songs dragged from a song list. Songs are written at once, whatever the
// album form does afterwards.
class AlbumSongList : public FormRecordList {
    Q_OBJECT
public:
    enum class Action { Add, Copy, Change, Delete, SelectExisting, EditAll };

    static const QString Procedure; // "UpdateAlbums": the section its layout is kept in

    // currentAlbum: the album as its form shows it now (id, artist, album, media, file number, date).
    AlbumSongList(ProgramContext& context, std::function<Record()> currentAlbum, QWidget* parent = nullptr);

    // Reads the list again around the highlighted song (the album's id is taken afresh).
    void rebuild();

    // Presses a button as the user would.
    void press(Action action);
    QPushButton* button(Action action) const { return buttonFor(int(action)); }
    // The right-click menu as it would open now (the caller owns it).
    QMenu* buildPopup();
    // What a drop of a "Songs" drag with this song id does.
    void dropSong(qint64 songId);
    // The highlighted song; an empty song record on an empty list.
    Record highlightedSong() const;

protected:
    void pressAction(int action) override { press(Action(action)); }
    void checkRead(int code) override;
    void updateButtons() override;

private:
    void buildWindow();
    // Holds the list to the album's songs; true when the album (its id) changed.
    bool followAlbum();
    void runForm(WindowRequest request);
    void afterForm(WindowRequest request, WindowResponse response, const Record& song);
    void selectExisting();
    void editAll();
    void startDrag();
    void showPopup(const QPoint& globalPos);
    void followTables();
    Record album() const;

    std::function<Record()> m_currentAlbum;
    qint64 m_albumId = -1;
};

} // namespace srk
