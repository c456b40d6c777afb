#pragma once

#include "songs/NewCategory.h"
#include "store/Record.h"

#include <QDialog>
#include <QStringList>
#include <QVector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace srk {

struct ProgramContext;
class WindowPlacer;
class WindowRegistry;

// The two add-album wizards, AddSingleArtist and AddCompilation: the album's data once (a primed
// song, the header) and its tracks as rows of the AddWizard table of this instance; OK adds the
// album and one song per track.
class AlbumWizard : public QDialog {
    Q_OBJECT
public:
    enum class Variant { SingleArtist, Compilation };
    enum class Action { Up, Top, Down, Bottom, Add, Change, Delete, EditAll, ReadDisc, Ok, Cancel };

    // Primes the header, opens the window and lets it run; the placeholder song never stays.
    static void run(ProgramContext& context, Variant variant, QWidget* parent);
    // Makes both wizards start from the menu and from the song form's add modes.
    static void registerWith(WindowRegistry& windows);
    static QString procedureName(Variant variant);

    AlbumWizard(ProgramContext& context, Variant variant, const Record& header, QWidget* parent = nullptr);
    ~AlbumWizard() override;

    QLineEdit* editor(int songField) const;
    QComboBox* mediaList() const { return m_media; }
    QComboBox* categoryList() const { return m_category; }
    QCheckBox* addToAlbums() const { return m_addToAlbums; }
    QTableWidget* list() const { return m_list; }
    QTabWidget* tabs() const { return m_tabs; }
    QPushButton* button(Action action) const;
    // The rows shown, in order.
    const QVector<Record>& rows() const { return m_rows; }
    // Highlights a shown row.
    void highlight(int index);
    void press(Action action);
    // The album record the wizard commits with (the disc's serial number is kept in it).
    Record& album() { return m_album; }

    void done(int result) override;
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildGeneralTab();
    QWidget* buildSongsTab();
    void refresh(qint64 highlightRow = -1);
    int current() const;
    void runRowForm(int request);
    void move(int kind);
    void editAll();
    void commit();
    bool acceptHeader();
    bool acceptMedia();
    bool acceptCategory();
    bool acceptReleaseDate();
    void readDisc();
    void collect();
    bool headerChanged();

    ProgramContext& m_context;
    Variant m_variant;
    Record m_header;
    Record m_primed;
    Record m_album;
    qint64 m_instance = 0;
    qint64 m_settledAlbum = -1;
    bool m_closing = false;
    bool m_committed = false;
    QStringList m_mediaNames;
    QString m_datePicture;
    QString m_shownDate;
    QString m_shownMedia;
    QString m_shownCategory;
    QVector<CategoryChoice> m_categories;
    QVector<Record> m_rows;

    QTabWidget* m_tabs = nullptr;
    QLineEdit* m_artist = nullptr;
    QLineEdit* m_albumName = nullptr;
    QLineEdit* m_releaseDate = nullptr;
    QLineEdit* m_fileNumber = nullptr;
    QComboBox* m_media = nullptr;
    QComboBox* m_category = nullptr;
    QCheckBox* m_addToAlbums = nullptr;
    QTableWidget* m_list = nullptr;
    QMenu* m_popup = nullptr;
    QVector<QPushButton*> m_buttons;
    WindowPlacer* m_placer = nullptr;
};

}  // namespace srk
