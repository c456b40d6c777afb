#include "ui/songs/BrowseMedia.h"

#include "catalog/Tables.h"
#include "ui/WindowRegistry.h"
#include "ui/songs/UpdateMedia.h"

namespace srk {

const QString BrowseMedia::Procedure = QStringLiteral("BrowseMedia");

namespace {

// The window as designed: the list a little wider than its one column, eight rows and the buttons.
constexpr QSize kDesignedSize(300, 240);

}  // namespace

BrowseMedia::BrowseMedia(ProgramContext& context, WindowRequest request, QWidget* parent)
    : LookupBrowse(context, design(), request, parent) {}

LookupBrowse::Design BrowseMedia::design() {
    Design d;
    d.procedure = Procedure;
    d.title = QStringLiteral("Browse Media Formats");
    d.listFormat = QStringLiteral("80L(2)|M~Media~L(2)@s20@");
    d.table = &mediaTable();
    d.key = MED::KeyMedia;
    d.field = MED::Media;
    d.picture = QStringLiteral("@s20");
    d.header = QStringLiteral("Media");
    d.buttons = {{QStringLiteral("&Add"), Action::Insert},
                 {QStringLiteral("&Change"), Action::Change},
                 {QStringLiteral("&Delete"), Action::Delete},
                 {QStringLiteral("&Select"), Action::Select},
                 {QStringLiteral("E&xit"), Action::Close}};
    d.minimumSize = kDesignedSize;
    d.runForm = &UpdateMedia::run;
    return d;
}

WindowResponse BrowseMedia::select(ProgramContext& context, Record& chosen, QWidget* parent) {
    return pick(context, design(), chosen, parent);
}

void BrowseMedia::registerWith(WindowRegistry& windows) {
    windows.registerWindow(Procedure, [](WindowRegistry& w) -> QWidget* { return new BrowseMedia(w.context()); });
}

}  // namespace srk
