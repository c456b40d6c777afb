#include "ui/shell/FrameCommands.h"

namespace srk {

namespace {

FrameMenuEntry command(const char* text, const char* tip, const QString& procedure, const char* explorer = nullptr) {
    return {FrameMenuEntry::Command, QString::fromUtf8(text), QString::fromUtf8(tip), procedure,
            explorer ? QString::fromLatin1(explorer) : QString()};
}
FrameMenuEntry command(const char* text, const char* tip, const char* procedure, const char* explorer = nullptr) {
    return command(text, tip, QString::fromLatin1(procedure), explorer);
}
FrameMenuEntry submenu(const char* text, const char* tip = "") {
    return {FrameMenuEntry::Submenu, QString::fromUtf8(text), QString::fromUtf8(tip), {}, {}};
}
FrameMenuEntry endSubmenu() { return {FrameMenuEntry::EndSubmenu, {}, {}, {}, {}}; }
FrameMenuEntry separator() { return {FrameMenuEntry::Separator, {}, {}, {}, {}}; }

}  // namespace

QVector<FrameMenu> frameMenus() {
    return {
        {QStringLiteral("&File"),
         {
             command("&Print Setup ...", "Setup printer", FrameCommand::PrintSetup),
             command("Pre&ferences", "Options and settings", "Setup"),
             separator(),
             command("&Import", "Import from a comma-delimited file", "Import"),
             command("&Export", "Export to a comma-delimited file", "Export"),
             separator(),
             command("&CD Player", "Start the CD Player", "IntegratedCDPlayer"),
             separator(),
             command("E&xit", "Exit this application", FrameCommand::Exit),
         }},
        {QStringLiteral("&Edit"),
         {
             command("Cu&t", "", FrameCommand::Cut),
             command("&Copy", "", FrameCommand::Copy),
             command("&Paste", "", FrameCommand::Paste),
         }},
        {QStringLiteral("&Browse"),
         {
             command("&Albums", "Browse Information by Album", "BrowseAlbums", "XploreAlbums"),
             command("&Songs", "Browse Sonorika Database", "BrowseSongs", "XploreSongs"),
             submenu("&Wizards"),
             command("Add &Compilation", "", "AddCompilation"),
             command("Add &Single Artist Album", "", "AddSingleArtist"),
             command("Add &Label", "", "LabelWizard"),
             endSubmenu(),
             separator(),
             command("&Labels", "", "BrowseLabels"),
             command("&Play Lists", "", "BrowsePlaylists"),
             separator(),
             command("&Categories", "", "BrowseCategories"),
             command("&Media Formats", "Browse Media Formats", "BrowseMedia"),
         }},
        {QStringLiteral("&Reports"),
         {
             submenu("&Songs", "Generate Song Report"),
             command("By &Artist", "", "PrintSON:SongsByArtist"),
             command("By &Title", "", "PrintSON:SongsByTitle"),
             command("By A&lbum", "", "PrintSON:SongsByAlbum"),
             command("By &Media", "", "PrintSON:SongsByMedia"),
             command("By &Category", "", "PrintByCategory"),
             command("By &BPM", "", "PrintSON:SongsByBPM"),
             endSubmenu(),
             submenu("&Albums", "Generate Album Report"),
             command("By &Artist", "", "PRINTALBUMSBYARTIST"),
             command("By A&lbum", "", "PRINTALBUMSBYALBUM"),
             command("By &File Number", "", "PRINTALBUMSBYFILENUMBER"),
             endSubmenu(),
             command("CD Binder Pages", "Print 4 per page CD listings", "CDBinderPages"),
             submenu("Paper S&avers", "Reports Using Small Fonts"),
             command("By &Artist", "", "PrintPaperSaver"),
             command("By &Title", "", "PrintPaperSaverTitle"),
             endSubmenu(),
             separator(),
             command("&Labels", "Design and Print CD and Cassette Labels", "BrowseLabels"),
             command("&Playlists", "", "BrowsePlaylists"),
             command("DJ Log", "Log ordered by Artist and Title", "PrintDJList"),
         }},
        {QStringLiteral("&Window"),
         {
             command("T&ile", "", FrameCommand::Tile),
             command("&Cascade", "", FrameCommand::Cascade),
             command("&Arrange Icons", "", FrameCommand::ArrangeIcons),
         }},
        {QStringLiteral("&Help"),
         {
             command("&Contents", "", FrameCommand::HelpContents),
             command("&Search for Help On...", "", FrameCommand::HelpSearch),
             command("&How to Use Help", "", FrameCommand::HelpOnHelp),
             separator(),
             command("&About", "Help About This Program", FrameCommand::About),
         }},
    };
}

QVector<FrameToolButton> frameToolButtons() {
    return {
        {QStringLiteral("Albums"), QStringLiteral(":/icons/notepage.svg"), QStringLiteral("BrowseAlbums"),
         QStringLiteral("XploreAlbums")},
        {QStringLiteral("Songs"), QStringLiteral(":/icons/note.svg"), QStringLiteral("BrowseSongs"),
         QStringLiteral("XploreSongs")},
        {QStringLiteral("Labels"), QStringLiteral(":/icons/label.svg"), QStringLiteral("BrowseLabels"), QString()},
        {QStringLiteral("Playlists"), QStringLiteral(":/icons/playlist.svg"), QStringLiteral("BrowsePlaylists"),
         QString()},
        {QStringLiteral("Play CD"), QStringLiteral(":/icons/smcd.svg"), QStringLiteral("IntegratedCDPlayer"),
         QString()},
    };
}

}  // namespace srk
