#include "ui/ProgramWindows.h"

#include "ui/albums/BrowseAlbums.h"
#include "ui/albums/AlbumWizard.h"
#include "ui/playlists/BrowsePlaylists.h"
#include "ui/playlists/GeneratePlaylistLauncher.h"
#include "ui/cd/IntegratedCDPlayer.h"
#include "ui/reports/ReportRun.h"
#include "ui/exchange/Export.h"
#include "ui/exchange/Import.h"
#include "ui/songs/BrowseSongs.h"
#include "ui/songs/LookupWindows.h"

namespace srk {

void registerProgramWindows(WindowRegistry& windows) {
    registerCategoryAndMediaWindows(windows);
    BrowseSongs::registerWith(windows);
    BrowseAlbums::registerWith(windows);
    AlbumWizard::registerWith(windows);
    registerGeneratePlaylist(windows);
    IntegratedCDPlayer::registerWith(windows);
    BrowsePlaylists::registerWith(windows);
    ReportRun::registerWith(windows);
    Import::registerWith(windows);
    Export::registerWith(windows);
}

} // namespace srk
