#pragma once

#include "store/Record.h"
#include "ui/services/BrowseSheet.h"
#include "ui/services/WindowRequest.h"

#include <QString>

class QMenu;
class QPushButton;

namespace srk {

struct ProgramContext;
class WindowRegistry;

// The album list: five sort orders on tabs (two of them held to a category each), the quick locator and
// thumb bar of the browse family, and the buttons that run the album form, the add-album wizards and
// the album printout.
class BrowseAlbums : public BrowseSheet {
    Q_OBJECT
public:
    static const QString Procedure; // "BrowseAlbums"

    enum class Action {
        Add, Copy, Change, Delete, Print, SingleArtistWizard, CompilationWizard, Close, SelectCategory,
        CreateLabel, QuickCdInsert
    };

    // windows (may be null) starts the wizards, the printout and the label windows once they exist.
    explicit BrowseAlbums(ProgramContext& context, WindowRegistry* windows = nullptr, QWidget* parent = nullptr);
    ~BrowseAlbums() override;

    static void registerWith(WindowRegistry& windows);

    // A button of the window; SelectCategory gives the current category tab's.
    QPushButton* button(Action action) const;
    // The category chosen on tab 4 ("Category") or 5 ("Cat/Art").
    qint64 categoryRange(int order) const { return rangeValue(order).toLongLong(); }
    Record highlightedAlbum() const { return highlightedRecord(); }

    // Presses a button as the user would.
    void press(Action action);
    // Sets a category tab's range as "Select Cate&gory" would, and follows it.
    void setCategoryRange(int order, qint64 categoryId, const QString& category = QString());
    QMenu* buildPopup() override;

protected:
    void pressAction(int action) override { press(Action(action)); }
    void showTitle(const QString& entries) override;
    void updateOwnButtons(bool rows) override;

private:
    void runForm(WindowRequest request);
    void selectCategory();
    void runWizard(const QString& procedure);
};

} // namespace srk
