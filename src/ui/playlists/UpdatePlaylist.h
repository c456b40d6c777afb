#pragma once

#include "store/Record.h"
#include "ui/services/WindowRequest.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace srk {

struct ProgramContext;
class PlaylistLineList;
class WindowPlacer;

// The playlist form: the description and the lines on "Play List", the notes on "Notes", the date of
// the last edit.
class UpdatePlaylist : public QDialog {
    Q_OBJECT
public:
    static const QString Procedure; // "UpdatePlaylist"

    // Carries out request on playlist: Insert (the playlist is added with its number when the form
    // opens, and taken away again on Cancel; its lines stay), Change, Delete (no window, confirmation
    // first). On Completed `playlist` holds the playlist as saved.
    static WindowResponse run(ProgramContext& context, WindowRequest request, Record& playlist, QWidget* parent);

    UpdatePlaylist(ProgramContext& context, WindowRequest request, const Record& playlist,
                   QWidget* parent = nullptr);
    ~UpdatePlaylist() override;

    const Record& record() const { return m_record; }
    QTabWidget* tabs() const { return m_tabs; }
    QLineEdit* descriptionEdit() const { return m_description; }
    QPlainTextEdit* notesEdit() const { return m_notes; }
    QLineEdit* lastEditDate() const { return m_lastEdit; }
    PlaylistLineList* lines() const { return m_lines; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

    void done(int result) override;

private:
    void showRecord();
    void collect(Record& r) const;
    void finish();
    bool save();

    ProgramContext& m_context;
    WindowRequest m_request;
    Record m_record;
    Record m_original;
    QTabWidget* m_tabs = nullptr;
    QLineEdit* m_description = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    QLineEdit* m_lastEdit = nullptr;
    PlaylistLineList* m_lines = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    WindowPlacer* m_placer = nullptr;
    bool m_closing = false;
};

}  // namespace srk
