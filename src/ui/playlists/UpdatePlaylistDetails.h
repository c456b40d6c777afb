#pragma once

#include "store/Record.h"
#include "ui/services/WindowRequest.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace srk {

struct ProgramContext;
class WindowPlacer;

// The form of one playlist line: its note, the song it names (artist and title shown, never edited)
// and the song picker that names another.
class UpdatePlaylistDetails : public QDialog {
    Q_OBJECT
public:
    static const QString Procedure; // "UpdatePlaylistDetails"

    // Carries out request on line: Insert (line holds its playlist id; the line is added at the end of
    // the playlist when the form opens), Change, Delete (no window, confirmation first). On Completed
    // `line` holds the line as saved.
    static WindowResponse run(ProgramContext& context, WindowRequest request, Record& line, QWidget* parent);

    UpdatePlaylistDetails(ProgramContext& context, WindowRequest request, const Record& line,
                          QWidget* parent = nullptr);

    const Record& record() const { return m_record; }
    QLineEdit* notesEdit() const { return m_notes; }
    QLineEdit* artistEdit() const { return m_artist; }
    QLineEdit* titleEdit() const { return m_title; }
    QPushButton* selectSongButton() const { return m_selectSong; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

    // Runs the song picker and takes the song chosen.
    void selectSong();
    void done(int result) override;

private:
    void showSong();
    void finish();

    ProgramContext& m_context;
    WindowRequest m_request;
    Record m_record;
    Record m_original;
    QLineEdit* m_notes = nullptr;
    QLineEdit* m_artist = nullptr;
    QLineEdit* m_title = nullptr;
    QPushButton* m_selectSong = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    WindowPlacer* m_placer = nullptr;
};

}  // namespace srk
