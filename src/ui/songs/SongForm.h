#pragma once

#include "store/Record.h"
#include "ui/services/CategoryDropList.h"
#include "ui/services/FormMove.h"
#include "ui/services/MediaDropList.h"
#include "ui/services/WindowRequest.h"

#include <QDialog>
#include <QHash>
#include <QStringList>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace srk {

struct ProgramContext;
class DittoKey;
class FieldChecks;
class FormToolBar;
class ReleaseDateEntry;
class WindowPlacer;

// The song form shared by UpdateSong (called from the song browsers) and UpdateSongsForAlbum (called
// from the album form): four tabs of fields, their checks, the album link and the save.
class SongForm : public QDialog {
    Q_OBJECT
public:
    enum class Variant { UpdateSong, ForAlbum };

    // The whole call: add mode (UpdateSong only), copy, priming, delete, the window and the save.
    // album is the calling album for ForAlbum (nullptr otherwise).
    static WindowResponse run(ProgramContext& context, Variant variant, WindowRequest request, Record& song,
                              const Record* album, QWidget* parent, FormMove* move);

    // request is Insert (record primed already) or Change; original is the record as it was read.
    SongForm(ProgramContext& context, Variant variant, WindowRequest request, const Record& record,
             const Record& original, bool withToolBar, QWidget* parent = nullptr);
    ~SongForm() override;

    static QString procedureName(Variant variant);

    const Record& record() const { return m_record; }
    FormMove move() const { return m_move; }

    // The editor of a song field (line edit, drop list or memo); nullptr for the side and category.
    QWidget* editor(int field) const { return m_editors.value(field); }
    QLineEdit* lineEdit(int field) const;
    QPlainTextEdit* memoEdit(int field) const;
    MediaDropList* mediaList() const { return m_mediaCombo; }
    CategoryDropList* categoryList() const { return m_categoryCombo; }
    QRadioButton* sideOption(const QString& value) const;
    QLabel* udkPrompt() const { return m_udkPrompt; }
    QTabWidget* tabs() const { return m_tabs; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    QPushButton* albumButton() const { return m_albumButton; }
    FormToolBar* toolBar() const { return m_toolBar; }

    void done(int result) override;

protected:
    void changeEvent(QEvent* event) override;

private:
    QLineEdit* addLine(int field, int width, const QString& picture = QString());
    QPlainTextEdit* addMemo(int field);
    QWidget* buildGeneralTab();
    QWidget* buildCustomTab();
    QWidget* buildRecordingTab();
    QWidget* buildNotesTab();

    void showRecord();
    void collect();

    // Field acceptance: each returns false after showing why and selecting the field again.
    bool acceptMedia();
    bool acceptTime();
    bool acceptReleaseDate();
    bool acceptCategory();
    bool acceptTrack();
    bool acceptChart();
    bool acceptAll();

    void finish(FormMove move);
    bool save();
    void defaultFromAlbum();

    ProgramContext& m_context;
    Variant m_variant;
    WindowRequest m_request;
    Record m_record;
    Record m_original;
    FormMove m_move = FormMove::None;
    QStringList m_media; // the album's song form: the media a typed medium is checked against
    QString m_datePicture;

    QHash<int, QWidget*> m_editors;
    MediaDropList* m_mediaCombo = nullptr;
    CategoryDropList* m_categoryCombo = nullptr;
    ReleaseDateEntry* m_released = nullptr;
    QButtonGroup* m_side = nullptr;
    QLabel* m_udkPrompt = nullptr;
    QTabWidget* m_tabs = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_albumButton = nullptr;
    FormToolBar* m_toolBar = nullptr;
    DittoKey* m_ditto = nullptr;
    FieldChecks* m_checks = nullptr;
    QString m_shownTime;
    WindowPlacer* m_placer = nullptr;
    bool m_closing = false;
};

}  // namespace srk
