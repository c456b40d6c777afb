#pragma once

#include "access/TableUse.h"
#include "playlists/GeneratePlaylist.h"

#include <QDialog>
#include <QList>

#include <memory>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace srk {

class CategoryDropList;
class FieldChecks;
class ReleaseDateEntry;
class WindowPlacer;
struct ProgramContext;

// "Generate Play List": the size, release-date range, category and weighting of a playlist of songs
// drawn at random. "&Ok" makes the playlist and closes; "Cancel" closes having added nothing.
class GeneratePlaylistWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* Procedure = "GeneratePlaylist";

    GeneratePlaylistWindow(ProgramContext& context, QWidget* parent = nullptr);
    ~GeneratePlaylistWindow() override;

    // The chance the run draws from; the program's comes from the clock.
    void setRandom(PlaylistRandom random) { m_random = random; }
    // The day the release weightings go by (today unless set).
    void setToday(qint32 today) { m_today = today; }

    QLineEdit* sizeField() const { return m_size; }
    ReleaseDateEntry* startField() const { return m_start; }
    ReleaseDateEntry* endField() const { return m_end; }
    CategoryDropList* categoryField() const { return m_category; }
    QRadioButton* weightingOption(const QString& text) const;
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    // What the last "&Ok" did.
    const PlaylistOutcome& outcome() const { return m_outcome; }

    void done(int result) override;

private:
    void onOk();
    bool acceptSize();
    bool acceptDate(ReleaseDateEntry* field);
    bool acceptCategory();
    PlaylistWeighting weighting() const;

    ProgramContext& m_context;
    TableUse m_tables;
    QLineEdit* m_size = nullptr;
    ReleaseDateEntry* m_start = nullptr;
    ReleaseDateEntry* m_end = nullptr;
    CategoryDropList* m_category = nullptr;
    QList<QRadioButton*> m_weightings;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    FieldChecks* m_checks = nullptr;
    WindowPlacer* m_placer = nullptr;
    PlaylistRandom m_random;
    qint32 m_today;
    PlaylistOutcome m_outcome;
};

}  // namespace srk
