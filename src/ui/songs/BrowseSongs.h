#pragma once

#include "songs/SongOrders.h"
#include "store/Record.h"
#include "ui/services/BrowseSheet.h"
#include "ui/services/WindowRequest.h"

#include <QPoint>
#include <QString>
#include <QVector>

class QKeyEvent;
class QMenu;
class QPushButton;

namespace srk {

struct ProgramContext;
class WindowRegistry;

// The song list: eight sort orders on tabs, the quick locator, the thumb scroll bar driven by sample
// values, the query search, and the buttons that run the song form. Only the visible page of songs is
// ever read. The same list, with fewer orders and only "&Select" and "Cl&ose", is the song picker.
class BrowseSongs : public BrowseSheet {
    Q_OBJECT
public:
    static const QString Procedure; // "BrowseSongs"

    enum class Action {
        Add, Copy, Change, Delete, Search, ResetSearch, Import, Export, Print, Close, SelectMedia, SelectCategory,
        Select
    };

    // The browser of the songs, or the song picker inside another window: the picker has the first six
    // orders (no media range), its own columns and layout names, "&Select" and "Cl&ose" only, and tells
    // its window through songChosen() and closeRequested().
    enum class Role { Browse, Picker };

    // windows (may be null) starts the print, import and export windows once they exist.
    explicit BrowseSongs(ProgramContext& context, WindowRegistry* windows = nullptr, QWidget* parent = nullptr);
    // A picker; `procedure` names its layout; "&Select" works only in select mode.
    BrowseSongs(ProgramContext& context, const QString& procedure, bool selectMode, QWidget* parent);
    ~BrowseSongs() override;

    static void registerWith(WindowRegistry& windows);

    QPushButton* button(Action action) const { return sheetButton(int(action)); }

    QString queryFilter() const { return m_query; }
    QString mediaRange() const { return rangeValue(4).toString(); }
    qint64 categoryRange() const { return rangeValue(5).toLongLong(); }
    // The highlighted song; an empty song record when the page is empty.
    Record highlightedSong() const { return highlightedRecord(); }

    Role role() const { return m_role; }

    // Presses a button as the user would.
    void press(Action action);
    // Sets the query filter as the wizard would hand it back and refreshes under it.
    void applyQuery(const QString& filter);
    // Sets the "By Media" / "By Category" range as the select windows would.
    void setMediaRange(const QString& media);
    void setCategoryRange(qint64 categoryId);
    // The right-click menu as it would open now (the caller owns it).
    QMenu* buildPopup() override;

Q_SIGNALS:
    // The picker's "&Select" read the highlighted song.
    void songChosen(const srk::Record& song);
    // The picker's "Cl&ose" (or a list that cannot be read).
    void closeRequested();

protected:
    void pressAction(int action) override { press(Action(action)); }
    void showTitle(const QString& entries) override;
    void updateOwnButtons(bool rows) override;
    bool handleListKey(QKeyEvent* key) override;
    void activated() override;
    bool rangeActive(int order) const override;
    QString filterOf(int order) const override;
    QString viewFieldName(const QString& field) const override;
    void closeSheet() override;

private:
    void setUp();
    void setUpQueryFields();
    void runForm(WindowRequest request);
    void selectMedia();
    void selectCategory();
    void search();
    void resetSearch();
    void chooseHighlighted();
    bool picker() const { return m_role == Role::Picker; }

    Role m_role = Role::Browse;
    QString m_procedure;
    bool m_selectMode = false;
    QString m_query;
    bool m_queryUsable = true;
};

} // namespace srk
