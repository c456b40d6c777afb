#pragma once

#include "store/Record.h"
#include "ui/services/WindowRequest.h"

#include <QDialog>
#include <QHash>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace srk {

struct ProgramContext;
class AlbumSongList;
class CategoryDropList;
class DittoKey;
class FieldChecks;
class MediaDropList;
class ReleaseDateEntry;
class ScaledImage;
class SoundPlayer;
class WindowPlacer;

// The album form's window: six tabs of album fields, the song list of the album, the associated
// sound and picture, the disc identifiers, and the save.
class AlbumForm : public QDialog {
    Q_OBJECT
public:
    // request is Insert (record primed already) or Change; original is the record as it was read.
    AlbumForm(ProgramContext& context, WindowRequest request, const Record& record, const Record& original,
              QWidget* parent = nullptr);
    ~AlbumForm() override;

    const Record& record() const { return m_record; }
    // The album as the screen shows it now (for the song list, which works on the album's values).
    Record currentAlbum() const;

    // The editor of an album field; nullptr for a field without one.
    QWidget* editor(int field) const { return m_editors.value(field); }
    QLineEdit* lineEdit(int field) const;
    QPlainTextEdit* memoEdit(int field) const;
    MediaDropList* mediaList() const { return m_media; }
    CategoryDropList* categoryList() const { return m_category; }
    QTabWidget* tabs() const { return m_tabs; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    QToolButton* dittoButton() const { return m_dittoButton; }
    QPushButton* playButton() const { return m_play; }
    QPushButton* chooseImageButton() const { return m_chooseImage; }
    QPushButton* readButton() const { return m_read; }
    QPushButton* loadFromCdButton() const { return m_loadFromCd; }
    ScaledImage* imageDisplay() const { return m_image; }
    QWidget* songsPage() const { return m_songsPage; }
    AlbumSongList* songList() const { return m_songs; }

    void done(int result) override;

protected:
    void changeEvent(QEvent* event) override;

private:
    QLineEdit* addLine(int field, int width);
    QPlainTextEdit* addMemo(int field);
    QWidget* buildGeneralTab();
    QWidget* buildSongsTab();
    QWidget* buildNotesTab();
    QWidget* buildFilesTab();
    QWidget* buildCompactDiscTab();
    QWidget* buildOtherTab();

    void showRecord();
    void collect(Record& r) const;

    bool acceptMedia();
    bool acceptReleaseDate();
    bool acceptCategory();
    bool acceptAll();

    void playSound();
    void chooseImage();
    void readDiscIdentity();
    void loadSongsFromDisc();
    void finish();
    bool save();

    ProgramContext& m_context;
    WindowRequest m_request;
    Record m_record;
    Record m_original;

    QHash<int, QWidget*> m_editors;
    MediaDropList* m_media = nullptr;
    CategoryDropList* m_category = nullptr;
    ReleaseDateEntry* m_released = nullptr;
    QTabWidget* m_tabs = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QToolButton* m_dittoButton = nullptr;
    QPushButton* m_play = nullptr;
    QPushButton* m_chooseImage = nullptr;
    QPushButton* m_read = nullptr;
    QPushButton* m_loadFromCd = nullptr;
    ScaledImage* m_image = nullptr;
    QWidget* m_songsPage = nullptr;
    AlbumSongList* m_songs = nullptr;
    SoundPlayer* m_player = nullptr;
    DittoKey* m_ditto = nullptr;
    WindowPlacer* m_placer = nullptr;
    FieldChecks* m_checks = nullptr;
    bool m_closing = false;
};

}  // namespace srk
